#pragma once
// Shared between the files of the SDL backend.
#include <SDL.h>

#include "platform/window.hpp"

namespace platform::sdl {

// Brings up SDL's video part on first use; false when there is no display.
bool EnsureVideo();
// Our handle of an SDL window (0 when it is none of ours).
HWnd HandleOf(Uint32 sdlWindowId);
SDL_Window* NativeOf(HWnd hwnd);

// Windows key code (the key messages' wParam) of an SDL key.
int VirtualKeyOf(SDL_Keycode key);
// Keyboard scan code of the game (1..211) of an SDL scan code; 0 for none.
int ScanCodeOf(SDL_Scancode code);

}  // namespace platform::sdl
