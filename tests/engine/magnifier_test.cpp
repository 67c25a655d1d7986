// The magnifier and the noise overlay: what the lens copies, that a lens without ripple
// gives the picture back unchanged, its glow, the squares it skips, the queue, and the
// random numbers of the noise.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/display.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "player/nova_state.hpp"
#include "quad_fixture.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/pictures_state.hpp"
#include "support/fresh_state.hpp"

using namespace quadtest;

namespace {

// A busy background with black specks (black is the lens texture's key).
void Bunt() {
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const uint32_t v = static_cast<uint32_t>(x * 2654435761u ^ y * 40503u);
      const uint32_t c = (v % 11 == 0) ? 0 : 0x404040u | (v & 0xBFBFBFu);
      BackBuffer->SetPixel(x, y, platform::PackPixel(BackBuffer->Format(), c >> 16, c >> 8, c));
    }
}

class Lupen : public QuadTest {
 protected:
  void SetUp() override {
    QuadTest::SetUp();
    TexLupe = NeuesBild(256, 256, true, [](int, int) { return 0xFF123456u; });
    TexKreis2 = NeuesBild(16, 16, true, [](int, int) { return 0xFFFFFFFFu; });
    TexNoise = NeuesBild(256, 256, false, [](int x, int y) {
      return 0xFF000000u | static_cast<uint32_t>((x * 7 + y * 13) & 255) * 0x010101u;
    });
    Bunt();
  }
  void TearDown() override {
    testsupport::FreshState();
    QuadTest::TearDown();
  }
  static uint32_t Textur(int x, int y) { return Surfaces[TexLupe].Surface->GetPixel(x, y); }
};

}  // namespace

TEST_P(Lupen, ALensWithoutRippleGivesThePictureBack) {
  WeltAngehalten = -1;  // no glow
  for (float d : {100.0f, 256.0f, 37.0f}) {
    SCOPED_TRACE(d);
    Bunt();
    const platform::Surface vorher(*BackBuffer);
    RenderStart();
    Lupe(200, 150, d, 0, 9, false);
    RenderEnd();
    EXPECT_EQ(D3DDevice->DrawCalls() % 9, 0u);
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) ASSERT_EQ(BackBuffer->GetPixel(x, y), vorher.GetPixel(x, y)) << x << "," << y;
  }
}

TEST_P(Lupen, TheCopyTakesOneMorePixelUnlessItFillsTheTexture) {
  const platform::Surface bb(*BackBuffer);
  RenderStart();
  Lupe(200, 300, 100, 0, 9, true);
  EXPECT_EQ(Textur(100, 100), bb.GetPixel(300, 400));  // 101 columns and rows copied
  EXPECT_EQ(Textur(101, 0), 0u);                       // the rest cleared
  EXPECT_EQ(Textur(0, 101), 0u);
  Lupe(500, 200, 256, 0, 9, true);
  EXPECT_EQ(Textur(255, 255), bb.GetPixel(755, 455));
  // Left of and above the screen: the visible part lands where the square would have been.
  Lupe(-5, -3, 50, 0, 9, true);
  EXPECT_EQ(Textur(5, 3), bb.GetPixel(0, 0));
  EXPECT_EQ(Textur(50, 50), bb.GetPixel(45, 47));
  EXPECT_EQ(Textur(4, 3), 0u);
  // Cut at the play area's bottom (550), not the screen's.
  Lupe(0, 540, 30, 0, 9, true);
  EXPECT_EQ(Textur(0, 9), bb.GetPixel(0, 549));
  EXPECT_EQ(Textur(0, 10), 0u);
  RenderEnd();
}

TEST_P(Lupen, TheGlowLiesOverTheFirstPatternOnlyWhileTheWorldMoves) {
  struct Fall {
    bool rein, angehalten;
    uint64_t quads;  // 9 bands, and the glow
  };
  for (const Fall& f : {Fall{false, false, 10}, Fall{true, false, 9}, Fall{false, true, 9}}) {
    SCOPED_TRACE(testing::Message() << "Rein " << f.rein << ", frozen " << f.angehalten);
    WeltAngehalten = f.angehalten ? -1 : 0;
    RenderStart();
    const uint64_t n = D3DDevice->DrawCalls();
    Lupe(100, 100, 64, 0.01f, 9, f.rein);
    EXPECT_TRUE(D3DDevice->InScene());  // the scene is open again for what follows
    EXPECT_EQ(AktuelleTextur, f.quads == 10 ? TexKreis2 : TexLupe);
    EXPECT_EQ(FilterAktiv, f.quads == 9);  // the lens filters; the glow's Render does not
    RenderEnd();
    EXPECT_EQ(D3DDevice->DrawCalls() - n, f.quads);
  }
  // With no ripple the glow sits exactly on the square.
  WeltAngehalten = 0;
  RenderStart();
  Lupe(100, 100, 64, 0, 9, false);
  RenderEnd();
  EXPECT_FLOAT_EQ(Surfaces[TexKreis2].Vertex[1].sx, 100);
  EXPECT_FLOAT_EQ(Surfaces[TexKreis2].Vertex[1].sy, 100);
  EXPECT_FLOAT_EQ(Surfaces[TexKreis2].Vertex[2].sy, 164);
  EXPECT_EQ(Surfaces[TexKreis2].Vertex[2].color, GetRGBA(1, 1, 1, 0.1f));
}

