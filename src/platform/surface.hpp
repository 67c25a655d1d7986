#pragma once
// Pictures in memory, drawn by the CPU: the back buffer, off-screen pictures and textures.
// A surface keeps the real pixel format of the display (32-bit XRGB or 16-bit 5-6-5) or of
// an alpha texture (ARGB 8888 or 4444), so locks, packed colour values, colour keys and the
// 16-bit behaviour are exactly what the game computes with.
//
// The operations answer with DirectDraw's result codes (0 = success), so the game's error
// handling and its error dialog see the numbers it knows.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/window.hpp"

namespace platform {

class Surface;

namespace bands {
// The record of drawing (band_queue.hpp) is made in batches, numbered from 1: `g_record`
// is the one being made, and every batch up to `g_drawn` is drawn. A surface carries the
// number of the last batch that draws into it, and of the last that reads it.
extern uint64_t g_record, g_drawn;
void RunPending();
// A surface the record drew into is going away: a new one at its place is another.
void Forget(const Surface& target);
}  // namespace bands

// Result codes.
constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_INVALIDPARAMS = 5;
constexpr int32_t DDERR_OUTOFMEMORY = 7;
constexpr int32_t DDERR_INVALIDOBJECT = static_cast<int32_t>(0x88760082u);
constexpr int32_t DDERR_INVALIDPIXELFORMAT = static_cast<int32_t>(0x88760091u);
constexpr int32_t DDERR_INVALIDRECT = static_cast<int32_t>(0x88760096u);
constexpr int32_t DDERR_NOEXCLUSIVEMODE = static_cast<int32_t>(0x887600E1u);
constexpr int32_t DDERR_NOTFOUND = static_cast<int32_t>(0x887600FFu);
constexpr int32_t DDERR_NORASTEROPHW = static_cast<int32_t>(0x88760118u);
constexpr int32_t DDERR_SURFACEBUSY = static_cast<int32_t>(0x887601AEu);
constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2u);
constexpr int32_t DDERR_UNSUPPORTEDFORMAT = static_cast<int32_t>(0x887601FEu);
constexpr int32_t DDERR_NOTLOCKED = static_cast<int32_t>(0x88760248u);

// Flags of BltFast.
constexpr uint32_t DDBLTFAST_NOCOLORKEY = 0x0, DDBLTFAST_SRCCOLORKEY = 0x1, DDBLTFAST_WAIT = 0x10;
// Flags of Blt.
constexpr uint32_t DDBLT_COLORFILL = 0x400, DDBLT_KEYSRC = 0x8000, DDBLT_ROP = 0x20000, DDBLT_WAIT = 0x1000000;
// Raster operations of Blt with DDBLT_ROP.
constexpr int32_t SRCCOPY = 0xCC0020, DSTINVERT = 0x550009;
// Colour-key kind of SetColorKey (only the source key exists here).
constexpr uint32_t DDCKEY_SRCBLT = 0x8;
// Lock flags (accepted and ignored: a CPU surface never has to wait).
constexpr uint32_t DDLOCK_WAIT = 0x1, DDLOCK_NOSYSLOCK = 0x800;

enum class PixelFormat : uint8_t { XRGB8888, RGB565, ARGB8888, ARGB4444 };

struct PixelMasks {
  int32_t bitsPerPixel;
  uint32_t alpha, red, green, blue;
};
PixelMasks MasksOf(PixelFormat format);
int32_t BytesPerPixel(PixelFormat format);
// The bits of a pixel that carry colour: what a colour key compares and an inversion
// flips (the unused top byte of XRGB is not part of the colour).
uint32_t ValueMask(PixelFormat format);
// A colour of 8-bit channels as a pixel value; smaller fields keep their top bits.
uint32_t PackPixel(PixelFormat format, uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255);
// A pixel value as 8-bit channels; smaller fields are widened by repeating their bits.
void UnpackPixel(PixelFormat format, uint32_t pixel, uint8_t& r, uint8_t& g, uint8_t& b, uint8_t& a);

// What GetSurfaceDesc tells about a surface.
struct SurfaceDesc {
  int32_t width = 0, height = 0, pitch = 0;
  PixelFormat format = PixelFormat::XRGB8888;
  int32_t bitsPerPixel = 0;
  uint32_t alphaMask = 0, redMask = 0, greenMask = 0, blueMask = 0;
  bool hasSrcColorKey = false;
  uint32_t srcColorKeyLow = 0, srcColorKeyHigh = 0;
};

// The pixels of a locked rectangle: `bits` points at its top-left pixel.
struct LockedRect {
  uint8_t* bits = nullptr;
  int32_t pitch = 0;
  int32_t width = 0, height = 0;
};

// Raster operation and fill colour of Blt.
struct BltFx {
  int32_t rop = 0;
  uint32_t fillColor = 0;
};

