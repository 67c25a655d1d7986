// The 3D device: scenes and their result codes, the states it accepts, strips and culling,
// and the pixel arithmetic of texturing and blending checked by hand at 16 and 32 bits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "platform/device3d.hpp"

using namespace platform;

namespace {

struct Geraet {
  SurfacePtr ziel;
  Device3DPtr d;
  explicit Geraet(PixelFormat f = PixelFormat::XRGB8888, int w = 16, int h = 16) {
    ziel = Surface::Create(w, h, f);
    d = Device3D::Create(ziel);
    d->BeginScene();
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, -1);
    d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, -1);
    d->SetRenderState(D3DRENDERSTATE_COLORKEYBLENDENABLE, -1);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  }
  void Fuelle(uint32_t r, uint32_t g, uint32_t b) {
    ziel->BltColorFill(nullptr, PackPixel(ziel->Format(), r, g, b));
  }
  // A quad over (l, t) - (r, b) with texture coordinates 0..1 and one colour.
  int32_t Quad(float l, float t, float r, float b, uint32_t farbe, float u1 = 1, float v1 = 1) {
    TLVertex v[4] = {{l, b, 0, 1, farbe, 0, 0, v1}, {l, t, 0, 1, farbe, 0, 0, 0}, {r, b, 0, 1, farbe, 0, u1, v1},
                     {r, t, 0, 1, farbe, 0, u1, 0}};
    return d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
  }
  uint32_t Rgb(int x, int y) const {
    uint8_t r, g, b, a;
    UnpackPixel(ziel->Format(), ziel->GetPixel(x, y), r, g, b, a);
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
  }
};

SurfacePtr Textur(PixelFormat f, std::initializer_list<uint32_t> argb, int w) {
  const int h = static_cast<int>(argb.size()) / w;
  SurfacePtr t = Surface::Create(w, h, f);
  int i = 0;
  for (uint32_t c : argb) {
    t->SetPixel(i % w, i / w, PackPixel(f, c >> 16, c >> 8, c, c >> 24));
    ++i;
  }
  return t;
}

}  // namespace

TEST(Device3D, ScenesAnswerWithTheirResultCodes) {
  SurfacePtr ziel = Surface::Create(8, 8, PixelFormat::XRGB8888);
  Device3DPtr d = Device3D::Create(ziel);
  TLVertex v[3]{};
  EXPECT_EQ(d->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 3, 0), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(d->BeginScene(), D3D_OK);
  EXPECT_EQ(d->BeginScene(), D3DERR_SCENE_IN_SCENE);
  EXPECT_EQ(d->DrawPrimitive(4, D3DFVF_TLVERTEX, v, 3, 0), D3DERR_INVALIDPRIMITIVETYPE);
  EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0x142, v, 3, 0), D3DERR_INVALIDVERTEXFORMAT);
  EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, nullptr, 3, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 2, D3DDP_WAIT), D3D_OK);
  EXPECT_EQ(d->EndScene(), D3D_OK);
  EXPECT_EQ(d->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
}

