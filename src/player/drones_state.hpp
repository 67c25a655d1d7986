#pragma once
// The drone ship's chain of drones and its special weapons.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/record_io.hpp"
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

// The records' fields in their order, for checkpoints: the chain as a dynamic array, and
// its highest index (the chain's length) after the three switches.
template <class IO>
void Felder(IO& io, DrohnenDaten& d) {
  io.Single(d.X);
  io.Single(d.Y);
  for (float& v : d.VerlaufX) io.Single(v);
  for (float& v : d.VerlaufY) io.Single(v);
  io.Single(d.Winkel);
  io.Int16(d.Halten);
  io.Int32(d.Abklingzeit);
}

template <class IO>
void Felder(IO& io, DrohnenStatus& s) {
  platform::DynamischesFeld(io, s.Kette, platform::Mindestgroesse<DrohnenDaten>(), INT32_MAX,
                            [](IO& f, DrohnenDaten& d) { Felder(f, d); });
  io.Int16(s.BlitzAn);
  io.Int16(s.SchildAn);
  io.Int16(s.KugelSchuesseAn);
  platform::ListenSchranke(io, s.DrohnenMax());
  for (int32_t& m : s.Munition) io.Int32(m);
  for (int32_t& z : s.SpezialAbklingzeit) io.Int32(z);
  io.Int32(s.Spezialwaffe);
}

inline DrohnenStatus Drohnen;

// As at program start: no chain, no ammunition and no special weapon. A new game
// (`VeskReset`) makes the chain and fills two of the magazines; the third magazine, the
// cooldowns and the chosen weapon carry on from game to game.
inline void ResetDrones() { Drohnen = DrohnenStatus{}; }
