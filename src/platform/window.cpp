#include "platform/window.hpp"

#include <cstdint>
#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <map>
#include <vector>

#include "platform/backend.hpp"
#include "platform/codepage.hpp"

namespace platform {
namespace {

struct Timer {
  HWnd hwnd;
  uintptr_t id;
  uint32_t interval;
  uint64_t due;
};

// Class names compare without regard to case, as on Windows.
std::string ClassKey(const std::string& name) {
  std::string key = name;
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

struct Registry {
  std::map<HWnd, WindowState> windows;
  std::map<std::string, WindowClass> classes;
  HWnd nextHandle = 0x100;
  std::deque<Msg> queue;
  std::vector<Timer> timers;
  HWnd focus = 0;
  HWnd endSession = 0;  // receives the close request when the session ends
};

// Never destroyed: objects of static lifetime may still close their windows at exit.
Registry& R() {
  static Registry* r = new Registry;
  return *r;
}

void SendPosChanged(HWnd hwnd, uint32_t flags) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return;
  WindowPos pos{hwnd, w->rect.Left, w->rect.Top, w->rect.Right - w->rect.Left, w->rect.Bottom - w->rect.Top, flags};
  SendMessage(hwnd, wm::WindowPosChanged, 0, reinterpret_cast<intptr_t>(&pos));
}

intptr_t PackPoint(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

// The backend's events first, then a signal that asks the program to end.
void Pump() {
  backend::PumpEvents();
  if (TakeEndSignal()) detail::EndSession();
}

}  // namespace

namespace detail {

WindowState* FindWindow(HWnd hwnd) {
  auto it = R().windows.find(hwnd);
  return it == R().windows.end() ? nullptr : &it->second;
}

void NoteFocus(HWnd hwnd) {
  HWnd old = R().focus;
  if (old == hwnd) return;
  R().focus = hwnd;
  if (old && FindWindow(old)) {
    SendMessage(old, wm::Activate, 0, hwnd);
    SendMessage(old, wm::KillFocus, hwnd, 0);
  }
  if (hwnd && FindWindow(hwnd)) {
    SendMessage(hwnd, wm::Activate, 1, old);
    SendMessage(hwnd, wm::SetFocus, old, 0);
  }
}

void EndSession() {
  auto& r = R();
  if (FindWindow(r.endSession)) {
    PostMessage(r.endSession, wm::Close, 0, 0);
    return;
  }
  for (const auto& [h, w] : r.windows) PostMessage(h, wm::Close, 0, 0);
}

}  // namespace detail

namespace {

HWnd MakeWindow(const WindowDesc& desc, WndProc proc, const std::string& className, intptr_t createParam) {
  HWnd h = R().nextHandle++;
  WindowState st;
  st.desc = desc;
  st.proc = std::move(proc);
  st.fullscreen = desc.fullscreen;
  int x = desc.x, y = desc.y;
  if (x < 0 || y < 0) {
    // Centred on an 800 x 600 (or larger) desktop; the backend places it for real.
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
  }
  st.rect = {x, y, x + desc.width, y + desc.height};
  st.className = className;
  R().windows[h] = st;
  backend::WindowCreated(h, R().windows[h]);
  SendMessage(h, wm::Create, 0, createParam);
  if (desc.visible && IsWindow(h)) ShowWindow(h, sw::Show);
  return h;
}

}  // namespace

HWnd CreateWindow(const WindowDesc& desc, WndProc proc) { return MakeWindow(desc, std::move(proc), "", 0); }

bool RegisterClass(const WindowClass& windowClass) {
  if (windowClass.name.empty()) return false;
  auto [it, added] = R().classes.emplace(ClassKey(windowClass.name), windowClass);
  return added;
}

bool UnregisterClass(const std::string& name) {
  auto it = R().classes.find(ClassKey(name));
  if (it == R().classes.end()) return false;
  for (const auto& [h, w] : R().windows)
    if (ClassKey(w.className) == it->first) return false;
  R().classes.erase(it);
  return true;
}

bool IsClassRegistered(const std::string& name) { return R().classes.count(ClassKey(name)) != 0; }

HWnd CreateWindowEx(uint32_t exStyle, const std::string& className, const std::string& caption, uint32_t style,
                    int x, int y, int width, int height, HWnd owner, intptr_t, intptr_t param) {
  auto it = R().classes.find(ClassKey(className));
  if (it == R().classes.end()) return 0;
  WindowDesc desc;
  desc.caption = caption;
  desc.x = x;
  desc.y = y;
  desc.width = width;
  desc.height = height;
  desc.borderless = (style & ws::Popup) != 0 && (style & ws::Caption) == 0;
  desc.visible = (style & ws::Visible) != 0;
  desc.topmost = (exStyle & ws_ex::Topmost) != 0;
  desc.toolWindow = (exStyle & ws_ex::ToolWindow) != 0;
  desc.layered = (exStyle & ws_ex::Layered) != 0;
  desc.owner = owner;
  return MakeWindow(desc, it->second.proc, it->second.name, param);
}

std::string GetClassName(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w ? w->className : std::string();
}

bool DestroyWindow(HWnd hwnd) {
  if (!detail::FindWindow(hwnd)) return false;
  SendMessage(hwnd, wm::Destroy, 0, 0);
  auto& r = R();
  if (!detail::FindWindow(hwnd)) return true;  // destroyed from inside its Destroy handler
  backend::WindowDestroyed(hwnd);
  r.windows.erase(hwnd);
  std::erase_if(r.timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
  std::erase_if(r.queue, [hwnd](const Msg& m) { return m.hwnd == hwnd; });
  if (r.focus == hwnd) r.focus = 0;
  return true;
}

bool IsWindow(HWnd hwnd) { return detail::FindWindow(hwnd) != nullptr; }

bool WindowHasDisplay(HWnd hwnd) { return IsWindow(hwnd) && backend::WindowHasDisplay(hwnd); }

bool PreparePresent(HWnd hwnd) { return IsWindow(hwnd) && backend::PreparePresent(hwnd); }

std::string WindowSystemError() { return Utf8ToCp1252(backend::LastError()); }

bool ShowWindow(HWnd hwnd, int cmd) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return false;
  bool wasVisible = w->visible;
  bool show = cmd != sw::Hide;
  if (show != wasVisible) {
    SendMessage(hwnd, wm::ShowWindow, show ? 1 : 0, 0);
    w = detail::FindWindow(hwnd);  // the procedure may have destroyed it
    if (!w) return wasVisible;
  }
  w->visible = show;
  if (cmd == sw::Minimize) w->minimised = true;
  if (cmd == sw::Restore || cmd == sw::Normal) w->minimised = false;
  backend::WindowChanged(hwnd, *w);
  if (show != wasVisible)
    SendPosChanged(hwnd, (show ? swp::ShowWindow : swp::HideWindow) | swp::NoMove | swp::NoSize);
  return wasVisible;
}

bool IsWindowVisible(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w && w->visible;
}

bool IsIconic(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w && w->minimised;
}

HWnd GetFocus() { return R().focus; }

void SetFullscreen(HWnd hwnd, bool on) {
  if (WindowState* w = detail::FindWindow(hwnd)) {
    w->fullscreen = on;
    backend::WindowChanged(hwnd, *w);
  }
}

bool IsFullscreen(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w && w->fullscreen;
}

void SetWindowText(HWnd hwnd, const std::string& text) {
  if (WindowState* w = detail::FindWindow(hwnd)) {
    w->desc.caption = text;
    backend::WindowChanged(hwnd, *w);
  }
}

void SetCaptionCodePage(HWnd hwnd, int codePage) {
  if (WindowState* w = detail::FindWindow(hwnd)) {
    w->desc.captionCodePage = codePage;
    backend::WindowChanged(hwnd, *w);
  }
}

std::string GetWindowText(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w ? w->desc.caption : std::string();
}

Rect GetWindowRect(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w ? w->rect : Rect{};
}

Rect GetClientRect(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return {};
  return {0, 0, w->rect.Right - w->rect.Left, w->rect.Bottom - w->rect.Top};
}

bool MoveWindow(HWnd hwnd, int x, int y, int width, int height) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return false;
  Rect old = w->rect;
  w->rect = {x, y, x + width, y + height};
  backend::WindowChanged(hwnd, *w);
  bool moved = old.Left != x || old.Top != y;
  bool sized = (old.Right - old.Left) != width || (old.Bottom - old.Top) != height;
  if (!moved && !sized) return true;
  SendPosChanged(hwnd, (moved ? 0 : swp::NoMove) | (sized ? 0 : swp::NoSize));
  if (sized) SendMessage(hwnd, wm::Size, 0, PackPoint(width, height));
  if (moved) SendMessage(hwnd, wm::Move, 0, PackPoint(x, y));
  return true;
}

bool SetWindowOpacity(HWnd hwnd, float opacity) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w || !backend::CanSetOpacity()) return false;
  w->opacity = opacity < 0 ? 0 : opacity > 1 ? 1 : opacity;
  backend::WindowChanged(hwnd, *w);
  return true;
}

