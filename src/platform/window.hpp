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
                   Sizing = 0x0214, Moving = 0x0216, EnterSizeMove = 0x0231, ExitSizeMove = 0x0232,
                   User = 0x0400;
}  // namespace wm

// Window styles and extended styles of `CreateWindowEx` (the Windows values).
namespace ws {
constexpr uint32_t Popup = 0x80000000u, Visible = 0x10000000u, Caption = 0x00C00000u;
}
namespace ws_ex {
constexpr uint32_t NoParentNotify = 0x4, Topmost = 0x8, Transparent = 0x20, ToolWindow = 0x80, Layered = 0x80000;
}

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
  // A window drawn with per-pixel alpha over the desktop (a layered window). SDL2 cannot
  // show such windows: the SDL backend keeps them as windows without a picture.
  bool layered = false;
  // The window will take rounded regions: the SDL backend makes a shaped window for it
  // where the X server can shape windows.
  bool shaped = false;
  HWnd owner = 0;  // the window it belongs to (a pop-up's owner); 0 for none
};

// Creates a window; its procedure receives Create before this returns.
HWnd CreateWindow(const WindowDesc& desc, WndProc proc);

// Window classes: a name (compared without regard to case) with the procedure of its
// windows and the class values. There are no system classes.
struct WindowClass {
  std::string name;
  WndProc proc;
  uint32_t background = 0xFFFFFF;  // COLORREF of the background brush
  uint32_t style = 0;
  intptr_t cursor = 0, icon = 0, iconSmall = 0;
  int32_t classExtra = 0, windowExtra = 0;
};
// False for an empty name or a name already registered.
bool RegisterClass(const WindowClass& windowClass);
// False for an unknown class and for one that still has windows.
bool UnregisterClass(const std::string& name);
bool IsClassRegistered(const std::string& name);
// A window of a registered class (0 for an unknown one): pop-up style makes it borderless,
// `ws::Visible` shows it, the extended styles layered, topmost and tool window carry over.
// Its procedure receives Create with `param` as lParam before this returns.
HWnd CreateWindowEx(uint32_t exStyle, const std::string& className, const std::string& caption, uint32_t style,
                    int x, int y, int width, int height, HWnd owner, intptr_t menu, intptr_t param);
std::string GetClassName(HWnd hwnd);  // empty for a window made without a class
// Sends Destroy to the procedure and removes the window. False for an unknown handle.
bool DestroyWindow(HWnd hwnd);
bool IsWindow(HWnd hwnd);
// True when the window really shows on a display (false without one).
bool WindowHasDisplay(HWnd hwnd);
// Makes ready what showing frames in the window needs (`PresentFrame`); false when the
// window cannot show them, with the reason in `WindowSystemError`.
bool PreparePresent(HWnd hwnd);
// The window system's own words for its last failure (Windows-1252), e.g. why no window
// could be opened; empty when it gave none.
std::string WindowSystemError();

// ShowWindow goes to the procedure before the window appears or disappears (so it can
// still prepare a fade), the position change with the show or hide flag after.
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
float GetWindowOpacity(HWnd hwnd);  // 1 for an unknown window
// Whether windows can be made translucent at all here.
bool CanSetWindowOpacity();
// A rounded-rectangle region: only that part of the window shows (an empty rectangle:
// nothing shows). The corners are quarters of an ellipse of `ellipseW` by `ellipseH`
// pixels. The window keeps the region either way; false where the window system cannot
// shape this window, so the caller has to clip its drawing itself (`RoundRegionSpan`).
bool SetWindowRoundRegion(HWnd hwnd, int left, int top, int right, int bottom, int ellipseW, int ellipseH);
// The whole window shows again.
bool RemoveWindowRegion(HWnd hwnd);
// The window's region; false when it has none.
struct RoundRegion {
  Rect rect;
  int ellipseW = 0, ellipseH = 0;
};
bool GetWindowRoundRegion(HWnd hwnd, RoundRegion& region);
// The pixels of row `y` that lie inside a rounded rectangle: [from, to), empty when
// from >= to.
void RoundRegionSpan(const RoundRegion& region, int y, int& from, int& to);

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

// Forgets every window, timer and class (the end of a program run).
void DestroyAllWindows();

// The session asks the program to end (the window system's quit, or SIGTERM or SIGINT
// once `CatchEndSignals` ran): the pump posts one close request (Close) to this window,
// or to every window while the named one does not exist. 0 names none.
void SetEndSessionWindow(HWnd hwnd);

}  // namespace platform
