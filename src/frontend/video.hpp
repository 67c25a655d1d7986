#pragma once
// Video playback: one AVI video full size, with the keyboard taken while it plays.
#include <string>

// Plays the video `Filename` from the archive `Archiv` (from the video folder when it is
// ""), and returns when it has ended, the player has skipped it or the program quits.
// Returns at once while quitting or with the videos switched off.
void PlayAVIFile(const std::string& Filename, const std::string& Archiv);
