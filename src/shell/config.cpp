#include "shell/config.hpp"

// The configuration file comes next; until then every start uses the defaults.
void LoadConfig() {}
void SaveConfig() {}

void InitKeyConfig(int16_t, int16_t) {}
