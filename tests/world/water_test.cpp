// The water: the refraction strips and their shifts (deep, all water, deeper than the
// screen), when anything at all happens, the ships' splashes and the splash sound with two
// ships, what pods, the satellite, enemies and beams throw, the sparkles and their bound,
// and the reference frames at three depths.
#include "world/water.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "weather_support.hpp"
#include "world/enemies_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace {

using worlddraw::Pixel;

// Every pixel tells where it was drawn: red and green its column, blue its row.
uint32_t Herkunft(int x, int y) { return static_cast<uint32_t>((x & 255) << 16 | (x >> 8) << 8 | (y & 255)); }

void HerkunftMalen() {
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const uint32_t c = Herkunft(x, y);
      BackBuffer->SetPixel(x, y, platform::PackPixel(BackBuffer->Format(), c >> 16, c >> 8 & 255, c & 255));
    }
}

// How far row y has been shifted to the right, read at its middle; checks that the whole
// row is its own pixels moved by that much (the column left behind keeps its own).
int32_t Verschiebung(int y) {
  const uint32_t mitte = Pixel(400, y);
  const int32_t s = 400 - static_cast<int32_t>((mitte >> 16) + (mitte >> 8 & 255) * 256);
  for (int x = 0; x < 800; ++x) {
    const int quelle = x - s >= 0 && x - s < 800 ? x - s : x;
    if (Pixel(x, y) != Herkunft(quelle, y)) {
      ADD_FAILURE() << "row " << y << " is not shifted as a whole by " << s << " (column " << x << ")";
      return s;
    }
  }
  return s;
}

struct Spritzer {
  int32_t groesse, leben;
  bool operator==(const Spritzer&) const = default;
};

// The effect particles made, as (size, life) pairs in slot order.
std::vector<Spritzer> Teilchen() {
  std::vector<Spritzer> t;
  for (int32_t k = 0; k <= BigPartikel.Max; ++k)
    if (BigPartikel[k].Aktiv) t.push_back({BigPartikel[k].Durchmesser, BigPartikel[k].Dead});
  return t;
}

int32_t Blasenzahl() {
  int32_t n = 0;
  for (int32_t k = 0; k <= Blasen.Max; ++k) n += Blasen[k].Aktiv != 0;
  return n;
}

class Water : public ::testing::Test {
 protected:
  testsupport::TempDataFolder daten;  // for the game's log
  void SetUp() override {
    testsupport::FreshState();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    TexWeiss = worlddraw::Solid(8, 8, 0xFFFFFFFF, true);
    SetRndState(777);
    SoundAn = false;
    WasserKlangLaeuft = false;
    HintergrundModus = 1;
    LevelTick = 1;  // no sparkles
    WasserDaten = {0.3f, 0.7f, 1.0f, 0.0f, 0.1f, 0.4f};
    // The ships stay out of the way unless a test moves them.
    for (int p = 0; p < 2; ++p) {
      Spieler[p].X = 100 + 300.0f * p;
      Spieler[p].Y = -200;
      Schiff[p].BoxLinks = 8, Schiff[p].BoxOben = 16, Schiff[p].BoxRechts = 56, Schiff[p].BoxUnten = 48;
    }
  }
  void TearDown() override {
    worlddraw::CloseDisplay();
    testsupport::FreshState();
    Wasserstand = 0;
    WasserKlangLaeuft = false;
    SoundAn = true;
  }
  // One tick of the water alone, inside a scene, from empty particle pools.
  static void Tick() {
    BigPartikel.Reset();
    Blasen.Reset();
    RenderStart();
    SpielWasser();
    RenderEnd();
  }
};

}  // namespace

