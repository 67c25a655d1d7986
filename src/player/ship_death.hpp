#pragma once
// Contact, death and respawn of the ships.
#include <cstdint>

#include "player/players_state.hpp"

// Once per frame, the last step of the world: the shield, the ships' contact with the
// scenery and the enemies, and what follows a destroyed ship (the level's restart, or with
// two players a respawn at the partner or both ships going down). Also the F11 debug keys.
void SpielFeindberücrung();
// Destroys ship `VeskNr` unless its shield runs or it is destroyed already.
void KillVesk(int32_t VeskNr);
// The respawn effect of ship `VeskNr` with its corner at (x, y); it changes no state.
void SpielVeskWiedergeburt(int32_t VeskNr, float x, float y);

// Draws of a free respawn spot before the ship is put at its partner's.
inline constexpr int32_t kWiedergeburtVersuche = 1000;
