#pragma once
// The weather: single raindrops over the play area (`RegenAnzahl` + 1 of them, below 500)
// that splash on the water, the ships and the scenery; and the weather mode `Wetter`:
// three layers of snow tiles (1), drifting haze streaks (2) or sheets of rain with a looping
// rain sound (3).
#include "world/weather_state.hpp"

// One tick of the raindrops. A rain count of 500 or more switches to the rain sheets
// (`Wetter` 3) instead.
void SpielRegen();
// One tick of the weather mode; nothing at all (the particles stand still) without a mode
// or while the background mode is below 1. The pictures of snow and rain are loaded on
// first use.
void SpielSchnee();
