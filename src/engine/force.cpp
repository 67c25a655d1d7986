#include "engine/force.hpp"

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "platform/input.hpp"
#include "player/players_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"

namespace {

// ForceStart and ForceStop only touch a joystick that is still open with its effect.
bool Steuerbar(int32_t Joy) { return Joy >= 0 && Joy <= 1 && ForceAn[Joy] && JoyDa[Joy] && JoyEffektDa[Joy]; }

// Key set -> input device: 0 keyboard, 1 and 2 the joysticks; anything else counts as
// the keyboard.
int32_t Geraet(int32_t keySet) {
  if (keySet < 0 || keySet > 2) return 0;
  int32_t d = KeyConfig.KeyDevice[keySet];
  return d >= 0 && d <= 2 ? d : 0;
}

}  // namespace

void AddForce(int32_t Stärke, int32_t time, int32_t VeskNr) {
  if (VeskNr != 0 && VeskNr != 1) {
    AddForce(Stärke, time, 0);
    AddForce(Stärke, time, 1);
    return;
  }
  for (int i = 0; i < ForceSlots; ++i) {
    if (ForceTime[i] < 1) {
      ForceTime[i] = time;
      ForcePower[i] = Stärke;
      ForcePlayer[i] = VeskNr;
      return;
    }
  }
}

int32_t ForceMagnitude(int32_t Level, int32_t Basis) {
  if (Level > 5) Level = 5;
  return CLng((static_cast<double>(Level) - 1) * (10000.0 - Basis) / 4 + Basis);
}

void DoForce() {
  int32_t level[2] = {0, 0};
  for (int i = 0; i < ForceSlots; ++i) {
    if (ForceTime[i] <= 0) continue;
    --ForceTime[i];
    int32_t device = Geraet(ForcePlayer[i] + LetzterSpieler);
    if (device > 0) level[device - 1] += ForcePower[i];
  }
  for (int32_t j = 0; j < 2; ++j) {
    if (level[j] != 0) {
      int32_t magnitude = ForceMagnitude(level[j], ForceBasis[j]);
      if (magnitude != ForceWert[j]) ForceStart(magnitude, j);
    } else if (ForceWert[j] > 0) {
      ForceStop(j);
    }
  }
}

void ForceStart(int32_t Force) {
  ForceStart(Force, 0);
  ForceStart(Force, 1);
}

void ForceStart(int32_t Force, int32_t Joy) {
  if (!Steuerbar(Joy)) return;
  platform::JoyHandle dev = JoyDevice[Joy];
  platform::PauseForce(dev);
  ForceWert[Joy] = Force;
  JoyEffektDaten[Joy].Dauer = -1;
  JoyEffektDaten[Joy].Magnitude = Force;
  platform::SetForceMagnitude(dev, Force);
  platform::StartForceEffect(dev);
  platform::ContinueForce(dev);
}

void ForceStop() {
  ForceStop(0);
  ForceStop(1);
}

void ForceStop(int32_t Joy) {
  if (!Steuerbar(Joy)) return;
  platform::JoyHandle dev = JoyDevice[Joy];
  ForceWert[Joy] = 0;
  JoyEffektDaten[Joy].Magnitude = 0;
  platform::SetForceMagnitude(dev, 0);
  platform::PauseForce(dev);
}

EffektDaten ForceEffectParams(int32_t Joy) {
  JoyEffektDaten[Joy] = EffektDaten();
  return JoyEffektDaten[Joy];
}

void ForceEffectCreate(int32_t Joy) {
  if (Joy < 0 || Joy > 1) return;
  std::string art;
  platform::InputError fehler;
  ForceEffectParams(Joy);
  switch (platform::CreateForceEffect(JoyDevice[Joy], art, fehler)) {
    case platform::ForceEffectResult::Created:
      JoyEffektGuid[Joy] = art;
      JoyEffektDa[Joy] = true;
      break;
    case platform::ForceEffectResult::NoneSuitable:
      break;
    case platform::ForceEffectResult::Failed:
      DebugLog("Forcefeedbackinit failed: " + std::to_string(fehler.number) + " " + fehler.description);
      ForceDa[Joy] = false;
      break;
  }
}

void ShakeVersatz(int32_t Zaehler, int32_t& dx, int32_t& dy) {
  if (Zaehler < 19) {
    dx = CLng(Rnd() * 7) - 3;
    dy = CLng(Rnd() * 7) - 3;
  } else {
    dx = CLng(Rnd() * 13) - 6;
    dy = CLng(Rnd() * 13) - 6;
  }
}

ShakeBlit ShakeRechteck(int32_t dx, int32_t dy) {
  ShakeBlit b;
  if (dx > 0 && dy >= 0) {
    b = {true, dx, dy, kSpielfeldBreite, kSpielfeldHoehe, 0, 0};
  } else if (dx > 0 && dy < 0) {
    b = {true, dx, 0, kSpielfeldBreite, kSpielfeldHoehe + dy, 0, -dy};
  } else if (dx <= 0 && dy > 0) {
    b = {true, 0, dy, kSpielfeldBreite + dx, kSpielfeldHoehe, -dx, 0};
  } else if (dx != 0 || dy != 0) {
    b = {true, 0, 0, kSpielfeldBreite + dx, kSpielfeldHoehe + dy, -dx, -dy};
  }
  return b;
}

void ShakeBlitAusfuehren(const ShakeBlit& b) {
  if (!BackBuffer) return;
  // The blitter copies overlapping rectangles of one surface as if through a buffer; a
  // failed blit (a locked back buffer) just leaves the frame unshaken.
  platform::Rect quelle{b.Left, b.Top, b.Right, b.Bottom};
  BackBuffer->BltFast(b.ZielX, b.ZielY, *BackBuffer, &quelle, platform::DDBLTFAST_NOCOLORKEY);
}

void SpielErschücterung() {
  if (Erschuetterung <= 0) return;
  if (Erschuetterung > 50) {
    AddForce(5, 1, -1);
  } else if (Erschuetterung >= 20) {
    AddForce(3, 1, -1);
  } else {
    AddForce(1, 1, -1);
  }
  --Erschuetterung;
  if (!Rendern) return;
  int32_t dx, dy;
  ShakeVersatz(Erschuetterung, dx, dy);
  ShakeBlit b = ShakeRechteck(dx, dy);
  if (b.Blit) ShakeBlitAusfuehren(b);
}
