// The rasteriser's coverage against an independent model of Direct3D's rules (pixel
// centres at integer coordinates, positions snapped to 1/256, top-left fill rule), shared
// edges drawn exactly once, sub-pixel positions, and the vectorised loops against the plain
// ones on many random quads and triangles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/device3d.hpp"
#include "platform/raster_spans.hpp"
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

// A scene of quads drawn on a copy of `start` with one texture (or none), one blend and
// each quad's filter.
struct Szene {
  SurfacePtr start, tex;
  bool additiv = false;
  std::vector<std::vector<TLVertex>> quads;
  std::vector<bool> linear;
};

SurfacePtr Zeichne(const Szene& szene, raster::Loops breite) {
  raster::LimitLoops(breite);
  SurfacePtr ziel = Surface::Create(szene.start->Width(), szene.start->Height(), szene.start->Format());
  ziel->BltFast(0, 0, *szene.start, nullptr, DDBLTFAST_WAIT);
  Device3DPtr d = Device3D::Create(ziel);
  d->BeginScene();
  d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, -1);
  d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, -1);
  d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRENDERSTATE_DESTBLEND, szene.additiv ? D3DBLEND_DESTALPHA : D3DBLEND_INVSRCALPHA);
  d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTexture(0, szene.tex);
  for (size_t q = 0; q < szene.quads.size(); ++q) {
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, szene.linear[q] ? D3DTFG_LINEAR : D3DTFG_POINT);
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, szene.quads[q].data(), 4, 0);
  }
  raster::LimitLoops(raster::WidestLoops());
  return ziel;
}

// The first pixel where two pictures of one size differ, or "" where none does.
std::string ErsterUnterschied(const Surface& a, const Surface& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y))
        return testing::PrintToString(x) + "," + testing::PrintToString(y) + ": " +
               testing::PrintToString(a.GetPixel(x, y)) + " != " + testing::PrintToString(b.GetPixel(x, y));
  return "";
}

int Gezeichnet(const Surface& bild, const Surface& start) {
  int n = 0;
  for (int y = 0; y < bild.Height(); ++y)
    for (int x = 0; x < bild.Width(); ++x) n += bild.GetPixel(x, y) != start.GetPixel(x, y);
  return n;
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
          Szene szene;
          szene.start = ZufallsTextur(rng, zf, 64, 48, false);
          const int tw = 1 + static_cast<int>(rng() % 40), th = 1 + static_cast<int>(rng() % 30);
          szene.tex = ZufallsTextur(rng, tf, tw, th, k == 1);
          szene.additiv = blend == 1;
          for (int q = 0; q < 60; ++q) {
            szene.quads.push_back(ZufallsQuad(rng, tw, th));
            szene.linear.push_back(rng() % 3 == 0);
          }
          SurfacePtr plain = Zeichne(szene, raster::Loops::Plain);
          for (raster::Loops breite : breiten)
            ASSERT_EQ(ErsterUnterschied(*Zeichne(szene, breite), *plain), "") << "loops " << static_cast<int>(breite);
          gezeichnet += Gezeichnet(*plain, *szene.start);
        }
  EXPECT_GT(gezeichnet, 10000);  // the scenes did draw
}

// Each family's loops lie in the part of their combination and nowhere else: a loop left
// out of its part would fall back to a narrower family unseen, as those draw alike.
TEST(Rasteriser, EachFamilysLoopsLieInTheirPart) {
  using raster::Blend, raster::ColourKind, raster::TexKind;
  int geprueft = 0;
  for (const raster::SpanFamily& f : raster::kSpanFamilies) {
    if (raster::WidestLoops() < f.width) continue;
    for (PixelFormat ziel : {PixelFormat::XRGB8888, PixelFormat::RGB565})
      for (int t = 0; t <= static_cast<int>(TexKind::A4444); ++t)
        for (int eigenschaften = 0; eigenschaften < 4; ++eigenschaften)
          for (Blend b : {Blend::Normal, Blend::Add})
            for (int c = 0; c <= static_cast<int>(ColourKind::Gouraud); ++c)
              for (int p = 0; p < raster::kSpanParts; ++p) {
                const TexKind tex = static_cast<TexKind>(t);
                const bool sein = p == raster::SpanPart(ziel, tex);
                const raster::SpanFn fn = f.parts[p](ziel, tex, eigenschaften & 1, eigenschaften & 2, b,
                                                     static_cast<ColourKind>(c));
                // The blends the game uses have a loop in every family.
                EXPECT_EQ(fn != nullptr, sein) << f.name << " part " << p << " target " << static_cast<int>(ziel)
                                               << " texture " << t << " blend " << static_cast<int>(b);
                geprueft += sein;
              }
  }
  EXPECT_GE(geprueft, 2 * 5 * 4 * 2 * 4);
}

// ---- every width of loops against the reference ----

