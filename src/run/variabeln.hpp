#pragma once
// The object pools and the program's defaults: set up once, emptied before every level
// pass, freed at the end. These reset every subsystem, so they belong to the program run
// on top of all of them; the game loop and the front end reach `VariabelnLösch` through
// `ResetAllPools` (shell/pool.hpp), which `VariabelnInit` hands it to.
#include "run/variabeln_state.hpp"

void VariabelnInit();
void VariabelnLösch();
void VariabelnTerminate();

// The part of `VariabelnInit` that only sets state (everything after the random seed and
// the folders): the program run's own state as before the start (but for the game window,
// made before it), the program run's procedures handed to the subsystems below, option
// defaults, empty tables, the landscape layers, the joystick codes and the new-game
// players; and everything that games, levels and menu visits leave behind (also what
// carries on from one to the next within a run, down to the music's volume) as a new
// process has it. So a second start in one process is a new start. Tests start from it
// too.
void SetStartDefaults();
