#include "support/golden.hpp"

#include "support/support.hpp"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace testsupport {
namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void Put32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}
uint32_t Get32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  Put32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

}  // namespace

bool WritePng(const std::string& path, const GreyImage& image) {
  std::string raw;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // no filter
    raw.append(reinterpret_cast<const char*>(&image.pixels[static_cast<size_t>(y) * image.width]), image.width);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), 9) != Z_OK)
    return false;
  packed.resize(size);
  std::string out(reinterpret_cast<const char*>(kSignature), 8), ihdr;
  Put32(ihdr, static_cast<uint32_t>(image.width));
  Put32(ihdr, static_cast<uint32_t>(image.height));
  ihdr += std::string("\x08\x00\x00\x00\x00", 5);  // 8 bits, grey, deflate, no filter, no interlace
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", "");
  std::ofstream f(path, std::ios::binary);
  f.write(out.data(), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f);
}

bool ReadPng(const std::string& path, GreyImage& image) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) return false;
  std::string idat;
  size_t pos = 8;
  bool header = false;
  while (pos + 12 <= file.size()) {
    uint32_t len = Get32(&file[pos]);
    if (len > file.size() - pos - 12) return false;
    std::string type(reinterpret_cast<const char*>(&file[pos + 4]), 4);
    const uint8_t* data = &file[pos + 8];
    if (type == "IHDR") {
      if (len != 13 || data[8] != 8 || data[9] != 0 || data[12] != 0) return false;
      image.width = static_cast<int>(Get32(data));
      image.height = static_cast<int>(Get32(data + 4));
      if (image.width <= 0 || image.height <= 0 || image.width > 8192 || image.height > 8192) return false;
      header = true;
    } else if (type == "IDAT") {
      idat.append(reinterpret_cast<const char*>(data), len);
    }
    pos += 12 + len;
  }
  if (!header) return false;
  const size_t stride = static_cast<size_t>(image.width) + 1;
  std::vector<uint8_t> raw(stride * image.height);
  uLongf size = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())) !=
          Z_OK ||
      size != raw.size())
    return false;
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t filter = raw[y * stride];
    for (int x = 0; x < image.width; ++x) {
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
  return true;
}

std::string CompareWithGolden(const std::string& relativePath, const GreyImage& actual) {
  const std::string path = SourceDir() + "/" + relativePath;
  if (UpdatingGolden()) {
    if (!WritePng(path, actual)) return "cannot write " + path;
    std::fprintf(stderr, "golden picture written: %s\n", path.c_str());
    return "";
  }
  GreyImage expected;
  if (!ReadPng(path, expected)) return "no reference picture " + path + " (make it with HARVO_UPDATE_GOLDEN=1)";
  const std::string name = std::filesystem::path(relativePath).stem().string();
  if (expected.width != actual.width || expected.height != actual.height) {
    WritePng(name + ".actual.png", actual);
    return "size differs from " + path;
  }
  size_t differing = 0;
  int largest = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < actual.height; ++y)
    for (int x = 0; x < actual.width; ++x) {
      int d = std::abs(int{actual.at(x, y)} - int{expected.at(x, y)});
      if (d == 0) continue;
      if (!differing++) firstX = x, firstY = y;
      largest = std::max(largest, d);
    }
  if (!differing) return "";
  WritePng(name + ".actual.png", actual);
  return std::to_string(differing) + " pixels differ from " + path + " (first at " + std::to_string(firstX) + "," +
         std::to_string(firstY) + ", largest difference " + std::to_string(largest) + "); drawn: " + name +
         ".actual.png";
}

}  // namespace testsupport
