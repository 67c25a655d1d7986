#pragma once
// The campaign's position in the level script.
#include <cstdint>
#include <string>

struct SkriptDaten {
  int32_t Zeile = 0;          // position in the script
  bool EinzelLevel = false;   // play `LevelName` once, then end (the "-Skip" switch)
  std::string Parameter;      // loading-screen picture of the next level
};
inline SkriptDaten SkriptStand;
