// Joysticks and force feedback over SDL's raw joystick and haptic parts.
#include <SDL.h>

#include <map>
#include <string>

#include "platform/input.hpp"

namespace platform {
namespace {

// A joystick without a constant-force effect rumbles instead. SDL ends a rumble after
// its duration, while the game only says when the strength changes: a running rumble is
// sent again before it runs out. A pause of the rumble takes effect with the next command
// or read, so that re-aiming (pause, new strength, continue) is one change on the device.
constexpr Uint32 kRumbleMs = 2000;
constexpr Uint64 kRumbleRefreshMs = 1000;

struct Device {
  SDL_Joystick* joystick = nullptr;
  SDL_Haptic* haptic = nullptr;
  int effect = -1;             // haptic effect id
  bool rumble = false;         // force goes through the rumble motors
  bool nativePause = false;    // the haptic device can pause itself
  bool started = false, paused = false;
  int32_t magnitude = 10000;
  uint16_t rumbleSent = 0;
  Uint64 rumbleAt = 0;
};

std::map<JoyHandle, Device>& Opened() {
  static std::map<JoyHandle, Device> opened;
  return opened;
}

JoyHandle g_nextHandle = 1;

bool EnsureJoysticks() {
  static int state = 0;  // 0 not tried, 1 up, -1 failed
  if (state == 0) {
    // Joysticks are read whether or not a window of ours has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    state = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0 ? 1 : -1;
    if (state > 0) SDL_InitSubSystem(SDL_INIT_HAPTIC);  // optional: rumble works without it
  }
  return state > 0;
}

InputError LastError() { return {-1, SDL_GetError()}; }

std::string IdOf(SDL_JoystickID id) { return "{" + std::to_string(id) + "}"; }

bool HasConstantForce(SDL_Joystick* joy) {
  if (SDL_WasInit(SDL_INIT_HAPTIC) == 0 || SDL_JoystickIsHaptic(joy) != SDL_TRUE) return false;
  SDL_Haptic* h = SDL_HapticOpenFromJoystick(joy);
  if (!h) return false;
  bool constant = (SDL_HapticQuery(h) & SDL_HAPTIC_CONSTANT) != 0;
  SDL_HapticClose(h);
  return constant;
}

bool CanPush(SDL_Joystick* joy) { return HasConstantForce(joy) || SDL_JoystickHasRumble(joy) == SDL_TRUE; }

Device* Find(JoyHandle h) {
  auto it = Opened().find(h);
  return it == Opened().end() ? nullptr : &it->second;
}

SDL_HapticEffect ConstantEffect(int32_t magnitude) {
  SDL_HapticEffect e;
  SDL_memset(&e, 0, sizeof e);
  e.type = SDL_HAPTIC_CONSTANT;
  e.constant.type = SDL_HAPTIC_CONSTANT;
  e.constant.direction.type = SDL_HAPTIC_POLAR;
  e.constant.direction.dir[0] = 0;
  e.constant.length = SDL_HAPTIC_INFINITY;
  e.constant.level = static_cast<Sint16>(ForceLevel(magnitude));
  return e;
}

void SendRumble(Device& j, bool refresh) {
  uint16_t want = j.started && !j.paused ? RumbleStrength(j.magnitude) : 0;
  if (want == j.rumbleSent && !(refresh && want > 0)) return;
  SDL_JoystickRumble(j.joystick, want, want, want ? kRumbleMs : 0);
  j.rumbleSent = want;
  j.rumbleAt = SDL_GetTicks64();
}

void EndEffect(Device& j) {
  if (j.rumble && j.rumbleSent) SDL_JoystickRumble(j.joystick, 0, 0, 0);
  if (j.haptic) {
    if (j.effect >= 0) SDL_HapticDestroyEffect(j.haptic, j.effect);
    SDL_HapticClose(j.haptic);
  }
  j.haptic = nullptr;
  j.effect = -1;
  j.rumble = false;
  j.rumbleSent = 0;
  j.started = j.paused = false;
}

}  // namespace

std::vector<JoystickInfo> ListJoysticks(bool forceFeedbackOnly) {
  std::vector<JoystickInfo> list;
  if (!EnsureJoysticks()) return list;
  SDL_JoystickUpdate();
  int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) {
    SDL_Joystick* joy = SDL_JoystickOpen(i);
    if (!joy) continue;
    JoystickInfo info;
    const char* name = SDL_JoystickName(joy);
    info.name = name ? name : "";
    info.id = IdOf(SDL_JoystickInstanceID(joy));
    info.forceFeedback = CanPush(joy);
    SDL_JoystickClose(joy);
    if (!forceFeedbackOnly || info.forceFeedback) list.push_back(std::move(info));
  }
  return list;
}

JoyHandle OpenJoystick(const std::string& id, InputError& error) {
  if (!EnsureJoysticks()) {
    error = LastError();
    return 0;
  }
  int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) {
    if (IdOf(SDL_JoystickGetDeviceInstanceID(i)) != id) continue;
    SDL_Joystick* joy = SDL_JoystickOpen(i);
    if (!joy) {
      error = LastError();
      return 0;
    }
    JoyHandle h = g_nextHandle++;
    Opened()[h].joystick = joy;
    return h;
  }
  error = {-1, "Joystick " + id + " is not attached"};
  return 0;
}

