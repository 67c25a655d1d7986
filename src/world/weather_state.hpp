#pragma once
// Rain, snow, water and the background's per-level flags.
#include <algorithm>
#include <array>
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
inline float HintergrundX = 0;   // the level picture's offset, in (-800, 0] while it scrolls left
inline bool HintergrundInit = true;  // the next step of a mode with points sets them up first
inline int32_t HintergrundModus = 1; // 1 the level picture; the other modes -2..6 are drawn by code

// A point of the procedural backgrounds. What its five values mean depends on the mode:
// a star streak (modes 2, 6) keeps its speed, an unused 0, red, green, blue; a glow blob
// (modes 4, 5) its phase step, phase, x frequency, y frequency, alpha.
struct HintergrundPunkt {
  float X = 0, Y = 0;
  std::array<float, 5> Wert{};
};
inline std::array<HintergrundPunkt, 101> HintergrundPunkte{};
inline float Schwerkraft = 0;

// The most raindrops a level may ask for; more would only cost memory and time.
inline constexpr int32_t RegenAnzahlGrenze = 100000;

// Before a level pass: the background scrolls from its start.
inline void ResetBackgroundScroll() { HintergrundX = 0; }

// Before a level pass: 0 To RegenAnzahl raindrops, all still (none below 0, an absurd
// count capped), and the background to be set up anew. The array keeps its room, so a
// restart of the same level allocates nothing.
inline void ResetRaindrops() {
  const int32_t tropfen = RegenAnzahl < 0 ? 0 : std::min(RegenAnzahl, RegenAnzahlGrenze) + 1;
  Regentropfen.assign(static_cast<size_t>(tropfen), RegenTropfen{});
  HintergrundInit = true;
}

// Before a level pass: no weather until the level or the date says otherwise.
inline void ResetWeather() {
  Wetter = 0;
  WetterInit = true;
}
