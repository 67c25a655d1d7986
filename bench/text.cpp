// Text on the back buffer, glyphs cached: the lines of a menu page (about 400 characters)
// per frame at 32 and 16 bits, opaque and transparent. A 16 ms frame leaves room for many
// pages; compare the items_per_second (characters) columns.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/surface.hpp"
#include "platform/text.hpp"

namespace {

using platform::PixelFormat;

void BM_MenuPage(benchmark::State& state) {
  const PixelFormat format = state.range(0) == 16 ? PixelFormat::RGB565 : PixelFormat::XRGB8888;
  const bool opaque = state.range(1) != 0;
  auto s = platform::Surface::Create(800, 600, format);
  platform::HDC dc = 0;
  platform::GetDC(*s, dc);
  platform::HGdiObj font = platform::CreateFont(24, 0, 0, 0, 400, 0, 0, 0, 0, 7, 16, 2, 4, "Arial");
  platform::SelectObject(dc, font);
  platform::SetBkMode(dc, opaque ? platform::OPAQUE : platform::TRANSPARENT);
  platform::SetTextColor(dc, 0xFFFFFF);
  const std::string line = "Chris ranked at place 3! - Score 0012345";
  int64_t characters = 0;
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) platform::TextOut(dc, 40, 40 + 50 * i, line, static_cast<int32_t>(line.size()));
    characters += 10 * static_cast<int64_t>(line.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(characters);
  platform::ReleaseDC(*s, dc);
}
BENCHMARK(BM_MenuPage)->ArgsProduct({{32, 16}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
