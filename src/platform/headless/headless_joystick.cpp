// Scripted joysticks for tests, and a record of the force-feedback commands.
#include <deque>
#include <map>

#include "platform/headless/headless.hpp"
#include "platform/input.hpp"

namespace platform {
namespace {

struct Joystick {
  headless::VirtualJoystick desc;
  std::deque<JoystickState> script;
  bool unplugged = false;
};

struct Opened {
  int index;
  bool effect = false;
};

struct JoyState {
  std::vector<Joystick> attached;
  std::map<JoyHandle, Opened> opened;
  JoyHandle nextHandle = 1;
  std::vector<headless::ForceRecord> force;
};

JoyState& J() {
  static JoyState s;
  return s;
}

std::string IdOf(int index) { return "{" + std::to_string(index + 1) + "}"; }

Opened* Find(JoyHandle h) {
  auto it = J().opened.find(h);
  return it == J().opened.end() ? nullptr : &it->second;
}

bool Record(JoyHandle h, const char* command, int32_t magnitude = 0) {
  Opened* o = Find(h);
  if (!o || !o->effect) return false;
  J().force.push_back({o->index, command, magnitude});
  return true;
}

}  // namespace

namespace headless {

int AttachJoystick(const VirtualJoystick& joystick) {
  J().attached.push_back({joystick, {}, false});
  return static_cast<int>(J().attached.size()) - 1;
}

void QueueJoystick(int index, const JoystickState& state, int reads) {
  for (int i = 0; i < reads; ++i) J().attached.at(index).script.push_back(state);
}

void UnplugJoystick(int index) { J().attached.at(index).unplugged = true; }
int OpenJoystickCount() { return static_cast<int>(J().opened.size()); }
void ResetJoysticks() { J() = JoyState(); }
const std::vector<ForceRecord>& ForceCommands() { return J().force; }
void ClearForceCommands() { J().force.clear(); }

}  // namespace headless

std::vector<JoystickInfo> ListJoysticks(bool forceFeedbackOnly) {
  std::vector<JoystickInfo> list;
  for (size_t i = 0; i < J().attached.size(); ++i) {
    const Joystick& j = J().attached[i];
    if (j.unplugged || (forceFeedbackOnly && !j.desc.forceFeedback)) continue;
    list.push_back({j.desc.name, IdOf(static_cast<int>(i)), j.desc.forceFeedback});
  }
  return list;
}

JoyHandle OpenJoystick(const std::string& id, InputError& error) {
  for (size_t i = 0; i < J().attached.size(); ++i) {
    if (IdOf(static_cast<int>(i)) != id) continue;
    if (J().attached[i].desc.openFails || J().attached[i].unplugged) break;
    JoyHandle h = J().nextHandle++;
    J().opened[h] = {static_cast<int>(i)};
    return h;
  }
  error = {-2147024809, "The joystick cannot be opened"};
  return 0;
}

bool ReadJoystick(JoyHandle h, JoystickState& state, InputError& error) {
  Opened* o = Find(h);
  if (!o || J().attached[o->index].unplugged) {
    error = {-2147024866, "The joystick was unplugged"};
    return false;
  }
  auto& script = J().attached[o->index].script;
  state = JoystickState();
  if (!script.empty()) {
    state = script.front();
    script.pop_front();
  }
  return true;
}

void CloseJoystick(JoyHandle h) { J().opened.erase(h); }

ForceEffectResult CreateForceEffect(JoyHandle h, std::string& kind, InputError& error) {
  Opened* o = Find(h);
  ForceEffectResult result = o ? J().attached[o->index].desc.effect : ForceEffectResult::Failed;
  if (!o || !J().attached[o->index].desc.forceFeedback) result = ForceEffectResult::NoneSuitable;
  if (!o) result = ForceEffectResult::Failed;
  if (result == ForceEffectResult::Failed) {
    error = {-2147467259, "The force effect cannot be created"};
    return result;
  }
  if (result == ForceEffectResult::Created) {
    o->effect = true;
    kind = "Constant force";
    J().force.push_back({o->index, "create", 10000});
  }
  return result;
}

bool SetForceMagnitude(JoyHandle h, int32_t magnitude) { return Record(h, "magnitude", magnitude); }
bool StartForceEffect(JoyHandle h) { return Record(h, "start"); }
bool PauseForce(JoyHandle h) { return Record(h, "pause"); }
bool ContinueForce(JoyHandle h) { return Record(h, "continue"); }

void DestroyForceEffect(JoyHandle h) {
  if (Record(h, "destroy")) Find(h)->effect = false;
}

}  // namespace platform
