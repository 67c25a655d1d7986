// The frames of a dying enemy, one handler per death kind: frozen by the nova, split in
// power mode, sparkling under the nova, a wreck flying apart, a boss going down, an area
// blast, a beam kill and a break-up part by part. Each counts its own `TodZeit`, and all
// but the frozen one end by freeing the slot.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/force.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "frontend/effects_state.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/animations.hpp"
#include "world/collision.hpp"
#include "world/enemies.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/weather_state.hpp"

namespace {

using Todesfolge = void (*)(int32_t i);

enum TypWert : int {
  kWrack = 3,     // >= 1: the wreck's sprite definition + 1
  kFlaeche = 11,  // the area blast: radius, ship damage and enemy damage packed in decimals
};

constexpr int32_t kSpaltDauer = 30;
constexpr int32_t kFunkelDauer = 40;
constexpr int32_t kWrackDauer = 160;
constexpr int32_t kFlaechenDauer = 15;
constexpr int32_t kStrahlEnde = 50;  // the count on its last frame, the 51st
constexpr int32_t kZerfallTakt = 10;

bool Wahr(int16_t flag) { return flag != VBFalse; }

float MitteX(const Gegner& g) { return static_cast<float>(double{g.X} + IDiv(g.Typ.Width, 2)); }
float MitteY(const Gegner& g) { return static_cast<float>(double{g.Y} + IDiv(g.Typ.Height, 2)); }

// Strict overlap of two rectangles given as left, top, right, bottom.
bool Ueberlappt(double l1, double o1, double r1, double u1, double l2, double o2, double r2, double u2) {
  return l1 < r2 && r1 > l2 && o1 < u2 && u1 > o2;
}

// The players that play: one or two.
int32_t LetzterSpielerIndex() { return std::clamp(LetzterSpieler, 0, 1); }

// A long blue glow over the enemy's box, living `Dead` frames.
void BlaueGlut(const Gegner& g, int32_t Dead) {
  Add1BigPartikel(g.X, g.Y, 0, 0, 0.1f, 0.2f, 1, g.Typ.Height, 0, Dead, 0, static_cast<float>(g.Typ.Width));
}

// The box around the opaque bounds of the living components at their places, into
// `Vari`(0..3) as left, top, width and height; an enemy with nothing to show keeps its
// own box.
void UmrissMerken(Gegner& g) {
  double l = 10000, o = 10000, r = -10000, u = -10000;
  bool teil = false;
  for (const Feindkomponente& k : g.Typ.Komponenten) {
    if (!Wahr(k.Lebt)) continue;
    const Teilbild b = BildVon(k);
    if (b.S == nullptr) continue;
    const double px = KomponenteX(g, k), py = KomponenteY(g, k);
    l = std::min(l, px + b.S->RandMinX);
    o = std::min(o, py + b.S->ErsteZeile);
    r = std::max(r, px + b.S->RandMaxX);
    u = std::max(u, py + b.S->LetzteZeile);
    teil = true;
  }
  if (!teil) {
    l = g.X, o = g.Y;
    r = l + g.Typ.Width, u = o + g.Typ.Height;
  }
  g.Vari[0] = static_cast<float>(l);
  g.Vari[1] = static_cast<float>(o);
  g.Vari[2] = static_cast<float>(r - l);
  g.Vari[3] = static_cast<float>(u - o);
}

// ---- Kind 0: frozen ---------------------------------------------------------------------

// Held by the super nova: drawn where it stands, nothing else, until the nova lets go.
void Erstarrt(int32_t i) {
  if (Rendern) ZeichneStill(GegnerListe[i]);
}

// ---- Kind 1: split in power mode ------------------------------------------------------------

// One half (`teil`, rows of the picture) of a component drawn at (x, y). The picture's
// source rectangle is the half while it is drawn; a quad takes its texture coordinates
// and the component's colour from it first.
void Haelfte(int32_t nr, bool quad, const Feindkomponente& k, const RECT& teil, int32_t x, int32_t y) {
  Surfaces[static_cast<size_t>(nr)].SrcRect = teil;
  if (quad) SetUpGeom(nr, teil, teil, k.R, k.G, k.B, k.A, 0);
  ShowSprite(nr, x, y, quad);
}

// The component cut at its middle row, the upper half risen and the lower half sunk by
// `TodZeit` pixels, a glow filling the gap between them.
void ZeichneHaelften(const Gegner& g, const Feindkomponente& k) {
  const Teilbild b = BildVon(k);
  if (b.Nr < 0) return;
  SurfaceInfo& S = Surfaces[static_cast<size_t>(b.Nr)];
  // Other enemies show the same picture whole: it is given back as it was.
  const RECT ganz = S.SrcRect;
  const auto ecken = S.Vertex;
  const int32_t mitte = ganz.Top + IDiv(ganz.Bottom - ganz.Top, 2);
  const double px = KomponenteX(g, k), py = KomponenteY(g, k), t = g.TodZeit;
  const double schnitt = py + (mitte - ganz.Top);
  Haelfte(b.Nr, b.Quad, k, RECT{ganz.Left, ganz.Top, ganz.Right, mitte}, CLng(px), CLng(py - t));
  Haelfte(b.Nr, b.Quad, k, RECT{ganz.Left, mitte, ganz.Right, ganz.Bottom}, CLng(px), CLng(schnitt + t));
  S.SrcRect = ganz;
  S.Vertex = ecken;
  const int32_t links = S.RandMinX, rechts = S.RandMaxX;
  SetUpColor(TexKreis2, 1, 1, 1, 0.9f);
  SetUpRect(TexKreis2, static_cast<float>(px + links), static_cast<float>(schnitt - t), static_cast<float>(px + rechts),
            static_cast<float>(schnitt + t));
  Render(TexKreis2, true);
}

void Gespalten(int32_t i) {
  Gegner& g = GegnerListe[i];
  if (g.TodZeit == 0) {
    StoppeSchussErzeuger(i);
    UmrissMerken(g);
    const double w = g.Vari[2], h = g.Vari[3];
    const int32_t halb = IDiv(w + h, 4);
    Add1BigPartikel(static_cast<float>(g.Vari[0] + IDiv(w, 2) - halb),
                    static_cast<float>(g.Vari[1] + IDiv(h, 2) - halb), 0, 0, 1, 1, 1, IDiv(w + h, 2), 10, 20, 13,
                    Rnd() * 359.0f);
    g.MX = 0;
    g.MY = 0;
  }
  ++g.TodZeit;
  if (Rendern)
    for (const Feindkomponente& k : g.Typ.Komponenten)
      if (Wahr(k.Lebt)) ZeichneHaelften(g, k);
  if (g.TodZeit < kSpaltDauer) return;
  FinaleExplosion(g, Ausbruch::Gespalten);
  KillEnemy(i);
}

// ---- Kind 2: sparkling under the nova -----------------------------------------------------

// A large component glitters at random points of its opaque box, 15 pixels in from its
// edges; small ones do not.
void Glitzern(const Gegner& g, const Feindkomponente& k) {
  const Teilbild b = BildVon(k);
  if (b.S == nullptr) return;
  const SurfaceInfo& S = *b.S;
  const int32_t breite = S.RandMaxX - S.RandMinX, hoehe = S.LetzteZeile - S.ErsteZeile;
  if (breite <= 30 || hoehe <= 30) return;
  const double px = double{KomponenteX(g, k)} + S.RandMinX + 15, py = double{KomponenteY(g, k)} + S.ErsteZeile + 15;
  const int32_t n = IDiv(int32_t{S.Width} + S.Height, 200) + 2;
  for (int32_t m = 0; m < n; ++m) {
    const float x = static_cast<float>(CLng(px + (breite - 30) * double{Rnd()}));
    const float y = static_cast<float>(CLng(py + (hoehe - 30) * double{Rnd()}));
    Add1BigPartikel(x - 20, y - 20, 0, 0, 1, 1, 1, 40, 40, 5, 1, 0);
    Add1BigPartikel(x, y, 0, 0, 1, 1, 1, 0, 10, 30, 4, static_cast<float>(CLng(Rnd() * 360.0f)));
    Add1BigPartikel(x, y, 0, 0, 1, 1, 1, 0, 0, 25, 2, 5);
  }
}

void Funkelnd(int32_t i) {
  Gegner& g = GegnerListe[i];
  if (Rendern) ZeichneStill(g);
  if (g.TodZeit == 0) {
    for (const Feindkomponente& k : g.Typ.Komponenten)
      if (Wahr(k.Lebt)) Glitzern(g, k);
    StoppeSchussErzeuger(i);
  }
  ++g.TodZeit;
  if (g.TodZeit < kFunkelDauer) return;
  FinaleExplosion(g);
  KillEnemy(i);
}

// ---- Kind 3: the wreck --------------------------------------------------------------------

// The enemy's own picture is gone; six pieces of the wreck sprite set off in random
// directions, each on a random frame. A sprite that does not exist or has no frames
// gives no pieces.
void WrackBeginnt(int32_t i) {
  Gegner& g = GegnerListe[i];
  StoppeSchussErzeuger(i);
  for (Feindkomponente& k : g.Typ.Komponenten) k.Lebt = VBFalse;
  const int32_t sprite = g.Typ.Parameter[kWrack] - 1;
  g.Vari[0] = static_cast<float>(sprite);
  g.WrackTeile.fill(WrackTeil{});
  if (sprite < 0 || sprite > SpriteDefsMax()) return;
  const int32_t frames = static_cast<int32_t>(SpriteDefs[static_cast<size_t>(sprite)].Frames.size());
  if (frames == 0) return;
  for (WrackTeil& p : g.WrackTeile) {
    p.Richtung = static_cast<float>(CLng(Rnd() * 358.0f) + 1);
    p.Frame = static_cast<int32_t>(Int(double{Rnd()} * frames));
    p.FrameZeit = 9999;  // the frame moves on at once
    DoAni(sprite, p.Frame, p.FrameZeit);
  }
}

// Whether a piece at (l, o)-(r, u) strikes something: the scenery stops it; else it hurts
// the first ship it touches; else the satellite or a guard pod stops it.
bool TeilTrifft(int32_t l, int32_t o, int32_t r, int32_t u) {
  if (CheckColisionWithLandschaft3(l, o, r, u, -1)) return true;
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) {
    SpielerDaten& s = Spieler[static_cast<size_t>(p)];
    const SchiffDaten& b = Schiff[static_cast<size_t>(p)];
    if (!Ueberlappt(l, o, r, u, double{s.X} + b.BoxLinks, double{s.Y} + b.BoxOben, double{s.X} + b.BoxRechts,
                    double{s.Y} + b.BoxUnten))
      continue;
    s.Energie = static_cast<float>(double{s.Energie} - 0.1);
    return true;
  }
  // Only a satellite that is there, and only pods that exist as guards.
  if (Wahr(Satellit.Da) && Ueberlappt(l, o, r, u, double{Satellit.X} + 16, double{Satellit.Y} + 16,
                                      double{Satellit.X} + 48, double{Satellit.Y} + 48))
    return true;
  return std::any_of(Pods.begin(), Pods.end(), [&](const PodDaten& pod) {
    return Wahr(pod.Besitz) && pod.Waffe == -1 && Ueberlappt(l, o, r, u, pod.X, pod.Y, pod.X + 32.0, pod.Y + 32.0);
  });
}

