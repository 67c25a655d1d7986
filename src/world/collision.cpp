#include "world/collision.hpp"

#include <algorithm>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/force.hpp"
#include "engine/sound.hpp"
#include "player/beam_state.hpp"
#include "player/nova_state.hpp"
#include "player/players_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "world/collision_internal.hpp"
#include "world/collision_table_state.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/upcalls.hpp"

namespace {

using namespace kollision;

// What the template values `Parameter`(i) of an enemy mean here.
enum TypWert : int {
  kTodesSequenz = 3,  // >= 1: a plainly destroyed enemy leaves a wreck instead of vanishing
  kDurchschlag = 5,   // >= 1: a piercing caller's damage goes on through this enemy
  kBlitzModus = 10,   // hit flash: 1 the hit component, 2 and more every component
  kSpaltTod = 11,     // >= 1: area blast
  kBoss = 12,         // > 0: a boss
  kWrackTeile = 13,   // > 0: destroyed components fall as wrecks
  kZerfallTod = 15,   // >= 1: breaks up component by component
};

// The death sequences the enemy mover plays out.
enum TodArt : int32_t {
  kTodPowerSpaltung = 1,  // cut in two by a player in power mode
  kTodFunkeln = 2,        // destroyed while the world stands still
  kTodWrack = 3,
  kTodBoss = 4,
  kTodFlaeche = 5,
  kTodStrahl = 6,         // a boss-less kill by a piercing caller
  kTodZerfall = 7,
};

constexpr int32_t kBlitzFrames = 2;

// One-shot effect sound.
void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

bool IstSpieler(int32_t VeskNr) { return VeskNr == 0 || VeskNr == 1; }

// The answer of `frage`(true) from the table while a pass is open, else of `frage`(false)
// from the scan. In the tests' comparing mode the table's answer is checked against the
// scan's.
template <class Frage>
auto Beantwortet(Frage&& frage) {
  if (!TabelleBereit()) return frage(false);
  const auto antwort = frage(true);
  ++Treffertabelle.Antworten;
  if (Treffertabelle.Vergleichen && !(frage(false) == antwort)) ++Treffertabelle.Abweichungen;
  return antwort;
}

// ---- The scenery ----------------------------------------------------------------------

// Calls `f`(S, ox, oy) for every obstacle piece of the solid scenery in order, the items
// of layer 3 first, then the living components of the active, not dying enemies (only
// the solid ones when `nurFeste`, never enemy `Skip`), until `f` returns true. True when
// it did.
template <class F>
bool JedesHindernis(bool nurFeste, int32_t Skip, F&& f) {
  LandschaftEbene& ebene = Landschaft[3];
  const int32_t letztes = std::min(ebene.Max, ebene.Kapazitaet());
  for (int32_t i = 0; i <= letztes; ++i) {
    const LandschaftObjekt& o = ebene.Objekte[i];
    if (!Wahr(o.Aktiv)) continue;
    const SurfaceInfo* S = AktuellesBild(o.Sprite);
    if (S && f(*S, Platz(o.X), Platz(o.Y))) return true;
  }
  const int32_t letzter = LetzterGegner();
  for (int32_t e = 0; e <= letzter; ++e) {
    const Gegner& g = GegnerListe[e];
    if (!Wahr(g.Aktiv) || Wahr(g.Stirbt)) continue;
    if (nurFeste && (g.Typ.Parameter[kFest] < 1 || e == Skip)) continue;
    for (const Feindkomponente& k : g.Typ.Komponenten) {
      if (!Wahr(k.Lebt)) continue;
      const SurfaceInfo* S = FrameBild(k.Sprite, k.AniA);
      if (S && f(*S, Platz(g.X + k.OffsetX), Platz(g.Y + k.OffsetY))) return true;
    }
  }
  return false;
}

// The same from the table (`tabelle`) or by the scan.
template <class F>
bool Hindernisse(bool tabelle, const Rechteck& r, bool nurFeste, int32_t Skip, F&& f) {
  return tabelle ? HindernisseInTabelle(r, nurFeste, Skip, f) : JedesHindernis(nurFeste, Skip, f);
}

// The screen column of picture column `x` of a piece placed at `ox`; a piece that has
// overlapped a rectangle lies near it, but its origin may be anything.
int32_t Kante(int32_t ox, int32_t x) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{ox} + x, INT32_MIN, INT32_MAX));
}

