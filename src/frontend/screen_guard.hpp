#pragma once
// The failure handling of the front end's own blocking screens (the logo intro, the
// credits): one step at a time, a scene that is not open skips the step, a lost display is
// waited for, given back its pictures and the step runs again; any other failure ends the
// run with the DirectX error dialog.
#include <utility>

#include "shell/err.hpp"

namespace screenguard {
// Waits for the display to come back and restores every picture.
void Recover();
// Ends the run for `e` and shows the error dialog with the place `Ort`.
void Abort(const Err& e, const char* Ort);
// True when the step failed only on a scene that was not open.
bool SceneNotOpen(const Err& e);
bool DisplayLost(const Err& e);
}  // namespace screenguard

// Runs `anweisung` under the screens' failure handling; false after a failure that ends
// the run (the caller returns).
template <class F>
bool ScreenStep(const char* Ort, F&& anweisung) {
  for (;;) {
    try {
      std::forward<F>(anweisung)();
      return true;
    } catch (const Err& e) {
      if (screenguard::SceneNotOpen(e)) return true;
      if (!screenguard::DisplayLost(e)) {
        screenguard::Abort(e, Ort);
        return false;
      }
      screenguard::Recover();
    }
  }
}
