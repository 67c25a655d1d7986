#include "shell/shadow.hpp"

#include <algorithm>

#include "shell/basic.hpp"
#include "shell/timing.hpp"

using platform::HWnd;

namespace {

// Extended styles of the strips (layered, mouse-transparent, no parent notification) and
// of the fade window (layered, tool window, topmost).
constexpr uint32_t kStreifenStilEx = 524324;
constexpr uint32_t kFadeStilEx = 524424;
constexpr uint32_t kPopup = 2147483648u;
constexpr int32_t kFadeTakt = 20;  // milliseconds between two fade steps

constexpr uint32_t RGB(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// The system colours of the classic desktop scheme, by index.
constexpr uint32_t kSystemfarben[31] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
    RGB(212, 208, 200)};

uint32_t GetSysColor(uint32_t index) { return index < 31 ? kSystemfarben[index] : 0; }

int32_t Bool(bool b) { return b ? -1 : 0; }

}  // namespace

ucShadow::~ucShadow() {
  // A fade cut short leaves the form as it is meant to look.
  if (m_cFade && m_hWndParent) platform::SetWindowOpacity(m_hWndParent, 1.0f);
  m_cFade.reset();
  m_cShadow.reset();
  m_cSubclass.reset();
}

// ---- start and stored settings ----

void ucShadow::ReadProperties(const PropertyBag& bag, HWnd parent, bool runTime) {
  auto lies = [&bag](const char* name, int32_t standard) {
    auto it = bag.find(name);
    return it == bag.end() ? standard : it->second;
  };
  m_Color = static_cast<uint32_t>(lies("Color", 0));
  m_Depth = lies("Depth", 10);
  m_FadeIn = lies("FadeIn", -1) != 0;
  m_FadeTime = lies("FadeTime", 500);
  m_HideMove = lies("HideMove", 0) != 0;
  m_HideSize = lies("HideSize", 0) != 0;
  m_SoftShadow = lies("SoftShadow", -1) != 0;
  m_Transparency = lies("Transparency", 120);
  m_Visible = lies("Visible", -1) != 0;

  m_RunTime = runTime;
  if (!runTime) return;
  m_bLayered = LayeredSupported();
  if (!m_bLayered) return;
  m_lColor = TranslateSysColor(m_Color);
  m_hWndParent = parent;

  m_cSubclass = std::make_unique<cSubclass>();
  m_cSubclass->Subclass(parent, this);
  for (uint32_t msg : {platform::wm::WindowPosChanged, platform::wm::Size, platform::wm::Sizing,
                       platform::wm::Moving, platform::wm::ExitSizeMove, platform::wm::ShowWindow})
    m_cSubclass->AddMsg(static_cast<int32_t>(msg), MSG_BEFORE);

  m_cShadow = std::make_unique<cWindow>();
  m_cShadow->Owner(this);
  if (m_cShadow->WindowClassRegister(std::to_string(parent) + "ShadowCls")) {
    m_hWndRight = m_cShadow->WindowCreate(kStreifenStilEx, kPopup, 0, 0, 0, 0, 0, "", parent);
    m_hWndBottom = m_cShadow->WindowCreate(kStreifenStilEx, kPopup, 0, 0, 0, 0, 0, "", parent);
  }
}

void ucShadow::WriteProperties(PropertyBag& bag) const {
  auto schreibe = [&bag](const char* name, int32_t wert, int32_t standard) {
    if (wert != standard) bag[name] = wert;
  };
  schreibe("Color", static_cast<int32_t>(m_Color), 0);
  schreibe("Depth", m_Depth, 10);
  schreibe("FadeIn", Bool(m_FadeIn), -1);
  schreibe("FadeTime", m_FadeTime, 500);
  schreibe("HideMove", Bool(m_HideMove), 0);
  schreibe("HideSize", Bool(m_HideSize), 0);
  schreibe("SoftShadow", Bool(m_SoftShadow), -1);
  schreibe("Transparency", m_Transparency, 120);
  schreibe("Visible", Bool(m_Visible), -1);
}

// ---- what the system offers ----

// Windows can fade where the window system makes them translucent; every desktop here
// has the colour depth for it and is newer than the first that could.
bool ucShadow::LayeredSupported() {
  m_bXP = true;
  return platform::CanSetWindowOpacity();
}

