#pragma once
// The triangle rasteriser behind the 3D device (device3d.hpp describes its rules). The
// device validates its states and turns strips into triangles; this draws one triangle.
#include <cstdint>
#include <limits>

#include "platform/device3d.hpp"
#include "platform/surface.hpp"

namespace platform::raster {

enum class Blend : uint8_t {
  Replace,  // blending off: the modulated texel is written
  Normal,   // source alpha, inverse source alpha
  Add,      // source alpha, one (saturating)
};

struct Params {
  Surface* target = nullptr;          // XRGB8888 or RGB565
  const Surface* texture = nullptr;   // nullptr: the vertex colours alone
  bool colorKey = false;              // the texture's key makes texels transparent black
  bool magLinear = false;             // linear filtering when the texture is magnified
  Blend blend = Blend::Normal;
  // Only the target's rows rowFrom .. rowTo - 1 are drawn (a band of a recorded frame);
  // each row comes out as it does when the whole triangle is drawn.
  int32_t rowFrom = 0, rowTo = std::numeric_limits<int32_t>::max();
};

// Draws the triangle (a, b, c), clipped to the target. Vertices outside the range the
// rasteriser can represent (beyond two million pixels, or not a number) draw nothing.
void DrawTriangle(const Params& p, const TLVertex& a, const TLVertex& b, const TLVertex& c);

// Draws the triangles (0, 1, 2), (1, 2, 3), ... of a strip of `count` vertices, leaving out
// those that face away as `cullMode` (D3DCULL_…) says.
void DrawStrip(const Params& p, const TLVertex* vs, int32_t count, int32_t cullMode);

// Draws the quad of a four-vertex strip in one go when it is an axis-aligned rectangle
// with texture coordinates along its axes and one colour: the same pixels as its two
// triangles, with the set-up done once. False (nothing drawn) for any other quad.
bool DrawAxisQuad(const Params& p, const TLVertex* v);

// The inner loops: the reference (per-pixel loops written for clarity, which define the
// arithmetic), plain C++ loops written for speed, SSE2 (four pixels at a time) and AVX2
// (eight); all give the same pixels.
enum class Loops : uint8_t { Reference, Plain, Sse2, Avx2 };
// The widest loops this processor can run.
Loops WidestLoops();
// For tests and measurements: use no wider loops than `widest` (at start: WidestLoops()).
void LimitLoops(Loops widest);

}  // namespace platform::raster