void TeilExplodiert(WrackTeil& p, const SurfaceInfo& S, int32_t x, int32_t y) {
  const int32_t r = x + S.RandMaxX - S.RandMinX, u = y + S.LetzteZeile - S.ErsteZeile;
  AddExplosionsPartikel(static_cast<float>(x), static_cast<float>(y), static_cast<float>(r), static_cast<float>(u));
  AddPartikel(1, 150, x, y, r, u, false);
  EffektKlang(SndExplosion[2]);
  p.Richtung = 0;
}

// Frame `t` of a flying piece, thrown from (cx, cy) and falling with the level's gravity.
// True when it has a picture to show in this frame (drawn or not).
bool TeilFliegt(WrackTeil& p, int32_t sprite, bool quad, double cx, double cy, int32_t t) {
  const int32_t richtung = CLng(p.Richtung);
  const double tt = t;
  const int32_t y = CLng(cy + SinusB(richtung) * 5.0 * tt + 0.5 * Schwerkraft * tt * tt);
  const int32_t x = CLng(cx + CosinusB(richtung) * 5.0 * tt);
  if (y > kSpielfeldHoehe) {
    p.Richtung = 0;  // fallen out of sight
    return false;
  }
  DoAni(sprite, p.Frame, p.FrameZeit);
  const SurfaceInfo* S = FrameBild(sprite, p.Frame);
  if (S == nullptr) return false;
  const int32_t nr = SpriteDefs[static_cast<size_t>(sprite)].Frames[static_cast<size_t>(p.Frame)].Surface;
  const int32_t w = S->SrcRect.Right - S->SrcRect.Left, h = S->SrcRect.Bottom - S->SrcRect.Top;
  if (t % 2 == 0) {
    const int32_t s = CLng((w + h) / 2.0);
    const float sx = Rnd() - 0.5f, sy = Rnd() - 0.5f;
    Add1BigPartikel(static_cast<float>(x + IDiv(w - s, 2)), static_cast<float>(y + IDiv(h - s, 2)), sx, sy, 1, 1, 1, s,
                    0, 12, 10, 0);
  }
  if (Rendern) ShowSprite(nr, x, y, quad);
  if (TeilTrifft(x, y, x + w, y + h) || t >= kWrackDauer) TeilExplodiert(p, *S, x, y);
  return true;
}

