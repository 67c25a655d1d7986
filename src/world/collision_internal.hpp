#pragma once
// What the hit tests' scan and their table share: the piece test, the rounding of a
// piece's place, and the table's side of the tests (collision_table.cpp).
#include <algorithm>
#include <cstdint>

#include "shell/basic.hpp"
#include "world/collision.hpp"
#include "world/collision_table_state.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"

namespace kollision {

// What the template value `Parameter`(8) means: >= 1 solid, ships and shots cannot pass.
inline constexpr int kFest = 8;

inline bool Wahr(int16_t flag) { return flag != VBFalse; }

// CLng of a position, without the call: the hit tests round two per piece, a million
// times a tick. Below 2^51, adding and taking away 1.5 * 2^52 leaves x rounded half to
// even (the default rounding mode); anything else goes the long way.
inline int32_t Platz(float v) {
  const double x = v;
  if (x > -2147483648.0 && x < 2147483647.0) {  // false for NaN too
    constexpr double kRunden = 6755399441055744.0;
    return static_cast<int32_t>((x + kRunden) - kRunden);
  }
  return CLng(x);
}

// The first half of the piece test: the picture's opaque box crosses the rectangle. In
// 64 bits, so that rectangles and places far off the screen cannot wrap around.
inline bool KastenUeberlappt(const SurfaceInfo& S, int64_t x, int64_t y, const Rechteck& r) {
  return S.SrcRect.Left + x < r.Right && S.SrcRect.Right + x > r.Left && S.ErsteZeile + y < r.Bottom &&
         S.LetzteZeile + y > r.Top;
}

// The second half: the widest opaque span of the picture rows from the rectangle's top to
// its bottom row (inclusive) crosses the rectangle. With `nurObTreffer` the scan stops as
// soon as the answer is settled (the span only grows), and `minX`, `maxX` are then only
// as far as it got.
inline bool ZeilenUeberlappen(const SurfaceInfo& S, int64_t x, int64_t y, const Rechteck& r, int32_t& minX,
                              int32_t& maxX, bool nurObTreffer) {
  // Only the rows the profile holds: a picture without one has nothing opaque.
  const int64_t zeilen = static_cast<int64_t>(std::min(S.RandLinks.size(), S.RandRechts.size()));
  const int64_t von = std::max<int64_t>({S.ErsteZeile, r.Top - y, 0});
  const int64_t bis = std::min<int64_t>({r.Bottom - y, S.LetzteZeile, zeilen - 1});
  const int32_t* links = S.RandLinks.data();
  const int32_t* rechts = S.RandRechts.data();
  minX = 10000;
  maxX = 0;
  for (int64_t z = von; z <= bis; ++z) {
    if (links[z] <= -1) continue;
    minX = std::min(minX, links[z]);
    maxX = std::max(maxX, rechts[z]);
    if (nurObTreffer && minX + x < r.Right && maxX + x > r.Left) return true;
  }
  return minX + x < r.Right && maxX + x > r.Left;
}

// The piece test where only its answer counts.
inline bool Trifft(const SurfaceInfo& S, int32_t ox, int32_t oy, const Rechteck& r) {
  int32_t minX = 0, maxX = 0;
  return KastenUeberlappt(S, ox, oy, r) && ZeilenUeberlappen(S, ox, oy, r, minX, maxX, true);
}

// The highest enemy slot to visit: the pool's own bound caps a damaged `GegnerMax`.
inline int32_t LetzterGegner() { return std::min(GegnerMax, GegnerListe.Kapazitaet); }

// The highest layer-3 slot to visit.
inline int32_t LetzterFels() {
  const LandschaftEbene& ebene = Landschaft[3];
  return std::min(ebene.Max, ebene.Kapazitaet());
}

// The picture of the shared current frame of sprite definition `Sprite`.
inline const SurfaceInfo* AktuellesBild(int32_t Sprite) {
  if (Sprite < 0 || Sprite > SpriteDefsMax()) return nullptr;
  return FrameBild(Sprite, SpriteDefs[Sprite].AniA);
}

// The component a rectangle hit, and where its picture lies.
struct Treffer {
  int32_t Feind = -1;
  int32_t Komponente = -1;
  const SurfaceInfo* S = nullptr;
  int32_t cx = 0, cy = 0;
  bool operator==(const Treffer&) const = default;
};

// ---- The table's side (collision_table.cpp) ------------------------------------------

// A pass is open and the table can answer: it is brought up to date for the next test.
bool TabelleBereit();

// As the scan: the first living component the rectangle touches, enemies in slot order,
// within an enemy from its highest-numbered component down.
bool SucheTrefferInTabelle(const Rechteck& r, int32_t Skip, Treffer& t);

// Which objects of `unter` may touch the rectangle: those entered in raster `b` in a
// column and a row that it reaches into.
treffertabelle::Menge Kandidaten(const treffertabelle::Raster& b, const Rechteck& r, treffertabelle::Menge unter);

// Whether box `k` crosses the rectangle, edges that only touch not counting.
inline bool Kreuzt(const treffertabelle::Kasten& k, const Rechteck& r) {
  return k.Links < r.Right && k.Rechts > r.Left && k.Oben < r.Bottom && k.Unten > r.Top;
}

// Calls `f`(i) for each member i of `m` in rising order up to `letzter`, until `f`
// returns true. True when it did.
template <class F>
bool JedesMitglied(const treffertabelle::Menge& m, int32_t letzter, F&& f) {
  for (size_t w = 0; w < m.W.size(); ++w) {
    for (uint64_t bits = m.W[w]; bits != 0; bits &= bits - 1) {
      const int32_t i = static_cast<int32_t>(w * 64) + __builtin_ctzll(bits);
      if (i > letzter) return false;
      if (f(i)) return true;
    }
  }
  return false;
}

// As the scan over the solid scenery, from the table: `f`(S, ox, oy) for the pieces that
// may touch the rectangle, the items of layer 3 first, then the living components of the
// active, not dying enemies (only the solid ones when `nurFeste`, never enemy `Skip`),
// each enemy's from its first component on, until `f` returns true. True when it did.
// The pieces left out cannot touch the rectangle, so `f` finds what it would find in
// all of them.
template <class F>
bool HindernisseInTabelle(const Rechteck& r, bool nurFeste, int32_t Skip, F&& f) {
  const treffertabelle::Tabelle& t = Treffertabelle;
  const auto teilTrifft = [&](const treffertabelle::Stueck& s) {
    return Kreuzt(s.Box, r) && f(*s.S, s.X, s.Y);
  };
  if (JedesMitglied(Kandidaten(t.Steine, r, t.Steine.Alle), LetzterFels(),
                    [&](int32_t i) { return teilTrifft(t.Felsen[static_cast<size_t>(i)]); }))
    return true;
  treffertabelle::Menge feinde = nurFeste ? t.Feste : t.Feinde.Alle;
  if (nurFeste && Skip >= 0 && Skip < treffertabelle::kGegnerPlaetze) feinde.Loeschen(Skip);
  return JedesMitglied(Kandidaten(t.Feinde, r, feinde), LetzterGegner(), [&](int32_t e) {
    const size_t i = static_cast<size_t>(e);
    if (!Kreuzt(t.Umriss[i], r)) return false;
    const treffertabelle::Stueck* teile = t.Teile.data() + i * t.Raum;
    return std::any_of(teile, teile + t.Anzahl[i], teilTrifft);
  });
}

}  // namespace kollision
