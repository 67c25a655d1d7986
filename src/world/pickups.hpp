#pragma once
// Pick-ups: pod weapons, power-ups and satellites that the ships collect by touch, and
// the drifting blur window.
#include <cstdint>

#include "world/pickups_state.hpp"

// Places a pick-up of kind `Art` at (x, y) moving by (`MX`, `MY`) per tick, unless a
// one-player game's ship could never take it or all sixteen slots are in use.
void AddSpezialObjekt(int32_t Art, float x, float y, float MX, float& MY, float Parameter1, float Parameter2);
// Once per tick: the pick-ups spin, drift, are drawn and are collected by the ships.
void SpielMoveSpezialObjekt();
// Frees pick-up slot `Nr`.
void KillSpezialObjekt(int32_t Nr);
