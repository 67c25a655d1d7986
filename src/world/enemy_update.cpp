// The enemies' tick: the pass over the pool, the living step of an enemy (its route, its
// energy and the step of each component), the fire modes, and freeing a slot.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/animations.hpp"
#include "world/collision.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/routes.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// What the template values `Parameter`(i) of an enemy mean to its living step.
enum TypWert : int {
  kLandschaftTod = 0,    // > 0: a component touching the solid scenery destroys the enemy
  kRammen = 1,           // > 0: its components strike other enemies, inset by the value - 1
  kRichtungsbilder = 2,  // >= 1: components show the body's direction instead of animating
  kWrack = 3,            // >= 1: destroyed by loss of energy, it leaves a wreck
  kComboFrei1 = 8,       // with kComboFrei2: leaving by its route breaks nobody's combo
  kComboFrei2 = 14,      // its other half
  kZerfall = 15,         // >= 1: destroyed, it breaks up part by part
};

constexpr int32_t kTodWrack = 3;
constexpr int32_t kTodZerfall = 7;

bool Wahr(int16_t flag) { return flag != VBFalse; }

// ---- Frames ---------------------------------------------------------------------------

// The frame that shows a body moving by (MX, MY), y growing downwards: 0 up, then
// clockwise in steps of 45 degrees to 7 up-left. No vertical movement, or more than twice
// as much across as down, is level flight; less than half as much is straight up or down.
int32_t Richtungsbild(float MX, float MY) {
  const bool rechts = MX >= 0, unten = MY >= 0;
  const float r = MY == 0 ? 0.0f : std::fabs(MX / MY);
  if (MY == 0 || r > 2) return rechts ? 2 : 6;
  if (r < 0.5f) return unten ? 4 : 0;
  if (rechts) return unten ? 3 : 1;
  return unten ? 5 : 7;
}

void NaechstesBild(const Gegner& g, Feindkomponente& k) {
  if (g.Typ.Parameter[kRichtungsbilder] < 1) {
    if (k.Sprite >= 0 && k.Sprite <= SpriteDefsMax()) DoAni(k.Sprite, k.AniA, k.TiA);
    return;
  }
  k.TiA = -10;  // held: the movement chooses the frame
  if (g.MX != 0 || g.MY != 0) k.AniA = Richtungsbild(g.MX, g.MY);
}

// ---- The component's own route ----------------------------------------------------------

// The size the component's route works with: from the picture's left edge to its
// rightmost opaque column, from its top to its last opaque row.
void Routenmasse(const Teilbild& b, int32_t& w, int32_t& h) {
  w = h = 0;
  if (b.S == nullptr) return;
  w = b.S->RandMaxX - b.S->SrcRect.Left;
  h = b.S->LetzteZeile - b.S->SrcRect.Top;
}

// The component's route moves its offset; a finished route makes it vanish quietly, and
// one that has lost its energy bursts.
void EigeneRoute(int32_t i, int32_t j) {
  Gegner& g = GegnerListe[i];
  Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(j)];
  int32_t w, h;
  Routenmasse(BildVon(k), w, h);
  RoutenObjekt o = KomponentenRoute(i, j, w, h);
  if (DoRoute(o) == -1) k.Lebt = VBFalse;
  if (k.HP < 0) {
    ExplosionsKlang(k.Punkte);
    Zerplatze(g, k, 150);
    k.Lebt = VBFalse;
  }
}

// ---- Aiming and crushing ------------------------------------------------------------------

// A component carrying a turret generator turns to face its target ship, from the centre
// of its picture to the centre of the ship's hit box.
void Zielen(const Gegner& g, Feindkomponente& k, const Teilbild& b) {
  if (k.Erzeuger < 0 || k.Erzeuger > ErzeugerTypenMax()) return;
  if (!Wahr(ErzeugerTypen[static_cast<size_t>(k.Erzeuger)].Drehturm)) return;
  if (g.VeskNr < 0 || g.VeskNr > 1) return;  // no ship to aim at
  const SpielerDaten& p = Spieler[static_cast<size_t>(g.VeskNr)];
  const SchiffDaten& s = Schiff[static_cast<size_t>(g.VeskNr)];
  const double zx = double{p.X} + s.BoxLinks + IDiv(static_cast<double>(s.BoxRechts) - s.BoxLinks, 2);
  const double zy = double{p.Y} + s.BoxOben + IDiv(static_cast<double>(s.BoxUnten) - s.BoxOben, 2);
  const double mx = double{KomponenteX(g, k)} + IDiv(b.Breite(), 2);
  const double my = double{KomponenteY(g, k)} + IDiv(b.Hoehe(), 2);
  k.Drehung = WinkelInGrad(static_cast<float>(zx - mx), static_cast<float>(zy - my));
}

