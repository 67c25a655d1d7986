// The player shots: the pool's slots and the damage statistic, the screen bounds, hits on
// enemies and scenery, flames, splinters and splitters, kinds the mover does not know, and
// one frame of every kind in flight.
#include "player/shots.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "run/variabeln.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/draw_support.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"

namespace {

uint32_t Argb(float r, float g, float b, float a = 1) {
  const auto k = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f); };
  return k(a) << 24 | k(r) << 16 | k(g) << 8 | k(b);
}

// A round picture of `size` pixels in colour (r, g, b): soft towards the rim, or with a
// darker ring.
int32_t Ball(int size, float r, float g, float b, bool weich) {
  return worlddraw::Picture(size, size, true, true, [=](int x, int y) {
    const float d = std::hypot(x + 0.5f - size / 2.0f, y + 0.5f - size / 2.0f) / (size / 2.0f);
    if (d >= 1) return 0u;
    const float v = weich ? 1 - d * d : (d < 0.6f ? 1.0f : 0.55f);
    return Argb(r * v, g * v, b * v);
  });
}

// A 16 x 16 bullet flying right: a bright head with a fading tail, so a turn shows.
int32_t Komet(float r, float g, float b) {
  return worlddraw::Picture(16, 16, true, true, [=](int x, int y) {
    const float kopf = std::hypot(x - 10.5f, y - 7.5f);
    if (kopf < 4.5f) return Argb(r, g, b);
    if (x < 10 && std::abs(y - 7.5f) < x * 0.4f) return Argb(r * x / 14, g * x / 14, b * x / 14);
    return 0u;
  });
}

// The shot pictures, told apart by colour and shape; the splitters are crosses, so their
// spin shows.
void Bilder() {
  TexBallschuss = {Komet(0.5f, 0.7f, 1), Ball(16, 1, 0.3f, 0.3f, false), Komet(0.4f, 1, 0.4f), Komet(1, 1, 0.2f)};
  for (int k = 0; k < 4; ++k) TexFeuer[k] = Ball(32, 1, 0.5f + 0.1f * k, 0.2f, true);
  for (int k = 0; k < 2; ++k)
    TexAbpraller[k] = worlddraw::Picture(32, 32, true, true, [k](int x, int y) {
      const bool balken = (std::abs(x - 15) < 3 + k && y > 3 && y < 28) || (std::abs(y - 15) < 3 + k && x > 3 && x < 28);
      return balken ? Argb(0.7f, 0.5f, 1) : 0u;
    });
}

// A sprite definition of one `w` x `h` frame, opaque all over, as the hit tests read it.
int32_t Klotz(int w, int h) {
  const int32_t nr = worlddraw::Solid(w, h, 0xFF808080u, true);
  SurfaceInfo& e = Surfaces[nr];
  e.RandLinks.assign(h, 0);
  e.RandRechts.assign(h, w - 1);
  e.ErsteZeile = 0;
  e.LetzteZeile = h - 1;
  e.RandMinX = 0;
  e.RandMaxX = w - 1;
  SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = nr}}});
  return SpriteDefsMax();
}

// An enemy of one part in slot `e`.
Feindkomponente& Feind(int32_t e, int32_t sprite, float x, float y, float hp) {
  Gegner& g = GegnerListe[e];
  g = Gegner{};
  g.Typ = GegnerTyp{.Komponenten = {Feindkomponente{.HP = hp, .Sprite = sprite, .Lebt = VBTrue}}, .HP = 1000};
  g.X = x;
  g.Y = y;
  g.Aktiv = VBTrue;
  GegnerMax = std::max(GegnerMax, e);
  return g.Typ.Komponenten[0];
}

void Fels(int32_t sprite, float x, float y) {
  Landschaft[3].Objekte[0] = LandschaftObjekt{.X = x, .Y = y, .Sprite = sprite, .Aktiv = VBTrue};
  Landschaft[3].Max = 0;
}

std::vector<int32_t> LebendeSlots(int32_t gruppe) {
  std::vector<int32_t> v;
  for (int32_t k = 0; k <= Schuesse[gruppe].Kapazitaet; ++k)
    if (Schuesse[gruppe][k].Aktiv) v.push_back(k);
  return v;
}

