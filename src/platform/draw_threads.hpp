#pragma once
// How many threads draw into the back buffer. Each takes horizontal bands of the picture
// and draws in them everything the frame draws, in the order it was drawn, so the pixels
// are the same whatever the count; one thread draws every call at once, as it is made.
#include <cstdint>
#include <string>

namespace platform {

// HARVO_THREADS (1 to 64) when it is set, else the CPUs the process may run on (at most 64).
int32_t DrawThreads();
// When HARVO_THREADS was set to something else: the line that says so and what is used
// (also written to stderr); else empty.
const std::string& DrawThreadsRefusal();
// The CPUs the calling thread may run on (its affinity: taskset, cgroups), 1 to 64.
int32_t UsableCpus();
// The count for the value of HARVO_THREADS (nullptr when unset), `usable` when there is
// none or it is refused; `refusal` then says why, else it is emptied.
int32_t DrawThreadsFrom(const char* value, int32_t usable, std::string& refusal);
// For tests and measurements: draws with `n` threads from now on (clamped to 1..64);
// what is still to be drawn is drawn first.
void SetDrawThreads(int32_t n);

}  // namespace platform