bool ucShadow::IsSysFadeEnabled() const { return true; }
bool ucShadow::IsSysShadowEnabled() const { return true; }

uint32_t ucShadow::TranslateSysColor(uint32_t color) const {
  return (color & 0x80000000u) ? GetSysColor(color & 0x7FFFFFFFu) : color;
}

// ---- properties ----

void ucShadow::Color(uint32_t NewValue) {
  if (NewValue == m_Color) return;
  m_Color = NewValue;
  if (m_RunTime) {
    m_lColor = TranslateSysColor(m_Color);
    ShadowRefresh();
  }
}

void ucShadow::Depth(int32_t NewValue) {
  NewValue = std::clamp(NewValue, 0, 99);
  if (NewValue == m_Depth) return;
  m_Depth = NewValue;
  if (m_RunTime) ShadowRefresh();
}

void ucShadow::FadeIn(bool NewValue) { m_FadeIn = NewValue; }
void ucShadow::FadeTime(int32_t NewValue) { m_FadeTime = NewValue; }
void ucShadow::HideMove(bool NewValue) { m_HideMove = NewValue; }
void ucShadow::HideSize(bool NewValue) { m_HideSize = NewValue; }

void ucShadow::SoftShadow(bool NewValue) {
  if (NewValue == m_SoftShadow) return;
  m_SoftShadow = NewValue;
  if (m_RunTime) ShadowRefresh();
}

void ucShadow::Transparency(int32_t NewValue) {
  NewValue %= 256;  // C++'s remainder keeps the sign of the value, as wanted
  if (NewValue == m_Transparency) return;
  m_Transparency = NewValue;
  if (m_RunTime) ShadowRefresh();
}

void ucShadow::Visible(bool NewValue) {
  if (NewValue == m_Visible) return;
  m_Visible = NewValue;
  if (m_RunTime && m_bLayered && platform::IsWindowVisible(m_hWndParent)) ShadowShow(m_Visible, true);
}

// ---- the form's messages ----

void ucShadow::After(intptr_t&, HWnd, int32_t, intptr_t, intptr_t) {}

void ucShadow::Before(bool&, intptr_t&, HWnd&, int32_t& uMsg, intptr_t& wParam, intptr_t& lParam) {
  switch (static_cast<uint32_t>(uMsg)) {
    case platform::wm::Moving:
      if (m_HideMove && !m_bHidden) {
        m_bHidden = true;
        ShadowShow(false, false);
      }
      break;
    case platform::wm::Sizing:
      if (m_HideSize && !m_bHidden) {
        m_bHidden = true;
        ShadowShow(false, false);
      }
      break;
    case platform::wm::ExitSizeMove:
      if (m_bHidden) {
        m_bHidden = false;
        ShadowMove();
        ShadowShow(true, false);
      }
      break;
    case platform::wm::Size:
      if (wParam == 0 && platform::IsWindowVisible(m_hWndParent) && !m_bHidden) ShadowShow(true, false);
      break;
    case platform::wm::ShowWindow:
      if (wParam != 0 && lParam == 0 && m_FadeIn) {
        m_FadeDirIn = true;
        m_FadeLength = m_FadeTime;
        CreateFadeWindow();
      }
      break;
    case platform::wm::WindowPosChanged:
      if (lParam) m_wp = *reinterpret_cast<const platform::WindowPos*>(lParam);
      if (!m_bHidden) ShadowMove();
      break;
    default: break;
  }
}

// ---- the shadow strips ----

void ucShadow::ShadowMove() {
  if (m_wp.flags & platform::swp::HideWindow) {
    ShadowShow(false, false);
    return;
  }
  if (m_wp.cx != m_LastW) {
    m_LastW = m_wp.cx;
    ShadowBuild(m_wp.x + m_Depth, m_wp.y + m_wp.cy, m_wp.cx - m_Depth, m_Depth, false);
  }
  if (m_wp.cy != m_LastH) {
    m_LastH = m_wp.cy;
    ShadowBuild(m_wp.x + m_wp.cx, m_wp.y + m_Depth, m_Depth, m_wp.cy, true);
  }
  if (m_hWndRight)
    platform::MoveWindow(m_hWndRight, m_wp.x + m_wp.cx, m_wp.y + m_Depth, m_Depth, std::max(m_wp.cy, 0));
  if (m_hWndBottom)
    platform::MoveWindow(m_hWndBottom, m_wp.x + m_Depth, m_wp.y + m_wp.cy, std::max(m_wp.cx - m_Depth, 0), m_Depth);
  if (m_wp.flags & platform::swp::ShowWindow) ShadowShow(true, false);
}

