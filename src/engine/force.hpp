#pragma once
#include <cstdint>

// Frames of screen shake left; any part of the game may raise it.
inline int32_t Erschuetterung = 0;

// Stops force feedback on every joystick.
void ForceStop();
