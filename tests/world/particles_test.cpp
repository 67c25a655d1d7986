// Small particles, effect particles and bubbles: what the creators place and how many
// random numbers they take (none from a full pool), the life, growth and drawing of every
// effect kind, the screen lenses at and beyond the screen's edge, the falling wrecks, the
// rise of bubbles, and a card of every kind compared with its reference picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

using Maler = testsupport::Painter;

// A texture in the back buffer's format (black keyed when `key`); `maler` gives 0xRRGGBB.
int32_t Bild(int w, int h, bool key, const Maler& maler) {
  return testsupport::PaintedPicture(w, h, BackBuffer->Format(), key, maler);
}

uint32_t Grau(double v) {
  const uint32_t g = static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255);
  return g * 0x010101u;
}
// Distance of (x, y) from the centre of a `w`-square, 0 in the middle to 1 at the edge.
double Abstand(int x, int y, int w) { return std::hypot(x + 0.5 - w / 2.0, y + 0.5 - w / 2.0) / (w / 2.0); }

int32_t Scheibe(int w, uint32_t farbe) {
  return Bild(w, w, true, [=](int x, int y) {
    const double d = Abstand(x, y, w);
    if (d >= 1) return 0u;
    const double k = 1 - d * 0.7;
    return (static_cast<uint32_t>(((farbe >> 16) & 255) * k) << 16) |
           (static_cast<uint32_t>(((farbe >> 8) & 255) * k) << 8) | static_cast<uint32_t>((farbe & 255) * k);
  });
}
int32_t Kranz(int w, uint32_t farbe, bool gestrichelt) {
  return Bild(w, w, true, [=](int x, int y) {
    const double d = Abstand(x, y, w);
    if (d < 0.7 || d >= 1) return 0u;
    if (gestrichelt && ((x / 3) + (y / 3)) % 2) return 0u;
    return farbe;
  });
}

// The pictures of all kinds, each with its own look so the card tells them apart.
void Bilder() {
  TexWeiss = Bild(4, 4, true, [](int, int) { return 0xFFFFFFu; });
  TexKreis2 = Scheibe(16, 0xFFE0A0);
  TexWave = Kranz(16, 0x60C0FF, false);
  TexWave2 = Kranz(16, 0xFF60C0, true);
  TexStrich = Bild(16, 16, true, [](int, int y) { return y >= 6 && y <= 9 ? 0xC0FFC0u : 0u; });
  TexGlitzer = Bild(16, 16, true, [](int x, int y) { return x == 7 || x == 8 || y == 7 || y == 8 ? 0xFFFF80u : 0u; });
  for (int n = 0; n < 4; ++n) TexFeuer[n] = Scheibe(16, 0xFF4000u + 0x003000u * n);
  for (int n = 0; n < 7; ++n) TexRauch[n] = Scheibe(16, Grau(0.9 - n * 0.12));
  TexBalken = Bild(16, 8, true, [](int, int y) { return Grau(1 - std::abs(2 * y - 7) * 0.12); });
  TexBlur = Bild(32, 32, false, [](int, int) { return 0x102030u; });
  TexBlurB = Bild(32, 32, true, [](int, int) { return 0x302010u; });
  TexBlase = Kranz(8, 0xA0E0FF, false);
}

// Colour of the back buffer at (x, y) as 0xRRGGBB.
uint32_t Farbe(const platform::Surface& s, int x, int y) {
  uint8_t r, g, b, a;
  platform::UnpackPixel(s.Format(), s.GetPixel(x, y), r, g, b, a);
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// A busy background (the lenses copy it).
void Hintergrund() {
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const bool feld = ((x / 10) + (y / 10)) % 2 == 0;
      const uint32_t r = feld ? 30 + x / 4 : 10, g = feld ? 20 : 30 + y / 4;
      const uint32_t b = static_cast<uint32_t>((x * 7 + y * 3) & 63);
      BackBuffer->SetPixel(x, y, platform::PackPixel(BackBuffer->Format(), r & 255, g & 255, b));
    }
}

