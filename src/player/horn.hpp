#pragma once
// A gag of the game: F11 sounds a horn and shows it in front of the first player's ship.
#include "player/horn_state.hpp"

// Once per frame, also while the world is frozen: shows the horn while its 40 frames
// run, and starts it on F11's press when it is not showing.
void SpielHupe();
