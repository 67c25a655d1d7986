#pragma once
// The super nova: a ship spends its selected pod (ship type 0) or its satellite (ship
// type 1) to freeze the world, sweep away every enemy shot and strike every enemy it may
// touch with one of ten timelines, chosen by what was spent.
#include "player/nova_state.hpp"

// Once per frame for both players, also while the world is frozen: starts a nova when a
// player asks for one and may have it, and plays the running nova's tick.
void SpielNova();
