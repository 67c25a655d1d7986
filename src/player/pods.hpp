#pragma once
// The orbit pods of the ship that carries them.
#include "player/pods_state.hpp"

// One tick of the pods: their movement about the ship (and its drawing).
void SpielPartikelMove();
// One tick of the pods against the enemies and the enemy shots.
void SpielPartikel();
