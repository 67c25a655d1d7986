#include "platform/text.hpp"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/codepage.hpp"
#include "platform/fonts.hpp"

namespace platform {
namespace {

struct FontObject {
  int32_t height = 0;
  int codePage = CodePageWestern;
  std::shared_ptr<fonts::SizedFont> sized;  // nullptr without font files
};

struct DeviceContext {
  HDC handle = 0;
  Surface* surface = nullptr;
  HGdiObj font = 0;
  std::shared_ptr<FontObject> fontObject;
  uint32_t textColor = 0x000000;
  uint32_t bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  ~DeviceContext();
};

struct Tables {
  intptr_t next = 0x100;
  std::map<HDC, DeviceContext*> dcs;
  std::map<HGdiObj, std::shared_ptr<FontObject>> fonts;
  HGdiObj stockFont = 0;
};

// Never destroyed: surfaces (and with them their device contexts) may outlive any
// ordinary static at the end of the program.
Tables& T() {
  static Tables* t = new Tables();
  return *t;
}

DeviceContext::~DeviceContext() { T().dcs.erase(handle); }

DeviceContext* FindDC(HDC hdc) {
  auto it = T().dcs.find(hdc);
  return it == T().dcs.end() ? nullptr : it->second;
}

std::shared_ptr<FontObject> FindFont(HGdiObj h) {
  auto it = T().fonts.find(h);
  return it == T().fonts.end() ? nullptr : it->second;
}

// The glyphs of `text` one by one, in the font's code page.
template <typename F>
void ForEachGlyph(FontObject& f, std::string_view text, F&& visit) {
  for (unsigned char byte : text) visit(f.sized->GlyphOf(CodePageChar(byte, f.codePage)));
}

int32_t Advance(FontObject& f, std::string_view text) {
  int32_t w = 0;
  ForEachGlyph(f, text, [&](const fonts::Glyph& g) { w += g.advance; });
  return w;
}

// Raw pixel access in the surface's own format (2 or 4 bytes).
uint32_t Read(const uint8_t* p, int32_t bpp) {
  if (bpp == 4) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
void Write(uint8_t* p, int32_t bpp, uint32_t v) {
  if (bpp == 4) {
    std::memcpy(p, &v, 4);
  } else {
    uint16_t s = static_cast<uint16_t>(v);
    std::memcpy(p, &s, 2);
  }
}

struct Rgb {
  uint32_t r, g, b;
};
Rgb FromColorRef(uint32_t c) { return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}; }

void Fill(Surface& s, int32_t x, int32_t y, int32_t w, int32_t h, Rgb c) {
  const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int32_t x1 = std::min(x + w, s.Width()), y1 = std::min(y + h, s.Height());
  if (x0 >= x1 || y0 >= y1) return;
  const int32_t bpp = s.BytesPerPixel();
  const uint32_t v = PackPixel(s.Format(), c.r, c.g, c.b, 255);
  for (int32_t yy = y0; yy < y1; ++yy) {
    uint8_t* p = s.Row(yy) + static_cast<size_t>(x0) * bpp;
    for (int32_t xx = x0; xx < x1; ++xx, p += bpp) Write(p, bpp, v);
  }
}

// Lays the glyph's coverage over the surface: each channel moves from the pixel's colour
// toward the text colour by the coverage, and an alpha channel becomes as opaque as the
// two layered.
void Blend(Surface& s, int32_t x, int32_t y, const fonts::Glyph& g, Rgb c) {
  const int32_t gx0 = std::max(0, -x), gy0 = std::max(0, -y);
  const int32_t gx1 = std::min(g.width, s.Width() - x), gy1 = std::min(g.rows, s.Height() - y);
  if (gx0 >= gx1 || gy0 >= gy1) return;
  const PixelFormat format = s.Format();
  const int32_t bpp = s.BytesPerPixel();
  const uint32_t full = PackPixel(format, c.r, c.g, c.b, 255);
  for (int32_t gy = gy0; gy < gy1; ++gy) {
    const uint8_t* cov = g.coverage.data() + static_cast<size_t>(gy) * g.width;
    uint8_t* p = s.Row(y + gy) + static_cast<size_t>(x + gx0) * bpp;
    for (int32_t gx = gx0; gx < gx1; ++gx, p += bpp) {
      const uint32_t a = cov[gx];
      if (a == 0) continue;
      if (a == 255) {
        Write(p, bpp, full);
        continue;
      }
      uint8_t r, gg, b, al;
      UnpackPixel(format, Read(p, bpp), r, gg, b, al);
      auto mix = [a](uint32_t fg, uint32_t bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
      Write(p, bpp, PackPixel(format, mix(c.r, r), mix(c.g, gg), mix(c.b, b), mix(255, al)));
    }
  }
}

}  // namespace

int CodePageOfCharset(uint32_t charSet) {
  return charSet == RUSSIAN_CHARSET ? CodePageCyrillic : CodePageWestern;
}

bool FontsAvailable() { return !fonts::FontFile(fonts::Style::SansRegular).empty(); }

HGdiObj CreateFont(int32_t height, int32_t, int32_t, int32_t, int32_t weight, uint32_t, uint32_t, uint32_t,
                   uint32_t charSet, uint32_t, uint32_t, uint32_t, uint32_t, const std::string& faceName) {
  auto f = std::make_shared<FontObject>();
  f->height = height;
  f->codePage = CodePageOfCharset(charSet);
  f->sized = fonts::GetFont(fonts::StyleOf(faceName, weight), height);
  HGdiObj h = T().next++;
  T().fonts[h] = f;
  return h;
}

HGdiObj GetStockSystemFont() {
  if (!T().stockFont)
    T().stockFont = CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "System");
  return T().stockFont;
}

bool DeleteObject(HGdiObj object) {
  if (!FindFont(object)) return false;
  if (object == T().stockFont) return true;
  for (auto& [h, dc] : T().dcs)
    if (dc->font == object) return false;
  T().fonts.erase(object);
  return true;
}

HGdiObj SelectObject(HDC hdc, HGdiObj object) {
  DeviceContext* dc = FindDC(hdc);
  std::shared_ptr<FontObject> f = FindFont(object);
  if (!dc || !f) return 0;
  HGdiObj previous = dc->font;
  dc->font = object;
  dc->fontObject = f;
  return previous;
}

int32_t GetDC(Surface& surface, HDC& hdc) {
  if (surface.textState) return DDERR_DCALREADYCREATED;
  if (surface.IsLocked()) return DDERR_SURFACEBUSY;
  HGdiObj stock = GetStockSystemFont();
  auto dc = std::make_shared<DeviceContext>();
  dc->handle = T().next++;
  dc->surface = &surface;
  dc->font = stock;
  dc->fontObject = FindFont(stock);
  T().dcs[dc->handle] = dc.get();
  surface.textState = dc;
  surface.textDC = dc->handle;
  hdc = dc->handle;
  return DD_OK;
}

int32_t ReleaseDC(Surface& surface, HDC hdc) {
  if (!surface.textState) return DDERR_NODC;
  if (hdc != surface.textDC) return DDERR_INVALIDPARAMS;
  surface.textState.reset();
  surface.textDC = 0;
  return DD_OK;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

uint32_t SetBkColor(HDC hdc, uint32_t colorRef) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  uint32_t previous = dc->bkColor;
  dc->bkColor = colorRef & 0xFFFFFF;
  return previous;
}

uint32_t SetTextColor(HDC hdc, uint32_t colorRef) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc) return CLR_INVALID;
  uint32_t previous = dc->textColor;
  dc->textColor = colorRef & 0xFFFFFF;
  return previous;
}

