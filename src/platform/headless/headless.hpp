#pragma once
// Controls of the headless backend, for tests: a virtual clock, scripted keys, message-box
// answers and timed events, and the frames the program presented.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

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

// The last frame presented to a window (XRGB8888 or RGB565 bytes as given).
struct RecordedFrame {
  std::vector<uint8_t> pixels;
  int width = 0, height = 0, pitch = 0, bitsPerPixel = 0;
  int count = 0;  // frames presented so far
};
const RecordedFrame& LastFrame();

void SetDesktopHeight(int pixels);
void SetLogicalDpi(int dpi);

// Typed characters: queued as Char messages to the focus window on the next pump.
void TypeText(const std::string& cp1252);

// The calendar date and time the program sees (the system's until set).
void SetDate(const DateTime& date);

}  // namespace platform::headless