bool ReadJoystick(JoyHandle h, JoystickState& state, InputError& error) {
  Device* j = Find(h);
  if (!j) {
    error = {-1, "Joystick not open"};
    return false;
  }
  SDL_JoystickUpdate();
  if (SDL_JoystickGetAttached(j->joystick) != SDL_TRUE) {
    error = {-1, "Joystick unplugged"};
    return false;
  }
  state = JoystickState();
  if (SDL_JoystickNumAxes(j->joystick) > 0) state.x = AxisToRange(SDL_JoystickGetAxis(j->joystick, 0));
  if (SDL_JoystickNumAxes(j->joystick) > 1) state.y = AxisToRange(SDL_JoystickGetAxis(j->joystick, 1));
  if (SDL_JoystickNumHats(j->joystick) > 0) state.pov = HatToPov(SDL_JoystickGetHat(j->joystick, 0));
  int buttons = SDL_JoystickNumButtons(j->joystick);
  for (int b = 0; b < kJoyButtons && b < buttons; ++b)
    state.buttons[b] = SDL_JoystickGetButton(j->joystick, b) ? 0x80 : 0;
  if (j->rumble) SendRumble(*j, SDL_GetTicks64() - j->rumbleAt >= kRumbleRefreshMs);
  return true;
}

void CloseJoystick(JoyHandle h) {
  auto it = Opened().find(h);
  if (it == Opened().end()) return;
  EndEffect(it->second);
  SDL_JoystickClose(it->second.joystick);
  Opened().erase(it);
}

ForceEffectResult CreateForceEffect(JoyHandle h, std::string& kind, InputError& error) {
  Device* j = Find(h);
  if (!j) {
    error = {-1, "Joystick not open"};
    return ForceEffectResult::Failed;
  }
  EndEffect(*j);
  j->magnitude = 10000;
  if (HasConstantForce(j->joystick)) {
    j->haptic = SDL_HapticOpenFromJoystick(j->joystick);
    if (!j->haptic) {
      error = LastError();
      return ForceEffectResult::Failed;
    }
    unsigned features = SDL_HapticQuery(j->haptic);
    if (features & SDL_HAPTIC_GAIN) SDL_HapticSetGain(j->haptic, 100);
    j->nativePause = (features & SDL_HAPTIC_PAUSE) != 0;
    SDL_HapticEffect e = ConstantEffect(j->magnitude);
    j->effect = SDL_HapticNewEffect(j->haptic, &e);
    if (j->effect < 0) {
      error = LastError();
      EndEffect(*j);
      return ForceEffectResult::Failed;
    }
    kind = "Constant force";
    return ForceEffectResult::Created;
  }
  if (SDL_JoystickHasRumble(j->joystick) == SDL_TRUE) {
    j->rumble = true;
    kind = "Rumble";
    return ForceEffectResult::Created;
  }
  return ForceEffectResult::NoneSuitable;
}

bool SetForceMagnitude(JoyHandle h, int32_t magnitude) {
  Device* j = Find(h);
  if (!j || (!j->rumble && j->effect < 0)) return false;
  j->magnitude = magnitude;
  if (j->rumble) {
    if (!j->paused) SendRumble(*j, false);
    return true;
  }
  SDL_HapticEffect e = ConstantEffect(magnitude);
  return SDL_HapticUpdateEffect(j->haptic, j->effect, &e) == 0;
}

bool StartForceEffect(JoyHandle h) {
  Device* j = Find(h);
  if (!j || (!j->rumble && j->effect < 0)) return false;
  j->started = true;
  if (j->rumble) {
    if (!j->paused) SendRumble(*j, false);
    return true;
  }
  // A device that cannot pause itself keeps its effect stopped until it continues.
  if (!j->nativePause && j->paused) return true;
  return SDL_HapticRunEffect(j->haptic, j->effect, 1) == 0;
}

bool PauseForce(JoyHandle h) {
  Device* j = Find(h);
  if (!j || (!j->rumble && j->effect < 0)) return false;
  j->paused = true;
  if (j->rumble) return true;
  if (j->nativePause) return SDL_HapticPause(j->haptic) == 0;
  return SDL_HapticStopEffect(j->haptic, j->effect) == 0;
}

bool ContinueForce(JoyHandle h) {
  Device* j = Find(h);
  if (!j || (!j->rumble && j->effect < 0)) return false;
  j->paused = false;
  if (j->rumble) {
    SendRumble(*j, false);
    return true;
  }
  if (j->nativePause) return SDL_HapticUnpause(j->haptic) == 0;
  return !j->started || SDL_HapticRunEffect(j->haptic, j->effect, 1) == 0;
}

void DestroyForceEffect(JoyHandle h) {
  if (Device* j = Find(h)) EndEffect(*j);
}

}  // namespace platform
