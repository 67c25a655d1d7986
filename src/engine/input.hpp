#pragma once
// Keyboard and joysticks, read once per pass of every loop that waits for input, folded
// into one array of key codes: 1..211 the keyboard's scan codes, then the four directions
// and 32 buttons of each of two joysticks (joystick j: 212 + 35j left, 213 + 35j up,
// 214 + 35j right, 215 + 35j down, 216 + 35j + b button b). The step between the
// joysticks is 35, so code 247 is both joystick 0's button 31 and joystick 1's left; the
// poll lets joystick 1 decide it. Configuration files store these codes.
#include <array>
#include <cstdint>
#include <string>

#include "platform/input.hpp"

constexpr int32_t KeyCodeMax = 282;

// Pressed state per key code after the last poll.
inline std::array<bool, KeyCodeMax + 1> KeyState{};
// Keyboard state of the last poll, one byte per scan code.
inline std::array<uint8_t, platform::kKeyboardCodes> TastaturPuffer{};
// The opened joysticks, whether each is usable, its name and instance id.
inline std::array<platform::JoyHandle, 2> JoyDevice{};
inline std::array<bool, 2> JoyDa{};
inline std::array<std::string, 2> JoyName;
inline std::array<std::string, 2> JoyGuid;
// Joystick j came from the force-feedback list; cleared when its effect cannot be made.
inline std::array<bool, 2> ForceDa{};
// The state of the joystick being polled, and which one that is.
inline platform::JoystickState JoyState;
inline int32_t JoyPollNr = 0;

// As at program start, before the devices are opened: no key down, no joystick.
inline void ResetInput() {
  KeyState.fill(false);
  TastaturPuffer.fill(0);
  JoyDevice.fill(platform::JoyHandle{});
  JoyDa.fill(false);
  JoyName.fill("");
  JoyGuid.fill("");
  ForceDa.fill(false);
  JoyState = platform::JoystickState{};
  JoyPollNr = 0;
}

// Opens the keyboard (before JoystickInit).
void DInputInit();
// Finds and opens up to two joysticks, force-feedback ones first.
void JoystickInit();
// Prepares an opened joystick for reading (nothing left to set: the platform reads the
// axes on the 0..10000 scale with the dead zone already).
void JoystickSetProps(int32_t& Joy);
// Fills KeyState from the keyboard and the joysticks.
void DInputPoll();
// Releases the joysticks and their force effects at shut-down.
void DInputTerminate();
// The display text of a key code ("Space", "J1(Left)", "28", ...).
std::string GetKeyName(int32_t Code);

// The directions a hat reading (hundredths of a degree, negative centred) presses. The
// ranges overlap, so each diagonal presses two.
struct Richtungen {
  bool Links = false, Hoch = false, Rechts = false, Runter = false;
  bool operator==(const Richtungen&) const = default;
};
Richtungen PovRichtungen(int32_t Pov);
// The directions the two axes (0..10000, 5000 at rest) press.
Richtungen AchsenRichtungen(int32_t X, int32_t Y);
