// Sprite-frame sequences with their delays and loop markers, and key-frame animations:
// where they start, how a part travels between keys, frames held or running, how long an
// animation lives, its right extent, which layers draw, and one frame drawn mid-way.
#include "world/animations.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/level_data_state.hpp"
#include "world/weather_state.hpp"

using worlddraw::Pixel;

namespace {

// A sprite definition of frames (name, delay), drawn by `surfaces` (none: no pictures).
int32_t Sprite(const std::vector<std::pair<std::string, int32_t>>& frames, std::vector<int32_t> surfaces = {},
               bool quad = false) {
  SpriteDef s;
  s.D3DSprite = VBBool(quad);
  for (size_t i = 0; i < frames.size(); ++i)
    s.Frames.push_back({.Bild = frames[i].first,
                        .Surface = i < surfaces.size() ? surfaces[i] : -1,
                        .Zeit = frames[i].second});
  SpriteDefs.push_back(s);
  return SpriteDefsMax();
}

// A visible, white, unscaled key on frame 0 at (x, y).
AnimaKeyframe Key(int32_t tick, float x, float y, int32_t bewegung = 0) {
  AnimaKeyframe k;
  k.Tick = tick;
  k.PosX = x;
  k.PosY = y;
  k.R = k.G = k.B = k.A = 1;
  k.Sichtbar = VBTrue;
  k.ZoomX = k.ZoomY = 1;
  k.Bewegung = bewegung;
  return k;
}

// A definition of one part on `sprite` with its keys, as the loader leaves it.
int32_t Definition(std::vector<AnimaKeyframe> keys, int32_t periode, int32_t sprite = -1, bool scrollt = false,
                   bool schleife = false, int32_t randRechts = 0) {
  AnimaTypDaten d;
  d.Teile.push_back({.Keys = std::move(keys), .Sprite = sprite});
  d.Periode = periode;
  d.Scrollt = VBBool(scrollt);
  d.Schleife = VBBool(schleife);
  d.RandRechts = randRechts;
  AnimaTypen.push_back(d);
  return AnimaTypenMax();
}

// The one animation that runs in these tests.
AnimaDaten& Erste() { return Animationen[0]; }
const AnimaTeil& Teil() { return Erste().Teile.at(0); }

class Animations : public worlddraw::LayerTest {
 protected:
  // `n` ticks of layer `ebene`, recording `wert` of the first animation after each.
  template <class F>
  auto Ticks(int32_t ebene, int n, F wert) {
    std::vector<decltype(wert())> werte;
    for (int i = 0; i < n; ++i) {
      SpielMoveAnimation(ebene);
      werte.push_back(wert());
    }
    return werte;
  }
};

}  // namespace

// ---- DoAni -------------------------------------------------------------------------------

