#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <stdexcept>

#include "platform/backend.hpp"
#include "platform/headless/headless.hpp"
#include "platform/input.hpp"
#include "platform/mixer.hpp"
#include "platform/msgbox.hpp"

namespace platform {
namespace {

struct Timed {
  uint64_t tick;
  uint64_t order;
  std::function<void()> action;
};

struct State {
  uint64_t now = 0;
  std::deque<std::vector<int>> keys;
  std::vector<Timed> timed;
  uint64_t timedOrder = 0;
  std::deque<int> answers;
  std::vector<headless::RecordedBox> boxes;
  std::vector<DialogReport> dialogs;
  bool runDialogs = false;
  headless::RecordedFrame frame;
  int desktopHeight = 1080;
  int dpi = 0;
  std::string typed;
  std::optional<DateTime> date;
  bool noAudioDevice = false;
  bool canShape = true, canOpacity = true;
  std::string noDisplay, presentFailure;  // the window system's reasons; empty: it works
};

State& S() {
  static State s;
  return s;
}

void RunDueActions() {
  auto& s = S();
  for (;;) {
    auto it = std::min_element(s.timed.begin(), s.timed.end(), [](const Timed& a, const Timed& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    if (it == s.timed.end() || it->tick > s.now) return;
    auto action = std::move(it->action);
    s.timed.erase(it);
    action();
  }
}

}  // namespace

namespace headless {

void Reset() {
  S() = State();
  ResetJoysticks();
}
void SetClock(uint64_t tick) { S().now = tick; }
void AdvanceClock(uint64_t ms) { S().now += ms; }

void QueueKeys(const std::vector<int>& codesDown, int reads) {
  for (int i = 0; i < reads; ++i) S().keys.push_back(codesDown);
}
void QueueKeys(std::initializer_list<int> codesDown, int reads) { QueueKeys(std::vector<int>(codesDown), reads); }
size_t KeyReadsLeft() { return S().keys.size(); }

void At(uint64_t tick, std::function<void()> action) {
  S().timed.push_back({tick, S().timedOrder++, std::move(action)});
}

void QueueAnswer(int answer) { S().answers.push_back(answer); }
const std::vector<RecordedBox>& MessageBoxes() { return S().boxes; }
const std::vector<DialogReport>& Dialogs() { return S().dialogs; }
void SetRunDialogs(bool run) { S().runDialogs = run; }
const RecordedFrame& LastFrame() { return S().frame; }
void SetNoDisplay(const std::string& reason) { S().noDisplay = reason; }
void SetPresentFailure(const std::string& reason) { S().presentFailure = reason; }
void SetDesktopHeight(int pixels) { S().desktopHeight = pixels; }
void SetLogicalDpi(int dpi) { S().dpi = dpi; }
void TypeText(const std::string& cp1252) { S().typed += cp1252; }
void SetDate(const DateTime& date) { S().date = date; }
void SetCanShapeWindows(bool can) { S().canShape = can; }
void SetCanSetOpacity(bool can) { S().canOpacity = can; }

// The output's open state lives outside State: a test's Reset leaves the mixer's device
// as it is.
namespace {
bool g_audioOpen = false;
}

std::vector<int16_t> MixAudio(size_t frames) {
  std::vector<int16_t> out(2 * frames);
  if (frames) audio::Mix(out.data(), frames);
  return out;
}
void SetNoAudioDevice(bool missing) { S().noAudioDevice = missing; }
bool AudioOpen() { return g_audioOpen; }

}  // namespace headless

namespace backend {

uint64_t Ticks() { return S().now; }
void SpinUntil(uint64_t tick) { S().now = std::max(S().now, tick); }
// Like the real backend, a rest lasts a millisecond at most, so a pumping loop sees the
// events that fall inside its wait.
void IdleUntil(uint64_t tick) {
  if (tick > S().now) S().now = std::min(tick, S().now + 1);
}

void WindowCreated(HWnd, const WindowState&) {}
void WindowDestroyed(HWnd) {}
bool WindowHasDisplay(HWnd) { return S().noDisplay.empty(); }
bool PreparePresent(HWnd) { return S().noDisplay.empty() && S().presentFailure.empty(); }
std::string LastError() { return !S().noDisplay.empty() ? S().noDisplay : S().presentFailure; }
void WindowChanged(HWnd hwnd, const WindowState& state) {
  // A shown window takes the focus, as a freshly shown window does on a desktop.
  if (state.visible && !state.minimised && !state.desc.toolWindow && GetFocus() != hwnd) detail::NoteFocus(hwnd);
  if ((!state.visible || state.minimised) && GetFocus() == hwnd) detail::NoteFocus(0);
}
bool CanSetOpacity() { return S().canOpacity; }
bool CanShapeWindow(HWnd) { return S().canShape; }

void PumpEvents() {
  RunDueActions();
  auto& s = S();
  if (!s.typed.empty()) {
    HWnd focus = GetFocus();
    for (unsigned char c : s.typed)
      if (focus) PostMessage(focus, wm::Char, c, 0);
    s.typed.clear();
  }
}

void WaitEvents(uint64_t untilTick) {
  auto& s = S();
  uint64_t next = untilTick;
  for (const Timed& t : s.timed) next = std::min(next, t.tick);
  if (next == UINT64_MAX) throw std::logic_error("headless: the program waits for an event that never comes");
  s.now = std::max(s.now, next);
}

void Present(HWnd, const FrameView& frame) {
  auto& f = S().frame;
  f.width = frame.width;
  f.height = frame.height;
  f.pitch = frame.pitch;
  f.bitsPerPixel = frame.bitsPerPixel;
  const uint8_t* p = static_cast<const uint8_t*>(frame.pixels);
  f.pixels.assign(p, p + static_cast<size_t>(frame.pitch) * frame.height);
  ++f.count;
}

int ShowMessageBox(const std::string& text, const std::string& title, int style) {
  auto& s = S();
  int answer = DefaultAnswer(style);
  if (!s.answers.empty()) {
    answer = s.answers.front();
    s.answers.pop_front();
  }
  s.boxes.push_back({text, title, style, answer});
  return answer;
}

bool AnnounceDialog(const DialogReport& report) {
  S().dialogs.push_back(report);
  return S().runDialogs;
}

bool OpenAudio(std::string& error) {
  if (S().noAudioDevice) {
    error = "no audio device";
    return false;
  }
  headless::g_audioOpen = true;
  return true;
}
void CloseAudio() { headless::g_audioOpen = false; }
void LockAudio() {}
void UnlockAudio() {}

int DesktopHeight() { return S().desktopHeight; }
int LogicalDpi() { return S().dpi; }
DateTime Now() { return S().date ? *S().date : SystemNow(); }

}  // namespace backend

void ReadKeyboard(uint8_t state[kKeyboardCodes]) {
  std::fill(state, state + kKeyboardCodes, 0);
  auto& s = S();
  if (s.keys.empty()) return;
  for (int code : s.keys.front())
    if (code > 0 && code < kKeyboardCodes) state[code] = 0x80;
  s.keys.pop_front();
}

}  // namespace platform