class Particles : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    FillSinTables();
    const platform::PixelFormat f = GetParam() == 16 ? platform::PixelFormat::RGB565 : platform::PixelFormat::XRGB8888;
    BackBuffer = platform::Surface::Create(800, 600, f);
    D3DDevice = platform::Device3D::Create(BackBuffer);
    uint32_t masken[3];
    BackBufferMasks(masken[0], masken[1], masken[2]);
    for (int c = 0; c < 3; ++c) GetMaskFactors(masken[c], FarbFaktoren[c].Div, FarbFaktoren[c].Mul);
    Rendern = true;
    SoundAn = false;
    Wasserstand = 0;
    Wetter = 0;
    HintergrundModus = 1;
    LevelTick = 0;
    Bilder();
    SetRndState(2024);
  }
  void TearDown() override {
    SpriteDefs.clear();
    Wasserstand = 0;
    Wetter = 0;
    HintergrundModus = 1;
    LevelTick = 0;
    FarbFaktoren = {};
    testsupport::FreshState();
    D3DDevice.reset();
    BackBuffer.reset();
  }

  static uint64_t Zuege() { return D3DDevice->DrawCalls(); }
  // One tick of the effect particles inside a scene; the draw calls it made.
  static uint64_t Tick() {
    const uint64_t vorher = Zuege();
    RenderStart();
    MoveBigPartikel();
    RenderEnd();
    return Zuege() - vorher;
  }
  static uint64_t KleinTick(int32_t gruppe) {
    const uint64_t vorher = Zuege();
    RenderStart();
    MovePartikel(gruppe);
    RenderEnd();
    return Zuege() - vorher;
  }
  static int Aktive(int32_t art) {
    int n = 0;
    for (const BigPartikelDaten& p : BigPartikel.Slot) n += p.Aktiv != 0 && (art < 0 || p.Art == art);
    return n;
  }
  // The state of the random sequence after `n` more numbers.
  static uint32_t Nach(int n) {
    const uint32_t jetzt = RndState();
    for (int i = 0; i < n; ++i) Rnd();
    const uint32_t r = RndState();
    SetRndState(jetzt);
    return r;
  }
};

std::string Name(const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bit"; }

}  // namespace

// ---- small particles ----------------------------------------------------------------

TEST_P(Particles, AddPartikelPlacesItsCountAndTakesNumbersOnlyForWhatItPlaces) {
  struct Fall {
    const char* name;
    int32_t belegt;  // slots taken before, from 0
    int32_t anzahl;
    int32_t erwartet;
    int32_t frei;  // the hint afterwards: past the last particle when the count was reached
  };
  const Fall faelle[] = {{"five", 0, 5, 5, 5},           {"none", 0, 0, 0, 0},      {"negative", 0, -3, 0, 0},
                         {"full", 1501, 5, 0, 1501},     {"three left", 1498, 5, 3, 1498}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Partikel[1].Reset();
    for (int32_t k = 0; k < f.belegt; ++k) Partikel[1].Claim();
    const uint32_t erwartet = Nach(9 * f.erwartet);  // nine numbers per particle
    AddPartikel(1, f.anzahl, 100, 200, 140, 260, false);
    EXPECT_EQ(Partikel[1].Max + 1 - f.belegt, f.erwartet);
    EXPECT_EQ(RndState(), erwartet);
    EXPECT_EQ(Partikel[1].Frei, f.frei);
  }
  // Neither a group the game does not have nor a ring of no step places anything.
  const uint32_t vorher = RndState();
  AddPartikel(2, 5, 0, 0, 10, 10, false);
  Add1Partikel(-1, 5, 5, 0, 0, 1, 1, 1, 2, 10);
  AddCircle(0, 0, 0, 400, 300, 60);
  MovePartikel(7);
  EXPECT_EQ(RndState(), vorher);
  EXPECT_EQ(Partikel[0].Max, -1);
}

