#pragma once
// The menu run: the start-up sequence on the program's first menu, then the menu frame by
// frame until a page ends it, and what follows: the screen-out before a game, the
// program's end, or the hidden show.
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/menu_assets.hpp"
#include "frontend/menu_state.hpp"

// Runs the menu; returns with `Spielstatus` 0 (a game is prepared: the campaign starts)
// or 10 (the program ends). Call after the standard and the menu pictures are loaded.
void MenuLoop();

// The three parts of `MenuLoop`, in its order (tests drive them one by one). A failure
// inside them is handled as the menu handles every failure: a scene that was not begun
// skips the failing step, a lost display is waited for and the frame starts again, any
// other failure ends the run with the error dialog ("Menuloop").
//
// The set-up of a run: the menu sounds, empty pools, the first player able to confirm,
// the start-up sequence on the first run of the program, the main page, the music.
void MenuVorbereiten();
// One frame of 18 ms: input, the hangar freezing over, the logo, the page, the gliding
// column and sliding panel, the particles, the overlays, the music, the flip.
void MenuBild();
// After the loop: the screen-out before a game, the wait for the pause key's release
// before the program ends, the hidden show.
void MenuAbschluss();

// One step of the start-up sequence: a video (`Datei` from the video folder) or a logo
// picture of "Logo.vkp" shown with `ShowLogo`.
struct StartSchritt {
  bool Video = false;
  std::string Datei;
  int32_t Duration = 0;
  int32_t Fade = 0;
  bool Praxelworks = false;
  bool operator==(const StartSchritt&) const = default;
};
// The start-up sequence for the current `VideoAn` and `Sprache`: the logo video (or with
// videos off the first logo picture), the three other logos, the intro video of the
// language (which plays nothing with videos off).
std::vector<StartSchritt> StartFolge();
