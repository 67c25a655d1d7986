#pragma once
// A control a form carries to give itself a soft drop shadow along its right and bottom
// edges and a fade-in when it is shown (and, on request, a fade-out). It follows the form
// by subclassing it; the shadow lives in two per-pixel-alpha strip windows, the fade in a
// window of its own whose timer lowers the form's cover step by step.
//
// On this platform a per-pixel-alpha window cannot show (SDL2 has none): the strips are
// drawn and placed, but never appear on the screen. The fade works on the form itself:
// while its cover's alpha falls from 255 to 0, the form's opacity rises from 0 to 1.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.hpp"
#include "platform/window.hpp"
#include "shell/window_classes.hpp"

class ucShadow final : public iSubclass, public iWindow {
 public:
  // The form's stored settings of the control: property name to value (Booleans -1/0).
  using PropertyBag = std::map<std::string, int32_t>;

  ucShadow() = default;
  // The strips go and the form gets its own window procedure back.
  ~ucShadow();
  ucShadow(const ucShadow&) = delete;
  ucShadow& operator=(const ucShadow&) = delete;

  // Start of the control: the properties with their defaults for missing names; at run
  // time it then takes on `parent` (subclassing, strip windows) where windows can fade.
  void ReadProperties(const PropertyBag& bag, platform::HWnd parent, bool runTime = true);
  // Stores every property that differs from its default.
  void WriteProperties(PropertyBag& bag) const;

  bool IsLayered() const { return m_bLayered; }
  bool IsSysFadeEnabled() const;
  bool IsSysShadowEnabled() const;
  bool IsXP() const { return m_bXP; }

  uint32_t Color() const { return m_Color; }
  void Color(uint32_t NewValue);
  int32_t Depth() const { return m_Depth; }
  void Depth(int32_t NewValue);  // clamped to 0..99
  bool FadeIn() const { return m_FadeIn; }
  void FadeIn(bool NewValue);
  int32_t FadeTime() const { return m_FadeTime; }
  void FadeTime(int32_t NewValue);
  bool HideMove() const { return m_HideMove; }
  void HideMove(bool NewValue);
  bool HideSize() const { return m_HideSize; }
  void HideSize(bool NewValue);
  bool SoftShadow() const { return m_SoftShadow; }
  void SoftShadow(bool NewValue);
  int32_t Transparency() const { return m_Transparency; }
  void Transparency(int32_t NewValue);  // modulo 256, with the sign of the value
  bool Visible() const { return m_Visible; }
  void Visible(bool NewValue);

  // Fades the form out over `nTimeMS` and hides it; with `Block` it returns only after
  // `FadedOut` (pumping the window messages meanwhile).
  void FadeOut(int32_t nTimeMS = 500, bool Block = true);

  // Events.
  std::function<void()> FadedIn, FadedOut;

  // iSubclass: the form's messages.
  void After(intptr_t& lReturn, platform::HWnd hwnd, int32_t uMsg, intptr_t wParam, intptr_t lParam) override;
  void Before(bool& bHandled, intptr_t& lReturn, platform::HWnd& hwnd, int32_t& uMsg, intptr_t& wParam,
              intptr_t& lParam) override;
  // iWindow: the fade window's messages.
  void WndProc(bool& bHandled, intptr_t& lReturn, platform::HWnd& hwnd, int32_t& uMsg, intptr_t& wParam,
               intptr_t& lParam) override;

  // One strip as last drawn: its place and its premultiplied pixels (blue, green, red,
  // alpha from the low byte up), bottom row first.
  struct Strip {
    int32_t X = 0, Y = 0, W = 0, H = 0;
    uint8_t ConstantAlpha = 0;
    std::vector<uint32_t> Pixel;
    uint32_t At(int32_t column, int32_t rowFromBottom) const {
      return Pixel[static_cast<size_t>(rowFromBottom) * static_cast<size_t>(W) + static_cast<size_t>(column)];
    }
  };
  const Strip& RightStrip() const { return m_Strip[0]; }
  const Strip& BottomStrip() const { return m_Strip[1]; }
  platform::HWnd StripWindow(bool vertical) const { return vertical ? m_hWndRight : m_hWndBottom; }
  platform::HWnd FadeWindow() const { return m_cFade ? m_hWndFade : 0; }
  // The fade window's constant alpha (255 covers the form completely).
  uint8_t FadeAlpha() const { return m_Alpha; }

  // The control's own look at (x, y) of a surface: six rectangles of system colours.
  void Paint(platform::Surface& surface, int32_t x, int32_t y) const;
  static constexpr int32_t kSizeTwips = 480;

 private:
  bool LayeredSupported();
  uint32_t TranslateSysColor(uint32_t color) const;
  void ShadowRefresh();
  void ShadowMove();
  void ShadowShow(bool bShow, bool bForce);
  void ShadowBuild(int32_t X, int32_t Y, int32_t W, int32_t H, bool Vertical);
  uint32_t ShadowPixel(int32_t Alpha) const;
  void ShadowFillRect(platform::Surface& surface, int32_t left, int32_t top, int32_t width, int32_t height,
                      uint32_t colorRef) const;
  void CreateFadeWindow();
  void FadeBegin(platform::HWnd hwnd);
  void FadeStep();
  void ApplyFade();

  // Properties.
  uint32_t m_Color = 0;
  int32_t m_Depth = 10;
  bool m_FadeIn = true;
  int32_t m_FadeTime = 500;
  bool m_HideMove = false;
  bool m_HideSize = false;
  bool m_SoftShadow = true;
  int32_t m_Transparency = 120;
  bool m_Visible = true;

  // Run-time state.
  bool m_RunTime = false;
  bool m_bLayered = false;
  bool m_bXP = false;
  uint32_t m_lColor = 0;  // the shadow colour as plain RGB (COLORREF)
  platform::HWnd m_hWndParent = 0, m_hWndRight = 0, m_hWndBottom = 0, m_hWndFade = 0;
  platform::WindowPos m_wp{0, 0, 0, 0, 0, 0};
  bool m_FadeDirIn = true;
  int32_t m_FadeLength = 0;
  int64_t m_FadeStart = 0;
  uint8_t m_Alpha = 255;
  bool m_bWait = false;
  bool m_bHidden = false;
  int32_t m_LastW = 0, m_LastH = 0;
  bool m_bShown = false;
  Strip m_Strip[2];

  std::unique_ptr<cSubclass> m_cSubclass;
  std::unique_ptr<cWindow> m_cShadow;
  std::unique_ptr<cWindow> m_cFade;
};
