#pragma once
// Controls of the headless backend, for tests: a virtual clock, scripted keys, message-box
// answers and timed events, and the frames the program presented.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/dialog.hpp"
#include "platform/input.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"

namespace platform::headless {

// Back to the start: clock 0, no scripts, no recorded boxes or frames.
void Reset();

void SetClock(uint64_t tick);
void AdvanceClock(uint64_t ms);

// Keyboard script: each read of the keyboard takes the next entry (the key codes that
// are down); when the script has run out no key is down.
void QueueKeys(std::initializer_list<int> codesDown, int reads = 1);
void QueueKeys(const std::vector<int>& codesDown, int reads = 1);
size_t KeyReadsLeft();

// Runs `action` from the pump once the clock has reached `tick` (e.g. a close request).
void At(uint64_t tick, std::function<void()> action);

// Message boxes take the queued answers in order; without one, the default button.
void QueueAnswer(int answer);
struct RecordedBox {
  std::string text, title;  // UTF-8
  int style;
  int answer;
};
const std::vector<RecordedBox>& MessageBoxes();

// Dialogs of the program's own (the DirectX error dialog) as they were announced. They
// count as closed at once unless `SetRunDialogs(true)`: then their windows open and run
// until the test closes them (e.g. with clicks posted from `At`).
const std::vector<DialogReport>& Dialogs();
void SetRunDialogs(bool run);

// The last frame presented to a window (XRGB8888 or RGB565 bytes as given).
struct RecordedFrame {
  std::vector<uint8_t> pixels;
  int width = 0, height = 0, pitch = 0, bitsPerPixel = 0;
  int count = 0;  // frames presented so far
};
const RecordedFrame& LastFrame();

// The window system fails as on a machine without a display: no window shows, and
// `reason` is its word for it. Empty: windows show again.
void SetNoDisplay(const std::string& reason);
// Windows show, but cannot present frames, for `reason`. Empty: they can.
void SetPresentFailure(const std::string& reason);

void SetDesktopHeight(int pixels);
void SetLogicalDpi(int dpi);

// Typed characters: queued as Char messages to the focus window on the next pump.
void TypeText(const std::string& cp1252);

// The calendar date and time the program sees (the system's until set).
void SetDate(const DateTime& date);

// What the window system can do: shape windows with regions, make windows translucent
// (both can until a test says otherwise).
void SetCanShapeWindows(bool can);
void SetCanSetOpacity(bool can);

// Sound output. Nothing is mixed by itself: each call mixes the next `frames` frames of
// the open output (44,100 Hz, interleaved left/right), as the device would have played them.
std::vector<int16_t> MixAudio(size_t frames);
// While set, opening the output fails as on a machine without a sound device.
void SetNoAudioDevice(bool missing);
// The output is open (between OpenAudio and CloseAudio).
bool AudioOpen();

// Joysticks, attached in order (ids "{1}", "{2}", ...). Each read of an opened joystick
// takes its next scripted state; when its script has run out it rests (centred, no
// button down).
struct VirtualJoystick {
  std::string name = "Joystick";
  bool forceFeedback = false;
  bool openFails = false;
  ForceEffectResult effect = ForceEffectResult::Created;  // what creating its effect gives
};
int AttachJoystick(const VirtualJoystick& joystick);  // returns its index
void QueueJoystick(int index, const JoystickState& state, int reads = 1);
// From the next read on every read of the joystick fails (it was unplugged).
void UnplugJoystick(int index);
// Joysticks now open.
int OpenJoystickCount();
// Back to no joysticks and no recorded force commands (part of Reset).
void ResetJoysticks();

// Force-feedback commands in the order the program sent them: "create", "magnitude"
// (with its value), "start", "pause", "continue", "destroy".
struct ForceRecord {
  int joystick;  // index of the joystick
  std::string command;
  int32_t magnitude = 0;
  bool operator==(const ForceRecord&) const = default;
};
const std::vector<ForceRecord>& ForceCommands();
void ClearForceCommands();

}  // namespace platform::headless
