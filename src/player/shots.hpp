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
  std::vector<float> SchweifX;
  std::vector<float> SchweifY;
};

inline std::array<Pool<SchussDaten, 1000>, 2> Schuesse;
