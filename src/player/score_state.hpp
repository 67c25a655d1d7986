#pragma once
#include <cstdint>

#include "shell/pool.hpp"

struct PunkteAnzeige {
  float X = 0, Y = 0;
  float SpeedY = 0;
  int32_t Alter = 0;
  int16_t Aktiv = 0;
  int32_t Wert = 0;
};

// The record's fields in their order, for checkpoints.
template <class IO>
void Felder(IO& io, PunkteAnzeige& p) {
  io.Single(p.X);
  io.Single(p.Y);
  io.Single(p.SpeedY);
  io.Int32(p.Alter);
  io.Int16(p.Aktiv);
  io.Int32(p.Wert);
}

inline Pool<PunkteAnzeige, 100> PunkteAnzeigen;
inline int32_t& PunkteFrei = PunkteAnzeigen.Frei;
inline int32_t& PunkteMax = PunkteAnzeigen.Max;