void ucShadow::ShadowRefresh() {
  if (!m_bLayered || !platform::IsWindowVisible(m_hWndParent)) return;
  ShadowBuild(m_wp.x + m_wp.cx, m_wp.y + m_Depth, m_Depth, m_wp.cy, true);
  ShadowBuild(m_wp.x + m_Depth, m_wp.y + m_wp.cy, m_wp.cx - m_Depth, m_Depth, false);
}

void ucShadow::ShadowShow(bool bShow, bool bForce) {
  if (!bForce && bShow == m_bShown) return;
  m_bShown = bShow;
  for (HWnd h : {m_hWndRight, m_hWndBottom}) {
    if (!h) continue;
    if (!bShow)
      platform::ShowWindow(h, platform::sw::Hide);
    else if (m_Visible)
      platform::ShowWindow(h, platform::sw::ShowNoActivate);
  }
}

uint32_t ucShadow::ShadowPixel(int32_t Alpha) const {
  auto kanal = [&](uint32_t wert) { return static_cast<uint32_t>(CLng(static_cast<double>(wert) * Alpha / 255.0)) & 0xFF; };
  const uint32_t rot = m_lColor & 0xFF, gruen = (m_lColor >> 8) & 0xFF, blau = (m_lColor >> 16) & 0xFF;
  return kanal(blau) | (kanal(gruen) << 8) | (kanal(rot) << 16) | ((static_cast<uint32_t>(Alpha) & 0xFF) << 24);
}

void ucShadow::ShadowBuild(int32_t X, int32_t Y, int32_t W, int32_t H, bool Vertical) {
  Strip& s = m_Strip[Vertical ? 0 : 1];
  // A form narrower than the shadow is deep leaves a strip of no pixels.
  W = std::max(W, 0);
  H = std::max(H, 0);
  s.X = X;
  s.Y = Y;
  s.W = W;
  s.H = H;
  s.ConstantAlpha = static_cast<uint8_t>(std::clamp(m_Transparency, 0, 255));
  s.Pixel.assign(static_cast<size_t>(W) * static_cast<size_t>(H), 0);
  const int32_t D = m_Depth;
  for (int32_t r = 0; r < H; ++r) {
    for (int32_t c = 0; c < W; ++c) {
      int32_t alpha = 255;
      if (m_SoftShadow && D > 0) {
        if (Vertical) {
          int32_t f = 255;
          if (r < D)
            f = 255 * r / D;
          else if (r >= H - D)
            f = (H - r) * 255 / D;
          alpha = (W - c) * f / D;
        } else {
          const int32_t g = c < D ? 255 * c / D : 255;
          alpha = r * g / D;
        }
      }
      s.Pixel[static_cast<size_t>(r) * W + c] = ShadowPixel(alpha);
    }
  }
  if (Vertical && m_bXP) {
    // The top-right corner rounded off, as the desktop draws its own shadows.
    const int32_t breite[5] = {5, 3, 2, 1, 1};
    for (int32_t i = 0; i < 5; ++i) {
      const int32_t r = H - 1 - i;
      if (r < 0) break;
      for (int32_t k = 1; k <= breite[i]; ++k) {
        const int32_t c = W - k;
        if (c >= 0) s.Pixel[static_cast<size_t>(r) * W + c] = 0;
      }
    }
  }
  HWnd fenster = Vertical ? m_hWndRight : m_hWndBottom;
  if (fenster) platform::MoveWindow(fenster, X, Y, W, H);
}

// ---- the control's own look ----

void ucShadow::ShadowFillRect(platform::Surface& surface, int32_t left, int32_t top, int32_t width, int32_t height,
                              uint32_t colorRef) const {
  platform::Rect r{left, top, left + width, top + height};
  surface.BltColorFill(&r, platform::PackPixel(surface.Format(), colorRef & 0xFF, (colorRef >> 8) & 0xFF,
                                               (colorRef >> 16) & 0xFF));
}