TEST_F(Animations, DoAniFollowsDelaysAndLoopMarkers) {
  struct Fall {
    const char* name;
    std::vector<std::pair<std::string, int32_t>> frames;
    int32_t frame, timer;
    std::vector<int32_t> danach;  // the frame after each tick
    int32_t timerDanach;
  } faelle[] = {
      {"a marker sends A B back to A", {{"a.bmp", 1}, {"b.bmp", 1}, {"-", 1}, {"c.bmp", 1}, {"d.bmp", 1}}, 0, 0,
       {1, 0, 1, 0, 1, 0}, 0},
      {"set onto C the sequence runs C D and wraps to A",
       {{"a.bmp", 1}, {"b.bmp", 1}, {"-", 1}, {"c.bmp", 1}, {"d.bmp", 1}}, 3, 0, {4, 0, 1, 0}, 0},
      {"a delay of 3 shows three ticks, a delay of 0 one", {{"a.bmp", 3}, {"b.bmp", 0}, {"c.bmp", 1}}, 0, 0,
       {0, 0, 1, 2, 0, 0, 0, 1}, 0},
      {"a timer part-way through shortens the first frame", {{"a.bmp", 3}, {"b.bmp", 3}}, 0, 2, {1, 1, 1, 0}, 0},
      {"the second loop jumps back to the frame after the first marker",
       {{"a.bmp", 1}, {"-", 1}, {"b.bmp", 1}, {"c.bmp", 1}, {"x", 1}}, 2, 0, {3, 2, 3, 2}, 0},
      {"a marker as frame 0 is shown once the sequence wraps", {{"-", 1}, {"a.bmp", 1}, {"b.bmp", 1}}, 1, 0,
       {2, 0, 1, 2, 0}, 0},
      {"a marker right after frame 0 holds frame 0", {{"a.bmp", 1}, {"-", 1}, {"-", 1}, {"b.bmp", 1}}, 0, 0,
       {0, 0, 0}, 0},
      {"a negative timer holds frame and timer", {{"a.bmp", 1}, {"b.bmp", 1}}, 1, -1, {1, 1, 1}, -1},
      {"a frame past the end starts the sequence over", {{"a.bmp", 5}, {"b.bmp", 1}, {"c.bmp", 1}}, 7, 4,
       {0, 0, 0}, 2},
      {"a negative frame starts the sequence over", {{"a.bmp", 1}, {"b.bmp", 1}}, -2, 0, {0, 1}, 0},
      {"a sequence without frames leaves both alone", {}, 2, 3, {2, 2}, 3},
  };
  // Effect particles count in Singles: they must step exactly as whole numbers do.
  auto lauf = [](auto frame, auto timer, int32_t O, size_t n) {
    std::vector<int32_t> danach;
    for (size_t i = 0; i < n; ++i) {
      DoAni(O, frame, timer);
      danach.push_back(static_cast<int32_t>(frame));
    }
    return std::make_pair(danach, static_cast<int32_t>(timer));
  };
  for (const Fall& f : faelle) {
    SpriteDefs.clear();
    const int32_t O = Sprite(f.frames);
    const auto ganz = lauf(f.frame, f.timer, O, f.danach.size());
    EXPECT_EQ(ganz.first, f.danach) << f.name;
    EXPECT_EQ(ganz.second, f.timerDanach) << f.name;
    EXPECT_EQ(lauf(static_cast<float>(f.frame), static_cast<float>(f.timer), O, f.danach.size()), ganz) << f.name;
  }
}

// ---- Starting --------------------------------------------------------------------------------

TEST_F(Animations, WhereAnAnimationStarts) {
  struct Fall {
    const char* name;
    bool scrollt;
    std::optional<double> x;
    float X, Y;
  } faelle[] = {
      {"fixed: the keys hold screen positions whatever y was", false, std::nullopt, 0, 0},
      {"scrolling: at its layer's right edge, at height y", true, std::nullopt, 799.75f, 240},
      {"scrolling with x: at (x, y)", true, 130.5, 130.5f, 240},
      {"fixed with x: at (x, y)", false, -20, -20, 240},
  };
  Ebenen[5].Offset = -0.25f;
  for (const Fall& f : faelle) {
    AnimaTypen.clear();
    Animationen.Reset();
    const int32_t def = Definition({Key(-1, 0, 0), Key(0, 5, 5), Key(1, 5, 5)}, 10, -1, f.scrollt);
    AnimaTypen[def].Teile.resize(3);
    // A slot used before keeps nothing of its last animation.
    Animationen[0].Teile.assign(5, AnimaTeil{.PosX = 9, .A = 1, .Bild = 4, .Sichtbar = VBTrue, .Schritt = 2});
    Animationen[0].Tick = 77;
    AddAnima(5, def, 240, f.x);
    ASSERT_EQ(AnimaMax, 0) << f.name;
    const AnimaDaten& a = Erste();
    EXPECT_EQ(std::make_pair(a.X, a.Y), std::make_pair(f.X, f.Y)) << f.name;
    EXPECT_EQ(std::make_tuple(a.Ebene, a.Typ, a.Tick, a.Aktiv), std::make_tuple(5, def, 0, VBTrue)) << f.name;
    ASSERT_EQ(a.Teile.size(), 3u) << f.name;
    for (const AnimaTeil& p : a.Teile)
      EXPECT_EQ(std::make_tuple(p.PosX, p.A, p.Bild, p.Sichtbar, p.Schritt, p.ZoomX),
                std::make_tuple(0.0f, 0.0f, 0, VBFalse, 0, 0.0f))
          << f.name;
    EXPECT_EQ(AnimaFrei, 1) << f.name;
  }
}

TEST_F(Animations, WhatStartsNothing) {
  const int32_t def = Definition({Key(0, 0, 0), Key(1, 0, 0)}, 10);
  struct Fall {
    const char* name;
    int32_t ebene, def;
    int32_t frei;  // the hint before
  } faelle[] = {
      {"an unknown definition", 0, def + 1, 0}, {"a negative definition", 0, -1, 0},
      {"layer 7", 7, def, 0},                   {"layer -1", -1, def, 0},
      {"a hint past the last slot", 0, def, 301},
  };
  for (const Fall& f : faelle) {
    Animationen.Reset();
    AnimaFrei = f.frei;
    AddAnima(f.ebene, f.def, 0);
    EXPECT_EQ(AnimaMax, -1) << f.name;
  }
}