float GetWindowOpacity(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w ? w->opacity : 1.0f;
}

bool CanSetWindowOpacity() { return backend::CanSetOpacity(); }

bool SetWindowRoundRegion(HWnd hwnd, int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return false;
  w->hasRegion = true;
  w->region = {left, top, right, bottom};
  w->regionEllipseW = ellipseW;
  w->regionEllipseH = ellipseH;
  backend::WindowChanged(hwnd, *w);
  return backend::CanShapeWindow(hwnd);
}

bool RemoveWindowRegion(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return false;
  w->hasRegion = false;
  backend::WindowChanged(hwnd, *w);
  return true;
}

bool GetWindowRoundRegion(HWnd hwnd, RoundRegion& region) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w || !w->hasRegion) return false;
  region = {w->region, w->regionEllipseW, w->regionEllipseH};
  return true;
}

void RoundRegionSpan(const RoundRegion& region, int y, int& from, int& to) {
  const Rect& r = region.rect;
  from = r.Left;
  to = r.Right;
  if (y < r.Top || y >= r.Bottom || r.Right <= r.Left) {
    to = from;
    return;
  }
  // The corner ellipse never exceeds the rectangle; each row is cut where the ellipse
  // passes through its pixel centres.
  const double rx = std::min(std::max(region.ellipseW, 0), r.Right - r.Left) / 2.0;
  const double ry = std::min(std::max(region.ellipseH, 0), r.Bottom - r.Top) / 2.0;
  if (rx < 0.5 || ry < 0.5) return;
  const double cy = y + 0.5;
  double dy = 0;
  if (cy < r.Top + ry) dy = r.Top + ry - cy;
  if (cy > r.Bottom - ry) dy = cy - (r.Bottom - ry);
  if (dy <= 0) return;
  const double inset = rx - rx * std::sqrt(std::max(0.0, 1.0 - (dy / ry) * (dy / ry)));
  from = r.Left + static_cast<int>(std::lround(inset));
  to = r.Right - static_cast<int>(std::lround(inset));
  if (to < from) to = from;
}

