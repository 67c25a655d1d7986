// How many threads draw: HARVO_THREADS when it is a whole number from 1 to 64, else the
// CPUs the process may run on, with a line saying what was refused.
#include <gtest/gtest.h>

#include <sched.h>

#include <string>
#include <thread>

#include "platform/draw_threads.hpp"

using namespace platform;

TEST(DrawThreads, TheCountFromTheEnvironmentOrTheUsableCpus) {
  const struct {
    const char* value;
    int32_t count;
  } faelle[] = {{nullptr, 6}, {"1", 1}, {"64", 64}, {"04", 4}, {"0", 6},   {"-1", 6},  {"abc", 6},
                {"4 ", 6},    {" 4", 6}, {"+4", 6},  {"65", 6},  {"1000", 6}, {"", 6}, {"99999999999", 6}};
  for (const auto& f : faelle) {
    std::string refusal = "old";
    EXPECT_EQ(DrawThreadsFrom(f.value, 6, refusal), f.count) << (f.value ? f.value : "(unset)");
    const bool refused = f.value && f.count == 6;
    EXPECT_EQ(refusal.empty(), !refused) << refusal;
    if (refused) {
      EXPECT_EQ(refusal,
                "HARVO_THREADS=\"" + std::string(f.value) + "\" is not a whole number from 1 to 64: drawing with 6 threads");
    }
  }
}

// A process bound to one CPU (taskset -c 0) draws with one thread by default.
TEST(DrawThreads, UsableCpusFollowTheAffinity) {
  int32_t einer = 0;
  std::thread t([&] {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(0, &set);
    if (sched_setaffinity(0, sizeof set, &set) == 0) einer = UsableCpus();
  });
  t.join();
  EXPECT_EQ(einer, 1);
  EXPECT_GE(UsableCpus(), 1);
}
