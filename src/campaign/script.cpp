#include "campaign/script.hpp"

#include "player/players.hpp"
#include "shell/program_state.hpp"

// The campaign comes with its own subsystem; until then the script plays only what the
// "-Skip" switch asks for, once, with the players as a new game sets them up.
bool LevelSkript() {
  if (Spielstatus == 10) return false;
  if (Spielstatus == 9) {
    Spielstatus = 0;
    return false;
  }
  if (SkriptStand.Zeile == 0) VeskReset();
  if (SkriptStand.EinzelLevel) {
    SkriptStand.EinzelLevel = false;
    SkriptStand.Zeile = 10000;
    SkriptStand.Parameter.clear();
    VeskPosSetup();
    return true;
  }
  return false;
}
