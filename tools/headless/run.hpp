#pragma once
// A level played by the game itself without a window: the program's start-up on the
// headless backend (virtual clock, no display, sound mixed by nobody), then the campaign
// alternation in its single-level mode, as "-Skip -Level NAME" plays it, with scripted
// keys. The caller watches every tick. Every run starts as a new process would, so runs
// in one process with the same options play alike.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "headless/key_script.hpp"

namespace headless_run {

struct Options {
  std::string level = "Level1";   // the level archive is <level>.vlp
  int32_t startTick = 0;          // as "-Tick"
  int64_t ticks = -1;             // the run ends after this many ticks; -1 at the level's end
  KeyScript keys;                 // the keys of each tick; none after its end
  std::optional<double> seed;     // the random sequence's seed; the time of day without
  bool twoPlayers = false;        // the answers to the two questions of "-Skip"
  int32_t shipType = 0;
  int32_t bits = 32;              // the back buffer's colour depth: 16 or 32
  bool sound = true;              // sound and music (nothing is heard)
  std::string dataFolder;         // the folder holding Data/; the program's folder when empty
  // The per-user folder. Empty: a fresh one of the run's own, removed at its end, so that
  // nothing of the player's (settings, high scores, saves, pictures, log) is read or
  // written. A folder named is used as the game uses its per-user folder: made when
  // missing, and its high-score table is loaded before the level.
  std::string userFolder;
  std::function<void()> afterLevel;  // called as the game loop returns, before the script
};

struct Tick {
  int64_t n = 0;         // ticks played so far, this one included
  double seconds = 0;    // what the tick cost (update, drawing and present)
};

// Plays the level and calls `afterTick` at the end of every tick. Returns the exit code of
// the run: 0, or the code of a fatal error that ended the program.
int Run(const Options& options, const std::function<void(const Tick&)>& afterTick);

}  // namespace headless_run
