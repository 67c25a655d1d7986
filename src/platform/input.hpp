#pragma once
// The keyboard and the joysticks as the game's input code reads them.
//
// Keyboard: one byte per key code, bit 7 set while the key is down. Key codes are the
// keyboard scan codes the configuration stores (1 Escape, 2..11 the digits, 28 Return,
// 57 Space, 200 Up arrow, ...; 1..211).
//
// Joysticks: raw devices (no game-pad remapping: the configuration stores raw button
// numbers), listed in the system's order, opened by an id that is unique while the
// program runs. A read gives the first two axes on a 0..10000 scale (5000 at rest), the
// first hat in hundredths of a degree and 32 buttons. Force feedback is one constant force
// per joystick (a haptic effect, or the rumble motors where there is none).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr int kKeyboardCodes = 256;

// Reads the current state of every key. Without the keyboard focus on one of the
// program's windows no key is down.
void ReadKeyboard(uint8_t state[kKeyboardCodes]);

// ---- Joysticks ----

struct JoystickInfo {
  std::string name;
  std::string id;  // instance id: names this device for as long as the program runs
  bool forceFeedback = false;
};

// The attached joysticks in the system's order; with `forceFeedbackOnly` only those that
// can push (a constant-force effect or rumble motors).
std::vector<JoystickInfo> ListJoysticks(bool forceFeedbackOnly);

// A failed device call: a number and a description for the log.
struct InputError {
  int32_t number = 0;
  std::string description;
};

using JoyHandle = int32_t;  // 0 is none

constexpr int kJoyButtons = 32;
constexpr int32_t kAxisMin = 0, kAxisCentre = 5000, kAxisMax = 10000;

struct JoystickState {
  int32_t x = kAxisCentre, y = kAxisCentre;  // 0 left / up .. 10000 right / down
  int32_t pov = -1;  // first hat: hundredths of a degree clockwise from up; -1 centred
  std::array<uint8_t, kJoyButtons> buttons{};  // 0x80 while down
};

// Opens the joystick with that id for reading (and force feedback). 0 on failure.
JoyHandle OpenJoystick(const std::string& id, InputError& error);
// Reads the joystick's current state; false when the device failed (e.g. unplugged).
bool ReadJoystick(JoyHandle joystick, JoystickState& state, InputError& error);
// Releases the joystick and its force effect.
void CloseJoystick(JoyHandle joystick);

// ---- Force feedback ----

enum class ForceEffectResult { Created, NoneSuitable, Failed };
// Creates the joystick's one constant-force effect (full strength, endless, not started).
// `kind` names the effect type used.
ForceEffectResult CreateForceEffect(JoyHandle joystick, std::string& kind, InputError& error);
// Changes the effect's strength in place, 0..10000 (0 silent).
bool SetForceMagnitude(JoyHandle joystick, int32_t magnitude);
// Starts the effect (once, endless).
bool StartForceEffect(JoyHandle joystick);
// Pauses or continues all force output of the device.
bool PauseForce(JoyHandle joystick);
bool ContinueForce(JoyHandle joystick);
// Ends the effect (the device stays open).
void DestroyForceEffect(JoyHandle joystick);

// ---- Conversions shared by the backends ----

// A raw axis reading (-32768..32767) on the 0..10000 scale: the inner 10 % of the travel
// reads as the centre, the outer 5 % as the end.
int32_t AxisToRange(int32_t raw);
// Hat bits (1 up, 2 right, 4 down, 8 left) in hundredths of a degree; -1 centred (or a
// combination no hat can show).
int32_t HatToPov(uint8_t bits);
constexpr uint8_t kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;
// A force magnitude 0..10000 as a haptic level (0..32767) and as a rumble strength
// (0..65535).
int32_t ForceLevel(int32_t magnitude);
uint16_t RumbleStrength(int32_t magnitude);

}  // namespace platform
