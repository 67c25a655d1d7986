// Taking and restoring a checkpoint with every pool full: every slot in use, every list
// non-empty (the largest snapshot a level makes, about 800 KB).
//
// Workloads:
//   save      - SaveCheckpoint: the snapshot written into the kept bytes and to its file
//               under a temporary name, renamed over the old one;
//   load      - LoadCheckpoint: the file read and compared with the kept bytes, the
//               snapshot read back into the game;
//   save_sub, load_sub - the same without the file.
//
// Goal (one core): save under 3 ms, so a gate taken costs no more than the tick it is
// taken in; load under 10 ms (a restart, behind a lost life).
//
//   build/bench/bench_checkpoint
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "campaign/checkpoints.hpp"
#include "shell/appdata.hpp"
#include "support/fresh_state.hpp"
#include "support/full_pools.hpp"
#include "support/support.hpp"

namespace {

// A game with every pool full; the home and temporary folders are the benchmark's own.
struct Voll {
  testsupport::IsolatedHome home;
  Voll() {
    testsupport::FreshState();
    DatenOrdner = home.dataDir();
    std::filesystem::create_directories(DatenOrdner);
    testsupport::FillEveryPool(1);
  }
  ~Voll() {
    KillCheckpoint();
    testsupport::FreshState();
  }
};

void BM_Save(benchmark::State& state) {
  Voll voll;
  SaveCheckpoint(0);
  for (auto _ : state) SaveCheckpoint(0);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CheckpointDaten.size()));
  state.counters["bytes"] = static_cast<double>(CheckpointDaten.size());
}

void BM_Load(benchmark::State& state) {
  Voll voll;
  SaveCheckpoint(0);
  for (auto _ : state) LoadCheckpoint();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * CheckpointDaten.size()));
}

void BM_SaveSub(benchmark::State& state) {
  Voll voll;
  std::vector<uint8_t> b;
  SaveCheckPointSub(0, b);
  for (auto _ : state) {
    b.clear();
    SaveCheckPointSub(0, b);
  }
}

void BM_LoadSub(benchmark::State& state) {
  Voll voll;
  std::vector<uint8_t> b;
  SaveCheckPointSub(0, b);
  for (auto _ : state) benchmark::DoNotOptimize(LoadCheckPointSub(b));
}

}  // namespace

BENCHMARK(BM_Save)->Name("checkpoint/save")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Name("checkpoint/load")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveSub)->Name("checkpoint/save_sub")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSub)->Name("checkpoint/load_sub")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
