// Every archive of the demo data and every member by name. The names of the game's
// fixed pictures and sounds are spelled as the loaders ask for them, and the loops below
// follow the loaders' loops, so that a name missing here is easy to see.
#include "demodata/catalogue.hpp"

#include <cmath>
#include <future>
#include <string>

#include "demodata/arsenal.hpp"
#include "demodata/audio.hpp"
#include "demodata/boss_warnings.hpp"
#include "demodata/draw.hpp"
#include "demodata/epilog.hpp"
#include "demodata/level1.hpp"
#include "demodata/level2.hpp"
#include "demodata/pause_save.hpp"
#include "demodata/logos.hpp"
#include "demodata/pictures.hpp"
#include "demodata/sounds.hpp"
#include "demodata/videos.hpp"
#include "lib/media_writer.hpp"

namespace demo {
namespace {

using tools::ArchiveMember;
using tools::Image;
using Members = std::vector<ArchiveMember>;

std::string N(int n) { return std::to_string(n); }

// A picture drawn with black as its transparent key (blits and keyed textures).
void Keyed(Members& m, const std::string& name, const Canvas& c) { m.push_back({name, tools::EncodeBmp24(demo::Keyed(c))}); }
// A picture whose dark parts are meant to stay dark (glows, noise, textures without key).
void Flat(Members& m, const std::string& name, const Canvas& c) { m.push_back({name, tools::EncodeBmp24(demo::Flat(c))}); }
void Flat(Members& m, const std::string& name, const Image& img) { m.push_back({name, tools::EncodeBmp24(img)}); }
// A texture and its alpha mate "...A.bmp": soft edges when drawn as a quad.
void Mated(Members& m, const std::string& name, const Canvas& c) {
  auto [colour, mate] = WithMate(c);
  m.push_back({name, tools::EncodeBmp24(colour)});
  m.push_back({name.substr(0, name.size() - 4) + "A.bmp", tools::EncodeBmp24(mate)});
}

void Sound(Members& m, const std::string& name, const synth::Wave& w) {
  m.push_back({name, tools::EncodeWav16(synth::Pcm(w), 1, synth::kRate)});
}

// The bar of lightning, lines and trails: bright in the middle row, dark at the edges.
Image StandardBar() {
  Image img(32, 32);
  for (int y = 0; y < 32; ++y) {
    double d = std::fabs(y + 0.5 - 16) / 16;
    int v = static_cast<int>(std::lround(255 * (1 - d * d)));
    for (int x = 0; x < 32; ++x) img.at(x, y) = Rgb(v, v, v);
  }
  return img;
}

Members StandardPictures() {
  Members m;
  Flat(m, "Blur.bmp", BlurTexture());
  // The fade texture holds the whole screen once the loader has taken off its last
  // column and row.
  Flat(m, "Blur3.bmp", Image(801, 601));
  Flat(m, "Blur2.bmp", Image(256, 256));
  Flat(m, "Glitzer.bmp", Sparkle());
  Flat(m, "A_KREIS2.bmp", SoftDisc());
  Flat(m, "weiss.bmp", Image(8, 8, 0xFFFFFF));
  Flat(m, "Strich.bmp", LightStreak());
  Flat(m, "Balken.bmp", StandardBar());
  Flat(m, "BalkenE.bmp", BarCap());
  for (int n = 0; n <= 3; ++n) Mated(m, "feuer" + N(n) + ".bmp", Fire(n));
  Mated(m, "Wave.bmp", Ring());
  for (int n = 0; n <= 6; ++n) Mated(m, "Rauch" + N(n + 1) + ".bmp", Smoke(n));
  Keyed(m, "Logo.bmp", GameLogo());
  Flat(m, "Noise.bmp", TvNoise());
  Flat(m, "A_Kreis3.bmp", LensMask());
  return m;
}

Members GamePictures() {
  Members m;
  Mated(m, "Ballschuss.bmp", Bullet(0));
  for (int i = 1; i <= 3; ++i) Mated(m, "Ballschuss" + N(i + 1) + ".bmp", Bullet(i));
  for (int n = 0; n <= 13; ++n) Keyed(m, "Partikel" + N(n) + ".bmp", Pod(n));
  for (int a = 1; a <= 3; ++a)
    for (int b = 0; b <= 7; ++b) Keyed(m, "Force_0" + N(a) + "000" + N(b) + ".bmp", Satellite(a - 1, b));
  for (int n = 0; n <= 9; ++n) Mated(m, "VW1-" + N(n) + ".bmp", DroneOrb(n));
  static const int kRows[3] = {1, 1, 3};
  for (int t = 0; t <= 2; ++t)
    for (int c = 1; c <= 5; ++c)
      for (int r = 1; r <= kRows[t]; ++r) Keyed(m, "VESK" + N(t) + N(c) + N(r) + ".bmp", ShipFrame(t, c - 1, r - 1));
  for (int n = 0; n <= 9; ++n) {
    Keyed(m, "N" + N(n) + ".bmp", Digit(n));
    Keyed(m, "Leben" + N(n) + ".bmp", LivesDigit(n));
  }
  for (int s = 0; s <= 3; ++s) {
    const std::string p = "interface" + N(s);
    Keyed(m, p + "_grund.bmp", PanelGround(s));
    Keyed(m, p + "_energy.bmp", PanelEnergy(s, false));
    Keyed(m, p + "_energyA.bmp", PanelEnergy(s, true));
    for (int i = 0; i <= 1; ++i) {
      Keyed(m, p + "_beam" + N(i) + ".bmp", PanelBeam(s, i, false));
      Keyed(m, p + "_beamA" + N(i) + ".bmp", PanelBeam(s, i, true));
    }
    Keyed(m, p + "_s.bmp", PanelSpeed(s));
    Keyed(m, p + "_p.bmp", PanelGun(s));
    // The glows are loaded with one player only, so set 3 has none.
    if (s < 3)
      for (int i = 0; i <= 2; ++i) Flat(m, p + "_spec" + N(i) + ".bmp", PanelGlow(s, i));
  }
  for (int i = 0; i <= 2; ++i) {
    Keyed(m, "interface_extra" + N(i) + ".bmp", SecondaryIcon(false, i));
    Keyed(m, "interface3_extra" + N(i) + ".bmp", SecondaryIcon(true, i));
  }
  for (int n = 0; n <= 4; ++n) Keyed(m, "V" + N(n) + "S.bmp", PodSlot(n));
  Keyed(m, "GSchuss1.bmp", EnemyShot(0));
  Keyed(m, "GSchuss2.bmp", EnemyShot(1));
  for (int i = 0; i <= 4; ++i) {
    for (int j = 0; j <= 5; ++j) {
      Keyed(m, "Extra" + N(i) + N(j) + ".bmp", PodWeaponPickup(i, j));
      Keyed(m, "P2Extra" + N(i) + N(j) + ".bmp", SatelliteWeaponPickup(i, j));
    }
    Keyed(m, "Extra" + N(i) + ".bmp", WeaponIcon(i));
  }
  Keyed(m, "ExtraShild.bmp", WeaponIcon(-1));
  for (int i = 0; i <= 9; ++i)
    for (int j = 0; j <= 5; ++j) Keyed(m, "Pow" + N(i) + N(j) + ".bmp", PowerUp(i, j));
  Keyed(m, "AbprallerEinzeln.bmp", Splitter(false));
  Keyed(m, "AbprallerZusammen.bmp", Splitter(true));
  Keyed(m, "Bombe.bmp", Bomb());
  Keyed(m, "Rakete.bmp", Rocket());
  Keyed(m, "Rakete2.bmp", Missile());
  Mated(m, "Wave2.bmp", Ring2());
  Keyed(m, "fadenkreuz.bmp", Crosshair());
  Flat(m, "Hupe.bmp", demo::Horn());
  Mated(m, "Blase.bmp", Bubble());
  Keyed(m, "Combo.bmp", ComboLabel());
  // The magnifier's working texture (its content does not matter: every lens clears it).
  Flat(m, "Blur2.bmp", Image(256, 256));
  for (int i = 0; i <= 31; ++i) Keyed(m, "Frame" + N(i + 1) + ".bmp", SpeakerFrame(i));
  // The weather pictures, loaded when a level first needs them: 256 x 256 tiles.
  Flat(m, "Regen1.bmp", RainTile());
  for (int k = 0; k <= 2; ++k) Flat(m, "Schnee" + N(k + 1) + ".bmp", SnowTile(k));
  return m;
}

Members GameSounds() {
  using namespace sounds;
  Members m;
  Sound(m, "Normal2.wav", HeavyShot());
  Sound(m, "Normal.wav", LightShot());
  Sound(m, "green.wav", FragmentShot());
  Sound(m, "v-Phyton red.wav", TorpedoShot());
  Sound(m, "v-Phyton blue.wav", BounceShot());
  Sound(m, "V-phy green.wav", SeekerShot());
  Sound(m, "V-phy violett.wav", BoomerangShot());
  Sound(m, "V-phy yellow.wav", SatelliteLaserLoop());
  Sound(m, "red.wav", SpreadShot());
  Sound(m, "yellow.wav", FlameLoop());
  Sound(m, "cyan.wav", PodLaserLoop());
  Sound(m, "Violett.wav", SplitterShot());
  Sound(m, "rocketlaunch.wav", RocketLaunch());
  Sound(m, "Bomb.wav", BombDrop());
  Sound(m, "press q.wav", BeamModeSwitch());
  Sound(m, "item switch.wav", PodTurn());
  Sound(m, "press d.wav", PodSelect());
  Sound(m, "Extra.wav", Pickup());
  Sound(m, "Speed.wav", SpeedUp());
  Sound(m, "Checkpoint.wav", Checkpoint());
  Sound(m, "Explosion.wav", Explosion(0));
  Sound(m, "Explosion1.wav", Explosion(1));
  Sound(m, "Explosion2.wav", Explosion(2));
  Sound(m, "ExplosionVESK.wav", ShipExplosion());
  Sound(m, "Charge1.wav", ChargeLoop(0));
  Sound(m, "Charge2.wav", ChargeLoop(1));
  Sound(m, "Beam1.wav", BeamRelease(0));
  Sound(m, "Beam2.wav", BeamRelease(1));
  Sound(m, "Hit.wav", Hit());
  Sound(m, "Pause.wav", PauseChime());
  Sound(m, "Save.wav", SaveChime());
  Sound(m, "speech.wav", Speech());
  Sound(m, "spalt.wav", Split());
  Sound(m, "Nova.wav", Nova());
  Sound(m, "NovaSchuss.wav", NovaShot());
  Sound(m, "Hupe.wav", sounds::Horn());
  Sound(m, "force_on.wav", DockOn());
  Sound(m, "force_off.wav", DockOff());
  Sound(m, "water touch.wav", WaterLoop());
  Sound(m, "newborn1.wav", Respawn());
  Sound(m, "rain.wav", RainLoop());
  Sound(m, "Thunder.wav", Thunder());
  Sound(m, "Liveup.wav", ExtraLife());
  // Loaded when a boss goes down.
  for (int n = 1; n <= 7; ++n) Sound(m, "EndgegnerW" + N(n) + ".wav", BossWarning(n));
  // The menu's own sounds.
  m.push_back({"dude.wav", tools::EncodeWav16(TwoNotes(660, 880, 0.06, synth::kRate), 1, synth::kRate)});
  m.push_back({"PlingDing.wav", tools::EncodeWav16(TwoNotes(1320, 990, 0.08, synth::kRate), 1, synth::kRate)});
  // The levels' own sounds, which their loader takes from here.
  for (ArchiveMember& s : Level1Sounds()) m.push_back(std::move(s));
  for (ArchiveMember& s : Level2Sounds()) m.push_back(std::move(s));
  for (ArchiveMember& s : ArsenalSounds()) m.push_back(std::move(s));
  return m;
}

// The menu's pictures; the hangars and the turning ships take a while each, so they are
// made side by side.
Members MenuPictures() {
  std::vector<std::future<Members>> teile;
  for (int n = 0; n <= 1; ++n) {
    teile.push_back(std::async(std::launch::async, [n] {
      Members m;
      Keyed(m, "Hangar" + N(n) + ".bmp", MenuHangar(n, false));
      return m;
    }));
    teile.push_back(std::async(std::launch::async, [n] {
      Members m;
      Flat(m, "Hangar_Frozen" + N(n) + ".bmp", MenuHangar(n, true));
      return m;
    }));
  }
  for (int s = 0; s <= 1; ++s)
    for (int f0 = 0; f0 <= 36; f0 += 10)
      teile.push_back(std::async(std::launch::async, [s, f0] {
        Members m;
        for (int f = f0; f <= std::min(f0 + 9, 36); ++f) {
          const std::string zahl = "0" + N(f);
          Mated(m, "ShipSelect" + N(s) + "0" + zahl.substr(zahl.size() - 2) + ".bmp", ShipSelectFrame(s, f));
        }
        return m;
      }));
  Members m;
  for (auto& t : teile)
    for (ArchiveMember& a : t.get()) m.push_back(std::move(a));
  Keyed(m, "Menu_topg.bmp", MenuTop());
  Keyed(m, "Menu_bottomg.bmp", MenuBottom());
  Keyed(m, "Menu_Button.bmp", MenuButton());
  Keyed(m, "Menu_Lighta.bmp", MenuLight(false));
  Keyed(m, "Menu_Lightb.bmp", MenuLight(true));
  Mated(m, "Menu_Back.bmp", MenuBack());
  Mated(m, "Menu_Logo.bmp", MenuLogo());
  return m;
}

ArchiveMember Picture(const std::string& name, const Image& img) { return {name, tools::EncodeBmp24(img)}; }

ArchiveMember TextFile(const std::string& name, const std::string& text) {
  return {name, std::vector<uint8_t>(text.begin(), text.end())};
}

std::vector<ArchiveMember> Plus(std::vector<ArchiveMember> a, std::vector<ArchiveMember> b) {
  for (ArchiveMember& m : b) a.push_back(std::move(m));
  return a;
}

Image Backdrop(int w, int h, uint32_t top, uint32_t bottom, uint32_t seed) {
  Image img(w, h);
  VerticalGradient(img, top, bottom);
  Stars(img, seed, w * h / 900);
  return img;
}

Image Title(int w, int h, const std::string& text, uint32_t colour, uint32_t seed) {
  Image img = Backdrop(w, h, Rgb(4, 8, 30), Rgb(0, 0, 0), seed);
  int scale = std::max(1, std::min(w / (TextWidth(text, 1) + 12), h / 12));
  Text(img, (w - TextWidth(text, scale)) / 2, (h - 7 * scale) / 2, text, scale, colour);
  return img;
}

}  // namespace

std::vector<Archiv> Archives() {
  std::vector<Archiv> a = {
      {"Standart.vkp", StandardPictures()},
      {"Spiel.vkp", GamePictures()},
      {"Sound.vkp", Plus(GameSounds(), {LogoSound()})},
      {"Menu.vkp", MenuPictures()},
      {"Logo.vkp",
       Plus({Picture("Logo.bmp", Title(400, 150, "HARVO", Rgb(250, 200, 60), 3))}, LogoPictures())},
      {"Pause.vkp", {Picture("Pausescreen.bmp", demo::Keyed(PauseFrame()))}},
      {"Loading.vkp",
       {Picture("Loading.bmp", Backdrop(800, 600, Rgb(30, 0, 40), 0, 13)),
        {"Deep.bmp", tools::EncodeBmp24(demo::Flat(DeepLoading()))}}},
      {"Video.vkp", Plus({TextFile("Videos.txt", "Intro.avi\r\n")}, ArchiveVideos())},
  };
  for (const DemoLevel& l : DemoLevels()) a.push_back({l.name + ".vfp", l.voices()});
  return a;
}

const std::vector<DemoLevel>& DemoLevels() {
  static const std::vector<DemoLevel> levels = {
      {"Level1", Level1Pictures, Level1Voices, CanyonMusic},
      {"Level2", Level2Pictures, Level2Voices, DeepMusic},
      {"Arsenal", ArsenalPictures, ArsenalVoices, ArsenalMusic},
      {"Epilog", EpilogPictures, EpilogVoices, EpilogMusic},
  };
  return levels;
}

}  // namespace demo
