#pragma once
// The pictures, sounds and music of the pause screen and the save screen.
#include <cstdint>
#include <vector>

#include "demodata/canvas.hpp"
#include "demodata/synth.hpp"

namespace demo {

// "Pausescreen.bmp": the console round the pause monitor, 800 x 600, drawn with black
// as its key; black where the game shows through (the monitor's hole).
Canvas PauseFrame();
// "Save.wav": the chime after a game was saved.
synth::Wave SaveChime();
// "Save_Screen.ogg": a calm loop under the save screen, interleaved stereo at 44,100 Hz.
std::vector<int16_t> SaveScreenMusic();

}  // namespace demo
