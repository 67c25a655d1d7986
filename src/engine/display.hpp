#pragma once
// The 800 x 600 display of the game window and the presentation of each frame.
#include <array>
#include <cstdint>

// Multiplier and divisor per colour channel R, G, B of the back buffer's pixel format.
struct FarbFaktor {
  int32_t Mul = 1;
  int32_t Div = 1;
};
inline std::array<FarbFaktor, 3> FarbFaktoren;
inline bool HardwareInvert = false;

// Opens the display; returns false when it could not (the caller's failure path B).
bool InitWindow();
// Releases the display objects (the shut-down's step 2 to 4).
void ReleaseDisplay();
// Bits per pixel of the back buffer: 16 or 32.
int32_t BackBufferBitsPerPixel();
// Bit masks of the back buffer's red, green and blue channels.
void BackBufferMasks(uint32_t& red, uint32_t& green, uint32_t& blue);
// True when an inverting raster blit onto the back buffer works.
bool CheckRopSupport(int32_t Rop);
// Divisor and multiplier that pack an 8-bit channel into `Mask`.
void GetMaskFactors(uint32_t Mask, int32_t& Div, int32_t& Mul);
// A colour (components 0..255) in the back buffer's pixel format.
int32_t DDRGB(int32_t R, int32_t G, int32_t B);
// The display may be drawn to and presented.
bool DisplayReady();
// Presents the back buffer.
void Flip(bool FastFlip);
