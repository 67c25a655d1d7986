#pragma once
// Heap allocations, counted: this test program replaces the global operator new (every
// form of it) by one that counts while a count runs on the calling thread. Whatever must
// not allocate during play (claiming and freeing pool slots, and later whole ticks of a
// level) runs inside `AllocationsDuring`. It also keeps the bytes held, on every thread,
// while `PeakBytesDuring` runs.
#include <cstdint>
#include <functional>

namespace alloccount {

// How many times `body` called operator new on this thread.
int64_t AllocationsDuring(const std::function<void()>& body);
// Inside `AllocationsDuring`: the allocations counted so far, so that a part of the body
// (the ticks of a level after its loading) can be told apart.
int64_t CountSoFar();

// The most heap memory (in bytes, as the allocator hands it out) that `body` and the
// threads it starts held at once through operator new, above what they held at its start.
// For what must stay within a memory bound, however large its input.
int64_t PeakBytesDuring(const std::function<void()>& body);

}  // namespace alloccount
