#include "beam_support.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/headless/headless.hpp"
#include "ship_support.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace beamtest {

namespace {

using platform::PixelFormat;

constexpr int kKopien = 32;

uint32_t Argb(double a, double r, double g, double b) {
  const auto k = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255 + 0.5); };
  return k(a) << 24 | k(r) << 16 | k(g) << 8 | k(b);
}

int32_t Bild(int w, int h, PixelFormat format, bool key, const testsupport::Painter& maler) {
  return testsupport::PaintedPicture(w, h, format, key, maler);
}

// Distance of pixel (x, y) from the centre of a `w` x `h` picture, 1 at the rim.
double Abstand(int x, int y, int w, int h) {
  return std::hypot((x + 0.5) / w * 2 - 1, (y + 0.5) / h * 2 - 1);
}

// The bar: opaque along its middle line, fading to nothing at its top and bottom edges.
double Balkenprofil(int y, int h) { return 1 - std::abs((y + 0.5) / h * 2 - 1); }

void Bilder() {
  TexBalken = Bild(64, 32, PixelFormat::ARGB8888, false, [](int, int y) {
    const double a = Balkenprofil(y, 32);
    return Argb(a, 0.6 + 0.4 * a, 0.6 + 0.4 * a, 0.6 + 0.4 * a);
  });
  TexBalkenE = Bild(16, 32, PixelFormat::ARGB8888, false, [](int x, int y) {
    const double a = Balkenprofil(y, 32) * std::min(1.0, x / 10.0);
    return Argb(a, 1, 1, 1);
  });
  TexKreis2 = Bild(32, 32, PixelFormat::ARGB8888, false, [](int x, int y) {
    const double d = Abstand(x, y, 32, 32);
    return d >= 1 ? 0u : Argb(1 - d * d, 1, 1, 1);
  });
  // White inside, black outside; the white is the key, so the mask leaves a disc.
  TexKreis3 = Bild(128, 128, PixelFormat::XRGB8888, false, [](int x, int y) {
    const double d = Abstand(x, y, 128, 128);
    return d < 0.85 ? 0xFFFFFFFFu : d < 0.95 ? 0xFF406080u : 0xFF000000u;
  });
  Surfaces[TexKreis3].Surface->SetColorKey(platform::DDCKEY_SRCBLT, 0xFFFFFFFFu, 0xFFFFFFFFu);
  TexStrich = Bild(64, 8, PixelFormat::ARGB8888, false, [](int x, int y) {
    return Argb(Balkenprofil(y, 8) * (1 - std::abs((x + 0.5) / 32 - 1)), 1, 1, 1);
  });
  TexWave = TexWave2 = Bild(16, 64, PixelFormat::ARGB8888, false, [](int x, int y) {
    return Argb(0.5 + 0.5 * std::sin(y * 0.4 + x * 0.2), 1, 1, 1);
  });
  TexWeiss = Bild(8, 8, PixelFormat::XRGB8888, false, [](int, int) { return 0xFFFFFFFFu; });
  // The lens textures take copies of the back buffer: its format. The second is keyed, so
  // the corners its mask blackens stay clear.
  TexBlur = Bild(128, 128, PixelFormat::XRGB8888, false, [](int, int) { return 0xFF000000u; });
  TexBlurB = Bild(128, 128, PixelFormat::XRGB8888, true, [](int, int) { return 0xFF000000u; });
  // The effect particles the beam throws.
  for (int k = 0; k < 4; ++k)
    TexFeuer[k] = Bild(32, 32, PixelFormat::ARGB8888, false, [k](int x, int y) {
      const double d = Abstand(x, y, 32, 32);
      return d >= 1 ? 0u : Argb(1 - d, 1, 0.5 + 0.1 * k, 0.2);
    });
  for (int k = 0; k < 7; ++k)
    TexRauch[k] = Bild(32, 32, PixelFormat::ARGB8888, false, [k](int x, int y) {
      const double d = Abstand(x, y, 32, 32);
      return d >= 1 ? 0u : Argb((1 - d) * (1 - k / 8.0), 0.7, 0.7, 0.8);
    });
  TexGlitzer = TexGlitzerB = Bild(16, 16, PixelFormat::ARGB8888, false, [](int x, int y) {
    const double dx = std::abs(x - 7.5), dy = std::abs(y - 7.5);
    return Argb(std::max(0.0, 1 - std::min(dx, dy) / 2) * std::max(0.0, 1 - std::max(dx, dy) / 8), 1, 1, 1);
  });
}

