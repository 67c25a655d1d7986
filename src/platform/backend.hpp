#pragma once
// What the shared platform code asks of a backend. Each backend (sdl/, headless/)
// defines every function here; the program links exactly one of them.
#include <cstdint>
#include <string>

#include "platform/dialog.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"

namespace platform {

// A window as the shared code keeps it; the backend mirrors it natively.
struct WindowState {
  WindowDesc desc;
  WndProc proc;
  bool visible = false;
  bool minimised = false;
  bool fullscreen = false;
  float opacity = 1.0f;
  Rect rect;  // outer rectangle on the desktop
  bool hasRegion = false;  // the window shows only its rounded region
  Rect region;
  int regionEllipseW = 0, regionEllipseH = 0;
  std::string className;  // the class it was made of (CreateWindowEx)
};

namespace detail {
// For backends: the shared state of a window, nullptr for an unknown handle.
WindowState* FindWindow(HWnd hwnd);
// For backends: the focus moved (0: to no window of ours). Sends the focus messages.
void NoteFocus(HWnd hwnd);
// For backends: the session asks the program to end (see SetEndSessionWindow).
void EndSession();
}  // namespace detail

namespace backend {

uint64_t Ticks();
void SpinUntil(uint64_t tick);
void IdleUntil(uint64_t tick);

void WindowCreated(HWnd hwnd, const WindowState& state);
void WindowDestroyed(HWnd hwnd);
bool WindowHasDisplay(HWnd hwnd);
// Visibility, caption, position, size, full screen, opacity or region changed.
void WindowChanged(HWnd hwnd, const WindowState& state);
bool CanSetOpacity();
// Whether this window's region really shapes it on the screen.
bool CanShapeWindow(HWnd hwnd);

// Turns the backend's pending events into messages (PostMessage and the like).
void PumpEvents();
// Blocks until an event arrives or the tick count reaches `untilTick`.
void WaitEvents(uint64_t untilTick);

void Present(HWnd hwnd, const FrameView& frame);
// Readies the window for `Present`; false, with the reason kept for `LastError`, when it
// cannot show frames.
bool PreparePresent(HWnd hwnd);
// The reason of the last failure of the window system (UTF-8); empty for none.
std::string LastError();

// A modal box; returns the answer (see msgbox.hpp).
int ShowMessageBox(const std::string& textUtf8, const std::string& titleUtf8, int style);
// A dialog of our own is about to open (see dialog.hpp): true lets it open its window.
bool AnnounceDialog(const DialogReport& report);

// Sound output: 44,100 Hz, two channels, 16 bits. While it is open the backend pulls
// frames from audio::Mix (mixer.hpp): the SDL backend from its audio thread, the headless
// one only when a test asks. False, with the reason in `error`, when there is no device.
bool OpenAudio(std::string& error);
void CloseAudio();
// Held by the mixer around every change the audio thread could see half-done.
void LockAudio();
void UnlockAudio();

int DesktopHeight();
int LogicalDpi();
DateTime Now();

}  // namespace backend
}  // namespace platform
