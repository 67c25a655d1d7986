#pragma once
// Screen transitions and full-screen overlays: the overlay pass every frame loop runs after
// its scene, and the blocking screen-out. What they show is asked for through the fields
// of effects_state.hpp (`Blenden`, `Overlay1`, `Overlay2`, `OverlayKopie`, `BlurKopie`,
// `Rauschen`) and by the checkpoint gate's flash.
//
// Failures: the overlay pass has no handler of its own; a failing copy or quad reaches
// the calling loop's handler. The screen-out handles its own as the screen loops do.
#include <cstdint>

#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "platform/surface.hpp"

// The overlay pass of one frame, over the rectangle `R2` (the play area in the game, the
// whole screen in the menu, the logo intro and the credits): the glow and ghost overlays,
// the cross-fade, the checkpoint flash, the copies of the finished frame for the next
// frame's overlays and fade, and the noise. Call once per frame between `RenderStart` and
// `RenderEnd`, after the scene and before the frame's text. In a frame that is not drawn
// (`Rendern` clear) the overlays keep their opacity, while the fade and the flash run on
// and a requested fade frame is still captured.
void OverlayEffekte(const RECT& R2);

// The screen-out: for up to 80 frames of 16 ms the picture is squeezed by 16 pixels a
// frame and darkened by a fifth, while a frozen copy of it fades away. `Art` 0 squeezes
// from top and bottom, any other value from one side chosen at random. With `CheckEsc`
// the pause key ends it early. Returns with `LevelTick` at 80, or at the number of frames
// before the one that was cut short; it returns after its set-up when the run is ending.
void FadeOut(int32_t Art, bool CheckEsc);

// Copies the area `Bereich` of `Quelle` into the fade texture: 1:1 to its top-left corner,
// or, in Voodoo mode, stretched over the texture's own rectangle (that texture cannot hold
// the screen 1:1). Failures are raised to the caller.
void InBlendTextur(platform::Surface& Quelle, const RECT& Bereich);
