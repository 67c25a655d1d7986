#pragma once
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