// ---- Key frames ------------------------------------------------------------------------------

TEST_F(Animations, HowAPartTravelsToItsNextKey) {
  struct Fall {
    const char* name;
    int32_t bewegung;
    float speedX, beschlX, speedY;
    float zielX, zielY;
    std::vector<std::pair<float, float>> pos;  // after each of the ticks 0..5
  } faelle[] = {
      {"1: straight", 1, 2, 0, -1, 20, 15, {{10, 20}, {12, 19}, {14, 18}, {16, 17}, {18, 16}, {20, 15}}},
      {"2: stops exactly on the target in either direction", 2, 4, 0, -3, 20, 12,
       {{10, 20}, {14, 17}, {18, 14}, {20, 12}, {20, 12}, {20, 12}}},
      {"2: at zero speed an axis is kept from falling below its target", 2, 0, 0, 0, 5, 30,
       {{10, 20}, {10, 30}, {10, 30}, {10, 30}, {10, 30}, {5, 30}}},
      {"3: speed 0 and acceleration 1 move 1, 2, 3 ... from the tick after the key", 3, 0, 1, 0, 25, 20,
       {{10, 20}, {11, 20}, {13, 20}, {16, 20}, {20, 20}, {25, 20}}},
      {"0: stays until the next key", 0, 2, 1, 2, 30, 40,
       {{10, 20}, {10, 20}, {10, 20}, {10, 20}, {10, 20}, {30, 40}}},
      {"an unknown kind stays too", 7, 2, 1, 2, 30, 40,
       {{10, 20}, {10, 20}, {10, 20}, {10, 20}, {10, 20}, {30, 40}}},
  };
  for (const Fall& f : faelle) {
    AnimaTypen.clear();
    Animationen.Reset();
    AnimaKeyframe von = Key(0, 10, 20);
    von.SpeedX = f.speedX;
    von.BeschlX = f.beschlX;
    von.SpeedY = f.speedY;
    AddAnima(2, Definition({Key(-1, 0, 0), von, Key(5, f.zielX, f.zielY, f.bewegung), Key(6, 0, 0)}, 20), 0);
    EXPECT_EQ(Ticks(2, 6, [] { return std::make_pair(Teil().PosX, Teil().PosY); }), f.pos) << f.name;
  }
}

TEST_F(Animations, ColourAngleAndSizeChangeByTheirStepsBetweenKeys) {
  const AnimaKeyframe von{.R = 0.25f, .G = 1, .A = 0.5f, .Winkel = 10, .Sichtbar = VBTrue, .ZoomX = 1,
                          .ZoomY = 2, .DR = 0.125f, .DG = -0.25f, .DB = 0.0625f, .DA = 0.125f, .DWinkel = 4.5f,
                          .DZoomX = 0.25f, .DZoomY = -0.5f};
  AnimaKeyframe bis = Key(4, 0, 0);
  bis.Winkel = 90;
  AddAnima(0, Definition({Key(-1, 0, 0), von, bis, Key(5, 0, 0)}, 20), 0);
  const auto werte = Ticks(0, 5, [] {
    const AnimaTeil& p = Teil();
    return std::vector<float>{p.R, p.G, p.B, p.A, p.Drehwinkel, p.ZoomX, p.ZoomY};
  });
  // The key's own values on its tick, then one step per tick; the next key's on its tick.
  EXPECT_EQ(werte[0], (std::vector<float>{0.25f, 1, 0, 0.5f, 10, 1, 2}));
  EXPECT_EQ(werte[3], (std::vector<float>{0.625f, 0.25f, 0.1875f, 0.875f, 23.5f, 1.75f, 0.5f}));
  EXPECT_EQ(werte[4], (std::vector<float>{1, 1, 1, 1, 90, 1, 1}));
}

