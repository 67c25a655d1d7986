// The real backend: SDL2 windows, events, clock and message boxes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/backend.hpp"
#include "platform/codepage.hpp"
#include "platform/msgbox.hpp"
#include "platform/sdl/sdl_video.hpp"

#include <SDL_shape.h>

namespace platform {
namespace sdl {
namespace {

struct Native {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int texW = 0, texH = 0, texBits = 0;
  // A shaped window, and the region its shape was last made of.
  bool shaped = false;
  bool shapeSet = false, shapeHasRegion = false;
  Rect shapeRect;
  int shapeEllipseW = 0, shapeEllipseH = 0, shapeW = 0, shapeH = 0;
};

std::map<HWnd, Native>& Natives() {
  static std::map<HWnd, Native> natives;
  return natives;
}

int g_videoState = 0;  // 0 not tried, 1 up, -1 failed
std::string g_lastError;  // why the window system last failed

void NoteError(const std::string& reason) { g_lastError = reason; }

// A shaped window shows only the pixels of its mask: the region, or the whole window.
void ApplyRegion(Native& n, const WindowState& st) {
  if (!n.shaped || !SDL_IsShapedWindow(n.window)) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(n.window, &w, &h);
  const RoundRegion region{st.region, st.regionEllipseW, st.regionEllipseH};
  auto sameRect = [](const Rect& a, const Rect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
  };
  if (n.shapeSet && n.shapeW == w && n.shapeH == h && n.shapeHasRegion == st.hasRegion &&
      (!st.hasRegion || (sameRect(n.shapeRect, st.region) && n.shapeEllipseW == st.regionEllipseW &&
                         n.shapeEllipseH == st.regionEllipseH)))
    return;
  if (w <= 0 || h <= 0) return;
  SDL_Surface* mask = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!mask) return;
  SDL_FillRect(mask, nullptr, st.hasRegion ? 0 : 0xFFFFFFFFu);
  if (st.hasRegion) {
    for (int y = std::max(0, st.region.Top); y < std::min(h, st.region.Bottom); ++y) {
      int from = 0, to = 0;
      RoundRegionSpan(region, y, from, to);
      from = std::max(from, 0);
      to = std::min(to, w);
      if (to <= from) continue;
      SDL_Rect row{from, y, to - from, 1};
      SDL_FillRect(mask, &row, 0xFFFFFFFFu);
    }
  }
  SDL_WindowShapeMode mode;
  mode.mode = ShapeModeBinarizeAlpha;
  mode.parameters.binarizationCutoff = 128;
  if (SDL_SetWindowShape(n.window, mask, &mode) == 0) {
    n.shapeSet = true;
    n.shapeW = w;
    n.shapeH = h;
    n.shapeHasRegion = st.hasRegion;
    n.shapeRect = st.region;
    n.shapeEllipseW = st.regionEllipseW;
    n.shapeEllipseH = st.regionEllipseH;
  }
  SDL_FreeSurface(mask);
  // The first shape puts the window where it was asked to be at its creation.
  if (!st.fullscreen) SDL_SetWindowPosition(n.window, st.rect.Left, st.rect.Top);
}

void ApplyState(HWnd hwnd, Native& n, const WindowState& st) {
  if (!n.window) return;
  SDL_SetWindowTitle(n.window, CodePageToUtf8(st.desc.caption, st.desc.captionCodePage).c_str());
  Uint32 flags = SDL_GetWindowFlags(n.window);
  bool isFull = (flags & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  bool shown = (flags & SDL_WINDOW_SHOWN) != 0;
  // A full-screen window also covers its screen by itself: where no window manager
  // carries out the full-screen request (a bare X server) it is then still as large and
  // where SDL assumes it. The position only holds once the window shows.
  SDL_Rect screen;
  bool cover = st.fullscreen && (!isFull || (st.visible && !shown)) &&
               SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(n.window)), &screen) == 0;
  if (cover && !isFull) {
    SDL_SetWindowBordered(n.window, SDL_FALSE);
    SDL_SetWindowSize(n.window, screen.w, screen.h);
  }
  if (st.fullscreen != isFull) SDL_SetWindowFullscreen(n.window, st.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (!st.fullscreen && isFull) SDL_SetWindowBordered(n.window, st.desc.borderless ? SDL_FALSE : SDL_TRUE);
  if (!st.fullscreen) {
    int x, y, w, h;
    SDL_GetWindowPosition(n.window, &x, &y);
    SDL_GetWindowSize(n.window, &w, &h);
    int nw = st.rect.Right - st.rect.Left, nh = st.rect.Bottom - st.rect.Top;
    if (w != nw || h != nh) SDL_SetWindowSize(n.window, nw, nh);
    if (x != st.rect.Left || y != st.rect.Top) SDL_SetWindowPosition(n.window, st.rect.Left, st.rect.Top);
  }
  if (st.visible && !shown) SDL_ShowWindow(n.window);
  if (cover && st.visible) SDL_SetWindowPosition(n.window, screen.x, screen.y);
  if (!st.visible && shown) SDL_HideWindow(n.window);
  bool minimised = (flags & SDL_WINDOW_MINIMIZED) != 0;
  if (st.visible && st.minimised && !minimised) SDL_MinimizeWindow(n.window);
  if (st.visible && !st.minimised && minimised) SDL_RestoreWindow(n.window);
  float opacity = 1.0f;
  SDL_GetWindowOpacity(n.window, &opacity);
  if (opacity != st.opacity) SDL_SetWindowOpacity(n.window, st.opacity);
  ApplyRegion(n, st);
  (void)hwnd;
}

intptr_t PackPoint(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

intptr_t ButtonFlags(Uint32 state) {
  intptr_t f = 0;
  if (state & SDL_BUTTON_LMASK) f |= mk::LButton;
  if (state & SDL_BUTTON_RMASK) f |= mk::RButton;
  if (state & SDL_BUTTON_MMASK) f |= mk::MButton;
  return f;
}

void HandleWindowEvent(const SDL_WindowEvent& e) {
  HWnd h = HandleOf(e.windowID);
  WindowState* st = detail::FindWindow(h);
  if (!st) return;
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: PostMessage(h, wm::Close, 0, 0); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: detail::NoteFocus(h); break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (GetFocus() == h) detail::NoteFocus(0);
      break;
    case SDL_WINDOWEVENT_MINIMIZED: st->minimised = true; break;
    case SDL_WINDOWEVENT_RESTORED: st->minimised = false; break;
    case SDL_WINDOWEVENT_MOVED:
      if (!st->fullscreen) {
        int w = st->rect.Right - st->rect.Left, hh = st->rect.Bottom - st->rect.Top;
        st->rect = {e.data1, e.data2, e.data1 + w, e.data2 + hh};
      }
      break;
    case SDL_WINDOWEVENT_EXPOSED: PostMessage(h, wm::Paint, 0, 0); break;
    default: break;
  }
}

void HandleKey(const SDL_KeyboardEvent& e) {
  HWnd h = HandleOf(e.windowID);
  if (!h) return;
  int vk = VirtualKeyOf(e.keysym.sym);
  bool down = e.type == SDL_KEYDOWN;
  bool alt = (e.keysym.mod & KMOD_ALT) != 0;
  uint32_t msg = down ? (alt ? wm::SysKeyDown : wm::KeyDown) : (alt ? wm::SysKeyUp : wm::KeyUp);
  if (vk) PostMessage(h, msg, vk, e.repeat ? 0x40000000 : 0);
  // Control characters come from the key itself; printable ones (Space included) only
  // from text input, so no key is typed twice.
  if (down && (vk == 8 || vk == 9 || vk == 13 || vk == 27)) PostMessage(h, wm::Char, vk, 0);
}

void HandleText(const SDL_TextInputEvent& e) {
  HWnd h = HandleOf(e.windowID);
  if (!h) return;
  for (unsigned char c : TypedText(e.text)) PostMessage(h, wm::Char, c, 0);
}

void HandleMouse(const SDL_Event& ev) {
  if (ev.type == SDL_MOUSEMOTION) {
    HWnd h = HandleOf(ev.motion.windowID);
    if (h) PostMessage(h, wm::MouseMove, ButtonFlags(ev.motion.state), PackPoint(ev.motion.x, ev.motion.y));
    return;
  }
  const SDL_MouseButtonEvent& b = ev.button;
  HWnd h = HandleOf(b.windowID);
  if (!h) return;
  bool down = ev.type == SDL_MOUSEBUTTONDOWN;
  uint32_t msg = 0;
  if (b.button == SDL_BUTTON_LEFT) msg = down ? wm::LButtonDown : wm::LButtonUp;
  if (b.button == SDL_BUTTON_RIGHT) msg = down ? wm::RButtonDown : wm::RButtonUp;
  if (b.button == SDL_BUTTON_MIDDLE) msg = down ? wm::MButtonDown : wm::MButtonUp;
  if (msg) PostMessage(h, msg, ButtonFlags(SDL_GetMouseState(nullptr, nullptr)), PackPoint(b.x, b.y));
}

void Dispatch(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_WINDOWEVENT: HandleWindowEvent(ev.window); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: HandleKey(ev.key); break;
    case SDL_TEXTINPUT: HandleText(ev.text); break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: HandleMouse(ev); break;
    case SDL_QUIT: detail::EndSession(); break;
    default: break;
  }
}

}  // namespace

