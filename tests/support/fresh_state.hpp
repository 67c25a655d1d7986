#pragma once
// The game's state as a test starts from: made of the same resets the game runs, so a
// fixture lists only what its test sets differently.

namespace testsupport {

// The program run's state as before the start (run state 0, no debug log, level "Level1"),
// the defaults `VariabelnInit` sets (options, empty surface and sound tables, landscape
// layers, joystick codes, new-game players) and every pool emptied as before a level pass.
// Folders and the platform (windows, clock, devices) are left alone.
void FreshState();

}  // namespace testsupport
