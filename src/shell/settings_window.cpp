#include "shell/settings_window.hpp"

#include "shell/program.hpp"

// Until the window is built the stored choices stand and the game starts at once.
void ShowSettingsWindow() { StartProgramRun(); }
