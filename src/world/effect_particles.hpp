#pragma once
// Effect particles: fire, smoke, glows, rings, streaks, sparkles, lightning, screen lenses
// and falling wrecks, one pool of 4001.
#include <cstdint>

#include "world/particles_state.hpp"

// The values of a new effect particle, for callers that name them.
struct NeuerBigPartikel {
  float x = 0, y = 0;
  float SX = 0, SY = 0;
  float R = 1, G = 1, B = 1;
  int32_t Durchmesser = 0;
  int32_t Still = 0;
  int32_t Dead = 0;
  int32_t Art = 0;
  float Parameter = 0;
};

// One effect particle in the first free slot; a full pool drops it.
void Add1BigPartikel(float x, float y, float SX, float SY, float R, float G, float B, int32_t Durchmesser,
                     int32_t Still, int32_t Dead, int32_t Art, float Parameter);
void Add1BigPartikel(const NeuerBigPartikel& p);
// A cloud of fire puffs of size `D` over the rectangle.
void AddBigPartikel(float x1, float y1, float x2, float y2, float R, float G, float B, int32_t D, int32_t Still,
                    int32_t Dead);
// A whole explosion over the rectangle of the exploding object: fire and puffs (snow puffs
// in snow weather), bubbles under water.
void AddExplosionsPartikel(float x1, float y1, float x2, float y2);
// Ages, moves, changes and draws every effect particle by one tick.
void MoveBigPartikel();
