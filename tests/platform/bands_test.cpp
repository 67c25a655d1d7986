// Drawing in bands on several threads gives the pixels of drawing every call at once on
// one thread: random scenes of strips with every blend, filter, colour key and kind of
// colour, blits, fills and inversions, copies of the screen into textures that are then
// drawn with, copies within the screen, keys changed and textures freed while draws that
// use them wait, and direct writes into the locked screen, at 16 and 32 bits, drawn once
// with one thread and once with several, compared pixel by pixel (the textures too).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/device3d.hpp"
#include "platform/draw_threads.hpp"

using namespace platform;

namespace {

constexpr int kW = 800, kH = 600;

// Restores the drawing threads the test found.
struct Threads {
  int32_t before = DrawThreads();
  ~Threads() { SetDrawThreads(before); }
};

struct Szene {
  PixelFormat ziel;
  std::mt19937 rnd;
  SurfacePtr schirm;
  Device3DPtr d;
  std::vector<SurfacePtr> texturen;  // plain ones in the screen's format, then the alpha ones

  Szene(PixelFormat f, uint32_t seed) : ziel(f), rnd(seed) {
    schirm = Surface::Create(kW, kH, f);
    d = Device3D::Create(schirm);
    const PixelFormat alpha = f == PixelFormat::XRGB8888 ? PixelFormat::ARGB8888 : PixelFormat::ARGB4444;
    for (PixelFormat tf : {f, f, alpha, alpha}) texturen.push_back(NeueTextur(tf));
    texturen[1]->SetColorKey(DDCKEY_SRCBLT, 0, 0);
    Fill(*schirm);
  }

