// Services of the campaign whose own code comes later: each does as little as keeps the
// game loop whole until then. Whoever builds one removes it from here.
#include "campaign/save_screen.hpp"
#include "campaign/continue_screen.hpp"
#include "campaign/panel.hpp"
#include "campaign/pause_screen.hpp"
#include "campaign/special_events.hpp"
#include "engine/keys.hpp"
#include "shell/program_state.hpp"

void SpielSpezial(int32_t) {}
void SaveGame() {}
void SpielDisplay() {}

// No continue screen yet: the last life ends the game.
bool Continue() { return false; }

// No pause screen yet: the pause key leaves the level as the pause screen's exit would;
// a window that lost the focus just plays on.
void Pause() {
  if (TasteEscape()) Spielstatus = 9;
}