TEST(Device3D, DrawsOnlyInto16And32BitTargets) {
  int32_t fehler = 0;
  EXPECT_FALSE(Device3D::Create(Surface::Create(4, 4, PixelFormat::ARGB8888), &fehler));
  EXPECT_EQ(fehler, DDERR_INVALIDPIXELFORMAT);
  EXPECT_TRUE(Device3D::Create(Surface::Create(4, 4, PixelFormat::RGB565), &fehler));
  EXPECT_EQ(fehler, D3D_OK);
  Device3DPtr d = Device3D::Create(Surface::Create(4, 4, PixelFormat::XRGB8888));
  EXPECT_EQ(d->SetRenderTarget(Surface::Create(4, 4, PixelFormat::ARGB4444)), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(d->SetRenderTarget(nullptr), DDERR_INVALIDPARAMS);
}

TEST(Device3D, AcceptsTheStatesTheGameSetsAndRefusesOthers) {
  Device3DPtr d = Device3D::Create(Surface::Create(4, 4, PixelFormat::XRGB8888));
  struct Fall {
    bool stufe;  // texture-stage state
    int32_t art, wert, ergebnis;
  };
  const Fall faelle[] = {
      {false, D3DRENDERSTATE_COLORKEYENABLE, -1, D3D_OK},
      {false, D3DRENDERSTATE_DESTBLEND, D3DBLEND_DESTALPHA, D3D_OK},
      {false, D3DRENDERSTATE_SRCBLEND, D3DBLEND_DESTALPHA, D3DERR_UNSUPPORTEDFACTORVALUE},
      {false, D3DRENDERSTATE_CULLMODE, 4, DDERR_INVALIDPARAMS},
      {false, D3DRENDERSTATE_ZENABLE, 1, DDERR_INVALIDPARAMS},  // no depth buffer
      {false, 8 /* fill mode */, 3, DDERR_INVALIDPARAMS},
      {true, D3DTSS_ALPHAOP, 7 /* ADD */, D3DERR_UNSUPPORTEDALPHAOPERATION},
      {true, D3DTSS_MAGFILTER, D3DTFG_LINEAR, D3D_OK},
      {true, D3DTSS_MAGFILTER, 3, D3DERR_UNSUPPORTEDTEXTUREFILTER},
      {true, D3DTSS_MINFILTER, 2, D3DERR_UNSUPPORTEDTEXTUREFILTER},  // minification takes points
      {true, D3DTSS_ADDRESSU, 3 /* CLAMP */, DDERR_INVALIDPARAMS},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << (f.stufe ? "stage " : "render ") << f.art << " = " << f.wert);
    const int32_t r = f.stufe ? d->SetTextureStageState(0, f.art, f.wert) : d->SetRenderState(f.art, f.wert);
    EXPECT_EQ(r, f.ergebnis);
    int32_t gelesen = 0;
    if (r == D3D_OK && f.art != D3DTSS_ADDRESSU) {
      EXPECT_EQ(f.stufe ? d->GetTextureStageState(0, f.art, gelesen) : d->GetRenderState(f.art, gelesen), D3D_OK);
      EXPECT_EQ(gelesen, f.wert < 0 ? 1 : f.wert);
    }
  }
  EXPECT_EQ(d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE), DDERR_INVALIDPARAMS);
}

TEST(Device3D, BlendsWithEightBitArithmetic) {
  for (PixelFormat f : {PixelFormat::XRGB8888, PixelFormat::RGB565}) {
    SCOPED_TRACE(f == PixelFormat::RGB565 ? "16 bits" : "32 bits");
    Geraet g(f);
    // An 8-bit channel value as the target keeps it.
    auto tief = [&](uint32_t r, uint32_t gr, uint32_t b) {
      uint8_t rr, g8, bb, aa;
      UnpackPixel(f, PackPixel(f, r, gr, b), rr, g8, bb, aa);
      return (uint32_t{rr} << 16) | (uint32_t{g8} << 8) | bb;
    };
    // 8-8-8 values that survive 5-6-5 exactly.
    g.Fuelle(99, 150, 206);
    const uint32_t d = g.Rgb(0, 0);
    g.d->SetTexture(0, Textur(PixelFormat::XRGB8888, {0xC66531}, 1));  // 198, 101, 49
    // Normal, alpha 128: (s * 128 + d * 127) / 255 rounded, then truncated to the target.
    g.Quad(0, 0, 1, 1, 0x80FFFFFFu);
    const uint32_t sr = 198, sg = 101, sb = 49, dr = d >> 16, dg = (d >> 8) & 255, db = d & 255;
    auto norm = [](uint32_t s, uint32_t t) { return (s * 128 + t * 127 + 127) / 255; };
    EXPECT_EQ(g.Rgb(0, 0), tief(norm(sr, dr), norm(sg, dg), norm(sb, db)));
    // Additive saturates at 255; the tint multiplies first: 198 x 128 / 255 = 99.4 -> 99.
    g.Fuelle(200, 0, 0);
    g.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_DESTALPHA);
    g.Quad(0, 0, 1, 1, 0xFF80FFFFu);
    EXPECT_EQ(g.Rgb(0, 0), tief(255, 101, 49));
    // The same with destination factor ONE.
    g.Fuelle(0, 0, 0);
    g.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    g.Quad(0, 0, 1, 1, 0xFF80FFFFu);
    EXPECT_EQ(g.Rgb(0, 0), tief(99, 101, 49));
  }
}

