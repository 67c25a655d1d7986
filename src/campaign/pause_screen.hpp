#pragma once
// The pause screen.

// Runs the pause screen; on return `Spielstatus` is 9 when the players chose to leave the
// level.
void Pause();
