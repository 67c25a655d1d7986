#pragma once
// The enemy pool: each enemy a copy of its template followed by its run-time state.
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "shell/basic.hpp"
#include "shell/pool.hpp"
#include "world/level_data_state.hpp"

// One of the six flying pieces of a wreck.
struct WrackTeil {
  float Richtung = 0;  // degrees; 0 or less: the piece is gone
  int32_t Frame = 0;
  int32_t FrameZeit = 0;
};

struct Gegner {
  GegnerTyp Typ;  // the template part, copied when the enemy is placed
  int32_t RouteNr = 0;
  float X = 0, Y = 0;
  int16_t Aktiv = 0;
  int32_t RoutePos = 0;
  float MX = 0, MY = 0;
  float Ti = 0;
  std::array<float, 8> Vari{};
  std::array<float, 14> GVar{};
  int32_t LTick = 0;
  int32_t AY = 0;
  int32_t TodZeit = 0;
  int32_t TodArt = 0;
  int16_t Stirbt = 0;
  int32_t VeskNr = 0;
  // The pieces of a wreck while it falls apart (the body's route variables hold only its
  // sprite by then).
  std::array<WrackTeil, 6> WrackTeile{};
};

// The record's fields in their order, for checkpoints.
template <class IO>
void Felder(IO& io, WrackTeil& w) {
  io.Single(w.Richtung);
  io.Int32(w.Frame);
  io.Int32(w.FrameZeit);
}

template <class IO>
void Felder(IO& io, Gegner& g) {
  Felder(io, g.Typ);
  io.Int32(g.RouteNr);
  io.Single(g.X);
  io.Single(g.Y);
  io.Int16(g.Aktiv);
  io.Int32(g.RoutePos);
  io.Single(g.MX);
  io.Single(g.MY);
  io.Single(g.Ti);
  for (float& v : g.Vari) io.Single(v);
  for (float& v : g.GVar) io.Single(v);
  io.Int32(g.LTick);
  io.Int32(g.AY);
  io.Int32(g.TodZeit);
  io.Int32(g.TodArt);
  io.Int16(g.Stirbt);
  io.Int32(g.VeskNr);
  for (WrackTeil& w : g.WrackTeile) Felder(io, w);
}

inline Pool<Gegner, 100> GegnerListe;
inline int32_t& GegnerFrei = GegnerListe.Frei;
inline int32_t& GegnerMax = GegnerListe.Max;
inline bool SonderGegnerDa = false;

// A blank record: every field zero and no components, but the template keeps the room of
// its component list and name, so the next enemy placed here allocates nothing.
inline void LeereGegner(Gegner& g) {
  GegnerTyp typ = std::move(g.Typ);
  EmptyKeepingCapacity(typ);
  g = Gegner{};
  g.Typ = std::move(typ);
}

// Before a level pass: every slot free with an empty template (keeping its room), no boss.
inline void ResetEnemies() {
  GegnerListe.Frei = 0;
  GegnerListe.Max = -1;
  for (Gegner& g : GegnerListe.Slot) {
    EmptyKeepingCapacity(g.Typ);
    g.Aktiv = VBFalse;
  }
  SonderGegnerDa = false;
}

// While a level loads, after its templates: makes room in every slot for the largest
// template, so placing an enemy during play copies its template without allocating.
inline void ReserveEnemySlots() {
  const size_t komponenten = MeisteKomponenten();
  size_t name = 0;
  for (const GegnerTyp& t : GegnerTypen) name = std::max(name, t.Name.size());
  for (Gegner& g : GegnerListe.Slot) {
    g.Typ.Komponenten.reserve(komponenten);
    g.Typ.Name.reserve(name);
  }
}
