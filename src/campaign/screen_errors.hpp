#pragma once
// The one error handler of the campaign's own screens (the save screen, the pause
// screen): a screen runs each statement of its loop through `SchirmAnweisung`. A scene
// that is not open skips the statement; a lost display (a minimised full screen) is
// waited for and its pictures restored, and the screen decides whether to run the
// statement again; anything else ends the program with the DirectX error dialog.
#include <cstdint>
#include <new>
#include <string>

#include "engine/display.hpp"
#include "platform/device3d.hpp"
#include "shell/err.hpp"

enum class Ausgang : uint8_t {
  Weiter,    // done, or skipped: go on
  Verloren,  // the display was lost and is back
  Ende,      // the run ends: leave the screen
};

// Waits (pumping messages) until the display can be used again, then restores and
// reloads every picture.
void AnzeigeAbwarten();
// The end of the run for an error nothing works around: the desktop's display mode
// back, run state 10, the game windows closed, and the DirectX error dialog with `Ort`
// as its detail. Whatever fails on the way is let go.
void SchirmAbbruch(const Err& e, const std::string& Ort);

template <class F>
Ausgang SchirmAnweisung(const char* Ort, F&& anweisung) {
  try {
    try {
      anweisung();
    } catch (const std::bad_alloc&) {
      throw err::KeinSpeicher();
    }
    return Ausgang::Weiter;
  } catch (const Err& e) {
    if (e.Nummer == platform::D3DERR_SCENE_NOT_IN_SCENE) return Ausgang::Weiter;
    if (e.Nummer == DDERR_SURFACELOST) {
      AnzeigeAbwarten();
      return Ausgang::Verloren;
    }
    SchirmAbbruch(e, Ort);
    return Ausgang::Ende;
  }
}
