#include "engine/keys.hpp"

#include "campaign/ticker_state.hpp"
#include "engine/input.hpp"
#include "engine/render.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"

namespace {

bool Gedrueckt(int32_t code) { return code >= 1 && code <= KeyCodeMax && KeyState[code]; }

// The first player's level-end flight (or a special sequence) locks the weapons of all
// key sets.
bool WaffenFrei() { return Spieler[0].Status == 0; }

}  // namespace

bool GetTasteSub(int32_t Taste, int32_t Index) {
  if (Taste < 0 || Taste > 9 || Index < 0 || Index > 2) return false;
  bool b0 = Gedrueckt(KeyConfig.KeyMap(Taste, Index, 0));
  bool b1 = Gedrueckt(KeyConfig.KeyMap(Taste, Index, 1));
  return b0 || b1;
}

bool TasteLinks(int32_t Index) { return GetTasteSub(AktionLinks, Index); }
bool TasteHoch(int32_t Index) { return GetTasteSub(AktionHoch, Index); }
bool TasteRechts(int32_t Index) { return GetTasteSub(AktionRechts, Index); }
bool TasteRunter(int32_t Index) { return GetTasteSub(AktionRunter, Index); }
bool TasteSchießen(int32_t Index) { return WaffenFrei() && GetTasteSub(AktionSchießen, Index); }
bool TasteBeam(int32_t Index) { return WaffenFrei() && GetTasteSub(AktionBeam, Index); }
bool TastePartikelWechsel(int32_t Index) { return GetTasteSub(AktionPartikelWechsel, Index); }
bool TasteBeamWechsel(int32_t Index) { return GetTasteSub(AktionBeamWechsel, Index); }
bool TasteDrehen(int32_t Index) { return GetTasteSub(AktionDrehen, Index); }
bool TasteSuperNova(int32_t Index) { return GetTasteSub(AktionSuperNova, Index) && WaffenFrei(); }

bool TasteEingabe(int32_t Index) {
  bool schiessen = TasteSchießen(Index);
  bool beam = TasteBeam(Index);
  return schiessen || beam || KeyState[57] || KeyState[28];
}

bool TasteZurück(int32_t Index) {
  bool pod = TastePartikelWechsel(Index);
  bool modus = TasteBeamWechsel(Index);
  return pod || modus || KeyState[1];
}

bool TasteEscape() {
  bool r = false;
  for (int32_t geraet = 0; geraet < 3; ++geraet)
    if (Gedrueckt(KeyConfig.PauseKey[geraet])) r = true;
  return r;
}

void Form_KeyPress(int16_t KeyAscii) { TastenZeichen = KeyAscii; }

void Form_KeyUp(int16_t KeyCode, int16_t) {
  if (KeyCode == 114) {
    Antizeitverschiebung = !Antizeitverschiebung;
    AddMsg(std::string("Antizeitverschiebung ") + BoolText(Antizeitverschiebung));
  } else if (KeyCode == 115) {
    Showinfo = !Showinfo;
    AddMsg(std::string("Showinfo ") + BoolText(Showinfo));
  }
}
