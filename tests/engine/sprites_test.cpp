// The sprite calls: the blit path's clipping at the screen's edges (the picture keeps its
// proportions), and the quad path's filter request.
#include <gtest/gtest.h>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "quad_fixture.hpp"

using namespace quadtest;

namespace {

// Column c of the picture carries c + 1 in the top bits of red (5) and green (6), which
// both depths keep.
int32_t Spalten(int w, int h) {
  return NeuesBild(w, h, true, [](int x, int) {
    const uint32_t n = static_cast<uint32_t>(x + 1);
    return 0xFF000000u | (((n >> 6) << 3) << 16) | (((n & 63) << 2) << 8);
  });
}

// The picture column shown at screen column x of row y, -1 for none.
int Spalte(int x, int y) {
  const uint32_t c = Farbe(x, y);
  return static_cast<int>(((c >> 16) >> 3) * 64 + (((c >> 8) & 255) >> 2)) - 1;
}

}  // namespace

TEST_P(QuadTest, ShowSpriteCutsThePictureAtTheScreensEdges) {
  struct Fall {
    int dx;
    int erste, letzte;  // screen columns drawn
    int spalteBeiErster;
  };
  const Fall faelle[] = {{-10, 0, 21, 10}, {790, 790, 799, 0}, {800, -1, -1, 0}, {-32, -1, -1, 0}, {100, 100, 131, 0}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.dx);
    OeffneAnzeige(Format());
    const int32_t nr = Spalten(32, 4);
    ShowSprite(nr, f.dx, 598, false);
    for (int x = 0; x < 800; ++x) {
      const bool drin = f.erste >= 0 && x >= f.erste && x <= f.letzte;
      ASSERT_EQ(Spalte(x, 598), drin ? f.spalteBeiErster + (x - f.erste) : -1) << x;
      ASSERT_EQ(Spalte(x, 599), drin ? f.spalteBeiErster + (x - f.erste) : -1) << x;
    }
  }
}

TEST_P(QuadTest, ShowSpriteRectKeepsTheProportionsWhereItIsCut) {
  struct Fall {
    int breite;
    float links, rechts;
    int ersteSpalte, letzteSpalte;  // picture columns shown from screen column max(links, 0)
    int ersteX, letzteX;
  };
  const Fall faelle[] = {
      {50, -100, 100, 25, 49, 0, 99},  // the left half is cut: the right half of the picture shows
      {100, 700, 900, 0, 49, 700, 799},
      {10, 10, 30, 0, 9, 10, 29},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.links << ".." << f.rechts);
    OeffneAnzeige(Format());
    const int32_t nr = Spalten(f.breite, 2);
    ShowSpriteRect(nr, f.links, 100, f.rechts, 102, false);
    EXPECT_EQ(Spalte(f.ersteX, 100), f.ersteSpalte);
    EXPECT_EQ(Spalte(f.letzteX, 100), f.letzteSpalte);
    if (f.ersteX > 0) {
      EXPECT_EQ(Spalte(f.ersteX - 1, 100), -1);
    }
    if (f.letzteX < 799) {
      EXPECT_EQ(Spalte(f.letzteX + 1, 100), -1);
    }
  }
  // Above and below the screen the same on the other axis; entirely off screen nothing.
  OeffneAnzeige(Format());
  const int32_t nr = Spalten(4, 40);
  ShowSpriteRect(nr, 0, -20, 4, 20, false);
  ShowSpriteRect(nr, 10, 580, 14, 620, false);
  ShowSpriteRect(nr, 20, 600, 24, 640, false);
  ShowSpriteRect(nr, 30, 10, 30, 40, false);  // no width
  EXPECT_EQ(Spalte(0, 0), 0);
  EXPECT_EQ(Spalte(0, 19), 0);
  EXPECT_EQ(Spalte(0, 20), -1);
  EXPECT_EQ(Spalte(10, 599), 0);
  EXPECT_EQ(Spalte(20, 599), -1);
  EXPECT_EQ(Spalte(30, 20), -1);
}

TEST_P(QuadTest, NegativeNumbersDrawNothingOnEitherPath) {
  const platform::Surface vorher(*BackBuffer);
  RenderStart();
  ShowSprite(-1, 10, 10, true);
  RenderEnd();
  ShowSprite(-1, 10, 10, false);
  EXPECT_EQ(D3DDevice->DrawCalls(), 0u);
  for (int y = 0; y < 600; y += 7)
    for (int x = 0; x < 800; x += 7) ASSERT_EQ(BackBuffer->GetPixel(x, y), vorher.GetPixel(x, y));
}

TEST_P(QuadTest, TheStretchedQuadIsFilteredAndTheRequestEnds) {
  const int32_t nr = NeuesBild(4, 4, false, [](int x, int) { return x < 2 ? 0xFFFFFFFFu : 0xFF000000u; });
  RenderStart();
  ShowSpriteRect(nr, 0, 0, 16, 16, true);
  EXPECT_FALSE(Filtern);
  EXPECT_TRUE(FilterAktiv);
  RenderEnd();
  // Linear magnification: a soft step from white to black between columns 4 and 12.
  const uint32_t mitte = Farbe(8, 8) & 0xFF;
  EXPECT_GT(mitte, 0u);
  EXPECT_LT(mitte, 255u);
  EXPECT_EQ(Farbe(4, 8), 0xFFFFFFu);
}
