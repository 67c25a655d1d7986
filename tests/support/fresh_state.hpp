#pragma once
// The game's state as a test starts from: made of the same resets the game runs, so a
// fixture lists only what its test sets differently.
#include <string>

#include "support/support.hpp"

namespace testsupport {

// The program run's state as before the start (run state 0, no debug log, level "Level1"),
// the defaults `VariabelnInit` sets (options, empty surface and sound tables, landscape
// layers, joystick codes, new-game players, and whatever a game, a level or a menu visit
// leaves behind as a new process has it) and every pool emptied as before a level pass.
// The random sequence starts from its beginning, as before the program seeds it (a
// test's draws then do not depend on the tests before it). Folders and the platform
// (windows, clock, devices) are left alone.
void FreshState();

// The per-user folder (`DatenOrdner`, where the debug log goes) in a temporary folder for
// the life of the object, for a test that logs without setting up the program's folders:
// an empty folder would mean the current one, the build folder. The folder it named before
// comes back at the end.
class TempDataFolder {
 public:
  TempDataFolder();
  ~TempDataFolder();
  TempDataFolder(const TempDataFolder&) = delete;
  TempDataFolder& operator=(const TempDataFolder&) = delete;

 private:
  TempDir dir_;
  std::string vorher_;
};

}  // namespace testsupport
