// Lightning, lines and trails: the bar quad they leave behind, the random numbers a bolt
// takes and gives back, the trail's history and joints, and an effects card compared with
// its reference picture at both depths.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/display.hpp"
#include "engine/magnifier.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "platform/rasteriser.hpp"
#include "quad_fixture.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "support/golden.hpp"
#include "world/pictures_state.hpp"

using namespace quadtest;

namespace {

// The bar: bright in its middle rows, fading to the edges (across the line's width).
int32_t Balken() {
  return NeuesBild(16, 8, true, [](int, int y) {
    const uint32_t v = static_cast<uint32_t>(255 - std::abs(2 * y - 7) * 30);
    return 0xFF000000u | (v << 16) | (v << 8) | v;
  });
}

// A round glow with alpha.
int32_t Kreis() {
  const platform::PixelFormat f = BackBuffer->Format() == platform::PixelFormat::RGB565
                                      ? platform::PixelFormat::ARGB4444
                                      : platform::PixelFormat::ARGB8888;
  return NeuesBild(16, 16, f, false, [](int x, int y) {
    const double d = std::hypot(x - 7.5, y - 7.5) / 8;
    return (static_cast<uint32_t>(d >= 1 ? 0 : 255 * (1 - d)) << 24) | 0xFFFFFF;
  });
}

std::array<D3DTLVERTEX, 4> Quad() { return Surfaces[TexBalken].Vertex; }

// The state of the random sequence after `n` more numbers.
uint32_t Nach(uint32_t zustand, int n) {
  const uint32_t jetzt = RndState();
  SetRndState(zustand);
  for (int i = 0; i < n; ++i) Rnd();
  const uint32_t r = RndState();
  SetRndState(jetzt);
  return r;
}

class Primitive : public QuadTest {
 protected:
  void SetUp() override {
    QuadTest::SetUp();
    TexBalken = Balken();
    SetRndState(12345);
  }
};

}  // namespace

TEST_P(Primitive, ASeededBoltHasTheSameShapeAndTheSequenceGoesOn) {
  auto blitz = [] {
    RenderStart();
    Blitz(10, 300, 700, 320, 6, 7, 25, 0.6f, 0.7f, 1, 42.7, true);
    RenderEnd();
    return Quad();
  };
  const uint32_t vorher = RndState();
  const std::array<D3DTLVERTEX, 4> erster = blitz();
  const platform::Surface bild1(*BackBuffer);
  // After the bolt: one number was drawn (R0), then the sequence was restarted from R0.
  SetRndState(vorher);
  const int32_t r0 = static_cast<int32_t>(Int(Rnd() * 10000.0f));
  RndReset();
  Randomize(r0);
  Rnd();
  const uint32_t erwartet = RndState();
  SetRndState(vorher);
  blitz();
  EXPECT_EQ(RndState(), erwartet);
  EXPECT_FALSE(Filtern);

  // Again on a fresh screen: the same bolt, but the game's sequence does not repeat.
  BackBuffer->BltColorFill(nullptr, 0);
  const uint32_t davor = RndState();
  const std::array<D3DTLVERTEX, 4> zweiter = blitz();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(zweiter[i].sx, erster[i].sx);
    EXPECT_EQ(zweiter[i].sy, erster[i].sy);
  }
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) ASSERT_EQ(BackBuffer->GetPixel(x, y), bild1.GetPixel(x, y)) << x << "," << y;
  EXPECT_NE(RndState(), erwartet);
  EXPECT_NE(davor, vorher);
}

TEST_P(Primitive, AnUnseededBoltTakesOneNumberPerJointAndOneMore) {
  const uint32_t vorher = RndState();
  RenderStart();
  Blitz(0, 0, 100, 0, 2, 4, 5, 1, 1, 1);
  RenderEnd();
  EXPECT_EQ(RndState(), Nach(vorher, 1 + 4));
  EXPECT_EQ(D3DDevice->DrawCalls(), 5u);
}