class Surface {
 public:
  // A black surface; width and height from 1 to kMaxSide.
  Surface(int32_t width, int32_t height, PixelFormat format);
  // nullptr when the size is out of range or memory is short.
  static std::shared_ptr<Surface> Create(int32_t width, int32_t height, PixelFormat format);
  static constexpr int32_t kMaxSide = 16384;
  // A copy of the pixels as they are drawn now, and of the colour key and text settings.
  Surface(const Surface& other);
  Surface& operator=(const Surface&) = delete;
  // Recorded drawing that reads or draws this surface runs first.
  ~Surface();

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Pitch() const { return pitch_; }
  PixelFormat Format() const { return format_; }
  int32_t BytesPerPixel() const { return bpp_; }
  // The pixels of row `y`, with everything drawn so far in them.
  uint8_t* Row(int32_t y) {
    SettleWrite();
    return RawRow(y);
  }
  const uint8_t* Row(int32_t y) const {
    SettleRead();
    return RawRow(y);
  }
  // The row as it is, recorded drawing still pending or not: for the drawing code itself,
  // which settles first or runs as part of the record.
  uint8_t* RawRow(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * pitch_; }
  const uint8_t* RawRow(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * pitch_; }

  // Before the pixels are read (or written) other than by the recorded drawing: runs the
  // record when it draws into this surface (or, for a write, reads it either).
  void SettleRead() const {
    if (drawnIn_ > bands::g_drawn) bands::RunPending();
  }
  void SettleWrite() const {
    if (drawnIn_ > bands::g_drawn || readIn_ > bands::g_drawn) bands::RunPending();
  }
  // For the record: it draws into, or reads, this surface. Written only when the number
  // changes: the drawing threads read the rows' place beside it all the time.
  void MarkDrawn() const {
    if (drawnIn_ != bands::g_record) drawnIn_ = bands::g_record;
  }
  void MarkRead() const {
    if (readIn_ != bands::g_record) readIn_ = bands::g_record;
  }
  // Whether draws into this surface may be recorded and run in bands (the 3D device's
  // target: the back buffer).
  void SetBandDrawn(bool on) { bandDrawn_ = on; }
  bool BandDrawn() const { return bandDrawn_; }
  // One pixel's value; coordinates must lie inside (for tests and slow paths).
  uint32_t GetPixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, uint32_t value);

  // The source colour key: pixels whose colour bits equal the key's are skipped by keyed
  // blits. Only the low value counts (an RGB surface compares one value).
  int32_t SetColorKey(uint32_t flags, uint32_t low, uint32_t high);
  void ClearColorKey() {
    SettleWrite();
    hasKey_ = false;
  }
  bool HasColorKey() const { return hasKey_; }
  uint32_t ColorKey() const { return keyLow_ & ValueMask(format_); }

  SurfaceDesc GetSurfaceDesc() const;

  // Direct access to the pixels of `rect` (the whole surface for nullptr) until Unlock.
  // A locked surface refuses blits and a second lock with DDERR_SURFACEBUSY.
  int32_t Lock(const Rect* rect, LockedRect& out, uint32_t flags = DDLOCK_WAIT);
  int32_t Unlock();
  bool IsLocked() const { return locked_; }

  // Pictures drawn by the CPU are never lost; these answer as a surface that is fine.
  int32_t IsLost() const { return DD_OK; }
  int32_t Restore() { return DD_OK; }

  // Copies the rectangle `srcRect` of `src` (whole for nullptr) to (x, y), unscaled.
  int32_t BltFast(int32_t x, int32_t y, Surface& src, const Rect* srcRect, uint32_t flags);
  // Copies `srcRect` of `src` into `dstRect` (whole surfaces for nullptr), stretched by
  // nearest neighbour; with DDBLT_ROP applies `fx->rop` (SRCCOPY, or DSTINVERT, which
  // inverts the destination and ignores the source); with DDBLT_COLORFILL fills with
  // `fx->fillColor`. Rectangles are clipped to both surfaces without complaint and an
  // empty result does nothing; copies within one surface behave as if the source had
  // been copied aside first.
  int32_t Blt(const Rect* dstRect, Surface* src, const Rect* srcRect, uint32_t flags, const BltFx* fx = nullptr);
  // Fills `rect` (whole for nullptr) with a pixel value of this surface's format.
  int32_t BltColorFill(const Rect* rect, uint32_t color);

  // DirectDraw's own text settings of a surface (its text colour and transparent
  // background), and the slot where the text layer keeps the device context it draws
  // this surface's text through. The text layer owns what `textState` holds.
  void SetForeColor(uint32_t colorRef) { foreColor_ = colorRef; }
  uint32_t ForeColor() const { return foreColor_; }
  void SetFontTransparency(bool on) { fontTransparent_ = on; }
  bool FontTransparency() const { return fontTransparent_; }
  intptr_t textDC = 0;
  std::shared_ptr<void> textState;

  // Exchanges the pixels of two surfaces of one size and format: a page flip.
  static bool SwapPixels(Surface& a, Surface& b);

 private:
  int32_t width_, height_, pitch_, bpp_;
  PixelFormat format_;
  std::vector<uint8_t> pixels_;
  bool hasKey_ = false;
  uint32_t keyLow_ = 0, keyHigh_ = 0;
  bool locked_ = false;
  uint32_t foreColor_ = 0;
  bool fontTransparent_ = false;
  bool bandDrawn_ = false;
  // On a line of their own, away from what the drawing threads read.
  alignas(64) mutable uint64_t drawnIn_ = 0, readIn_ = 0;
};

using SurfacePtr = std::shared_ptr<Surface>;

}  // namespace platform
