#pragma once
// Reads the high-score table at start (or builds the default one).
void LoadHighscore();
