#pragma once
// The players' set-up: a new game, a new level, a new life; and the ship's hit box on the
// screen, which the movement, the contact tests and the respawn share.
#include <cstdint>

#include "player/players_state.hpp"
#include "world/collision.hpp"

// New-game values of both players, the pods, the satellite and the drones.
void VeskReset();
// Start of a level: both ships at their start positions, the pods and drones with them,
// every radio message free to play again.
void VeskPosSetup();
// Arms one ship for play: alive, full energy, shield, drift and angle cleared.
void VeskInit(int32_t VeskNr);

// Player `p`'s hit box with the ship's corner at (x, y), each edge rounded; `s` widens it to
// the right (the landscape's scroll speed, to look one step ahead).
Rechteck SchiffKasten(int32_t p, double x, double y, double s = 0);
// Whether that box touches the solid scenery (layer-3 items and solid enemies).
bool SchiffStoesst(int32_t p, double x, double y, double s = 0);
// The players there are: 0 .. `LetzterSpieler`, never past the two records.
inline int32_t LetzterSpielerIndex() { return LetzterSpieler < 1 ? LetzterSpieler : 1; }