TEST_P(Particles, ACircleHasOneParticlePerStepAndLivesByItsRadius) {
  AddCircle(0, 30, 2, 400, 300, 60);
  ASSERT_EQ(Partikel[0].Max, 11);
  for (int32_t k = 0; k <= 11; ++k) {
    const PartikelDaten& p = Partikel[0][k];
    EXPECT_FLOAT_EQ(p.DX, SinTab[30 * k] * 6 - 2);
    EXPECT_FLOAT_EQ(p.X, 400 + p.DX * 4);
    EXPECT_EQ(p.Leben, 6);
  }
  int zuege = 0;  // life 6: drawn seven times
  for (int t = 0; t < 10; ++t) zuege += static_cast<int>(KleinTick(0));
  EXPECT_EQ(zuege, 7 * 12);
  EXPECT_EQ(Partikel[0].Max, -1);
}

TEST_P(Particles, ASparkIsDrawnOnlyWhileWhollyOnTheScreenAndFadesWithItsLife) {
  struct Fall {
    float x, y;
    int16_t leben;
    int zuege;  // frames drawn
    int alpha;  // of the first
  };
  const Fall faelle[] = {{797.9f, 10, 4, 5, 255}, {798, 10, 4, 0, 0}, {-0.1f, 10, 4, 0, 0}, {10, 597.5f, 2, 3, 255},
                         {10, 598, 4, 0, 0},
                         // Made without life it has one frame, at alpha 0 (not 0 / 0).
                         {50, 50, 0, 1, 0}, {50, 50, -1, 1, 255}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.x << "," << f.y << " life " << f.leben);
    Partikel[1].Reset();
    Add1Partikel(1, f.x, f.y, 0, 0, 1, 1, 1, 2, f.leben);
    int zuege = 0;
    for (int t = 0; t < 10 && Partikel[1].Max >= 0; ++t) {
      zuege += static_cast<int>(KleinTick(1));
      if (t == 0 && zuege) {
        EXPECT_EQ(static_cast<int>(static_cast<uint32_t>(Surfaces[TexWeiss].Vertex[0].color) >> 24), f.alpha);
      }
    }
    EXPECT_EQ(zuege, f.zuege);
  }
}

// ---- effect particles -------------------------------------------------------------------

TEST_P(Particles, TheLastSlotLeavesTheHintPastTheEnd) {
  for (int32_t k = 0; k <= 4000; ++k) Add1BigPartikel(0, 0, 0, 0, 1, 1, 1, 4, 0, k == 17 ? 1 : 5, 1, 0);
  EXPECT_EQ(BigPartikelFrei, 4001);
  Add1BigPartikel(9, 9, 0, 0, 1, 1, 1, 4, 0, 5, 2, 0);
  Rendern = false;
  Tick();
  EXPECT_EQ(BigPartikelFrei, 17);
  Add1BigPartikel(NeuerBigPartikel{.x = 9, .Durchmesser = 4, .Dead = 5, .Art = 2});
  EXPECT_EQ(BigPartikel[17].Art, 2);
  EXPECT_EQ(BigPartikel[17].DeadMax, 5);
  EXPECT_EQ(BigPartikelFrei, 18);
}

TEST_P(Particles, ADelayHoldsTheParticleAndUnknownKindsAgeUnseen) {
  struct Fall {
    int32_t art, still, dead;
    std::vector<uint64_t> zuege;  // per pass until it is freed
  };
  const Fall faelle[] = {{1, 0, 1, {0}},  {1, 5, 1, {1, 1, 1, 1, 1, 0}}, {16, 0, 3, {1, 1, 0}},
                         {1, 2, 0, {0}},  {18, 0, 3, {0, 0, 0}},         {-1, 1, 2, {0, 0, 0}}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.art << ": " << f.still << "/" << f.dead);
    Add1BigPartikel(100, 100, 3, 0, 1, 1, 1, 16, f.still, f.dead, f.art, 0);
    std::vector<uint64_t> zuege;
    while (BigPartikelMax >= 0 && zuege.size() < 20) {
      zuege.push_back(Tick());
      // It stays where it is while it waits.
      const BigPartikelDaten& p = BigPartikel[0];
      if (p.Aktiv) {
        EXPECT_EQ(p.x, 100 + 3 * (p.DeadMax - p.Dead));
      }
    }
    EXPECT_EQ(zuege, f.zuege);
  }
}

