#pragma once
// Full-screen overlays and the noise strength of the front end's screen effects.
inline bool Overlay1 = false;
inline bool Overlay2 = false;
inline bool OverlayKopie = false;
inline float Rauschen = 0;
inline float RauschenBasis = 0;
// A one-tick request to start a cross-fade from the last finished frame.
inline bool BlendStart = false;

// Before a level pass: both full-screen overlays off.
inline void ResetOverlays() {
  Overlay1 = false;
  Overlay2 = false;
}

// Before a level pass: no noise.
inline void ResetNoise() {
  RauschenBasis = 0;
  Rauschen = 0;
}
