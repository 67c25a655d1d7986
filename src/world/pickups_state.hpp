#pragma once
// The pick-ups drifting through the level: sixteen slots, saved with the checkpoints.
#include <cstdint>

#include "shell/pool.hpp"

struct SpezialObjekt {
  int32_t Art = 0;  // 0 pod weapon, 1 unused, 2 blur window, 3 power-up, 4 satellite
  float Parameter1 = 0, Parameter2 = 0;
  float X = 0, Y = 0;  // top-left corner of the 64 x 64 picture
  int32_t Frame = 0;   // 0..5
  int32_t FrameZeit = 0;
  float MX = 0, MY = 0;  // movement per tick
  int16_t Aktiv = 0;
};

// The record's fields in their order, for checkpoints.
template <class IO>
void Felder(IO& io, SpezialObjekt& o) {
  io.Int32(o.Art);
  io.Single(o.Parameter1);
  io.Single(o.Parameter2);
  io.Single(o.X);
  io.Single(o.Y);
  io.Int32(o.Frame);
  io.Int32(o.FrameZeit);
  io.Single(o.MX);
  io.Single(o.MY);
  io.Int16(o.Aktiv);
}

inline Pool<SpezialObjekt, 15> SpezialObjekte;
