// The back buffer drawn by one thread and by several: the same passes of drawing into an
// 800 x 600 target at 1, 2, 4 and the default number of drawing threads, in one run, with
// the speed-up over one thread.
//
// Workloads (each pass ends its scene, so everything recorded is drawn):
//   full filtered   - 8 full-screen quads of a 256 x 192 picture, magnified with linear
//                     filtering, additive, tinted (the haze, the nova's tearing glow);
//   64 turned       - 2,000 turned quads of 64 x 64 from a 32 x 32 picture with alpha,
//                     additive (explosion puffs);
//   8x8             - 20,000 quads of 8 x 8 at 1:1, normal blending (sparks, digits);
//   sprites         - 2,000 keyed blits of a 48 x 48 picture (sprites drawn by the blitter).
//
// Goal: at least 5 x for the full-screen quads with 8 threads. Time on the wall, best of
// several passes: the threads' time is what is saved.
//
//   build/bench/bench_threads [--repeat N] [--only NAME-PREFIX]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/device3d.hpp"
#include "platform/draw_threads.hpp"
#include "platform/surface.hpp"

namespace {

using namespace platform;
using Uhr = std::chrono::steady_clock;

constexpr int kW = 800, kH = 600;

struct Bild {
  SurfacePtr target = Surface::Create(kW, kH, PixelFormat::XRGB8888);
  Device3DPtr d = Device3D::Create(target);
  SurfacePtr glow = Muster(256, 192, PixelFormat::XRGB8888);
  SurfacePtr puff = Muster(32, 32, PixelFormat::ARGB8888);
  SurfacePtr spark = Muster(8, 8, PixelFormat::ARGB8888);
  SurfacePtr sprite = Muster(48, 48, PixelFormat::XRGB8888);

  static SurfacePtr Muster(int w, int h, PixelFormat f) {
    SurfacePtr s = Surface::Create(w, h, f);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const double r = std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) / (std::min(w, h) / 2.0);
        const auto a = static_cast<uint32_t>(r >= 1 ? 0 : (1 - r) * 255);
        s->SetPixel(x, y, r >= 1 ? 0 : PackPixel(f, (x * 7) & 255, (y * 13) & 255, 200, a));
      }
    s->SetColorKey(DDCKEY_SRCBLT, 0, 0);
    return s;
  }

  Bild() {
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, -1);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  }

  void Quad(float x, float y, float w, float h, float drehung, uint32_t farbe) {
    const float c = std::cos(drehung), s = std::sin(drehung), mx = x + w / 2, my = y + h / 2;
    TLVertex v[4];
    const float ex[4] = {-w / 2, -w / 2, w / 2, w / 2}, ey[4] = {h / 2, -h / 2, h / 2, -h / 2};
    for (int i = 0; i < 4; ++i)
      v[i] = {mx + ex[i] * c - ey[i] * s, my + ex[i] * s + ey[i] * c, 0, 1, farbe, 0, i < 2 ? 0.0f : 1.0f,
              i % 2 == 0 ? 1.0f : 0.0f};
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
  }
};

struct Workload {
  const char* name;
  std::function<void(Bild&)> pass;
};

std::vector<Workload> Workloads() {
  std::mt19937 rnd(5);
  std::vector<float> orte(60000);
  for (float& o : orte) o = std::uniform_real_distribution<float>(0, 1)(rnd);
  return {
      {"full filtered",
       [](Bild& b) {
         b.d->SetTexture(0, b.glow);
         b.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
         b.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
         for (int i = 0; i < 8; ++i) b.Quad(0.3f * i, 0.2f * i, kW, kH, 0, 0x40FFC080u);
       }},
      {"64 turned",
       [orte](Bild& b) {
         b.d->SetTexture(0, b.puff);
         b.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
         b.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
         for (int i = 0; i < 2000; ++i)
           b.Quad(orte[3 * i] * (kW - 64), orte[3 * i + 1] * (kH - 64), 64, 64, orte[3 * i + 2] * 6.28f, 0xC0FFFFFFu);
       }},
      {"8x8",
       [orte](Bild& b) {
         b.d->SetTexture(0, b.spark);
         b.d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
         b.d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
         for (int i = 0; i < 20000; ++i)
           b.Quad(std::floor(orte[2 * i] * (kW - 8)), std::floor(orte[2 * i + 1] * (kH - 8)), 8, 8, 0, 0xFFFFFFFFu);
       }},
      {"sprites",
       [orte](Bild& b) {
         for (int i = 0; i < 2000; ++i)
           b.target->BltFast(static_cast<int32_t>(orte[2 * i] * (kW - 48)), static_cast<int32_t>(orte[2 * i + 1] * (kH - 48)),
                             *b.sprite, nullptr, DDBLTFAST_SRCCOLORKEY);
       }},
  };
}

// Milliseconds per pass on the wall: the best of `repeat` rounds of at least 0.2 s.
double Miss(Bild& b, const Workload& w, int repeat) {
  double best = 1e30;
  for (int r = 0; r < repeat; ++r) {
    int n = 0;
    const Uhr::time_point t0 = Uhr::now();
    double spent = 0;
    do {
      b.d->BeginScene();
      w.pass(b);
      b.d->EndScene();
      ++n;
      spent = std::chrono::duration<double>(Uhr::now() - t0).count();
    } while (spent < 0.2);
    best = std::min(best, 1e3 * spent / n);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 5;
  std::string only;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
  }
  const int32_t standard = DrawThreads();
  std::vector<int32_t> zahlen = {1, 2, 4};
  if (standard > 4) zahlen.push_back(standard);
  std::printf("%-14s", "ms per pass");
  for (int32_t t : zahlen) std::printf("  %6d thr", t);
  std::printf("  speed-up at %d\n", zahlen.back());
  Bild b;
  for (const Workload& w : Workloads()) {
    if (std::string(w.name).rfind(only, 0) != 0) continue;
    std::printf("%-14s", w.name);
    double eins = 0, letzt = 0;
    for (int32_t t : zahlen) {
      SetDrawThreads(t);
      letzt = Miss(b, w, repeat);
      if (t == 1) eins = letzt;
      std::printf("  %10.3f", letzt);
    }
    std::printf("  %9.2fx\n", eins / letzt);
  }
  SetDrawThreads(standard);
  return 0;
}