TEST_P(Primitive, NothingIsDrawnOrTakenInASkippedFrame) {
  const uint32_t vorher = RndState();
  std::vector<float> X, Y;
  SchweifInit(X, Y, 4);
  RenderStart();
  Rendern = false;
  Blitz(0, 0, 100, 0, 2, 4, 5, 1, 1, 1, 3.0);
  Linie(0, 0, 50, 50, 2, 1, 1, 1, 1, 1, 1, 1, 1, false);
  SchweifZeichnen(5, 6, X, Y, 4, 2, 1, 1, 1, false, true);
  Rendern = true;
  RenderEnd();
  EXPECT_EQ(RndState(), vorher);
  EXPECT_EQ(D3DDevice->DrawCalls(), 0u);
  // The trail's history still moved on.
  EXPECT_EQ(X[4], 5.0f);
  EXPECT_EQ(Y[4], 6.0f);
}

TEST_P(Primitive, AStraightBoltLiesOnItsLine) {
  RenderStart();
  // No joints: one quad from end to end, its edge points a half-width either side.
  Blitz(100, 100, 200, 100, 5, 0, 30, 1, 1, 1);
  std::array<D3DTLVERTEX, 4> v = Quad();
  EXPECT_NEAR((v[0].sx + v[1].sx) / 2, 100, 1e-3);
  EXPECT_NEAR((v[2].sx + v[3].sx) / 2, 200, 1e-3);
  EXPECT_NEAR(std::abs(v[0].sy - v[1].sy), 10, 1e-3);
  // No scatter: every joint on the line; the last segment starts at the fourth joint.
  Blitz(100, 100, 200, 150, 5, 4, 0, 1, 1, 1);
  v = Quad();
  EXPECT_NEAR((v[0].sx + v[1].sx) / 2, 180, 1e-3);
  EXPECT_NEAR((v[0].sy + v[1].sy) / 2, 140, 1e-3);
  RenderEnd();
  EXPECT_EQ(D3DDevice->DrawCalls(), 6u);
}

TEST_P(Primitive, ALineFromAPointToItselfHasNoArea) {
  RenderStart();
  Linie(10, 10, 10, 10, 3, 1, 0, 0, 1, 0, 0, 1, 0.5f, true);
  RenderEnd();
  const std::array<D3DTLVERTEX, 4> v = Quad();
  EXPECT_EQ(v[0].color, GetRGBA(1, 0, 0, 1));
  EXPECT_EQ(v[3].color, GetRGBA(0, 0, 1, 0.5f));
  EXPECT_EQ(v[0].sx, v[2].sx);
  EXPECT_EQ(v[1].sy, v[3].sy);
}

TEST_P(Primitive, ATrailGrowsFromItsNewestEnd) {
  std::vector<float> X, Y;
  SchweifInit(X, Y, 10);
  ASSERT_EQ(X.size(), 11u);
  for (float x : X) EXPECT_EQ(x, -1.0f);
  RenderStart();
  SchweifZeichnen(50, 60, X, Y, 10, 4, 1, 1, 1, false, true);
  EXPECT_EQ(X[10], 50.0f);
  EXPECT_EQ(D3DDevice->DrawCalls(), 0u);  // the first point collapses the pair to itself
  SchweifZeichnen(70, 60, X, Y, 10, 4, 1, 1, 1, false, true);
  EXPECT_EQ(D3DDevice->DrawCalls(), 1u);  // a wedge from the older point
  const std::array<D3DTLVERTEX, 4> v = Quad();
  EXPECT_EQ(v[0].sx, 50.0f);
  EXPECT_EQ(v[1].sx, 50.0f);
  EXPECT_EQ(v[0].color, GetRGBA(1, 1, 1, 0.9f));
  EXPECT_EQ(v[2].color, GetRGBA(1, 1, 1, 1));
  // Drawn unchanged: the history stays.
  const std::vector<float> x = X;
  SchweifZeichnen(999, 999, X, Y, 10, 4, 1, 1, 1, false, false);
  EXPECT_EQ(X, x);
  EXPECT_EQ(D3DDevice->DrawCalls(), 2u);
  // A full trail of a straight movement draws one quad per point after the oldest.
  for (int i = 0; i < 12; ++i) SchweifZeichnen(100.0f + 5 * i, 200, X, Y, 10, 4, 1, 1, 1, false, true);
  const uint64_t n = D3DDevice->DrawCalls();
  SchweifZeichnen(0, 0, X, Y, 10, 4, 1, 1, 1, false, false);
  EXPECT_EQ(D3DDevice->DrawCalls(), n + 10);
  // A history not made for this N is left alone.
  std::vector<float> kurz(3, -1.0f);
  SchweifZeichnen(1, 1, kurz, kurz, 10, 4, 1, 1, 1, false, true);
  EXPECT_EQ(kurz, std::vector<float>(3, -1.0f));
  RenderEnd();
}

