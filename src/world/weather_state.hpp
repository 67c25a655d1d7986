#pragma once
// Rain, snow, water and the background's per-level flags.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct RegenTropfen {
  float X = 0, Y = 0, SX = 0, SY = 0;
};

// A drop's four Singles, for checkpoints.
template <class IO>
void Felder(IO& io, RegenTropfen& t) {
  io.Single(t.X);
  io.Single(t.Y);
  io.Single(t.SX);
  io.Single(t.SY);
}

inline std::vector<RegenTropfen> Regentropfen;  // 0 To RegenAnzahl
inline int32_t RegenAnzahl = 0;
inline int32_t Wasserstand = 0;
inline int32_t Wetter = 0;  // 0 none, 1 snow, 2 haze, 3 rain sheets
inline bool WetterInit = true;  // the next weather step places every particle of its mode first
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
// A point's seven Singles, for checkpoints.
template <class IO>
void Felder(IO& io, HintergrundPunkt& p) {
  io.Single(p.X);
  io.Single(p.Y);
  for (float& w : p.Wert) io.Single(w);
}
inline std::array<HintergrundPunkt, 101> HintergrundPunkte{};
inline float Schwerkraft = 0;

// A particle of the weather: a snow tile, a haze streak or a rain sheet. Particle j of
// layer l is element 3 * j + l.
struct WetterTeil {
  float X = 0, Y = 0, SX = 0, SY = 0;
};
inline std::array<WetterTeil, 60> WetterTeile{};
// The wind that sways snow and rain sheets: a phase in degrees that wanders on by up to 3
// degrees a tick, kept for the whole run.
inline float Windphase = 0;
// The water's splash sound loops while a ship is in the surface; kept between ticks so it
// is started once and stopped once.
inline bool WasserKlangLaeuft = false;

// Before a level pass, and where the game sounds are stopped within one (a super nova, a
// respawn, the pause): the splash sound went off with them, a ship in the water or not,
// so the first ship in the surface starts it again. Not while a lone player's ship goes
// down: its sounds are stopped every tick, and the splash would start anew each time.
inline void ResetWater() { WasserKlangLaeuft = false; }

// Single raindrops are numbered 0 To RegenAnzahl, and only below this count: a level that
// asks for 500 or more gets the cheap rain sheets of the weather instead, and no drops.
inline constexpr int32_t RegenTropfenGrenze = 500;

// Before a level pass: the background scrolls from its start.
inline void ResetBackgroundScroll() { HintergrundX = 0; }

// Before a level pass: 0 To RegenAnzahl raindrops, all still; none for a negative count or
// for sheet rain. The background is to be set up anew. The array keeps its room, so a
// restart of the same level allocates nothing.
inline void ResetRaindrops() {
  const int32_t tropfen = RegenAnzahl < 0 || RegenAnzahl >= RegenTropfenGrenze ? 0 : RegenAnzahl + 1;
  Regentropfen.assign(static_cast<size_t>(tropfen), RegenTropfen{});
  HintergrundInit = true;
}

// Before a level pass: no weather until the level or the date says otherwise.
inline void ResetWeather() {
  Wetter = 0;
  WetterInit = true;
}

// As at program start: no rain, water or gravity (the command line and every level set
// their own), no weather, the background a picture yet to be set up, and the wind and the
// splash sound at rest. Within a run the wind wanders on from level to level.
inline void ResetWeatherAndBackground() {
  Regentropfen.clear();
  RegenAnzahl = 0;
  Wasserstand = 0;
  ResetWeather();
  ResetBackgroundScroll();
  HintergrundInit = true;
  HintergrundModus = 1;
  HintergrundPunkte.fill(HintergrundPunkt{});
  Schwerkraft = 0;
  WetterTeile.fill(WetterTeil{});
  Windphase = 0;
  ResetWater();
}
