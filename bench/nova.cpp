// The super nova drawn into an 800 x 600 XRGB8888 back buffer against a full enemy pool
// (101 enemies of four components each), every tick drawn, from its first tick to its
// last:
//   tearing    - kind 4: 101 streaks a tick from the enemies and the picture torn in
//                columns and rows (two passes of self-blits over the whole screen) for
//                120 ticks, then the blow on all 101;
//   black hole - kind 7: coloured lines, a ray and a black spark a tick, then up to 25
//                black rays, with a black disc that grows to 530 pixels' radius, drawn
//                twice; the blow on all 101 at tick 181.
// `SpielNova` alone is timed; "with particles" adds the effect particles the nova makes,
// moved and drawn (they belong to the particle step of the tick, which has its own
// benchmark, but only the nova makes so many at once).
//
// Goal: under 3 ms per tick on one core. The counters give the mean and the worst tick in
// milliseconds and the mean's share of the 16 ms tick.
//
//   build/bench/bench_nova
#include "player/nova.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/enemies_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

using platform::PixelFormat;
constexpr int32_t kTaste = 100;

// A soft round glow of `n` x `n`, black (transparent) outside.
int32_t Glut(int n) {
  return testsupport::PaintedPicture(n, n, PixelFormat::XRGB8888, true, [n](int x, int y) {
    const double d = std::hypot(x + 0.5 - n / 2.0, y + 0.5 - n / 2.0) / (n / 2.0);
    const auto g = static_cast<uint32_t>(d >= 1 ? 0 : (1 - d * d) * 255);
    return 0xFF000000u | g * 0x010101u;
  });
}

void Anzeige() {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  // The standard pictures at their demo sizes.
  TexKreis2 = Glut(64);
  TexBalken = testsupport::PaintedPicture(16, 8, PixelFormat::XRGB8888, true, [](int, int y) {
    return 0xFF000000u | (255 - std::abs(2 * y - 7) * 30) * 0x010101u;
  });
  TexWave = TexStrich = TexWeiss = Glut(32);
  for (int32_t& t : TexFeuer) t = Glut(64);
  for (int32_t& t : TexRauch) t = Glut(64);
  Schiff[0].Typ = 0;
  KeyConfig.KeyMap(AktionSuperNova, 0, 0) = kTaste;
  SoundAn = false;
  Rendern = true;
  SetRndState(99);
}

// The pool full of enemies of four components, the pod and the key ready.
void Aufstellen(int32_t art) {
  for (int32_t e = 0; e <= 100; ++e) {
    Gegner& g = GegnerListe[e];
    g.Typ.Komponenten.resize(4);
    g.Typ.HP = 500;
    g.Typ.Width = g.Typ.Height = 48;
    g.Typ.Punkte = 100;
    g.X = static_cast<float>(20 + (e % 11) * 70), g.Y = static_cast<float>(10 + (e / 11) * 55);
    g.Aktiv = VBTrue, g.Stirbt = VBFalse, g.TodArt = 0;
  }
  GegnerMax = 100, GegnerFrei = 101;
  Spieler[0].Pod = 0, Spieler[0].Tod = 0;
  Pods[0].Besitz = VBTrue, Pods[0].Waffe = art, Pods[0].X = 120, Pods[0].Y = 260;
  Satellit.X = 300, Satellit.Y = 200;
  KeyState[kTaste] = true;
}

void Lauf(benchmark::State& state, int32_t art, bool mitPartikeln) {
  Anzeige();
  double summe = 0, schlimmste = 0;
  int64_t ticks = 0;
  for (auto _ : state) {
    if (!WeltAngehalten) {
      state.PauseTiming();
      BigPartikel.Reset();
      Aufstellen(art);
      state.ResumeTiming();
    }
    const auto t0 = std::chrono::steady_clock::now();
    RenderStart();
    SpielNova();
    if (mitPartikeln) MoveBigPartikel();
    RenderEnd();
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    KeyState[kTaste] = false;
    state.SetIterationTime(t);
    summe += t;
    schlimmste = std::max(schlimmste, t);
    ++ticks;
  }
  const double ms = ticks ? 1e3 * summe / static_cast<double>(ticks) : 0;
  state.counters["ms_per_tick"] = ms;
  state.counters["worst_tick_ms"] = 1e3 * schlimmste;
  state.counters["share_of_16ms"] = ms / 16;
  KeyState.fill(false);
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
  testsupport::FreshState();
}

void BM_Risse(benchmark::State& state) { Lauf(state, 4, false); }
void BM_RisseMitPartikeln(benchmark::State& state) { Lauf(state, 4, true); }
void BM_Loch(benchmark::State& state) { Lauf(state, 7, false); }
void BM_LochMitPartikeln(benchmark::State& state) { Lauf(state, 7, true); }

}  // namespace

// A whole number of novae: 201 ticks of kind 4, 251 of kind 7.
BENCHMARK(BM_Risse)->Name("nova/tearing")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(201 * 5);
BENCHMARK(BM_RisseMitPartikeln)
    ->Name("nova/tearing with particles")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(201 * 5);
BENCHMARK(BM_Loch)->Name("nova/black hole")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(251 * 5);
BENCHMARK(BM_LochMitPartikeln)
    ->Name("nova/black hole with particles")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(251 * 5);

BENCHMARK_MAIN();
