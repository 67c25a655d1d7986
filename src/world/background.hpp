#pragma once
// The background: the first drawing of every frame, chosen by `HintergrundModus`:
//   -2  the previous frame bleached by a white veil
//   -1  the previous frame under a flickering red-orange veil
//    0  the previous frame fading to black (shifted left first in haze, `Wetter` 2)
//    1  the level picture, scrolling with layer 0
//    2  coloured glows with a field of star streaks in front
//    3  the previous frame under a grey-blue veil, with snow
//    4  red circles on Lissajous curves, blurred into a glow
//    5  a blue plasma with an orange band rising over the level, with haze
//    6  black, with star streaks that speed up at the start of the level
// Any other mode draws nothing. Modes 2, 4 and 5 end and begin the scene again to copy the
// screen into the blur texture, so this must be the frame's first drawing.
#include "world/weather_state.hpp"

// One tick of the background: moves what it moves (also on frames that are not drawn)
// and draws it when the frame is drawn.
void SpielMoveHintergrund();