TEST_F(Water, RefractionShiftsEachStripByItsWave) {
  struct Fall {
    const char* name;
    int32_t wasser, tick;
    int32_t erste;  // the shift of the first strip's rows
  } faelle[] = {
      {"all water, sine 0", 550, 0, 0},
      {"all water, sine 1: amplitude 5", 550, 45, 5},
      {"all water, 2.5 rounds to even", 550, 15, 2},
      {"all water, sine -1", 550, 135, -5},
      {"just deep enough: factor 1 at the surface", 101, 0, 1},  // sine 449 = sine 89
      {"factor 1 at the surface", 300, 0, -1},                    // sine 250
      {"above the screen: strips from row 0, factor -8", 1000, 45, -8},
      {"far above the screen: shifts beyond the width move nothing", 2147483647, 45, 0},
      {"100 is not deep enough", 100, 45, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    HerkunftMalen();
    Wasserstand = f.wasser;
    LevelTick = f.tick;
    HintergrundModus = 0;  // the refraction alone
    Tick();
    const int32_t S = std::max(550 - f.wasser, 0);
    for (int y = 0; y < S; ++y) ASSERT_EQ(Verschiebung(y), 0) << "row " << y << " above the surface";
    for (int y = S; y < S + 10; ++y) EXPECT_EQ(Verschiebung(y), f.erste) << "row " << y;
    // Below, whole strips of 10 to 15 rows, except the last.
    std::vector<int32_t> s;
    for (int y = S; y < 550; ++y) s.push_back(Verschiebung(y));
    if (f.wasser == 550) {
      for (int32_t v : s) EXPECT_LE(std::abs(v), 5);
    }
    for (int y = 550; y < 600; ++y) EXPECT_EQ(Verschiebung(y), 0) << "the panel row " << y;
  }
}

TEST_F(Water, NothingHappensWithoutWaterOrOnASkippedFrameAndMode0OnlyBends) {
  struct Fall {
    const char* name;
    int32_t wasser;
    bool rendern;
    int32_t modus;
    bool gebogen, oberflaeche, teilchen;
  } faelle[] = {
      {"no water", 0, true, 1, false, false, false},
      {"negative water", -40, true, 1, false, false, false},
      {"frame not drawn", 300, false, 1, false, false, false},
      {"background mode 0", 300, true, 0, true, false, false},
      {"mode 0 and shallow", 80, true, 0, false, false, false},
      {"shallow: surface, no bending", 80, true, 1, false, true, true},
      {"mode 1", 300, true, 1, true, true, true},
      {"mode -2", 300, true, -2, true, true, true},
      {"mode 6", 300, true, 6, true, true, true},
  };
  HerkunftMalen();
  const std::vector<uint32_t> muster = worlddraw::Frame();
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Wasserstand = f.wasser;
    LevelTick = 3;  // a sparkle tick
    Spieler[0].Y = static_cast<float>(550 - std::max(f.wasser, 0) - 30);  // in the surface
    // The same tick twice from the same random numbers: as the case has it, and in mode 0.
    std::vector<uint32_t> bild[2];
    for (int k = 0; k < 2; ++k) {
      const int32_t modus = k == 0 ? f.modus : 0;
      HerkunftMalen();
      SetRndState(99);
      Rendern = f.rendern;
      HintergrundModus = modus;
      Tick();
      Rendern = true;
      if (k == 0) {
        EXPECT_EQ(RndState() != 99u, f.gebogen || f.teilchen);
        EXPECT_EQ(BigPartikel.Max >= 0, f.teilchen);
      }
      bild[k] = worlddraw::Frame();
    }
    EXPECT_EQ(bild[0] != bild[1], f.oberflaeche);
    EXPECT_EQ(bild[1] != muster, f.gebogen);
  }
}

TEST_F(Water, ShipsInTheSurfaceSplashAndTheSoundLoopsWhileAnyShipIsInIt) {
  // Surface at y = 300; the hit box spans y + 16 .. y + 48: in the surface for y in
  // 253..283.
  constexpr float kDrin = 270, kDarueber = 200, kDarunter = 310, kRandOben = 252, kRandUnten = 284;
  struct Schritt {
    const char* name;
    float y0, y1;
    int32_t letzter;
    int32_t spritzer;
    bool klang;
  } schritte[] = {
      {"ship 0 in, ship 1 above", kDrin, kDarueber, 1, 1, true},
      {"a dry second ship does not stop it", kDrin, kDarueber, 1, 1, true},
      {"ship 1 in, ship 0 below", kDarunter, kDrin, 1, 1, true},
      {"both out", kDarunter, kDarueber, 1, 0, false},
      {"boxes touching the line from either side are out", kRandOben, kRandUnten, 1, 0, false},
      {"both in", kDrin, kDrin, 1, 2, true},
      {"one player: ship 1 does not count", kDarueber, kDrin, 0, 0, false},
      {"one player, ship 0 in", kDrin, kDarueber, 0, 1, true},
  };
  Wasserstand = 250;
  SoundAn = true;
  SndWaterTouch = weathertest::Klang();
  for (const Schritt& s : schritte) {
    SCOPED_TRACE(s.name);
    Spieler[0].Y = s.y0;
    Spieler[1].Y = s.y1;
    LetzterSpieler = s.letzter;
    Tick();
    const std::vector<Spritzer> t = Teilchen();
    EXPECT_EQ(t, std::vector<Spritzer>(static_cast<size_t>(s.spritzer), Spritzer{16, 40}));
    EXPECT_EQ(weathertest::Schleife(SndWaterTouch), s.klang);
    for (int32_t k = 0; k <= BigPartikel.Max; ++k) {
      EXPECT_EQ(BigPartikel[k].y, 292);  // 8 above the surface
      EXPECT_EQ(BigPartikel[k].Art, 1);
    }
  }
  Soundclear();
}

