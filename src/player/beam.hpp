#pragma once
// The charged beam of each ship.
#include "player/beam_state.hpp"

// One tick of both beams: charging, flight, hits and the power mode.
void SpielBeam();
