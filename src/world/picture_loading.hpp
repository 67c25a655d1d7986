#pragma once
// What the loaders of the fixed pictures share: loading a picture whole from an unpack
// folder, the usual quad set-ups, and a second table entry of a picture already loaded.
#include <cstdint>
#include <string>

#include "engine/surfaces.hpp"

// How a picture is drawn: as a textured quad, or by a colour-keyed blit.
inline constexpr bool kQuad = true;
inline constexpr bool kBlit = false;

// Picture `Datei` of the folder `Ordner`, whole: a texture drawn as a quad when `Quad`,
// else a plain picture for colour-keyed blits.
int32_t LadeBild(const std::string& Ordner, const std::string& Datei, bool Quad, bool Colorkey = true);
// The source rectangle of entry `Nr`; empty when there is no such entry.
RECT EigenesRechteck(int32_t Nr);
// The quad over the picture's own source rectangle at its own size, white, alpha `A`.
void SetUpEigen(int32_t Nr, float A = 1.0f);
// The quad of a 64 x 64 frame, white and opaque.
void SetUpFrame64(int32_t Nr);
// One pixel trimmed off the right and bottom, then the quad over what is left, the whole
// texture, white and opaque.
void SetUpGetrimmt(int32_t Nr);
// A second, separate entry of a picture that entry `Vorhanden` already holds: its stored
// name is changed for the moment of the load, so the name lookup passes it by. Looking
// the name up afterwards finds `Vorhanden` again.
int32_t ZweiterEintrag(int32_t Vorhanden, const std::string& Ordner, const std::string& Datei, bool Quad,
                       bool Colorkey);
