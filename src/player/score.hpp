#pragma once
// Points and the score pop-ups.
#include <cstdint>

#include "player/score_state.hpp"

// Awards `Punkte` to player `VeskNr` (0 or 1; any other number awards nothing), scaled by
// the player's combo factor and shared out with two players; big and combo awards shake
// the screen and show a pop-up at (x, y) moving `SY` pixels per frame.
void AddPunkte(int32_t Punkte, float x, float y, float SY, int32_t VeskNr);
// Frees pop-up slot `Nr`.
void KillPunkte(int32_t Nr);
// Once per frame: draws, moves and ages the pop-ups; each lives 30 frames.
void SpielMovePunkte();
