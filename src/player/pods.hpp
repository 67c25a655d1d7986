#pragma once
// The orbit pods of the ship that carries them.
#include <cstdint>

#include "player/pods_state.hpp"

// Selects the next owned pod for player `VeskNr`: the one that receives pick-ups and is
// spent by the super nova; none (-1) when no pod is owned.
void NextPartikel(int32_t VeskNr);
