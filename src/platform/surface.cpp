#include "platform/surface.hpp"

#include <cstring>
#include <new>

namespace platform {

PixelMasks MasksOf(PixelFormat format) {
  switch (format) {
    case PixelFormat::XRGB8888: return {32, 0, 0xFF0000, 0xFF00, 0xFF};
    case PixelFormat::RGB565: return {16, 0, 0xF800, 0x7E0, 0x1F};
    case PixelFormat::ARGB8888: return {32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF};
    case PixelFormat::ARGB4444: return {16, 0xF000, 0xF00, 0xF0, 0xF};
  }
  return {32, 0, 0xFF0000, 0xFF00, 0xFF};
}

int32_t BytesPerPixel(PixelFormat format) { return MasksOf(format).bitsPerPixel / 8; }

uint32_t ValueMask(PixelFormat format) {
  PixelMasks m = MasksOf(format);
  return m.alpha | m.red | m.green | m.blue;
}

uint32_t PackPixel(PixelFormat format, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  r &= 255;
  g &= 255;
  b &= 255;
  a &= 255;
  switch (format) {
    case PixelFormat::XRGB8888: return (r << 16) | (g << 8) | b;
    case PixelFormat::RGB565: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case PixelFormat::ARGB8888: return (a << 24) | (r << 16) | (g << 8) | b;
    case PixelFormat::ARGB4444: return ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4);
  }
  return 0;
}

void UnpackPixel(PixelFormat format, uint32_t p, uint8_t& r, uint8_t& g, uint8_t& b, uint8_t& a) {
  switch (format) {
    case PixelFormat::XRGB8888:
    case PixelFormat::ARGB8888:
      a = format == PixelFormat::XRGB8888 ? 255 : static_cast<uint8_t>(p >> 24);
      r = static_cast<uint8_t>(p >> 16);
      g = static_cast<uint8_t>(p >> 8);
      b = static_cast<uint8_t>(p);
      return;
    case PixelFormat::RGB565: {
      uint32_t r5 = (p >> 11) & 31, g6 = (p >> 5) & 63, b5 = p & 31;
      r = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
      g = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
      b = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
      a = 255;
      return;
    }
    case PixelFormat::ARGB4444:
      a = static_cast<uint8_t>(((p >> 12) & 15) * 17);
      r = static_cast<uint8_t>(((p >> 8) & 15) * 17);
      g = static_cast<uint8_t>(((p >> 4) & 15) * 17);
      b = static_cast<uint8_t>((p & 15) * 17);
      return;
  }
}

Surface::Surface(int32_t width, int32_t height, PixelFormat format)
    : width_(width), height_(height), bpp_(platform::BytesPerPixel(format)), format_(format) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) throw std::bad_alloc();
  // Rows start on four-byte boundaries, as DirectDraw's did.
  pitch_ = (width * bpp_ + 3) & ~3;
  pixels_.assign(static_cast<size_t>(pitch_) * height, 0);
}

Surface::Surface(const Surface& other)
    : textDC(0),
      width_(other.width_),
      height_(other.height_),
      pitch_(other.pitch_),
      bpp_(other.bpp_),
      format_(other.format_),
      hasKey_(other.hasKey_),
      keyLow_(other.keyLow_),
      keyHigh_(other.keyHigh_),
      foreColor_(other.foreColor_),
      fontTransparent_(other.fontTransparent_) {
  other.SettleRead();
  pixels_ = other.pixels_;
}

Surface::~Surface() {
  SettleWrite();
  if (bandDrawn_) bands::Forget(*this);
}

std::shared_ptr<Surface> Surface::Create(int32_t width, int32_t height, PixelFormat format) {
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return nullptr;
  try {
    return std::make_shared<Surface>(width, height, format);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

uint32_t Surface::GetPixel(int32_t x, int32_t y) const {
  const uint8_t* p = Row(y) + static_cast<size_t>(x) * bpp_;
  if (bpp_ == 2) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

void Surface::SetPixel(int32_t x, int32_t y, uint32_t value) {
  uint8_t* p = Row(y) + static_cast<size_t>(x) * bpp_;
  if (bpp_ == 2) {
    uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(p, &v, 2);
  } else {
    std::memcpy(p, &value, 4);
  }
}

int32_t Surface::SetColorKey(uint32_t flags, uint32_t low, uint32_t high) {
  if (!(flags & DDCKEY_SRCBLT)) return DDERR_INVALIDPARAMS;
  SettleWrite();  // recorded keyed draws read the key they were made with
  hasKey_ = true;
  keyLow_ = low;
  keyHigh_ = high;
  return DD_OK;
}

SurfaceDesc Surface::GetSurfaceDesc() const {
  SurfaceDesc d;
  PixelMasks m = MasksOf(format_);
  d.width = width_;
  d.height = height_;
  d.pitch = pitch_;
  d.format = format_;
  d.bitsPerPixel = m.bitsPerPixel;
  d.alphaMask = m.alpha;
  d.redMask = m.red;
  d.greenMask = m.green;
  d.blueMask = m.blue;
  d.hasSrcColorKey = hasKey_;
  d.srcColorKeyLow = keyLow_;
  d.srcColorKeyHigh = keyHigh_;
  return d;
}

int32_t Surface::Lock(const Rect* rect, LockedRect& out, uint32_t) {
  if (locked_) return DDERR_SURFACEBUSY;
  SettleWrite();
  Rect r = rect ? *rect : Rect{0, 0, width_, height_};
  if (r.Left < 0 || r.Top < 0 || r.Right > width_ || r.Bottom > height_ || r.Left >= r.Right || r.Top >= r.Bottom)
    return DDERR_INVALIDRECT;
  out.bits = RawRow(r.Top) + static_cast<size_t>(r.Left) * bpp_;
  out.pitch = pitch_;
  out.width = r.Right - r.Left;
  out.height = r.Bottom - r.Top;
  locked_ = true;
  return DD_OK;
}

int32_t Surface::Unlock() {
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  return DD_OK;
}

bool Surface::SwapPixels(Surface& a, Surface& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_ || a.format_ != b.format_) return false;
  a.SettleWrite();
  b.SettleWrite();
  a.pixels_.swap(b.pixels_);
  return true;
}

}  // namespace platform