// Whether the component ends its enemy: against the solid scenery, or, ramming, by
// spending the enemy's energy on whatever enemy it strikes (what the blow leaves over is
// the energy left; nothing struck leaves it all).
bool Zerquetscht(int32_t i, const Feindkomponente& k, const Teilbild& b) {
  if (b.S == nullptr) return false;  // nothing drawn, nothing to touch
  Gegner& g = GegnerListe[i];
  const SurfaceInfo& S = *b.S;
  const double px = KomponenteX(g, k), py = KomponenteY(g, k);
  const auto& P = g.Typ.Parameter;
  if (P[kLandschaftTod] > 0 && CheckColisionWithLandschaft3(CLng(px + S.RandMinX), CLng(py + S.ErsteZeile),
                                                            CLng(px + S.RandMaxX), CLng(py + S.LetzteZeile), i))
    return true;
  if (P[kRammen] <= 0) return false;
  const double m = P[kRammen] - 1.0;
  int32_t getroffen = -1;
  bool unzerstoerbar = false;
  const int32_t rest = CheckColisionWithEnemy(CLng(px + S.RandMinX + m), CLng(py + S.ErsteZeile + m),
                                              CLng(px + S.RandMaxX - m), CLng(py + S.LetzteZeile - m), CLng(g.Typ.HP),
                                              true, false, i, getroffen, unzerstoerbar, -1);
  if (static_cast<double>(rest) != g.Typ.HP) g.Typ.HP = static_cast<float>(rest);
  return g.Typ.HP <= 0;
}

// A crushed enemy leaves its followers, every part of it bursts, and it is gone, scoring
// for nobody.
void Zerquetschen(int32_t i) {
  const Gegner& g = GegnerListe[i];
  Nachfolger(g);
  for (const Feindkomponente& k : g.Typ.Komponenten)
    if (Wahr(k.Lebt)) Zerplatze(g, k, 500);
  EffektKlang(SndExplosion[2]);
  KillEnemy(i);
}

// ---- Firing -------------------------------------------------------------------------------

// Whether a component fires in this frame under its fire mode.
using Feuerregel = bool (*)(Feindkomponente&);

bool Nie(Feindkomponente&) { return false; }

// At random, `Tausendstel` thousandths of the frames, and five more with a second player.
template <int Tausendstel>
bool Zufaellig(Feindkomponente&) {
  return static_cast<double>(Rnd()) < 0.005 * LetzterSpieler + Tausendstel / 1000.0;
}

// Every `Grenze` + 1-th frame, counted since the component came to life.
template <int Grenze>
bool Zaehlend(Feindkomponente& k) {
  if (int64_t{k.FeuerZaehler} + 1 > Grenze) {
    k.FeuerZaehler = 0;
    return true;
  }
  ++k.FeuerZaehler;
  return false;
}

// Once in the component's life.
bool Einmal(Feindkomponente& k) {
  if (k.FeuerZaehler != 0) return false;
  k.FeuerZaehler = 1;
  return true;
}

constexpr std::array<Feuerregel, 8> Feuermodi = {
    Nie,            // 0
    Zufaellig<2>,   // 1
    Zufaellig<5>,   // 2
    Zufaellig<20>,  // 3
    Zaehlend<24>,   // 4
    Zaehlend<49>,   // 5
    Zaehlend<99>,   // 6
    Einmal,         // 7
};

void Feuer(int32_t i, int32_t j) {
  Gegner& g = GegnerListe[i];
  Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(j)];
  if (k.FeuerModus < 0 || k.FeuerModus >= static_cast<int32_t>(Feuermodi.size())) return;
  if (!Feuermodi[static_cast<size_t>(k.FeuerModus)](k)) return;
  if (k.Erzeuger == -1) {
    StarteKind(g, k);  // no generator: it launches an enemy
  } else if (k.Erzeuger >= 0 && k.Erzeuger <= ErzeugerTypenMax()) {
    AddGegnerSchussErzeuger(k.Erzeuger, i, j, VBFalse, g.VeskNr);
  }
}

// ---- The steps ----------------------------------------------------------------------------

