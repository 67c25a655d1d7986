#pragma once
// The drone ship's escort: a chain of drones that trail the ship like a snake's links,
// two shield orbs circling it, a lightning arc to the nearest enemy, and rockets dropped
// with the pod key from a supply that lasts the game. The drones' guns fire in the
// firing step (`DrohnenWaffen`, player/firing.hpp).
#include "player/drones_state.hpp"

// Once per tick, before the firing step, also while the world is frozen and while the
// ship is destroyed.
void SpielDWeapons();
