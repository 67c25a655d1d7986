#include "lib/media_writer.hpp"

#include <string>

#include "platform/bmp.hpp"
#include "platform/bytes.hpp"

namespace tools {

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
  platform::ByteWriter w(out);
  w.FixedText("RIFF", 4);
  w.UInt32(36 + dataBytes);
  w.FixedText("WAVE", 4);
  w.FixedText("fmt ", 4);
  w.UInt32(16);
  w.UInt16(1);  // PCM
  w.UInt16(static_cast<uint16_t>(channels));
  w.UInt32(static_cast<uint32_t>(rate));
  w.UInt32(static_cast<uint32_t>(rate * channels * 2));
  w.UInt16(static_cast<uint16_t>(channels * 2));
  w.UInt16(16);
  w.FixedText("data", 4);
  w.UInt32(dataBytes);
  for (int16_t s : samples) w.Int16(s);
  return out;
}

}  // namespace tools
