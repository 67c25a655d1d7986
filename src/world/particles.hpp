#pragma once
// Small particles; with them the effect particles and the bubbles, which the same callers
// throw together.
#include <cstdint>

#include "world/bubbles.hpp"
#include "world/effect_particles.hpp"
#include "world/particles_state.hpp"

// One small particle of group `Index` (0 or 1) at (x, y) moving by (SX, SY) per tick,
// colour 0..1, living `Dead` ticks.
void Add1Partikel(int32_t Index, float x, float y, float SX, float SY, float R, float G, float B,
                  int32_t Durchmesser, int16_t Dead);
// `Anzahl` small particles of group `Index` at random points of the rectangle, bluish or
// warm; a count below 1 places none.
void AddPartikel(int32_t Index, int32_t Anzahl, int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool Blau);
// A ring of small particles thrown outwards from (x, y), one every `Anzahl` degrees (at
// least 1; less places none), drifting left by `SX`; `Radius` sets their life.
void AddCircle(int32_t Index, int32_t Anzahl, int32_t SX, int32_t x, int32_t y, int32_t Radius);
// Draws, ages and moves the small particles of group `Index` by one tick.
void MovePartikel(int32_t Index);
