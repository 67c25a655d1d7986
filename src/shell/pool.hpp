#pragma once
// The object pool every kind of game object lives in: a fixed array of records, each with
// its own active flag (`Aktiv`, 16-bit -1/0), a first-free hint (no free slot lies below
// it) and a highest-used index (no active slot above it; -1 when empty). Nothing is
// allocated while a level runs: adding scans from the hint, killing clears the flag.
#include <array>
#include <cstdint>
#include <span>

#include "shell/basic.hpp"

namespace pool {

// Takes the first inactive slot from `frei` up to the last slot: sets its active flag,
// raises `max` to it and moves `frei` past it. Returns the slot, or -1 (nothing changes)
// when no slot is free.
template <class T>
int32_t Claim(std::span<T> slots, int32_t& frei, int32_t& max) {
  const int32_t last = static_cast<int32_t>(slots.size()) - 1;
  for (int32_t k = frei < 0 ? 0 : frei; k <= last; ++k) {
    if (slots[k].Aktiv == VBFalse) {
      slots[k].Aktiv = VBTrue;
      if (k > max) max = k;
      frei = k + 1;
      return k;
    }
  }
  return -1;
}

// Clears slot k's active flag; lowers `frei` to k; when k was the highest, scans down to
// the next active slot (-1 when none is left).
template <class T>
void Kill(std::span<T> slots, int32_t& frei, int32_t& max, int32_t k) {
  if (k < 0 || k >= static_cast<int32_t>(slots.size())) return;
  slots[k].Aktiv = VBFalse;
  if (frei > k) frei = k;
  if (k == max) {
    int32_t m = k;
    while (m >= 0 && slots[m].Aktiv == VBFalse) --m;
    max = m;
  }
}

// Every slot inactive, hint 0, highest -1.
template <class T>
void Reset(std::span<T> slots, int32_t& frei, int32_t& max) {
  for (T& s : slots) s.Aktiv = VBFalse;
  frei = 0;
  max = -1;
}

}  // namespace pool

// A pool with slots 0 To Capacity (Capacity + 1 records).
template <class T, int32_t Capacity>
struct Pool {
  static constexpr int32_t Kapazitaet = Capacity;
  std::array<T, Capacity + 1> Slot{};
  int32_t Frei = 0;
  int32_t Max = -1;

  std::span<T> Slots() { return Slot; }
  T& operator[](int32_t k) { return Slot[k]; }
  const T& operator[](int32_t k) const { return Slot[k]; }
  int32_t Claim() { return pool::Claim(Slots(), Frei, Max); }
  // Copies `value` into the first free slot and marks it active; -1 when full.
  int32_t Add(const T& value) {
    int32_t k = Claim();
    if (k >= 0) {
      Slot[k] = value;
      Slot[k].Aktiv = VBTrue;
    }
    return k;
  }
  void Kill(int32_t k) { pool::Kill(Slots(), Frei, Max, k); }
  void Reset() { pool::Reset(Slots(), Frei, Max); }
  // As the pool was made: every record blank, not only free (a level pass only frees
  // them, and a record keeps what its last object left in it).
  void Clear() {
    Slot.fill(T{});
    Frei = 0;
    Max = -1;
  }
};

// Empties every pool and resets the per-level state (`VariabelnLösch`). That reset
// touches every subsystem, so it belongs to the program run on top of them all; the
// program run hands it in here at start-up, and the game loop and the front end, which
// run it before a level pass, call it through here.
inline void (*ResetAllPools)() = [] {};
