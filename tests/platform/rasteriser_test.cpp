// The rasteriser's coverage against an independent model of Direct3D's rules (pixel
// centres at integer coordinates, positions snapped to 1/256, top-left fill rule), shared
// edges drawn exactly once, sub-pixel positions, and the vectorised loops against the plain
// ones on many random quads and triangles.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/device3d.hpp"
#include "platform/rasteriser.hpp"

using namespace platform;

namespace {

constexpr int kW = 48, kH = 40;

// Counts coverage: every drawn pixel gains 1 in blue (additive, no texture).
struct Zaehler {
  SurfacePtr ziel = Surface::Create(kW, kH, PixelFormat::XRGB8888);
  Device3DPtr d = Device3D::Create(ziel);
  Zaehler() {
    d->BeginScene();
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, -1);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  }
  void Strip(const std::vector<TLVertex>& v) {
    ASSERT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v.data(), static_cast<int32_t>(v.size()), 0),
              D3D_OK);
  }
  int At(int x, int y) const { return static_cast<int>(ziel->GetPixel(x, y) & 255); }
};

TLVertex Punkt(float x, float y) { return {x, y, 0, 1, 0xFF000001u, 0, 0, 0}; }

// The model: is the centre of pixel (px, py) inside the triangle by the top-left rule?
bool Drin(const TLVertex& a, const TLVertex& b, const TLVertex& c, int px, int py) {
  auto snap = [](float f) { return static_cast<int64_t>(std::nearbyint(static_cast<double>(f) * 256)); };
  int64_t x[3] = {snap(a.sx), snap(b.sx), snap(c.sx)}, y[3] = {snap(a.sy), snap(b.sy), snap(c.sy)};
  int64_t flaeche = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  if (flaeche == 0) return false;
  if (flaeche < 0) {  // clockwise on the screen, so the inside is on the positive side
    std::swap(x[1], x[2]);
    std::swap(y[1], y[2]);
  }
  const int64_t qx = int64_t{px} * 256, qy = int64_t{py} * 256;
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3;
    const int64_t dx = x[j] - x[i], dy = y[j] - y[i];
    const int64_t e = dx * (qy - y[i]) - dy * (qx - x[i]);
    const bool obenLinks = dy < 0 || (dy == 0 && dx > 0);
    if (e < 0 || (e == 0 && !obenLinks)) return false;
  }
  return true;
}

float Zufall(std::mt19937& rng, float lo, float hi) {
  return std::uniform_real_distribution<float>(lo, hi)(rng);
}
// Positions on a coarse grid now and then, so edges and vertices meet pixel centres.
float Koordinate(std::mt19937& rng, float lo, float hi) {
  const float f = Zufall(rng, lo, hi);
  switch (rng() % 4) {
    case 0: return std::round(f);
    case 1: return std::round(f * 2) / 2;
    default: return f;
  }
}

}  // namespace

TEST(Rasteriser, TrianglesCoverWhatTheTopLeftRuleSays) {
  std::mt19937 rng(7);
  for (int n = 0; n < 400; ++n) {
    Zaehler z;
    std::vector<TLVertex> v;
    for (int i = 0; i < 3; ++i) v.push_back(Punkt(Koordinate(rng, -8, kW + 8), Koordinate(rng, -8, kH + 8)));
    z.Strip(v);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(z.At(x, y), Drin(v[0], v[1], v[2], x, y) ? 1 : 0)
            << "triangle " << n << " at " << x << "," << y << ": (" << v[0].sx << "," << v[0].sy << ") (" << v[1].sx
            << "," << v[1].sy << ") (" << v[2].sx << "," << v[2].sy << ")";
  }
}

TEST(Rasteriser, QuadsAndNeighboursDrawSharedEdgesOnce) {
  std::mt19937 rng(11);
  for (int n = 0; n < 100; ++n) {
    // A grid of 4 x 3 quads with jittered shared corners, each drawn as its own strip
    // (both halves of every quad and every neighbour meet on shared edges).
    Zaehler z;
    float gx[5][4], gy[5][4];
    for (int i = 0; i <= 4; ++i)
      for (int j = 0; j <= 3; ++j) {
        gx[i][j] = 4 + 10 * i + Koordinate(rng, -3, 3);
        gy[i][j] = 3 + 11 * j + Koordinate(rng, -3, 3);
      }
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 3; ++j)
        z.Strip({Punkt(gx[i][j + 1], gy[i][j + 1]), Punkt(gx[i][j], gy[i][j]), Punkt(gx[i + 1][j + 1], gy[i + 1][j + 1]),
                 Punkt(gx[i + 1][j], gy[i + 1][j])});
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        ASSERT_LE(z.At(x, y), 1) << "drawn twice at " << x << "," << y << " in grid " << n;
        // Inside the grid's outline every pixel is drawn.
        bool innen = x > 4 + 3 && x < 44 - 3 && y > 3 + 3 && y < 36 - 3;
        if (innen) {
          ASSERT_EQ(z.At(x, y), 1) << "missing at " << x << "," << y << " in grid " << n;
        }
      }
  }
}