TEST_P(Particles, AnExplosionIsSizedByItsRectangle) {
  struct Fall {
    const char* name;
    float x1, y1, x2, y2;
    int32_t wetter, wasserstand;
    int feuer, still, dead;  // kind-1 fire (kind-10 puffs in the snow): count, delay, life
    int puffs;
    int blasen;
  };
  const Fall faelle[] = {
      {"64 x 64", 100, 400, 164, 464, 0, 0, 3, 6, 11, 5, 0},
      {"65 x 65", 100, 400, 165, 465, 0, 0, 3, 20, 31, 5, 0},
      {"128 x 64", 0, 0, 128, 64, 0, 0, 5, 20, 31, 8, 0},
      // The middle of the rectangle (y 432) decides: under a surface at 431, not at 451.
      {"under water", 100, 400, 164, 464, 0, 119, 3, 6, 11, 5, 4},
      {"above the water", 100, 400, 164, 464, 0, 99, 3, 6, 11, 5, 0},
      {"snow", 100, 400, 164, 464, 1, 0, 4 * 15, 0, 11, 5, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    BigPartikel.Reset();
    Blasen.Reset();
    Wetter = f.wetter;
    Wasserstand = f.wasserstand;
    AddExplosionsPartikel(f.x1, f.y1, f.x2, f.y2);
    int feuer = 0, puffs = 0;
    std::set<int32_t> stills;
    for (const BigPartikelDaten& p : BigPartikel.Slot) {
      if (!p.Aktiv) continue;
      if (p.Art == (f.wetter == 1 ? 10 : 1)) {
        ++feuer;
        stills.insert(p.Still);
        EXPECT_EQ(p.Dead, f.dead);
      } else {
        ASSERT_TRUE(p.Art >= 6 && p.Art <= 9) << p.Art;
        ++puffs;
        EXPECT_EQ(p.Dead, f.dead + 5);
        EXPECT_EQ(p.R, f.wetter == 1 ? 0.45f : 0.9f);
      }
    }
    EXPECT_EQ(feuer, f.feuer);
    EXPECT_EQ(puffs, f.puffs);
    EXPECT_EQ(stills, f.wetter == 1 ? (std::set<int32_t>{0, 2, 4, 6}) : (std::set<int32_t>{f.still}));
    EXPECT_EQ(Blasen.Max + 1, f.blasen);
  }
  // Puffs over a rectangle of no width: still two. Puffs of no size: none.
  BigPartikel.Reset();
  AddBigPartikel(300, 200, 300, 260, 1, 0.5f, 0, 33, 3, 9);
  EXPECT_EQ(BigPartikelMax, 1);
  EXPECT_EQ(BigPartikel[0].Durchmesser, 32);
  AddBigPartikel(0, 0, 100, 100, 1, 1, 1, 0, 0, 9);
  EXPECT_EQ(BigPartikelMax, 1);
}

TEST_P(Particles, FullPoolsTakeNoRandomNumbers) {
  for (int32_t k = 0; k <= 4000; ++k) BigPartikel.Claim();
  for (int32_t g = 0; g < 2; ++g)
    for (int32_t k = 0; k <= 1500; ++k) Partikel[g].Claim();
  for (int32_t k = 0; k <= 200; ++k) AddBlase(10, 10, 4);
  Wasserstand = 300;
  const uint32_t vorher = RndState();
  AddExplosionsPartikel(100, 400, 164, 464);
  Wetter = 1;
  AddExplosionsPartikel(100, 400, 164, 464);
  AddBigPartikel(0, 0, 100, 100, 1, 1, 1, 16, 0, 9);
  AddPartikel(0, 10, 0, 0, 10, 10, true);
  AddCircle(1, 10, 0, 100, 100, 60);
  EXPECT_EQ(RndState(), vorher);
  EXPECT_EQ(Blasen.Max, 200);

  // Room for bubbles only: they come, with their three numbers each.
  Blasen.Reset();
  Wetter = 0;
  const uint32_t erwartet = Nach(4 * 3);
  AddExplosionsPartikel(100, 400, 164, 464);
  EXPECT_EQ(Blasen.Max, 3);
  EXPECT_EQ(RndState(), erwartet);
}

TEST_P(Particles, EachKindChangesItsSizeAsItAges) {
  struct Fall {
    int32_t art, still, d;
    float parameter;
    int32_t d1;  // size after one tick
    float x1;    // x after one tick (from 100)
    float p1;    // parameter after one tick
  };
  const Fall faelle[] = {
      {1, 0, 20, 6, 26, 97, 6},      {2, 0, 2000, -100, 1900, 150, -100}, {3, 0, 10, 32, 18, 98, 36},
      {4, 0, 10, 45, 20, 95, 45},    {5, 0, 100, 0, 115, 92.5f, 0},       {6, 3, 10, 0, 14, 98, 0},
      {9, 0, 10, 0, 11, 99.5f, 0},   {10, 0, 10, 5, 15, 97.5f, 5},        {13, 0, 64, 30, 72, 96, 30},
      {14, 0, 10, -2, 8, 101, -2},   {15, 0, 10, 30, 10, 100, 30},        {16, 0, 3, 2.5f, 6, 98.75f, 2.5f},
      {11, 0, 32, 1, 32, 100, 1},    {0, 0, 40, 80, 40, 100, 80},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.art);
    BigPartikel.Reset();
    Add1BigPartikel(100, 100, 0, 0, 1, 1, 1, f.d, f.still, 10, f.art, f.parameter);
    Tick();
    EXPECT_EQ(BigPartikel[0].Durchmesser, f.d1);
    EXPECT_FLOAT_EQ(BigPartikel[0].x, f.x1);
    EXPECT_FLOAT_EQ(BigPartikel[0].Parameter, f.p1);
  }
  // Smoke runs through its seven pictures, young to old, and never past them.
  BigPartikel.Reset();
  Add1BigPartikel(100, 100, 0, 0, 1, 1, 1, 16, 0, 13, 10, 0);
  std::vector<int32_t> bilder;
  while (BigPartikelMax >= 0)
    if (Tick()) bilder.push_back(AktuelleTextur);
  EXPECT_EQ(bilder.front(), TexRauch[0]);
  EXPECT_EQ(bilder.back(), TexRauch[6]);
  EXPECT_TRUE(std::is_sorted(bilder.begin(), bilder.end()));
}

