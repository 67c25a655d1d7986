#pragma once
// The program folder and the joystick key codes: set once at start (`VariabelnInit`),
// read by the input and the key configuration.
#include <array>
#include <cstdint>
#include <string>

inline std::string AppPfad;  // the program's folder, ends in a separator

// Key codes of the joysticks' directions and buttons (j = 0, 1): the configuration file
// stores them, so their spacing of 35 is fixed.
inline std::array<int16_t, 2> JoyLinks{}, JoyHoch{}, JoyRechts{}, JoyRunter{};
inline std::array<std::array<int16_t, 32>, 2> JoyKnopf{};

inline void SetJoystickCodes() {
  for (int j = 0; j < 2; ++j) {
    JoyLinks[j] = static_cast<int16_t>(212 + 35 * j);
    JoyHoch[j] = static_cast<int16_t>(213 + 35 * j);
    JoyRechts[j] = static_cast<int16_t>(214 + 35 * j);
    JoyRunter[j] = static_cast<int16_t>(215 + 35 * j);
    for (int b = 0; b < 32; ++b) JoyKnopf[j][b] = static_cast<int16_t>(216 + 35 * j + b);
  }
}
