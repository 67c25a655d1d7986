#pragma once
#include <cstdint>

#include "shell/pool.hpp"

struct SpezialObjekt {
  int32_t Art = 0;
  float Parameter1 = 0, Parameter2 = 0;
  float X = 0, Y = 0;
  int32_t Frame = 0;
  int32_t FrameZeit = 0;
  float MX = 0, MY = 0;
  int16_t Aktiv = 0;
};

inline Pool<SpezialObjekt, 15> SpezialObjekte;
