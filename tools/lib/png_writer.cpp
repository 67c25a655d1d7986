#include "lib/png_writer.hpp"

#include <zlib.h>

namespace tools {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// Length, type, data and the CRC of type and data.
void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

std::vector<uint8_t> EncodePng(int width, int height, int channels, const std::vector<uint8_t>& samples) {
  const size_t zeile = static_cast<size_t>(width) * static_cast<size_t>(channels);
  if (width <= 0 || height <= 0 || (channels != 1 && channels != 3) || samples.size() != zeile * height) return {};
  std::vector<uint8_t> raw;
  raw.reserve((zeile + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    const auto row = samples.begin() + static_cast<std::ptrdiff_t>(zeile * static_cast<size_t>(y));
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(zeile));
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return {};
  packed.resize(size);
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> out(signature, signature + 8), ihdr;
  Put32(ihdr, static_cast<uint32_t>(width));
  Put32(ihdr, static_cast<uint32_t>(height));
  // 8 bits, grey or RGB, deflate, no filter, no interlace.
  for (int b : {8, channels == 1 ? 0 : 2, 0, 0, 0}) ihdr.push_back(static_cast<uint8_t>(b));
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace tools