void Wrack(int32_t i) {
  Gegner& g = GegnerListe[i];
  const double cx = MitteX(g), cy = MitteY(g);
  if (g.TodZeit == 0) WrackBeginnt(i);
  ++g.TodZeit;
  const int32_t sprite = CLng(g.Vari[0]);
  const bool quad = sprite >= 0 && sprite <= SpriteDefsMax() && Wahr(SpriteDefs[static_cast<size_t>(sprite)].D3DSprite);
  bool uebrig = false;
  for (WrackTeil& p : g.WrackTeile)
    if (p.Richtung > 0 && TeilFliegt(p, sprite, quad, cx, cy, g.TodZeit)) uebrig = true;
  if (g.TodZeit >= kWrackDauer || !uebrig) KillEnemy(i);
}

// ---- Kind 4: the boss -----------------------------------------------------------------------

// The clips of a boss's death, loaded afresh for each: 0 shock ring, 1 alarm loop,
// 2 warning beep, 3 overload, 4 rumble loop, 5 collapse, 6 the end.
constexpr std::array<const char*, 7> kWarnKlaenge = {"EndgegnerW1.wav", "EndgegnerW2.wav", "EndgegnerW3.wav",
                                                     "EndgegnerW4.wav", "EndgegnerW5.wav", "EndgegnerW6.wav",
                                                     "EndgegnerW7.wav"};