TEST(Rasteriser, SubPixelPositionsCoverTheCentresInside) {
  struct Fall {
    float l, t, r, b;
    int x0, y0, x1, y1;  // pixels drawn (x1, y1 exclusive)
  };
  const Fall faelle[] = {
      {0, 0, 2, 2, 0, 0, 2, 2},
      {0.4f, 0.4f, 2.6f, 2.6f, 1, 1, 3, 3},
      {0.5f, 0.5f, 2.5f, 2.5f, 1, 1, 3, 3},
      {0, 0, 0.5f, 0.5f, 0, 0, 1, 1},           // centre on the left and top edges: drawn
      {-0.5f, -0.5f, 0.0f, 0.0f, 0, 0, 0, 0},   // centre on the right and bottom edges: not
      {0.1f, 0.1f, 0.9f, 0.9f, 0, 0, 0, 0},
      {0.999f, 1.999f, 3.001f, 3.001f, 1, 2, 3, 3},  // 3.001 snaps to 3: right edge, not drawn
      {0.999f, 1.999f, 3.003f, 3.003f, 1, 2, 4, 4},
      {0.9985f, 1, 2, 2, 1, 1, 2, 2},           // snaps to 1: the centre is on the left edge
      {0.998f, 1, 2, 2, 1, 1, 2, 2},            // snaps to 255/256, left of the centre
      {-10, -10, 3, 3, 0, 0, 3, 3},
      {kW - 1.5f, kH - 1.5f, kW + 50.0f, kH + 50.0f, kW - 1, kH - 1, kW, kH},
      {5, 5, 3, 7, 3, 5, 5, 7},                 // mirrored left and right
  };
  for (const Fall& f : faelle) {
    // As one quad, and as the same two triangles without the quad shortcut (a strip with
    // a repeated last vertex adds only an empty triangle).
    for (bool alsStreifen : {false, true}) {
      SCOPED_TRACE(testing::Message() << f.l << "," << f.t << " - " << f.r << "," << f.b
                                      << (alsStreifen ? " as triangles" : " as quad"));
      Zaehler z;
      std::vector<TLVertex> v = {Punkt(f.l, f.b), Punkt(f.l, f.t), Punkt(f.r, f.b), Punkt(f.r, f.t)};
      if (alsStreifen) v.push_back(v.back());
      z.Strip(v);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
          ASSERT_EQ(z.At(x, y), x >= f.x0 && x < f.x1 && y >= f.y0 && y < f.y1 ? 1 : 0) << x << "," << y;
    }
  }
}

// ---- the vectorised loops against the plain ones ----

namespace {

struct Zustand {
  PixelFormat ziel, textur;
  bool key, linear, additiv;
};

SurfacePtr ZufallsTextur(std::mt19937& rng, PixelFormat f, int w, int h, bool key) {
  SurfacePtr t = Surface::Create(w, h, f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v = rng();
      t->SetPixel(x, y, rng() % 5 == 0 ? 0 : PackPixel(f, v, v >> 8, v >> 16, v >> 24));
    }
  if (key) t->SetColorKey(DDCKEY_SRCBLT, 0, 0);
  return t;
}

uint32_t ZufallsFarbe(std::mt19937& rng) {
  switch (rng() % 5) {
    case 0: return 0xFFFFFFFFu;                                 // plain
    case 1: return (rng() & 0xFF000000u) | 0xFFFFFFu;           // white, some alpha
    case 2: return 0xFF000000u | (rng() & 0xFFFFFFu);           // tint
    default: return rng();
  }
}

// Quads of every kind the game draws: unscaled, scaled, mirrored, rotated, with texture
// coordinates beyond the picture, partly off the target; sometimes with four colours.
std::vector<TLVertex> ZufallsQuad(std::mt19937& rng, int tw, int th) {
  const float x = Zufall(rng, -20, 60), y = Zufall(rng, -20, 50);
  const int art = static_cast<int>(rng() % 5);
  float w = static_cast<float>(tw), h = static_cast<float>(th);
  float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
  if (art >= 1) {
    w = Zufall(rng, 1, 70);
    h = Zufall(rng, 1, 60);
  }
  if (art == 2) {
    u0 = Zufall(rng, -1.5f, 1.5f);
    v0 = Zufall(rng, -1.5f, 1.5f);
    u1 = Zufall(rng, -1.5f, 2.5f);
    v1 = Zufall(rng, -1.5f, 2.5f);
  }
  const float px = art == 0 ? std::round(x) : x, py = art == 0 ? std::round(y) : y;
  uint32_t c[4];
  c[0] = ZufallsFarbe(rng);
  for (int i = 1; i < 4; ++i) c[i] = rng() % 4 == 0 ? ZufallsFarbe(rng) : c[0];
  std::vector<TLVertex> v = {{px, py + h, 0, 1, c[0], 0, u0, v1},
                             {px, py, 0, 1, c[1], 0, u0, v0},
                             {px + w, py + h, 0, 1, c[2], 0, u1, v1},
                             {px + w, py, 0, 1, c[3], 0, u1, v0}};
  if (art >= 3) {
    // Turned about its centre.
    const float a = Zufall(rng, 0, 6.3f), cx = px + w / 2, cy = py + h / 2;
    for (TLVertex& e : v) {
      const float dx = e.sx - cx, dy = e.sy - cy;
      e.sx = cx + dx * std::cos(a) - dy * std::sin(a);
      e.sy = cy + dx * std::sin(a) + dy * std::cos(a);
    }
  }
  return v;
}

}  // namespace

