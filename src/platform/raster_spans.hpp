#pragma once
// The inner loops of the rasteriser: one horizontal run of pixels of a triangle, with the
// texture coordinates and colour at its first pixel and their steps per pixel. One loop
// per combination of target format, texture format, filter, colour key, blend mode and
// colour kind, chosen once per triangle.
#include <cstdint>

#include "platform/rasteriser.hpp"
#include "platform/surface.hpp"

namespace platform::raster {

enum class TexKind : uint8_t { None, XRGB, R565, ARGB, A4444 };
// Plain: opaque white (the texel as it is); White: one colour with red, green and blue at
// 255 (only the alpha modulates); Flat: one colour; Gouraud: interpolated.
enum class ColourKind : uint8_t { Plain, White, Flat, Gouraud };

// Texture coordinates are in texels with 24 fraction bits, already moved to the sample
// grid (half a texel back for linear filtering) and rounded to 1/256 of a texel, so a
// coordinate a hair below a texel boundary samples as the boundary itself.
constexpr int kTexFrac = 24;
// Gouraud colours: 8-bit channels with 16 fraction bits.
constexpr int kColFrac = 16;

struct SpanCtx {
  const uint8_t* tex = nullptr;
  int32_t texPitch = 0, texW = 1, texH = 1;
  uint32_t key = 0, keyMask = 0;
  int64_t du = 0, dv = 0;
  int32_t dcol[4] = {0, 0, 0, 0};  // a, r, g, b
  uint32_t flat = 0xFFFFFFFFu;     // 0xAARRGGBB
};

struct SpanStart {
  int64_t u = 0, v = 0;
  int32_t col[4] = {0, 0, 0, 0};  // a, r, g, b
};

// round(a * b / 255) for a, b in 0..255.
inline uint32_t Mul255(uint32_t a, uint32_t b) {
  const uint32_t x = a * b + 128;
  return (x + (x >> 8)) >> 8;
}
// round(x / 255) for x in 0..255 * 255.
inline uint32_t Div255(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}
// A texel index wrapped into 0..n-1 (WRAP addressing).
inline int32_t WrapIndex(int64_t i, int32_t n) {
  if (static_cast<uint64_t>(i) < static_cast<uint64_t>(n)) return static_cast<int32_t>(i);
  int64_t m = i % n;
  if (m < 0) m += n;
  return static_cast<int32_t>(m);
}

using SpanFn = void (*)(const SpanCtx&, uint8_t* row, int32_t x, int32_t n, const SpanStart&);

// `reference` picks the plain per-pixel loop even where a vectorised one exists.
SpanFn SelectSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                  bool reference);

}  // namespace platform::raster