void ucShadow::Paint(platform::Surface& surface, int32_t x, int32_t y) const {
  struct Teil {
    int32_t l, t, w, h;
    uint32_t farbe;
  };
  const Teil teile[6] = {{1, 1, 27, 6, 26},  {1, 8, 27, 20, 12}, {0, 29, 3, 3, 15},
                         {3, 29, 29, 3, 16}, {29, 0, 3, 3, 15},  {29, 3, 3, 27, 16}};
  for (const Teil& t : teile) ShadowFillRect(surface, x + t.l, y + t.t, t.w, t.h, GetSysColor(t.farbe));
}

// ---- fading ----

void ucShadow::FadeOut(int32_t nTimeMS, bool Block) {
  if (!m_bLayered) return;
  m_FadeDirIn = false;
  m_FadeLength = nTimeMS;
  m_bWait = Block;
  CreateFadeWindow();
  // Without a fade window nothing would ever end the wait.
  if (!m_cFade) m_bWait = false;
  platform::ShowWindow(m_hWndParent, platform::sw::Hide);
  while (m_bWait) {
    platform::WaitMessage();
    MyDoEvents();
  }
}

void ucShadow::CreateFadeWindow() {
  // The new object first, then the old one goes (its window and class with it).
  m_cFade = std::make_unique<cWindow>();
  m_cFade->Owner(this);
  m_hWndFade = 0;
  if (!m_cFade->WindowClassRegister(std::to_string(m_hWndParent) + "FadeCls")) {
    m_cFade.reset();
    return;
  }
  m_cFade->AddMsg(static_cast<int32_t>(platform::wm::Create));
  m_cFade->AddMsg(static_cast<int32_t>(platform::wm::Timer));
  m_hWndFade = m_cFade->WindowCreate(kFadeStilEx, kPopup);
  if (!m_hWndFade) m_cFade.reset();
}

void ucShadow::WndProc(bool&, intptr_t&, HWnd& hwnd, int32_t& uMsg, intptr_t&, intptr_t&) {
  if (static_cast<uint32_t>(uMsg) == platform::wm::Create) FadeBegin(hwnd);
  if (static_cast<uint32_t>(uMsg) == platform::wm::Timer) FadeStep();
}

// The cover lies over the form (and its shadow) and starts opaque.
void ucShadow::FadeBegin(HWnd hwnd) {
  m_hWndFade = hwnd;
  platform::Rect r = platform::GetWindowRect(m_hWndParent);
  if (m_Visible) {
    r.Right += m_Depth;
    r.Bottom += m_Depth;
  }
  platform::MoveWindow(hwnd, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  m_Alpha = 255;
  ApplyFade();
  platform::ShowWindow(hwnd, platform::sw::Show);
  m_FadeStart = GetTickCount();
  platform::SetTimer(hwnd, static_cast<uintptr_t>(hwnd), kFadeTakt);
}

void ucShadow::FadeStep() {
  const int64_t elapsed = GetTickCount() - m_FadeStart;
  if (elapsed < m_FadeLength) {
    const int64_t remaining = m_FadeLength - elapsed;
    int32_t step = CLng(m_Alpha / (static_cast<double>(remaining) / kFadeTakt));
    if (step < 1) step = 1;
    if (m_Alpha > step) {
      m_Alpha = static_cast<uint8_t>(m_Alpha - step);
      ApplyFade();
      return;
    }
  }
  const HWnd fade = m_hWndFade;
  platform::KillTimer(fade, static_cast<uintptr_t>(fade));
  platform::SetWindowOpacity(m_hWndParent, 1.0f);
  m_cFade.reset();
  m_hWndFade = 0;
  if (m_FadeDirIn) {
    if (FadedIn) FadedIn();
  } else {
    if (FadedOut) FadedOut();
  }
  m_bWait = false;
}

// The cover's alpha shows as the form's opacity: fading in, the form shows through as
// the cover clears; fading out, the form's picture is what clears.
void ucShadow::ApplyFade() {
  const float alpha = m_Alpha / 255.0f;
  platform::SetWindowOpacity(m_hWndParent, m_FadeDirIn ? 1.0f - alpha : alpha);
}