TEST_P(Particles, LightningTakesItsNumbersInSkippedFramesToo) {
  Add1BigPartikel(100, 100, 0, 0, 1, 1, 1, 40, 0, 20, 0, 80);
  const uint32_t vorher = RndState();
  const float u = Rnd();
  SetRndState(vorher);
  // One number for the way it runs, two or four for its ends.
  const uint32_t erwartet = Nach(u < 0.25f || u > 0.75f ? 3 : 5);
  Rendern = false;
  EXPECT_EQ(Tick(), 0u);
  EXPECT_EQ(RndState(), erwartet);
  Rendern = true;
  EXPECT_EQ(Tick(), 6u);  // D \ 10 + 2 segments
}

TEST_P(Particles, ALensCopiesWhereTheParticleStoodWhenItsDelayEnded) {
  Hintergrund();
  const platform::Surface bild(*BackBuffer);
  platform::Surface& textur = *Surfaces[TexBlur].Surface;
  // It moves 2 pixels a tick; after three ticks it still copies from where it began.
  Add1BigPartikel(200, 150, 2, 1, 1, 1, 1, 32, 0, 10, 11, 2);
  Rendern = false;
  Tick();
  Tick();
  Rendern = true;
  EXPECT_EQ(Tick(), 1u);
  for (int y = 0; y < 32; y += 7)
    for (int x = 0; x < 32; x += 5) ASSERT_EQ(Farbe(textur, x, y), Farbe(bild, 200 + x, 150 + y)) << x << "," << y;
  // Drawn over its square widened by ticks x Parameter on every side.
  const std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBlur].Vertex;
  EXPECT_FLOAT_EQ(v[1].sx, 206 - 3 * 2);
  EXPECT_FLOAT_EQ(v[1].sy, 153 - 3 * 2);
  EXPECT_FLOAT_EQ(v[2].sx, 206 + 32 + 3 * 2);
}

