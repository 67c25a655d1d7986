#include "support/golden.hpp"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "lib/png_writer.hpp"
#include "platform/bmp.hpp"
#include "support/support.hpp"

namespace testsupport {
namespace {

// A decoded picture: 0xRRGGBB per pixel, rows top to bottom.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
};
using Decoder = bool (*)(const std::vector<uint8_t>& file, Picture& picture);

// --- 8-bit grey PNG, without interlacing ---

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Get32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

std::vector<uint8_t> EncodePng(const GreyImage& image) {
  return tools::EncodePng(image.width, image.height, 1, image.pixels);
}

bool DecodePng(const std::vector<uint8_t>& file, Picture& picture) {
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return false;
  std::vector<uint8_t> idat;
  size_t pos = 8;
  int width = 0, height = 0;
  while (pos + 12 <= file.size()) {
    uint32_t len = Get32(&file[pos]);
    if (len > file.size() - pos - 12) return false;
    const uint8_t* type = &file[pos + 4];
    const uint8_t* data = &file[pos + 8];
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (len != 13 || data[8] != 8 || data[9] != 0 || data[12] != 0) return false;
      width = static_cast<int>(Get32(data));
      height = static_cast<int>(Get32(data + 4));
      if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return false;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      idat.insert(idat.end(), data, data + len);
    }
    pos += 12 + len;
  }
  if (width == 0) return false;
  const size_t stride = static_cast<size_t>(width) + 1;
  std::vector<uint8_t> raw(stride * height);
  uLongf size = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &size, idat.data(), static_cast<uLong>(idat.size())) != Z_OK || size != raw.size())
    return false;
  GreyImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const uint8_t filter = raw[y * stride];
    for (int x = 0; x < width; ++x) {
      const int a = x ? image.at(x - 1, y) : 0, b = y ? image.at(x, y - 1) : 0,
                c = x && y ? image.at(x - 1, y - 1) : 0;
      const uint8_t v = raw[y * stride + 1 + x];
      switch (filter) {
        case 0: image.at(x, y) = v; break;
        case 1: image.at(x, y) = static_cast<uint8_t>(v + a); break;
        case 2: image.at(x, y) = static_cast<uint8_t>(v + b); break;
        case 3: image.at(x, y) = static_cast<uint8_t>(v + (a + b) / 2); break;
        case 4: image.at(x, y) = static_cast<uint8_t>(v + Paeth(a, b, c)); break;
        default: return false;
      }
    }
  }
  picture = {width, height, {}};
  picture.rgb.reserve(image.pixels.size());
  for (uint8_t v : image.pixels) picture.rgb.push_back(v * 0x010101u);
  return true;
}

// --- 24-bit BMP ---

bool DecodeBmp(const std::vector<uint8_t>& file, Picture& picture) {
  platform::BmpImage image;
  if (file.empty() || !platform::DecodeBmp(file.data(), file.size(), image)) return false;
  picture = {image.width, image.height, {}};
  picture.rgb.reserve(image.argb.size());
  for (uint32_t p : image.argb) picture.rgb.push_back(p & 0xFFFFFFu);
  return true;
}

// --- the comparer ---

int LargestChannelDifference(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 24; shift += 8)
    largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)));
  return largest;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// `drawn` is the drawn picture encoded as its reference is stored; `decode` reads both.
std::string CompareWithReference(const std::string& relativePath, const std::vector<uint8_t>& drawn,
                                 Decoder decode) {
  const std::string path = SourceDir() + "/" + relativePath;
  if (UpdatingGolden()) {
    if (drawn.empty() || !WriteFile(path, drawn)) return "cannot write " + path;
    std::fprintf(stderr, "golden picture written: %s\n", path.c_str());
    return "";
  }
  const std::filesystem::path reference(relativePath);
  const std::string leftAs = reference.stem().string() + ".actual" + reference.extension().string();
  Picture expected, actual;
  if (!decode(ReadBytes(path), expected)) return "no reference picture " + path + " (make it with HARVO_UPDATE_GOLDEN=1)";
  if (!decode(drawn, actual)) return "the drawn picture could not be encoded";
  if (expected.width != actual.width || expected.height != actual.height) {
    WriteFile(leftAs, drawn);
    return "size differs from " + path;
  }
  size_t differing = 0, first = 0;
  int largest = 0;
  for (size_t i = 0; i < actual.rgb.size(); ++i) {
    if (actual.rgb[i] == expected.rgb[i]) continue;
    if (!differing++) first = i;
    largest = std::max(largest, LargestChannelDifference(actual.rgb[i], expected.rgb[i]));
  }
  if (!differing) return "";
  WriteFile(leftAs, drawn);
  char detail[128];
  std::snprintf(detail, sizeof detail, " (first at %d,%d: %06X, expected %06X; largest difference %d)",
                static_cast<int>(first % actual.width), static_cast<int>(first / actual.width), actual.rgb[first],
                expected.rgb[first], largest);
  return std::to_string(differing) + " pixels differ from " + path + detail + "; drawn: " + leftAs;
}

}  // namespace

std::string CompareWithGolden(const std::string& relativePath, const GreyImage& actual) {
  return CompareWithReference(relativePath, EncodePng(actual), DecodePng);
}

std::string CompareWithGoldenBmp(const std::string& relativePath, const platform::Surface& frame,
                                 const platform::Rect& area) {
  platform::Surface part(area.Right - area.Left, area.Bottom - area.Top, frame.Format());
  platform::Rect r = area;
  part.BltFast(0, 0, const_cast<platform::Surface&>(frame), &r, platform::DDBLTFAST_WAIT);
  return CompareWithReference(relativePath, platform::EncodeBmp24(part), DecodeBmp);
}

}  // namespace testsupport
