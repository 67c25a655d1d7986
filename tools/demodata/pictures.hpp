#pragma once
// The picture makers of the demo data, one function per picture kind; the catalogue
// (catalogue.cpp) names every member and calls them.
#include "demodata/canvas.hpp"

namespace demo {

// Effects of the standard set.
Canvas BlurTexture();            // "Blur.bmp": the small screen-copy texture
Canvas Sparkle();                // "Glitzer.bmp"
Canvas SoftDisc();               // "A_KREIS2.bmp": white glow fading to black
Canvas LightStreak();            // "Strich.bmp"
Canvas BarCap();                 // "BalkenE.bmp": the rounded tail of the bar
Canvas Fire(int n);              // "feuer<n>.bmp", n = 0..3 (with alpha mates)
Canvas Ring();                   // "Wave.bmp" (with alpha mate)
Canvas Ring2();                  // "Wave2.bmp" (with alpha mate)
Canvas Smoke(int n);             // "Rauch<n + 1>.bmp", n = 0..6 young to old (with mates)
Canvas GameLogo();               // "Logo.bmp"
Canvas TvNoise();                // "Noise.bmp"
Canvas LensMask();               // "A_Kreis3.bmp": white inside (the key), rim, black out
Canvas SnowTile(int layer);      // "Schnee<layer + 1>.bmp", 256 x 256, wraps
Canvas RainTile();               // "Regen1.bmp", 256 x 256, wraps

// Ships and what they carry.
Canvas ShipFrame(int type, int column, int row);  // "VESK<t><c+1><r+1>.bmp", 64 x 64
Canvas Pod(int n);                                // "Partikel<n>.bmp", 32 x 32
Canvas Satellite(int level, int frame);           // "Force_0<level+1>000<frame>.bmp", 64 x 64
Canvas DroneOrb(int frame);                       // "VW1-<frame>.bmp", 32 x 32
// A ship of type 0..2 in flight, seen as in play but `scale` times as large, rolled by
// `roll` degrees about its long axis (7 is level flight) and its nose raised by `pitch`,
// its middle in the middle of the picture (for the videos).
Canvas ShipInFlight(int type, float roll, float pitch, float scale);
// The menu's turning ships: set 0 the V-Phyton, set 1 the V-Tonator, frame 0..36 of one
// turn ("ShipSelect<set>0<frame, two digits>.bmp", with alpha mates).
Canvas ShipSelectFrame(int set, int frame);

// The menu: the hangar of set 0 or 1, plain or frozen ("Hangar<n>.bmp",
// "Hangar_Frozen<n>.bmp", 800 x 600), the column's parts, the text panel and the logo.
Canvas MenuHangar(int set, bool frozen);
Canvas MenuTop();               // "Menu_topg.bmp"
Canvas MenuBottom();            // "Menu_bottomg.bmp"
Canvas MenuButton();            // "Menu_Button.bmp"
Canvas MenuLight(bool on);      // "Menu_Lighta.bmp" (off), "Menu_Lightb.bmp" (on)
Canvas MenuBack();              // "Menu_Back.bmp" (with mate)
Canvas MenuLogo();              // "Menu_Logo.bmp" (with mate)

// Shots and weapons.
Canvas Bullet(int n);          // "Ballschuss*.bmp", 16 x 16, n = 0..3 (with mates)
Canvas EnemyShot(int n);       // "GSchuss<n + 1>.bmp", 16 x 16
Canvas Splitter(bool joined);  // "AbprallerEinzeln.bmp" / "AbprallerZusammen.bmp"
Canvas Bomb();                 // "Bombe.bmp"
Canvas Rocket();               // "Rakete.bmp" (a blit)
Canvas Missile();              // "Rakete2.bmp"
Canvas Crosshair();            // "fadenkreuz.bmp"
Canvas Horn();                 // "Hupe.bmp"
Canvas Bubble();               // "Blase.bmp" (with mate)

// Pick-ups: six turning frames each, 64 x 64, and the small weapon icons.
Canvas PodWeaponPickup(int weapon, int frame);        // "Extra<i><j>.bmp"
Canvas SatelliteWeaponPickup(int weapon, int frame);  // "P2Extra<i><j>.bmp"
Canvas PowerUp(int kind, int frame);                  // "Pow<i><j>.bmp"
Canvas WeaponIcon(int weapon);                        // "Extra<i>.bmp"; -1 the guard pod ("ExtraShild.bmp")

// The in-game display.
Canvas Digit(int d);             // "N<d>.bmp"
Canvas LivesDigit(int d);        // "Leben<d>.bmp"
Canvas ComboLabel();             // "Combo.bmp"
Canvas PodSlot(int n);           // "V<n>S.bmp": 0 empty, 1..4 the selected pod
Canvas SpeakerFrame(int frame);  // "Frame<frame + 1>.bmp", the radio speaker
// "interface<set>_<part>.bmp": set 0..2 the ship types alone, 3 two players.
Canvas PanelGround(int set);
Canvas PanelEnergy(int set, bool empty);
Canvas PanelBeam(int set, int mode, bool empty);
Canvas PanelSpeed(int set);
Canvas PanelGun(int set);
Canvas PanelGlow(int set, int n);
Canvas SecondaryIcon(bool twoPlayers, int n);  // "interface[3]_extra<n>.bmp"

}  // namespace demo
