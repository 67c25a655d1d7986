// The overlay pass of one frame over the play area of an 800 x 600 XRGB8888 back buffer,
// as every frame loop runs it after its scene:
//   idle      - nothing asked for: the pass only notes that the overlay texture follows;
//   everything - the most it ever does: both overlays at full strength (one refilled from
//                the frame), the cross-fade, the checkpoint flash, both frame copies and
//                the noise;
//   fade      - a page change of the menu: the frozen frame over the whole screen.
//
// No goal is set: the pass draws only what is active, so its cost is what the scene
// around it has to leave free. The counters give milliseconds per frame and the share of
// the 16 ms tick (one core).
//
//   build/bench/bench_effects
#include <benchmark/benchmark.h>

#include <chrono>

#include "campaign/checkpoints_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects.hpp"
#include "platform/device3d.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "screen.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/pictures_state.hpp"

namespace {

using platform::PixelFormat;

void Anzeige() {
  bench::Schirm();
  // The standard pictures at their demo sizes: the overlay texture, the fade texture
  // trimmed to the screen, the noise.
  TexBlur = bench::MusterBild(64, 64);
  TexBlur2 = bench::MusterBild(801, 601);
  SurfaceKorrektur(TexBlur2);
  TexNoise = bench::MusterBild(256, 256);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) BackBuffer->SetPixel(x, y, static_cast<uint32_t>(x * 3 + y * 5) * 0x010203u);
  Rendern = true;
}

// What each workload asks for at the start of a frame.
void Nichts() {}

void Alles() {
  Overlay1 = Overlay2 = true;
  Overlay1Alpha = Overlay2Alpha = 0.5f;
  OverlayKopie = true;
  Abblenden = true;
  BlendAlpha = 0.5f;
  BlendStart = true;
  CheckpointTor.Triggered = true;
  CheckpointTor.Alpha = 0.6f;
  CheckpointTor.AlphaStep = -0.001f;
  Rauschen = 0.3f;
}

void Blende() {
  Abblenden = true;
  BlendAlpha = 0.5f;
}

void Lauf(benchmark::State& state, void (*anfragen)(), const RECT& R2) {
  Anzeige();
  double summe = 0;
  for (auto _ : state) {
    ClearFrameRequests();
    anfragen();
    const auto t0 = std::chrono::steady_clock::now();
    RenderStart();
    OverlayEffekte(R2);
    RenderEnd();
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.SetIterationTime(t);
    summe += t;
  }
  const double ms = state.iterations() ? 1e3 * summe / static_cast<double>(state.iterations()) : 0;
  state.counters["ms_per_frame"] = ms;
  state.counters["share_of_16ms"] = ms / 16;
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
  testsupport::FreshState();
}

void BM_Leer(benchmark::State& state) { Lauf(state, Nichts, SpielfeldRect); }
void BM_Alles(benchmark::State& state) { Lauf(state, Alles, SpielfeldRect); }
void BM_Blende(benchmark::State& state) { Lauf(state, Blende, VollbildRect); }

}  // namespace

BENCHMARK(BM_Leer)->Name("effects/idle")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Alles)->Name("effects/everything")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Blende)->Name("effects/fade")->Unit(benchmark::kMillisecond)->UseManualTime();

BENCHMARK_MAIN();
