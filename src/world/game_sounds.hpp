#pragma once
// The game's fixed sound effects.
#include "world/game_sounds_state.hpp"

// Loads the 43 game sounds from "Sound.vkp" into the sound table, in a fixed order, so
// they take its first entries when the table was empty. With sound off nothing changes.
void LoadSpielSound();