TEST(Device3D, AlphaTexturesWeighByTheirAlpha) {
  Geraet g;
  g.Fuelle(0, 0, 0);
  // 4-4-4-4: alpha 8 widens to 136; red 15 to 255.
  g.d->SetTexture(0, Textur(PixelFormat::ARGB4444, {0x88FF0000u}, 1));
  g.Quad(0, 0, 1, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 136u << 16);
  // 8-8-8-8 alpha times the vertex alpha: 200 x 128 / 255 = 100.4 -> 100.
  g.Fuelle(0, 0, 0);
  g.d->SetTexture(0, Textur(PixelFormat::ARGB8888, {0xC800FF00u}, 1));
  g.Quad(0, 0, 1, 1, 0x80FFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 100u << 8);
  // With ALPHAOP SELECTARG1 only the texture's alpha counts.
  g.Fuelle(0, 0, 0);
  g.d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  g.Quad(0, 0, 1, 1, 0x80FFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 200u << 8);
}

TEST(Device3D, KeyedTexelsAreTransparentAsTheTextureIsNow) {
  Geraet g;
  g.Fuelle(10, 20, 30);
  SurfacePtr t = Textur(PixelFormat::XRGB8888, {0x000000, 0x405060}, 2);
  t->SetColorKey(DDCKEY_SRCBLT, 0, 0);
  g.d->SetTexture(0, t);
  g.Quad(0, 0, 2, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 0x0A141Eu);
  EXPECT_EQ(g.Rgb(1, 0), 0x405060u);
  // The picture changes after it was bound: the key is tested on what it holds now.
  t->SetPixel(0, 0, 0x707070);
  t->SetPixel(1, 0, 0);
  g.Fuelle(10, 20, 30);
  g.Quad(0, 0, 2, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 0x707070u);
  EXPECT_EQ(g.Rgb(1, 0), 0x0A141Eu);
  // Without colour keying black is drawn.
  g.d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 0);
  g.Quad(0, 0, 2, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(1, 0), 0u);
}

TEST(Device3D, LinearFilteringWrapsAndMinificationTakesPoints) {
  Geraet g;
  g.d->SetTexture(0, Textur(PixelFormat::XRGB8888, {0x0000C8, 0x000064}, 2));  // blue 200, 100
  g.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  // Two texels over four pixels: samples at -0.5 (half the wrapped last texel), 0, 0.5, 1.
  g.Quad(0, 0, 4, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 150u);
  EXPECT_EQ(g.Rgb(1, 0), 200u);
  EXPECT_EQ(g.Rgb(2, 0), 150u);
  EXPECT_EQ(g.Rgb(3, 0), 100u);
  // The same with points.
  g.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
  g.Quad(0, 0, 4, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 200u);
  EXPECT_EQ(g.Rgb(1, 0), 200u);
  EXPECT_EQ(g.Rgb(2, 0), 100u);
  EXPECT_EQ(g.Rgb(3, 0), 100u);
  // Four texels squeezed into two pixels: points even with linear magnification.
  g.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  g.d->SetTexture(0, Textur(PixelFormat::XRGB8888, {0x10, 0x20, 0x30, 0x40}, 4));
  g.Quad(0, 0, 2, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.Rgb(0, 0), 0x10u);
  EXPECT_EQ(g.Rgb(1, 0), 0x30u);
  // Texture coordinates beyond 1 repeat the picture.
  g.Quad(0, 0, 8, 1, 0xFFFFFFFFu, 2.0f);
  g.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
  g.Quad(0, 0, 8, 1, 0xFFFFFFFFu, 2.0f);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(g.Rgb(x, 0), 0x10u * (x % 4 + 1)) << x;
}