bool TextOut(HDC hdc, int32_t x, int32_t y, std::string_view text, int32_t count) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || count < 0) return false;
  text = text.substr(0, std::min(text.size(), static_cast<size_t>(count)));
  FontObject& f = *dc->fontObject;
  if (!f.sized || text.empty()) return true;
  Surface& s = *dc->surface;
  if (dc->bkMode == OPAQUE) Fill(s, x, y, Advance(f, text), f.sized->CellHeight(), FromColorRef(dc->bkColor));
  const Rgb color = FromColorRef(dc->textColor);
  const int32_t baseline = y + f.sized->Ascent();
  int32_t pen = x;
  ForEachGlyph(f, text, [&](const fonts::Glyph& g) {
    Blend(s, pen + g.left, baseline - g.top, g, color);
    pen += g.advance;
  });
  return true;
}

bool GetTextExtentPoint32(HDC hdc, std::string_view text, int32_t count, TextSize& size) {
  DeviceContext* dc = FindDC(hdc);
  if (!dc || count < 0) return false;
  text = text.substr(0, std::min(text.size(), static_cast<size_t>(count)));
  FontObject& f = *dc->fontObject;
  if (!f.sized) {
    size = {0, f.height > 0 ? f.height : (f.height < 0 ? -f.height : 16)};
    return true;
  }
  size = {Advance(f, text), f.sized->CellHeight()};
  return true;
}

}  // namespace platform
