#pragma once
// The timing loop of the benchmarks that print their own tables. It counts the thread's
// processor time, not the time on the wall: the machines we measure on are shared, and
// time spent waiting for a processor would only add noise.
#include <time.h>

#include <algorithm>

namespace bench {

inline double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs `pass` until at least 0.25 s have gone by, `repeat` times; the best time per pass
// in seconds.
template <typename F>
double BestPass(int repeat, F pass) {
  double best = 1e30;
  for (int r = 0; r < repeat; ++r) {
    int n = 0;
    const double t0 = ThreadSeconds();
    double spent = 0;
    do {
      pass();
      ++n;
      spent = ThreadSeconds() - t0;
    } while (spent < 0.25);
    best = std::min(best, spent / n);
  }
  return best;
}

}  // namespace bench
