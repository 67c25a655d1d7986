#pragma once
// The one time source of the program: a monotonic millisecond count. The SDL backend
// reads the system clock; the headless backend keeps a virtual clock that only moves
// when the program waits, so tests run fast and always the same way.
#include <cstdint>

namespace platform {

uint64_t TickCount();

// Busy-waits until the tick count reaches `tick`, without handing out window messages.
// (The real clock sleeps through most of the wait and spins only the last millisecond.)
void SpinUntil(uint64_t tick);

// A short rest inside a loop that pumps messages while it waits for `tick`.
void IdleUntil(uint64_t tick);

}  // namespace platform
