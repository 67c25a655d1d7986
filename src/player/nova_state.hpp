#pragma once
// The super nova: one at a time for both players.
#include <array>
#include <cstdint>

struct NovaStatus {
  int16_t WeltAngehalten = 0;  // the world is frozen
  int32_t NovaZeit = 0;        // -1 in the tick it starts, then counting down to its end
  int32_t NovaArt = 0;         // the kind: what was spent decides it
  int32_t NovaPod = 0;         // the pod spent, -1 none (the satellite, or nothing)
  int32_t NovaAltWert = 0;     // the background mode to put back at the end
  float NovaX = 0, NovaY = 0;  // where the firing ship stood
  int32_t NovaSpieler = 0;     // who fired, and scores
  int16_t NovaTasteGehalten = 0;
  std::array<float, 101> NovaVerzoegerung{};  // per enemy slot: ticks until it is struck
  std::array<float, 101> NovaWerte{};         // the running kind's working values
  float NovaMitteX = 0, NovaMitteY = 0;
  // What each enemy slot was doing when the nova took hold of it: an enemy that was
  // already dying is hidden meanwhile and goes on dying afterwards.
  std::array<int16_t, 101> StirbtVorher{};
  std::array<int32_t, 101> TodArtVorher{};
};

inline NovaStatus Nova;
inline int16_t& WeltAngehalten = Nova.WeltAngehalten;

// Before a level pass: no nova runs and the world moves; the kind is forgotten too, so a
// ship that spends nothing repeats only a nova of the same pass.
inline void ResetNova() { Nova = NovaStatus{}; }
