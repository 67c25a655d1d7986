// The orbit pods: where each stands by the ship, how it gets there, how it looks, and
// what a guard pod does to what it touches. A pod is one of three sorts, by its weapon:
// a guard pod (-1) circling on an ellipse, a pod without a weapon (0) above or below the
// ship, or an armed pod (any other weapon) above, below or swinging between the front
// and the back of the ship.
#include "player/pods.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "player/score.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

constexpr int32_t kGroesse = 32;  // the pod picture, square
constexpr int32_t kPodZahl = 4;
constexpr int32_t kMitPods = 0;        // the ship type that carries them
constexpr int32_t kHervorhebung = 50;  // frames of green after selecting
constexpr float kDrehTempo = 4.0f;     // degrees per frame of an armed pod's swing
constexpr int32_t kOrbitTempo = 8;     // degrees per frame of the guard pods' orbit
constexpr int32_t kRammSchaden = 50;   // a guard pod's damage to what it touches, each frame
constexpr int32_t kFrameZeit = 5;      // frames per animation frame
constexpr int32_t kFrameLetzter = 5;   // the armed pod's picture cycle 0..5
constexpr int32_t kBildLetztes = 13;   // pictures 0..13
constexpr int32_t kSchiebenMax = 20;   // steps out of the scenery per frame at most
constexpr int32_t kSchiebeSchritt = 2;
// Where the four guard pods stand on the orbit, apart from its base angle.
constexpr std::array<int32_t, kPodZahl> kOrbitVersatz = {0, 180, 90, 270};

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

bool Besitzt(int32_t j) { return j >= 0 && j < kPodZahl && Pods[static_cast<size_t>(j)].Besitz != VBFalse; }

// The pods are steered, drawn and ramming only while their carrier flies ship type 0 and
// is alive.
bool ImSpiel(int32_t n) {
  return Spieler[static_cast<size_t>(n)].Tod == 0 && Schiff[static_cast<size_t>(n)].Typ == kMitPods;
}

// A pod's square on the screen; a position from a damaged save may lie anywhere.
Rechteck Kasten(const PodDaten& d) {
  return {d.X, d.Y, CLng(static_cast<double>(d.X) + kGroesse), CLng(static_cast<double>(d.Y) + kGroesse)};
}

bool Stoesst(const PodDaten& d) {
  const Rechteck r = Kasten(d);
  return CheckColisionWithLandschaft3(r.Left, r.Top, r.Right, r.Bottom, -1);
}

// True once per press: the key is down now and was not in the last frame.
bool Flanke(bool unten, int16_t& vorher) {
  const bool neu = unten && vorher == VBFalse;
  vorher = VBBool(unten);
  return neu;
}

// The turn key: every pod, owned or not, starts its swing away from the side it faces, or
// swings back the way it came.
void Umdrehen() {
  Klang(SndItemSwitch);
  for (PodDaten& d : Pods) {
    if (d.Drehschritt == 0) {
      d.Drehschritt = d.Drehwinkel == 0 ? kDrehTempo : -kDrehTempo;
    } else {
      d.Drehschritt = -d.Drehschritt;
    }
  }
}

// ---- Where a pod stands ------------------------------------------------------------------

// A point in screen pixels, unrounded.
struct Punkt {
  double X, Y;
};

// Moves `v` toward `ziel` by `schritt`: down when above it, then up when (now) below it.
// From above, a last step that would pass the target is taken back; from below the pod
// may pass it by less than a step.
int32_t Zugehen(int32_t v, double ziel, int32_t schritt) {
  double w = v;
  if (w > ziel) w -= schritt;
  if (w < ziel) w += schritt;
  return CLng(w);
}

double Abstand(const PodDaten& d, const Punkt& z) { return std::hypot(d.X - z.X, d.Y - z.Y); }

