#pragma once
// The orbit pods of the ship that carries them (ship type 0): up to four, each without a
// weapon, with a pod weapon, or a guard pod that circles the ship, rams enemies and
// swallows their shots. Their weapons fire in the firing step (`PodWaffen`).
#include <cstdint>

#include "player/pods_state.hpp"

// Selects the next owned pod for player `VeskNr`: the one that receives pick-ups and is
// spent by the super nova; none (-1) when no pod is owned.
void NextPartikel(int32_t VeskNr);
// Once per frame, after the ships have moved: the pod and turn keys, the armed pods'
// swing, and every owned pod placed at, or gliding to, its place by the ship, out of the
// scenery.
void SpielPartikelMove();
// Once per frame, after the enemies: the pods' animation and highlight, the guard pods'
// ramming and swallowing, and the pods drawn.
void SpielPartikel();

// The player who carries the pods: the second when there are two and the first does not
// fly ship type 0, else the first.
int32_t PodBesitzer();