constexpr std::array<int32_t, 7> kSchockringe = {325, 365, 395, 415, 425, 427, 429};

void WarnklaengeLaden() {
  if (!SoundAn) return;
  // A boss still going down would lose the handles of its loops and never stop them.
  StopSound(SndWarnung[1]);
  StopSound(SndWarnung[4]);
  for (size_t n = 0; n < kWarnKlaenge.size(); ++n) SndWarnung[n] = LoadSound("Sound.vkp", kWarnKlaenge[n], 2, 44100);
}

// Warning clip `n`, `Mal` copies at once so that they sound together; `Flag` 1 loops.
void Warnung(size_t n, int32_t Flag, int Mal = 2) {
  if (!SoundAn) return;
  for (int m = 0; m < Mal; ++m) PlaySound(SndWarnung[n], Flag, 0, SoundLautstaerke);
}

void WarnungAus(size_t n) {
  if (SoundAn) StopSound(SndWarnung[n]);
}

// The play area flashes white with opacity `A`.
void Weissblende(float A) {
  if (!Rendern || A <= 0) return;
  Filtern = true;
  SetUpRect(TexWeiss, 0, 0, kSpielfeldBreite, kSpielfeldHoehe);
  SetUpColor(TexWeiss, 1, 1, 1, A);
  Render(TexWeiss, false);
  Filtern = false;
}

// Fire breaking out of the boss: every other frame an explosion at a random point of it
// (kept on the screen), every frame two sparks and two small particles.
void BossBrennt(const Gegner& g, int32_t t) {
  const double x = g.X, y = g.Y, w = g.Typ.Width, h = g.Typ.Height;
  if (t % 2 == 0) {
    const float qx = static_cast<float>(std::clamp(x + (w - 64) * double{Rnd()}, 0.0, 736.0));
    const float qy = static_cast<float>(std::clamp(y + (h - 64) * double{Rnd()}, 0.0, 486.0));
    Add1BigPartikel(qx, qy, 0, -1, 1, 1, 1, 64, 0, 20, 11, 0);
    AddExplosionsPartikel(qx, qy, qx + 64, qy + 64);
  }
  for (int n = 0; n < 2; ++n) {
    const float sx = static_cast<float>(x + (w - 8) * double{Rnd()});
    const float sy = static_cast<float>(y + (h - 16) * double{Rnd()});
    const float G = Rnd(), B = Rnd() / 2;
    Add1BigPartikel(sx, sy, 0, -2, 1, G, B, 8, 0, 16, 10, 0);
    AddPartikel(1, 1, CLng(x), CLng(y), CLng(x + w), CLng(y + h), false);
  }
}