// The middle of the carrier's hit box, less half a pod across.
Punkt Schiffsmitte(int32_t n) {
  const SchiffDaten& b = Schiff[static_cast<size_t>(n)];
  const SpielerDaten& s = Spieler[static_cast<size_t>(n)];
  return {IDiv(static_cast<double>(b.BoxRechts) - b.BoxLinks, 2) + double{s.X} - kGroesse / 2,
          IDiv(static_cast<double>(b.BoxUnten) - b.BoxOben, 2) + double{s.Y}};
}

// The place at angle `a` (0 above the ship, 90 in front, 180 below, 270 behind) on the
// ellipse of radii `rx` across and `ry` down round the carrier's middle.
Punkt Platz(int32_t n, int32_t a, int32_t rx, int32_t ry) {
  const Punkt m = Schiffsmitte(n);
  return {rx * double{SinusB(a)} + m.X, m.Y - ry * double{CosinusB(a)}};
}

// A gliding pod aims behind where the ship went this frame: the upper pods lag a climb,
// the lower ones a dive, the pods 2 and 3 every move sideways.
void Nachziehen(Punkt& z, int32_t j, int32_t n) {
  const SpielerDaten& s = Spieler[static_cast<size_t>(n)];
  const SpielerDaten& vorher = SpielerSpur[static_cast<size_t>(n)][10];
  const double tempo = s.Speed;
  if (s.Y < vorher.Y && j % 2 == 0) z.Y += tempo;
  if (s.Y > vorher.Y && j % 2 == 1) z.Y -= tempo;
  if (s.X < vorher.X && j >= 2) z.X += tempo;
  if (s.X > vorher.X && j >= 2) z.X -= tempo;
}

// A pod far from its place (120 pixels or more), or an armed or guard pod close to it,
// jumps there; otherwise it glides a third of the way plus one pixel.
void Annaehern(PodDaten& d, int32_t j, Punkt z, bool nahEinrasten, int32_t n) {
  const int32_t weite = IDiv(CLng(Abstand(d, z)), 6) + 1;
  if (weite > 20 || (weite <= 5 && nahEinrasten)) {
    d.X = CLng(z.X);
    d.Y = CLng(z.Y);
    return;
  }
  Nachziehen(z, j, n);
  const int32_t schritt = CLng(Abstand(d, z) / 3 + 1);
  d.X = Zugehen(d.X, z.X, schritt);
  d.Y = Zugehen(d.Y, z.Y, schritt);
}

// ---- The three sorts ---------------------------------------------------------------------

enum Sorte : size_t { kWaechter, kOhneWaffe, kBewaffnet };

Sorte SorteVon(const PodDaten& d) {
  if (d.Waffe == -1) return kWaechter;
  return d.Waffe == 0 ? kOhneWaffe : kBewaffnet;
}

// The guard pod's place on the orbit, kept in its first field.
int32_t Orbitwinkel(PodDaten& d, int32_t j) {
  d.Abklingzeit = Mod(PodDrehung + kOrbitVersatz[static_cast<size_t>(j)], 360);
  return d.Abklingzeit;
}

int32_t ObenOderUnten(PodDaten&, int32_t j) { return (j % 2) * 180; }

// An armed pod swings on; pods 2 and 3 swing with it, 2 over the top and 3 under the
// bottom, from the front (turned 0) to the back (180).
int32_t Schwenk(PodDaten& d, int32_t j) {
  d.Drehwinkel += d.Drehschritt;
  if (d.Drehwinkel < 0) {
    d.Drehwinkel = 0;
    d.Drehschritt = 0;
  }
  if (d.Drehwinkel > 180) {
    d.Drehwinkel = 180;
    d.Drehschritt = 0;
  }
  int32_t a = ObenOderUnten(d, j);
  if (j == 2) a = CLng(90.0 - d.Drehwinkel);
  if (j == 3) a = CLng(double{d.Drehwinkel} + 90);
  return a < 0 ? a + 360 : a;
}

