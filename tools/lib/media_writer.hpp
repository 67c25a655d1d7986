#pragma once
// Pictures and sounds made by code, in the file formats the game reads.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tools {

// A picture of 24-bit colours, row 0 at the top.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  Image(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A 24-bit bottom-up BMP file.
std::vector<uint8_t> EncodeBmp24(const Image& image);
// A 16-bit PCM WAV file of interleaved samples.
std::vector<uint8_t> EncodeWav16(const std::vector<int16_t>& samples, int channels, int rate);

}  // namespace tools
