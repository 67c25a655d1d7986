#include "player/score.hpp"

#include "engine/force.hpp"
#include "engine/sprites.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int32_t kPopupSchwelle = 1000;  // points that always show a pop-up
constexpr int32_t kWackelSchwelle = 1500;  // points that shake the screen
constexpr int32_t kPopupLeben = 30;        // frames
constexpr int32_t kZiffernAbstand = 8;     // pixels from one digit to the next

// One pop-up's number, right-aligned four pixels left of its x. A negative number has no
// digits to show.
void Ziffern(const PunkteAnzeige& a) {
  int32_t v = a.Wert;
  if (v < 0) return;
  int32_t versatz = 4;
  do {
    ShowSprite(TexZiffer[v % 10], CLng(double{a.X} - versatz), CLng(a.Y), false);
    versatz += kZiffernAbstand;
    v /= 10;
  } while (v != 0);
}

}  // namespace

void AddPunkte(int32_t Punkte, float x, float y, float SY, int32_t VeskNr) {
  if (VeskNr < 0 || VeskNr > 1) return;
  const double d = LetzterSpieler * 0.5 + 1;
  const double f = ComboFaktor[VeskNr];
  SpielerDaten& s = Spieler[VeskNr];
  s.Punkte = CLng(f * Punkte / d + s.Punkte);
  if (ComboTreffer[VeskNr] > 0) {
    ComboBonus[VeskNr] = CLng((f * Punkte - Punkte) / d + ComboBonus[VeskNr]);
  } else {
    ComboBonus[VeskNr] = 0;
  }
  if (Punkte >= kWackelSchwelle) Erschuetterung = CLng(static_cast<double>(Erschuetterung) + IDiv(Punkte, 500));

  if (!(f > 1.0 || Punkte >= kPopupSchwelle)) return;
  // The number shown is the award before the players share it.
  const int32_t wert = CLng(Punkte * f);
  if (wert < 0) return;
  const int32_t k = PunkteAnzeigen.Claim();
  if (k < 0) return;
  PunkteAnzeige& a = PunkteAnzeigen[k];
  a.X = x;
  a.Y = y - 4.0f;
  a.SpeedY = SY;
  a.Alter = 0;
  a.Wert = wert;
}

void KillPunkte(int32_t Nr) { PunkteAnzeigen.Kill(Nr); }

void SpielMovePunkte() {
  const int32_t letzte = PunkteMax;
  for (int32_t k = 0; k <= letzte && k <= PunkteAnzeigen.Kapazitaet; ++k) {
    PunkteAnzeige& a = PunkteAnzeigen[k];
    if (a.Aktiv == VBFalse) continue;
    if (Rendern) Ziffern(a);
    a.Y += a.SpeedY;
    a.Alter += 1;
    if (a.Alter >= kPopupLeben) KillPunkte(k);
  }
}
