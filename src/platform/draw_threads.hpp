#pragma once
// How many threads draw into the back buffer. Each takes horizontal bands of the picture
// and draws in them everything the frame draws, in the order it was drawn, so the pixels
// are the same whatever the count; one thread draws every call at once, as it is made.
#include <cstdint>

namespace platform {

// HARVO_THREADS (1 to 64) when it is set, else the machine's hardware threads.
int32_t DrawThreads();
// For tests and measurements: draws with `n` threads from now on (clamped to 1..64);
// what is still to be drawn is drawn first.
void SetDrawThreads(int32_t n);

}  // namespace platform