// A pass that stops with a ship in the surface (the level's end, a lost life) takes the
// game sounds with it; the next pass starts the splash sound again.
TEST_F(Water, TheNextPassSplashesAudiblyWithAShipStillInTheSurface) {
  Wasserstand = 250;  // surface at y = 300
  SoundAn = true;
  SndWaterTouch = weathertest::Klang();
  for (int durchgang = 0; durchgang < 2; ++durchgang) {
    SCOPED_TRACE(durchgang);
    Spieler[0].X = 100, Spieler[0].Y = 270;  // in the surface
    Tick();
    EXPECT_TRUE(weathertest::Schleife(SndWaterTouch));
    SpielSoundOFF();  // the pass stops
    EXPECT_FALSE(weathertest::Schleife(SndWaterTouch));
    ResetAllPools();
  }
  Soundclear();
}

TEST_F(Water, PodsTheSatelliteEnemiesAndBeamsSplashWhereTheyCrossTheSurface) {
  // Surface at y = 300, a tick without sparkles, the ships far above.
  struct Fall {
    const char* name;
    std::function<void()> setzen;
    std::vector<Spritzer> spritzer;
    int32_t blasen = 0;  // -1: by chance only
  };
  auto pod = [](int32_t y, int16_t besitz = 1) {
    return [=] {
      Pods[2].Besitz = besitz;
      Pods[2].X = 500;
      Pods[2].Y = y;
    };
  };
  auto satellit = [](float y) {
    return [=] {
      Satellit.Da = -1;
      Satellit.X = 300;
      Satellit.Y = y;
    };
  };
  auto feind = [](int32_t breite, float y, int32_t fest = 0, int16_t stirbt = 0) {
    return [=] {
      Gegner& g = GegnerListe[3];
      g.Aktiv = -1;
      g.Stirbt = stirbt;
      g.X = 200;
      g.Y = y;
      g.Typ.Width = breite;
      g.Typ.Height = 40;
      g.Typ.Parameter[8] = fest;
      GegnerMax = 3;
    };
  };
  auto strahl = [](float y, float startY, float breite, int16_t modus = 0) {
    return [=] {
      BeamStatus& b = Beam[1];
      b.Fliegt = -1;
      b.AktivModus = modus;
      b.X = 100;
      b.Y = y;
      b.StartY = startY;
      b.Breite = breite;
    };
  };
  const std::vector<Spritzer> kPod{{16, 10}}, kSatellit{{32, 3}}, kStrahl{{32, 10}, {32, 10}};
  const std::vector<Fall> faelle = {
      {"pod crossing", pod(280), kPod},
      {"pod top 8 above the surface", pod(292), {}},
      {"pod not owned", pod(280, 0), {}},
      {"pod of a V-Phyton", [&] { pod(280)(); Schiff[0].Typ = 1; }, {}},
      {"pod of a V-Phyton with two players", [&] { pod(280)(); Schiff[0].Typ = 1; LetzterSpieler = 1; }, kPod},
      {"satellite at 8 above", satellit(292), kSatellit},
      {"satellite reaching 55 below", satellit(246), kSatellit},
      {"satellite above", satellit(245), {}},
      {"enemy of 130 crossing", feind(130, 280), std::vector<Spritzer>(3, {32, 20}), -1},
      {"dying enemy crossing", feind(130, 280, 0, -1), std::vector<Spritzer>(3, {32, 20}), -1},
      {"solid enemy", feind(130, 280, 1), {}},
      {"enemy below the surface", feind(130, 300), {}, -1},
      {"enemy as wide as can be: the pool fills", feind(2147483647, 280),
       std::vector<Spritzer>(4001, {32, 20}), -1},
      {"enemy of negative width", feind(-200, 280), {}, -1},
      {"beam crossing", strahl(290, 280, 40), kStrahl, 2},
      {"beam below", strahl(310, 280, 40), {}, 2},
      {"beam reaching the surface only", strahl(290, 260, 40), {}},
      {"beam of mode 1", strahl(290, 280, 40, 1), {}},
  };
  Wasserstand = 250;
  TexWeiss = -1;  // no surface drawn: only what is thrown counts here
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Pods = {};
    Satellit = {};
    Beam = {};
    GegnerListe[3].Aktiv = 0;
    GegnerMax = -1;
    Schiff[0].Typ = 0;
    LetzterSpieler = 0;
    f.setzen();
    Tick();
    EXPECT_EQ(Teilchen(), f.spritzer);
    // Bubbles every tick, or now and then.
    for (int i = 0; i < 20 && f.blasen >= 0; ++i, Tick()) ASSERT_EQ(Blasenzahl(), f.blasen) << "tick " << i;
    if (f.blasen < 0) {
      for (int i = 0; i < 3000 && Blasenzahl() == 0; ++i) Tick();
      EXPECT_NE(Blasenzahl(), 0);
    }
  }
  GegnerListe[3].Aktiv = 0;
  GegnerMax = -1;
}