// A particle 600 pixels out at angle `w`, flying in to the centre at 15 pixels a frame.
void Einfliegend(float cx, float cy, int32_t w, float R, float G, float B) {
  const int32_t still = CLng(Rnd() * 30.0f);
  Add1BigPartikel(cx + 600 * CosinusB(w), cy + 600 * SinusB(w), -15 * CosinusB(w), -15 * SinusB(w), R, G, B, 30, still,
                  40, 15, static_cast<float>(w));
}

// Two rings imploding onto the boss: one at random angles and colours, one even and gold.
void Implosion(const Gegner& g) {
  const float cx = MitteX(g), cy = MitteY(g);
  for (int n = 0; n < 24; ++n) {
    const int32_t w = CLng(Rnd() * 359.0f);
    const float G = Rnd() * 0.5f + 0.2f, B = Rnd() * 0.3f;
    Einfliegend(cx, cy, w, 1, G, B);
  }
  for (int32_t w = 0; w < 360; w += 15) Einfliegend(cx, cy, w, 1, 0.8f, 0.3f);
}

// A ring of 24 explosions on an ellipse around the boss, its margin growing with `t`.
void Explosionsring(const Gegner& g, int32_t t) {
  const double r = 2.0 * t - 280;
  for (int32_t w = 0; w < 360; w += 15) {
    const float x = static_cast<float>(g.X - r + (g.Typ.Width / 2.0 + r) * (SinusB(w) + 1.0));
    const float y = static_cast<float>(g.Y - r + (g.Typ.Height / 2.0 + r) * (CosinusB(w) + 1.0));
    AddExplosionsPartikel(x, y, x + 32, y + 32);
  }
}

// The screen overlays and the alarm while the boss overloads.
void BossOverlays(int32_t t) {
  if (t == 170) {
    Overlay1 = true;
    OverlayKopie = false;
    Warnung(1, 1);
  }
  if (t == 260) {
    Overlay1 = false;
    WarnungAus(1);
  }
  if (t >= 290 && t <= 350) OverlayKopie = true;
  if (t == 290) {
    Overlay2 = true;
    Overlay1 = true;
    Warnung(3, 0);
  }
  if (t == 340) {
    Overlay2 = false;
    Overlay1 = false;
  }
}

// The first frame: the clips, the rumble, no more fire, both ships shielded, and a lone
// player's power mode over (the beam's next pass ends it).
void BossFaellt(int32_t i) {
  WarnklaengeLaden();
  Warnung(4, 1);
  StoppeSchussErzeuger(i);
  for (SpielerDaten& s : Spieler) s.Schild = 600;
  BeamStatus& b = Beam[0];
  if (LetzterSpieler == 0 && Wahr(b.Powermodus)) {
    b.PowerZeit = 500;
    HintergrundModus = b.Schaden;
    b.Ladung = 0;
    b.Powermodus = VBFalse;
  }
}

// What happens before the frame's count rises (t the frames gone so far).
void BossVorher(const Gegner& g, int32_t t) {
  if (t < 500) {
    if (Rendern) ZeichneStill(g);
    BossBrennt(g, t);
  }
  if (t < 20) Weissblende(1.0f - static_cast<float>(std::abs(10 - t)) / 10.0f);
  if (t == 120) Implosion(g);
  if (t > 130 && t < 160 && Rnd() < 0.2f) Warnung(2, 0);
  if (t > 150 && t < 240 && t % 10 == 0) Explosionsring(g, t);
  BossOverlays(t);
}

