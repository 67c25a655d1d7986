#pragma once
// Enemy shots and the running shot generators.
#include <array>
#include <cstdint>

#include "shell/pool.hpp"

// The points of a shot's trail: the last 13 positions, oldest first.
inline constexpr int32_t SchussSpurPunkte = 13;

struct GegnerSchussDaten {
  float X = 0, Y = 0;  // top left of the picture
  float MX = 0, MY = 0;
  int16_t Aktiv = 0;
  float HP = 0;  // damage to a ship it hits
  int32_t RouteNr = -1;
  int32_t RoutePos = 0;
  int32_t Frame = 0;
  int32_t FrameZeit = 0;
  float Speed = 0;
  int32_t ID = 0;   // the generator's shot counter; -1 a shock wave
  int32_t Nr = 0;   // generator definition (a shock wave: its size step)
  int32_t NRK = 0;  // salvo entry (a shock wave: its last size step)
  std::array<float, 8> Vari{};
  int32_t BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;  // relative to X, Y
  std::array<float, SchussSpurPunkte> SpurX{};
  std::array<float, SchussSpurPunkte> SpurY{};
  std::array<int32_t, SchussSpurPunkte> SpurBild{};  // surface per point, -1 none
  float Alpha = 0;
  float AlphaSchritt = 0;
  float Ti = 0;  // route wait counter
  int32_t VeskNr = 0;
};

// The record's fields in their order, for checkpoints.
template <class IO>
void Felder(IO& io, GegnerSchussDaten& s) {
  io.Single(s.X);
  io.Single(s.Y);
  io.Single(s.MX);
  io.Single(s.MY);
  io.Int16(s.Aktiv);
  io.Single(s.HP);
  io.Int32(s.RouteNr);
  io.Int32(s.RoutePos);
  io.Int32(s.Frame);
  io.Int32(s.FrameZeit);
  io.Single(s.Speed);
  io.Int32(s.ID);
  io.Int32(s.Nr);
  io.Int32(s.NRK);
  for (float& v : s.Vari) io.Single(v);
  io.Int32(s.BoxLeft);
  io.Int32(s.BoxTop);
  io.Int32(s.BoxRight);
  io.Int32(s.BoxBottom);
  for (float& v : s.SpurX) io.Single(v);
  for (float& v : s.SpurY) io.Single(v);
  for (int32_t& b : s.SpurBild) io.Int32(b);
  io.Single(s.Alpha);
  io.Single(s.AlphaSchritt);
  io.Single(s.Ti);
  io.Int32(s.VeskNr);
}

// A generator keeps the state of this many salvo entries.
inline constexpr int32_t ErzeugerEintraege = 11;

struct SchussErzeugerDaten {
  int32_t Nr = 0;                  // generator definition
  int32_t FeindNR = -1;            // owner enemy, -1 free-standing
  int32_t FeindNRKomponente = -1;  // owner component, -1 free-standing
  int16_t Aktiv = 0;
  std::array<int32_t, ErzeugerEintraege> Rest{};       // shots still to fire minus one; -1 used up
  std::array<int32_t, ErzeugerEintraege> Countdown{};  // frames to the entry's next shot
  int32_t Schusszaehler = 0;       // shots fired so far, each shot's ID
  float X = 0, Y = 0;              // a free-standing generator's place
  int32_t VeskNr = 0;
};

template <class IO>
void Felder(IO& io, SchussErzeugerDaten& e) {
  io.Int32(e.Nr);
  io.Int32(e.FeindNR);
  io.Int32(e.FeindNRKomponente);
  io.Int16(e.Aktiv);
  for (int32_t& r : e.Rest) io.Int32(r);
  for (int32_t& c : e.Countdown) io.Int32(c);
  io.Int32(e.Schusszaehler);
  io.Single(e.X);
  io.Single(e.Y);
  io.Int32(e.VeskNr);
}

inline Pool<GegnerSchussDaten, 500> GegnerSchuesse;
inline Pool<SchussErzeugerDaten, 50> SchussErzeuger;

// The fourteen shared route variables of every enemy shot that runs a route; they carry
// over from frame to frame, and a level pass leaves them as they are (a checkpoint does
// not hold them either).
inline std::array<float, 14> SchussGVar{};

// Before a level pass: no shot, no generator.
inline void ResetEnemyShots() {
  GegnerSchuesse.Reset();
  SchussErzeuger.Reset();
}

// At a start: the shots' shared variables all 0, as a new process has them.
inline void ResetShotVariables() { SchussGVar.fill(0); }