TEST_F(Water, SparklesEveryThirdTickOnePer20PixelsOfDepth) {
  struct Fall {
    int32_t wasser, tick;
    int32_t funken;
  } faelle[] = {
      {250, 3, 13}, {250, 4, 0}, {250, 5, 0}, {250, 0, 13}, {250, -3, 13}, {19, 3, 1},
      {550, 600, 28}, {2147483647, 3, 4001},  // as many as the pool holds, not 107 million
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.wasser << " at tick " << f.tick);
    Wasserstand = f.wasser;
    LevelTick = f.tick;
    Tick();
    EXPECT_EQ(Teilchen(), std::vector<Spritzer>(static_cast<size_t>(f.funken), Spritzer{4, 50}));
    const double S = 550.0 - f.wasser;
    for (int32_t k = 0; k <= BigPartikel.Max; ++k) {
      const BigPartikelDaten& p = BigPartikel[k];
      EXPECT_TRUE(p.x >= 0 && p.x < 784);
      if (f.wasser >= 50 && f.wasser <= 550) {
        EXPECT_TRUE(p.y >= S + 45 && p.y <= S + 45 + (f.wasser - 50.0)) << p.y;
      }
      EXPECT_TRUE(p.SX >= -1 && p.SX < 1 && p.SY > -1 && p.SY <= 0);
      EXPECT_EQ(std::vector<float>({p.R, p.G, p.B}), std::vector<float>({0.3f, 0.7f, 1.0f}));
      EXPECT_EQ(p.Art, 1);
    }
  }
}

TEST_F(Water, DepthsMatchTheirReferenceFrames) {
  // A scene of dark posts in front of a sky-to-sand gradient and a chequered disc, the
  // water over it at 100 (no bending), 300 and 550 (all water), each compared at full size
  // where its surface is.
  const int32_t szene = worlddraw::Picture(800, 600, false, false, [](int x, int y) {
    if (x % 50 < 4) return 0xFF14141Eu;
    if (std::hypot(x - 420.0, y - 300.0) < 200 && (x / 20 + y / 20) % 2) return 0xFFE67828u;
    const uint32_t t = static_cast<uint32_t>(y * 255 / 600);
    return 0xFF000000u | (40 + t * 160 / 255) << 16 | (60 + t * 110 / 255) << 8 | (120 - t * 10 / 255);
  });
  struct Fall {
    int32_t wasser;
    platform::Rect bereich;
  } faelle[] = {{100, {300, 400, 500, 550}}, {300, {300, 200, 500, 350}}, {550, {300, 0, 500, 150}}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.wasser);
    RenderStart();
    ShowSprite(szene, 0, 0, false);
    RenderEnd();
    Wasserstand = f.wasser;
    LevelTick = 37;
    Tick();
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/water_" + std::to_string(f.wasser) + "_32.bmp",
                                                *BackBuffer, f.bereich),
              "");
  }
}
