#pragma once
// Rain, water and the weather, drawn over the scenery.
#include "world/weather_state.hpp"

// One tick of the raindrops (while the level has any).
void SpielRegen();
// One tick of the water surface and what lies under it.
void SpielWasser();
// One tick of the weather (`Wetter`): snow, haze or sheets of rain.
void SpielSchnee();
