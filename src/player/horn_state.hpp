#pragma once
// The horn: frames it still shows, and F11's state in the frame before.
#include <cstdint>

struct HupenStatus {
  int32_t Zeit = 0;
  bool F11 = false;
};
inline HupenStatus Hupe;

// At start-up only.
inline void ResetHorn() { Hupe = HupenStatus{}; }
