#pragma once
// Pictures drawn by code for the drawing tests and benchmarks, straight into the surface
// table (no files, no loader).
#include <cstdint>
#include <functional>

#include "platform/surface.hpp"

namespace testsupport {

// A colour as 0xAARRGGBB for the pixel (x, y) of a picture being made.
using Painter = std::function<uint32_t(int x, int y)>;

// A texture `w` x `h` in `format` painted by `paint`, appended to the surface table (black
// transparent when `key`), its quad white and unscaled at (0, 0). Returns its number.
int32_t PaintedTexture(int w, int h, platform::PixelFormat format, bool key, const Painter& paint);

}  // namespace testsupport