// What happens on frame t, after the count rose.
void BossNachher(int32_t i, int32_t t) {
  Gegner& g = GegnerListe[i];
  const float cx = MitteX(g), cy = MitteY(g);
  if (t == 1) BossFaellt(i);
  if (t == 2) {
    BlaueGlut(g, 450);
    BlaueGlut(g, 450);
    g.Vari[0] = static_cast<float>(HintergrundModus);
    HintergrundModus = 0;  // the backdrop goes dark
  }
  if (std::find(kSchockringe.begin(), kSchockringe.end(), t) != kSchockringe.end()) {
    Add1BigPartikel(cx - 1000, cy - 1000, 0, 0, 1, 1, 1, 2000, 15, 5, 2, -100);
    Warnung(0, 0);
  }
  if (t == 430) {
    Add1BigPartikel(cx - 1, cy - 1, 0, 0, 1, 0, 0, 2, 50, 15, 1, 15);
    Erschuetterung += 70;
    Warnung(5, 0);
  }
  if (t > 480) Weissblende(1.0f - static_cast<float>(std::abs(500 - t)) / 10.0f);
  if (t == 500) {
    WarnungAus(4);
    Overlay1 = false;
    HintergrundModus = CLng(g.Vari[0]);
    FinaleExplosion(g);  // the parts stay, no longer drawn
  }
  if (t == 520) LevelTick = LevelLaenge - 151;  // the level ends shortly after its boss
  if (t < 570) return;
  Warnung(6, 0, 3);
  for (int n = 0; n < 3; ++n) BlaueGlut(g, 10);
  KillEnemy(i);
}

void Endgegner(int32_t i) {
  Gegner& g = GegnerListe[i];
  BossVorher(g, g.TodZeit);
  ++g.TodZeit;
  BossNachher(i, g.TodZeit);
}

// ---- Kind 5: the area blast -----------------------------------------------------------------

// The blast over (l, o)-(r, u): ships inside lose `d` x 10 energy, and the other enemies
// take `e` as long as the damage goes on through them.
void Blast(int32_t i, double l, double o, double r, double u, int32_t d, int32_t e) {
  AddExplosionsPartikel(static_cast<float>(l), static_cast<float>(o), static_cast<float>(r), static_cast<float>(u));
  if (d > 0) {
    for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) {
      SpielerDaten& s = Spieler[static_cast<size_t>(p)];
      if (s.Tod != 0) continue;
      if (!Ueberlappt(double{s.X} + 5, double{s.Y} + 20, double{s.X} + 60, double{s.Y} + 45, l, o, r, u)) continue;
      s.Energie = static_cast<float>(double{s.Energie} - d * 10.0);
      EffektKlang(SndHit);
    }
  }
  // Each round that leaves damage over has destroyed a part or an enemy, so it ends.
  int32_t getroffen = -1;
  bool unzerstoerbar = false;
  int32_t rein = e, rest;
  for (;;) {
    rest =
        CheckColisionWithEnemy(CLng(l), CLng(o), CLng(r), CLng(u), rein, false, true, i, getroffen, unzerstoerbar, -1);
    if (rest == rein || rest <= 0) break;
    rein = rest;
  }
}

void Flaechenblast(int32_t i) {
  Gegner& g = GegnerListe[i];
  if (Rendern) ZeichneStill(g);
  if (g.TodZeit == 0) {
    StoppeSchussErzeuger(i);
    BlaueGlut(g, 10);
    BlaueGlut(g, 10);
  }
  ++g.TodZeit;
  if (g.TodZeit < kFlaechenDauer) return;
  const int32_t T = g.Typ.Parameter[kFlaeche];
  const int32_t r = Mod(IDiv(T, 10), 1000);
  Blast(i, double{g.X} - r, double{g.Y} - r, double{g.X} + r + g.Typ.Width, double{g.Y} + r + g.Typ.Height,
        Mod(T, 10) - 1, IDiv(T, 10000));
  FinaleExplosion(g, Ausbruch::NurFunken);
  KillEnemy(i);
}

// ---- Kind 6: the beam kill ------------------------------------------------------------------

// Four green streaks growing from the corners of the box into it.
void Streifen(float l, float o, float w, float h, int32_t t) {
  const float s = std::max(w, 1.0f) / std::max(h, 1.0f);
  const float dx = s * t * 4, dy = t * 4 / s;
  for (const auto& [x, y, rx, ry] : {std::array<float, 4>{l, o, 1, 1}, std::array<float, 4>{l + w, o, -1, 1},
                                     std::array<float, 4>{l, o + h, 1, -1}, std::array<float, 4>{l + w, o + h, -1, -1}})
    Linie(x, y, x + rx * dx, y + ry * dy, 5, 0, 1, 0, 1, 0.3f, 1, 0.3f, 0, false);
}

