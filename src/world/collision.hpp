#pragma once
// Collision of rectangles with the solid scenery: landscape layer 3 and solid enemies.
#include <cstdint>

// True when the rectangle overlaps an active item of landscape layer 3 or a living
// component of an active, solid, not dying enemy other than `Skip` (-1: none skipped).
bool CheckColisionWithLandschaft3(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Skip);
