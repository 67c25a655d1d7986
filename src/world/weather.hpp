#pragma once
// Rain, snow, water and the background's per-level flags.
#include <cstdint>
#include <vector>

struct RegenTropfen {
  float X = 0, Y = 0, SX = 0, SY = 0;
};

inline std::vector<RegenTropfen> Regentropfen;  // 0 To RegenAnzahl
inline int32_t RegenAnzahl = 0;
inline int32_t Wasserstand = 0;
inline int32_t Wetter = 0;  // 1 = snow
inline bool WetterInit = true;
inline float HintergrundX = 0;
inline bool HintergrundInit = true;
inline int32_t HintergrundModus = 1;
inline float Schwerkraft = 0;

// The most raindrops a level may ask for; more would only cost memory and time.
inline constexpr int32_t RegenAnzahlGrenze = 100000;
