#pragma once
// The satellite of the ship that carries one.
#include "player/satellite_state.hpp"

// One tick of the satellite: docked, launched or recalled, and drawn.
void SpielSateliet();
