// The two frame costs of the start-up:
//   video_frame  - one picture of a demo video: decoded (Motion JPEG, 800 x 600), converted
//                  and scaled into the back buffer's format, at 32 and 16 bits; the small
//                  400 x 300 twin scaled up to the full screen;
//   praxelworks  - one frame of the distorted logo: the black quad, three 20 x 20 grids of
//                  the fade texture, the noise and the 61 torn bands.
//
// Goals (one core): a video picture within 5 ms, a distortion frame within 6 ms of its
// 31 ms tick. The time column is the cost of one frame. The demo videos are plain
// pictures: a filmed video decodes slower, roughly by its larger JPEG data.
//
//   build/bench/bench_video   (from the build folder, beside Data/)
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/display.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "frontend/logo.hpp"
#include "platform/device3d.hpp"
#include "platform/fs.hpp"
#include "platform/video.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "screen.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/pictures_state.hpp"

namespace {

using platform::PixelFormat;

std::string Datei(const char* name) { return platform::fs::ProgramFolder() + "../Data/Video/" + name; }

void VideoBild(benchmark::State& state, const char* name, PixelFormat format) {
  platform::Surface ziel(800, 600, format);
  std::unique_ptr<platform::video::Decoder> d;
  platform::video::Error e;
  for (auto _ : state) {
    if (!d || !d->NextPicture()) {
      state.PauseTiming();
      d = platform::video::Decoder::Open(Datei(name), e);
      if (!d) {
        state.SkipWithError(("cannot open " + Datei(name) + ": " + e.text).c_str());
        return;
      }
      state.ResumeTiming();
      d->NextPicture();
    }
    d->DrawPicture(ziel, {0, 0, 800, 600});
    double start = 0;
    benchmark::DoNotOptimize(d->TakeSound(start));
  }
}

void BM_VideoFrame32(benchmark::State& s) { VideoBild(s, "Logo.avi", PixelFormat::XRGB8888); }
void BM_VideoFrame16(benchmark::State& s) { VideoBild(s, "Logo.avi", PixelFormat::RGB565); }
void BM_VideoLowScaledUp(benchmark::State& s) { VideoBild(s, "LogoLow.avi", PixelFormat::XRGB8888); }

void BM_PraxelworksFrame(benchmark::State& state) {
  bench::Schirm();
  TexWeiss = bench::MusterBild(8, 8);
  TexBlur2 = bench::MusterBild(801, 601);
  SurfaceKorrektur(TexBlur2);
  TexNoise = bench::MusterBild(256, 256);
  SetUpRect(TexWeiss, 0, 0, 800, 600);
  int32_t tick = 0;
  for (auto _ : state) {
    const int32_t a = 40, b = 200;
    RenderStart();
    SetUpColor(TexWeiss, 0, 0, 0, 1.0f);
    Render(TexWeiss, false);
    RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 0.33f, SinTab[b] / 3, SinTab[a] / 2, TexBlur2, false);
    RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 0.33f, SinusB(b + tick) / 4, SinusB(a + tick) / 4, TexBlur2, true);
    RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 0.33f, SinusB(2 * tick), SinusB(2 * tick), TexBlur2, true);
    MakeSomeNoise(SinTab[(2 * tick) % 360] / 4 + Rnd() * 0.3f);
    RenderEnd();
    const float amplitude = 50 - 50 * CosinusB(4 * tick);
    for (int32_t y = 90; y <= 510; y += 7) {
      const int32_t shift = CLng(CLng(amplitude * SinTab[CLng(y / 600.0 * 180)]) + Rnd() * 5);
      if (shift <= 2) continue;
      const RECT band{0, y, 800 - shift, y + 7};
      BackBuffer->BltFast(shift, y, *BackBuffer, &band, 0);
    }
    tick = (tick + 1) % 91;
  }
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
}

}  // namespace

BENCHMARK(BM_VideoFrame32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideoFrame16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideoLowScaledUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PraxelworksFrame)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
