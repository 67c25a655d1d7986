#pragma once
// Pick-ups.
#include <cstdint>

#include "world/pickups_state.hpp"

void AddSpezialObjekt(int32_t Art, float x, float y, float MX, float& MY, float Parameter1, float Parameter2);
// One tick of the pick-ups: they drift, are drawn and are collected by the ships.
void SpielMoveSpezialObjekt();
