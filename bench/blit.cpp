// Full-screen blits at 16 and 32 bits against memcpy of the same bytes: an unkeyed copy
// should reach at least half of memcpy's speed, a keyed one at least a quarter. Compare
// the bytes_per_second columns of one run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/surface.hpp"

namespace {

using platform::PixelFormat;
using platform::Surface;

constexpr int kW = 800, kH = 600;

PixelFormat FormatOf(int64_t bits) { return bits == 16 ? PixelFormat::RGB565 : PixelFormat::XRGB8888; }

// A picture like a screen of sprites: runs of black (transparent) between coloured runs.
void Sprites(Surface& s) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      bool leer = ((x / 13) + (y / 7)) % 3 == 0;
      s.SetPixel(x, y, leer ? 0 : platform::PackPixel(s.Format(), x * 3, y, x ^ y));
    }
  s.SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
}

void Bytes(benchmark::State& state, int64_t perIteration) {
  state.SetBytesProcessed(state.iterations() * perIteration);
}

void BM_Memcpy(benchmark::State& state) {
  const size_t n = static_cast<size_t>(kW) * kH * (state.range(0) / 8);
  std::vector<uint8_t> a(n, 1), b(n, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), n);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  Bytes(state, static_cast<int64_t>(n));
}

void BM_BltFast(benchmark::State& state) {
  Surface src(kW, kH, FormatOf(state.range(0))), dst(kW, kH, FormatOf(state.range(0)));
  Sprites(src);
  const uint32_t flags = state.range(1) ? platform::DDBLTFAST_SRCCOLORKEY : platform::DDBLTFAST_NOCOLORKEY;
  for (auto _ : state) {
    dst.BltFast(0, 0, src, nullptr, flags | platform::DDBLTFAST_WAIT);
    benchmark::DoNotOptimize(dst.Row(0));
    benchmark::ClobberMemory();
  }
  Bytes(state, int64_t{kW} * kH * (state.range(0) / 8));
}

// A 400 x 300 picture stretched over the whole screen.
void BM_BltStretch(benchmark::State& state) {
  Surface src(kW / 2, kH / 2, FormatOf(state.range(0))), dst(kW, kH, FormatOf(state.range(0)));
  Sprites(src);
  const uint32_t flags = platform::DDBLT_WAIT | (state.range(1) ? platform::DDBLT_KEYSRC : 0);
  for (auto _ : state) {
    dst.Blt(nullptr, &src, nullptr, flags);
    benchmark::DoNotOptimize(dst.Row(0));
    benchmark::ClobberMemory();
  }
  Bytes(state, int64_t{kW} * kH * (state.range(0) / 8));
}

}  // namespace

BENCHMARK(BM_Memcpy)->ArgName("bits")->Arg(16)->Arg(32);
BENCHMARK(BM_BltFast)->ArgNames({"bits", "keyed"})->ArgsProduct({{16, 32}, {0, 1}});
BENCHMARK(BM_BltStretch)->ArgNames({"bits", "keyed"})->ArgsProduct({{16, 32}, {0, 1}});

BENCHMARK_MAIN();
