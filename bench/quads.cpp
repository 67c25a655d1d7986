// Textured quads through our 3D device and through SDL2's software renderer
// (SDL_CreateSoftwareRenderer + SDL_RenderGeometry), the same workloads in one run:
// 5,000 quads of 8 x 8, 5,000 of 32 x 32, 500 of 128 x 128 and 4 full-screen quads into
// an 800 x 600 XRGB8888 target, each with normal and with additive blending, point
// sampling, a picture whose black is transparent (a colour key for us, alpha 0 for SDL),
// drawn unscaled at random places with a tint and 75 % opacity (the game's particles and
// sprites), and the same untinted and opaque (plain sprites).
//
// Goal: at least 8 x SDL's throughput for quads of 32 x 32 and larger, at least 4 x for
// 8 x 8. Prints Mpixel/s and ns per quad for both and the ratio.
//
//   build/bench/bench_quads [--repeat N] [--only 8x8|32x32|128x128|full] [--loops plain|sse2|avx2]
#include <SDL.h>

#include <algorithm>
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

constexpr int kW = 800, kH = 600;

struct Workload {
  const char* name;
  int size;   // quad side; 0 = full screen
  int count;  // quads per pass
};
constexpr Workload kWorkloads[] = {{"8x8", 8, 5000}, {"32x32", 32, 5000}, {"128x128", 128, 500}, {"full", 0, 4}};

// A sprite-like picture: colours with black (transparent) border and hole.
uint32_t Pixel(int x, int y, int w, int h) {
  const int dx = 2 * x + 1 - w, dy = 2 * y + 1 - h, m = std::min(w, h);
  if (dx * dx + dy * dy < m * m / 16 || x == 0 || y == 0 || x == w - 1 || y == h - 1) return 0;
  return (static_cast<uint32_t>(40 + 200 * x / w) << 16) | (static_cast<uint32_t>(40 + 200 * y / h) << 8) |
         static_cast<uint32_t>(((x * 37 + y * 91) & 255) | 1);
}

struct Quad {
  float x, y;
};

std::vector<Quad> Places(const Workload& w) {
  std::mt19937 rng(12345);
  const int qw = w.size ? w.size : kW, qh = w.size ? w.size : kH;
  std::uniform_int_distribution<int> px(0, kW - qw), py(0, kH - qh);
  std::vector<Quad> q(static_cast<size_t>(w.count));
  for (Quad& p : q) p = {static_cast<float>(px(rng)), static_cast<float>(py(rng))};
  return q;
}

struct Colour {
  uint8_t r, g, b, a;
  const char* name;
};

double OursPass(platform::Device3D& dev, const platform::SurfacePtr& tex, const std::vector<Quad>& places, int qw,
                int qh, bool add, Colour c, int repeat) {
  const uint32_t colour = (uint32_t{c.a} << 24) | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
  return bench::BestPass(repeat, [&] {
    dev.BeginScene();
    dev.SetRenderState(platform::D3DRENDERSTATE_ALPHABLENDENABLE, -1);
    dev.SetRenderState(platform::D3DRENDERSTATE_COLORKEYENABLE, -1);
    dev.SetRenderState(platform::D3DRENDERSTATE_SRCBLEND, platform::D3DBLEND_SRCALPHA);
    dev.SetRenderState(platform::D3DRENDERSTATE_DESTBLEND,
                       add ? platform::D3DBLEND_DESTALPHA : platform::D3DBLEND_INVSRCALPHA);
    dev.SetRenderState(platform::D3DRENDERSTATE_CULLMODE, platform::D3DCULL_NONE);
    dev.SetTextureStageState(0, platform::D3DTSS_ALPHAOP, platform::D3DTOP_MODULATE);
    dev.SetTexture(0, tex);
    platform::TLVertex v[4];
    for (const Quad& q : places) {
      const float l = q.x, t = q.y, r = q.x + qw, b = q.y + qh;
      v[0] = {l, b, 0, 1, colour, 0, 0, 1};
      v[1] = {l, t, 0, 1, colour, 0, 0, 0};
      v[2] = {r, b, 0, 1, colour, 0, 1, 1};
      v[3] = {r, t, 0, 1, colour, 0, 1, 0};
      dev.DrawPrimitive(platform::D3DPT_TRIANGLESTRIP, platform::D3DFVF_TLVERTEX, v, 4, 0);
    }
    dev.EndScene();
  });
}

