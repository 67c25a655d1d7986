#pragma once
// The satellite of the ship that carries one.
#include <cstdint>

struct SatellitDaten {
  int32_t Abklingzeit = 0;   // frames until it may fire
  int32_t Stufe = 0;         // level 0..2
  float X = 0, Y = 0;        // top-left corner of the 64 x 64 picture
  int16_t Da = 0;            // present
  int32_t Spezialwaffe = 0;  // 0..4
  int32_t Frei1 = 0, Frei2 = 0;
  int32_t AnimFrame = 0;
  int32_t AnimZeit = 0;
  // 1 docked in front, 2 docked behind, 3 launched ahead of the ship, 4 launched behind
  // it, 5 recalled.
  int32_t Zustand = 0;
  float SX = 0, SY = 0;
  int32_t Rammenergie = 0;
};

// The satellite's fields in their order, for save games and checkpoints.
template <class IO>
void Felder(IO& io, SatellitDaten& s) {
  io.Int32(s.Abklingzeit);
  io.Int32(s.Stufe);
  io.Single(s.X);
  io.Single(s.Y);
  io.Int16(s.Da);
  io.Int32(s.Spezialwaffe);
  io.Int32(s.Frei1);
  io.Int32(s.Frei2);
  io.Int32(s.AnimFrame);
  io.Int32(s.AnimZeit);
  io.Int32(s.Zustand);
  io.Single(s.SX);
  io.Single(s.SY);
  io.Int32(s.Rammenergie);
}

inline SatellitDaten Satellit;

// What the satellite's step keeps from frame to frame besides the record: the pod key's
// latch (it acts once per press), the presses while recalled, whether it damaged an
// enemy this frame, and the enemy its last test touched with whether that part could not
// be damaged (the bounce reads both).
struct SatellitSteuerung {
  bool TasteFrei = false;
  int32_t Rufe = 0;
  bool Getroffen = false;
  bool Unzerstoerbar = false;
  int32_t Feind = 0;
};
inline SatellitSteuerung SatellitLauf;

// At start-up only: a blank satellite, its latch released and its counters at 0. A new
// game only takes the satellite away; the rest of its record, the latch and the counters
// carry over from level to level and game to game.
inline void ResetSatellite() {
  Satellit = SatellitDaten{};
  SatellitLauf = SatellitSteuerung{};
}
