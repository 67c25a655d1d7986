#pragma once
// The pause screen: the frozen game picture on a monitor inside a frame picture, with a
// rolling scan line and now and then a disturbance, the choice between resuming and
// leaving the level, a title line and the newest ticker texts. Sound, music, the radio
// voice and the rumble are halted while it is up and come back when the game resumes.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "campaign/pause_screen_state.hpp"
#include "platform/surface.hpp"

// The picture of the game the pause screen keeps in the per-user folder.
inline constexpr const char* kScreenshot = "Screenshot.bmp";

// Runs the pause screen; on return `Spielstatus` is 9 when the players chose to leave the
// level (their results entered into the high-score table), and the game's next frames
// fade from the last pause picture into the game.
void Pause();

// The history under the monitor from the ticker's texts `Zeilen` (oldest first): the
// newest at the bottom, each wrapped at blanks into lines no wider than 530 pixels by
// `Breite` (the oldest part of a long text highest), runs of empty texts as one empty
// line and none at the bottom. A single word wider than a line stands alone on its line,
// cut to fit.
std::array<std::string, kPauseHistorie> PauseHistorie(const std::vector<std::string>& Zeilen,
                                                      const std::function<float(const std::string&)>& Breite);
// The title line: the level (in Russian only its beginning, see `LevelTeil`) and the
// players' names.
std::string PauseTitel();
// The monitor's picture after a lost display: the pause's "Screenshot.bmp", else the
// loading-screen mosaic, else black; a file that is no 800 x 600 picture counts as
// missing. In the format of `format`.
platform::SurfacePtr PausenbildNachVerlust(platform::PixelFormat format);
