#pragma once
// Pictures painted by code straight into the surface table, for the drawing tests.
#include <cstdint>
#include <functional>

#include "platform/surface.hpp"

namespace testsupport {

// 0xAARRGGBB of pixel (x, y) of a picture being painted.
using Painter = std::function<uint32_t(int x, int y)>;

// A picture `w` x `h` in `format`, painted by `painter`, as a new surface-table entry (a
// texture; with `key` black is transparent) with its quad set up white and unscaled at
// (0, 0). Returns its surface number.
int32_t PaintedPicture(int w, int h, platform::PixelFormat format, bool key, const Painter& painter);

}  // namespace testsupport
