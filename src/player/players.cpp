#include "player/players.hpp"

#include "player/drones_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/radio.hpp"
#include "world/radio_state.hpp"

namespace {

// The new-game pods: 0 and 1 owned and unarmed, 2 and 3 guard pods nobody owns yet.
struct PodStart {
  int32_t Winkel;
  int16_t Besitz;
  int32_t Waffe;
};
constexpr PodStart kPodStart[4] = {{180, VBTrue, 0}, {0, VBTrue, 0}, {90, VBFalse, -1}, {270, VBFalse, -1}};
constexpr int32_t kPodOhneWaffeBild = 11;

}  // namespace

Rechteck SchiffKasten(int32_t p, double x, double y, double s) {
  const SchiffDaten& b = Schiff[p];
  return {CLng(x + b.BoxLinks), CLng(y + b.BoxOben), CLng(x + b.BoxRechts + s), CLng(y + b.BoxUnten)};
}

bool SchiffStoesst(int32_t p, double x, double y, double s) {
  const Rechteck r = SchiffKasten(p, x, y, s);
  return CheckColisionWithLandschaft3(r.Left, r.Top, r.Right, r.Bottom, -1);
}

void VeskReset() {
  for (SpielerDaten& s : Spieler) {
    s.FrameZeile = 0;
    s.Leben = LetzterSpieler == 0 ? 3 : 6;
    s.EnergieMax = 100.0f;
    s.Schaden = 0;
    s.Abschuesse = 0;
    s.Speed = 6.0f;
    s.Pod = 0;
    s.Waffenstufe = 1;
    s.Zweitwaffe = 0;
    s.Punkte = 0;
  }
  for (int j = 0; j < 4; ++j) {
    PodDaten& pod = Pods[j];
    pod.Abklingzeit = kPodStart[j].Winkel;
    pod.Stufe = 0;
    pod.Besitz = kPodStart[j].Besitz;
    pod.Waffe = kPodStart[j].Waffe;
    pod.Drehwinkel = 0;
    pod.Drehschritt = 0;
    pod.Bild = kPodOhneWaffeBild;
  }
  Satellit.Da = VBFalse;

  Drohnen.Munition[0] = 30;
  Drohnen.Munition[1] = 4;
  Drohnen.BlitzAn = VBTrue;
  Drohnen.SchildAn = VBTrue;
  Drohnen.KugelSchuesseAn = VBTrue;
  Drohnen.Kette.assign(2, DrohnenDaten{});

  ExtraLebenSchwelle = 3;
  // A damaged configuration may hold the largest play-through there is.
  Durchgang = CLng(static_cast<double>(BesterDurchgang) + 1);
}

void VeskPosSetup() {
  for (int32_t p = 0; p < 2; ++p) {
    SpielerDaten& s = Spieler[p];
    s.X = 100.0f;
    s.Y = static_cast<float>(260 + 32 * (2 * p - LetzterSpieler));
    s.DX = s.DY = 0;
    s.DriftX = s.DriftY = 0;
    s.FrameSpalte = 2;
    s.Abklingzeit = 0;
    s.ZweitAbklingzeit = 0;
    s.Status = 0;
    s.BesteComboTreffer = 0;
    s.BesteComboBonus = 0;
  }

  // The pods start at the ship that carries them (type 0), or at the second record.
  const int32_t n = Schiff[0].Typ == 0 ? 0 : 1;
  const SchiffDaten& b = Schiff[n];
  for (PodDaten& pod : Pods) {
    pod.X = CLng(IDiv(b.BoxRechts - b.BoxLinks, 2) + double{Spieler[n].X} - 32);
    pod.Y = CLng(IDiv(b.BoxUnten - b.BoxOben, 2) + double{Spieler[n].Y} - 16);
  }

  const float dx = Spieler[0].X + 16, dy = Spieler[0].Y + 16;
  for (DrohnenDaten& d : Drohnen.Kette) {
    d.X = dx;
    d.Y = dy;
    d.VerlaufX.fill(dx);
    d.VerlaufY.fill(dy);
  }

  // Each radio message may play up to its limit again.
  ResetPlayedRadioMessages();
}

void VeskInit(int32_t VeskNr) {
  if (VeskNr < 0 || VeskNr > 1) return;
  SpielerDaten& s = Spieler[VeskNr];
  s.Tod = 0;
  s.Energie = s.EnergieMax;
  s.Schild = 100;
  s.DriftX = s.DriftY = 0;
  s.Winkel = 0;
}
