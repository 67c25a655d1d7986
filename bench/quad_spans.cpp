// Textured and gradient quads through our 3D device into an 800 x 600 target: the spans
// the game's effects spend their time in, each drawn with every width of loops the
// processor has, in one run, so the columns compare.
//
// Workloads (the tint is 75 % alpha unless said otherwise; "565" draws into a 16-bit
// target from the 16-bit form of the picture):
//   64 turned add / normal  - 2,000 fire puffs of 64 x 64, a 32 x 32 picture with alpha
//                             magnified twice, filtered, turned (the effect particles);
//   64 axis add / normal    - the same unturned at sub-pixel places (the animations);
//   64 turned add 565/4444  - the puffs into a 16-bit target from a 4-4-4-4 picture;
//   64 keyed normal         - an opaque keyed picture, filtered (stretched sprites);
//   8 add / normal          - 20,000 sparks of 8 x 8 at 1:1, filtered at sub-pixel places;
//   full normal             - one full-screen quad, a 256 x 192 picture, half transparent
//                             (the haze);
//   64 point add / normal   - 2,000 puffs of 64 x 64 from a 64 x 64 picture with alpha,
//                             point-sampled at 1:1 (explosion puffs);
//   64 turned point add     - the same turned;
//   32 turned point normal  - the 64 x 64 picture on turned quads of 32 (smoke, minified);
//   streaks add             - 20 turned quads of 384 from a 32 x 32 keyed glow without
//                             alpha, filtered, yellow at half alpha (the super nova's
//                             tearing);
//   tiles add               - 20 tiles of 256 x 256 at 1:1 at sub-pixel places, keyed,
//                             point-sampled, white at 80 % (snow, rain sheets);
//   glow add                - a 64 x 48 keyed picture stretched over the screen, point-
//                             sampled, white at 10 % (the glow event's copies);
//   gradient white          - four slanted bands of 400 x 150 of a white keyed picture,
//                             one colour along the top and one along the bottom (the
//                             water's surface);
//   gradient none           - the same bands without a texture.
//
// Prints nanoseconds per quad for each width and each width's speed-up over the first.
// The device hands the quads to the drawing threads: HARVO_THREADS=1 measures one core.
//
//   build/bench/bench_quad_spans [--repeat N] [--only NAME-PREFIX] [--loops reference,plain,sse2,avx2]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "best_pass.hpp"
#include "platform/device3d.hpp"
#include "platform/rasteriser.hpp"
#include "platform/surface.hpp"

