#pragma once
// Drawing into the back buffer, recorded and run in bands. With more than one drawing
// thread, the 3D device and the blitter do not draw into the surface the device draws into
// at once: they record what they would draw. The record goes to the drawing threads in
// batches as it grows, and is finished when the pixels are next needed (a lock, a copy
// out of the surface, text, the present, the end of the scene, a change to a picture the
// record reads). Each thread takes horizontal bands of the surface and draws in its band
// every recorded draw, in the order they were made. A draw computes every row from the
// draw alone, whichever band it falls in, so the pixels are those of drawing each call at
// once.
//
// Surfaces know when the record holds them (surface.hpp: `Settle…`); the drawing code
// below them reads and writes rows with `RawRow`, which does not wait.
#include <cstddef>
#include <cstdint>

#include "platform/surface.hpp"

namespace platform::bands {

// Draws the rows `from` .. `to` - 1 of one recorded draw (`draw` is what was recorded).
using RowsFn = void (*)(const void* draw, int32_t from, int32_t to);

// Whether draws into `target` are recorded now: more than one drawing thread, and a
// surface the 3D device draws into.
bool Records(const Surface& target);

// Readies the record: its memory and the drawing threads, so
// that frames allocate nothing.
void Prepare();

// Records a draw into rows `top` .. `bottom` - 1 (at most) of `target`, reading `source`
// (nullptr for none), covering about `pixels` pixels; `rows` draws it. Returns room for
// `bytes` bytes (16-byte aligned) that the caller fills with what `rows` reads before it
// records again: then the draw may start. What was recorded for another target runs
// first.
void* Record(Surface& target, const Surface* source, int32_t top, int32_t bottom, int64_t pixels, RowsFn rows,
             size_t bytes);

// Typed form of Record: the draw `d` copied into the record, with `extra` bytes after it.
template <class Draw>
Draw* Record(Surface& target, const Surface* source, int32_t top, int32_t bottom, int64_t pixels, RowsFn rows,
             const Draw& d, size_t extra = 0) {
  static_assert(alignof(Draw) <= 16);
  void* room = Record(target, source, top, bottom, pixels, rows, sizeof(Draw) + extra);
  return new (room) Draw(d);
}

// Runs everything recorded, band by band on the drawing threads.
void RunPending();

// For tests: every thread that draws bands calls `hook` (when set) at the points of the
// hand-off where it reads or writes the shared counters, so that a test can hold a thread up
// there as a busy machine might. `where` names the point (HaltAt).
enum class HaltAt : int32_t { BeforeTaking, Taken, BeforeCount, Counted, Released };
using HaltHook = void (*)(HaltAt where);
void SetHaltHook(HaltHook hook);

}  // namespace platform::bands
