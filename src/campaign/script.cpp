#include "campaign/script.hpp"

#include "shell/program_state.hpp"

// The campaign comes with its own subsystem; until then the script plays only what the
// "-Skip" switch asks for, once.
bool LevelSkript() {
  if (Spielstatus == 10) return false;
  if (Spielstatus == 9) {
    Spielstatus = 0;
    return false;
  }
  if (SkriptStand.EinzelLevel) {
    SkriptStand.EinzelLevel = false;
    SkriptStand.Zeile = -1;
    return true;
  }
  return false;
}
