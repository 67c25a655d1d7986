#pragma once
// Placing and removing enemies.
#include <cstdint>

#include "world/enemies_state.hpp"

// Places a copy of template `Def` in the first free enemy slot (a full pool places none).
void AddEnemy(const GegnerTyp& Def, int32_t RouteNr, int32_t LTick, int32_t AY, int32_t X);
// Frees enemy slot `Nr` at once.
void KillEnemy(int32_t Nr);
