#include "platform/bmp.hpp"

#include <bit>
#include <new>

#include "platform/bytes.hpp"
#include "platform/fs.hpp"

namespace platform {
namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;
// The largest picture file read: four bytes for each of the most pixels accepted, and room
// for headers and the odd unused bytes.
constexpr uint64_t kLargestFile = 4 * static_cast<uint64_t>(kMaxBmpPixels) + (1u << 20);

// One channel of a bit-field pixel, widened to 8 bits by rounding.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;
  bool Set(uint32_t m) {
    mask = m;
    if (m == 0) return true;
    shift = std::countr_zero(m);
    uint32_t bits = m >> shift;
    if ((bits & (bits + 1)) != 0) return false;  // the ones must be contiguous
    max = bits;
    return true;
  }
  uint32_t Get(uint32_t pixel) const {
    if (mask == 0) return 0;
    uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint32_t>((v * 255 + max / 2) / max);
  }
};

struct Header {
  int32_t width = 0, height = 0;
  bool topDown = false;
  uint32_t bpp = 0, compression = 0;
  uint32_t offBits = 0;
  Channel r, g, b, a;
  std::vector<uint32_t> palette;
};

bool ReadHeader(std::span<const uint8_t> d, Header& h) {
  ByteReader in(d);
  if (d.size() < 26 || in.FixedText(2) != "BM") return false;
  in.Skip(8);  // file size and reserved words: often wrong and never needed
  h.offBits = in.UInt32();
  const uint32_t hs = in.UInt32();
  uint32_t masks[4] = {0, 0, 0, 0};
  bool haveMasks = false, haveAlphaMask = false;
  size_t paletteAt, paletteEntry;
  int64_t height;
  if (hs == 12) {
    h.width = in.UInt16();
    height = in.Int16();
    in.Skip(2);  // planes
    h.bpp = in.UInt16();
    paletteAt = 26;
    paletteEntry = 3;
  } else {
    if (hs < 40 || hs > d.size() - 14) return false;
    h.width = in.Int32();
    height = in.Int32();
    in.Skip(2);  // planes
    h.bpp = in.UInt16();
    h.compression = in.UInt32();
    in.Skip(12);  // image size and resolution
    const uint32_t clrUsed = in.UInt32();
    in.Skip(4);  // important colours
    paletteAt = 14 + size_t{hs};
    paletteEntry = 4;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
      // The masks are part of the larger headers, or follow the small one; a header
      // from version 3 on holds the alpha mask as well.
      const size_t count = h.compression == kAlphaBitFields ? 4 : 3;
      if (hs == 40) {
        paletteAt += 4 * count;
      } else if (hs < 40 + 4 * count) {
        return false;
      }
      haveAlphaMask = count == 4 || hs >= 56;
      for (size_t i = 0; i < (haveAlphaMask ? 4u : 3u); ++i) masks[i] = in.UInt32();
      haveMasks = true;
    }
    if (h.bpp <= 8 && clrUsed > 0) {
      if (clrUsed > 256) return false;
      h.palette.resize(clrUsed);
    }
  }
  if (!in.Ok()) return false;
  if (h.width < 1 || h.width > Surface::kMaxSide) return false;
  if (height == 0 || height < -Surface::kMaxSide || height > Surface::kMaxSide) return false;
  h.topDown = height < 0;
  h.height = static_cast<int32_t>(h.topDown ? -height : height);
  if (int64_t{h.width} * h.height > kMaxBmpPixels) return false;

  switch (h.compression) {
    case kRgb: break;
    case kRle8: if (h.bpp != 8 || h.topDown) return false; break;
    case kRle4: if (h.bpp != 4 || h.topDown) return false; break;
    case kBitFields:
    case kAlphaBitFields: if (h.bpp != 16 && h.bpp != 32) return false; break;
    default: return false;
  }
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) return false;

  if (h.bpp <= 8) {
    if (h.palette.empty()) h.palette.resize(size_t{1} << h.bpp);
    in.Seek(paletteAt);
    for (uint32_t& colour : h.palette) {
      const uint32_t b = in.UInt8(), g = in.UInt8(), r = in.UInt8();
      in.Skip(paletteEntry - 3);
      colour = kOpaqueBlack | (r << 16) | (g << 8) | b;
    }
    if (!in.Ok()) return false;
  } else {
    if (!haveMasks) {
      if (h.bpp == 16) {
        masks[0] = 0x7C00, masks[1] = 0x3E0, masks[2] = 0x1F;
      } else {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
      }
    }
    if (!haveAlphaMask) masks[3] = 0;
    if (h.bpp == 16)
      for (uint32_t& m : masks)
        if (m > 0xFFFF) return false;
    if (h.bpp == 24) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0;
    if (!h.r.Set(masks[0]) || !h.g.Set(masks[1]) || !h.b.Set(masks[2]) || !h.a.Set(masks[3])) return false;
  }
  return h.offBits < d.size();
}

