#pragma once
// Reference pictures for pixel-exact tests, kept in the source tree: 8-bit grey PNG files
// for sheets of text, 24-bit BMP files for drawn frames. One comparer serves both: the
// drawn picture is encoded as its reference is stored, both are decoded alike and
// compared pixel by pixel. With HARVO_UPDATE_GOLDEN=1 in the environment the reference is
// written anew instead (and the test says so); never otherwise.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.hpp"

namespace testsupport {

struct GreyImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, one byte per pixel
  uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// "" when the picture equals the reference `relativePath` (below $HARVO_SOURCE_DIR) pixel
// for pixel; otherwise a description of the difference, and the drawn picture is left in
// the test's working folder as "<name>.actual.<png or bmp>".
std::string CompareWithGolden(const std::string& relativePath, const GreyImage& actual);
// The rectangle `area` of `frame` against a BMP reference. A 16-bit frame is widened by
// bit replication, which keeps every 5-6-5 value distinct, so the comparison stays exact
// at both depths.
std::string CompareWithGoldenBmp(const std::string& relativePath, const platform::Surface& frame,
                                 const platform::Rect& area);
// A whole 32-bit frame against a BMP reference of half its size, each pixel the rounded
// mean of four: a screen's reference stays small, and a changed element still shows.
std::string CompareHalfWithGoldenBmp(const std::string& relativePath, const platform::Surface& frame);

}  // namespace testsupport
