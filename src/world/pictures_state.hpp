#pragma once
// Surface numbers of the standard and game pictures that the engine's own drawing
// procedures use; -1 until their loader has loaded them.
#include <cstdint>

inline int32_t TexBalken = -1;  // "Balken.bmp": the bar of lightning, lines and trails
inline int32_t TexKreis2 = -1;  // "A_KREIS2.bmp": a round glow (over a lens, among others)
inline int32_t TexNoise = -1;   // "Noise.bmp": the television noise
inline int32_t TexWeiss = -1;   // "weiss.bmp": a white quad for flashes and fades
inline int32_t TexLupe = -1;    // "Blur2.bmp": the magnifier's working texture, 256 x 256