uint32_t PaletteColour(const Header& h, uint32_t index) {
  return index < h.palette.size() ? h.palette[index] : kOpaqueBlack;
}

bool DecodeUncompressed(std::span<const uint8_t> d, const Header& h, BmpImage& out) {
  const int64_t rowBits = int64_t{h.width} * h.bpp;
  const size_t stride = static_cast<size_t>((rowBits + 31) / 32 * 4);
  const size_t rowBytes = static_cast<size_t>((rowBits + 7) / 8);  // the last row may lack its padding
  ByteReader in(d);
  for (int32_t fileRow = 0; fileRow < h.height; ++fileRow) {
    in.Seek(h.offBits + stride * static_cast<size_t>(fileRow));
    const std::span<const uint8_t> p = in.Block(rowBytes);
    if (!in.Ok()) return false;
    int32_t y = h.topDown ? fileRow : h.height - 1 - fileRow;
    uint32_t* o = out.argb.data() + static_cast<size_t>(y) * h.width;
    switch (h.bpp) {
      case 1:
        for (int32_t x = 0; x < h.width; ++x) o[x] = PaletteColour(h, (p[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        for (int32_t x = 0; x < h.width; ++x) o[x] = PaletteColour(h, (p[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
        break;
      case 8:
        for (int32_t x = 0; x < h.width; ++x) o[x] = PaletteColour(h, p[x]);
        break;
      case 24:
        for (int32_t x = 0; x < h.width; ++x) {
          const uint32_t b = p[3 * x], g = p[3 * x + 1], r = p[3 * x + 2];
          o[x] = kOpaqueBlack | (r << 16) | (g << 8) | b;
        }
        break;
      default: {
        ByteReader pixels(p);
        for (int32_t x = 0; x < h.width; ++x) {
          uint32_t v = h.bpp == 16 ? pixels.UInt16() : pixels.UInt32();
          uint32_t a = h.a.mask ? h.a.Get(v) : 255;
          o[x] = (a << 24) | (h.r.Get(v) << 16) | (h.g.Get(v) << 8) | h.b.Get(v);
        }
        break;
      }
    }
  }
  return true;
}

// Run-length encoded rows (always bottom-up). Pixels the runs never reach stay black;
// runs beyond the right edge or the top are cut off. The data must end with the
// end-of-picture mark.
bool DecodeRle(std::span<const uint8_t> d, const Header& h, BmpImage& out) {
  const bool four = h.compression == kRle4;
  ByteReader in(d);
  in.Seek(h.offBits);
  int64_t x = 0, y = 0;
  auto put = [&](uint32_t index) {
    if (x < h.width && y < h.height)
      out.argb[static_cast<size_t>(h.height - 1 - y) * h.width + static_cast<size_t>(x)] = PaletteColour(h, index);
    ++x;
  };
  for (;;) {
    const uint8_t count = in.UInt8(), value = in.UInt8();
    if (!in.Ok()) return false;
    if (count > 0) {
      if (x >= h.width) continue;
      for (int32_t i = 0; i < count && x < h.width; ++i) put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        return true;
      case 2:  // move right and up
        x += in.UInt8();
        y += in.UInt8();
        if (!in.Ok()) return false;
        break;
      default: {  // literal pixels, padded to a whole number of 16-bit words
        const size_t n = value;
        const size_t bytes = four ? (n + 1) / 2 : n;
        const std::span<const uint8_t> p = in.Block(bytes);
        if (!in.Ok()) return false;
        for (size_t i = 0; i < n; ++i) put(four ? ((i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
        in.Skip(bytes & 1);
        break;
      }
    }
  }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpImage& out) {
  Header h;
  const std::span<const uint8_t> d(data, data ? size : 0);
  if (!data || !ReadHeader(d, h)) return false;
  try {
    out.argb.assign(static_cast<size_t>(h.width) * h.height, kOpaqueBlack);
  } catch (const std::bad_alloc&) {
    return false;
  }
  out.width = h.width;
  out.height = h.height;
  out.hasAlpha = h.bpp >= 16 && h.a.mask != 0;
  bool ok = (h.compression == kRle8 || h.compression == kRle4) ? DecodeRle(d, h, out) : DecodeUncompressed(d, h, out);
  if (!ok) out = BmpImage{};
  return ok;
}

SurfacePtr SurfaceFromImage(const BmpImage& image, PixelFormat format) {
  SurfacePtr s = Surface::Create(image.width, image.height, format);
  if (!s) return nullptr;
  const uint32_t* p = image.argb.data();
  for (int32_t y = 0; y < image.height; ++y, p += image.width) {
    uint8_t* row = s->Row(y);
    if (format == PixelFormat::XRGB8888) {
      uint32_t* o = reinterpret_cast<uint32_t*>(row);
      for (int32_t x = 0; x < image.width; ++x) o[x] = p[x] & 0xFFFFFF;
    } else if (format == PixelFormat::ARGB8888) {
      uint32_t* o = reinterpret_cast<uint32_t*>(row);
      for (int32_t x = 0; x < image.width; ++x) o[x] = image.hasAlpha ? p[x] : (p[x] | kOpaqueBlack);
    } else {
      uint16_t* o = reinterpret_cast<uint16_t*>(row);
      for (int32_t x = 0; x < image.width; ++x) {
        uint32_t v = p[x];
        o[x] = static_cast<uint16_t>(PackPixel(format, (v >> 16) & 255, (v >> 8) & 255, v & 255,
                                               image.hasAlpha ? v >> 24 : 255));
      }
    }
  }
  return s;
}

bool LoadBmpImage(std::string_view path, BmpImage& image, int32_t* error) {
  std::vector<uint8_t> bytes;
  if (!fs::ReadAll(path, bytes, kLargestFile)) {
    if (error) *error = fs::FileExists(path) ? DDERR_UNSUPPORTEDFORMAT : DDERR_NOTFOUND;
    return false;
  }
  if (!DecodeBmp(bytes.data(), bytes.size(), image)) {
    if (error) *error = DDERR_UNSUPPORTEDFORMAT;
    return false;
  }
  return true;
}

SurfacePtr LoadBmp(std::string_view path, PixelFormat format, int32_t* error) {
  BmpImage image;
  if (!LoadBmpImage(path, image, error)) return nullptr;
  SurfacePtr s = SurfaceFromImage(image, format);
  if (!s && error) *error = DDERR_OUTOFMEMORY;
  return s;
}

std::vector<uint8_t> EncodeBmp24(const Surface& surface) {
  const int32_t w = surface.Width(), h = surface.Height();
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  const size_t imageSize = stride * h;
  std::vector<uint8_t> f;
  f.reserve(54 + imageSize);
  ByteWriter out(f);
  out.FixedText("BM", 2);
  out.UInt32(static_cast<uint32_t>(54 + imageSize));
  out.UInt32(0);   // reserved
  out.UInt32(54);  // where the pixels start
  out.UInt32(40);  // BITMAPINFOHEADER
  out.Int32(w);
  out.Int32(h);    // positive: bottom-up rows
  out.UInt16(1);   // planes
  out.UInt16(24);
  out.UInt32(kRgb);
  out.UInt32(static_cast<uint32_t>(imageSize));
  out.Int32(2835);  // 72 dots per inch
  out.Int32(2835);
  out.UInt32(0);  // colours used
  out.UInt32(0);  // important colours
  for (int32_t y = h - 1; y >= 0; --y) {
    for (int32_t x = 0; x < w; ++x) {
      uint8_t r, g, b, a;
      UnpackPixel(surface.Format(), surface.GetPixel(x, y), r, g, b, a);
      out.UInt8(b);
      out.UInt8(g);
      out.UInt8(r);
    }
    out.Zeros(stride - static_cast<size_t>(w) * 3);
  }
  return f;
}

bool SaveBmp24(std::string_view path, const Surface& surface) {
  std::vector<uint8_t> f = EncodeBmp24(surface);
  return fs::WriteReplacing(path, f.data(), f.size(), false);
}

}  // namespace platform
