#pragma once
// The special event of the level: one at a time, started by an enemy route (or the logo
// intro), kept in every checkpoint.
#include <cstdint>

struct SpezialStandDaten {
  bool Aktiv = false;  // an event runs
  int32_t Art = 0;     // 0 fly-in, 1 key prompt, 2 glow, 3 thunderstorm, 4 wobble, 5 engines,
                       // 6 jump to the end, 7 burning
  // The route's parameters. The key prompt shows the keys of action `Wert1` in the grey
  // level `Wert2`; the thunderstorm keeps its bolt's seed in `Wert1` and its x in `Wert2`.
  int32_t Wert1 = 0;
  int32_t Wert2 = 0;
  int32_t Wert3 = 0;
  int32_t Wert4 = 0;
  int32_t Zeit = 0;      // the event's frame counter
  bool Neustart = true;  // the event sets itself up on its next call
};
inline SpezialStandDaten SpezialStand;

// The record's fields in their order (28 bytes), for checkpoints.
template <class IO>
void Felder(IO& io, SpezialStandDaten& s) {
  io.Bool16(s.Aktiv);
  io.Int32(s.Art);
  io.Int32(s.Wert1);
  io.Int32(s.Wert2);
  io.Int32(s.Wert3);
  io.Int32(s.Wert4);
  io.Int32(s.Zeit);
  io.Bool16(s.Neustart);
}

// Before a level pass: no event runs; the next one sets itself up. Its values stay.
inline void ResetSpecialEvent() {
  SpezialStand.Aktiv = false;
  SpezialStand.Art = 0;
  SpezialStand.Zeit = 0;
  SpezialStand.Neustart = true;
}

// As at program start: no event has run, so no values either.
inline void ResetSpecialEventValues() { SpezialStand = SpezialStandDaten{}; }
