#pragma once
// Small particles, effect particles and bubbles.
#include <cstdint>

#include "world/particles_state.hpp"

// `Anzahl` small particles of group `Index` at random points of the rectangle.
void AddPartikel(int32_t Index, int32_t Anzahl, int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool Blau);
// A ring of small particles thrown outwards from (x, y), one every `Anzahl` degrees,
// drifting left by `SX`; `Radius` sets their life.
void AddCircle(int32_t Index, int32_t Anzahl, int32_t SX, int32_t x, int32_t y, int32_t Radius);
// One effect particle of kind `Art` in the first free slot (a full pool takes none).
void Add1BigPartikel(float x, float y, float SX, float SY, float R, float G, float B, int32_t Durchmesser,
                     int32_t Still, int32_t Dead, int32_t Art, float Parameter);
// A cloud of fire puffs of size `D` over the rectangle.
void AddBigPartikel(float x1, float y1, float x2, float y2, float R, float G, float B, int32_t D, int32_t Still,
                    int32_t Dead);
// An explosion made of effect particles over the rectangle.
void AddExplosionsPartikel(float x1, float y1, float x2, float y2);
// One bubble in the first free slot.
void AddBlase(float x, float y, int32_t D);
