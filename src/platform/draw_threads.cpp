#include "platform/draw_threads.hpp"

#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/band_queue.hpp"

namespace platform {
namespace {

constexpr int32_t kMost = 64;

// A whole number from 1 to 64, written with digits only; else 0.
int32_t WholeNumber(const char* s) {
  int32_t n = 0;
  if (*s == '\0') return 0;
  for (; *s; ++s) {
    if (*s < '0' || *s > '9') return 0;
    n = n * 10 + (*s - '0');
    if (n > kMost) return 0;
  }
  return n;
}

std::string& Refusal() {
  static std::string text;
  return text;
}

int32_t FromEnvironment() {
  const int32_t n = DrawThreadsFrom(std::getenv("HARVO_THREADS"), UsableCpus(), Refusal());
  if (!Refusal().empty()) std::fprintf(stderr, "Harvo: %s\n", Refusal().c_str());
  return n;
}

int32_t& Count() {
  static int32_t n = FromEnvironment();
  return n;
}

}  // namespace

int32_t UsableCpus() {
  cpu_set_t set;
  CPU_ZERO(&set);
  int32_t n = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
  if (n <= 0) n = static_cast<int32_t>(std::thread::hardware_concurrency());
  return std::clamp<int32_t>(n, 1, kMost);
}

int32_t DrawThreadsFrom(const char* value, int32_t usable, std::string& refusal) {
  refusal.clear();
  if (!value) return usable;
  if (const int32_t n = WholeNumber(value); n >= 1) return n;
  refusal = "HARVO_THREADS=\"" + std::string(value) + "\" is not a whole number from 1 to 64: drawing with " +
            std::to_string(usable) + (usable == 1 ? " thread" : " threads");
  return usable;
}

int32_t DrawThreads() { return Count(); }

const std::string& DrawThreadsRefusal() {
  (void)Count();
  return Refusal();
}

void SetDrawThreads(int32_t n) {
  bands::RunPending();
  Count() = std::clamp<int32_t>(n, 1, kMost);
}

}  // namespace platform
