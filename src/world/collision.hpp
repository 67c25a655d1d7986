#pragma once
// Pixel-exact tests of rectangles against enemies and the solid scenery.
#include <cstdint>

// True when the rectangle touches an item of landscape layer 3 or a component of a solid
// enemy other than enemy `Skip`.
bool CheckColisionWithLandschaft3(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Skip);