TEST(Rasteriser, VectorisedLoopsDrawWhatThePlainLoopsDraw) {
  std::mt19937 rng(2024);
  const PixelFormat ziele[] = {PixelFormat::XRGB8888, PixelFormat::RGB565};
  const PixelFormat texturen[] = {PixelFormat::XRGB8888, PixelFormat::RGB565, PixelFormat::ARGB8888,
                                  PixelFormat::ARGB4444};
  std::vector<raster::Loops> breiten = {raster::Loops::Sse2};
  if (raster::WidestLoops() >= raster::Loops::Avx2) breiten.push_back(raster::Loops::Avx2);
  int gezeichnet = 0;
  for (PixelFormat zf : ziele)
    for (PixelFormat tf : texturen)
      for (int k = 0; k < 2; ++k)
        for (int blend = 0; blend < 2; ++blend) {
          SCOPED_TRACE(testing::Message() << "target " << static_cast<int>(zf) << " texture " << static_cast<int>(tf)
                                          << " key " << k << " additive " << blend);
          // One scene of 60 quads drawn once per width of loops, on the same start.
          SurfacePtr start = ZufallsTextur(rng, zf, 64, 48, false);
          const int tw = 1 + static_cast<int>(rng() % 40), th = 1 + static_cast<int>(rng() % 30);
          SurfacePtr tex = ZufallsTextur(rng, tf, tw, th, k == 1);
          std::vector<std::vector<TLVertex>> quads;
          std::vector<bool> linear;
          for (int q = 0; q < 60; ++q) {
            quads.push_back(ZufallsQuad(rng, tw, th));
            linear.push_back(rng() % 3 == 0);
          }
          auto zeichne = [&](raster::Loops breite) {
            raster::LimitLoops(breite);
            SurfacePtr ziel = Surface::Create(64, 48, zf);
            ziel->BltFast(0, 0, *start, nullptr, DDBLTFAST_WAIT);
            Device3DPtr d = Device3D::Create(ziel);
            d->BeginScene();
            d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, -1);
            d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, -1);
            d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
            d->SetRenderState(D3DRENDERSTATE_DESTBLEND, blend ? D3DBLEND_DESTALPHA : D3DBLEND_INVSRCALPHA);
            d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
            d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
            d->SetTexture(0, tex);
            for (size_t q = 0; q < quads.size(); ++q) {
              d->SetTextureStageState(0, D3DTSS_MAGFILTER, linear[q] ? D3DTFG_LINEAR : D3DTFG_POINT);
              d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quads[q].data(), 4, 0);
            }
            raster::LimitLoops(raster::WidestLoops());
            return ziel;
          };
          SurfacePtr plain = zeichne(raster::Loops::Plain);
          for (raster::Loops breite : breiten) {
            SurfacePtr breit = zeichne(breite);
            for (int y = 0; y < 48; ++y)
              for (int x = 0; x < 64; ++x)
                ASSERT_EQ(breit->GetPixel(x, y), plain->GetPixel(x, y))
                    << "loops " << static_cast<int>(breite) << " at " << x << "," << y;
          }
          for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) gezeichnet += plain->GetPixel(x, y) != start->GetPixel(x, y);
        }
  EXPECT_GT(gezeichnet, 10000);  // the scenes did draw
}
