#pragma once
// The campaign's position in the level script "Play.txt". The menu writes it for a new
// game or a bonus level, the save games store and restore it whole.
#include <cstdint>
#include <string>

struct SkriptDaten {
  bool EinzelLevel = false;  // play `LevelName` once, without the script
  int32_t SkriptZeile = 0;   // the next line to run (from 0); 0 a new game, 10000 and up none
  std::string LadeBild;      // the loading picture of the level to load ("" the mosaic)
};
inline SkriptDaten SkriptStand;

// From this line on nothing of the script runs: the mark of a single level.
inline constexpr int32_t kSkriptEnde = 10000;

// The record's fields in their order, for the save games.
template <class IO>
void Felder(IO& io, SkriptDaten& s) {
  io.Bool16(s.EinzelLevel);
  io.Int32(s.SkriptZeile);
  io.Text(s.LadeBild);
}

// A new campaign from the script's first line.
inline void ResetSkriptStand() { SkriptStand = SkriptDaten{}; }
