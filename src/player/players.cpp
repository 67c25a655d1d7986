#include "player/players.hpp"

// The ships' own set-up comes with the player subsystem; these keep the records sane.
void VeskReset() {
  for (SpielerDaten& s : Spieler) {
    s.Leben = 3;
    s.Punkte = 0;
    s.EnergieMax = 100.0f;
    s.Energie = s.EnergieMax;
  }
}

void VeskInit(int32_t VeskNr) {
  if (VeskNr < 0 || VeskNr > 1) return;
  SpielerDaten& s = Spieler[VeskNr];
  s.Tod = 0;
  s.Energie = s.EnergieMax;
  s.DriftX = s.DriftY = 0;
  s.Winkel = 0;
}