// A ship of type `typ` pointing right, in a colour of its own; opaque over its hit box.
int32_t Schiffsbild(int32_t typ) {
  static constexpr uint32_t kFarben[3] = {0xFF5080E0u, 0xFF40C060u, 0xFFD09040u};
  const uint32_t farbe = kFarben[std::clamp(typ, 0, 2)];
  return Bild(64, 64, PixelFormat::XRGB8888, true, [farbe](int x, int y) {
    const double mitte = 35.5, halb = 18.5 * (1 - x / 70.0);
    if (std::abs(y - mitte) > halb) return 0u;
    return std::abs(y - mitte) > halb - 3 ? 0xFFE0E0E0u : farbe;
  });
}

}  // namespace

int32_t ZaehlKlang() {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(400, 0);
  pcm->channels = 1;
  pcm->rate = 22050;
  pcm->blockAlign = 2;
  SoundEntry& e = Sounds.emplace_back();
  for (int k = 0; k < kKopien; ++k) e.Kopien.emplace_back(pcm);
  e.Zeiger = -1;
  return SoundsMax();
}

int32_t Gespielt(int32_t nr) {
  SoundEntry& e = Sounds[static_cast<size_t>(nr)];
  const int32_t n = e.Zeiger + 1;
  e.Zeiger = -1;
  return n;
}

const platform::audio::SoundBuffer& LetzteKopie(int32_t nr) {
  const SoundEntry& e = Sounds[static_cast<size_t>(nr)];
  return e.Kopien[static_cast<size_t>(std::max(e.Zeiger, 0))];
}

std::vector<BigPartikelDaten> Effekte(int32_t art) {
  std::vector<BigPartikelDaten> v;
  for (int32_t k = 0; k <= BigPartikel.Max; ++k)
    if (BigPartikel[k].Aktiv && (art < 0 || BigPartikel[k].Art == art)) v.push_back(BigPartikel[k]);
  return v;
}

int64_t Gezogen(uint32_t von) {
  const uint32_t jetzt = RndState();
  SetRndState(von);
  int64_t n = 0;
  while (RndState() != jetzt && n <= 100000) {
    Rnd();
    ++n;
  }
  SetRndState(jetzt);
  return n > 100000 ? -1 : n;
}

void BeamTest::SetUp() {
  platform::headless::Reset();
  testsupport::FreshState();
  testsupport::OpenDisplay(PixelFormat::XRGB8888);
  Bilder();
  shiptest::BindKeys();
  Beam.fill(BeamStatus{});
  LetzterSpieler = 0;
  ForceModus = false;
  SoundAn = true;
  PartikelAn = false;  // the enemies' sparks would draw random numbers of their own
  laden0 = ZaehlKlang();
  laden1 = ZaehlKlang();
  beam0 = ZaehlKlang();
  beam1 = ZaehlKlang();
  pressq = ZaehlKlang();
  SndCharge = {laden0, laden1};
  SndBeam = {beam0, beam1};
  SndPressQ = pressq;
  Schiffstyp(0, 0);
  Schiffstyp(1, 1, 1, 100, 300);
  HintergrundModus = 1;
  Wasserstand = 0;
  LevelTick = 0;
  SetRndState(4711);
}

void BeamTest::TearDown() {
  shiptest::ReleaseAll();
  SndCharge = {-1, -1};
  SndBeam = {-1, -1};
  SndPressQ = -1;
  Sounds.clear();
  testsupport::CloseDisplay();
  SpriteDefs.clear();
  Beam.fill(BeamStatus{});
  LetzterSpieler = 0;
  HintergrundModus = 1;
  Wasserstand = 0;
  LevelTick = 0;
  testsupport::FreshState();
}

void BeamTest::Schiffstyp(int32_t p, int32_t typ, int32_t stufe, float x, float y) {
  SchiffDaten& b = Schiff[p];
  b = SchiffDaten{};
  shiptest::StandardBlock(b, typ);
  b.Bilder.fill(Schiffsbild(typ));
  SpielerDaten& s = Spieler[p];
  s.X = x;
  s.Y = y;
  s.Waffenstufe = stufe;
  s.Tod = 0;
  s.Status = 0;
  s.FrameSpalte = 2;
  s.FrameZeile = 0;
}

void BeamTest::Halten(int32_t p, Aktion a, bool down) { shiptest::Hold(Set(p), a, down); }

void BeamTest::Frames(int n) {
  for (int i = 0; i < n; ++i) {
    if (!Rendern) {
      SpielBeam();
      continue;
    }
    RenderStart();
    SpielBeam();
    RenderEnd();
  }
}

void BeamTest::LadenUndLoslassen(int32_t p, int n) {
  Halten(p, AktionBeam);
  Frames(n);
  Halten(p, AktionBeam, false);
  Frames(1);
}

void BeamTest::Fliegend(int32_t p, float ladung) {
  Beam[p].Ladung = Beam[p].LadungAbschuss = ladung;
  Frames(1);
}

}  // namespace beamtest
