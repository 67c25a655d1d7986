#pragma once
// The ships under the players' keys: the shared sprite animations, the movement step (keys,
// pushes, inertia, screen bounds, landscape, the flight out of the level) and the drawing
// of each ship with its afterimages, shield, tint, sparks and smoke.
#include <cstdint>

#include "player/players_state.hpp"

// Once per frame, also while the world stands still: every sprite definition's shared
// frame moves on.
void SpielObjektAnimationen();
// Once per frame: moves each living ship, or flies it out at the level's end.
void SpielKeysVesk();
// The direction keys of player `VeskNr`: step, tilt and inertia.
void SpielTastenCheck(int32_t VeskNr);
// Once per frame, in drawn frames: draws each living ship.
void SpielMoveVesk();

// Whether the shield shows at this timer value: above 10 always, then blinking on odd
// values for its last ten frames.
bool SchildSichtbar(int32_t Schild);
