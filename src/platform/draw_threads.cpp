#include "platform/draw_threads.hpp"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "platform/band_queue.hpp"

namespace platform {
namespace {

int32_t FromEnvironment() {
  if (const char* s = std::getenv("HARVO_THREADS")) {
    char* end = nullptr;
    const long n = std::strtol(s, &end, 10);
    if (end != s && *end == '\0' && n >= 1 && n <= 64) return static_cast<int32_t>(n);
  }
  return std::clamp<int32_t>(static_cast<int32_t>(std::thread::hardware_concurrency()), 1, 64);
}

int32_t& Count() {
  static int32_t n = FromEnvironment();
  return n;
}

}  // namespace

int32_t DrawThreads() { return Count(); }

void SetDrawThreads(int32_t n) {
  bands::RunPending();
  Count() = std::clamp<int32_t>(n, 1, 64);
}

}  // namespace platform