TEST_F(Animations, AKeyEitherRunsTheFramesOrHoldsOne) {
  const int32_t sprite = Sprite({{"a.bmp", 1}, {"b.bmp", 1}, {"c.bmp", 1}, {"d.bmp", 1}, {"e.bmp", 1}});
  AnimaKeyframe laeuft = Key(0, 0, 0), halten = Key(4, 0, 0), weiter = Key(8, 0, 0);
  laeuft.Frame = -1;
  halten.Frame = 3;
  weiter.Frame = -1;
  weiter.Sichtbar = VBFalse;  // still animates while hidden
  AddAnima(0, Definition({Key(-1, 0, 0), laeuft, halten, weiter, Key(11, 0, 0)}, 20, sprite), 0);
  EXPECT_EQ(Ticks(0, 11, [] { return Teil().Bild; }), (std::vector<int32_t>{0, 1, 2, 3, 3, 3, 3, 3, 3, 4, 0}));
}

// ---- Life -----------------------------------------------------------------------------------

TEST_F(Animations, ANonLoopingAnimationLivesEndTickPlusOneTicks) {
  AddAnima(3, Definition({Key(-1, 0, 0), Key(0, 0, 0), Key(10, 0, 0), Key(11, 0, 0)}, 10), 0);
  const auto aktiv = Ticks(3, 12, [] { return Erste().Aktiv; });
  EXPECT_EQ(aktiv[9], VBTrue);
  EXPECT_EQ(aktiv[10], VBFalse);
  EXPECT_EQ(std::make_pair(AnimaMax, AnimaFrei), std::make_pair(-1, 0));
  EXPECT_TRUE(Erste().Teile.empty());
}

TEST_F(Animations, ALoopingAnimationStartsOverAtItsFirstKey) {
  // As the loader prepares a loop: key 0 is the last key before the period, the spare is
  // key 1 one period later.
  AnimaKeyframe start = Key(0, 0, 0);
  start.SpeedX = 3;
  AddAnima(1, Definition({Key(-1, 30, 0), start, Key(10, 30, 0, 1), Key(11, 0, 0)}, 10, -1, false, true), 0);
  const auto x = Ticks(1, 13, [] { return Teil().PosX; });
  EXPECT_EQ(x, (std::vector<float>{0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 0, 3}));
  EXPECT_EQ(std::make_pair(Erste().Tick, Erste().Aktiv), std::make_pair(2, VBTrue));
}

TEST_F(Animations, AScrollingAnimationLeavesPastItsRightExtent) {
  Ebenen[6].Speed = 4;
  const int32_t def = Definition({Key(-1, 0, 0), Key(0, 0, 0), Key(1000, 0, 0), Key(1001, 0, 0)}, 1000, -1,
                                 true, false, 50);
  AddAnima(6, def, 100);
  AddAnima(6, def, 100, 300.0);  // placed by x: scrolls all the same
  const auto x = Ticks(6, 214, [] { return std::make_pair(Animationen[0].X, Animationen[0].Aktiv); });
  // 800 - 4n: -48 is still within the extent, -52 is past it.
  EXPECT_EQ(x[211], std::make_pair(-48.0f, VBTrue));
  EXPECT_EQ(x[212], std::make_pair(-52.0f, VBFalse));
  EXPECT_EQ(std::make_pair(Animationen[1].X, Animationen[1].Aktiv), std::make_pair(-52.0f, VBFalse));
  // One that does not scroll stays put whatever its layer does.
  Animationen.Reset();
  AddAnima(6, Definition({Key(0, 0, 0), Key(1000, 0, 0)}, 1000, -1, false, false, 0), 0, -100.0);
  Ticks(6, 5, [] { return 0; });
  EXPECT_EQ(std::make_pair(Erste().X, Erste().Aktiv), std::make_pair(-100.0f, VBTrue));
}

// ---- Drawing --------------------------------------------------------------------------------

TEST_F(Animations, WhichLayersDrawAndAllAdvance) {
  const int32_t rot = worlddraw::Solid(20, 20, 0xFFFF0000);
  const int32_t sprite = Sprite({{"r.bmp", 1}}, {rot});
  const int32_t def = Definition({Key(-1, 100, 100), Key(0, 100, 100), Key(50, 100, 100)}, 50, sprite);
  struct Fall {
    int32_t ebene, modus;
    bool rendern, gezeichnet;
  } faelle[] = {{4, 0, true, true},  {4, -2, true, true}, {2, 0, true, false},
                {2, 1, true, true},  {0, 6, true, true},  {4, 1, false, false}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << "layer " << f.ebene << " mode " << f.modus << " drawn " << f.rendern);
    BackBuffer->BltColorFill(nullptr, 0);
    Animationen.Reset();
    AddAnima(f.ebene, def, 0);
    AddAnima(f.ebene == 4 ? 3 : 4, def, 0);  // another layer's waits its turn
    HintergrundModus = f.modus;
    Rendern = f.rendern;
    RenderStart();
    SpielMoveAnimation(f.ebene);
    RenderEnd();
    Rendern = true;
    EXPECT_EQ(Pixel(110, 110), f.gezeichnet ? 0xFF0000u : 0u);
    EXPECT_EQ(std::make_pair(Animationen[0].Tick, Animationen[1].Tick), std::make_pair(1, 0));
  }
}