namespace {

using platform::PixelFormat;
using platform::raster::Loops;

constexpr int kW = 800, kH = 600;

enum class Bild { Puff, Keyed, Glow, White, None };
enum class Form { Turned, Axis, Band };
enum class Filter { Linear, Point };

constexpr uint32_t kTint = 0xC0FFA040u;

struct Workload {
  const char* name;
  PixelFormat target, texture;
  Bild bild;
  Form form;
  int size, texSize, count;  // quad side, picture side, quads per pass
  bool add;
  Filter filter = Filter::Linear;
  uint32_t tint = kTint;
};

constexpr PixelFormat k32 = PixelFormat::XRGB8888, k16 = PixelFormat::RGB565;
constexpr PixelFormat kX = PixelFormat::XRGB8888, kA = PixelFormat::ARGB8888, kA16 = PixelFormat::ARGB4444;
constexpr Filter kPoint = Filter::Point, kLinear = Filter::Linear;
constexpr uint32_t kGelb = 0x80FFFF33u, kSchnee = 0xCCFFFFFFu, kSchimmer = 0x1AFFFFFFu;
constexpr Workload kWorkloads[] = {
    {"64 turned add", k32, kA, Bild::Puff, Form::Turned, 64, 32, 2000, true},
    {"64 turned normal", k32, kA, Bild::Puff, Form::Turned, 64, 32, 2000, false},
    {"64 axis add", k32, kA, Bild::Puff, Form::Axis, 64, 32, 2000, true},
    {"64 axis normal", k32, kA, Bild::Puff, Form::Axis, 64, 32, 2000, false},
    {"64 turned add 565/4444", k16, kA16, Bild::Puff, Form::Turned, 64, 32, 2000, true},
    {"64 keyed normal", k32, kX, Bild::Keyed, Form::Turned, 64, 32, 2000, false},
    {"8 add", k32, kA, Bild::Puff, Form::Axis, 8, 8, 20000, true},
    {"8 normal", k32, kA, Bild::Puff, Form::Axis, 8, 8, 20000, false},
    {"full normal", k32, kA, Bild::Puff, Form::Axis, 0, 256, 1, false},
    {"64 point add", k32, kA, Bild::Puff, Form::Axis, 64, 64, 2000, true, kPoint},
    {"64 point normal", k32, kA, Bild::Puff, Form::Axis, 64, 64, 2000, false, kPoint},
    {"64 point add 565/4444", k16, kA16, Bild::Puff, Form::Axis, 64, 64, 2000, true, kPoint},
    {"64 point normal 565/4444", k16, kA16, Bild::Puff, Form::Axis, 64, 64, 2000, false, kPoint},
    {"64 turned point add", k32, kA, Bild::Puff, Form::Turned, 64, 64, 2000, true, kPoint},
    {"32 turned point normal", k32, kA, Bild::Puff, Form::Turned, 32, 64, 4000, false, kPoint},
    {"streaks add", k32, kX, Bild::Glow, Form::Turned, 384, 32, 20, true, kLinear, kGelb},
    {"streaks add 565", k16, k16, Bild::Glow, Form::Turned, 384, 32, 20, true, kLinear, kGelb},
    {"tiles add", k32, kX, Bild::Glow, Form::Axis, 256, 256, 20, true, kPoint, kSchnee},
    {"tiles add 565", k16, k16, Bild::Glow, Form::Axis, 256, 256, 20, true, kPoint, kSchnee},
    {"glow add", k32, kX, Bild::Glow, Form::Axis, 0, 64, 4, true, kPoint, kSchimmer},
    {"glow add 565", k16, k16, Bild::Glow, Form::Axis, 0, 64, 4, true, kPoint, kSchimmer},
    {"gradient white", k32, kX, Bild::White, Form::Band, 0, 8, 4, false, kPoint},
    {"gradient white 565", k16, k16, Bild::White, Form::Band, 0, 8, 4, false, kPoint},
    {"gradient none", k32, kX, Bild::None, Form::Band, 0, 8, 4, false, kPoint},
    {"gradient none 565", k16, k16, Bild::None, Form::Band, 0, 8, 4, false, kPoint},
};

// A round puff: bright in the middle, fading out to transparent at the rim; or an opaque
// picture with a transparent (keyed black) rim and hole; or a soft grey glow, keyed black
// outside; or plain white.
uint32_t Texel(Bild bild, int x, int y, int n) {
  const double dx = (x + 0.5) / n - 0.5, dy = (y + 0.5) / n - 0.5, r = 2 * std::sqrt(dx * dx + dy * dy);
  const uint32_t rot = static_cast<uint32_t>(40 + 200 * x / n), gruen = static_cast<uint32_t>(40 + 200 * y / n);
  switch (bild) {
    case Bild::Puff: {
      const uint32_t a = r >= 1 ? 0 : static_cast<uint32_t>(255 * (1 - r));
      return (a << 24) | (rot << 16) | (gruen << 8) | 0x60;
    }
    case Bild::Keyed:
      if (r < 0.25 || x == 0 || y == 0 || x == n - 1 || y == n - 1) return 0;
      return 0xFF000000u | (rot << 16) | (gruen << 8) | static_cast<uint32_t>(((x * 37 + y * 91) & 255) | 1);
    case Bild::Glow: return 0xFF000000u | static_cast<uint32_t>(r >= 1 ? 0 : (1 - r * r) * 255) * 0x010101u;
    case Bild::White:
    case Bild::None: break;
  }
  return 0xFFFFFFFFu;
}

platform::SurfacePtr Picture(const Workload& w) {
  if (w.bild == Bild::None) return nullptr;
  const int n = w.texSize, h = w.form == Form::Axis && w.size == 0 ? n * 3 / 4 : n;
  platform::SurfacePtr t = platform::Surface::Create(n, h, w.texture);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < n; ++x) {
      const uint32_t p = Texel(w.bild, x, y, n);
      t->SetPixel(x, y, platform::PackPixel(w.texture, (p >> 16) & 255, (p >> 8) & 255, p & 255, p >> 24));
    }
  if (w.bild != Bild::Puff) t->SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
  return t;
}

using Quad = std::vector<platform::TLVertex>;