// ---- Hits on enemies ------------------------------------------------------------------

// The first living component the rectangle touches: enemies in slot order, within an
// enemy from its highest-numbered component down.
bool SucheTrefferScan(const Rechteck& r, int32_t Skip, Treffer& t) {
  const int32_t letzter = LetzterGegner();
  for (int32_t e = 0; e <= letzter; ++e) {
    if (e == Skip) continue;
    const Gegner& g = GegnerListe[e];
    if (!Wahr(g.Aktiv) || Wahr(g.Stirbt)) continue;
    for (int32_t c = g.Typ.KomponentenMax(); c >= 0; --c) {
      const Feindkomponente& k = g.Typ.Komponenten[c];
      if (!Wahr(k.Lebt)) continue;
      const SurfaceInfo* S = FrameBild(k.Sprite, k.AniA);
      if (!S) continue;
      const int32_t cx = Platz(g.X + k.OffsetX), cy = Platz(g.Y + k.OffsetY);
      if (Trifft(*S, cx, cy, r)) {
        t = Treffer{e, c, S, cx, cy};
        return true;
      }
    }
  }
  return false;
}

struct Fund {
  bool Da = false;
  Treffer T;
  bool operator==(const Fund&) const = default;
};

Fund Suche(bool tabelle, const Rechteck& r, int32_t Skip) {
  Fund f;
  f.Da = tabelle ? SucheTrefferInTabelle(r, Skip, f.T) : SucheTrefferScan(r, Skip, f.T);
  return f;
}

// The source columns and opaque rows of the picture hit, where it lies on the screen.
Rechteck Trefferkasten(const Treffer& t) {
  const SurfaceInfo& S = *t.S;
  return {S.SrcRect.Left + t.cx, S.ErsteZeile + t.cy, S.SrcRect.Right + t.cx, S.LetzteZeile + t.cy};
}

void Trefferblitz(Gegner& g, Feindkomponente& k) {
  const int32_t modus = g.Typ.Parameter[kBlitzModus];
  if (modus == 1) {
    k.TrefferBlitz = kBlitzFrames;
  } else if (modus >= 2) {
    for (Feindkomponente& j : g.Typ.Komponenten) j.TrefferBlitz = kBlitzFrames;
  }
}

// The hit component has lost its energy: it bursts, may fall as a wreck and scores.
// True when the enemy goes with it.
bool KomponenteZerstoert(Gegner& g, Feindkomponente& k, const Treffer& t, int32_t VeskNr) {
  const SurfaceInfo& S = *t.S;
  k.Lebt = VBFalse;
  GegnerGeaendert(t.Feind);
  const Rechteck b = Trefferkasten(t);
  AddPartikel(1, 100, b.Left, b.Top, b.Right, b.Bottom, false);
  AddExplosionsPartikel(b.Left, b.Top, b.Right, b.Bottom);
  if (g.Typ.Parameter[kWrackTeile] > 0) {
    // Summed in 32 bits: two 16-bit sizes cannot overflow here.
    const int32_t rauch = IDiv(int32_t{S.Width} + int32_t{S.Height}, 2) - 10;
    Add1BigPartikel(g.X + k.OffsetX, g.Y + k.OffsetY, 0.2f, -0.1f, 0, static_cast<float>(k.AniA),
                    static_cast<float>(k.TiA), k.Sprite, 0, 100, 12, static_cast<float>(rauch));
  }
  upcall::AddPunkte(k.Punkte, static_cast<float>(t.cx + IDiv(S.RandMaxX - S.RandMinX, 2)),
                    static_cast<float>(t.cy + IDiv(S.LetzteZeile - S.ErsteZeile, 2)), -1.0f, VeskNr);
  Klang(SndExplosion[0]);
  if (Wahr(k.VerlustToetet)) return true;
  return std::none_of(g.Typ.Komponenten.begin(), g.Typ.Komponenten.end(),
                      [](const Feindkomponente& j) { return Wahr(j.Lebt); });
}

