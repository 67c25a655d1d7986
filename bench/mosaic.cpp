// A new tile in the loading-screen mosaic, as in the tick of a lost life: the back buffer
// reduced to 200 x 150, the 1.4 MB mosaic read, the tile pasted in, the picture encoded
// and written under a temporary name and renamed over the old one.
//
// Workloads:
//   existing - the usual case: an 800 x 600 mosaic already on disk (32- and 16-bit
//              back buffers);
//   missing  - no mosaic yet: a blank one is made instead of read.
//
// Goal: under 15 ms per call on one core (the tick it runs in then takes about one frame
// longer, which the player does not see behind the lost life).
//
//   build/bench/bench_mosaic
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "campaign/mosaic.hpp"
#include "engine/display.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/support.hpp"

namespace {

using platform::PixelFormat;

void Schirm(PixelFormat format) {
  BackBuffer = platform::Surface::Create(800, 600, format);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) BackBuffer->SetPixel(x, y, platform::PackPixel(format, x, y, x ^ y));
}

void BM_Mosaik(benchmark::State& state) {
  testsupport::IsolatedHome home;
  DatenOrdner = home.dataDir();
  std::filesystem::create_directories(DatenOrdner);
  const bool vorhanden = state.range(0) != 0;
  Schirm(state.range(1) == 16 ? PixelFormat::RGB565 : PixelFormat::XRGB8888);
  const std::string datei = DatenOrdner + "Loadingscreen.bmp";
  NewPictureToLoadingscreen();
  for (auto _ : state) {
    if (!vorhanden) {
      state.PauseTiming();
      std::filesystem::remove(datei);
      state.ResumeTiming();
    }
    NewPictureToLoadingscreen();
  }
  BackBuffer.reset();
}

}  // namespace

BENCHMARK(BM_Mosaik)
    ->Name("mosaic/new_tile")
    ->ArgNames({"existing", "bits"})
    ->Args({1, 32})
    ->Args({1, 16})
    ->Args({0, 32})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
