// Pick-ups drift left with their layer and spin through six frames of three ticks each.
// A ship collects one by touching it: pod weapons and new pods go to the ship with the
// orbit pods, satellites to the ship with the satellite, power-ups to any ship. Every
// collection is worth 1,000 points. The blur window is no pick-up: it shows the last frame,
// blurred, in a drifting rectangle.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <span>

#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "frontend/effects_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pickups.hpp"
#include "world/pictures_state.hpp"
#include "world/upcalls.hpp"

namespace {

enum Sorte : int32_t { kPodWaffe = 0, kBlurFenster = 2, kPowerUp = 3, kSatellit = 4 };
enum Schiffstyp : int32_t { kMitPods = 0, kMitSatellit = 1 };

constexpr float kLinkerRand = -64;  // a pick-up this far left has left the screen
constexpr int32_t kPunkte = 1000;
constexpr int32_t kFrames = 6, kFrameTicks = 3;
constexpr int32_t kMaxPodStufe = 3, kMaxWaffenstufe = 3, kMaxSatellitStufe = 2;

// What a ship's visit to a pick-up comes to.
enum class Besuch { Genommen, Zeichnen, Nichts };

bool Lebt(int32_t p) { return Spieler[static_cast<size_t>(p)].Tod == 0; }
int32_t Typ(int32_t p) { return Schiff[static_cast<size_t>(p)].Typ; }
int32_t LetzterBesucher() { return std::clamp(LetzterSpieler, 0, 1); }

// The picture counts as the 32 x 32 square inset 16 pixels in its 64 x 64 cell.
bool Beruehrt(const SpezialObjekt& o, int32_t p) {
  const SpielerDaten& s = Spieler[static_cast<size_t>(p)];
  const SchiffDaten& b = Schiff[static_cast<size_t>(p)];
  const double links = double{s.X} + b.BoxLinks, rechts = double{s.X} + b.BoxRechts;
  const double oben = double{s.Y} + b.BoxOben, unten = double{s.Y} + b.BoxUnten;
  return o.X + 48.0f > links && o.X + 16.0f < rechts && o.Y + 48.0f > oben && o.Y + 16.0f < unten;
}

// ---- The pods ---------------------------------------------------------------------------

// The selected pod of player p, or nullptr when none is (or a damaged save names a pod
// that is not there).
PodDaten* GewaehlterPod(int32_t p) {
  const int32_t j = Spieler[static_cast<size_t>(p)].Pod;
  return j >= 0 && j < static_cast<int32_t>(Pods.size()) ? &Pods[static_cast<size_t>(j)] : nullptr;
}

bool Besitzt(int32_t j) { return Pods[static_cast<size_t>(j)].Besitz != VBFalse; }

// True when an owned pod has a weapon or is a guard pod.
bool PodBewaffnet() {
  return std::any_of(Pods.begin(), Pods.end(), [](const PodDaten& d) { return d.Besitz != VBFalse && d.Waffe != 0; });
}

bool WaffeIst(const PodDaten& d, float w) { return static_cast<double>(d.Waffe) == static_cast<double>(w); }

// The pod an arriving pod weapon `w` goes to: pod 2 on a ship without weapons; else the
// lowest pod with this weapon below its top level; else an unarmed pod, 2 before 3 before
// 0 before 1; else the selection stays.
void PodFuerWaffeWaehlen(int32_t p, float w) {
  int32_t& wahl = Spieler[static_cast<size_t>(p)].Pod;
  if (!PodBewaffnet() && Besitzt(2)) {
    wahl = 2;
    return;
  }
  int32_t gleiche = -1;
  for (int32_t j = 3; j >= 0; --j) {
    const PodDaten& d = Pods[static_cast<size_t>(j)];
    if (d.Besitz != VBFalse && WaffeIst(d, w) && d.Stufe < kMaxPodStufe) gleiche = j;
  }
  if (gleiche >= 0) {
    wahl = gleiche;
    return;
  }
  for (int32_t j : {1, 0, 3, 2})
    if (Besitzt(j) && Pods[static_cast<size_t>(j)].Waffe == 0) wahl = j;
}

void PodWaffeNehmen(const SpezialObjekt& o, int32_t p) {
  if (!GewaehlterPod(p)) return;  // nowhere to put it: the points alone
  const float w = o.Parameter1 + 1.0f;
  if (AutoAnordnung) PodFuerWaffeWaehlen(p, w);
  PodDaten& d = *GewaehlterPod(p);
  d.Stufe = WaffeIst(d, w) ? std::min(d.Stufe + 1, kMaxPodStufe) : 1;
  d.Waffe = CLng(w);
  d.Abklingzeit = 0;
  if (AutoAnordnung) upcall::NextPartikel(p);
}

// ---- The power-ups, by their value ---------------------------------------------------------

// Each takes the power-up for player p, or refuses it (false).
using PowerUp = bool (*)(int32_t p);

bool NeuerPod(int32_t p) {
  if (Typ(p) != kMitPods) return false;
  const auto frei = std::find_if(Pods.begin(), Pods.end(), [](const PodDaten& d) { return d.Besitz == VBFalse; });
  if (frei != Pods.end()) {
    // It appears at the middle of the ship.
    const SpielerDaten& s = Spieler[static_cast<size_t>(p)];
    const SchiffDaten& b = Schiff[static_cast<size_t>(p)];
    PodDaten& d = *frei;
    d.Besitz = VBTrue;
    d.Waffe = 0;
    d.Abklingzeit = 0;
    d.X = CLng(double{s.X} + IDiv(b.BoxRechts - b.BoxLinks, 2) - 32);
    d.Y = CLng(double{s.Y} + IDiv(b.BoxUnten - b.BoxOben, 2) - 16);
    // Pod 3 turns as the mirror image of pod 0.
    if (frei == Pods.begin() + 3) {
      d.Drehwinkel = 180.0f - Pods[0].Drehwinkel;
      d.Drehschritt = -Pods[0].Drehschritt;
    }
  }
  if (Spieler[static_cast<size_t>(p)].Pod < 0) upcall::NextPartikel(p);
  return true;
}

bool WaechterPod(int32_t p) {
  if (Typ(p) != kMitPods || !GewaehlterPod(p)) return false;
  int32_t& wahl = Spieler[static_cast<size_t>(p)].Pod;
  if (AutoAnordnung) {
    if (!PodBewaffnet()) {
      if (Besitzt(2)) wahl = 2;
      if (Besitzt(3)) wahl = 3;
    } else {
      const auto unbewaffnet = std::find_if(Pods.begin(), Pods.end(), [](const PodDaten& d) { return d.Waffe == 0; });
      if (unbewaffnet != Pods.end()) wahl = static_cast<int32_t>(unbewaffnet - Pods.begin());
    }
  }
  PodDaten& d = *GewaehlterPod(p);
  d.Waffe = -1;
  d.Stufe = 0;
  if (AutoAnordnung) {
    upcall::NextPartikel(p);
    if (std::all_of(Pods.begin(), Pods.end(), [](const PodDaten& q) { return q.Besitz != VBFalse && q.Waffe > 0; }))
      wahl = 3;
  }
  return true;
}

bool Schneller(int32_t p) {
  Spieler[static_cast<size_t>(p)].Speed += 1.0f;
  return true;
}

bool Langsamer(int32_t p) {
  Spieler[static_cast<size_t>(p)].Speed -= 1.0f;
  return true;
}

// Every ship in the game gets the better gun, not only the one that took it.
bool BessereKanone(int32_t) {
  for (int32_t q = 0; q <= LetzterBesucher(); ++q) {
    int32_t& w = Spieler[static_cast<size_t>(q)].Waffenstufe;
    w = std::min(w + 1, kMaxWaffenstufe);
  }
  return true;
}

bool MehrEnergie(int32_t p) {
  Spieler[static_cast<size_t>(p)].Energie += 50.0f;
  return true;
}

bool SchildAn(int32_t p) {
  Spieler[static_cast<size_t>(p)].Schild = 200;
  return true;
}

template <int32_t Waffe>
bool Zweitwaffe(int32_t p) {
  SpielerDaten& s = Spieler[static_cast<size_t>(p)];
  s.Zweitwaffe = Waffe;
  s.ZweitAbklingzeit = 0;
  return true;
}

constexpr std::array<PowerUp, 10> kPowerUps = {NeuerPod,    WaechterPod, Schneller,     Langsamer,     BessereKanone,
                                               MehrEnergie, SchildAn,    Zweitwaffe<1>, Zweitwaffe<2>, Zweitwaffe<3>};

// The power-up a value names, or nullptr for a value outside the table.
PowerUp PowerUpFuer(float wert) {
  if (!(wert >= 0 && wert < static_cast<float>(kPowerUps.size())) || wert != std::floor(wert)) return nullptr;
  return kPowerUps[static_cast<size_t>(wert)];
}

// ---- The offers, by kind -------------------------------------------------------------------

// Offers pick-up `o` to ship p, which touches it; applies its effect when the ship takes it.
using Angebot = Besuch (*)(const SpezialObjekt& o, int32_t p);

Besuch PodWaffeAnbieten(const SpezialObjekt& o, int32_t p) {
  if (Typ(p) != kMitPods || !Lebt(p)) return Besuch::Zeichnen;
  PodWaffeNehmen(o, p);
  return Besuch::Genommen;
}

Besuch PowerUpAnbieten(const SpezialObjekt& o, int32_t p) {
  if (!Lebt(p)) return Besuch::Zeichnen;
  // A ship that cannot use it passes through without taking it; it is not drawn then.
  const PowerUp nehmen = PowerUpFuer(o.Parameter1);
  return nehmen && nehmen(p) ? Besuch::Genommen : Besuch::Nichts;
}

Besuch SatellitAnbieten(const SpezialObjekt& o, int32_t p) {
  if (Typ(p) != kMitSatellit || !Lebt(p)) return Besuch::Zeichnen;
  Satellit.Abklingzeit = 1;
  Satellit.Spezialwaffe = CLng(o.Parameter1);
  Satellit.Stufe = std::min(Satellit.Stufe + 1, kMaxSatellitStufe);
  if (Satellit.Da == VBFalse) {
    // A new satellite comes in from the left and homes on its ship.
    Satellit.Da = VBTrue;
    Satellit.X = -64;
    Satellit.Y = Spieler[static_cast<size_t>(p)].Y;
    Satellit.Zustand = 5;
    Satellit.Stufe = 0;
  }
  return Besuch::Genommen;
}

// The picture of a frame: index `i` of `tabelle`, nothing (-1) outside it.
int32_t Bild(std::span<const int32_t> tabelle, double i) {
  const int32_t k = CLng(i);
  return k >= 0 && k < static_cast<int32_t>(tabelle.size()) ? tabelle[static_cast<size_t>(k)] : -1;
}

int32_t PodWaffeBild(const SpezialObjekt& o) { return Bild(TexExtra, 2.0 * (double{o.Parameter1} + 5.0 * o.Frame)); }
int32_t PowerUpBild(const SpezialObjekt& o) { return Bild(TexPow, double{o.Parameter1} + 10.0 * o.Frame); }
int32_t SatellitBild(const SpezialObjekt& o) {
  return Bild(TexExtra, 2.0 * (double{o.Parameter1} + 5.0 * o.Frame) + 1.0);
}

struct Aufnahme {
  Angebot anbieten;
  int32_t (*bild)(const SpezialObjekt& o);
};
constexpr Aufnahme kPodWaffeAufnahme{PodWaffeAnbieten, PodWaffeBild};
constexpr Aufnahme kPowerUpAufnahme{PowerUpAnbieten, PowerUpBild};
constexpr Aufnahme kSatellitAufnahme{SatellitAnbieten, SatellitBild};

void Einsammeln(int32_t i, const SpezialObjekt& o, int32_t p) {
  if (SoundAn) {
    const bool tempo = o.Art == kPowerUp && (o.Parameter1 == 2 || o.Parameter1 == 3);
    PlaySound(tempo ? SndSpeed : SndExtra, 0, 0, SoundLautstaerke);
  }
  upcall::AddPunkte(kPunkte, o.X + 32.0f, o.Y + 32.0f, -1.0f, p);
  KillSpezialObjekt(i);
}

// Spins and drifts the pick-up, then lets every ship visit it in turn. The visits go on
// after a collection: both ships may take the same pick-up in one tick, and it is drawn
// once for each ship that does not take it.
void AufnahmeBewegen(int32_t i, SpezialObjekt& o, const Aufnahme& a) {
  if (++o.FrameZeit >= kFrameTicks) {
    o.FrameZeit = 0;
    if (++o.Frame >= kFrames) o.Frame = 0;
  }
  o.X += o.MX;
  o.Y += o.MY;
  if (o.X < kLinkerRand) {
    KillSpezialObjekt(i);
    return;
  }
  for (int32_t p = 0; p <= LetzterBesucher(); ++p) {
    const Besuch b = Beruehrt(o, p) ? a.anbieten(o, p) : Besuch::Zeichnen;
    if (b == Besuch::Genommen)
      Einsammeln(i, o, p);
    else if (b == Besuch::Zeichnen && Rendern)
      ShowSprite(a.bild(o), CLng(o.X), CLng(o.Y), true);
  }
}

void PodWaffeBewegen(int32_t i, SpezialObjekt& o) { AufnahmeBewegen(i, o, kPodWaffeAufnahme); }
void PowerUpBewegen(int32_t i, SpezialObjekt& o) { AufnahmeBewegen(i, o, kPowerUpAufnahme); }
void SatellitBewegen(int32_t i, SpezialObjekt& o) { AufnahmeBewegen(i, o, kSatellitAufnahme); }

// The blur window: the blur texture, which the overlay pass fills with this frame once it
// is finished, so the window shows the previous frame.
void BlurFensterBewegen(int32_t i, SpezialObjekt& o) {
  o.X += o.MX;
  o.Y += o.MY;
  if (o.X < -o.Parameter1) {
    KillSpezialObjekt(i);
    return;
  }
  if (!Rendern) return;
  SetUpColor(TexBlur, 1, 1, 1, 1);
  ShowSpriteRect(TexBlur, o.X, o.Y, o.X + o.Parameter1, o.Y + o.Parameter2, true);
  BlurKopie = true;
}

// Kind 1 is no pick-up at all: it neither moves nor shows.
void Ruht(int32_t, SpezialObjekt&) {}

using Schritt = void (*)(int32_t i, SpezialObjekt& o);
constexpr std::array<Schritt, 5> kArten = {PodWaffeBewegen, Ruht, BlurFensterBewegen, PowerUpBewegen,
                                           SatellitBewegen};

// A one-player game offers nothing its ship could never take.
bool Nutzlos(int32_t Art, float Parameter1) {
  if (LetzterSpieler != 0) return false;
  switch (Typ(0)) {
    case kMitPods:
      return Art == kSatellit;
    case kMitSatellit:
      return Art == kPodWaffe || (Art == kPowerUp && (Parameter1 == 0 || Parameter1 == 1));
    default:
      return false;
  }
}

}  // namespace

void AddSpezialObjekt(int32_t Art, float x, float y, float MX, float& MY, float Parameter1, float Parameter2) {
  if (Nutzlos(Art, Parameter1)) return;
  const int32_t k = SpezialObjekte.Claim();
  if (k < 0) return;
  SpezialObjekte[k] = {.Art = Art, .Parameter1 = Parameter1, .Parameter2 = Parameter2, .X = x, .Y = y, .Frame = 0,
                       .FrameZeit = 0, .MX = MX, .MY = MY, .Aktiv = VBTrue};
}

void SpielMoveSpezialObjekt() {
  const int32_t bis = SpezialObjekte.Max;
  for (int32_t i = 0; i <= bis; ++i) {
    SpezialObjekt& o = SpezialObjekte[i];
    if (o.Aktiv == VBFalse || o.Art < 0 || o.Art >= static_cast<int32_t>(kArten.size())) continue;
    kArten[static_cast<size_t>(o.Art)](i, o);
  }
}

void KillSpezialObjekt(int32_t Nr) { SpezialObjekte.Kill(Nr); }