TEST_P(Lupen, SquaresThatLeaveNothingToCopyAreSkipped) {
  struct Fall {
    float x, y, d, teile;
  };
  const Fall faelle[] = {{100, 560, 40, 9},   {810, 100, 40, 9}, {-60, 100, 40, 9}, {100, 100, 0, 9},
                         {100, 100, -20, 9}, {100, 100, 40, 0}, {100, 100, 40, 0.4f}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.x << "," << f.y << " d " << f.d << " parts " << f.teile);
    RenderStart();
    const uint64_t n = D3DDevice->DrawCalls();
    Lupe(f.x, f.y, f.d, 0.01f, f.teile, false);
    EXPECT_EQ(D3DDevice->DrawCalls(), n);
    EXPECT_TRUE(D3DDevice->InScene());
    RenderEnd();
  }
  // Larger than the texture: the copy is cut to it and the lens drawn.
  RenderStart();
  const platform::Surface bb(*BackBuffer);
  Lupe(100, 100, 400, 0, 9, false);
  EXPECT_EQ(Textur(255, 255), bb.GetPixel(355, 355));
  RenderEnd();
  // In a skipped frame nothing at all.
  Rendern = false;
  Lupe(100, 100, 50, 0, 9, false);
  Rendern = true;
}

TEST_P(Lupen, TheQueueIsDrawnInOrderAndEmptied) {
  RenderStart();
  LupeAuftraegeZeichnen();
  EXPECT_EQ(LupeAuftraegeMax(), -1);
  EXPECT_EQ(D3DDevice->DrawCalls(), 0u);
  LupeAuftraege.push_back({10, 10, 0.01f, 30, 1});   // Rein 1: the second pattern, no glow
  LupeAuftraege.push_back({100, 10, 0.01f, 30, 2});  // any other value: the first, with glow
  EXPECT_EQ(LupeAuftraegeMax(), 1);
  LupeAuftraegeZeichnen();
  RenderEnd();
  EXPECT_EQ(LupeAuftraegeMax(), -1);
  EXPECT_EQ(D3DDevice->DrawCalls(), 9u + 9u + 1u);
}

TEST_P(Lupen, NoiseTakesFourNumbersPerCellAndOnlyWhenVisible) {
  SetRndState(777);
  for (int i = 0; i < 48; ++i) Rnd();
  const uint32_t nach48 = RndState();
  SetRndState(777);
  RenderStart();
  MakeSomeNoise(0);
  MakeSomeNoise(-0.5f);
  EXPECT_EQ(RndState(), 777u);
  EXPECT_EQ(D3DDevice->DrawCalls(), 0u);
  MakeSomeNoise(0.25f);
  RenderEnd();
  EXPECT_EQ(RndState(), nach48);
  EXPECT_EQ(D3DDevice->DrawCalls(), 12u);
  // The last cell (column 3, row 2) reaches beyond the screen; its window is 255 texels
  // wide either way round, at the opacity asked for.
  const std::array<D3DTLVERTEX, 4>& v = Surfaces[TexNoise].Vertex;
  EXPECT_FLOAT_EQ(v[1].sx, 768);
  EXPECT_FLOAT_EQ(v[1].sy, 512);
  EXPECT_FLOAT_EQ(std::fabs(v[3].tu - v[1].tu) * 256, 255);
  EXPECT_FLOAT_EQ(std::fabs(v[0].tv - v[1].tv) * 256, 255);
  EXPECT_EQ(static_cast<uint32_t>(v[0].color) >> 24, 64u);
}

INSTANTIATE_TEST_SUITE_P(Depths, Lupen, ::testing::Values(16, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });
