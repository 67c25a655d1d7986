#pragma once
// The water of a level (`Wasserstand` pixels deep, the surface at y = 550 - `Wasserstand`):
// the picture bent sideways below the surface, the waving surface band, splashes and
// bubbles where ships, pods, the satellite, enemies and beams meet it, and sparkles
// drifting in it.
#include "world/weather_state.hpp"

// Once per tick near the end of the frame, over everything drawn before it. Without water,
// or on a frame that is not drawn, it does nothing at all: no splashes, bubbles or
// sparkles either.
void SpielWasser();
