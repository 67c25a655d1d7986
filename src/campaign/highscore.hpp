#pragma once
// The high-score table of the ten best results.
#include <cstdint>
#include <string>

// Reads the high-score table at start (or builds the default one).
void LoadHighscore();
// Enters one player's result of the game tagged `Tag`; returns its place 1 to 10, or 11
// when the table does not take it.
int32_t AddHighscore(const std::string& Name, int32_t Score, int32_t Tag);
