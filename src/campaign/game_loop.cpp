#include "campaign/game_loop.hpp"

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "shell/program_state.hpp"
#include "shell/timing.hpp"
#include "shell/pool.hpp"

// Until the game loop is built, a level is a black screen that Escape or a close
// request ends.
void SpielLoop() {
  LevelTick = StartTick;
  ResetAllPools();
  FrameSkipAn = false;
  Rendern = true;
  LetzterTick = GetTickCount();
  while (Spielstatus == 0) {
    DInputPoll();
    if (TasteEscape()) break;
    FrameEnde(16);
  }
}
