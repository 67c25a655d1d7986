#pragma once
// Text on surfaces, the way GDI drew it on a DirectDraw surface's device context: a
// surface hands out a device context (GetDC/ReleaseDC), fonts are created by face name and
// cell height and selected into it, and TextOut draws single-byte text in the font's code
// page (Windows-1252, or 1251 for the Cyrillic character set) with the context's text
// colour, on a transparent or opaque background.
//
// Glyphs are FreeType renderings of the Liberation fonts (see fonts.hpp), antialiased and
// blended onto the surface in its own pixel format, clipped to the surface. Without any
// font installed nothing is drawn and every extent is 0 wide.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/surface.hpp"

namespace platform {

using HDC = intptr_t;      // device context; 0 is none
using HGdiObj = intptr_t;  // font; 0 is none

// Result codes of GetDC and ReleaseDC.
constexpr int32_t DDERR_NODC = static_cast<int32_t>(0x8876024Au);
constexpr int32_t DDERR_DCALREADYCREATED = static_cast<int32_t>(0x8876026Cu);

// Character sets.
constexpr uint32_t ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, RUSSIAN_CHARSET = 204;
// Weights.
constexpr int32_t FW_NORMAL = 400, FW_BOLD = 700;
// Background modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
// What SetTextColor and SetBkColor answer for a bad device context.
constexpr uint32_t CLR_INVALID = 0xFFFFFFFFu;

// The surface's device context: a fresh one with the default font (System), black text
// on an opaque white background. One at a time per surface: a second GetDC before
// ReleaseDC answers DDERR_DCALREADYCREATED. A context dies with its surface.
int32_t GetDC(Surface& surface, HDC& hdc);
// Gives the context back (DDERR_NODC when the surface has none, DDERR_INVALIDPARAMS for
// another handle); its selected font is deselected.
int32_t ReleaseDC(Surface& surface, HDC hdc);

// A font. Width, escapement, orientation, underline, strike-out and the precision,
// quality and pitch values are accepted and have no effect. The code page follows the
// character set: RUSSIAN_CHARSET is Windows-1251, every other one Windows-1252.
HGdiObj CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation, int32_t weight,
                   uint32_t italic, uint32_t underline, uint32_t strikeOut, uint32_t charSet, uint32_t outPrecision,
                   uint32_t clipPrecision, uint32_t quality, uint32_t pitchAndFamily, const std::string& faceName);
// The font every fresh device context starts with; deleting it does nothing.
HGdiObj GetStockSystemFont();
// Deletes a font; false for an unknown handle and for a font still selected somewhere.
bool DeleteObject(HGdiObj object);
// Selects a font into the context and answers the one it replaces; 0 (and no change)
// for an unknown context or font.
HGdiObj SelectObject(HDC hdc, HGdiObj object);

// Answer the previous value; 0 or CLR_INVALID for an unknown context.
int SetBkMode(HDC hdc, int mode);
uint32_t SetBkColor(HDC hdc, uint32_t colorRef);    // COLORREF 0x00BBGGRR
uint32_t SetTextColor(HDC hdc, uint32_t colorRef);  // COLORREF 0x00BBGGRR

// Draws the first `count` bytes of `text` with the top-left of the cell at (x, y): the
// opaque mode first fills the text's extent with the background colour. False for an
// unknown context or a negative count.
bool TextOut(HDC hdc, int32_t x, int32_t y, std::string_view text, int32_t count);

struct TextSize {
  int32_t cx = 0, cy = 0;
};
// Width (the sum of the whole-pixel advances) and height (the cell height) of the first
// `count` bytes of `text` in the selected font.
bool GetTextExtentPoint32(HDC hdc, std::string_view text, int32_t count, TextSize& size);

// The code page of a character set.
int CodePageOfCharset(uint32_t charSet);
// True when a font file was found: text will show.
bool FontsAvailable();

}  // namespace platform
