#include "platform/bmp.hpp"

#include <bit>
#include <cstring>
#include <new>

#include "platform/fs.hpp"

namespace platform {
namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// Little-endian reads from a buffer whose bounds the caller has checked.
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }
void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

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

bool ReadHeader(const uint8_t* d, size_t size, Header& h) {
  if (size < 26 || d[0] != 'B' || d[1] != 'M') return false;
  h.offBits = U32(d + 10);
  const uint32_t hs = U32(d + 14);
  uint32_t masks[4] = {0, 0, 0, 0};
  bool haveMasks = false, haveAlphaMask = false;
  size_t paletteAt, paletteEntry;
  int64_t height;
  if (hs == 12) {
    if (size < 14 + 12) return false;
    h.width = U16(d + 18);
    height = static_cast<int16_t>(U16(d + 20));
    h.bpp = U16(d + 24);
    paletteAt = 26;
    paletteEntry = 3;
  } else {
    if (hs < 40 || hs > size - 14) return false;
    h.width = S32(d + 18);
    height = S32(d + 22);
    h.bpp = U16(d + 28);
    h.compression = U32(d + 30);
    paletteAt = 14 + size_t{hs};
    paletteEntry = 4;
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    if (fields) {
      // The masks are part of the larger headers, or follow the small one.
      size_t count = h.compression == kAlphaBitFields ? 4 : 3;
      size_t at = 54;
      if (hs == 40) {
        if (paletteAt + 4 * count > size) return false;
        paletteAt += 4 * count;
      } else if (hs < 40 + 4 * count) {
        return false;
      }
      for (size_t i = 0; i < count; ++i) masks[i] = U32(d + at + 4 * i);
      if (hs >= 56) masks[3] = U32(d + 66);
      haveMasks = true;
      haveAlphaMask = count == 4 || hs >= 56;
    }
    const uint32_t clrUsed = U32(d + 46);
    if (h.bpp <= 8 && clrUsed > 0) {
      if (clrUsed > 256) return false;
      h.palette.resize(clrUsed);
    }
  }
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
    if (paletteAt + h.palette.size() * paletteEntry > size) return false;
    for (size_t i = 0; i < h.palette.size(); ++i) {
      const uint8_t* e = d + paletteAt + i * paletteEntry;
      h.palette[i] = kOpaqueBlack | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
    }
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
  return h.offBits < size;
}

uint32_t PaletteColour(const Header& h, uint32_t index) {
  return index < h.palette.size() ? h.palette[index] : kOpaqueBlack;
}

bool DecodeUncompressed(const uint8_t* d, size_t size, const Header& h, BmpImage& out) {
  const int64_t rowBits = int64_t{h.width} * h.bpp;
  const int64_t stride = (rowBits + 31) / 32 * 4;
  const int64_t need = stride * (h.height - 1) + (rowBits + 7) / 8;
  if (static_cast<int64_t>(h.offBits) + need > static_cast<int64_t>(size)) return false;
  for (int32_t fileRow = 0; fileRow < h.height; ++fileRow) {
    const uint8_t* p = d + h.offBits + stride * fileRow;
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
        for (int32_t x = 0; x < h.width; ++x, p += 3)
          o[x] = kOpaqueBlack | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        break;
      default:
        for (int32_t x = 0; x < h.width; ++x) {
          uint32_t v = h.bpp == 16 ? U16(p + 2 * x) : U32(p + 4 * x);
          uint32_t a = h.a.mask ? h.a.Get(v) : 255;
          o[x] = (a << 24) | (h.r.Get(v) << 16) | (h.g.Get(v) << 8) | h.b.Get(v);
        }
        break;
    }
  }
  return true;
}