// Out of the scenery toward the ship's middle, a few pixels a step.
void Herausschieben(PodDaten& d, int32_t n) {
  const Punkt m = Schiffsmitte(n);
  for (int32_t i = 0; i < kSchiebenMax && Stoesst(d); ++i) {
    d.X = Zugehen(d.X, m.X, kSchiebeSchritt);
    d.Y = Zugehen(d.Y, m.Y, kSchiebeSchritt);
  }
}

// A guard pod keeps its orbit through the scenery, scraping sparks off it.
void Kratzen(PodDaten& d, int32_t) {
  if (!Stoesst(d)) return;
  const int32_t x = CLng(static_cast<double>(d.X) + kGroesse), y = CLng(static_cast<double>(d.Y) + kGroesse);
  AddPartikel(1, 2, x, y, x, y, true);
}

// Every blockable enemy shot the pod touches is gone, its points to the carrier.
void Schlucken(const PodDaten& d, int32_t n) {
  const double x = d.X, y = d.Y;
  for (int32_t k = 0; k <= GegnerSchuesse.Max; ++k) {
    const GegnerSchussDaten& s = GegnerSchuesse[k];
    if (!GegnerSchussBlockbar(k)) continue;
    if (!(x + kGroesse > double{s.X} + s.BoxLeft && x < double{s.X} + s.BoxRight &&
          y + kGroesse > double{s.Y} + s.BoxTop && y < double{s.Y} + s.BoxBottom))
      continue;
    AddPunkte(CLng(s.HP), static_cast<float>(x + kGroesse / 2), static_cast<float>(y + kGroesse / 2), -1.0f, n);
    KillGegnerS(k);
  }
}

// Each sort's frame in `SpielPartikel`; gives the picture the pod turns toward.
int32_t Waechterschritt(PodDaten& d, int32_t n) {
  const Rechteck r = Kasten(d);
  int32_t feind = -1;
  bool unzerstoerbar = false;
  CheckColisionWithEnemy(r.Left, r.Top, r.Right, r.Bottom, kRammSchaden, false, false, -1, feind, unzerstoerbar, n);
  Schlucken(d, n);
  return 13;
}

int32_t Ruheschritt(PodDaten&, int32_t) { return 11; }

// The cooldown falls every frame, without a floor: a pod held back long enough fires the
// moment fire is pressed.
int32_t Waffenschritt(PodDaten& d, int32_t) {
  if (d.Abklingzeit > std::numeric_limits<int32_t>::min()) --d.Abklingzeit;
  return d.AnimFrame;
}

struct PodSorte {
  int32_t (*Winkel)(PodDaten& d, int32_t j);  // the pod's angle round the ship this frame
  int32_t RX;                                 // radius across
  std::array<int32_t, 2> RY;                  // radius down, for pods 0 and 1 and for 2 and 3
  bool NahEinrasten;                          // jumps to its place once it is close
  void (*Landschaft)(PodDaten& d, int32_t n);
  int32_t (*Schritt)(PodDaten& d, int32_t n);
};

constexpr std::array<PodSorte, 3> kSorten = {{
    {Orbitwinkel, 52, {42, 42}, true, Kratzen, Waechterschritt},
    {ObenOderUnten, 40, {22, 42}, false, Herausschieben, Ruheschritt},
    {Schwenk, 40, {22, 22}, true, Herausschieben, Waffenschritt},
}};

// ---- How a pod looks -----------------------------------------------------------------------

void Animieren(PodDaten& d) {
  if (d.AnimZeit >= kFrameZeit - 1 || d.AnimZeit < 0) {
    d.AnimZeit = 0;
    d.AnimFrame = d.AnimFrame >= kFrameLetzter || d.AnimFrame < 0 ? 0 : d.AnimFrame + 1;
  } else {
    ++d.AnimZeit;
  }
}

// One picture nearer the target every fifth frame; the armed cycle runs on from 5 to 0.
void BildSchritt(PodDaten& d, int32_t ziel) {
  if (d.AnimZeit != 0) return;
  if (d.Bild < ziel) {
    ++d.Bild;
  } else if (d.Bild > ziel) {
    d.Bild = d.Bild == kFrameLetzter && ziel == 0 ? 0 : d.Bild - 1;
  }
}

