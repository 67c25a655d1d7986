#include "engine/input.hpp"

#include <vector>

#include "engine/force.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"

namespace {

std::string Fehlertext(const platform::InputError& e) { return std::to_string(e.number) + " " + e.description; }

// Opens `info` as joystick `Joy`; false (with the error) when the device cannot be used.
bool JoystickOeffnen(int32_t Joy, const platform::JoystickInfo& info, platform::InputError& fehler) {
  JoyDevice[Joy] = platform::OpenJoystick(info.id, fehler);
  if (!JoyDevice[Joy]) return false;
  JoyName[Joy] = info.name;
  JoyGuid[Joy] = info.id;
  JoystickSetProps(Joy);
  JoyDa[Joy] = true;
  if (ForceDa[Joy]) ForceEffectCreate(Joy);
  return true;
}

void JoystickFreigeben(int32_t Joy) {
  if (JoyDevice[Joy]) platform::CloseJoystick(JoyDevice[Joy]);
  JoyDevice[Joy] = 0;
  JoyDa[Joy] = false;
  JoyEffektDa[Joy] = false;
}

void Setze(int32_t code, bool an) {
  if (an && code >= 0 && code <= KeyCodeMax) KeyState[code] = true;
}

}  // namespace

Richtungen PovRichtungen(int32_t Pov) {
  Richtungen r;
  if (Pov < 0) return r;
  r.Hoch = Pov > 30000 || Pov < 6000;
  r.Rechts = Pov > 3000 && Pov < 15000;
  r.Runter = Pov > 12000 && Pov < 24000;
  r.Links = Pov > 21000 && Pov < 33000;
  return r;
}

Richtungen AchsenRichtungen(int32_t X, int32_t Y) {
  Richtungen r;
  r.Links = X < 5000;
  r.Rechts = X > 5000;
  r.Hoch = Y < 5000;
  r.Runter = Y > 5000;
  return r;
}

void DInputInit() {
  KeyState.fill(false);
  TastaturPuffer.fill(0);
}

void JoystickInit() {
  platform::InputError fehler;
  // Joystick 0: the first force-feedback joystick, else the first of all.
  std::vector<platform::JoystickInfo> liste = platform::ListJoysticks(true);
  if (liste.empty()) {
    ForceDa[0] = ForceDa[1] = false;
    liste = platform::ListJoysticks(false);
    if (liste.empty()) {
      JoyDa[0] = JoyDa[1] = false;
      return;
    }
  } else {
    ForceDa[0] = true;
  }
  if (!JoystickOeffnen(0, liste[0], fehler)) {
    DebugLog("Joyinit 1 failed: " + Fehlertext(fehler));
    JoystickFreigeben(0);
    return;
  }

  // Joystick 1: the second force-feedback joystick, else the first other one.
  const platform::JoystickInfo* zweiter = nullptr;
  liste = platform::ListJoysticks(true);
  if (liste.size() > 1) {
    ForceDa[1] = true;
    zweiter = &liste[1];
  } else {
    ForceDa[1] = false;
    liste = platform::ListJoysticks(false);
    for (const platform::JoystickInfo& info : liste) {
      if (info.id != JoyGuid[0]) {
        zweiter = &info;
        break;
      }
    }
    if (!zweiter) {
      JoyDa[1] = false;
      return;
    }
  }
  if (!JoystickOeffnen(1, *zweiter, fehler)) {
    DebugLog("Joyinit 2 failed: " + Fehlertext(fehler));
    JoystickFreigeben(1);
  }
}

void JoystickSetProps(int32_t&) {}

