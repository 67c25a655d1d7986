#pragma once
// The start-up logos.
#include <cstdint>
#include <string>

// Shows the logo picture `Filename` of the archive `Archiv` full screen: fades it in over
// `Fade` ticks, holds it `Duration` ticks and takes it off again; with `Praxelworks` first
// through a wave distortion with its sound, with `Effekt` with the play-area wobble.
// Returns when it is done, on the pause key, or at once when the program quits.
void ShowLogo(const std::string& Archiv, const std::string& Filename, int32_t Duration, int32_t Fade, bool Effekt,
              bool Praxelworks);

// Draws the texture of surface `Surface` over the rectangle `x2` pixels wide from `x1` and
// `y2` pixels high from `y1` as `Teile` x `Teile` cells whose texture coordinates bulge
// in and out: by up to `Faktor` across and `Faktor2` down (texture units), nothing on the
// border and along the middle lines. Colour `R`, `G`, `B`, `A` (0..1); additive when
// `ABOne`. Call inside a scene.
void RenderVerzerrt(float x1, float y1, float x2, float y2, int32_t Teile, float R, float G, float B, float A,
                    float Faktor, float Faktor2, int32_t Surface, bool ABOne);

// Releases the picture-drop effect's pictures (logo_state.hpp) and clears its ready flag.
void DropEffektTerminate();
