#pragma once
// The special event of the level: one at a time.
#include <array>
#include <cstdint>

struct SpezialStandDaten {
  bool Aktiv = false;
  bool Neustart = true;  // set when an event (re)starts
  int32_t Art = 0;
  std::array<int32_t, 4> Wert{};
  int32_t Tick = 0;
};
inline SpezialStandDaten SpezialStand;

// Before a level pass: no event runs; the next one sets itself up. Its values stay.
inline void ResetSpecialEvent() {
  SpezialStand.Aktiv = false;
  SpezialStand.Art = 0;
  SpezialStand.Tick = 0;
  SpezialStand.Neustart = true;
}
