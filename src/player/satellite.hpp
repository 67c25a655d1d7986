#pragma once
// The satellite of the "V-Phyton": a glowing orb that docks in front of or behind the
// ship, is launched along the screen with the pod key, parks near the far edge following
// the ship's height, rams enemies with an energy that recharges, swallows enemy shots and
// is recalled with the same key.
#include "player/satellite_state.hpp"

// Once per frame, also while the world is frozen and while its owner is destroyed (a
// released satellite flies on): keys, docking or flight, ramming, drawing, shots.
void SpielSateliet();
