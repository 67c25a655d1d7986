#include "engine/input.hpp"

#include <algorithm>

#include "platform/input.hpp"

void DInputInit() { KeyState.fill(0); }

void JoystickInit() {
  JoyDa.fill(false);
  ForceDa.fill(false);
}

void DInputPoll() {
  uint8_t keys[platform::kKeyboardCodes];
  platform::ReadKeyboard(keys);
  for (int code = 1; code <= 211; ++code) KeyState[code] = keys[code];
}

void DInputTerminate() { KeyState.fill(0); }