// Tinted green while selected, fading to white; pods 0 and 2 turn against the swing,
// 1 and 3 with it.
void Zeichnen(PodDaten& d, int32_t j) {
  if (d.Bild < 0 || d.Bild > kBildLetztes) d.Bild = 0;
  const int32_t nr = TexPartikel[static_cast<size_t>(d.Bild)];
  if (nr < 0 || nr > SurfacesMax()) return;
  const Rechteck r = Kasten(d);
  const auto blass = static_cast<float>((kHervorhebung - static_cast<double>(d.Hervorhebung)) / kHervorhebung);
  SetUpGeom(nr, Surfaces[static_cast<size_t>(nr)].SrcRect, RECT{r.Left, r.Top, r.Right, r.Bottom}, blass, 1, blass, 1,
            CLng((2 * (j % 2) - 1) * double{d.Drehwinkel}));
  Render(nr, false);
}

}  // namespace

int32_t PodBesitzer() { return LetzterSpieler >= 1 && Schiff[0].Typ != kMitPods ? 1 : 0; }

void NextPartikel(int32_t VeskNr) {
  if (VeskNr < 0 || VeskNr > 1) return;
  Klang(SndPressD);
  int32_t& wahl = Spieler[static_cast<size_t>(VeskNr)].Pod;
  bool irgendeiner = false;
  for (int32_t j = 0; j < kPodZahl; ++j) irgendeiner = irgendeiner || Besitzt(j);
  if (!irgendeiner) {
    wahl = -1;
    return;
  }
  // From a pod in 0..3 or none (-1) four steps reach every pod. A damaged save's number
  // outside these never comes round to 4 and wrap: it gives up there.
  for (int32_t schritt = 0; schritt < kPodZahl; ++schritt) {
    if (wahl < std::numeric_limits<int32_t>::max()) ++wahl;
    if (wahl == kPodZahl) wahl = 0;
    if (Besitzt(wahl)) {
      Pods[static_cast<size_t>(wahl)].Hervorhebung = kHervorhebung;
      return;
    }
  }
}

void SpielPartikelMove() {
  const Trefferdurchgang durchgang;
  const int32_t n = PodBesitzer();
  if (!ImSpiel(n)) return;
  const int32_t k = n + LetzterSpieler;
  if (Flanke(TastePartikelWechsel(k), PodTasteUnten)) NextPartikel(n);
  if (Flanke(TasteDrehen(k), DrehTasteUnten)) Umdrehen();
  // Kept within a turn, so a damaged save's angle cannot run over.
  PodDrehung = Mod(static_cast<double>(PodDrehung) + kOrbitTempo, 360);
  if (PodDrehung < 0) PodDrehung += 360;

  for (int32_t j = 0; j < kPodZahl; ++j) {
    PodDaten& d = Pods[static_cast<size_t>(j)];
    if (d.Besitz == VBFalse) continue;
    const PodSorte& s = kSorten[SorteVon(d)];
    const int32_t a = s.Winkel(d, j);
    Annaehern(d, j, Platz(n, a, s.RX, s.RY[j / 2]), s.NahEinrasten, n);
    s.Landschaft(d, n);
  }
}

void SpielPartikel() {
  const Trefferdurchgang durchgang;
  const int32_t n = PodBesitzer();
  if (!ImSpiel(n)) return;
  for (int32_t j = 0; j < kPodZahl; ++j) {
    PodDaten& d = Pods[static_cast<size_t>(j)];
    if (d.Besitz == VBFalse) continue;
    Animieren(d);
    BildSchritt(d, kSorten[SorteVon(d)].Schritt(d, n));
    if (d.Hervorhebung > 0) --d.Hervorhebung;
    if (Rendern) Zeichnen(d, j);
  }
}
