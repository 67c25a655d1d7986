#pragma once
// The charged beam of each player.
#include <array>
#include <cstdint>

struct BeamStatus {
  int32_t PowerZeit = 0;
  float X = 0, Y = 0;
  float StartX = 0, StartY = 0;
  float Breite = 0;
  int32_t Modus = 0;
  int16_t AktivModus = 0;
  float Ladung = 0;
  float LadungAbschuss = 0;
  int32_t Schaden = 0;
  int16_t Fliegt = 0;
  int16_t Powermodus = 0;
  int32_t Nachleuchten = 0;
};

inline std::array<BeamStatus, 2> Beam;

// Before a level pass: neither beam charges, flies or runs its power mode.
inline void ResetBeams() {
  for (BeamStatus& b : Beam) {
    b.AktivModus = 0;
    b.Ladung = 0;
    b.PowerZeit = 0;
    b.Fliegt = 0;
    b.Powermodus = 0;
  }
}