// The component drawn in drawn frames; its hit flash counts down in every frame.
void Zeigen(const Gegner& g, Feindkomponente& k, const Teilbild& b) {
  if (Rendern) ZeichneKomponente(g, k, b);
  if (k.TrefferBlitz > 0) --k.TrefferBlitz;
}

// Component j of living enemy i for one tick. False when the component crushed the enemy.
bool KomponentenSchritt(int32_t i, int32_t j) {
  Gegner& g = GegnerListe[i];
  Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(j)];
  if (!Wahr(k.Lebt)) return true;
  if (Wahr(k.RouteAn)) EigeneRoute(i, j);
  if (!Wahr(k.Lebt)) return true;
  NaechstesBild(g, k);
  const Teilbild b = BildVon(k);
  Zielen(g, k, b);
  if (Zerquetscht(i, k, b)) {
    Zerquetschen(i);
    return false;
  }
  Zeigen(g, k, b);
  Feuer(i, j);
  return true;
}

// An enemy that began to die in its own step is still seen in that tick, its parts where
// they stand; it no longer moves, animates, aims, rams or fires, and its death takes over
// from the next tick.
void LetzterAnblick(Gegner& g) {
  for (Feindkomponente& k : g.Typ.Komponenten)
    if (Wahr(k.Lebt)) Zeigen(g, k, BildVon(k));
}

// An enemy whose route has ended leaves without a trace; unless its template spares
// them, that breaks the combo of every player in power mode.
void Verlassen(int32_t i) {
  const auto& P = GegnerListe[i].Typ.Parameter;
  if (P[kComboFrei1] == 0 && P[kComboFrei2] == 0) {
    for (size_t p = 0; p < Beam.size(); ++p) {
      if (!Wahr(Beam[p].Powermodus)) continue;
      ComboFaktor[p] = 1.0f;
      ComboTreffer[p] = 0;
      ComboBonus[p] = 0;
    }
  }
  KillEnemy(i);
}

// Out of energy: its shock wave, then it bursts and is gone (or lies there as a wreck),
// or it begins to break up. The hit that took the energy has scored already.
void EnergieVerloren(int32_t i) {
  Gegner& g = GegnerListe[i];
  Todesschuss(g);
  if (g.Typ.Parameter[kZerfall] >= 1) {
    g.TodArt = kTodZerfall;
    g.Stirbt = VBTrue;
    EffektKlang(SndSpalt);
    return;
  }
  ExplosionsKlang(g.Typ.Punkte);
  for (const Feindkomponente& k : g.Typ.Komponenten)
    if (Wahr(k.Lebt)) Zerplatze(g, k, 150);
  if (g.Typ.Parameter[kWrack] < 1) {
    KillEnemy(i);
    return;
  }
  g.TodArt = kTodWrack;
  g.Stirbt = VBTrue;
  g.TodZeit = 0;
}

void Lebensschritt(int32_t i) {
  Gegner& g = GegnerListe[i];
  RoutenObjekt o = GegnerRoute(i);
  if (DoRoute(o) == -1) {
    Verlassen(i);
    return;
  }
  if (g.Typ.HP < 0) EnergieVerloren(i);
  if (!Wahr(g.Aktiv)) return;
  if (Wahr(g.Stirbt)) {
    LetzterAnblick(g);  // a wreck or a break-up that began just now
    return;
  }
  const int32_t letzte = g.Typ.KomponentenMax();
  for (int32_t j = 0; j <= letzte; ++j) {
    // Only a crush ends the enemy while its parts run, and that ends the loop too; the
    // list is checked anyway, as freeing the slot empties it.
    if (!Wahr(g.Aktiv) || j > g.Typ.KomponentenMax()) return;
    if (!KomponentenSchritt(i, j)) return;
  }
}

}  // namespace

void SpielMoveEnemy() {
  // Enemies placed during the pass above the highest slot it began with wait for the next.
  const int32_t letzter = std::min(GegnerMax, GegnerListe.Kapazitaet);
  for (int32_t i = 0; i <= letzter; ++i) {
    const Gegner& g = GegnerListe[i];
    if (!Wahr(g.Aktiv)) continue;
    if (Wahr(g.Stirbt)) {
      SpielTodesfolge(i);
    } else {
      Lebensschritt(i);
    }
  }
}

void KillEnemy(int32_t Nr) {
  if (Nr < 0 || Nr > GegnerListe.Kapazitaet) return;
  StoppeSchussErzeuger(Nr);
  LeereGegner(GegnerListe[Nr]);
  GegnerListe.Kill(Nr);
  GegnerGeaendert(Nr);
}
