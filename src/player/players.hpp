#pragma once
// The ships' set-up: a new game, a new life.
#include <cstdint>

#include "player/players_state.hpp"

// New-game values of both players.
void VeskReset();
// Arms one ship for play: alive, full energy, shield, drift and angle cleared.
void VeskInit(int32_t VeskNr);