TEST_P(Primitive, BentJointsTakeTheMeanDirection) {
  // Three points: the joint at the middle one is the end pair of the first quad, which the
  // second step copies into vertices 0 and 1 before it draws.
  struct Fall {
    int ein, aus, joint;  // directions in whole degrees as WinkelInGrad gives them
  };
  const Fall faelle[] = {{0, 90, 45}, {90, 0, 45}, {100, 130, 100}, {300, 30, 345}, {30, 300, 345}, {10, 350, 10}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.ein << " -> " << f.aus);
    // WinkelInGrad gives the direction of the negated difference.
    auto schritt = [](int grad) {
      return std::make_pair(-20 * std::cos(grad * 3.14159265 / 180), -20 * std::sin(grad * 3.14159265 / 180));
    };
    const auto [dx1, dy1] = schritt(f.ein);
    const auto [dx2, dy2] = schritt(f.aus);
    ASSERT_EQ(CLng(WinkelInGrad(static_cast<float>(dx1), static_cast<float>(dy1))), f.ein % 360);
    std::vector<float> X = {300, static_cast<float>(300 + dx1), static_cast<float>(300 + dx1 + dx2)};
    std::vector<float> Y = {300, static_cast<float>(300 + dy1), static_cast<float>(300 + dy1 + dy2)};
    RenderStart();
    SchweifZeichnen(0, 0, X, Y, 2, 5, 1, 1, 1, false, false);
    RenderEnd();
    const std::array<D3DTLVERTEX, 4> v = Quad();
    EXPECT_NEAR(v[0].sx, X[1] + CosinusB(f.joint - 90) * 5, 1e-3);
    EXPECT_NEAR(v[0].sy, Y[1] + SinusB(f.joint - 90) * 5, 1e-3);
    EXPECT_NEAR(v[1].sx, X[1] + CosinusB(f.joint + 90) * 5, 1e-3);
  }
}

// ---- the effects card ----

namespace {

void ZeichneEffekte() {
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 128; ++x) {
      const bool feld = ((x / 8) + (y / 8)) % 2 == 0 && x > 64 && y > 44;
      const uint32_t r = feld ? 200 : 10 + x / 4, g = feld ? 180 : 20, b = feld ? 40 : 40 + y / 2;
      BackBuffer->SetPixel(x, y, platform::PackPixel(BackBuffer->Format(), r, g, b));
    }
  TexKreis2 = Kreis();
  TexLupe = NeuesBild(256, 256, true, [](int, int) { return 0xFF808080u; });
  RenderStart();
  Blitz(4, 8, 124, 20, 3, 6, 8, 0.6f, 0.6f, 1, 42.0, true);
  Blitz(4, 30, 60, 24, 1.5f, 3, 4, 1, 0.9f, 0.5f);
  Linie(6, 40, 60, 58, 4, 1, 0, 0, 1, 0, 0.4f, 1, 0.3f, false);
  // A trail after twenty ticks of a point going round, drawn only in the last.
  std::vector<float> X, Y;
  SchweifInit(X, Y, 12);
  for (int t = 0; t < 20; ++t) {
    Rendern = t == 19;
    SchweifZeichnen(32 + 24 * CosinusB(18 * t), 72 + 18 * SinusB(18 * t), X, Y, 12, 3, 0.3f, 1, 0.4f, true, true);
  }
  Rendern = true;
  // A lens over the chequered corner, rippled, with its glow.
  Lupe(70, 48, 48, 0.03f, 9, false);
  RenderEnd();
}

}  // namespace

TEST_P(Primitive, EffectsCardMatchesItsReference) {
  for (platform::raster::Loops breite : Breiten()) {
    SCOPED_TRACE(static_cast<int>(breite));
    OeffneAnzeige(Format());
    TexBalken = Balken();
    SetRndState(12345);
    platform::raster::LimitLoops(breite);
    ZeichneEffekte();
    platform::raster::LimitLoops(platform::raster::WidestLoops());
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/engine/golden/effects_" + std::to_string(GetParam()) + ".bmp",
                                                *BackBuffer, {0, 0, 128, 96}),
              "");
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, Primitive, ::testing::Values(16, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });
