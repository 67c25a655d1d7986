#pragma once
// The game loop: plays one loaded level in 16 ms ticks, from its start tick to its end,
// restarting a pass from the last checkpoint after every lost life.
#include "campaign/game_loop_state.hpp"

// Plays the loaded level (level file, pictures, sounds and music name loaded, the players
// set up, `Spielstatus` 0) until it is done, the last life is gone without a continue, or
// the run state asks to leave. Returns with the level's checkpoints forgotten, the music
// stopped, `FrameSkipAn` clear and `LevelEnde` 0 - except after an unexpected error,
// which it reports (the DirectX error dialog, "Spielloop: " and the step) with
// `Spielstatus` 10 and the game windows closed.
void SpielLoop();
