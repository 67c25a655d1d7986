#pragma once
// Small particles, effect particles and bubbles.
#include <cstdint>

#include "world/particles_state.hpp"

// One small particle of group `Index` (0 or 1) at (x, y) moving by (SX, SY) per tick,
// colour 0..1, living `Dead` ticks.
void Add1Partikel(int32_t Index, float x, float y, float SX, float SY, float R, float G, float B,
                  int32_t Durchmesser, int16_t Dead);
// `Anzahl` small particles of group `Index` at random points of the rectangle.
void AddPartikel(int32_t Index, int32_t Anzahl, int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool Blau);
// One effect particle of kind `Art` in the first free slot (a full pool takes none).
void Add1BigPartikel(float x, float y, float SX, float SY, float R, float G, float B, int32_t Durchmesser,
                     int32_t Still, int32_t Dead, int32_t Art, float Parameter);
// An explosion made of effect particles over the rectangle.
void AddExplosionsPartikel(float x1, float y1, float x2, float y2);
// One bubble in the first free slot.
void AddBlase(float x, float y, int32_t D);