namespace {

std::vector<raster::Loops> AlleBreiten() {
  std::vector<raster::Loops> b = {raster::Loops::Plain};
  if (raster::WidestLoops() >= raster::Loops::Sse2) b.push_back(raster::Loops::Sse2);
  if (raster::WidestLoops() >= raster::Loops::Avx2) b.push_back(raster::Loops::Avx2);
  return b;
}

}  // namespace

// Scenes of quads, textured in every format or not at all, keyed or not, filtered or not,
// of one colour or of four; some far out in the texture's turns, some slivers a fraction
// of a pixel thin (their colours change steeply across).
TEST(Rasteriser, EveryLoopDrawsWhatTheReferenceDraws) {
  std::mt19937 rng(77);
  const PixelFormat ziele[] = {PixelFormat::XRGB8888, PixelFormat::RGB565};
  const PixelFormat texturen[] = {PixelFormat::XRGB8888, PixelFormat::RGB565, PixelFormat::ARGB8888,
                                  PixelFormat::ARGB4444};
  int gezeichnet = 0;
  for (PixelFormat zf : ziele)
    for (int t = 0; t <= 4; ++t)  // 4: untextured
      for (int k = 0; k < (t < 4 ? 2 : 1); ++k)
        for (int blend = 0; blend < 2; ++blend) {
          SCOPED_TRACE(testing::Message() << "target " << static_cast<int>(zf) << " texture " << t << " key " << k
                                          << " additive " << blend);
          Szene szene;
          szene.start = ZufallsTextur(rng, zf, 96, 64, false);
          const int tw = 1 + static_cast<int>(rng() % 48), th = 1 + static_cast<int>(rng() % 32);
          if (t < 4) szene.tex = ZufallsTextur(rng, texturen[t], tw, th, k == 1);
          szene.additiv = blend == 1;
          for (int q = 0; q < 50; ++q) {
            std::vector<TLVertex> quad = ZufallsQuad(rng, tw, th);
            for (TLVertex& e : quad) e.sx += 16, e.sy += 8;
            const uint32_t art = rng() % 6;
            if (art == 0) {
              for (TLVertex& e : quad) e.color = ZufallsFarbe(rng);
            } else if (art == 1) {
              // A sliver: the top edge pulled down to just above the bottom one.
              const float dicke = Zufall(rng, 0.01f, 0.7f);
              quad[1].sy = quad[0].sy - dicke;
              quad[3].sy = quad[2].sy - dicke;
              for (TLVertex& e : quad) e.color = ZufallsFarbe(rng);
            } else if (art == 2) {
              // Whole turns of the texture away.
              const float du = static_cast<float>(static_cast<int>(rng() % 81) - 40);
              const float dv = static_cast<float>(static_cast<int>(rng() % 81) - 40);
              for (TLVertex& e : quad) e.tu += du, e.tv += dv;
            }
            szene.quads.push_back(quad);
            szene.linear.push_back(rng() % 2 == 0);
          }
          SurfacePtr referenz = Zeichne(szene, raster::Loops::Reference);
          for (raster::Loops breite : AlleBreiten())
            ASSERT_EQ(ErsterUnterschied(*Zeichne(szene, breite), *referenz), "") << "loops " << static_cast<int>(breite);
          gezeichnet += Gezeichnet(*referenz, *szene.start);
        }
  EXPECT_GT(gezeichnet, 40000);  // the scenes did draw
}

