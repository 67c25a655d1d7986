// The whole game under load: the stress level (tests/support/stress_level.cpp, built by
// the tools' level writer from the demo level's pictures) played headless by the game
// loop for 2,000 ticks with both players moving and firing: 101 enemies of four parts on
// looping routes, 501 enemy shots, 2,002 player shots, 4,001 effect particles and 3,002
// small particles, each pool kept near full (the level fills the enemies, their shots and
// the effect particles; the player shots and the small particles are topped up between
// ticks, outside the time measured). The screen is full screen at 16 or 32 bits.
//
// A tick is measured whole: input, every update step, the drawing, the overlay pass and
// the present. The wait at the end of the tick costs nothing on the headless clock, so
// the ticks run back to back: "fps" is how many ticks a second the machine manages with
// the wait skipped.
//
// Counters: mean and 99th percentile of a tick in milliseconds and as a share of the
// 16 ms tick, fps, and the pools' mean fill over the measured ticks.
// Goal: mean at most 2 ms, 99th percentile at most 4 ms (8 times real time) on one core.
//
//   build/bench/bench_stress
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "headless/run.hpp"
#include "player/shots_state.hpp"
#include "support/stress_level.hpp"
#include "support/support.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/particles_state.hpp"

namespace {

// HARVO_STRESS_TICKS shortens the run (for a profiler).
int Ticks() {
  const char* n = std::getenv("HARVO_STRESS_TICKS");
  return n ? std::max(2, std::atoi(n)) : 2000;
}

// Live objects of a pool.
template <class P>
int Lebende(const P& pool) {
  int n = 0;
  for (int32_t k = 0; k <= pool.Max; ++k) n += pool[k].Aktiv != 0;
  return n;
}

void StressLevel(benchmark::State& state) {
  testsupport::IsolatedHome home;
  testsupport::TempDir data;
  std::string error;
  if (!testsupport::BuildStressLevel(data.path(), error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  headless_run::Options o;
  o.level = "Stress";
  const int ticks = Ticks();
  o.ticks = ticks;
  o.keys = testsupport::StressKeys(ticks);
  o.seed = 1;
  o.twoPlayers = true;
  o.bits = static_cast<int32_t>(state.range(0));
  o.dataFolder = data.path();

  std::vector<double> ms;
  ms.reserve(static_cast<size_t>(ticks));
  double fuellung[5] = {};
  for (auto _ : state) {
    ms.clear();
    std::fill(std::begin(fuellung), std::end(fuellung), 0.0);
    const int code = headless_run::Run(o, [&](const headless_run::Tick& t) {
      // The first tick carries the level's set-up.
      if (t.n > 1) {
        ms.push_back(1000.0 * t.seconds);
        fuellung[0] += Lebende(GegnerListe);
        fuellung[1] += Lebende(GegnerSchuesse);
        fuellung[2] += Lebende(Schuesse[0]) + Lebende(Schuesse[1]);
        fuellung[3] += Lebende(BigPartikel);
        fuellung[4] += Lebende(Partikel[0]) + Lebende(Partikel[1]);
      }
      testsupport::TopUpPools();
    });
    if (code != 0 || ms.empty()) {
      state.SkipWithError("the stress level did not run");
      return;
    }
  }
  std::vector<double> sortiert = ms;
  std::sort(sortiert.begin(), sortiert.end());
  double summe = 0;
  for (double m : ms) summe += m;
  const double mittel = summe / static_cast<double>(ms.size());
  const double p99 = sortiert[std::min(sortiert.size() - 1, static_cast<size_t>(0.99 * static_cast<double>(sortiert.size())))];
  const double n = static_cast<double>(ms.size());
  state.counters["mean_ms"] = mittel;
  state.counters["p99_ms"] = p99;
  state.counters["mean_share"] = mittel / 16.0;
  state.counters["p99_share"] = p99 / 16.0;
  state.counters["fps"] = 1000.0 / mittel;
  state.counters["enemies"] = fuellung[0] / n;
  state.counters["enemy_shots"] = fuellung[1] / n;
  state.counters["player_shots"] = fuellung[2] / n;
  state.counters["effect_particles"] = fuellung[3] / n;
  state.counters["small_particles"] = fuellung[4] / n;
}

BENCHMARK(StressLevel)->ArgName("bits")->Arg(16)->Arg(32)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