void StarteTod(Gegner& g, int32_t art) {
  g.TodArt = art;
  g.Stirbt = VBTrue;
  g.TodZeit = 0;
}

// Every living component bursts at once.
void ZerplatzeAlle(const Gegner& g) {
  for (const Feindkomponente& k : g.Typ.Komponenten) {
    if (!Wahr(k.Lebt)) continue;
    if (const SurfaceInfo* S = FrameBild(k.Sprite, k.AniA)) {
      const int32_t cx = Platz(g.X + k.OffsetX), cy = Platz(g.Y + k.OffsetY);
      const int32_t l = S->RandMinX + cx, o = S->ErsteZeile + cy, r = S->RandMaxX + cx, u = S->LetzteZeile + cy;
      AddPartikel(1, 150, l + 5, o + 5, r - 5, u - 5, false);
      AddExplosionsPartikel(l, o, r, u);
    }
    ++Spieler[0].Abschuesse;
  }
}

// Enemy `e` has lost its energy or its vital part: it leaves its followers and starts
// the death that fits the enemy and the way it was hit.
void GegnerZerstoert(int32_t e, const Treffer& t, bool Full_Beam, int32_t Skip, int32_t VeskNr) {
  Gegner& g = GegnerListe[e];
  const auto& P = g.Typ.Parameter;
  const int32_t punkte = g.Typ.Punkte;
  const float px = static_cast<float>(t.cx + IDiv(g.Typ.Width, 2));
  const float py = static_cast<float>(t.cy + IDiv(g.Typ.Height, 2));
  // Whichever way it dies, it is no longer what the table holds.
  GegnerGeaendert(e);
  AddForce(1, 20, VeskNr);
  Nachfolger(g);

  if (P[kSpaltTod] >= 1 || P[kZerfallTod] >= 1) {
    Todesschuss(g);
    upcall::AddPunkte(punkte, px, py, 0, VeskNr);
    StarteTod(g, P[kSpaltTod] >= 1 ? kTodFlaeche : kTodZerfall);
    Klang(SndSpalt);
    return;
  }

  const bool power = IstSpieler(VeskNr) && Wahr(Beam[VeskNr].Powermodus);
  const bool schlicht = P[kBoss] < 1 && !power && !Full_Beam && !Wahr(WeltAngehalten);
  if (Skip != -1 || schlicht) {
    Todesschuss(g);
    Klang(SndExplosion[punkte < 1500 ? 1 : 2]);
    // An enemy destroyed by another one scores for nobody.
    if (Skip == -1) upcall::AddPunkte(punkte, px, py, -1.0f, VeskNr);
    ZerplatzeAlle(g);
    if (P[kTodesSequenz] < 1) {
      KillEnemy(e);
    } else {
      StarteTod(g, kTodWrack);
    }
    return;
  }

  if (power) {
    ComboFaktor[VeskNr] = static_cast<float>(ComboTreffer[VeskNr] * 0.1 + 1.0);
    ComboTreffer[VeskNr] += 1;
  }
  upcall::AddPunkte(punkte, px, py, 0, VeskNr);
  int32_t art = kTodStrahl;
  if (power) art = kTodPowerSpaltung;
  if (Wahr(WeltAngehalten)) art = kTodFunkeln;
  if (P[kBoss] > 0) {
    art = kTodBoss;
    // A boss scores for both players; the other player exists only beside a real one.
    if (LetzterSpieler > 0 && IstSpieler(VeskNr)) upcall::AddPunkte(punkte, px, py, 0, 1 - VeskNr);
  }
  StarteTod(g, art);
  Klang(SndSpalt);
}

}  // namespace