void DInputPoll() {
  platform::ReadKeyboard(TastaturPuffer.data());
  for (int code = 1; code <= 211; ++code) KeyState[code] = TastaturPuffer[code] != 0;

  for (int j = 0; j < 2; ++j) {
    JoyPollNr = j;
    KeyState[JoyLinks[j]] = KeyState[JoyHoch[j]] = KeyState[JoyRechts[j]] = KeyState[JoyRunter[j]] = false;
    for (int b = 0; b < platform::kJoyButtons; ++b) KeyState[JoyKnopf[j][b]] = false;
    if (!JoyDa[j]) continue;

    platform::InputError fehler;
    if (!platform::ReadJoystick(JoyDevice[j], JoyState, fehler)) {
      // The joystick is gone for the rest of the run; the other one is read again from
      // the next poll on.
      DebugLog("GetJoyInfo failed: " + Fehlertext(fehler));
      JoystickFreigeben(j);
      return;
    }
    for (const Richtungen& r : {PovRichtungen(JoyState.pov), AchsenRichtungen(JoyState.x, JoyState.y)}) {
      Setze(JoyLinks[j], r.Links);
      Setze(JoyHoch[j], r.Hoch);
      Setze(JoyRechts[j], r.Rechts);
      Setze(JoyRunter[j], r.Runter);
    }
    for (int b = 0; b < platform::kJoyButtons; ++b) KeyState[JoyKnopf[j][b]] = JoyState.buttons[b] != 0;
  }
}

void DInputTerminate() {
  for (int j = 0; j < 2; ++j) {
    if (!JoyDa[j]) continue;
    if (ForceDa[j] && JoyEffektDa[j]) platform::DestroyForceEffect(JoyDevice[j]);
    JoystickFreigeben(j);
  }
  KeyState.fill(false);
}

std::string GetKeyName(int32_t Code) {
  std::string name = Code == 0 ? std::string() : std::to_string(Code);

  // Letters and digits where they sit on a German keyboard (Y and Z swapped against the
  // English layout).
  static const char kBuchstaben[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static const int kBuchstabenCodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                           49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 44, 21};
  for (int i = 0; i < 26; ++i)
    if (Code == kBuchstabenCodes[i]) name = std::string(1, kBuchstaben[i]);
  if (Code >= 2 && Code <= 10) name = std::string(1, static_cast<char>('1' + Code - 2));
  if (Code == 11) name = "0";

  struct Benannt {
    int32_t code;
    const char* name;
  };
  static const Benannt kNamen[] = {
      {200, "Up"},      {208, "Down"},     {203, "Left"},      {205, "Right"},     {79, "Num. 1"},
      {80, "Num. 2"},   {81, "Num. 3"},    {75, "Num. 4"},     {76, "Num. 5"},     {77, "Num. 6"},
      {71, "Num. 7"},   {72, "Num. 8"},    {73, "Num. 9"},     {82, "Num. 0"},     {156, "Enter"},
      {15, "Tab"},      {58, "Capslock"},  {42, "L. Shift"},   {29, "L. Ctrl"},    {56, "L. Alt"},
      {57, "Space"},    {184, "R. Alt"},   {157, "R. Ctrl"},   {54, "R. Shift"},   {14, "Backspace"},
      {210, "Insert"},  {211, "Entf."},    {207, "End"},       {199, "Pos 1"},     {201, "Page Up"},
      {209, "Page Down"}, {78, "+"},       {1, "Escape"},
  };
  for (const Benannt& b : kNamen)
    if (Code == b.code) name = b.name;

  // Joystick 1 comes second, so it names the shared code 247.
  for (int j = 0; j < 2; ++j) {
    std::string joy = "J" + std::to_string(j + 1);
    if (Code == JoyLinks[j]) name = joy + "(Left)";
    if (Code == JoyHoch[j]) name = joy + "(Up)";
    if (Code == JoyRechts[j]) name = joy + "(Right)";
    if (Code == JoyRunter[j]) name = joy + "(Down)";
    for (int b = 0; b < platform::kJoyButtons; ++b)
      if (Code == JoyKnopf[j][b]) name = joy + "(Button" + std::to_string(b + 1) + ")";
  }
  return name;
}
