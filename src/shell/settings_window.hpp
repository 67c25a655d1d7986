#pragma once
// The start-up settings window: the player's choices before anything is set up.
// OK hands over to the program run (`StartProgramRun`), Cancel ends the program.
void ShowSettingsWindow();
