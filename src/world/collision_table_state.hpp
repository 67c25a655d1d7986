#pragma once
// The hit tests' table of what can be hit. A step that tests many rectangles in a tick
// (the shots, the beam, the rain, ...) opens a pass of hit tests; while one is open the
// tests answer from this table instead of walking the enemy pool and layer 3 for every
// rectangle. It holds each piece that can be hit (a living component with a picture of an
// active, not dying enemy, or an active layer-3 item with a picture) with its box where
// it lies, and a coarse grid of bands over the screen saying which enemies and items
// reach into each band. It is built at the first test of a pass from the world as it
// stands, and an enemy whose pieces change inside the pass is read again before the next
// test.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"

struct SurfaceInfo;  // the surface table is the engine's

namespace treffertabelle {

// Enemy slots and layer-3 items each have one bit of a set.
inline constexpr int32_t kPlaetze = 128;
inline constexpr int32_t kGegnerPlaetze = decltype(GegnerListe)::Kapazitaet + 1;
static_assert(kGegnerPlaetze <= kPlaetze);

struct Menge {
  std::array<uint64_t, kPlaetze / 64> W{};

  void Setzen(int32_t i) { W[static_cast<size_t>(i / 64)] |= uint64_t{1} << (i % 64); }
  void Loeschen(int32_t i) { W[static_cast<size_t>(i / 64)] &= ~(uint64_t{1} << (i % 64)); }
  bool Leer() const { return std::all_of(W.begin(), W.end(), [](uint64_t w) { return w == 0; }); }
  Menge& operator|=(const Menge& m) {
    for (size_t k = 0; k < W.size(); ++k) W[k] |= m.W[k];
    return *this;
  }
  Menge& operator&=(const Menge& m) {
    for (size_t k = 0; k < W.size(); ++k) W[k] &= m.W[k];
    return *this;
  }
};

// A box as the hit tests compare it: left, top, right, bottom. In 64 bits, as the tests
// add a picture's edges to places that may lie anywhere.
struct Kasten {
  int64_t Links = 0, Oben = 0, Rechts = 0, Unten = 0;
};

// A piece that can be hit: picture `S` with its origin at (X, Y), and its box there (the
// picture's source columns and opaque rows). `Nr` is the component's index for the
// pieces of an enemy.
struct Stueck {
  Kasten Box;
  const SurfaceInfo* S = nullptr;
  int32_t X = 0, Y = 0;
  int32_t Nr = 0;
};

// The bands: 32 pixels wide columns and rows over the screen, the outer ones reaching on
// to infinity. Each band has the set of objects whose box reaches into it; each object
// keeps the bands it was entered in, -1 when it is in none. `Alle`: the objects entered.
struct Raster {
  static constexpr int32_t kBandBits = 5;
  static constexpr int32_t kSpalten = 26, kZeilen = 19;  // to x 832 and y 608
  struct Lage {
    int32_t Spalte0 = -1, Spalte1 = -1, Zeile0 = -1, Zeile1 = -1;
  };
  Menge Alle;
  std::array<Menge, kSpalten> Spalten{};
  std::array<Menge, kZeilen> Zeilen{};
  std::array<Lage, kPlaetze> Lagen{};
};

// What the table was built from: the tables its pieces point into.
struct Quellen {
  const SurfaceInfo* Surfaces = nullptr;
  size_t SurfacesAnzahl = 0;
  const SpriteDef* SpriteDefs = nullptr;
  size_t SpriteDefsAnzahl = 0;
  const LandschaftObjekt* Felsen = nullptr;
  size_t FelsenAnzahl = 0;
  bool operator==(const Quellen&) const = default;
};

struct Tabelle {
  int32_t OffeneDurchgaenge = 0;  // passes nest
  bool Gebaut = false;            // in the pass that is open
  Quellen Aus;
  // Enemy slots whose pieces have changed since they were entered.
  Menge Veraltet;
  bool EtwasVeraltet = false;

  // The enemies: slot e's pieces in component order at e * Raum; each slot's count and
  // the box around its pieces; the solid ones.
  size_t Raum = 0;
  std::vector<Stueck> Teile;
  std::array<int32_t, kGegnerPlaetze> Anzahl{};
  std::array<Kasten, kGegnerPlaetze> Umriss{};
  Menge Feste;
  Raster Feinde;

  // The items of layer 3, by slot.
  std::array<Stueck, kPlaetze> Felsen{};
  Raster Steine;

  // For the tests: with `Vergleichen` every answer of the table is checked against the
  // scan over the pool and layer 3, and each that differs is counted. The resets leave
  // these alone, so that a whole level can run with them.
  bool Vergleichen = false;
  int64_t Antworten = 0;
  int64_t Abweichungen = 0;
};

}  // namespace treffertabelle

inline treffertabelle::Tabelle Treffertabelle;

// Room for enemies of up to `Komponenten` components each.
inline void ReserveCollisionTable(size_t Komponenten) {
  treffertabelle::Tabelle& t = Treffertabelle;
  t.Raum = std::max(t.Raum, Komponenten);
  t.Teile.resize(t.Raum * treffertabelle::kGegnerPlaetze);
}

// Before a level pass: no pass open, nothing built; room for enemies of eight components
// (a level makes more while it loads).
inline void ResetCollisionTable() {
  Treffertabelle.OffeneDurchgaenge = 0;
  Treffertabelle.Gebaut = false;
  ReserveCollisionTable(8);
}

// As at program start: nothing built and no room made beyond the first level pass's.
// The tests' comparison and its counts stay, as above.
inline void ResetCollisionTableAtStart() {
  treffertabelle::Tabelle& t = Treffertabelle;
  const bool vergleichen = t.Vergleichen;
  const int64_t antworten = t.Antworten, abweichungen = t.Abweichungen;
  t = treffertabelle::Tabelle{};
  t.Vergleichen = vergleichen;
  t.Antworten = antworten;
  t.Abweichungen = abweichungen;
  ResetCollisionTable();
}
