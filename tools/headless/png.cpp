#include "headless/png.hpp"

#include <fstream>

#include "lib/png_writer.hpp"
#include "platform/headless/headless.hpp"

namespace headless_run {
namespace {

// Red, green and blue of the pixel at `p`: XRGB8888 or RGB565, little-endian.
void Farbe(const uint8_t* p, int bits, uint8_t* rgb) {
  if (bits == 16) {
    const uint16_t v = static_cast<uint16_t>(p[0] | (p[1] << 8));
    const int r = v >> 11, g = (v >> 5) & 63, b = v & 31;
    rgb[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
    rgb[1] = static_cast<uint8_t>((g << 2) | (g >> 4));
    rgb[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
  } else {
    rgb[0] = p[2];
    rgb[1] = p[1];
    rgb[2] = p[0];
  }
}

}  // namespace

std::vector<uint8_t> LastFramePng() {
  const platform::headless::RecordedFrame& f = platform::headless::LastFrame();
  if (f.count == 0 || f.width <= 0 || f.height <= 0) return {};
  const int bytes = f.bitsPerPixel / 8;
  std::vector<uint8_t> rgb(static_cast<size_t>(f.width) * static_cast<size_t>(f.height) * 3);
  for (int y = 0; y < f.height; ++y) {
    const uint8_t* row = f.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(f.pitch);
    for (int x = 0; x < f.width; ++x)
      Farbe(row + x * bytes, f.bitsPerPixel, &rgb[3 * (static_cast<size_t>(y) * static_cast<size_t>(f.width) + x)]);
  }
  return tools::EncodePng(f.width, f.height, 3, rgb);
}

bool SaveLastFrame(const std::string& path) {
  const std::vector<uint8_t> png = LastFramePng();
  if (png.empty()) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace headless_run
