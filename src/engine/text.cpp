#include "engine/text.hpp"

#include "shell/config.hpp"
#include "shell/settings_window.hpp"

namespace {
// What the font is asked for beyond face, height and character set.
constexpr uint32_t OUT_TT_ONLY_PRECIS = 7, CLIP_LH_ANGLES = 16, PROOF_QUALITY = 2, kPitchAndFamily = 4;
}  // namespace

void GdiTextOut(const std::string& Text, int16_t X, int16_t Y, platform::HDC hDC, int32_t ForeColor,
                int32_t BackColor, bool Opaque) {
  if (Opaque) {
    platform::SetBkMode(hDC, platform::OPAQUE);
    platform::SetBkColor(hDC, static_cast<uint32_t>(BackColor));
  } else {
    platform::SetBkMode(hDC, platform::TRANSPARENT);
  }
  platform::SetTextColor(hDC, static_cast<uint32_t>(ForeColor));
  platform::TextOut(hDC, X, Y, Text, static_cast<int32_t>(Text.size()));
}

void GdiSetFont(platform::HDC hDC, const std::string& FontName, int16_t Height) {
  const uint32_t zeichensatz = Sprache == "R" ? static_cast<uint32_t>(FontCharset) : platform::ANSI_CHARSET;
  GdiFont = platform::CreateFont(Height, 0, 0, 0, platform::FW_NORMAL, 0, 0, 0, zeichensatz, OUT_TT_ONLY_PRECIS,
                                 CLIP_LH_ANGLES, PROOF_QUALITY, kPitchAndFamily, FontName);
  GdiAltFont = platform::SelectObject(hDC, GdiFont);
}

void GdiDeleteFont(platform::HDC hDC) {
  if (GdiAltFont != 0) GdiFont = platform::SelectObject(hDC, GdiAltFont);
  platform::DeleteObject(GdiFont);
}

void GdiTextSize(platform::HDC hDC, const std::string& Text, float& W, float& H) {
  platform::TextSize size;
  platform::GetTextExtentPoint32(hDC, Text, static_cast<int32_t>(Text.size()), size);
  W = static_cast<float>(size.cx);
  H = static_cast<float>(size.cy);
}