// Run-length encoded rows (always bottom-up). Pixels the runs never reach stay black;
// runs beyond the right edge or the top are cut off. The data must end with the
// end-of-picture mark.
bool DecodeRle(const uint8_t* d, size_t size, const Header& h, BmpImage& out) {
  const bool four = h.compression == kRle4;
  size_t pos = h.offBits;
  int64_t x = 0, y = 0;
  auto put = [&](uint32_t index) {
    if (x < h.width && y < h.height)
      out.argb[static_cast<size_t>(h.height - 1 - y) * h.width + static_cast<size_t>(x)] = PaletteColour(h, index);
    ++x;
  };
  for (;;) {
    if (pos + 2 > size) return false;
    const uint8_t count = d[pos], value = d[pos + 1];
    pos += 2;
    if (count > 0) {
      int32_t n = count;
      if (x >= h.width) continue;
      for (int32_t i = 0; i < n && x < h.width; ++i) put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
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
        if (pos + 2 > size) return false;
        x += d[pos];
        y += d[pos + 1];
        pos += 2;
        break;
      default: {  // literal pixels, padded to a whole number of 16-bit words
        const size_t n = value;
        const size_t bytes = four ? (n + 1) / 2 : n;
        if (pos + bytes > size) return false;
        for (size_t i = 0; i < n; ++i) put(four ? ((i & 1) ? d[pos + i / 2] & 15 : d[pos + i / 2] >> 4) : d[pos + i]);
        pos += bytes + (bytes & 1);
        break;
      }
    }
  }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, BmpImage& out) {
  Header h;
  if (!data || !ReadHeader(data, size, h)) return false;
  try {
    out.argb.assign(static_cast<size_t>(h.width) * h.height, kOpaqueBlack);
  } catch (const std::bad_alloc&) {
    return false;
  }
  out.width = h.width;
  out.height = h.height;
  out.hasAlpha = h.bpp >= 16 && h.a.mask != 0;
  bool ok = (h.compression == kRle8 || h.compression == kRle4) ? DecodeRle(data, size, h, out)
                                                               : DecodeUncompressed(data, size, h, out);
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

SurfacePtr LoadBmp(std::string_view path, PixelFormat format, int32_t* error) {
  std::vector<uint8_t> bytes;
  if (!fs::ReadAll(path, bytes)) {
    if (error) *error = DDERR_NOTFOUND;
    return nullptr;
  }
  BmpImage image;
  if (!DecodeBmp(bytes.data(), bytes.size(), image)) {
    if (error) *error = DDERR_UNSUPPORTEDFORMAT;
    return nullptr;
  }
  SurfacePtr s = SurfaceFromImage(image, format);
  if (!s && error) *error = DDERR_OUTOFMEMORY;
  return s;
}

std::vector<uint8_t> EncodeBmp24(const Surface& surface) {
  const int32_t w = surface.Width(), h = surface.Height();
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  const size_t imageSize = stride * h;
  std::vector<uint8_t> f(54 + imageSize, 0);
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, static_cast<uint32_t>(f.size()));
  Put32(f, 10, 54);
  Put32(f, 14, 40);
  Put32(f, 18, static_cast<uint32_t>(w));
  Put32(f, 22, static_cast<uint32_t>(h));
  Put16(f, 26, 1);
  Put16(f, 28, 24);
  Put32(f, 34, static_cast<uint32_t>(imageSize));
  Put32(f, 38, 2835);  // 72 dots per inch
  Put32(f, 42, 2835);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* o = f.data() + 54 + stride * (h - 1 - y);
    for (int32_t x = 0; x < w; ++x, o += 3) {
      uint8_t r, g, b, a;
      UnpackPixel(surface.Format(), surface.GetPixel(x, y), r, g, b, a);
      o[0] = b;
      o[1] = g;
      o[2] = r;
    }
  }
  return f;
}

bool SaveBmp24(std::string_view path, const Surface& surface) {
  std::vector<uint8_t> f = EncodeBmp24(surface);
  return fs::WriteAll(path, f.data(), f.size());
}

}  // namespace platform
