#pragma once
// Full-screen overlays and the noise strength of the front end's screen effects.
inline bool Overlay1 = false;
inline bool Overlay2 = false;
inline bool OverlayKopie = false;
inline float Rauschen = 0;
inline float RauschenBasis = 0;