// Four parts half-way through their keys: a tinted quad growing and turning, a glow drawn
// additively beside it, a plain picture stretched to twice its width, and the same picture
// at its natural size, which stands on whole pixels rounded down.
TEST_F(Animations, AnAnimationDrawnMidWayMatchesItsReferenceFrame) {
  auto ring = [](int x, int y) -> uint32_t {
    const int dx = 2 * x - 31, dy = 2 * y - 31, r = dx * dx + dy * dy;
    if (r > 31 * 31) return 0;
    return r > 20 * 20 ? 0xFFFFFFFFu : 0xFF4060C0u | static_cast<uint32_t>(x * 8) << 16;
  };
  auto streifen = [](int x, int y) -> uint32_t { return (x / 4 + y / 4) % 2 ? 0xFFE0C020u : 0xFF202080u; };
  const int32_t sRing = Sprite({{"ring.bmp", 1}}, {worlddraw::Picture(32, 32, true, true, ring)}, true);
  const int32_t sGlow = Sprite({{"glow.bmp", 1}}, {worlddraw::Solid(24, 24, 0xFF806040, true)}, true);
  const int32_t sBlit = Sprite({{"stripes.bmp", 1}}, {worlddraw::Picture(16, 12, false, true, streifen)});

  // Each part runs from its first key at tick 0 to its second at tick 20.
  auto teil = [](int32_t sprite, const AnimaKeyframe& von, const AnimaKeyframe& bis) {
    return AnimaTeilTyp{.Keys = {Key(-1, 0, 0), von, bis, Key(21, 0, 0)}, .Sprite = sprite};
  };
  AnimaTypDaten d{.Periode = 20};
  // The ring: from (20, 20) to (60, 40), white to orange and from opaque to half, 0 to 90
  // degrees, size 1 to 2.25.
  d.Teile.push_back(teil(sRing,
                         {.PosX = 20, .PosY = 20, .R = 1, .G = 1, .B = 1, .A = 1, .Sichtbar = VBTrue, .ZoomX = 1,
                          .ZoomY = 1, .SpeedX = 2, .SpeedY = 1, .DG = -0.025f, .DB = -0.05f, .DA = -0.025f,
                          .DWinkel = 4.5f, .DZoomX = 0.0625f, .DZoomY = 0.0625f},
                         Key(20, 60, 40, 1)));
  // The glow: still, fading in, additive.
  d.Teile.push_back(teil(sGlow,
                         {.PosX = 90, .PosY = 60, .R = 1, .G = 1, .B = 1, .A = 0, .Sichtbar = VBTrue, .Additiv = VBTrue,
                          .ZoomX = 1, .ZoomY = 1, .DA = 0.05f},
                         Key(20, 90, 60)));
  // The stripes: widening from 1 to 3 times about their centre; and held still.
  AnimaKeyframe breiter = Key(0, 110, 80);
  breiter.DZoomX = 0.1f;
  d.Teile.push_back(teil(sBlit, breiter, Key(20, 110, 80)));
  d.Teile.push_back(teil(sBlit, Key(0, 20.6f, 90.7f), Key(20, 20.6f, 90.7f)));
  AnimaTypen.push_back(d);

  AddAnima(4, AnimaTypenMax(), 0, 0.0);
  Rendern = false;
  for (int i = 0; i < 10; ++i) SpielMoveAnimation(4);
  Rendern = true;
  RenderStart();
  SpielMoveAnimation(4);
  RenderEnd();
  // Tick 10: the ring at (40, 30), 1.625 times its size, turned 45 degrees.
  EXPECT_EQ(std::make_tuple(Teil().PosX, Teil().PosY, Teil().ZoomX, Teil().Drehwinkel),
            std::make_tuple(40.0f, 30.0f, 1.625f, 45.0f));
  EXPECT_EQ(std::make_tuple(Pixel(19, 90), Pixel(20, 89), Pixel(20, 90)), std::make_tuple(0u, 0u, 0x202080u));
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/animation_mid_way_32.bmp", *BackBuffer,
                                              {0, 0, 160, 120}),
            "");
}