  int Zahl(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); }
  float Ort(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rnd); }
  bool Los(int prozent) { return Zahl(0, 99) < prozent; }

  // Colours with black (the key) among them; alpha textures with clear, half and opaque.
  void Fill(Surface& s) {
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) {
        const uint32_t v = rnd();
        const uint32_t a = (v >> 24) < 64 ? 0 : (v >> 24) < 128 ? 255 : v >> 24;
        s.SetPixel(x, y, v % 7 == 0 ? 0 : PackPixel(s.Format(), v >> 16, v >> 8, v, a));
      }
  }
  SurfacePtr NeueTextur(PixelFormat f) {
    SurfacePtr t = Surface::Create(Zahl(1, 4) * 16, Zahl(1, 4) * 16, f);
    Fill(*t);
    return t;
  }

  uint32_t Farbe() {
    switch (Zahl(0, 3)) {
      case 0: return 0xFFFFFFFFu;
      case 1: return 0x00FFFFFFu | (rnd() & 0xFF000000u);
      default: return rnd();
    }
  }

  void Zustaende() {
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, Los(85));
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, Los(90) ? D3DBLEND_SRCALPHA : D3DBLEND_ONE);
    const int32_t ziele[] = {D3DBLEND_INVSRCALPHA, D3DBLEND_ONE, D3DBLEND_DESTALPHA, D3DBLEND_ZERO};
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, ziele[Zahl(0, 3)]);
    d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, Los(50));
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, Los(70) ? D3DCULL_NONE : Zahl(D3DCULL_CW, D3DCULL_CCW));
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, Los(50) ? D3DTFG_LINEAR : D3DTFG_POINT);
    d->SetTextureStageState(0, D3DTSS_COLOROP, Los(80) ? D3DTOP_MODULATE : D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, Los(80) ? D3DTOP_MODULATE : D3DTOP_SELECTARG1);
    d->SetTexture(0, Los(85) ? texturen[static_cast<size_t>(Zahl(0, 3))] : nullptr);
  }

  // Quads, axis-aligned ones (1:1, magnified, at sub-pixel places, reaching off the
  // screen) and turned ones, and longer strips of one or many colours.
  void Strip() {
    Zustaende();
    const int n = Los(60) ? 4 : Zahl(3, 12);
    const float x = Ort(-100, kW), y = Ort(-100, kH), w = Ort(1, Los(10) ? 900 : 160), h = Ort(1, Los(10) ? 700 : 160);
    const uint32_t farbe = Farbe();
    const bool eine = Los(60);
    std::vector<TLVertex> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      TLVertex& p = v[static_cast<size_t>(i)];
      if (n == 4 && Los(70)) {
        // Corners left-bottom, left-top, right-bottom, right-top.
        p.sx = i < 2 ? x : x + w;
        p.sy = i % 2 == 0 ? y + h : y;
        p.tu = i < 2 ? 0.0f : 1.0f;
        p.tv = i % 2 == 0 ? 1.0f : 0.0f;
      } else {
        p.sx = x + Ort(0, w);
        p.sy = y + Ort(0, h);
        p.tu = Ort(-2, 3);
        p.tv = Ort(-2, 3);
      }
      if (Los(2)) p.sy = Los(50) ? 3e7f : -3e7f;
      p.sz = 0;
      p.rhw = 1;
      p.color = eine ? farbe : Farbe();
    }
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v.data(), n, 0);
  }

  Rect Rechteck(int w, int h) {
    const int l = Zahl(-w / 4, w), t = Zahl(-h / 4, h);
    return {l, t, l + Zahl(1, w / 2 + 1), t + Zahl(1, h / 2 + 1)};
  }

  void Schritt() {
    const int art = Zahl(0, 99);
    Surface& s = *schirm;
    Surface& t = *texturen[static_cast<size_t>(Zahl(0, 1))];  // in the screen's format
    if (art < 55) {
      Strip();
    } else if (art < 63) {
      s.BltFast(Zahl(-40, kW), Zahl(-40, kH), t, nullptr, Los(50) ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY);
    } else if (art < 69) {
      const Rect ziel = Rechteck(kW, kH);
      s.Blt(&ziel, &t, nullptr, Los(50) ? DDBLT_KEYSRC : 0);
    } else if (art < 73) {
      const Rect r = Rechteck(kW, kH);
      s.BltColorFill(&r, rnd());
    } else if (art < 76) {
      const BltFx fx{DSTINVERT, 0};
      const Rect r = Rechteck(kW, kH);
      s.Blt(&r, nullptr, nullptr, DDBLT_ROP, &fx);
    } else if (art < 80) {
      // The screen shaken sideways (rows stay in their band) or up and down.
      const Rect q = Rechteck(kW, kH);
      const bool seitwaerts = Los(50);
      s.BltFast(q.Left + Zahl(-10, 10), seitwaerts ? q.Top : q.Top + Zahl(-10, 10), s, &q,
                Los(20) ? DDBLTFAST_SRCCOLORKEY : 0);
    } else if (art < 82) {
      const Rect q = Rechteck(kW, kH), z = Rechteck(kW, kH);
      s.Blt(&z, &s, &q, 0);
    } else if (art < 88) {
      // A lens: the screen copied into a texture that is drawn with next.
      const int x = Zahl(0, kW - t.Width()), y = Zahl(0, kH - t.Height());
      const Rect q{x, y, x + t.Width(), y + t.Height()};
      t.BltFast(0, 0, s, &q, 0);
    } else if (art < 90) {
      if (Los(50))
        t.SetColorKey(DDCKEY_SRCBLT, t.GetPixel(0, 0), 0);
      else
        t.ClearColorKey();
    } else if (art < 93) {
      // A texture freed (the device lets go of it first) and another in its place.
      const size_t i = static_cast<size_t>(Zahl(0, 3));
      d->SetTexture(0, nullptr);
      texturen[i] = NeueTextur(texturen[i]->Format());
    } else if (art < 96) {
      // Text and the like: pixels written into the locked screen.
      LockedRect l;
      const Rect r{Zahl(0, kW - 40), Zahl(0, kH - 12), 0, 0};
      const Rect voll{r.Left, r.Top, r.Left + 40, r.Top + 12};
      if (s.Lock(&voll, l) == DD_OK) {
        for (int y = 0; y < l.height; ++y) l.bits[static_cast<size_t>(y) * l.pitch + static_cast<size_t>(y)] ^= 0x5A;
        s.Unlock();
      }
    } else {
      d->EndScene();
      d->BeginScene();
    }
  }
};

// The pixels of the screen and of every texture after `schritte` steps of the scene of
// `seed`, drawn with `threads` threads.
std::vector<uint32_t> Male(PixelFormat f, uint32_t seed, int32_t threads, int schritte) {
  SetDrawThreads(threads);
  Szene sz(f, seed);
  sz.d->BeginScene();
  for (int i = 0; i < schritte; ++i) sz.Schritt();
  sz.d->EndScene();
  std::vector<uint32_t> px;
  for (const SurfacePtr& s : {sz.schirm, sz.texturen[0], sz.texturen[1], sz.texturen[2], sz.texturen[3]})
    for (int y = 0; y < s->Height(); ++y)
      for (int x = 0; x < s->Width(); ++x) px.push_back(s->GetPixel(x, y));
  return px;
}

}  // namespace

TEST(Bands, ManyThreadsDrawThePixelsOfOne) {
  Threads zurueck;
  const int32_t viele = std::max(4, zurueck.before);
  for (PixelFormat f : {PixelFormat::XRGB8888, PixelFormat::RGB565})
    for (uint32_t seed = 1; seed <= 6; ++seed) {
      const std::vector<uint32_t> eins = Male(f, seed, 1, 600), mehrere = Male(f, seed, viele, 600);
      ASSERT_EQ(eins.size(), mehrere.size());
      const auto ab = std::mismatch(eins.begin(), eins.end(), mehrere.begin());
      EXPECT_TRUE(ab.first == eins.end()) << "format " << static_cast<int>(f) << ", seed " << seed
                                          << ": first difference at pixel " << (ab.first - eins.begin());
    }
}
