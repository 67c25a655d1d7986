#pragma once
// The save screen after a cleared level: the results enter the high-score table, and the
// player may save the game into one of the 21 slots.

// Runs the screen and returns when it has been left.
void SaveGame();
