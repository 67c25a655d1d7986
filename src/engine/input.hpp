#pragma once
// Keyboard and joysticks, read once per pass of every loop that waits for input.
#include <array>
#include <cstdint>
#include <string>

// Key-state array by key code: 1..211 the keyboard, from 212 the joysticks' directions
// and buttons. Nonzero while down.
inline std::array<uint8_t, 283> KeyState{};
inline std::array<bool, 2> JoyDa{};
inline std::array<std::string, 2> JoyName;
inline std::array<std::string, 2> JoyGuid;
inline std::array<bool, 2> ForceDa{};
// The last typed character (the name entry reads and clears it).
inline int32_t TastenZeichen = 0;

void DInputInit();
void JoystickInit();
void DInputPoll();
void DInputTerminate();
