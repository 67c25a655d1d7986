#pragma once
// The special event of the level: one at a time.
#include <array>
#include <cstdint>

struct SpezialStandDaten {
  bool Aktiv = false;
  bool Neustart = true;  // set when an event (re)starts
  int32_t Art = 0;
  std::array<int32_t, 4> Wert{};
  int32_t Tick = 0;
};
// The record's fields as checkpoints store them (28 bytes): the flag, the type, the four
// values, the frame counter, the set-up request.
template <class IO>
void Felder(IO& io, SpezialStandDaten& s) {
  io.Bool16(s.Aktiv);
  io.Int32(s.Art);
  for (int32_t& w : s.Wert) io.Int32(w);
  io.Int32(s.Tick);
  io.Bool16(s.Neustart);
}

inline SpezialStandDaten SpezialStand;

// Before a level pass: no event runs; the next one sets itself up. Its values stay.
inline void ResetSpecialEvent() {
  SpezialStand.Aktiv = false;
  SpezialStand.Art = 0;
  SpezialStand.Tick = 0;
  SpezialStand.Neustart = true;
}
