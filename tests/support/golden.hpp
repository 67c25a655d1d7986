#pragma once
// Reference pictures for pixel-exact tests: 8-bit grey PNG files kept in the source tree.
// A test compares what it drew with its reference; with HARVO_UPDATE_GOLDEN=1 in the
// environment it writes the reference anew instead (and says so).
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct GreyImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, one byte per pixel
  uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

bool WritePng(const std::string& path, const GreyImage& image);
// False for a file that is no 8-bit grey PNG without interlacing.
bool ReadPng(const std::string& path, GreyImage& image);

// "" when `actual` equals the reference `relativePath` (below $HARVO_SOURCE_DIR) pixel
// for pixel; otherwise a description of the difference, and the drawn picture is left
// beside the test's working folder as "<name>.actual.png".
std::string CompareWithGolden(const std::string& relativePath, const GreyImage& actual);

}  // namespace testsupport
