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
// grid (half a texel back for linear filtering) and on by 1/512 of a texel, so that a
// coordinate a hair below a texel boundary (float noise) samples as the boundary itself.
constexpr int kTexFrac = 24;
// Linear filtering weighs with 7-bit fractions: (t00 (128 - fx) + t10 fx) (128 - fy) +
// (t01 (128 - fx) + t11 fx) fy, rounded, over 2^14. Every sum across fits 15 bits.
constexpr int kFilterBits = 7;
constexpr uint32_t kFilterOne = 1u << kFilterBits, kFilterMask = kFilterOne - 1;
constexpr uint32_t kFilterRound = 1u << (2 * kFilterBits - 1);
// Gouraud colours: 8-bit channels with 16 fraction bits.
constexpr int kColFrac = 16;

struct SpanCtx {
  const uint8_t* tex = nullptr;
  int32_t texPitch = 0, texW = 1, texH = 1;
  uint32_t key = 0, keyMask = 0;
  int64_t du = 0, dv = 0;
  int64_t dcol[4] = {0, 0, 0, 0};  // a, r, g, b
  uint32_t flat = 0xFFFFFFFFu;     // 0xAARRGGBB
};

struct SpanStart {
  int64_t u = 0, v = 0;
  int64_t col[4] = {0, 0, 0, 0};  // a, r, g, b
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

// The rows a loop draws: `count` rows from `row` on, `pitch` bytes apart, the texture's v
// growing by `dv` from row to row (more than one row only for quads of one colour).
struct SpanRows {
  uint8_t* row = nullptr;
  int32_t pitch = 0, count = 1;
  int64_t dv = 0;
};

using SpanFn = void (*)(const SpanCtx&, const SpanRows&, int32_t x, int32_t n, const SpanStart&);

// The loop for this combination, no wider than `widest`.
SpanFn SelectSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                  Loops widest);

}  // namespace platform::raster