double SdlPass(SDL_Renderer* ren, SDL_Texture* tex, const std::vector<Quad>& places, int qw, int qh, bool add,
               Colour c, int repeat) {
  SDL_SetTextureBlendMode(tex, add ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
  const SDL_Color col{c.r, c.g, c.b, c.a};
  const int idx[6] = {0, 1, 2, 1, 2, 3};
  return bench::BestPass(repeat, [&] {
    SDL_Vertex v[4];
    for (const Quad& q : places) {
      const float l = q.x, t = q.y, r = q.x + qw, b = q.y + qh;
      v[0] = {{l, b}, col, {0, 1}};
      v[1] = {{l, t}, col, {0, 0}};
      v[2] = {{r, b}, col, {1, 1}};
      v[3] = {{r, t}, col, {1, 0}};
      SDL_RenderGeometry(ren, tex, v, 4, idx, 6);
    }
    SDL_RenderFlush(ren);
  });
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 3;
  std::string only;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    if (std::strcmp(argv[i], "--loops") == 0) {
      const std::string l = argv[i + 1];
      platform::raster::LimitLoops(l == "plain"  ? platform::raster::Loops::Plain
                                   : l == "sse2" ? platform::raster::Loops::Sse2
                                                 : platform::raster::Loops::Avx2);
    }
  }

  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_Surface* sdlTarget = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Renderer* ren = SDL_CreateSoftwareRenderer(sdlTarget);
  if (!sdlTarget || !ren) {
    std::fprintf(stderr, "SDL software renderer: %s\n", SDL_GetError());
    return 1;
  }
  platform::SurfacePtr target = platform::Surface::Create(kW, kH, PixelFormat::XRGB8888);
  platform::Device3DPtr dev = platform::Device3D::Create(target);

  const Colour colours[] = {{255, 200, 160, 192, "tinted 75%"}, {255, 255, 255, 255, "plain"}};
  std::printf("%-8s %-6s %-10s | %12s %10s | %12s %10s | %6s\n", "quads", "blend", "colour", "ours ns/quad",
              "Mpixel/s", "SDL ns/quad", "Mpixel/s", "ratio");
  for (const Workload& w : kWorkloads) {
    if (!only.empty() && only != w.name) continue;
    const int qw = w.size ? w.size : kW, qh = w.size ? w.size : kH;
    platform::SurfacePtr tex = platform::Surface::Create(qw, qh, PixelFormat::XRGB8888);
    SDL_Surface* pic = SDL_CreateRGBSurfaceWithFormat(0, qw, qh, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < qh; ++y)
      for (int x = 0; x < qw; ++x) {
        const uint32_t p = Pixel(x, y, qw, qh);
        tex->SetPixel(x, y, p);
        static_cast<uint32_t*>(pic->pixels)[y * (pic->pitch / 4) + x] = p ? (p | 0xFF000000u) : 0;
      }
    tex->SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
    SDL_Texture* sdlTex = SDL_CreateTextureFromSurface(ren, pic);
    SDL_SetTextureScaleMode(sdlTex, SDL_ScaleModeNearest);
    const std::vector<Quad> places = Places(w);
    const double pixels = static_cast<double>(qw) * qh * w.count;
    for (const Colour& c : colours) {
      for (bool add : {false, true}) {
        const double ours = OursPass(*dev, tex, places, qw, qh, add, c, repeat);
        const double sdl = SdlPass(ren, sdlTex, places, qw, qh, add, c, repeat);
        std::printf("%-8s %-6s %-10s | %12.1f %10.0f | %12.1f %10.0f | %5.1fx\n", w.name, add ? "add" : "normal",
                    c.name, ours * 1e9 / w.count, pixels / ours / 1e6, sdl * 1e9 / w.count, pixels / sdl / 1e6,
                    sdl / ours);
      }
    }
    SDL_DestroyTexture(sdlTex);
    SDL_FreeSurface(pic);
  }
  SDL_DestroyRenderer(ren);
  SDL_FreeSurface(sdlTarget);
  return 0;
}
