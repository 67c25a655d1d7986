#include "lib/media_writer.hpp"

#include <string>

#include "platform/bmp.hpp"

namespace tools {
namespace {

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Image& image) {
  // The game's own writer, fed through a 32-bit surface.
  platform::Surface surface(image.width, image.height, platform::PixelFormat::XRGB8888);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) surface.SetPixel(x, y, image.pixels[static_cast<size_t>(y) * image.width + x]);
  return platform::EncodeBmp24(surface);
}

std::vector<uint8_t> EncodeWav16(const std::vector<int16_t>& samples, int channels, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);
  Put(out, static_cast<uint32_t>(channels), 2);
  Put(out, static_cast<uint32_t>(rate), 4);
  Put(out, static_cast<uint32_t>(rate * channels * 2), 4);
  Put(out, static_cast<uint32_t>(channels * 2), 2);
  Put(out, 16, 2);
  PutTag(out, "data");
  Put(out, dataBytes, 4);
  for (int16_t s : samples) Put(out, static_cast<uint16_t>(s), 2);
  return out;
}

}  // namespace tools
