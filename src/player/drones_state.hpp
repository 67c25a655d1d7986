#pragma once
// The drone ship's chain of drones and its special weapons.
#include <array>
#include <cstdint>
#include <vector>

#include "shell/basic.hpp"

struct DrohnenDaten {
  float X = 0, Y = 0;
  std::array<float, 11> VerlaufX{};  // the leader's last positions, 0 newest
  std::array<float, 11> VerlaufY{};
  float Winkel = 0;  // facing, degrees
  int16_t Halten = 0;
  int32_t Abklingzeit = 0;
};

struct DrohnenStatus {
  std::vector<DrohnenDaten> Kette;  // drone 0 follows the ship
  int16_t BlitzAn = 0;
  int16_t SchildAn = 0;
  int16_t KugelSchuesseAn = 0;
  std::array<int32_t, 3> Munition{};
  std::array<int32_t, 3> SpezialAbklingzeit{};
  int32_t Spezialwaffe = 0;

  // The highest drone index: the chain's own length.
  int32_t DrohnenMax() const { return UBound(Kette); }
};

inline DrohnenStatus Drohnen;
