#pragma once
// The campaign script: which level comes next.
#include "campaign/script_state.hpp"

// Runs the script until a level is to be played (true, `LevelName` set) or it ends.
bool LevelSkript();