// Single spans straight into the loops, with what quads seldom bring: coordinates many
// turns out or far beyond, steps of every size (the filter's too), colours that leave
// 0..255 and steps too steep for 32 bits, runs of rows, and the blend that replaces; and
// textures of more than 127 texels a side, and 16-bit ones whose rows do not start on
// 4-byte boundaries.
TEST(Rasteriser, EveryLoopDrawsEachSpanAsTheReferenceDoes) {
  using raster::ColourKind;
  using raster::TexKind;
  std::mt19937 rng(5);
  auto zufall64 = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  // The texture's format for each kind of texel.
  const std::pair<TexKind, PixelFormat> texturen[] = {{TexKind::None, PixelFormat::XRGB8888},
                                                      {TexKind::XRGB, PixelFormat::XRGB8888},
                                                      {TexKind::R565, PixelFormat::RGB565},
                                                      {TexKind::ARGB, PixelFormat::ARGB8888},
                                                      {TexKind::A4444, PixelFormat::ARGB4444}};
  const raster::Blend blends[] = {raster::Blend::Normal, raster::Blend::Add, raster::Blend::Replace};
  const ColourKind farben[] = {ColourKind::Plain, ColourKind::White, ColourKind::Flat, ColourKind::Gouraud};
  constexpr int64_t kEins = int64_t{1} << raster::kTexFrac;
  constexpr int kBreite = 300, kZeilen = 4;
  for (PixelFormat zf : {PixelFormat::XRGB8888, PixelFormat::RGB565})
    for (const auto& [kind, tf] : texturen)
      for (bool linear : {false, true})
        for (bool key : {false, true})
          for (raster::Blend blend : blends)
            for (ColourKind farbe : farben) {
              if (kind == TexKind::None && (linear || key)) continue;
              SCOPED_TRACE(testing::Message() << "target " << static_cast<int>(zf) << " texels "
                                              << static_cast<int>(kind) << " linear " << linear << " key " << key
                                              << " blend " << static_cast<int>(blend) << " colour "
                                              << static_cast<int>(farbe));
              for (int fall = 0; fall < 12; ++fall) {
                int tw = 1 + static_cast<int>(rng() % 40), th = 1 + static_cast<int>(rng() % 24);
                if (fall % 4 == 1) tw = 120 + static_cast<int>(rng() % 200), th = 1 + static_cast<int>(rng() % 6);
                if (fall % 6 == 2) th = 120 + static_cast<int>(rng() % 100), tw = 1 + static_cast<int>(rng() % 8);
                SurfacePtr tex = ZufallsTextur(rng, tf, tw, th, false);
                SurfacePtr start = ZufallsTextur(rng, zf, kBreite, kZeilen, false);
                raster::SpanCtx c;
                c.tex = tex->Row(0);
                c.texPitch = tex->Pitch();
                // A 16-bit texture two bytes into its memory, its rows as long as its texels.
                std::vector<uint8_t> verschoben;
                if (BytesPerPixel(tf) == 2 && fall % 5 == 3) {
                  verschoben.assign(2 + static_cast<size_t>(2 * tw) * th, 0);
                  for (int y = 0; y < th; ++y) std::memcpy(&verschoben[2 + 2 * tw * y], tex->Row(y), 2 * tw);
                  c.tex = verschoben.data() + 2;
                  c.texPitch = 2 * tw;
                }
                c.texW = tw;
                c.texH = th;
                c.keyMask = ValueMask(tf);
                c.key = tex->GetPixel(static_cast<int>(rng() % tw), static_cast<int>(rng() % th));
                auto schritt = [&](int64_t turns) {
                  switch (rng() % 7) {
                    case 0: return int64_t{0};
                    case 1: return kEins;
                    case 2: return zufall64(-kEins * 102 / 100, kEins * 102 / 100);  // magnified
                    case 3: return zufall64(-8 * kEins, 8 * kEins);
                    case 4: return zufall64(-(int64_t{1} << 44), int64_t{1} << 44);
                    case 5: return zufall64(-kEins / 5, kEins / 5);  // much magnified
                    default: return zufall64(-kEins / 8, kEins / 8) + turns * kEins;
                  }
                };
                raster::SpanStart s;
                s.u = zufall64(-3 * tw * kEins, 4 * tw * kEins);
                s.v = zufall64(-3 * th * kEins, 4 * th * kEins);
                if (rng() % 8 == 0) s.u = zufall64(-(int64_t{1} << 46), int64_t{1} << 46);
                c.du = schritt(tw);
                c.dv = schritt(th);
                const uint32_t flat = farbe == ColourKind::Plain   ? 0xFFFFFFFFu
                                      : farbe == ColourKind::White ? (rng() | 0x01000000u) | 0xFFFFFFu
                                                                   : rng() | 0x01000000u;
                c.flat = flat;
                for (int i = 0; i < 4; ++i) {
                  const bool steil = rng() % 10 == 0;
                  s.col[i] = steil ? zufall64(-(int64_t{1} << 40), int64_t{1} << 40)
                                   : zufall64(-(int64_t{4} << 16), int64_t{260} << 16);
                  c.dcol[i] = steil ? zufall64(-(int64_t{1} << 36), int64_t{1} << 36)
                                    : zufall64(-(int64_t{3} << 16), int64_t{3} << 16);
                }
                const int32_t x = static_cast<int32_t>(rng() % 40);
                const int32_t n = 1 + static_cast<int32_t>(rng() % (kBreite - x));
                raster::SpanRows rows{nullptr, start->Pitch(), 1, 0};
                if (farbe != ColourKind::Gouraud && rng() % 2 == 0) {
                  rows.count = kZeilen;
                  rows.dv = c.dv;
                  c.dv = 0;
                }
                const TexKind art = kind;  // a lambda cannot name a structured binding everywhere yet
                auto zeichne = [&](raster::Loops breite) {
                  SurfacePtr ziel = Surface::Create(kBreite, kZeilen, zf);
                  ziel->BltFast(0, 0, *start, nullptr, DDBLTFAST_WAIT);
                  raster::SpanRows r = rows;
                  r.row = ziel->Row(0);
                  raster::SelectSpan(zf, art, linear, key, blend, farbe, breite)(c, r, x, n, s);
                  return ziel;
                };
                SurfacePtr referenz = zeichne(raster::Loops::Reference);
                for (raster::Loops breite : AlleBreiten())
                  ASSERT_EQ(ErsterUnterschied(*zeichne(breite), *referenz), "")
                      << "loops " << static_cast<int>(breite) << " case " << fall << ": texture " << tw << "x" << th
                      << " u " << s.u << " du " << c.du << " v " << s.v << " dv " << c.dv << " x " << x << " n "
                      << n;
              }
            }
}
