#pragma once
// The pictures of the start-up settings window, drawn by code at start-up: the title
// picture (deep space, stars, a planet's lit edge and the game's name) and the dark
// console surface the options lie on.
#include <cstdint>
#include <string>

#include "platform/surface.hpp"

// The title picture, `Breite` x `Hoehe` pixels (XRGB8888), with `Version` under the name.
platform::SurfacePtr StartbildZeichnen(int32_t Breite, int32_t Hoehe, const std::string& Version);
// The background of the options (XRGB8888).
platform::SurfacePtr OptionsflaecheZeichnen(int32_t Breite, int32_t Hoehe);
