#pragma once
// The super nova: one at a time for both players.
#include <array>
#include <cstdint>

struct NovaStatus {
  int16_t WeltAngehalten = 0;  // the world is frozen
  int32_t NovaZeit = 0;
  int32_t NovaArt = 0;
  int32_t NovaPod = 0;
  int32_t NovaAltWert = 0;
  float NovaX = 0, NovaY = 0;
  int32_t NovaSpieler = 0;
  int16_t NovaTasteGehalten = 0;
  std::array<float, 101> NovaVerzoegerung{};
  std::array<float, 101> NovaWerte{};
  float NovaMitteX = 0, NovaMitteY = 0;
};

inline NovaStatus Nova;
inline int16_t& WeltAngehalten = Nova.WeltAngehalten;

// Before a level pass: no nova runs and the world moves.
inline void ResetNova() { Nova = NovaStatus{}; }
