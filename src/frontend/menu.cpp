#include "frontend/menu.hpp"

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "shell/program.hpp"
#include "shell/timing.hpp"

void LoadMenuSurfaces() {
  if (Spielstatus == 10) return;
}

// Until the menu is built: a black screen that Escape or a close request ends.
void MenuLoop() {
  FrameSkipAn = false;
  while (Spielstatus == 0) {
    DInputPoll();
    if (KeyState[1]) Spielstatus = 10;
    Flip(false);
    Wait(16);
  }
  if (Spielstatus < 10) Spielstatus = 0;
}
