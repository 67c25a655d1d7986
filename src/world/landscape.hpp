#pragma once
// Landscape items: pictures placed at the right edge on one of the seven layers, scrolled
// leftwards with their layer until they have left the screen. Layer 3 is the solid one
// (the obstacles) and is always drawn; the others are decoration.
#include <cstdint>

#include "world/landscape_state.hpp"

// Places sprite definition `Objekt` on layer `Index` at (scroll position + x, y). `Z` 0
// takes the first free slot from the hint on; a positive `Z` searches from the highest
// used slot + `Z`, which puts the item above every item of the layer; a negative `Z`
// searches from slot 0, filling the lowest gap. A layer without a free slot in that
// range drops the item.
void AddLandschaft(int32_t Index, int32_t Objekt, int32_t y, int32_t x, int32_t Z);
// One tick of layer `Index`: its sub-pixel scroll position, then every item moved, freed
// once its right edge has passed x = 0, and drawn (layer 3 always, the others only over
// a background of mode 1 or more).
void SpielMoveLandschaft(int32_t Index);
// Frees slot `Nr` of layer `Index`.
void KillLandschaft(int32_t Index, int32_t Nr);
// The surface number of the picture item sprite `Sprite` shows now (its shared current
// frame), -1 when the sprite, the frame or the picture does not exist.
int32_t LandschaftBild(int32_t Sprite);
