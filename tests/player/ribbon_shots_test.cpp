// The satellite's ribbon shots and laser: each ribbon's flight, hit and fade, the edges it
// leaves by on every side, the torpedo's and the seeker's choice of target, the bouncing
// ribbon's bounces, the boomerang's turn, the laser's life, alpha and burn, and one frame
// of them all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "shot_scene.hpp"
#include "support/golden.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"

namespace {

using shotscene::NewestBig;

class RibbonShots : public shotscene::ShotTest {
 protected:
  // A fresh scene for the next case of a table.
  void Fresh() {
    TearDown();
    SetUp();
  }
  // Ticks group 1 until slot 0 is free (at most `limit` ticks); how many it took.
  static int TicksUntilGone(int limit = 200) {
    int n = 0;
    while (At(1, 0).Aktiv && n < limit) {
      Tick(1);
      ++n;
    }
    return n;
  }
};

struct Colour {
  float r, g, b;
};

TEST_F(RibbonShots, EachRibbonHitsThenStandsWhileItsRibbonFades) {
  struct Case {
    const char* name;
    int32_t kind;
    float force;
    bool rock;          // else an enemy of 1000 points
    int32_t fade;       // ticks of fading
    Colour flash;
    int32_t flashLife;
  } cases[] = {
      {"torpedo on an enemy", 6, 0, false, 24, {1.0f, 0.3f, 0.4f}, 24},
      {"torpedo on a rock", 6, 0, true, 24, {1.0f, 0.3f, 0.4f}, 24},
      {"bouncing ribbon on an enemy", 7, 10, false, 9, {0.4f, 0.3f, 1.0f}, 11},
      {"boomerang on an enemy", 9, 30, false, 14, {1.0f, 0.3f, 1.0f}, 14},
      {"boomerang on a rock", 9, 30, true, 14, {1.0f, 0.3f, 1.0f}, 14},
      {"seeker on an enemy", 10, 0, false, 24, {0.3f, 1.0f, 0.4f}, 24},
      {"seeker on a rock", 10, 0, true, 24, {0.3f, 1.0f, 0.4f}, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Feindkomponente* part = nullptr;
    if (c.rock) {
      Rock(0, block, 200, 92);
    } else {
      part = &Part(0, block, 200, 92, 1000);
    }
    Shot(1, c.kind, 100, 100, 10, 0, c.force, 50);
    // The head's box reaches the block's left edge in the ninth tick.
    for (int t = 1; t <= 8; ++t) Tick(1);
    EXPECT_EQ(At(1, 0).Zaehler, 0);
    Tick(1);
    const SchussDaten& s = At(1, 0);
    EXPECT_EQ(s.X, 190);
    EXPECT_EQ(s.Zaehler, c.fade);
    if (part) {
      EXPECT_EQ(part->HP, 950);
    }
    const BigPartikelDaten& flash = NewestBig();
    EXPECT_EQ(std::vector<float>({flash.R, flash.G, flash.B}), std::vector<float>({c.flash.r, c.flash.g, c.flash.b}));
    EXPECT_EQ(flash.DeadMax, c.flashLife);
    EXPECT_EQ(flash.Art, 1);
    // Standing and harmless while it fades, then gone with its trail emptied.
    EXPECT_EQ(TicksUntilGone(), c.fade);
    EXPECT_EQ(s.X, 190);
    if (part) {
      EXPECT_EQ(part->HP, 950);
    }
    EXPECT_TRUE(s.SchweifX.empty());
    EXPECT_GE(s.SchweifX.capacity(), kSchweifPunkte);
  }
}

TEST_F(RibbonShots, RibbonsLeaveByEverySideOnlyWhenTheirHeadIsWhollyOut) {
  struct Case {
    const char* name;
    int32_t kind;
    float x, y, sx, sy;
    float force;
    bool targetAbove = false, targetBelow = false;  // steer a torpedo
  } cases[] = {
      {"torpedo left", 6, -15, 100, -1, 0, 0},
      {"torpedo right", 6, 799, 100, 1, 0, 0},
      {"torpedo top", 6, 100, -12, 1, -4, 0, true},
      {"torpedo bottom", 6, 100, 546, 1, 4, 0, false, true},
      {"bouncing left", 7, -15, 100, -1, 0, 10},
      {"bouncing top", 7, 100, -14, 0, -2, 10},
      {"bouncing bottom", 7, 100, 549, 0, 1, 10},
      {"boomerang left at -120", 9, -135, 100, -1, 0, 1000},
      {"boomerang right at 952", 9, 951, 100, 1, 0, 1000},
      {"boomerang top", 9, 100, -14, 0, -2, 1000},
      {"seeker left", 10, -15, 100, -1, 0, 0},
      {"seeker turned up", 10, 100, -14, 0, -2, 0},
      {"seeker turned down", 10, 100, 548, 0, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (c.targetAbove) Part(0, block, 700, -400, 1000);
    if (c.targetBelow) Part(0, block, 700, 900, 1000);
    Shot(1, c.kind, c.x, c.y, c.sx, c.sy, c.force, 50);
    Tick(1);
    EXPECT_EQ(At(1, 0).Zaehler, 0) << "at the edge: " << At(1, 0).X << ", " << At(1, 0).Y;
    Tick(1);
    EXPECT_GT(At(1, 0).Zaehler, 0) << "past the edge: " << At(1, 0).X << ", " << At(1, 0).Y;
    // And it does go: an upturned seeker used to fly on for ever.
    const int32_t fade = At(1, 0).Zaehler;
    EXPECT_EQ(TicksUntilGone(), fade);
  }
}

TEST_F(RibbonShots, TheTorpedoSteersForTheNearestTargetAheadOnly) {
  // The torpedo flies at y 300 from x 100; targets are 20 x 20 parts (centre + 10).
  struct Case {
    const char* name;
    std::vector<std::pair<float, float>> targets;  // parts' corners, enemies 0, 1, ...
    float sy;
    std::function<void()> spoil = [] {};           // makes enemy 0 no target
  } cases[] = {
      {"no target", {}, 0},
      {"3 above", {{400, 287}}, 0},
      {"40 below", {{400, 330}}, 4},
      {"40 above", {{400, 250}}, -4},
      {"40 below but behind", {{50, 330}}, 0},
      {"the nearer of two", {{400, 330}, {600, 270}}, -4},
      {"a solid enemy is scenery", {{400, 330}}, 0, [] { GegnerListe[0].Typ.Parameter[8] = 1; }},
      {"a dying enemy", {{400, 330}}, 0, [] { GegnerListe[0].Stirbt = VBTrue; }},
      {"an undamageable part", {{400, 330}}, 0, [] { GegnerListe[0].Typ.Komponenten[0].Unzerstörbar = VBTrue; }},
      {"a part whose frame has no picture", {{400, 330}}, 0, [] { GegnerListe[0].Typ.Komponenten[0].AniA = 3; }},
      {"a picture with nothing opaque", {{400, 330}}, 0,
       [] {
         SurfaceInfo& e = Surfaces[SpriteDefs[GegnerListe[0].Typ.Komponenten[0].Sprite].Frames[0].Surface];
         e.RandMinX = 0;
         e.RandMaxX = 1;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    for (size_t e = 0; e < c.targets.size(); ++e)
      Part(static_cast<int32_t>(e), block, c.targets[e].first, c.targets[e].second, 1000);
    c.spoil();
    Shot(1, 6, 100, 300, 5, 0, 0, 50);
    Tick(1);  // its first tick sets up the trail and chooses nothing
    EXPECT_EQ(At(1, 0).Y, 300);
    Tick(1);
    EXPECT_EQ(At(1, 0).SY, c.sy);
    EXPECT_EQ(At(1, 0).Y, 300 + c.sy);
  }
}

TEST_F(RibbonShots, TheTorpedoOfForceOneWobbles) {
  struct Case {
    int32_t tick;
  } cases[] = {{1}, {9}, {18}, {-5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tick);
    Fresh();
    LevelTick = c.tick;
    Shot(1, 6, 100, 300, 5, 0, 1, 50);
    Tick(1);
    EXPECT_FLOAT_EQ(At(1, 0).Y, 300 + 2 * SinusB(c.tick * 10));
  }
}

TEST_F(RibbonShots, TheBouncingRibbonTurnsAtFloorsAndCornersAndFadesAfterFortyBounces) {
  struct Case {
    const char* name;
    float x, y, sx, sy;
    int32_t bouncesBefore;  // `Zustand` - 1
    float sxAfter, syAfter;
    bool fading;
  } cases[] = {
      {"a floor turns it up", 110, 200, 0, 4, 0, 0, -4, false},
      {"a wall ahead is a corner: it turns back, carried with the scroll", 170, 230, 4, 0, 0, -4, 0, false},
      {"the thirty-ninth bounce does not fade it", 110, 200, 0, 4, 38, 0, -4, false},
      {"the fortieth starts the fade", 110, 200, 0, 4, 39, 0, -4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Ebenen[3].Speed = 2;
    Rock(0, big, 100, 220);
    Rock(1, big, 200, 200);
    Shot(1, 7, c.x, c.y, c.sx, c.sy, 10, 50);
    Tick(1);
    At(1, 0).Zustand = 1 + c.bouncesBefore;
    int t = 1;
    while (At(1, 0).SX == c.sx && At(1, 0).SY == c.sy && t < 30) {
      Tick(1);
      ++t;
    }
    const SchussDaten& s = At(1, 0);
    EXPECT_EQ(s.SX, c.sxAfter);
    EXPECT_EQ(s.SY, c.syAfter);
    EXPECT_EQ(s.Zustand, 2 + c.bouncesBefore);
    EXPECT_EQ(s.Zaehler, c.fading ? 9 : 0);
    const BigPartikelDaten& ring = NewestBig();
    EXPECT_EQ(std::vector<int32_t>({ring.Art, ring.Durchmesser, ring.DeadMax}), std::vector<int32_t>({2, 6, 14}));
    EXPECT_EQ(ring.Parameter, 4);
    if (c.sx > 0) {
      // Touched at 186 in the tick's second half step, then carried back by the scroll.
      EXPECT_EQ(s.X, 184);
    }
  }
}

TEST_F(RibbonShots, ABouncingRibbonKeepsItsTrailInTheRoomItsSlotHas) {
  struct Case {
    const char* name;
    float force;
    size_t punkte;  // trail points; 0: gone at once when it leaves
    bool bleibt;    // still there after leaving
  } cases[] = {
      {"force 20, the longest a satellite fires", 20, 21, true},
      {"force 40 is held to the room of 26", 40, 26, true},
      {"force 1 has no fade: gone when it leaves", 1, 0, false},
      {"force 0 likewise", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    const int32_t slot = Shot(1, 7, 790, 100, 20, 0, c.force, 50);
    const float* vorher = At(1, slot).SchweifX.data();
    Tick(1);
    EXPECT_EQ(At(1, slot).Aktiv != 0, c.bleibt);
    if (c.bleibt) {
      EXPECT_EQ(At(1, slot).SchweifX.size(), c.punkte);
      EXPECT_EQ(At(1, slot).SchweifX.data(), vorher);
    }
  }
}

TEST_F(RibbonShots, TheBoomerangTurnsBackAtDoubleSpeedInItsTurningTick) {
  struct Case {
    const char* name;
    float force;
    int turnTick;  // 0: never
    int ticks;     // while it is in range
  } cases[] = {{"force 30", 30, 31, 40}, {"force 0 turns at once", 0, 1, 15}, {"force 2.5 never turns", 2.5f, 0, 40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Shot(1, 9, 100, 100, 7, 5, c.force, 50);
    float x = 100, y = 100, sx = 7, sy = 5;
    for (int t = 1; t <= c.ticks; ++t) {
      // In the turning tick the step back and the step forward cancel out.
      if (t == c.turnTick) {
        sx = -2 * sx;
        sy = 0;
      } else {
        x += sx;
        y += sy;
      }
      Tick(1);
      ASSERT_EQ(std::vector<float>({At(1, 0).X, At(1, 0).Y, At(1, 0).SX}), std::vector<float>({x, y, sx}))
          << "tick " << t;
    }
  }
}

TEST_F(RibbonShots, TheSeekerTurnsOntoATargetBelowOrAboveAndLeavesAFollower) {
  struct Case {
    const char* name;
    float force;
    float px, py;  // the target part's corner
    float sx, sy;  // the seeker's speed after its second tick
    bool follower;
  } cases[] = {
      {"target below, a follower carries on", 2, 105, 400, 0, 15, true},
      {"target above, force 0 leaves none", 0, 105, 200, 0, -15, false},
      {"right over the target's middle", 1, 100, 400, 0, 15, true},
      {"20 short of the middle", 1, 120, 400, 0, 15, true},
      {"more than 20 short", 1, 120.5f, 400, 10, 0, false},
      {"in the window only in the first tick, which does not look", 1, 95, 400, 10, 0, false},
      {"a top level with the seeker counts as below", 0, 105, 315, 0, 15, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Part(0, block, c.px, c.py, 1000);
    Shot(1, 10, 100, 315, 10, 0, c.force, 70);
    At(1, 0).VeskNr = 1;
    Tick(1);
    Tick(1);
    const SchussDaten& s = At(1, 0);
    EXPECT_EQ(std::vector<float>({s.SX, s.SY}), std::vector<float>({c.sx, c.sy}));
    ASSERT_EQ(SchussMax(1), c.follower ? 1 : 0);
    if (c.follower) {
      const SchussDaten& f = At(1, 1);
      EXPECT_EQ(std::vector<float>({f.X, f.Y, f.SX, f.SY, f.Force, f.Stärke}),
                std::vector<float>({120, 315, 10, 0, c.force - 1, 70}));
      EXPECT_EQ(f.Art, 10);
      EXPECT_EQ(f.VeskNr, 1);
      EXPECT_EQ(f.Zustand, 0);  // added above the slots of this step: it moves next tick
    }
  }
}

TEST_F(RibbonShots, TheLaserShinesForItsForceAndBurnsWhatItMeetsEveryTick) {
  struct Case {
    const char* name;
    float sx;     // exactly 1: to the right
    float force;
    float enemyX; // < 0: none
    int ticks;
    float lineFrom, lineTo;
    int32_t tickOfSparks;
    int sparks;
  } cases[] = {
      {"four ticks to the right, meeting nothing", 1, 4, -1, 4, 300, 800, 4, 0},
      {"four ticks to the right, burning an enemy", 1, 4, 500, 4, 300, 500, 4, 1},
      {"to the left, meeting nothing", -1, 4, -1, 4, 0, 300, 4, 0},
      {"to the left, burning an enemy", -1, 4, 100, 4, 300, 119, 4, 1},
      {"force 0 lasts one tick, sparks every other tick", 1, 0, 500, 1, 300, 500, 2, 1},
      {"no sparks in odd ticks", 1, 4, 500, 4, 300, 500, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    PartikelAn = true;
    LevelTick = c.tickOfSparks;
    Feindkomponente* part = c.enemyX >= 0 ? &Part(0, block, c.enemyX, 290, 100000) : nullptr;
    Shot(0, 8, 300, 300, c.sx, 0, c.force, 40);
    const auto& v = Surfaces[TexBalken].Vertex;
    int t = 0;
    while (At(0, 0).Aktiv && t < 10) {
      const int32_t left = At(0, 0).Zustand == 0 ? CLng(c.force) : At(0, 0).Zaehler;
      Tick(0);
      ++t;
      SCOPED_TRACE("tick " + std::to_string(t));
      // The first tick ends with the white core over the line; then the line fades.
      const int32_t colour = t == 1 && c.force == CLng(c.force) ? GetRGBA(1, 1, 1, 1)
                                                                  : GetRGBA(1, 1, 0.2f, left / 75.0f + 0.15f);
      EXPECT_EQ(v[0].color, colour);
      EXPECT_EQ(v[2].color, colour);
      EXPECT_FLOAT_EQ((v[0].sx + v[1].sx) / 2, c.lineFrom);
      EXPECT_FLOAT_EQ((v[2].sx + v[3].sx) / 2, c.lineTo);
      EXPECT_FLOAT_EQ(v[0].sy + v[1].sy, 600);
    }
    EXPECT_EQ(t, c.ticks);
    EXPECT_EQ(LiveBigParticles(), c.sparks * c.ticks);
    if (part) {
      EXPECT_EQ(part->HP, 100000 - 40 * c.ticks);
    }
  }
}

TEST_F(RibbonShots, EveryRibbonAndTheLaserMatchTheirReferenceFrame) {
  Rock(0, big, 240, 180);
  Part(0, block, 330, 40, 100000);
  Part(1, block, 250, 120, 100000);
  Ebenen[3].Speed = 1;
  AddSchuss(1, 6, 20, 30, 9, 2, 1, 50, 0);      // wobbling torpedo
  AddSchuss(1, 6, 20, 70, 8, 0, 0, 50, 0);      // steering for the part above
  AddSchuss(1, 7, 150, 150, 8, 6, 20, 50, 0);   // bouncing off the rock
  AddSchuss(1, 9, 60, 110, 8, -3, 12, 50, 0);   // boomerang turning back
  AddSchuss(1, 10, 180, 30, 10, 0, 2, 50, 0);   // seeker meeting the part below
  AddSchuss(1, 7, 20, 228, 12, 0, 8, 50, 0);    // into the rock's corner, back and forth
  Rendern = false;
  for (int t = 0; t < 16; ++t) {
    LevelTick = t;
    if (t == 14) AddSchuss(0, 8, 380, 285, -1, 0, 9, 10, 0);  // to the left, meeting nothing
    Tick(0);
    Tick(1);
  }
  Rendern = true;
  LevelTick = 16;
  AddSchuss(0, 8, 100, 200, 1, 0, 9, 10, 0);  // to the right, burning the rock: its first tick
  // The scenery, dimmed, under the shots.
  RenderStart();
  const auto zeige = [](int32_t sprite, float x, float y) {
    const int32_t bild = SpriteDefs[sprite].Frames[0].Surface;
    SetUpColor(bild, 0.25f, 0.25f, 0.3f, 1);
    ShowSprite(bild, CLng(x), CLng(y), true);
  };
  zeige(big, 240, 180);
  zeige(block, 330, 40);
  zeige(block, 250, 120);
  SpielMoveSchuss(0);
  SpielMoveSchuss(1);
  RenderEnd();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/ribbons_32.bmp", *BackBuffer, {0, 0, 400, 300}),
            "");
}

}  // namespace
