#pragma once
// The keyboard as the game's input code reads it: one byte per key code, bit 7 set while
// the key is down. Key codes are the keyboard scan codes the configuration stores
// (1 Escape, 2..11 the digits, 28 Return, 57 Space, 200 Up arrow, ...; 1..211).
#include <cstdint>

namespace platform {

constexpr int kKeyboardCodes = 256;

// Reads the current state of every key. Without the keyboard focus on one of the
// program's windows no key is down.
void ReadKeyboard(uint8_t state[kKeyboardCodes]);

}  // namespace platform