TEST_P(Particles, ALensAtTheScreensEdgeCopiesWhatIsOnIt) {
  Hintergrund();
  platform::Surface bild(*BackBuffer);
  constexpr int kUnveraendert = -2;
  struct Fall {
    const char* name;
    int32_t art;
    float x, y;
    int32_t d;
    int tx, ty;  // a texture pixel
    int bx, by;  // the screen pixel it holds; -1 black, kUnveraendert as it was
  };
  const Fall faelle[] = {
      {"inside", 11, 500, 300, 32, 3, 4, 503, 304},
      {"over the top left", 11, -10, -5, 32, 10, 5, 0, 0},
      {"over the top left, outside part", 11, -10, -5, 32, 9, 5, -1, -1},
      {"over the bottom right", 17, 790, 590, 32, 9, 9, 799, 599},
      {"over the bottom right, outside part", 17, 790, 590, 32, 10, 3, -1, -1},
      // Scaled 64 onto 32: every other pixel, from the second.
      {"scaled", 11, 100, 100, 64, 3, 3, 107, 107},
      {"scaled over the left edge", 11, -32, 100, 64, 16, 0, 1, 101},
      {"scaled over the left edge, outside part", 11, -32, 100, 64, 15, 0, -1, -1},
      {"wholly left of the screen", 11, -40, 100, 32, 5, 5, kUnveraendert, 0},
      {"wholly below the screen", 17, 100, 600, 32, 5, 5, kUnveraendert, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    BigPartikel.Reset();
    const int32_t tex = f.art == 11 ? TexBlur : TexBlurB;
    platform::Surface& textur = *Surfaces[tex].Surface;
    textur.BltColorFill(nullptr, 0x1234);
    const uint32_t alt = Farbe(textur, 0, 0);
    Add1BigPartikel(f.x, f.y, 0, 0, 1, 1, 1, f.d, 0, 10, f.art, 0);
    uint64_t zuege = 0;
    ASSERT_NO_THROW(zuege = Tick());
    EXPECT_EQ(zuege, f.bx == kUnveraendert ? 0u : 1u);
    const uint32_t erwartet = f.bx == kUnveraendert ? alt : f.bx < 0 ? 0u : Farbe(bild, f.bx, f.by);
    EXPECT_EQ(Farbe(textur, f.tx, f.ty), erwartet);
    BackBuffer->BltFast(0, 0, bild, nullptr, platform::DDBLTFAST_WAIT);
  }
}

TEST_P(Particles, AWreckFallsSmokesAndExplodesAtTheEndOfItsLife) {
  SpriteDefs.resize(2);
  SpriteDefs[0].D3DSprite = VBTrue;
  SpriteDefs[0].Frames.resize(1);
  SpriteDefs[0].Frames[0].Surface = Bild(20, 10, true, [](int, int) { return 0x808080u; });
  Schwerkraft = 0.5f;
  Add1BigPartikel(100, 100, 1, -2, 0, 0, 0, 0, 0, 5, 12, 12);
  std::vector<int> rauch, flammen;
  for (int t = 1; t <= 5; ++t) {
    Tick();
    rauch.push_back(Aktive(10));
    flammen.push_back(Aktive(1));
    if (t == 1) {
      // Twice its speed a tick, gravity once; a puff centred on it, sized by Parameter.
      EXPECT_EQ(BigPartikel[0].x, 102);
      EXPECT_EQ(BigPartikel[0].y, 96);
      EXPECT_EQ(BigPartikel[0].SY, -1.5f);
      EXPECT_EQ(BigPartikel[1].x, 102 + 10 - 6);
      EXPECT_EQ(BigPartikel[1].y, 96 + 5 - 6);
      EXPECT_EQ(BigPartikel[1].Durchmesser, 12);
    }
  }
  // Life 5 ages to 4, 3, 2, 1, 0: smoke at 4 and 2, the explosion at 1 (a 20 x 10 piece
  // makes one flame), gone at 0.
  EXPECT_EQ(rauch, (std::vector<int>{1, 1, 2, 2, 2}));
  EXPECT_EQ(flammen, (std::vector<int>{0, 0, 0, 1, 1}));
  EXPECT_EQ(BigPartikel[0].Aktiv, 0);

  // A piece whose definition or frame does not exist goes at once, unseen, without smoke.
  for (auto [def, frame] : {std::pair{2, 0.0f}, {-1, 0.0f}, {1, 0.0f}, {0, 1.5f}, {0, -1.0f}}) {
    SCOPED_TRACE(testing::Message() << def << "/" << frame);
    BigPartikel.Reset();
    Add1BigPartikel(100, 100, 0, 0, 0, frame, 0, def, 0, 50, 12, 12);
    const uint32_t vorher = RndState();
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(BigPartikelMax, -1);
    EXPECT_EQ(RndState(), vorher);
  }
}

// ---- bubbles ---------------------------------------------------------------------------

TEST_P(Particles, ABubbleRisesToTheSurfaceAndGoes) {
  Wasserstand = 200;
  Rendern = false;
  AddBlase(300, 400, 10);
  float letztesY = 400, x = 300;
  int ticks = 0;
  while (Blasen.Max >= 0 && ticks < 100) {
    letztesY = Blasen[0].Y;
    SpielMoveBlase();
    x += SinTab[++ticks];
  }
  EXPECT_GE(ticks, 40);
  EXPECT_LE(ticks, 50);
  EXPECT_GT(letztesY, 350);
  EXPECT_LE(Blasen[0].Y, 350);
  EXPECT_FLOAT_EQ(Blasen[0].X, x);  // one pixel of wobble, a degree a tick
}

TEST_P(Particles, BubblesAreDrawnUnlessTheBackgroundIsOff) {
  struct Fall {
    int32_t modus, wasserstand;
    uint64_t zuege;
    int32_t max;
  };
  // Without water the surface is the bottom of the play area: a bubble goes at once.
  const Fall faelle[] = {{1, 300, 1, 0}, {0, 300, 0, 0}, {-1, 300, 1, 0}, {-2, 300, 1, 0}, {1, 0, 0, -1}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.modus << " " << f.wasserstand);
    HintergrundModus = f.modus;
    Wasserstand = f.wasserstand;
    Blasen.Reset();
    AddBlase(300, 400, 10);
    const uint64_t vorher = Zuege();
    RenderStart();
    SpielMoveBlase();
    RenderEnd();
    EXPECT_EQ(Zuege() - vorher, f.zuege);
    EXPECT_EQ(Blasen.Max, f.max);
  }
}