// Brings up SDL's video once. Without any display SDL falls back to drivers that show
// nothing; unless someone asked for one of them by name, that is no display at all. A
// display that is named but does not answer yet (a desktop still starting) is tried a
// few more times before the program gives up on it.
bool StartVideo() {
  const char* x11 = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  const std::string named = x11 ? x11 : wayland ? wayland : "";
  const char* const noneNamed = "neither DISPLAY nor WAYLAND_DISPLAY is set";
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    NoteError(x11 || wayland ? SDL_GetError() : noneNamed);
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && !SDL_getenv("SDL_VIDEODRIVER") &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    NoteError(x11 || wayland ? "the display \"" + named + "\" does not answer" : noneNamed);
    return false;
  }
  return true;
}

bool EnsureVideo() {
  if (g_videoState == 0) {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool displayNamed = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
    bool up = StartVideo();
    for (int attempt = 0; !up && displayNamed && attempt < 5; ++attempt) {
      SDL_Delay(200);
      up = StartVideo();
    }
    g_videoState = up ? 1 : -1;
    if (up) SDL_StartTextInput();
  }
  return g_videoState > 0;
}

HWnd HandleOf(Uint32 sdlWindowId) {
  for (auto& [h, n] : Natives())
    if (n.window && SDL_GetWindowID(n.window) == sdlWindowId) return h;
  return 0;
}

