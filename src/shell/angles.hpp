#pragma once
// Whole-degree sine and cosine tables, directions between points, packed colours.
#include <array>
#include <cstdint>

inline float Pi = 3.14159274f;  // 4 * arctangent(1) as a single
inline std::array<float, 360> SinTab{};
inline std::array<float, 360> CosTab{};

// Fills both tables (once, at start).
void FillSinTables();

// Table entry of a whole-degree angle, negative angles wrapped.
float SinusB(int32_t Angle);
float CosinusB(int32_t Angle);
// Direction of (dx, dy) in radians, between -Pi/2 and 3Pi/2.
float Winkel(float dx, float dy);
// Direction of (-dx, -dy) in degrees, 0 to below 360.
float WinkelInGrad(float dx, float dy);
// Packed 0xAARRGGBB colour of four components 0..1 (clamped), as a signed number.
int32_t GetRGBA(float R, float G, float B, float A);