WndProc GetWindowProc(HWnd hwnd) {
  WindowState* w = detail::FindWindow(hwnd);
  return w ? w->proc : WndProc();
}

WndProc SetWindowProc(HWnd hwnd, WndProc proc) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return {};
  WndProc old = std::move(w->proc);
  w->proc = std::move(proc);
  return old;
}

intptr_t CallWindowProc(const WndProc& proc, HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

intptr_t DefWindowProc(HWnd hwnd, uint32_t msg, intptr_t, intptr_t) {
  if (msg == wm::Close) DestroyWindow(hwnd);
  return 0;
}

intptr_t SendMessage(HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  WindowState* w = detail::FindWindow(hwnd);
  if (!w) return 0;
  // A copy: the procedure may replace itself or destroy the window while it runs.
  WndProc proc = w->proc;
  return CallWindowProc(proc, hwnd, msg, wParam, lParam);
}

bool PostMessage(HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  if (!detail::FindWindow(hwnd)) return false;
  R().queue.push_back({hwnd, msg, wParam, lParam});
  return true;
}

bool PeekMessage(Msg& msg) {
  Pump();
  auto& r = R();
  if (!r.queue.empty()) {
    msg = r.queue.front();
    r.queue.pop_front();
    return true;
  }
  uint64_t now = backend::Ticks();
  for (Timer& t : r.timers) {
    if (t.due <= now) {
      t.due = now + t.interval;
      msg = {t.hwnd, wm::Timer, static_cast<intptr_t>(t.id), 0};
      return true;
    }
  }
  return false;
}

void WaitMessage() {
  auto& r = R();
  Pump();
  if (!r.queue.empty()) return;
  uint64_t until = std::numeric_limits<uint64_t>::max();
  for (const Timer& t : r.timers) until = std::min(until, t.due);
  if (until <= backend::Ticks()) return;
  backend::WaitEvents(until);
}

void TranslateMessage(const Msg&) {
  // Typed characters arrive from the backend as Char messages of their own.
}

intptr_t DispatchMessage(const Msg& msg) { return SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam); }

uintptr_t SetTimer(HWnd hwnd, uintptr_t id, uint32_t ms) {
  if (!detail::FindWindow(hwnd)) return 0;
  uint32_t interval = ms == 0 ? 1 : ms;
  uint64_t due = backend::Ticks() + interval;
  for (Timer& t : R().timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.interval = interval;
      t.due = due;
      return id;
    }
  }
  R().timers.push_back({hwnd, id, interval, due});
  return id;
}

bool KillTimer(HWnd hwnd, uintptr_t id) {
  auto& timers = R().timers;
  auto n = std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  std::erase_if(R().queue, [&](const Msg& m) {
    return m.hwnd == hwnd && m.message == wm::Timer && static_cast<uintptr_t>(m.wParam) == id;
  });
  return n > 0;
}

void PresentFrame(HWnd hwnd, const FrameView& frame) {
  if (detail::FindWindow(hwnd)) backend::Present(hwnd, frame);
}

void DestroyAllWindows() {
  std::vector<HWnd> handles;
  for (auto& [h, w] : R().windows) handles.push_back(h);
  for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
    if (detail::FindWindow(*it)) {
      backend::WindowDestroyed(*it);
      R().windows.erase(*it);
    }
  }
  R().timers.clear();
  R().queue.clear();
  R().classes.clear();
  R().focus = 0;
  R().endSession = 0;
}

void SetEndSessionWindow(HWnd hwnd) { R().endSession = hwnd; }

}  // namespace platform
