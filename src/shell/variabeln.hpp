#pragma once
// The object pools and the program's defaults: set up once, emptied before every level
// pass, freed at the end.
#include <array>
#include <cstdint>
#include <string>

inline std::string AppPfad;  // the program's folder, ends in a separator

// Key codes of the joysticks' directions and buttons (j = 0, 1): the configuration file
// stores them, so their spacing of 35 is fixed.
inline std::array<int16_t, 2> JoyLinks{}, JoyHoch{}, JoyRechts{}, JoyRunter{};
inline std::array<std::array<int16_t, 32>, 2> JoyKnopf{};

void VariabelnInit();
void VariabelnLösch();
void VariabelnTerminate();