TEST(Device3D, UntexturedStripsDrawTheirColours) {
  Geraet g;
  g.Fuelle(0, 0, 0);
  g.d->SetTexture(0, nullptr);
  g.Quad(0, 0, 2, 2, 0xFF336699u);
  EXPECT_EQ(g.Rgb(1, 1), 0x336699u);
  // Colours interpolate along the strip: red at x 0 to blue at x 4 (pixel centres).
  TLVertex v[4] = {{0, 1, 0, 1, 0xFFFF0000u, 0, 0, 0}, {0, 0, 0, 1, 0xFFFF0000u, 0, 0, 0},
                   {4, 1, 0, 1, 0xFF0000FFu, 0, 0, 0}, {4, 0, 0, 1, 0xFF0000FFu, 0, 0, 0}};
  g.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
  EXPECT_EQ(g.Rgb(0, 0), 0xFF0000u);
  EXPECT_EQ(g.Rgb(2, 0), 0x800080u);  // 127.5 rounds up
  EXPECT_EQ(g.Rgb(3, 0), 0x4000BFu);  // 63.75 and 191.25
}

TEST(Device3D, TransparentStripsLeaveTheTargetAlone) {
  Geraet g;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) g.ziel->SetPixel(x, y, 0xAB000000u | static_cast<uint32_t>(x * 16 + y));
  Surface vorher(*g.ziel);
  g.d->SetTexture(0, Textur(PixelFormat::XRGB8888, {0xFFFFFF}, 1));
  g.Quad(0, 0, 16, 16, 0x00FFFFFFu);
  g.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  g.Quad(-5, -5, 30, 30, 0x00FFFFFFu);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(g.ziel->GetPixel(x, y), vorher.GetPixel(x, y));
  // The unused top byte of a drawn pixel stays as well.
  g.Quad(0, 0, 1, 1, 0xFFFFFFFFu);
  EXPECT_EQ(g.ziel->GetPixel(0, 0), 0xABFFFFFFu);
}

TEST(Device3D, VerticesOutsideTheRangeDrawNothing) {
  Geraet g;
  g.Fuelle(1, 2, 3);
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(g.Quad(0, 0, nan, 4, 0xFFFFFFFFu), D3D_OK);
  EXPECT_EQ(g.Quad(-inf, 0, 4, 4, 0xFFFFFFFFu), D3D_OK);
  EXPECT_EQ(g.Quad(0, 0, 4, 3e7f, 0xFFFFFFFFu), D3D_OK);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(g.Rgb(x, y), g.Rgb(0, 0));
  // Far outside, but representable: cut to the target.
  EXPECT_EQ(g.Quad(-1e6f, -1e6f, 1e6f, 1e6f, 0xFF102030u), D3D_OK);
  EXPECT_EQ(g.Rgb(15, 15), 0x102030u);
  // Wild texture coordinates and colour slopes on a textured strip: drawn, and no
  // arithmetic runs over.
  g.d->SetTexture(0, Textur(PixelFormat::XRGB8888, {0x0000C8, 0x000064}, 2));
  EXPECT_EQ(g.Quad(0, 0, 16, 16, 0xFFFFFFFFu, 1e30f, -1e30f), D3D_OK);
  TLVertex v[3] = {{0, 0, 0, 1, 0xFFFFFFFFu, 0, 0, 0}, {16, 0.001f, 0, 1, 0x00000000u, 0, 3e9f, 0},
                   {0, 16, 0, 1, 0xFF00FF00u, 0, 0, -3e9f}};
  EXPECT_EQ(g.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 3, 0), D3D_OK);
}

