#pragma once
// The campaign script: which level comes next.
#include <cstdint>
#include <string>

struct SkriptDaten {
  int32_t Zeile = 0;          // position in the script
  bool EinzelLevel = false;   // play `LevelName` once, then end (the "-Skip" switch)
  std::string Parameter;      // loading-screen picture of the next level
};
inline SkriptDaten SkriptStand;

// Runs the script until a level is to be played (true, `LevelName` set) or it ends.
bool LevelSkript();
