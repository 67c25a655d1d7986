// The textured-quad renderer: the vertices the set-ups write, the state cache, and a test
// card of quads compared with its reference picture at both colour depths.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "quad_fixture.hpp"
#include "shell/angles.hpp"
#include "shell/program.hpp"
#include "support/golden_bmp.hpp"

using namespace quadtest;
using platform::PixelFormat;

namespace {

// A background that shows blending: a soft diagonal gradient with a grid.
void Hintergrund(int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool gitter = x % 16 == 0 || y % 16 == 0;
      const uint32_t r = gitter ? 90 : 20 + x / 2, g = gitter ? 90 : 30 + y, b = gitter ? 90 : 60;
      BackBuffer->SetPixel(x, y, platform::PackPixel(BackBuffer->Format(), r, g, b));
    }
}

// A round alpha picture: opaque in the middle, fading out to the edge.
uint32_t Glut(int x, int y, int w, int h) {
  const double dx = x + 0.5 - w / 2.0, dy = y + 0.5 - h / 2.0;
  const double d = std::sqrt(dx * dx + dy * dy) / (w / 2.0);
  const uint32_t a = d >= 1 ? 0 : static_cast<uint32_t>(255 * (1 - d));
  return (a << 24) | 0xFFC040u;
}

RECT Rechteck(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

void ZeichneTestbild() {
  Hintergrund(128, 96);
  const int32_t bild = NeuesBild(16, 16, true, [](int x, int y) { return Muster(x, y, 16, 16); });
  const PixelFormat alphaFormat = BackBuffer->Format() == PixelFormat::RGB565 ? PixelFormat::ARGB4444
                                                                               : PixelFormat::ARGB8888;
  const int32_t glut = NeuesBild(16, 16, alphaFormat, false, [](int x, int y) { return Glut(x, y, 16, 16); });
  const RECT ganz = Surfaces[bild].SrcRect;
  RenderStart();
  // Row 1: unscaled, then turned by 0, 90, 300 and -45 degrees.
  ShowSprite(bild, 2, 2, true);
  const int winkel[4] = {0, 90, 300, -45};
  for (int i = 0; i < 4; ++i) {
    SetUpGeom(bild, ganz, Rechteck(22 + 24 * i, 2, 42 + 24 * i, 22), 1, 1, 1, 1, winkel[i]);
    Render(bild, false);
  }
  // Row 2: tinted, half transparent, additive, additive twice, and the alpha picture in
  // both modes.
  SetUpGeom(bild, ganz, Rechteck(2, 26, 22, 46), 0.5f, 1, 0.3f, 1, 0);
  Render(bild, false);
  SetUpGeom(bild, ganz, Rechteck(24, 26, 44, 46), 1, 1, 1, 0.5f, 0);
  Render(bild, false);
  SetUpGeom(bild, ganz, Rechteck(46, 26, 66, 46), 1, 1, 1, 0.7f, 0);
  Render(bild, true);
  Render(bild, true);
  SetUpGeom(glut, Surfaces[glut].SrcRect, Rechteck(70, 26, 94, 50), 1, 1, 1, 1, 0);
  Render(glut, false);
  SetUpGeom(glut, Surfaces[glut].SrcRect, Rechteck(98, 26, 122, 50), 0.5f, 0.8f, 1, 1, 15);
  Render(glut, true);
  // Row 3: stretched with points, stretched filtered (keyed edges go soft), a part of the
  // picture filtered at a sub-pixel position, and shrunk (always points).
  SetUpGeom(bild, ganz, Rechteck(2, 52, 34, 84), 1, 1, 1, 1, 0);
  Render(bild, false);
  ShowSpriteRect(bild, 36, 52, 68, 84, true);
  SetUpGeom(bild, Rechteck(4, 4, 12, 12), Rechteck(0, 0, 24, 24), 1, 1, 1, 1, 0);
  SetUpXY(bild, 70.25f, 52.5f);
  SetUpRect(bild, 70.25f, 52.5f, 94.75f, 77.0f);
  Filtern = true;
  Render(bild, false);
  Filtern = false;
  SetUpGeom(bild, ganz, Rechteck(98, 52, 108, 62), 1, 1, 1, 1, 0);
  Filtern = true;
  Render(bild, false);
  Filtern = false;
  // A flat quad without picture colour: the white quad of a fade.
  SetUpGeom(bild, ganz, Rechteck(98, 66, 126, 94), 1, 0.2f, 0.2f, 0.35f, -30);
  Render(bild, true);
  RenderEnd();
}

}  // namespace

TEST_P(QuadTest, TestCardMatchesItsReference) {
  ZeichneTestbild();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/engine/golden/quads_" + std::to_string(GetParam()) + ".bmp",
                                              *BackBuffer, {0, 0, 128, 96}),
            "");
}

INSTANTIATE_TEST_SUITE_P(Depths, QuadTest, ::testing::Values(16, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });
