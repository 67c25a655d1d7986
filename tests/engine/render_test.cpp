// The textured-quad renderer: the vertices the set-ups write, the state cache, and a test
// card of quads compared with its reference picture at both colour depths.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "platform/headless/headless.hpp"
#include "platform/rasteriser.hpp"
#include "quad_fixture.hpp"
#include "run/program.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"

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

}  // namespace

namespace {

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
  // The same picture from the plain loops and from every vectorised width this machine has.
  for (platform::raster::Loops breite : Breiten()) {
    SCOPED_TRACE(static_cast<int>(breite));
    OeffneAnzeige(Format());
    platform::raster::LimitLoops(breite);
    ZeichneTestbild();
    platform::raster::LimitLoops(platform::raster::WidestLoops());
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/engine/golden/quads_" + std::to_string(GetParam()) + ".bmp",
                                                *BackBuffer, {0, 0, 128, 96}),
              "");
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, QuadTest, ::testing::Values(16, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

// ---- the set-ups ----

namespace {

class Aufbau : public ::testing::Test {
 protected:
  void SetUp() override { OeffneAnzeige(PixelFormat::XRGB8888); }
  void TearDown() override { SchliesseAnzeige(); }
  // A 64 x 32 picture drawing its part (2, 3) - (34, 27).
  int32_t Bild() {
    const int32_t nr = NeuesBild(64, 32, true, [](int x, int y) { return Muster(x, y, 64, 32); });
    Surfaces[nr].SrcRect = {2, 3, 34, 27};
    return nr;
  }
  static void Ecken(int32_t nr, std::array<std::pair<float, float>, 4> soll) {
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(Surfaces[nr].Vertex[i].sx, soll[i].first) << "vertex " << i;
      EXPECT_FLOAT_EQ(Surfaces[nr].Vertex[i].sy, soll[i].second) << "vertex " << i;
    }
  }
};

}  // namespace

TEST_F(Aufbau, PartialSettersWriteTheirFieldsOnly) {
  const int32_t nr = Bild();
  const std::array<D3DTLVERTEX, 4> vorher = Surfaces[nr].Vertex;
  SetUpXY(nr, 10.5f, 20);
  Ecken(nr, {{{10.5f, 44}, {10.5f, 20}, {42.5f, 44}, {42.5f, 20}}});
  SetUpRect(nr, 1, 2, 3, 4);
  Ecken(nr, {{{1, 4}, {1, 2}, {3, 4}, {3, 2}}});
  SetUpTUTV(nr, 0.1f, 0.2f, 0.3f, 0.4f);
  const float tu[4] = {0.1f, 0.1f, 0.3f, 0.3f}, tv[4] = {0.4f, 0.2f, 0.4f, 0.2f};
  SetUpColor(nr, 1, 0.5f, 0, 0.25f);
  for (int i = 0; i < 4; ++i) {
    const D3DTLVERTEX& v = Surfaces[nr].Vertex[i];
    EXPECT_FLOAT_EQ(v.tu, tu[i]);
    EXPECT_FLOAT_EQ(v.tv, tv[i]);
    EXPECT_EQ(v.color, GetRGBA(1, 0.5f, 0, 0.25f));
    EXPECT_EQ(v.sz, vorher[i].sz);
    EXPECT_EQ(v.rhw, vorher[i].rhw);
    EXPECT_EQ(v.specular, vorher[i].specular);
  }
}

TEST_F(Aufbau, GeomWritesWholeVerticesAndTurnsAboutTheCentre) {
  const int32_t nr = Bild();
  SetUpGeom(nr, RECT{2, 3, 34, 27}, RECT{0, 0, 10, 10}, 1, 1, 1, 0.5f, 0);
  Ecken(nr, {{{0, 10}, {0, 0}, {10, 10}, {10, 0}}});
  const float tu[4] = {2 / 64.0f, 2 / 64.0f, 34 / 64.0f, 34 / 64.0f}, tv[4] = {27 / 32.0f, 3 / 32.0f, 27 / 32.0f, 3 / 32.0f};
  for (int i = 0; i < 4; ++i) {
    const D3DTLVERTEX& v = Surfaces[nr].Vertex[i];
    EXPECT_EQ(v.sz, 0.0f);
    EXPECT_EQ(v.rhw, 1.0f);
    EXPECT_EQ(v.specular, 1);
    EXPECT_EQ(v.color, GetRGBA(1, 1, 1, 0.5f));
    EXPECT_FLOAT_EQ(v.tu, tu[i]);
    EXPECT_FLOAT_EQ(v.tv, tv[i]);
  }
  // A quarter turn clockwise about (4.5, 4.5): the left-top corner goes to the right.
  SetUpGeom(nr, RECT{2, 3, 34, 27}, RECT{0, 0, 10, 10}, 1, 1, 1, 1, 90);
  const float soll[4][2] = {{-1, 0}, {9, 0}, {-1, 10}, {9, 10}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(Surfaces[nr].Vertex[i].sx, soll[i][0], 1e-5) << i;
    EXPECT_NEAR(Surfaces[nr].Vertex[i].sy, soll[i][1], 1e-5) << i;
  }
  // Moving it keeps everything but the corners.
  const std::array<D3DTLVERTEX, 4> gedreht = Surfaces[nr].Vertex;
  SetUpXY(nr, 100, 100);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Surfaces[nr].Vertex[i].tu, gedreht[i].tu);
    EXPECT_EQ(Surfaces[nr].Vertex[i].color, gedreht[i].color);
    EXPECT_EQ(Surfaces[nr].Vertex[i].rhw, gedreht[i].rhw);
    EXPECT_EQ(Surfaces[nr].Vertex[i].specular, gedreht[i].specular);
  }
}

TEST_F(Aufbau, AnglesWrapRoundTheCircle) {
  const int32_t nr = Bild();
  auto ecken = [&](int32_t winkel) {
    SetUpGeom(nr, RECT{0, 0, 8, 8}, RECT{10, 20, 50, 44}, 1, 1, 1, 1, winkel);
    return Surfaces[nr].Vertex;
  };
  const std::array<D3DTLVERTEX, 4> a300 = ecken(300), aMinus60 = ecken(-60), a660 = ecken(660);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(a300[i].sx, aMinus60[i].sx);
    EXPECT_EQ(a300[i].sy, a660[i].sy);
  }
  // 300 degrees looks the tables up at 390, that is 30: cosine of 300 is the sine of 30.
  const std::array<D3DTLVERTEX, 4> v = ecken(300);
  EXPECT_NEAR(v[1].sx, (20 - 31.5f) * CosTab[30] + (10 - 29.5f) * SinTab[30] + 29.5f, 1e-4);
  // The extremes of the integer do not overflow.
  ecken(std::numeric_limits<int32_t>::max());
  ecken(std::numeric_limits<int32_t>::min());
}

TEST_F(Aufbau, AShrunkenPictureWithoutWidthDividesByOne) {
  const int32_t nr = NeuesBild(1, 1, false, [](int, int) { return 0xFFFFFFFFu; });
  SurfaceKorrektur(nr);
  ASSERT_EQ(Surfaces[nr].Width, 0);
  SetUpGeom(nr, RECT{0, 0, 3, 5}, RECT{0, 0, 4, 4}, 1, 1, 1, 1, 0);
  EXPECT_EQ(Surfaces[nr].Vertex[3].tu, 3.0f);
  EXPECT_EQ(Surfaces[nr].Vertex[0].tv, 5.0f);
}

// ---- the state cache ----

TEST_F(Aufbau, EqualRendersSetNoStateBetweenTheirDraws) {
  const int32_t a = Bild(), b = Bild();
  RenderStart();
  uint64_t n = D3DDevice->StateCalls();
  Render(a, false);  // the first binds its texture: nothing is bound after RenderStart
  EXPECT_EQ(D3DDevice->StateCalls(), n + 1);
  EXPECT_EQ(AktuelleTextur, a);
  n = D3DDevice->StateCalls();
  Render(a, false);
  EXPECT_EQ(D3DDevice->StateCalls(), n);
  // Additive and back: the blend pair each time.
  Render(a, true);
  EXPECT_EQ(D3DDevice->StateCalls(), n + 2);
  EXPECT_TRUE(BlendModus);
  Render(a, false);
  EXPECT_EQ(D3DDevice->StateCalls(), n + 4);
  // Filter and texture only when they change.
  Filtern = true;
  Render(a, false);
  EXPECT_EQ(D3DDevice->StateCalls(), n + 5);
  EXPECT_TRUE(FilterAktiv);
  Render(b, false);
  EXPECT_EQ(D3DDevice->StateCalls(), n + 6);
  Render(b, false);
  EXPECT_EQ(D3DDevice->StateCalls(), n + 6);
  EXPECT_EQ(D3DDevice->DrawCalls(), 7u);
  RenderEnd();
  // A new frame forgets the cache.
  RenderStart();
  EXPECT_EQ(AktuelleTextur, -1);
  EXPECT_FALSE(Filtern);
  EXPECT_FALSE(FilterAktiv);
  EXPECT_FALSE(BlendModus);
  RenderEnd();
}

TEST_F(Aufbau, TheF3SwitchSetsEveryStateButDrawsTheSame) {
  auto szene = [&](bool f3) {
    OeffneAnzeige(PixelFormat::XRGB8888);
    Antizeitverschiebung = f3;
    const int32_t a = Bild();
    RenderStart();
    const uint64_t n = D3DDevice->StateCalls();
    for (int i = 0; i < 6; ++i) {
      SetUpGeom(a, RECT{0, 0, 64, 32}, RECT{10 * i, 7 * i, 10 * i + 70, 7 * i + 40}, 1, 0.8f, 0.6f, 0.7f, 20 * i);
      Filtern = i % 2 == 1;
      Render(a, i % 3 == 0);
    }
    const uint64_t aufrufe = D3DDevice->StateCalls() - n;
    RenderEnd();
    Antizeitverschiebung = false;
    return std::make_pair(aufrufe, platform::Surface(*BackBuffer));
  };
  auto [aus, bildAus] = szene(false);
  auto [an, bildAn] = szene(true);
  EXPECT_EQ(an, 6u * 6u);  // blend pair, ALPHAOP, MAGFILTER, texture, MIPFILTER each time
  EXPECT_LT(aus, an);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) ASSERT_EQ(bildAn.GetPixel(x, y), bildAus.GetPixel(x, y)) << x << "," << y;
}

TEST_F(Aufbau, SceneErrorsReachTheCaller) {
  const int32_t a = Bild();
  auto nummer = [](auto f) {
    try {
      f();
    } catch (const Err& e) {
      return e.Nummer;
    }
    return 0;
  };
  EXPECT_EQ(nummer([] { RenderEnd(); }), platform::D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(nummer([&] { Render(a, false); }), platform::D3DERR_SCENE_NOT_IN_SCENE);
  RenderStart();
  EXPECT_EQ(nummer([] { RenderStart(); }), platform::D3DERR_SCENE_IN_SCENE);
  RenderEnd();
  D3DDevice.reset();
  EXPECT_EQ(nummer([] { RenderStart(); }), platform::DDERR_INVALIDOBJECT);
}

TEST_F(Aufbau, AnEntryThatDoesNotExistIsLoggedAndNotDrawn) {
  testsupport::TempDir dir;
  DatenOrdner = dir.path();
  DebugModus = true;
  RenderStart();
  Render(5, false);
  SetUpXY(-1, 0, 0);
  RenderEnd();
  DebugModus = false;
  EXPECT_EQ(D3DDevice->DrawCalls(), 0u);
  const std::string log = testsupport::ReadText(dir / "Debug.txt");
  EXPECT_NE(log.find("Surface out of Range: 5 (Render)"), std::string::npos) << log;
  EXPECT_NE(log.find("Surface out of Range: -1 (SetUpXY)"), std::string::npos) << log;
}

// ---- an unscaled quad is the picture itself ----

TEST_P(QuadTest, AnUnscaledQuadEqualsTheKeyedBlitOfThePicture) {
  Hintergrund(800, 600);
  const platform::Surface hintergrund(*BackBuffer);
  const int32_t nr = NeuesBild(37, 23, true, [](int x, int y) { return Muster(x, y, 37, 23); });
  // Several places, the last ones cut by the screen's edges.
  const int orte[][2] = {{100, 50}, {0, 0}, {-10, 590}, {790, -7}, {400, 300}};
  RenderStart();
  for (const auto& o : orte) ShowSprite(nr, o[0], o[1], true);
  RenderEnd();
  platform::Surface quads(*BackBuffer);
  BackBuffer->BltFast(0, 0, const_cast<platform::Surface&>(hintergrund), nullptr, platform::DDBLTFAST_WAIT);
  for (const auto& o : orte) ShowSprite(nr, o[0], o[1], false);
  const uint32_t maske = platform::ValueMask(BackBuffer->Format());
  int anders = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      ASSERT_EQ(quads.GetPixel(x, y) & maske, BackBuffer->GetPixel(x, y) & maske) << x << "," << y;
      anders += (quads.GetPixel(x, y) & maske) != (hintergrund.GetPixel(x, y) & maske);
    }
  EXPECT_GT(anders, 3 * 37 * 23 / 2);
}

// ---- the device belongs to the display ----

TEST(Geraet, TheDisplayMakesTheDeviceOnItsBackBufferAndReleasesIt) {
  namespace headless = platform::headless;
  testsupport::TempDir dir;
  for (bool fenster : {true, false}) {
    headless::Reset();
    DatenOrdner = dir.path();
    DebugModus = false;
    Spielstatus = 0;
    Sprache = "E";
    FensterModus = fenster;
    Farbtiefe = 16;
    platform::WindowDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.visible = true;
    desc.fullscreen = !fenster;
    Form1 = platform::CreateWindow(desc, platform::DefWindowProc);
    FensterHandle = Form1;
    ASSERT_NO_THROW(InitWindow());
    ASSERT_TRUE(D3DDevice);
    EXPECT_EQ(D3DDevice->RenderTarget(), BackBuffer);
    EXPECT_EQ(BackBuffer->Format(), fenster ? PixelFormat::XRGB8888 : PixelFormat::RGB565);
    // It draws: a frame of one white quad.
    Surfaces.clear();
    const int32_t nr = NeuesBild(4, 4, false, [](int, int) { return 0xFFFFFFFFu; });
    RenderStart();
    ShowSprite(nr, 10, 20, true);
    RenderEnd();
    EXPECT_EQ(Farbe(12, 22), 0xFFFFFFu);
    Surfaces.clear();
    ReleaseDisplay();
    EXPECT_FALSE(D3DDevice);
    platform::DestroyAllWindows();
    Form1 = FensterHandle = 0;
  }
}
