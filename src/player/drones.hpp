#pragma once
// The drone ship's chain of drones.
#include "player/drones_state.hpp"

// One tick of the drones: the chain follows the ship, fires and is drawn.
void SpielDWeapons();
