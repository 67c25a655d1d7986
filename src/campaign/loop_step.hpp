#pragma once
// One step of a long frame loop (the game, the continue screen, ...) under the loops'
// common error handling: a scene error abandons the step and the loop goes on; a lost
// display is waited for and the loop goes on; anything else ends the run.
#include <new>

#include "engine/display.hpp"
#include "platform/device3d.hpp"
#include "shell/err.hpp"

// Runs `tun`. On a lost display `verloren` brings the display back; any other failure,
// or one while bringing it back, goes to `absturz` and the result is false.
template <class Tun, class Verloren, class Absturz>
bool LoopSchritt(Tun&& tun, Verloren&& verloren, Absturz&& absturz) {
  try {
    try {
      tun();
    } catch (const std::bad_alloc&) {
      throw err::KeinSpeicher();
    }
  } catch (const Err& e) {
    if (e.Nummer == platform::D3DERR_SCENE_NOT_IN_SCENE) return true;
    try {
      if (e.Nummer != DDERR_SURFACELOST) throw;
      verloren();
    } catch (const Err& fatal) {
      absturz(fatal);
      return false;
    }
  }
  return true;
}
