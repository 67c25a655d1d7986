#include "shell/angles.hpp"

#include <cmath>

namespace {

inline int32_t WrapDegrees(int32_t angle) {
  if (angle < 0) angle += ((359 - static_cast<int64_t>(angle)) / 360) * 360;
  return angle % 360;
}

// The exact product, rounded once (halves to even).
inline uint32_t Channel(float c) {
  double v = std::nearbyint(static_cast<double>(c) * 255.0);
  if (!(v > 0.0)) return 0;  // also NaN
  return v > 255.0 ? 255u : static_cast<uint32_t>(v);
}

}  // namespace

void FillSinTables() {
  for (int i = 0; i < 360; ++i) {
    long double arg = static_cast<long double>(i) * static_cast<long double>(Pi) / 180.0L;
    SinTab[i] = static_cast<float>(std::sin(arg));
    CosTab[i] = static_cast<float>(std::cos(arg));
  }
  CosTab[180] = -1.0f;
  CosTab[90] = 0.0f;
  CosTab[270] = 0.0f;
}

float SinusB(int32_t Angle) { return SinTab[WrapDegrees(Angle)]; }
float CosinusB(int32_t Angle) { return CosTab[WrapDegrees(Angle)]; }

float Winkel(float dx, float dy) {
  if (dx == 0.0f) return dy >= 0.0f ? 0.5f * Pi : 1.5f * Pi;
  float a = static_cast<float>(std::atan(static_cast<double>(dy) / static_cast<double>(dx)));
  return dx > 0.0f ? a : a + Pi;
}

float WinkelInGrad(float dx, float dy) {
  float w;
  if (dx == 0.0f) {
    w = dy < 0.0f ? 90.0f : dy > 0.0f ? 270.0f : 0.0f;
  } else {
    w = static_cast<float>(std::atan(static_cast<double>(dy) / static_cast<double>(dx)) * 180.0 /
                           static_cast<double>(Pi));
    if (dx > 0.0f) w += 180.0f;
  }
  if (w < 0.0f) w += 360.0f;
  return w;
}

int32_t GetRGBA(float R, float G, float B, float A) {
  uint32_t v = (Channel(A) << 24) | (Channel(R) << 16) | (Channel(G) << 8) | Channel(B);
  return static_cast<int32_t>(v);
}
