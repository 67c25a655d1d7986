#pragma once
// The enemy pool: each enemy a copy of its template followed by its run-time state.
#include <array>
#include <cstdint>

#include "shell/pool.hpp"
#include "world/level_data.hpp"

struct Gegner {
  GegnerTyp Typ;  // the template part, copied when the enemy is placed
  int32_t RouteNr = 0;
  float X = 0, Y = 0;
  int16_t Aktiv = 0;
  int32_t RoutePos = 0;
  float MX = 0, MY = 0;
  int32_t Ti = 0;
  std::array<float, 8> Vari{};
  std::array<float, 14> GVar{};
  int32_t LTick = 0;
  int32_t AY = 0;
  int32_t TodZeit = 0;
  int32_t TodArt = 0;
  int16_t Stirbt = 0;
  int32_t VeskNr = 0;
};

inline Pool<Gegner, 100> GegnerListe;
inline int32_t& GegnerFrei = GegnerListe.Frei;
inline int32_t& GegnerMax = GegnerListe.Max;
inline bool SonderGegnerDa = false;
