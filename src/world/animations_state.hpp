#pragma once
// Running key-frame animations.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/record_io.hpp"
#include "shell/pool.hpp"
#include "world/level_data_state.hpp"

struct AnimaTeil {
  float PosX = 0, PosY = 0;
  float R = 0, G = 0, B = 0, A = 0;
  float Drehwinkel = 0;
  int32_t Bild = 0;
  int16_t Sichtbar = 0;
  float ZoomX = 0, ZoomY = 0;
  int32_t Schritt = 0;
  int32_t BildZeit = 0;
};

struct AnimaDaten {
  int32_t Ebene = 0;
  int32_t Typ = 0;
  int16_t Aktiv = 0;
  float X = 0, Y = 0;
  std::vector<AnimaTeil> Teile;  // one per part of its definition; keeps its room when freed
  int32_t Tick = 0;
};

// The records' fields in their order, for checkpoints.
template <class IO>
void Felder(IO& io, AnimaTeil& t) {
  io.Single(t.PosX);
  io.Single(t.PosY);
  io.Single(t.R);
  io.Single(t.G);
  io.Single(t.B);
  io.Single(t.A);
  io.Single(t.Drehwinkel);
  io.Int32(t.Bild);
  io.Int16(t.Sichtbar);
  io.Single(t.ZoomX);
  io.Single(t.ZoomY);
  io.Int32(t.Schritt);
  io.Int32(t.BildZeit);
}

template <class IO>
void Felder(IO& io, AnimaDaten& a) {
  io.Int32(a.Ebene);
  io.Int32(a.Typ);
  io.Int16(a.Aktiv);
  io.Single(a.X);
  io.Single(a.Y);
  platform::DynamischesFeld(io, a.Teile, platform::Mindestgroesse<AnimaTeil>(), INT32_MAX,
                            [](IO& f, AnimaTeil& t) { Felder(f, t); });
  io.Int32(a.Tick);
}

inline Pool<AnimaDaten, 300> Animationen;
inline int32_t& AnimaFrei = Animationen.Frei;
inline int32_t& AnimaMax = Animationen.Max;

// While a level loads, after its animation definitions: makes room in every slot for the
// definition with the most parts, so starting an animation during play allocates nothing.
inline void ReserveAnimationSlots() {
  size_t teile = 0;
  for (const AnimaTypDaten& t : AnimaTypen) teile = std::max(teile, t.Teile.size());
  for (AnimaDaten& a : Animationen.Slot) a.Teile.reserve(teile);
}