bool StueckUeberlappt(const SurfaceInfo& S, int32_t ox, int32_t oy, const Rechteck& r, int32_t& minX,
                      int32_t& maxX) {
  return KastenUeberlappt(S, ox, oy, r) && ZeilenUeberlappen(S, ox, oy, r, minX, maxX, false);
}

int32_t CheckColisionWithEnemy(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Energie,
                               bool TrefferAnzeigen, bool Full_Beam, int32_t Skip, int32_t& FeindID,
                               bool& Unzerstörbargetroffen, int32_t VeskNr) {
  const Rechteck r{Left, Top, Right, Bottom};
  const Fund f = Beantwortet([&](bool tabelle) { return Suche(tabelle, r, Skip); });
  if (!f.Da) return Energie;
  const Treffer& t = f.T;
  FeindID = t.Feind;
  if (Energie < 0) return 0;  // only asked where an enemy is

  Gegner& g = GegnerListe[t.Feind];
  Feindkomponente& k = g.Typ.Komponenten[t.Komponente];
  int32_t rest = g.Typ.Parameter[kDurchschlag] >= 1 && Full_Beam ? Energie : 0;
  if (Wahr(k.Unzerstörbar)) {
    Unzerstörbargetroffen = true;
    return rest;
  }
  Unzerstörbargetroffen = false;
  if (TrefferAnzeigen) {
    const Rechteck b = Trefferkasten(t);
    AddPartikel(1, 10, b.Left, b.Top, b.Right, b.Bottom, true);
  }
  Trefferblitz(g, k);

  bool tot;
  if (Wahr(k.TrefferAufGegner)) {
    g.Typ.HP = static_cast<float>(double{g.Typ.HP} - Energie);
    if (g.Typ.HP > 0) return 0;
    rest = CLng(-double{g.Typ.HP});
    tot = true;
  } else {
    k.HP = static_cast<float>(double{k.HP} - Energie);
    if (k.HP > 0) return rest;
    rest = CLng(-double{k.HP});
    tot = KomponenteZerstoert(g, k, t, VeskNr);
  }
  if (tot) GegnerZerstoert(t.Feind, t, Full_Beam, Skip, VeskNr);
  return rest;
}

bool CheckColisionWithLandschaft3(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Skip) {
  const Rechteck r{Left, Top, Right, Bottom};
  return Beantwortet([&](bool tabelle) {
    return Hindernisse(tabelle, r, true, Skip,
                       [&](const SurfaceInfo& S, int32_t ox, int32_t oy) { return Trifft(S, ox, oy, r); });
  });
}

int32_t CheckWhereColisionLeft(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  const Rechteck r{Left, Top, Right, Bottom};
  return Beantwortet([&](bool tabelle) {
    int32_t ergebnis = -1, minX = 0, maxX = 0;
    Hindernisse(tabelle, r, false, -1, [&](const SurfaceInfo& S, int32_t ox, int32_t oy) {
      if (StueckUeberlappt(S, ox, oy, r, minX, maxX)) ergebnis = std::max(ergebnis, Kante(ox, maxX));
      return false;
    });
    return ergebnis;
  });
}

int32_t CheckWhereColisionRight(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  const Rechteck r{Left, Top, Right, Bottom};
  return Beantwortet([&](bool tabelle) {
    int32_t ergebnis = kBildschirmBreite, minX = 0, maxX = 0;
    Hindernisse(tabelle, r, false, -1, [&](const SurfaceInfo& S, int32_t ox, int32_t oy) {
      if (StueckUeberlappt(S, ox, oy, r, minX, maxX)) ergebnis = std::min(ergebnis, Kante(ox, minX));
      return false;
    });
    return ergebnis;
  });
}
