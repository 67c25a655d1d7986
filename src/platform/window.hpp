#pragma once
// Windows and their messages, the way the game's code expects them: every window has a
// window procedure that receives numbered messages; messages are queued and handed out
// by a pump on the one thread; timers arrive as messages of that pump. The backend turns
// its own events (SDL's, or a test's script) into these messages.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

using HWnd = int32_t;  // 0 is no window

// Message numbers (the same values as on Windows).
namespace wm {
constexpr uint32_t Create = 0x0001, Destroy = 0x0002, Move = 0x0003, Size = 0x0005, Activate = 0x0006,
                   SetFocus = 0x0007, KillFocus = 0x0008, Paint = 0x000F, Close = 0x0010,
                   ShowWindow = 0x0018, WindowPosChanging = 0x0046, WindowPosChanged = 0x0047,
                   KeyDown = 0x0100, KeyUp = 0x0101, Char = 0x0102, SysKeyDown = 0x0104, SysKeyUp = 0x0105,
                   Timer = 0x0113, MouseMove = 0x0200, LButtonDown = 0x0201, LButtonUp = 0x0202,
                   RButtonDown = 0x0204, RButtonUp = 0x0205, MButtonDown = 0x0207, MButtonUp = 0x0208,
                   EnterSizeMove = 0x0231, ExitSizeMove = 0x0232, User = 0x0400;
}  // namespace wm

// Show commands.
namespace sw {
constexpr int Hide = 0, Normal = 1, Minimize = 6, Show = 5, ShowNoActivate = 4, Restore = 9;
}

// Flags of a window-position change (`WindowPos::flags`).
namespace swp {
constexpr uint32_t NoSize = 0x0001, NoMove = 0x0002, ShowWindow = 0x0040, HideWindow = 0x0080;
}

// Mouse-button flags in wParam of mouse messages.
namespace mk {
constexpr intptr_t LButton = 1, RButton = 2, MButton = 16;
}

struct Rect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// lParam of WindowPosChanging/WindowPosChanged points to one of these.
struct WindowPos {
  HWnd hwnd;
  int32_t x, y, cx, cy;
  uint32_t flags;
};

struct Msg {
  HWnd hwnd = 0;
  uint32_t message = 0;
  intptr_t wParam = 0;
  intptr_t lParam = 0;
};

using WndProc = std::function<intptr_t(HWnd, uint32_t, intptr_t, intptr_t)>;

struct WindowDesc {
  std::string caption;  // Windows-1252 text
  int x = -1, y = -1;   // -1: centred on the desktop
  int width = 640, height = 480;  // outer size in pixels
  bool borderless = false;
  bool topmost = false;
  bool toolWindow = false;  // never takes the focus, no task-bar entry
  bool fullscreen = false;
  bool visible = false;
  int captionCodePage = 1252;
};

// Creates a window; its procedure receives Create before this returns.
HWnd CreateWindow(const WindowDesc& desc, WndProc proc);
// Sends Destroy to the procedure and removes the window. False for an unknown handle.
bool DestroyWindow(HWnd hwnd);
bool IsWindow(HWnd hwnd);
// True when the window really shows on a display (false without one).
bool WindowHasDisplay(HWnd hwnd);

bool ShowWindow(HWnd hwnd, int cmd);
bool IsWindowVisible(HWnd hwnd);
bool IsIconic(HWnd hwnd);  // minimised
HWnd GetFocus();           // the window that has the keyboard focus, 0 for none of ours
void SetFullscreen(HWnd hwnd, bool on);
bool IsFullscreen(HWnd hwnd);

void SetWindowText(HWnd hwnd, const std::string& text);  // in the window's caption code page
void SetCaptionCodePage(HWnd hwnd, int codePage);
std::string GetWindowText(HWnd hwnd);

Rect GetWindowRect(HWnd hwnd);  // outer rectangle on the desktop
Rect GetClientRect(HWnd hwnd);  // 0, 0, width, height of the drawing area
bool MoveWindow(HWnd hwnd, int x, int y, int width, int height);
// Opacity of the whole window, 0..1; false where the window system cannot do it.
bool SetWindowOpacity(HWnd hwnd, float opacity);
// A rounded-rectangle region: only that part of the window shows. Width or height 0
// removes the region. False where the window system cannot shape windows.
bool SetWindowRoundRegion(HWnd hwnd, int left, int top, int right, int bottom, int ellipseW, int ellipseH);

// The window procedure: replace it (subclassing) and call a previous one.
WndProc GetWindowProc(HWnd hwnd);
WndProc SetWindowProc(HWnd hwnd, WndProc proc);
intptr_t CallWindowProc(const WndProc& proc, HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);
// What a window does with a message nobody handled: Close destroys the window.
intptr_t DefWindowProc(HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);

intptr_t SendMessage(HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);
bool PostMessage(HWnd hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);

// Takes the next message: first the backend's own events are turned into messages,
// then queued messages come out in order, then due timers. Never blocks.
bool PeekMessage(Msg& msg);
// Waits for the next message.
void WaitMessage();
void TranslateMessage(const Msg& msg);
intptr_t DispatchMessage(const Msg& msg);

// A timer sends Timer (wParam = id) to the window every `ms` milliseconds, from the
// pump, never more than one at a time. Setting an existing id restarts it.
uintptr_t SetTimer(HWnd hwnd, uintptr_t id, uint32_t ms);
bool KillTimer(HWnd hwnd, uintptr_t id);

// Puts a finished frame on the window's screen, scaled to the drawing area (letterboxed
// in full screen). `bitsPerPixel` 32 is XRGB8888, 16 is RGB565.
struct FrameView {
  const void* pixels = nullptr;
  int width = 0, height = 0, pitch = 0, bitsPerPixel = 32;
};
void PresentFrame(HWnd hwnd, const FrameView& frame);

// Forgets every window and timer (the end of a program run).
void DestroyAllWindows();

}  // namespace platform
