#pragma once
// Landscape layers 0..6; their timed events are the level's layer records `Ebenen`.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/record_io.hpp"
#include "shell/basic.hpp"
#include "shell/pool.hpp"
#include "world/level_data_state.hpp"  // the layer records `Ebenen`

struct LandschaftObjekt {
  float X = 0, Y = 0;
  int32_t Sprite = 0;
  float DX = 0, DY = 0;
  int16_t Aktiv = 0;
};

// One layer's item pool. Unlike the other pools its slots are made at start-up, each
// layer with its own capacity, and freed at shut-down.
struct LandschaftEbene {
  std::vector<LandschaftObjekt> Objekte;  // 0 To Kapazitaet; none for layer 4
  int32_t Max = -1;
  int32_t Frei = 0;
  // The highest slot index; -1 for a layer without items.
  int32_t Kapazitaet() const { return UBound(Objekte); }

  std::span<LandschaftObjekt> Slots() { return Objekte; }
  int32_t Claim() { return pool::Claim(Slots(), Frei, Max); }
  void Kill(int32_t k) { pool::Kill(Slots(), Frei, Max, k); }
  void Reset() { pool::Reset(Slots(), Frei, Max); }
};

// The records' fields in their order, for checkpoints: the items, the highest used slot,
// the first-free hint and the capacity (the highest slot index, which the item array
// gives). A read layer's indices must lie within the items it read.
template <class IO>
void Felder(IO& io, LandschaftObjekt& o) {
  io.Single(o.X);
  io.Single(o.Y);
  io.Int32(o.Sprite);
  io.Single(o.DX);
  io.Single(o.DY);
  io.Int16(o.Aktiv);
}

template <class IO>
void Felder(IO& io, LandschaftEbene& e) {
  platform::DynamischesFeld(io, e.Objekte, platform::Mindestgroesse<LandschaftObjekt>(), INT32_MAX,
                            [](IO& f, LandschaftObjekt& o) { Felder(f, o); });
  int32_t max = e.Max, frei = e.Frei;
  io.Int32(max);
  io.Int32(frei);
  platform::ListenSchranke(io, e.Kapazitaet());
  if constexpr (IO::kReads) {
    if (max < -1 || max > e.Kapazitaet() || frei < 0 || frei > e.Kapazitaet() + 1) io.Fail();
    if (!io.Ok()) return;
  }
  e.Max = max;
  e.Frei = frei;
}

// Capacities (highest index) of layers 0..6; layer 4 never holds landscape items.
inline constexpr std::array<int32_t, 7> LandschaftKapazitaet = {10, 50, 20, 100, -1, 20, 15};
inline std::array<LandschaftEbene, 7> Landschaft;

inline bool LandschaftsKontakt = true;  // the ships' landscape contact tests run

// At start-up: each layer's slots, empty.
inline void CreateLandscapeLayers() {
  for (int layer = 0; layer < 7; ++layer) {
    LandschaftEbene& e = Landschaft[layer];
    e.Objekte.assign(static_cast<size_t>(LandschaftKapazitaet[layer] + 1), LandschaftObjekt{});
    e.Reset();
  }
}

// Before a level pass: every layer empty and its timeline back at its first event.
inline void ResetLandscape() {
  for (int layer = 0; layer < 7; ++layer) {
    Landschaft[layer].Reset();
    Ebenen[layer].Cursor = 0;
  }
}

// At shut-down: the slots go.
inline void FreeLandscapeLayers() {
  for (LandschaftEbene& e : Landschaft) std::vector<LandschaftObjekt>().swap(e.Objekte);
}
