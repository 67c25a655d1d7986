#pragma once
// Firing: each living ship's main gun by ship type and gun level, its secondary weapon
// and the weapon its type carries, while its player holds fire; then the looping weapon
// sounds.
#include <cstdint>

#include "player/firing_state.hpp"

// The firing step of a tick.
void SpielSchieß();

// The carried weapons' shares of the firing step, for player `p` holding fire with the
// damage factor `m` (2 in the beam's power mode, else 1). A weapon that throws muzzle
// sparks sets `Gefeuert`.
void PodWaffen(int32_t p, int32_t m, bool& Gefeuert);
void SatellitWaffen(int32_t p, int32_t m, bool& Gefeuert);
void DrohnenWaffen(int32_t p, int32_t m, bool& Gefeuert);
