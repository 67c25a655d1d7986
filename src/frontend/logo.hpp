#pragma once
// The start-up logos.
#include <cstdint>
#include <string>

// Shows the logo picture `Filename` of the archive `Archiv` full screen: fades it in over
// `Fade` ticks, holds it `Duration` ticks and takes it off again; with `Praxelworks` first
// through a wave distortion with its sound, with `Effekt` with the play-area wobble.
// Returns when it is done, on the pause key, or at once when the program quits.
void ShowLogo(const std::string& Archiv, const std::string& Filename, int32_t Duration, int32_t Fade, bool Effekt,
              bool Praxelworks);