SDL_Window* NativeOf(HWnd hwnd) {
  auto it = Natives().find(hwnd);
  return it == Natives().end() ? nullptr : it->second.window;
}

}  // namespace sdl

namespace backend {

uint64_t Ticks() { return SDL_GetTicks64(); }

void SpinUntil(uint64_t tick) {
  for (;;) {
    uint64_t now = SDL_GetTicks64();
    if (now >= tick) return;
    // Sleep through all but the last two milliseconds, then spin for precision.
    if (tick - now > 2) SDL_Delay(static_cast<Uint32>(tick - now - 2));
  }
}

void IdleUntil(uint64_t tick) {
  uint64_t now = SDL_GetTicks64();
  if (tick > now + 1) SDL_Delay(1);
}

void WindowCreated(HWnd hwnd, const WindowState& st) {
  auto& n = sdl::Natives()[hwnd];
  // Per-pixel-alpha windows cannot show through SDL2: they stay windows without a picture.
  if (st.desc.layered || !sdl::EnsureVideo()) return;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (st.desc.borderless) flags |= SDL_WINDOW_BORDERLESS;
  if (st.desc.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (st.desc.toolWindow) flags |= SDL_WINDOW_SKIP_TASKBAR;
  int x = st.desc.x < 0 ? SDL_WINDOWPOS_CENTERED : st.desc.x;
  int y = st.desc.y < 0 ? SDL_WINDOWPOS_CENTERED : st.desc.y;
  const std::string title = CodePageToUtf8(st.desc.caption, st.desc.captionCodePage);
  if (st.desc.shaped) {
    // A shaped window comes into being off the screen and is placed by us; it is made for
    // OpenGL at once, since a renderer that had to remake it would lose its shape.
    SDL_Rect screen{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &screen);
    if (st.desc.x < 0) x = screen.x + (screen.w - st.desc.width) / 2;
    if (st.desc.y < 0) y = screen.y + (screen.h - st.desc.height) / 2;
    n.window = SDL_CreateShapedWindow(title.c_str(), static_cast<unsigned>(std::max(x, 1)),
                                      static_cast<unsigned>(std::max(y, 1)), st.desc.width, st.desc.height,
                                      flags | SDL_WINDOW_OPENGL);
    if (n.window) {
      SDL_SetWindowPosition(n.window, x, y);
      n.renderer = SDL_CreateRenderer(n.window, -1, 0);
      n.shaped = n.renderer && SDL_IsShapedWindow(n.window);
      if (!n.shaped) {
        if (n.renderer) SDL_DestroyRenderer(n.renderer);
        n.renderer = nullptr;
        SDL_DestroyWindow(n.window);
        n.window = nullptr;
      }
    }
    if (!n.window) {
      x = st.desc.x < 0 ? SDL_WINDOWPOS_CENTERED : st.desc.x;
      y = st.desc.y < 0 ? SDL_WINDOWPOS_CENTERED : st.desc.y;
    }
  }
  if (!n.window) n.window = SDL_CreateWindow(title.c_str(), x, y, st.desc.width, st.desc.height, flags);
  if (!n.window) sdl::NoteError(SDL_GetError());
  if (n.window) {
    int wx, wy;
    SDL_GetWindowPosition(n.window, &wx, &wy);
    if (WindowState* s = detail::FindWindow(hwnd)) s->rect = {wx, wy, wx + st.desc.width, wy + st.desc.height};
  }
}

void WindowDestroyed(HWnd hwnd) {
  auto it = sdl::Natives().find(hwnd);
  if (it == sdl::Natives().end()) return;
  sdl::Native& n = it->second;
  if (n.texture) SDL_DestroyTexture(n.texture);
  if (n.renderer) SDL_DestroyRenderer(n.renderer);
  if (n.window) SDL_DestroyWindow(n.window);
  sdl::Natives().erase(it);
}

bool WindowHasDisplay(HWnd hwnd) { return sdl::NativeOf(hwnd) != nullptr; }

void WindowChanged(HWnd hwnd, const WindowState& st) {
  auto it = sdl::Natives().find(hwnd);
  if (it != sdl::Natives().end()) sdl::ApplyState(hwnd, it->second, st);
}

bool CanSetOpacity() { return sdl::EnsureVideo(); }

bool CanShapeWindow(HWnd hwnd) {
  auto it = sdl::Natives().find(hwnd);
  return it != sdl::Natives().end() && it->second.shaped && it->second.window && SDL_IsShapedWindow(it->second.window);
}

void PumpEvents() {
  if (!sdl::EnsureVideo()) return;
  SDL_Event ev;
  while (SDL_PollEvent(&ev)) sdl::Dispatch(ev);
}

void WaitEvents(uint64_t untilTick) {
  if (!sdl::EnsureVideo()) {
    SpinUntil(untilTick == UINT64_MAX ? SDL_GetTicks64() + 10 : untilTick);
    return;
  }
  uint64_t now = SDL_GetTicks64();
  int timeout = untilTick == UINT64_MAX ? 100 : static_cast<int>(std::min<uint64_t>(untilTick - now, 100));
  SDL_Event ev;
  if (SDL_WaitEventTimeout(&ev, timeout)) sdl::Dispatch(ev);
}

bool PreparePresent(HWnd hwnd) {
  auto it = sdl::Natives().find(hwnd);
  if (it == sdl::Natives().end() || !it->second.window) {
    if (sdl::g_lastError.empty()) sdl::NoteError("the window does not show on a display");
    return false;
  }
  sdl::Native& n = it->second;
  if (!n.renderer) {
    n.renderer = SDL_CreateRenderer(n.window, -1, 0);
    if (!n.renderer) n.renderer = SDL_CreateRenderer(n.window, -1, SDL_RENDERER_SOFTWARE);
    if (!n.renderer) sdl::NoteError(SDL_GetError());
  }
  return n.renderer != nullptr;
}

std::string LastError() { return sdl::g_lastError; }

void Present(HWnd hwnd, const FrameView& frame) {
  if (!PreparePresent(hwnd)) return;
  sdl::Native& n = sdl::Natives()[hwnd];
  if (!n.texture || n.texW != frame.width || n.texH != frame.height || n.texBits != frame.bitsPerPixel) {
    if (n.texture) SDL_DestroyTexture(n.texture);
    Uint32 fmt = frame.bitsPerPixel == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    n.texture = SDL_CreateTexture(n.renderer, fmt, SDL_TEXTUREACCESS_STREAMING, frame.width, frame.height);
    n.texW = frame.width;
    n.texH = frame.height;
    n.texBits = frame.bitsPerPixel;
    if (!n.texture) return;
  }
  SDL_UpdateTexture(n.texture, nullptr, frame.pixels, frame.pitch);
  // Full screen keeps the picture's proportions (black bars); a window is filled.
  bool full = (SDL_GetWindowFlags(n.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_RenderSetLogicalSize(n.renderer, full ? frame.width : 0, full ? frame.height : 0);
  SDL_SetRenderDrawColor(n.renderer, 0, 0, 0, 255);
  SDL_RenderClear(n.renderer);
  SDL_RenderCopy(n.renderer, n.texture, nullptr, nullptr);
  SDL_RenderPresent(n.renderer);
}

int ShowMessageBox(const std::string& text, const std::string& title, int style) {
  const char* labels[] = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
  int answers[3];
  int count = ButtonAnswers(style, answers);
  int def = DefaultAnswer(style), dismiss = DismissAnswer(style);
  SDL_MessageBoxButtonData buttons[3];
  for (int i = 0; i < count; ++i) {
    Uint32 flags = 0;
    if (answers[i] == def) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (answers[i] == dismiss) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons[i] = {flags, answers[i], labels[answers[i]]};
  }
  Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
  if ((style & 0x70) == mb::Critical) kind = SDL_MESSAGEBOX_ERROR;
  if ((style & 0x70) == mb::Exclamation) kind = SDL_MESSAGEBOX_WARNING;
  SDL_MessageBoxData data{kind, nullptr, title.c_str(), text.c_str(), count, buttons, nullptr};
  int pressed = -1;
  if (SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY")) {
    if (SDL_ShowMessageBox(&data, &pressed) == 0) return pressed < 0 ? dismiss : pressed;
  }
  // A terminal ends its lines with LF alone.
  std::string lines = text;
  std::erase(lines, '\r');
  std::fprintf(stderr, "%s%s%s\n[%s]\n", title.c_str(), title.empty() ? "" : ": ", lines.c_str(), labels[def]);
  return def;
}

// The dialog opens its own window where someone can see it; SDL's stand-in drivers
// (no display at all) would leave it waiting for a click that never comes.
bool AnnounceDialog(const DialogReport& report) {
  const char* driver = sdl::EnsureVideo() ? SDL_GetCurrentVideoDriver() : nullptr;
  if (driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
  ReportDialogOnStderr(report);
  return false;
}

int DesktopHeight() {
  if (!sdl::EnsureVideo()) return 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return mode.h;
}

int LogicalDpi() { return 0; }

DateTime Now() { return SystemNow(); }

}  // namespace backend
}  // namespace platform
