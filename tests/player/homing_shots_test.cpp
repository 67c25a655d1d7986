// Bombs, rockets, homing missiles and the beam's burst: the bomb's fall and tilt, the
// explosion and its half-damage blast, the rocket's launch, the homing turn and heading
// range, the choice of target, the burst's combo, and one frame of them all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "shot_scene.hpp"
#include "support/golden.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

class HomingShots : public shotscene::ShotTest {
 protected:
  void Fresh() {
    TearDown();
    SetUp();
  }
  // The middle of the last line drawn with the bar picture, at its end.
  static std::pair<float, float> LineEnd() {
    const auto& v = Surfaces[TexBalken].Vertex;
    return {(v[2].sx + v[3].sx) / 2, (v[2].sy + v[3].sy) / 2};
  }
};

TEST_F(HomingShots, ABombFallsWithAQuarterOfTheGravityAndNosesDown) {
  struct Case {
    const char* name;
    int32_t tilt;
    std::vector<int32_t> tilts;  // after each of three ticks
  } cases[] = {
      {"from level", 0, {2, 4, 6}},
      {"from 60 by a fortieth of the rest", 60, {61, 62, 63}},
      {"at 70 the fortieth rounds to nothing", 70, {70, 70, 70}},
      {"from above", -40, {-37, -34, -31}},
      {"90 and beyond stay", 120, {120, 120, 120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Schwerkraft = 2;
    Shot(0, 11, 100, 100, 1, 4, 0, 500);
    At(0, 0).Zaehler = c.tilt;
    std::vector<int32_t> tilts;
    for (int t = 0; t < 3; ++t) {
      Tick(0);
      tilts.push_back(At(0, 0).Zaehler);
    }
    EXPECT_EQ(tilts, c.tilts);
    EXPECT_EQ(At(0, 0).SY, 5.5f);
    EXPECT_EQ(At(0, 0).Y, 100 + 4.5f + 5 + 5.5f);
    EXPECT_EQ(At(0, 0).X, 103);
  }
}

TEST_F(HomingShots, AnExplosionDealsHalfTheDamageToWhatLiesAround) {
  // A still bomb at (100, 100): its box is (107, 122)-(157, 142), its blast the square of
  // its picture grown by 32, (68, 68)-(164, 164). A rock or an enemy at (140, 130) is in
  // its box; a 20 x 20 part at x 163 is just in the blast, at x 164 just out of it.
  struct Case {
    const char* name;
    int32_t kind;
    float strength;
    bool rock;      // else the enemy in the box is what it hits
    float partX;    // the part around, < 0: none
    float hpAfter;  // of the part around, or of the part hit
    float x = 100, y = 100;
  } cases[] = {
      {"a bomb on a rock: half to the part in the blast", 11, 1001, true, 163, 1000 - 500},
      {"a bomb on a rock: nothing beyond the blast", 11, 1001, true, 164, 1000},
      {"a bomb on a rock: half of the rounded damage", 11, 10.5f, true, 163, 1000 - 5},
      {"a bomb on an enemy: the damage, then half in the blast", 11, 300, false, -1, 1000 - 300 - 150},
      {"a missile on an enemy: the same", 13, 300, false, -1, 1000 - 300 - 150, 130, 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    PartikelAn = true;
    Feindkomponente* hit = nullptr;
    if (c.rock) {
      Rock(0, block, 140, 130);
    } else {
      hit = &Part(0, block, 140, 130, 1000);
    }
    Feindkomponente* around = c.partX >= 0 ? &Part(1, block, c.partX, 100, 1000) : nullptr;
    Shot(0, c.kind, c.x, c.y, 0, 0, 0, c.strength);
    Tick(0);
    EXPECT_FALSE(At(0, 0).Aktiv);
    EXPECT_EQ((around ? around : hit)->HP, c.hpAfter);
    // Fifty warm particles of the cloud (and ten sparks where the blast struck).
    EXPECT_EQ(LiveSmallParticles(1), around && c.hpAfter < 1000 ? 60 : c.rock ? 50 : 70);
    EXPECT_GT(LiveBigParticles(), 0);
  }
}

TEST_F(HomingShots, InTheOpenEveryKindFliesOnWhateverItsDamage) {
  for (int32_t kind : {11, 12, 13, 14})
    for (float strength : {100.0f, 10.5f, 0.0f}) {
      SCOPED_TRACE(std::to_string(kind) + " with " + std::to_string(strength));
      Fresh();
      Shot(0, kind, 300, 200, 1, 0, 0, strength);
      Tick(0);
      EXPECT_TRUE(At(0, 0).Aktiv);
      EXPECT_EQ(At(0, 0).Stärke, strength);
    }
}

TEST_F(HomingShots, ARocketDriftsSixteenTicksThenSpeedsUpToTwentyAndFliesLevel) {
  PartikelAn = true;
  Shot(0, 12, 10, 100, 0, 1, 0, 500);
  struct Step {
    int tick;
    float x, y, sx;
    int32_t exhaust;  // small particles of group 0 so far
  } steps[] = {
      {16, 10, 116, 0, 0},
      {17, 10.5f, 116, 0.5f, 2},
      {18, 11.5f, 116, 1, 4},
      {56, 420, 116, 20, 80},
      {57, 440, 116, 20, 82},
  };
  int t = 0;
  for (const Step& s : steps) {
    while (t < s.tick) {
      Tick(0);
      ++t;
    }
    SCOPED_TRACE("tick " + std::to_string(t));
    EXPECT_EQ(std::vector<float>({At(0, 0).X, At(0, 0).Y, At(0, 0).SX, At(0, 0).SY}),
              std::vector<float>({s.x, s.y, s.sx, t <= 16 ? 1.0f : 0.0f}));
    EXPECT_EQ(LiveSmallParticles(0), s.exhaust);
  }
}

TEST_F(HomingShots, AHomingShotTurnsAtMostTenDegreesATickTheShorterWay) {
  // Targets far off (5,000 pixels) in a whole-degree direction from the shot's middle,
  // so that they stay in that direction while it flies.
  struct Case {
    const char* name;
    int32_t kind;
    float launch;
    int32_t target;  // direction in degrees; < 0: no target
    std::vector<int32_t> headings;
  } cases[] = {
      {"25 degrees to the side: 10, 10 and 5", 13, 0, 25, {10, 20, 25}},
      {"25 to the other side", 13, 0, 335, {350, 340, 335}},
      {"straight ahead, 0 is 360", 13, 0, 0, {360, 360, 360}},
      {"no target: straight on, 0 is 360", 13, 0, -1, {360, 360, 360}},
      {"no target keeps a launch heading", 13, 135, -1, {135, 135, 135}},
      {"across the 360 line", 13, 355, 20, {5, 15, 20}},
      {"a far-out launch heading is brought into range", 13, 1e9f, 25, {290, 300, 310}},
      {"so is one far below", 13, -720, 25, {10, 20, 25}},
      {"the burst turns alike", 14, 0, 25, {10, 20, 25}},
      {"the burst from its launch heading", 14, 170, 200, {180, 190, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (c.target >= 0) {
      const double a = c.target * std::acos(-1.0) / 180;
      Part(0, block, static_cast<float>(316 - 10 + 5000 * std::cos(a)), static_cast<float>(316 - 10 + 5000 * std::sin(a)),
           1000);
    }
    Shot(0, c.kind, 300, 300, 6, 0, c.launch, 100);
    std::vector<int32_t> headings;
    for (int t = 0; t < 3; ++t) {
      Tick(0);
      headings.push_back(At(0, 0).Zaehler);
    }
    EXPECT_EQ(headings, c.headings);
    const float speed = c.kind == 13 ? 6.0f : 15.0f;
    EXPECT_EQ(At(0, 0).SX, speed * CosinusB(headings.back()));
    EXPECT_EQ(At(0, 0).SY, speed * SinusB(headings.back()));
  }
}

TEST_F(HomingShots, TheMissileAimsAtTheNearestTargetThatCanBeHit) {
  // From the missile's middle (316, 316): enemy 0's part 100 below, enemy 1's part 200 to
  // the right (both middles); the line shows the aim.
  struct Case {
    const char* name;
    std::function<void()> spoil;
    bool aims;
    float x, y;
  } cases[] = {
      {"the nearer", [] {}, true, 316, 416},
      {"not a solid enemy", [] { GegnerListe[0].Typ.Parameter[8] = 2; }, true, 516, 316},
      {"not a dying one", [] { GegnerListe[0].Stirbt = VBTrue; }, true, 516, 316},
      {"not an undamageable part", [] { GegnerListe[0].Typ.Komponenten[0].Unzerstörbar = VBTrue; }, true, 516, 316},
      {"not a destroyed part", [] { GegnerListe[0].Typ.Komponenten[0].Lebt = VBFalse; }, true, 516, 316},
      {"not a part whose frame has no picture", [] { GegnerListe[0].Typ.Komponenten[0].AniA = 1; }, true, 516, 316},
      {"not a part of nothing opaque",
       [] {
         SurfaceInfo& e = Surfaces[SpriteDefs[GegnerListe[0].Typ.Komponenten[0].Sprite].Frames[0].Surface];
         e.RandMinX = 0;
         e.RandMaxX = 1;
       },
       true, 516, 316},
      {"as near when rounded: the first",
       [] {
         GegnerListe[0].Y += 0.3f;
         GegnerListe[1].X -= 100.2f;  // its middle 99.8 to the right
       },
       true, 316, 416.3f},
      {"of several parts the nearest",
       [] {
         Gegner& g = GegnerListe[1];
         g.Typ.Komponenten.push_back(g.Typ.Komponenten[0]);
         g.Typ.Komponenten[1].OffsetX = -150;
       },
       true, 366, 316},
      {"more targets than the list has room for: the same answer",
       [] {
         for (int32_t e = 2; e <= GegnerListe.Kapazitaet; ++e) {
           Gegner& g = GegnerListe[e];
           g = GegnerListe[1];
           g.X = 600.0f + e;
           g.Typ.Komponenten.resize(17, g.Typ.Komponenten[0]);
         }
         GegnerMax = GegnerListe.Kapazitaet;
       },
       true, 316, 416},
      {"none left: no line, straight on",
       [] {
         GegnerListe[0].Aktiv = VBFalse;
         GegnerListe[1].Typ.Parameter[8] = 1;
       },
       false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Part(0, block, 306, 406, 1000);
    Part(1, big, 486, 286, 1000);
    c.spoil();
    SetUpColor(TexBalken, 0, 0, 0, 0);
    Surfaces[TexBalken].Vertex[2].sx = Surfaces[TexBalken].Vertex[3].sx = -1;
    Shot(0, 13, 300, 300, 6, 0, 0, 100);
    Tick(0);
    if (c.aims) {
      const auto [x, y] = LineEnd();
      EXPECT_NEAR(x, c.x, 1e-3);
      EXPECT_NEAR(y, c.y, 1e-3);
      EXPECT_EQ(Surfaces[TexBalken].Vertex[0].color, GetRGBA(0.2f, 1, 0.2f, 0.2f));
    } else {
      EXPECT_EQ(LineEnd().first, -1);
      EXPECT_EQ(At(0, 0).Zaehler, 360);
    }
  }
}

TEST_F(HomingShots, ATargetDestroyedEarlierInTheStepIsNoLongerAimedAt) {
  Part(0, block, 306, 406, 100);
  Part(1, big, 486, 286, 1000);
  Shot(0, 13, 300, 300, 6, 0, 0, 100);  // looks first: the part below is nearer
  Shot(0, 0, 306, 406, 0, 1, 1, 500);   // a bullet destroys it
  Shot(0, 13, 300, 300, 6, 0, 0, 100);  // looks after
  Tick(0);
  EXPECT_FALSE(GegnerListe[0].Aktiv);
  const auto [x, y] = LineEnd();
  EXPECT_NEAR(x, 516, 1e-3);
  EXPECT_NEAR(y, 316, 1e-3);
}

TEST_F(HomingShots, TheAimingLineIsDrawnOnlyInDrawnFrames) {
  Part(0, block, 306, 406, 1000);
  Surfaces[TexBalken].Vertex[2].sx = -1;
  Rendern = false;
  Shot(0, 13, 300, 300, 6, 0, 0, 100);
  Tick(0);
  EXPECT_EQ(Surfaces[TexBalken].Vertex[2].sx, -1);
  EXPECT_EQ(At(0, 0).Zaehler, 10);
}

TEST_F(HomingShots, ABurstThatHitsWithDamageToSpareRaisesARunningCombo) {
  struct Case {
    const char* name;
    float factor;
    float partHP;
    int32_t player;
    float factorAfter;
    int32_t hitsAfter;
  } cases[] = {
      {"a running combo and damage to spare", 1.5f, 10, 0, 1.6f, 4},
      {"the second player's", 1.5f, 10, 1, 1.6f, 4},
      {"no damage to spare", 1.5f, 1000, 0, 1.5f, 3},
      {"used up exactly", 1.5f, 100, 0, 1.5f, 3},
      {"no combo running", 1.0f, 10, 0, 1.0f, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    ComboFaktor[c.player] = c.factor;
    ComboTreffer[c.player] = 3;
    Feindkomponente& part = Part(0, block, 160, 106, c.partHP);
    const int32_t slot = Shot(1, 14, 100, 100, 0, 0, 0, 100);
    At(1, slot).VeskNr = c.player;
    for (int t = 0; t < 10 && At(1, slot).Aktiv; ++t) Tick(1);
    ASSERT_FALSE(At(1, slot).Aktiv);
    EXPECT_LE(part.HP, c.partHP - 100);
    EXPECT_FLOAT_EQ(ComboFaktor[c.player], c.factorAfter);
    EXPECT_EQ(ComboTreffer[c.player], c.hitsAfter);
    EXPECT_EQ(ComboFaktor[1 - c.player], 1.0f);
  }
}

TEST_F(HomingShots, BombsRocketsMissilesBurstsAndABlastMatchTheirReferenceFrame) {
  PartikelAn = true;
  Schwerkraft = 1;
  Rock(0, big, 60, 200);
  Part(0, block, 330, 40, 1e9f);
  Part(1, block, 300, 220, 1e9f);
  AddSchuss(0, 11, 60, 120, 1, 0, 0, 500, 0);   // a bomb falling onto the rock
  AddSchuss(0, 11, 200, 20, 2, 0, 0, 500, 0);   // one nosing down
  AddSchuss(0, 12, 20, 60, 0, 1, 0, 500, 0);    // a rocket past its launch
  AddSchuss(0, 13, 140, 120, 6, 0, 0, 200, 0);  // a missile aiming at the part below
  const auto scene = [this](bool drawn) {
    RenderStart();
    if (drawn) {
      // The scenery, dimmed, under the shots.
      for (auto [sprite, x, y] : {std::tuple{big, 60, 200}, std::tuple{block, 330, 40}, std::tuple{block, 300, 220}}) {
        const int32_t bild = SpriteDefs[sprite].Frames[0].Surface;
        SetUpColor(bild, 0.25f, 0.25f, 0.3f, 1);
        ShowSprite(bild, x, y, true);
      }
    }
    SpielMoveSchuss(0);
    MovePartikel(0);
    SpielMoveSchuss(1);
    MovePartikel(1);
    MoveBigPartikel();
    RenderEnd();
  };
  Rendern = false;
  for (int t = 0; t < 19; ++t) {
    LevelTick = t;
    // A burst from the lower right, a few ticks before the frame.
    if (t == 16)
      for (int32_t a = 190; a <= 250; a += 20)
        AddSchuss(1, 14, 370, 260, CosTab[a] * 20, SinTab[a] * 20, static_cast<float>(a), 100, 0);
    scene(false);
  }
  Rendern = true;
  scene(true);
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/bombs_32.bmp", *BackBuffer, {0, 0, 400, 300}),
            "");
}

}  // namespace
