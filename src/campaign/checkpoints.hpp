#pragma once
// Checkpoints: the state a lost life goes back to, and the gate that takes a new one.
#include <cstdint>

#include "campaign/checkpoints_state.hpp"

// Takes a checkpoint; `VeskNr` is the player who triggered it (the game loop's level
// start and restarts pass 0).
void SaveCheckpoint(int32_t VeskNr);
// Puts the world and both player records back as the last checkpoint took them; called
// after the pools have been emptied.
void LoadCheckpoint();
// Forgets every checkpoint of the level (when the game loop ends).
void KillCheckpoint();
// One tick of the gate: `Index` 0 draws its back half, 1 its front half and then moves it
// and tests the ships. Nothing while no gate stands.
void SpielCheckpoint(int32_t Index);
