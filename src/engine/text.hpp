#pragma once
// Text on the screen: one font at a time on a surface's device context, usually the back
// buffer's after the 3D scene has ended (`RenderEnd`) and before `Flip`, so the text lies
// over everything drawn in the frame. The caller takes the context and gives it back:
//
//   DXCheck(platform::GetDC(*BackBuffer, TextDC));
//   GdiSetFont(TextDC, "Arial", 24);
//   GdiTextOut("Score", 10, 10, TextDC, RGB(255, 255, 255), 0, false);
//   GdiDeleteFont(TextDC);
//   platform::ReleaseDC(*BackBuffer, TextDC);
//
// Texts are Windows-1252 bytes, or Windows-1251 bytes for Russian: with `Sprache` "R" the
// font is made with the Cyrillic character set (`FontCharset`).
#include <cstdint>
#include <string>

#include "platform/text.hpp"

// The font made by the last `GdiSetFont`, and the one it replaced in the device context.
inline platform::HGdiObj GdiFont = 0;
inline platform::HGdiObj GdiAltFont = 0;
// The back buffer's device context while a caller draws text on it.
inline platform::HDC TextDC = 0;

// Draws `Text` with the top-left of its cell at (`X`, `Y`) in `ForeColor` (a GDI colour
// 0x00BBGGRR); with `Opaque` every character cell is first filled with `BackColor`.
void GdiTextOut(const std::string& Text, int16_t X, int16_t Y, platform::HDC hDC, int32_t ForeColor,
                int32_t BackColor, bool Opaque);
// Makes the font `FontName` of cell height `Height` and selects it into `hDC`.
void GdiSetFont(platform::HDC hDC, const std::string& FontName, int16_t Height);
// Selects the previous font back and deletes the one `GdiSetFont` made.
void GdiDeleteFont(platform::HDC hDC);
// Width and height of `Text` in the selected font, in pixels.
void GdiTextSize(platform::HDC hDC, const std::string& Text, float& W, float& H);