// ---- the card of every kind --------------------------------------------------------------

namespace {

// Every effect kind, small particles of both paths, bubbles and a ring over a busy
// background, after six ticks of which only the last is drawn.
void ZeichneKarte() {
  Hintergrund();
  SpriteDefs.resize(2);
  for (int i = 0; i < 2; ++i) {
    SpriteDefs[i].D3DSprite = static_cast<int16_t>(i == 0 ? VBTrue : VBFalse);
    SpriteDefs[i].Frames.resize(1);
    SpriteDefs[i].Frames[0].Surface = Bild(24, 16, true, [i](int x, int y) {
      return (x + y) % 5 == 0 ? 0u : (i ? 0x40FF40u : 0xFF8040u) + static_cast<uint32_t>(x * 4);
    });
  }
  LevelTick = 37;
  Schwerkraft = 0.2f;
  Wasserstand = 550;
  auto zelle = [](int32_t art, int spalte, int zeile, int32_t d, float parameter, float sx = 0, float sy = 0,
                  int32_t still = 0, float r = 1, float g = 1, float b = 1) {
    Add1BigPartikel(static_cast<float>(40 * spalte + 20 - d / 2), static_cast<float>(40 * zeile + 20 - d / 2), sx, sy,
                    r, g, b, d, still, 20, art, parameter);
  };
  zelle(1, 0, 0, 10, 3, 0, 0, 0, 1, 0.6f, 0.2f);
  zelle(2, 1, 0, 12, 2, 0, 0, 0, 0.5f, 1, 1);
  zelle(3, 2, 0, 8, 10);
  zelle(4, 3, 0, 6, 30, 0, 0, 0, 1, 0.8f, 0.4f);
  zelle(5, 4, 0, 10, 60, 0, 0, 0, 0.6f, 1, 0.6f);
  zelle(6, 5, 0, 10, 0, 0.5f, -0.5f, 3);
  zelle(7, 0, 1, 10, 0);
  zelle(8, 1, 1, 10, 0, -0.5f, 0, 8);
  zelle(9, 2, 1, 10, 0, 0, 0.5f);
  zelle(10, 3, 1, 12, 2, 0.3f, -0.3f);
  zelle(13, 4, 1, 8, 20, 0, 0, 0, 1, 0.7f, 1);
  zelle(14, 5, 1, 10, 2, 0, 0, 0, 1, 1, 0.5f);
  zelle(15, 0, 2, 30, 135, 0, 0, 2, 1, 0.5f, 0.5f);
  zelle(16, 1, 2, 6, 3, 0, 0, 0, 0.3f, 0.3f, 1);
  zelle(0, 2, 2, 30, 30, 0, 0, 0, 0.5f, 0.6f, 1);
  zelle(11, 3, 2, 32, 1, 1, 0);
  zelle(17, 4, 2, 24, 0.5f, 0, 0, 0, 1, 0.8f, 0.8f);
  Add1BigPartikel(200, 86, 0.5f, -1, 0, 0, 0, 0, 0, 30, 12, 10);
  Add1BigPartikel(212, 100, -0.5f, -1, 0, 0, 0, 1, 0, 12, 12, 6);
  AddPartikel(0, 25, 10, 130, 60, 150, false);
  AddPartikel(1, 25, 70, 130, 120, 150, true);
  AddCircle(0, 45, 0, 200, 140, 60);
  for (int k = 0; k < 5; ++k) AddBlase(130.0f + 17 * k, 150.0f - 3 * k, 6 + 2 * k);
  for (int t = 0; t < 6; ++t) {
    Rendern = t == 5;
    RenderStart();
    MovePartikel(0);
    SpielMoveBlase();
    MoveBigPartikel();
    PartikelD3D = false;
    MovePartikel(1);
    PartikelD3D = true;
    RenderEnd();
  }
  Rendern = true;
}

}  // namespace

TEST_P(Particles, EveryKindOnACardMatchesItsReference) {
  ZeichneKarte();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/particles_" + std::to_string(GetParam()) + ".bmp",
                                              *BackBuffer, {0, 0, 240, 160}),
            "");
}

INSTANTIATE_TEST_SUITE_P(Depths, Particles, ::testing::Values(16, 32), Name);
