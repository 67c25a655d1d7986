#pragma once
// The standard pictures: blur layers, glitter, circles, the white quad, bars, fire and
// smoke, the wave, the logo and the noise, shared by the game, the menu and the effects.
#include "world/pictures_state.hpp"

// Empties the surface table and loads the standard pictures from "Standart.vkp" into it,
// from its first entry on. Every other picture has to be loaded again afterwards.
void LoadStandartSurfaces();
