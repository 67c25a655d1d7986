#pragma once
// BMP pictures: the reader behind every picture the game loads, and the 24-bit writer of
// its screenshots. Every value of a file is checked before it is used: a damaged or
// truncated file is a failed load, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/surface.hpp"

namespace platform {

// A decoded picture: 0xAARRGGBB per pixel, top row first.
struct BmpImage {
  int32_t width = 0, height = 0;
  bool hasAlpha = false;  // the file has an alpha mask; otherwise alpha is 255
  std::vector<uint32_t> argb;
};

// The largest picture accepted, in pixels (each side is limited by Surface::kMaxSide).
constexpr int64_t kMaxBmpPixels = int64_t{1} << 24;

// Decodes a BMP held in memory: the BITMAPINFOHEADER, V4 and V5 headers (and the old
// 12-byte core header); 1, 4 and 8 bits with a palette, 16 bits (5-5-5 or bit fields),
// 24 and 32 bits; rows bottom-up or top-down; RLE8 and RLE4. False for anything else.
bool DecodeBmp(const uint8_t* data, size_t size, BmpImage& out);

// A decoded picture in a new surface of `format` (nullptr when memory is short).
SurfacePtr SurfaceFromImage(const BmpImage& image, PixelFormat format);

// Reads and decodes a BMP file, as the file's own colours. On failure false, and `error`
// as for LoadBmp.
bool LoadBmpImage(std::string_view path, BmpImage& image, int32_t* error = nullptr);

// Reads a BMP file into a new surface of `format`. On failure nullptr, and `error` (when
// given) receives DDERR_NOTFOUND for a file that cannot be read or
// DDERR_UNSUPPORTEDFORMAT for one that is not a picture we can read.
SurfacePtr LoadBmp(std::string_view path, PixelFormat format, int32_t* error = nullptr);

// The surface as a 24-bit BMP file (bottom-up rows, BITMAPINFOHEADER).
std::vector<uint8_t> EncodeBmp24(const Surface& surface);
// Written as fs::WriteReplacing writes: a picture in place of the old file, never half
// written and never written through a link of the name.
bool SaveBmp24(std::string_view path, const Surface& surface);

}  // namespace platform