// A square closing in on the box's centre, turning as it shrinks.
void Quadrat(float cx, float cy, int32_t t) {
  const float abstand = static_cast<float>((50 - t) * 20);
  std::array<float, 4> x{}, y{};
  for (int n = 0; n < 4; ++n) {
    const int32_t w = 10 * (t + 9 * n);
    x[n] = cx + SinusB(w) * abstand;
    y[n] = cy + CosinusB(w) * abstand;
  }
  for (int n = 0; n < 4; ++n) {
    const int m = (n + 1) % 4;
    Linie(x[n], y[n], x[m], y[m], 10, 0.5f, 1, 0.5f, 1, 0.5f, 1, 0.5f, 1, false);
  }
}

void Strahltod(int32_t i) {
  Gegner& g = GegnerListe[i];
  const int32_t t = g.TodZeit;
  if (Rendern) ZeichneStill(g);
  if (t == 0) {
    StoppeSchussErzeuger(i);
    UmrissMerken(g);
  }
  const float l = g.Vari[0], o = g.Vari[1], w = g.Vari[2], h = g.Vari[3];
  if (t < kStrahlEnde) Streifen(l, o, w, h, t);
  if (t > 20) {
    AddPartikel(1, 10, CLng(l), CLng(o), CLng(double{l} + w), CLng(double{o} + h), false);
    Quadrat(l + w / 2, o + h / 2, t);
  }
  if (t < kStrahlEnde) {
    ++g.TodZeit;
    return;
  }
  FinaleExplosion(g, Ausbruch::Gespalten);
  KillEnemy(i);
}

// ---- Kind 7: the break-up -------------------------------------------------------------------

// Component `k` breaks off: it bursts and falls away as a wreck of its own picture.
void BrichtAb(const Gegner& g, Feindkomponente& k) {
  Zerplatze(g, k, 150, Ausbruch::NurFunken);
  const Teilbild b = BildVon(k);
  if (b.S != nullptr)
    Add1BigPartikel(KomponenteX(g, k), KomponenteY(g, k), 0.2f, -0.1f, 0, static_cast<float>(k.AniA),
                    static_cast<float>(k.TiA), k.Sprite, 0, 100, 12,
                    static_cast<float>(IDiv(int32_t{b.S->Width} + b.S->Height, 2) - 10));
  TeilVernichtet(k);
  k.Lebt = VBFalse;
}

// The part that is left next glows blue where the last one broke away.
void Nachgluehen(const Gegner& g, const Feindkomponente& k) {
  const Teilbild b = BildVon(k);
  for (int n = 0; n < 3; ++n)
    Add1BigPartikel(KomponenteX(g, k), KomponenteY(g, k), 0, 0, 0, 0, 1, b.Hoehe(), 0, 30, 0,
                    static_cast<float>(b.Breite()));
}

void Zerfall(int32_t i) {
  Gegner& g = GegnerListe[i];
  if (g.TodZeit == 0) StoppeSchussErzeuger(i);
  --g.TodZeit;
  bool uebrig = false, glut = false;
  for (int32_t j = g.Typ.KomponentenMax(); j >= 0; --j) {
    Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(j)];
    if (!Wahr(k.Lebt)) continue;
    uebrig = true;
    if (Rendern) ZeichneTeilStill(g, k);
    if (glut) {
      Nachgluehen(g, k);
      glut = false;
    }
    if (g.TodZeit < 1) {
      BrichtAb(g, k);
      g.TodZeit = kZerfallTakt;
      glut = true;
    }
  }
  if (!uebrig) KillEnemy(i);
}

constexpr std::array<Todesfolge, 8> Todesfolgen = {
    Erstarrt,       // 0 frozen by the nova
    Gespalten,      // 1 split in power mode
    Funkelnd,       // 2 sparkling under the nova
    Wrack,          // 3 wreck
    Endgegner,      // 4 boss
    Flaechenblast,  // 5 area blast
    Strahltod,      // 6 beam kill
    Zerfall,        // 7 break-up
};

}  // namespace

void SpielTodesfolge(int32_t i) {
  const int32_t art = GegnerListe[i].TodArt;
  // The nova marks the enemies it cannot touch with a kind of their own: they wait unseen.
  if (art < 0 || art >= static_cast<int32_t>(Todesfolgen.size())) return;
  Todesfolgen[static_cast<size_t>(art)](i);
}
