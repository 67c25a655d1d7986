#pragma once
// The in-game display: the panel below the play area, the radio speaker and the extra
// lives.

// One tick of the display, drawn or not.
void SpielDisplay();
