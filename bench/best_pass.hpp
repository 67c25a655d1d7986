#pragma once
// The timing loop of the benchmarks that print their own tables.
#include <algorithm>
#include <chrono>

namespace bench {

// Runs `pass` until at least 0.25 s have gone by, `repeat` times; the best time per pass
// in seconds.
template <typename F>
double BestPass(int repeat, F pass) {
  using Clock = std::chrono::steady_clock;
  double best = 1e30;
  for (int r = 0; r < repeat; ++r) {
    int n = 0;
    const Clock::time_point t0 = Clock::now();
    double spent = 0;
    do {
      pass();
      ++n;
      spent = std::chrono::duration<double>(Clock::now() - t0).count();
    } while (spent < 0.25);
    best = std::min(best, spent / n);
  }
  return best;
}

}  // namespace bench
