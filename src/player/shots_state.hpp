#pragma once
// The player-shot pool: two groups moved at two points of the frame.
#include <array>
#include <cstdint>
#include <vector>

#include "shell/pool.hpp"

struct SchussDaten {
  int32_t Art = 0;
  float Force = 0;
  float Stärke = 0;
  float SX = 0, SY = 0;
  float X = 0, Y = 0;
  int16_t Aktiv = 0;
  int32_t Zaehler = 0;
  int32_t Zustand = 0;
  int32_t VeskNr = 0;
  // The trail history of ribbon shots; it keeps its room when the shot is freed.
  std::vector<float> SchweifX;
  std::vector<float> SchweifY;
};

// Group 0 is moved early in the tick, group 1 late; each has slots 0 To 1000.
inline std::array<Pool<SchussDaten, 1000>, 2> Schuesse;
// Each group's first-free hint and highest used slot (-1 when empty).
inline int32_t& SchussFrei(int32_t Index) { return Schuesse[Index].Frei; }
inline int32_t& SchussMax(int32_t Index) { return Schuesse[Index].Max; }

// Points of the longest trail (the red ribbon torpedo's 25 + 1). The bouncing ribbon's
// length is its force, 20 at most from the satellite; a longer one is held to this room.
inline constexpr size_t kSchweifPunkte = 26;

// At start-up, with the other pools: room for a trail in every slot, so a ribbon shot
// fired during play allocates nothing.
inline void ReserveShotTrails() {
  for (auto& gruppe : Schuesse)
    for (SchussDaten& s : gruppe.Slot) {
      s.SchweifX.reserve(kSchweifPunkte);
      s.SchweifY.reserve(kSchweifPunkte);
    }
}
