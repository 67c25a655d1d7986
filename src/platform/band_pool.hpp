#pragma once
// The threads that draw the back buffer's bands beside the thread that asks. They are
// started once, when a job first asks for more than one thread, and sleep while there is
// nothing to draw.
#include <cstdint>

namespace platform::bands {

using BandFn = void (*)(void* context, int32_t band);

// Calls `fn`(context, band) once for every band 0 .. count - 1, spread over `threads`
// threads (the calling one among them), and returns when every band is done. Which thread
// draws which band is left to chance: the bands must not touch each other's pixels.
void RunBands(int32_t threads, int32_t count, BandFn fn, void* context);

// Starts the threads a later RunBands(`threads`, ...) needs, so that the first frame does
// not wait for them (nor allocate).
void StartThreads(int32_t threads);

}  // namespace platform::bands
