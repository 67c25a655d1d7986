// Feeds arbitrary bytes to the BMP reader and converts what it accepts into every
// surface format.
#include <cstdint>
#include <cstdlib>

#include "platform/bmp.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::BmpImage image;
  if (!platform::DecodeBmp(data, size, image)) return 0;
  if (image.width < 1 || image.height < 1 || image.argb.size() != static_cast<size_t>(image.width) * image.height)
    std::abort();
  for (platform::PixelFormat f : {platform::PixelFormat::XRGB8888, platform::PixelFormat::RGB565,
                                  platform::PixelFormat::ARGB8888, platform::PixelFormat::ARGB4444})
    platform::SurfaceFromImage(image, f);
  return 0;
}
