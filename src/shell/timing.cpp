#include "shell/timing.hpp"

#include "campaign/game_loop_state.hpp"
#include "platform/clock.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "world/particles_state.hpp"

namespace {

int32_t g_spaet = 0;  // late frames drawn after moving the frame clock; only grows

// 1-based position of `what` in `text` at or after `start`, 0 when it is not there.
size_t InStr(size_t start, const std::string& text, const std::string& what) {
  if (what.empty() || start > text.size()) return 0;
  size_t p = text.find(what, start - 1);
  return p == std::string::npos ? 0 : p + 1;
}

void SetPriority(int priorityClass, int threadPriority) {
  int thread = platform::GetThreadPriority();
  int cls = platform::GetPriorityClass();
  if (thread != 0x7FFFFFFF && cls != 0) {
    platform::SetPriorityClass(priorityClass);
    platform::SetThreadPriority(threadPriority);
  }
}

}  // namespace

std::string GetField(const std::string& Text, int32_t Index, const std::string& Delim,
                     const std::optional<std::string>& Delim2) {
  size_t position = 0;
  int32_t count = 0;
  std::string field;
  do {
    size_t start = position + 1;
    position = InStr(start, Text, Delim);
    if (Delim2) {
      size_t p2 = InStr(start, Text, *Delim2);
      if (p2 != 0 && (position == 0 || p2 < position)) position = p2;
    }
    field = position == 0 ? (start <= Text.size() ? Text.substr(start - 1) : std::string())
                          : Text.substr(start - 1, position - start);
    ++count;
  } while (position != 0 && count != Index);
  if (count != Index) return " ";
  return TrimBlanks(field);
}

// Without frame skipping every frame is drawn and the loop waits, pumping messages, for
// the frame's end. With it (the game loop) a late frame is not drawn, but never two in a
// row; the frame clock advances by `Ti`, so short delays are made up by the next frames.
void Wait(int32_t Ti) {
  MyDoEvents();
  if (!FrameSkipAn) {
    Rendern = true;
    for (;;) {
      int64_t now = GetTickCount();
      if (LetzterTick + Ti <= now) break;
      MyDoEvents();
      platform::IdleUntil(static_cast<uint64_t>(LetzterTick + Ti));
    }
    LetzterTick = GetTickCount();
    return;
  }
  int64_t now = GetTickCount();
  bool late = LetzterTick + Ti < now;
  if (late && Rendern) {
    Rendern = false;
    LetzterTick += Ti;
  } else {
    if (late) {
      ++g_spaet;
      LetzterTick = GetTickCount() - Ti + 1;
    }
    Rendern = true;
    int64_t due = LetzterTick + Ti;
    if (due > GetTickCount()) platform::SpinUntil(static_cast<uint64_t>(due));
    LetzterTick += Ti;
  }
  if (Showinfo) {
    DebugZeile = "Tick:" + std::to_string(LevelTick + 1) + " BPar:" + std::to_string(BigPartikelMax + 1) +
                 " Par1:" + std::to_string(Partikel[1].Max + 1) + " Par0:" + std::to_string(Partikel[0].Max + 1) +
                 " Blasen:" + std::to_string(Blasen.Max + 1) + " FSkip:" + std::to_string(g_spaet);
  }
}

void ResetFrameClock() {
  LetzterTick = 0;
  Rendern = true;
  FrameSkipAn = false;
  Showinfo = false;
  DebugZeile.clear();
  g_spaet = 0;
}

void MyDoEvents() {
  platform::Msg msg;
  while (platform::PeekMessage(msg)) {
    platform::TranslateMessage(msg);
    platform::DispatchMessage(msg);
  }
}

void SetHighPriority() { SetPriority(platform::kPriorityClassNormal, 1); }
void SetLowPriority() { SetPriority(platform::kPriorityClassIdle, -2); }
void SetNormalPriority() { SetPriority(platform::kPriorityClassNormal, 0); }

int32_t GetDesktopHeight() { return platform::DesktopHeight(); }

int64_t GetTickCount() { return static_cast<int64_t>(platform::TickCount()); }