TEST(Device3D, CullingFollowsTheWindingOfEachTriangleOfTheStrip) {
  // Left-bottom, left-top, right-bottom, right-top: the first triangle is clockwise on the
  // screen, and so is the second once the strip's order is taken into account.
  for (int32_t modus : {D3DCULL_NONE, D3DCULL_CW, D3DCULL_CCW}) {
    Geraet g;
    g.Fuelle(0, 0, 0);
    g.d->SetTexture(0, nullptr);
    g.d->SetRenderState(D3DRENDERSTATE_CULLMODE, modus);
    g.Quad(0, 0, 4, 4, 0xFFFFFFFFu);
    const bool gezeichnet = modus != D3DCULL_CW;
    EXPECT_EQ(g.Rgb(0, 3), gezeichnet ? 0xFFFFFFu : 0u) << modus;
    EXPECT_EQ(g.Rgb(3, 0), gezeichnet ? 0xFFFFFFu : 0u) << modus;
  }
}

TEST(Device3D, LongStripsDrawEveryTriangle) {
  // A band of 20 cells as 42 vertices, like the lens and the distortion grids.
  Geraet g(PixelFormat::XRGB8888, 64, 8);
  g.Fuelle(0, 0, 0);
  g.d->SetTexture(0, nullptr);
  g.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  TLVertex v[42];
  for (int i = 0; i <= 20; ++i) {
    v[2 * i] = {static_cast<float>(3 * i), 6, 0, 1, 0xFF101010u, 0, 0, 0};
    v[2 * i + 1] = {static_cast<float>(3 * i), 0, 0, 1, 0xFF101010u, 0, 0, 0};
  }
  EXPECT_EQ(g.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 42, D3DDP_WAIT), D3D_OK);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(g.Rgb(x, y), x < 60 && y < 6 ? 0x101010u : 0u) << x << "," << y;
}

TEST(Device3D, AQuadDrawsThePixelsOfItsTwoTriangles) {
  // Quads of every shape (turned, thin, bow-ties whose triangles overlap, corners off the
  // target or out of range) drawn as one strip of four and as its two triangles one after
  // the other, additive so that a pixel drawn twice or missed shows.
  std::mt19937 rnd(7);
  auto ort = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rnd); };
  const SurfacePtr tex = Textur(PixelFormat::ARGB8888, {0x80FF0000u, 0xFF00FF00u, 0x400000FFu, 0xFFFFFFFFu}, 2);
  for (int fall = 0; fall < 400; ++fall) {
    Geraet quad(fall % 2 ? PixelFormat::RGB565 : PixelFormat::XRGB8888, 48, 40), paar(quad.ziel->Format(), 48, 40);
    TLVertex v[4];
    for (TLVertex& e : v) {
      e = {ort(-8, 56), ort(-8, 48), 0, 1, static_cast<uint32_t>(rnd()) | 0x40000000u, 0, ort(-1, 2), ort(-1, 2)};
      if (fall % 3 == 0) e.color = v[0].color;
    }
    if (fall % 50 == 7) v[3].sy = std::numeric_limits<float>::quiet_NaN();
    for (Geraet* g : {&quad, &paar}) {
      g->Fuelle(10, 20, 30);
      g->d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
      g->d->SetTextureStageState(0, D3DTSS_MAGFILTER, fall % 4 < 2 ? D3DTFG_LINEAR : D3DTFG_POINT);
      g->d->SetTexture(0, fall % 5 ? tex : nullptr);
    }
    quad.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
    paar.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 3, 0);
    paar.d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v + 1, 3, 0);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 48; ++x)
        ASSERT_EQ(quad.ziel->GetPixel(x, y), paar.ziel->GetPixel(x, y)) << "quad " << fall << " at " << x << "," << y;
  }
}

TEST(Device3D, ALockedSurfaceRefusesToBeDrawn) {
  Geraet g;
  LockedRect l;
  ASSERT_EQ(g.ziel->Lock(nullptr, l), DD_OK);
  EXPECT_EQ(g.Quad(0, 0, 2, 2, 0xFFFFFFFFu), DDERR_SURFACEBUSY);
  g.ziel->Unlock();
  EXPECT_EQ(g.Quad(0, 0, 2, 2, 0xFFFFFFFFu), D3D_OK);
}
