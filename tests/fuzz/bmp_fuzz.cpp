// Feeds arbitrary bytes to the BMP reader and converts what it accepts into every
// surface format. A few bytes of run-length data make a picture of millions of pixels;
// of such a picture only the top rows (16384 pixels at most, at least one row) are
// converted: every row is converted alike, and the whole picture in four formats would
// hold the fuzzer up for tens of milliseconds an input.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/bmp.hpp"

namespace {

constexpr int64_t kUmwandelnBis = int64_t{1} << 14;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::BmpImage image;
  if (!platform::DecodeBmp(data, size, image)) return 0;
  if (image.width < 1 || image.height < 1 || image.argb.size() != static_cast<size_t>(image.width) * image.height)
    std::abort();
  image.height = static_cast<int32_t>(std::min<int64_t>(image.height, std::max<int64_t>(1, kUmwandelnBis / image.width)));
  image.argb.resize(static_cast<size_t>(image.width) * image.height);
  for (platform::PixelFormat f : {platform::PixelFormat::XRGB8888, platform::PixelFormat::RGB565,
                                  platform::PixelFormat::ARGB8888, platform::PixelFormat::ARGB4444})
    platform::SurfaceFromImage(image, f);
  return 0;
}