// The quads of one pass, at random places (the same in every run).
std::vector<Quad> Quads(const Workload& w) {
  std::mt19937 rng(12345);
  auto zufall = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
  const uint32_t tint = w.tint;
  std::vector<Quad> quads;
  for (int i = 0; i < w.count; ++i) {
    if (w.form == Form::Band) {
      // Two bands side by side, each twice: the top edge slanted, a colour at the top and
      // one at the bottom.
      const float l = i % 2 ? 400.0f : 0.0f, r = l + 400, t = 200 + 3.0f * (i % 2), b = 350 + 150.0f * (i / 2 % 2);
      const uint32_t oben = 0x6640A0E0u, unten = 0x66103060u;
      quads.push_back({{l, b, 0, 1, unten, 0, 0, 1},
                       {l, t - 4, 0, 1, oben, 0, 0, 0},
                       {r, b, 0, 1, unten, 0, 1, 1},
                       {r, t + 4, 0, 1, oben, 0, 1, 0}});
      continue;
    }
    const float qw = w.size ? static_cast<float>(w.size) : kW, qh = w.size ? static_cast<float>(w.size) : kH;
    const float x = w.size ? zufall(-8, kW - qw + 8) : 0, y = w.size ? zufall(-8, kH - qh + 8) : 0;
    Quad q = {{x, y + qh, 0, 1, tint, 0, 0, 1},
              {x, y, 0, 1, tint, 0, 0, 0},
              {x + qw, y + qh, 0, 1, tint, 0, 1, 1},
              {x + qw, y, 0, 1, tint, 0, 1, 0}};
    if (w.form == Form::Turned) {
      const float a = zufall(0, 6.2831853f), cx = x + qw / 2, cy = y + qh / 2;
      for (platform::TLVertex& e : q) {
        const float dx = e.sx - cx, dy = e.sy - cy;
        e.sx = cx + dx * std::cos(a) - dy * std::sin(a);
        e.sy = cy + dx * std::sin(a) + dy * std::cos(a);
      }
    }
    quads.push_back(q);
  }
  return quads;
}

double Pass(const Workload& w, Loops loops, int repeat) {
  platform::SurfacePtr target = platform::Surface::Create(kW, kH, w.target);
  target->BltColorFill(nullptr, platform::PackPixel(w.target, 30, 60, 90));
  platform::Device3DPtr dev = platform::Device3D::Create(target);
  const platform::SurfacePtr tex = Picture(w);
  const std::vector<Quad> quads = Quads(w);
  platform::raster::LimitLoops(loops);
  const double s = bench::BestPass(repeat, [&] {
    dev->BeginScene();
    dev->SetRenderState(platform::D3DRENDERSTATE_ALPHABLENDENABLE, -1);
    dev->SetRenderState(platform::D3DRENDERSTATE_COLORKEYENABLE, -1);
    dev->SetRenderState(platform::D3DRENDERSTATE_SRCBLEND, platform::D3DBLEND_SRCALPHA);
    dev->SetRenderState(platform::D3DRENDERSTATE_DESTBLEND,
                        w.add ? platform::D3DBLEND_DESTALPHA : platform::D3DBLEND_INVSRCALPHA);
    dev->SetRenderState(platform::D3DRENDERSTATE_CULLMODE, platform::D3DCULL_NONE);
    dev->SetTextureStageState(0, platform::D3DTSS_ALPHAOP, platform::D3DTOP_MODULATE);
    dev->SetTextureStageState(0, platform::D3DTSS_MAGFILTER,
                              w.filter == Filter::Point ? platform::D3DTFG_POINT : platform::D3DTFG_LINEAR);
    dev->SetTexture(0, tex);
    for (const Quad& q : quads) dev->DrawPrimitive(platform::D3DPT_TRIANGLESTRIP, platform::D3DFVF_TLVERTEX, q.data(), 4, 0);
    dev->EndScene();
  });
  platform::raster::LimitLoops(platform::raster::WidestLoops());
  return s;
}

struct Breite {
  const char* name;
  Loops loops;
};
constexpr Breite kBreiten[] = {{"reference", Loops::Reference}, {"plain", Loops::Plain}, {"sse2", Loops::Sse2}, {"avx2", Loops::Avx2}};

}  // namespace

int main(int argc, char** argv) {
  int repeat = 3;
  std::string only, auswahl = "reference,plain,sse2,avx2";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    if (std::strcmp(argv[i], "--loops") == 0) auswahl = argv[i + 1];
  }
  std::vector<Breite> breiten;
  for (const Breite& b : kBreiten)
    if (("," + auswahl + ",").find("," + std::string(b.name) + ",") != std::string::npos &&
        b.loops <= platform::raster::WidestLoops())
      breiten.push_back(b);
  if (breiten.empty()) return 1;

  std::printf("%-24s", "ns per quad");
  for (const Breite& b : breiten) std::printf(" %10s", b.name);
  for (size_t i = 1; i < breiten.size(); ++i) std::printf(" %6s", breiten[i].name);
  std::printf("\n");
  for (const Workload& w : kWorkloads) {
    if (!only.empty() && std::string(w.name).rfind(only, 0) != 0) continue;
    std::vector<double> t;
    for (const Breite& b : breiten) t.push_back(Pass(w, b.loops, repeat) / w.count);
    std::printf("%-24s", w.name);
    for (double s : t) std::printf(" %10.1f", s * 1e9);
    for (size_t i = 1; i < t.size(); ++i) std::printf(" %5.2fx", t[0] / t[i]);
    std::printf("\n");
  }
  return 0;
}
