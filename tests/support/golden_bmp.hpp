#pragma once
// Colour reference pictures for pixel-exact tests of drawn frames: 24-bit BMP files kept
// in the source tree. A 16-bit frame is widened by bit replication, which keeps every
// 5-6-5 value distinct, so the comparison stays exact at both depths. With
// HARVO_UPDATE_GOLDEN=1 in the environment the reference is written anew instead (and the
// test says so); never otherwise.
#include <string>

#include "platform/surface.hpp"

namespace testsupport {

// "" when the rectangle `area` of `frame` equals the reference `relativePath` (below
// $HARVO_SOURCE_DIR) pixel for pixel; otherwise a description of the difference, and the
// drawn picture is left in the working folder as "<name>.actual.bmp".
std::string CompareWithGoldenBmp(const std::string& relativePath, const platform::Surface& frame,
                                 const platform::Rect& area);

}  // namespace testsupport
