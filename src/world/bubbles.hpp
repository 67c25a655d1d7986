#pragma once
// Air bubbles under water.
#include <cstdint>

#include "world/particles_state.hpp"

// One bubble of side `D` with its top-left corner at (x, y); a full pool drops it.
void AddBlase(float x, float y, int32_t D);
// Raises, draws and frees the bubbles by one tick.
void SpielMoveBlase();
// Frees bubble `Nr`.
void KillBlase(int32_t Nr);
