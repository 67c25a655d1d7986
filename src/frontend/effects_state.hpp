#pragma once
// The screen effects every frame loop shares: the two full-screen overlays, the cross-fade
// and the noise. Anything may ask for them during a frame; the loop's overlay pass
// (`OverlayEffekte`) draws them after its scene.

// The ghost overlay (the last frame lies over this one: a trail) and the glow overlay
// (the last frame, enlarged past the edges, shines over this one) are wanted.
inline bool Overlay1 = false;
inline bool Overlay2 = false;
// The overlay texture must be filled from the current frame before an overlay is drawn.
inline bool OverlayKopie = false;
// Copy the finished frame into the overlay texture at the end of this frame's pass.
inline bool BlurKopie = false;
// The cross-fade runs; with `BlendAlpha` 0 it has been asked for and not begun.
inline bool Abblenden = false;
// Opacity of the frozen frame over the current one.
inline float BlendAlpha = 0;
// Screen noise strength 0..1, and the level's base value it returns to every tick.
inline float Rauschen = 0;
inline float RauschenBasis = 0;
// A one-tick request to start a cross-fade from the last finished frame.
inline bool BlendStart = false;

// Opacity of each overlay (0..0.5): it ramps up while its flag is set and down after, over
// any number of levels and screens; only the program start has it at 0.
inline float Overlay1Alpha = 0;
inline float Overlay2Alpha = 0;

// Asks for a 20-frame cross-fade from the frame being drawn to the following ones: this
// frame's overlay pass freezes it and the next twenty lay it over the new picture with
// falling opacity. Call before the frame's `OverlayEffekte`.
inline void Blenden() {
  BlendAlpha = 0;
  Abblenden = true;
  BlendStart = true;
}

// At the start of every frame of the game and the menu: the copy requests of the last
// frame are done.
inline void ClearFrameRequests() {
  BlendStart = false;
  BlurKopie = false;
}

// Before a level pass: both full-screen overlays off (their opacity runs down by itself).
inline void ResetOverlays() {
  Overlay1 = false;
  Overlay2 = false;
}

// Before a level pass: no noise.
inline void ResetNoise() {
  RauschenBasis = 0;
  Rauschen = 0;
}

// As at program start: no overlay showing, no fade running, nothing to copy.
inline void ResetScreenEffects() {
  ResetOverlays();
  ResetNoise();
  ClearFrameRequests();
  OverlayKopie = false;
  Abblenden = false;
  BlendAlpha = 0;
  Overlay1Alpha = 0;
  Overlay2Alpha = 0;
}
