#pragma once
// The satellite of the ship of type 1: an orb that docks in front of or behind the ship,
// can be launched along the screen, rams enemies and swallows enemy shots. Save games and
// checkpoints store the record whole, so its fields keep this order.
#include <cstdint>

struct SatellitDaten {
  int32_t Abklingzeit = 0;  // frames until it may fire
  int32_t Stufe = 0;        // 0..2
  float X = 0, Y = 0;       // top left of its 64 x 64 picture
  int16_t Da = 0;           // the satellite exists
  int32_t Spezialwaffe = 0;
  int32_t Frei1 = 0, Frei2 = 0;
  int32_t Frame = 0;
  int32_t FrameZeit = 0;
  // 1 docked in front, 2 docked behind, 3 launched ahead of the ship, 4 launched behind
  // it, 5 recalled and homing on the ship.
  int32_t Status = 0;
  float SX = 0, SY = 0;
  int32_t Rammenergie = 0;
};

inline SatellitDaten Satellit;
