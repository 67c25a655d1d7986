#pragma once
// The per-tick game loop.
#include "campaign/game_loop_state.hpp"

// Plays the loaded level until it ends or the run state changes.
void SpielLoop();
