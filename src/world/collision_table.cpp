// The hit tests' table: building it at the first test of a pass, entering the enemies
// that changed since, and the enemy search from it. Every piece keeps the place, picture
// and order the scan would give it, so the table leaves out only pieces that cannot touch
// a rectangle and the answers stay the scan's.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "world/collision.hpp"
#include "world/collision_internal.hpp"
#include "world/collision_table_state.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"

namespace kollision {

namespace {

using treffertabelle::Kasten;
using treffertabelle::Menge;
using treffertabelle::Quellen;
using treffertabelle::Raster;
using treffertabelle::Stueck;

treffertabelle::Tabelle& T() { return Treffertabelle; }

// The band of a coordinate: its 32-pixel column or row, the outer bands taking
// everything beyond them. Rising with the coordinate, so a box that crosses a rectangle
// shares a band with it in both directions.
int32_t Band(int64_t v, int32_t baender) {
  return static_cast<int32_t>(std::clamp<int64_t>(v >> Raster::kBandBits, 0, baender - 1));
}

// The coordinates a box reaches in one direction, whichever way round its edges lie.
struct Spanne {
  int64_t Von = std::numeric_limits<int64_t>::max();
  int64_t Bis = std::numeric_limits<int64_t>::min();
  void Dazu(int64_t a, int64_t b) {
    Von = std::min({Von, a, b});
    Bis = std::max({Bis, a, b});
  }
};

void Eintragen(Raster& b, int32_t i, const Spanne& x, const Spanne& y) {
  Raster::Lage& l = b.Lagen[static_cast<size_t>(i)];
  l = {Band(x.Von, Raster::kSpalten), Band(x.Bis, Raster::kSpalten), Band(y.Von, Raster::kZeilen),
       Band(y.Bis, Raster::kZeilen)};
  for (int32_t s = l.Spalte0; s <= l.Spalte1; ++s) b.Spalten[static_cast<size_t>(s)].Setzen(i);
  for (int32_t z = l.Zeile0; z <= l.Zeile1; ++z) b.Zeilen[static_cast<size_t>(z)].Setzen(i);
  b.Alle.Setzen(i);
}

void Austragen(Raster& b, int32_t i) {
  Raster::Lage& l = b.Lagen[static_cast<size_t>(i)];
  if (l.Spalte0 < 0) return;
  for (int32_t s = l.Spalte0; s <= l.Spalte1; ++s) b.Spalten[static_cast<size_t>(s)].Loeschen(i);
  for (int32_t z = l.Zeile0; z <= l.Zeile1; ++z) b.Zeilen[static_cast<size_t>(z)].Loeschen(i);
  b.Alle.Loeschen(i);
  l = {};
}

Stueck Teil(const SurfaceInfo* S, int32_t x, int32_t y, int32_t nr) {
  const int64_t X = x, Y = y;
  return {{S->SrcRect.Left + X, S->ErsteZeile + Y, S->SrcRect.Right + X, S->LetzteZeile + Y}, S, x, y, nr};
}

Quellen JetzigeQuellen() {
  const std::vector<LandschaftObjekt>& felsen = Landschaft[3].Objekte;
  return {Surfaces.data(), Surfaces.size(), SpriteDefs.data(), SpriteDefs.size(), felsen.data(), felsen.size()};
}

// Enters enemy slot `e` as it stands: its living components with a picture, if it is
// active and not dying. False when it has more components than a slot has room for.
bool GegnerEintragen(int32_t e) {
  treffertabelle::Tabelle& t = T();
  const size_t i = static_cast<size_t>(e);
  Austragen(t.Feinde, e);
  t.Anzahl[i] = 0;
  t.Feste.Loeschen(e);
  const Gegner& g = GegnerListe[e];
  if (!Wahr(g.Aktiv) || Wahr(g.Stirbt)) return true;
  if (g.Typ.Komponenten.size() > t.Raum) return false;
  Stueck* teile = t.Teile.data() + i * t.Raum;
  int32_t n = 0;
  Kasten u{std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max(),
           std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min()};
  Spanne x, y;
  for (int32_t c = 0; c <= g.Typ.KomponentenMax(); ++c) {
    const Feindkomponente& k = g.Typ.Komponenten[static_cast<size_t>(c)];
    if (!Wahr(k.Lebt)) continue;
    const SurfaceInfo* S = FrameBild(k.Sprite, k.AniA);
    if (!S) continue;
    const Stueck s = Teil(S, Platz(g.X + k.OffsetX), Platz(g.Y + k.OffsetY), c);
    teile[n++] = s;
    u = {std::min(u.Links, s.Box.Links), std::min(u.Oben, s.Box.Oben), std::max(u.Rechts, s.Box.Rechts),
         std::max(u.Unten, s.Box.Unten)};
    x.Dazu(s.Box.Links, s.Box.Rechts);
    y.Dazu(s.Box.Oben, s.Box.Unten);
  }
  if (n == 0) return true;
  t.Anzahl[i] = n;
  t.Umriss[i] = u;
  Eintragen(t.Feinde, e, x, y);
  if (g.Typ.Parameter[kFest] >= 1) t.Feste.Setzen(e);
  return true;
}

void FelsEintragen(int32_t i) {
  const LandschaftObjekt& o = Landschaft[3].Objekte[static_cast<size_t>(i)];
  if (!Wahr(o.Aktiv)) return;
  const SurfaceInfo* S = AktuellesBild(o.Sprite);
  if (!S) return;
  const Stueck s = Teil(S, Platz(o.X), Platz(o.Y), i);
  T().Felsen[static_cast<size_t>(i)] = s;
  Spanne x, y;
  x.Dazu(s.Box.Links, s.Box.Rechts);
  y.Dazu(s.Box.Oben, s.Box.Unten);
  Eintragen(T().Steine, i, x, y);
}

// The whole table from the pool and layer 3 as they stand.
void Aufbauen() {
  treffertabelle::Tabelle& t = T();
  size_t komponenten = 0;
  for (const Gegner& g : GegnerListe.Slot) komponenten = std::max(komponenten, g.Typ.Komponenten.size());
  // Only a level that was not loaded (placed by hand) can need more room here.
  if (komponenten > t.Raum) ReserveCollisionTable(komponenten);
  t.Aus = JetzigeQuellen();
  t.Feinde = Raster{};
  t.Steine = Raster{};
  t.Feste = Menge{};
  t.Veraltet = Menge{};
  t.EtwasVeraltet = false;
  const int32_t felsen = static_cast<int32_t>(Landschaft[3].Objekte.size());
  for (int32_t i = 0; i < felsen; ++i) FelsEintragen(i);
  for (int32_t e = 0; e < treffertabelle::kGegnerPlaetze; ++e) GegnerEintragen(e);
  t.Gebaut = true;
}

}  // namespace

bool TabelleBereit() {
  treffertabelle::Tabelle& t = T();
  if (t.OffeneDurchgaenge == 0) return false;
  // A layer 3 with more slots than the table has bits is left to the scan.
  if (Landschaft[3].Objekte.size() > static_cast<size_t>(treffertabelle::kPlaetze)) return false;
  // A table that a picture or level load has moved under the pieces is built anew.
  if (!t.Gebaut || !(t.Aus == JetzigeQuellen())) Aufbauen();
  if (t.EtwasVeraltet) {
    t.EtwasVeraltet = false;
    const bool passt = !JedesMitglied(t.Veraltet, treffertabelle::kGegnerPlaetze - 1,
                                      [](int32_t e) { return !GegnerEintragen(e); });
    t.Veraltet = Menge{};
    if (!passt) Aufbauen();
  }
  return true;
}

Menge Kandidaten(const Raster& b, const Rechteck& r, Menge unter) {
  unter &= b.Alle;
  if (unter.Leer()) return unter;
  const int32_t s0 = Band(std::min(r.Left, r.Right), Raster::kSpalten);
  const int32_t s1 = Band(std::max(r.Left, r.Right), Raster::kSpalten);
  const int32_t z0 = Band(std::min(r.Top, r.Bottom), Raster::kZeilen);
  const int32_t z1 = Band(std::max(r.Top, r.Bottom), Raster::kZeilen);
  Menge spalten, zeilen;
  for (int32_t s = s0; s <= s1; ++s) spalten |= b.Spalten[static_cast<size_t>(s)];
  for (int32_t z = z0; z <= z1; ++z) zeilen |= b.Zeilen[static_cast<size_t>(z)];
  unter &= spalten;
  unter &= zeilen;
  return unter;
}

bool SucheTrefferInTabelle(const Rechteck& r, int32_t Skip, Treffer& treffer) {
  const treffertabelle::Tabelle& t = T();
  Menge ohneSkip = t.Feinde.Alle;
  if (Skip >= 0 && Skip < treffertabelle::kGegnerPlaetze) ohneSkip.Loeschen(Skip);
  return JedesMitglied(Kandidaten(t.Feinde, r, ohneSkip), LetzterGegner(), [&](int32_t e) {
    const size_t i = static_cast<size_t>(e);
    if (!Kreuzt(t.Umriss[i], r)) return false;
    const Stueck* teile = t.Teile.data() + i * t.Raum;
    for (int32_t n = t.Anzahl[i] - 1; n >= 0; --n) {
      const Stueck& s = teile[n];
      int32_t minX = 0, maxX = 0;
      if (Kreuzt(s.Box, r) && ZeilenUeberlappen(*s.S, s.X, s.Y, r, minX, maxX, true)) {
        treffer = Treffer{e, s.Nr, s.S, s.X, s.Y};
        return true;
      }
    }
    return false;
  });
}

}  // namespace kollision

Trefferdurchgang::Trefferdurchgang() {
  // Whatever happened between two passes, the first test of this one builds afresh.
  if (Treffertabelle.OffeneDurchgaenge++ == 0) Treffertabelle.Gebaut = false;
}

Trefferdurchgang::~Trefferdurchgang() {
  if (Treffertabelle.OffeneDurchgaenge > 0 && --Treffertabelle.OffeneDurchgaenge == 0) Treffertabelle.Gebaut = false;
}

void GegnerGeaendert(int32_t Nr) {
  treffertabelle::Tabelle& t = Treffertabelle;
  if (!t.Gebaut || Nr < 0 || Nr >= treffertabelle::kGegnerPlaetze) return;
  t.Veraltet.Setzen(Nr);
  t.EtwasVeraltet = true;
}