class Shots : public ::testing::Test {
 protected:
  int32_t klotz = -1, gross = -1;

  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    Bilder();
    klotz = Klotz(20, 20);
    gross = Klotz(60, 60);
    // Sparks would draw random numbers of their own; sounds are not loaded here.
    PartikelAn = false;
    SoundAn = false;
    SetRndState(4711);
  }
  void TearDown() override {
    worlddraw::CloseDisplay();
    SpriteDefs.clear();
    testsupport::FreshState();
  }

  // The pools and players as before a level pass; the pictures stay.
  static void Leeren() {
    VariabelnLösch();
    Spieler[0].Schaden = Spieler[1].Schaden = 0;
    SetRndState(4711);
  }
  // One tick of a group inside a scene, as the game loop runs it.
  static void Tick(int32_t gruppe) {
    RenderStart();
    SpielMoveSchuss(gruppe);
    RenderEnd();
  }
  static int32_t Schuss(int32_t gruppe, int32_t art, float x, float y, float sx, float sy, float force,
                        float staerke) {
    AddSchuss(gruppe, art, x, y, sx, sy, force, staerke, 0);
    return Schuesse[gruppe].Frei - 1;
  }
};

}  // namespace

TEST_F(Shots, ThePoolTakesTheFirstFreeSlotAndFindsItsHighestAgain) {
  const auto add = [](int32_t gruppe = 1) { AddSchuss(gruppe, 0, 0, 0, 0, 0, 0, 1, 0); };
  struct Case {
    const char* name;
    std::function<void()> schritte;
    int32_t frei, max;
    std::vector<int32_t> lebend;
    int32_t schaden;
  } cases[] = {
      {"into an empty group", [&] { add(); }, 1, 0, {0}, 1},
      {"a freed middle slot is taken again",
       [&] {
         for (int i = 0; i < 3; ++i) add();
         KillSchuss(1, 1);
         EXPECT_EQ(SchussFrei(1), 1);
         add();
       },
       2, 2, {0, 1, 2}, 4},
      {"the highest falls to the next live slot, then to -1",
       [&] {
         for (int i = 0; i < 4; ++i) add();
         KillSchuss(1, 1);
         KillSchuss(1, 3);
         EXPECT_EQ(SchussMax(1), 2);
         KillSchuss(1, 2);
         EXPECT_EQ(SchussMax(1), 0);
         KillSchuss(1, 0);
       },
       0, -1, {}, 4},
      {"a full group takes nothing and counts nothing",
       [&] {
         for (int i = 0; i < 1002; ++i) add();
         KillSchuss(1, 2);
         for (int k = 3; k <= 1000; ++k) KillSchuss(1, k);
         SchussFrei(1) = 1001;  // a hint past the slots finds nothing either
         add();
       },
       1001, 1, {0, 1}, 1001},
      {"groups and slots that do not exist change nothing",
       [&] {
         add(2);
         add(-1);
         KillSchuss(2, 0);
         KillSchuss(1, 1001);
         KillSchuss(1, -1);
       },
       0, -1, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    c.schritte();
    EXPECT_EQ(SchussFrei(1), c.frei);
    EXPECT_EQ(SchussMax(1), c.max);
    EXPECT_EQ(LebendeSlots(1), c.lebend);
    EXPECT_EQ(SchussMax(0), -1);
    EXPECT_EQ(Spieler[0].Schaden, c.schaden);
  }
}

TEST_F(Shots, EveryShotCountsItsDamageOnTheFirstRecordRoundedToEven) {
  struct Case {
    const char* name;
    int32_t vorher;
    float staerke;
    int32_t vesk;
    int32_t nachher;
  } cases[] = {
      {"even total, half rounds down", 10, 10.5f, 0, 20},
      {"odd total, half rounds up", 11, 10.5f, 0, 22},
      {"the second player's shot too", 0, 60, 1, 60},
      {"saturates at the top", INT32_MAX - 1, 1000, 0, INT32_MAX},
      {"saturates at the bottom", INT32_MIN + 1, -1000, 1, INT32_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    Spieler[0].Schaden = c.vorher;
    AddSchuss(c.vesk, 0, 0, 0, 0, 0, 0, c.staerke, c.vesk);
    EXPECT_EQ(Spieler[0].Schaden, c.nachher);
    EXPECT_EQ(Spieler[1].Schaden, 0);
  }
}

TEST_F(Shots, ABulletLeavesOnlyPastTheEdgesAndIsNotTestedThere) {
  struct Case {
    const char* name;
    float x, y;  // where the bullet lands
    bool bleibt;
  } cases[] = {
      {"x 800.0", 800.0f, 100, true},    {"x 800.5", 800.5f, 100, false}, {"x -16.0", -16.0f, 100, true},
      {"x -16.5", -16.5f, 100, false},   {"y 550.0", 300, 550.0f, true},  {"y 550.5", 300, 550.5f, false},
      {"y -16.0", 300, -16.0f, true},    {"y -16.5", 300, -16.5f, false},
  };
  for (const Case& c : cases) {
    for (bool feind : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (feind ? " over an enemy" : ""));
      Leeren();
      // An enemy under the whole box wherever it lands: a tested bullet is spent on it.
      Feindkomponente& teil = Feind(0, gross, c.x - 22, c.y - 22, 1000);
      GegnerListe[0].Aktiv = VBBool(feind);
      Schuss(0, 0, c.x - 2, c.y - 1, 2, 1, 1, 50);
      Tick(0);
      EXPECT_EQ(Schuesse[0][0].Aktiv != 0, c.bleibt && !feind);
      EXPECT_EQ(teil.HP, feind && c.bleibt ? 950 : 1000);
    }
  }
}

TEST_F(Shots, ABulletGivesUpItsDamageToEnemiesAndStopsAtScenery) {
  struct Case {
    const char* name;
    float teilHP;  // 0: no enemy
    bool fels;
    float staerke;
    bool lebt;
    float staerkeDanach, teilDanach;
  } cases[] = {
      {"nothing in the way", 0, false, 100, true, 100, 0},
      {"a miss keeps the damage rounded", 0, false, 10.5f, true, 10, 0},
      {"absorbed whole", 1000, false, 100, false, 0, 900},
      {"used up exactly", 100, false, 100, false, 0, 0},
      {"flies on with the overkill", 30, false, 100, true, 70, -70},
      {"stopped by a rock", 0, true, 100, false, 100, 0},
      {"the overkill still stops at a rock", 30, true, 100, false, 70, -70},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    Feindkomponente* teil = c.teilHP > 0 ? &Feind(0, klotz, 210, 100, c.teilHP) : nullptr;
    if (c.fels) Fels(klotz, 210, 100);
    Schuss(0, 0, 200, 100, 11, 0, 1, c.staerke);
    Tick(0);
    const SchussDaten& s = Schuesse[0][0];
    EXPECT_EQ(s.Aktiv != 0, c.lebt);
    EXPECT_EQ(s.X, 211);
    EXPECT_EQ(s.Stärke, c.staerkeDanach);
    if (teil) {
      EXPECT_EQ(teil->HP, c.teilDanach);
    }
  }
}

TEST_F(Shots, AFlameBurnsTwentyStepsOfItsForce) {
  struct Case {
    const char* name;
    float force;
    float x;
    int ticks;      // until it is freed
    int treffer;    // ticks it burnt the enemy
  } cases[] = {
      {"force 1", 1, 100, 20, 19},
      {"force 2", 2, 100, 20, 19},
      {"force 2.5 steps by 2", 2.5f, 100, 20, 19},
      {"off the screen it burns on", 1, 900, 20, 0},
      {"force rounding to 0 goes out at once", 0.4f, 100, 1, 0},
      {"force 0 goes out at once", 0, 100, 1, 0},
      {"a counter stopped at the top goes out", 2e8f, 100, 11, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    Feindkomponente& teil = Feind(0, gross, 70, 70, 100000);
    Schuss(0, 3, c.x, 100, 0, 0, c.force, 5);
    std::vector<float> breiten;
    int ticks = 0;
    while (Schuesse[0][0].Aktiv && ticks < 100) {
      Tick(0);
      ++ticks;
      const auto& v = Surfaces[TexFeuer[0]].Vertex;
      breiten.push_back(v[2].sx - v[0].sx);
    }
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_EQ(teil.HP, 100000 - 5 * c.treffer);
    if (c.force == 1) {
      // Radius 5 in the first tick, 14 in the last.
      EXPECT_EQ(breiten.front(), 10);
      EXPECT_EQ(breiten.back(), 28);
    }
  }
}

TEST_F(Shots, SplinterShotsSplitIntoTwoOfTheNextGeneration) {
  struct Case {
    const char* name;
    float force;
    bool fels;
    int kinder;
    float kindStaerke;
  } cases[] = {
      {"generation 2 on an enemy", 2, false, 2, 40}, {"generation 1 on an enemy", 1, false, 2, 20},
      {"generation 0 leaves none", 0, false, 0, 0},   {"generation 2 on a rock", 2, true, 2, 40},
      {"generation 0 on a rock", 0, true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    if (c.fels) {
      Fels(klotz, 220, 100);
    } else {
      Feind(0, klotz, 220, 100, 100000);
    }
    Schuss(0, 4, 200, 100, 10, 0, c.force, 100);
    Schuesse[0][0].VeskNr = 1;
    Tick(0);
    EXPECT_FALSE(Schuesse[0][0].Aktiv);
    ASSERT_EQ(LebendeSlots(0).size(), static_cast<size_t>(c.kinder));
    for (int32_t k = 1; k <= c.kinder; ++k) {
      const SchussDaten& kind = Schuesse[0][k];
      EXPECT_EQ(std::vector<float>({kind.X, kind.Y, kind.Force, kind.Stärke}),
                std::vector<float>({200, 100, c.force - 1, c.kindStaerke}));
      EXPECT_EQ(kind.Art, 4);
      EXPECT_EQ(kind.VeskNr, 1);
    }
  }
}

TEST_F(Shots, ASplitterEndsItsLifeInThreeChildrenOfTheLateGroup) {
  struct Case {
    const char* name;
    int32_t gruppe;
    std::vector<int32_t> kinderSlots;  // the children in the order they were added
  } cases[] = {
      {"from the late group the third takes the parent's slot", 1, {1, 2, 0}},
      {"from the early group all go to the late group", 0, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    Schuss(c.gruppe, 5, 100, 100, 2, 1, 1, 80);
    const uint32_t start = RndState();
    const int32_t leben = CLng(Rnd() * 12 + 15);
    SetRndState(start);
    for (int t = 0; t < leben; ++t) {
      ASSERT_TRUE(Schuesse[c.gruppe][0].Aktiv) << "tick " << t;
      Tick(c.gruppe);
    }
    if (c.gruppe == 0) {
      EXPECT_EQ(SchussMax(0), -1);
    }
    ASSERT_EQ(LebendeSlots(1).size(), 3u);
    const float x = 100 + 2.0f * leben, y = 100 + 1.0f * leben;
    for (int n = 0; n < 3; ++n) {
      const SchussDaten& kind = Schuesse[1][c.kinderSlots[n]];
      const int32_t a = 10 * leben + 120 * n;
      EXPECT_EQ(std::vector<float>({kind.X, kind.Y, kind.SX, kind.SY, kind.Force, kind.Stärke}),
                std::vector<float>({x, y, 5 * SinusB(a), 5 * CosinusB(a), 0, 80}))
          << "child " << n;
      EXPECT_EQ(kind.Art, 5);
      EXPECT_EQ(kind.Zustand, 0);
    }
  }
}

TEST_F(Shots, KindsTheMoverDoesNotKnowAreFreedAtOnce) {
  const int32_t arten[] = {2, 15, -3, INT32_MIN, INT32_MAX};
  for (int32_t art : arten) Schuss(0, art, 100, 100, 1, 1, 1, 10);
  Schuss(0, 0, 100, 100, 1, 0, 1, 10);
  const uint32_t start = RndState();
  Tick(0);
  EXPECT_EQ(LebendeSlots(0), std::vector<int32_t>({5}));
  EXPECT_EQ(RndState(), start);
}

TEST_F(Shots, EveryKindInFlightMatchesItsReferenceFrame) {
  const auto flug = [](int32_t gruppe, int32_t art, float x, float y, float sx, float sy, float force) {
    AddSchuss(gruppe, art, x, y, sx, sy, force, 10, 0);
  };
  // Bullets of each kind: straight, slanted down and slanted back up.
  for (int32_t art = -2; art <= 1; ++art) {
    const float y = 20 + 40.0f * (art + 2);
    flug(0, art, 20, y, 11, 0, 1);
    flug(1, art, 60, y, 8, 6, 3);
    flug(1, art, 180, y + 20, -9, -3, 1);
  }
  // Flames at three ages, rising and level.
  for (int i = 0; i < 3; ++i) {
    flug(0, 3, 40 + 50.0f * i, 200, 1, -0.5f * i, 1);
    Schuesse[0][SchussMax(0)].Zaehler = 6 * i;
  }
  // Splinter shots of generations 0 to 2, splitters spinning and fading.
  for (int i = 0; i < 3; ++i) flug(0, 4, 220, 40 + 40.0f * i, 2, 0, static_cast<float>(i));
  flug(1, 5, 230, 180, 1, 0, 1);
  flug(1, 5, 270, 170, 0, 1, 0);
  Rendern = false;
  for (int t = 0; t < 3; ++t) {
    Tick(0);
    Tick(1);
  }
  Rendern = true;
  Tick(0);
  Tick(1);
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/shots_in_flight_32.bmp", *BackBuffer,
                                              {0, 0, 320, 240}),
            "");
}
