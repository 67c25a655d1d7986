#pragma once
// The fixed pictures of a level (shots, ship frames, pods, satellite, drones, digits, the
// in-game display, pick-ups, weapons, the radio speaker) and the players' ship blocks.
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"

// Loads the game pictures from "Spiel.vkp" into the surface table after the standard
// pictures, and fills the ship block of each player: hit box, muzzles, frame rows and
// frame pictures of the player's ship type. With two players the second flies the other
// of the first two types.
void LoadSpielSurfaces();
