// Services of the campaign whose own code comes later: each does as little as keeps the
// game loop whole until then. Whoever builds one removes it from here.
#include "campaign/continue_screen.hpp"
#include "campaign/panel.hpp"
#include "campaign/special_events.hpp"
#include "engine/keys.hpp"
#include "shell/program_state.hpp"

void SpielSpezial(int32_t) {}
void SpielDisplay() {}

// No continue screen yet: the last life ends the game.
bool Continue() { return false; }
