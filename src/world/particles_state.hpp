#pragma once
// Small particles (two groups), effect particles and bubbles.
#include <array>
#include <cstdint>

#include "shell/pool.hpp"

// A spark: a small square that falls with the level's gravity and fades out.
struct PartikelDaten {
  float X = 0, Y = 0;    // top-left corner
  float DX = 0, DY = 0;  // per tick; gravity is added to DY
  int32_t Farbe = 0;     // packed in the back buffer's format, for the colour fill
  float R = 0, G = 0, B = 0, A = 0;  // for the quad; A is not read
  int32_t Durchmesser = 0;
  int16_t Leben = 0;     // ticks left; gone below 0
  int16_t LebenMax = 0;  // alpha is Leben / LebenMax
  int16_t Aktiv = 0;
};

// An effect particle of kind `Art` 0..17. A wreck piece (kind 12) keeps other things in
// some fields: R its angle, G and B its frame and frame timer, Durchmesser its sprite
// definition.
struct BigPartikelDaten {
  float x = 0, y = 0;  // top-left corner of its square
  float SX = 0, SY = 0;
  float R = 0, G = 0, B = 0;
  float Alpha = 0;          // 1 when made; every fade comes from Dead / DeadMax
  int32_t Durchmesser = 0;  // side of the square (lightning and wide ring: height)
  int32_t Still = 0;        // ticks it waits before it moves and ages
  int32_t Dead = 0;         // ticks left
  int32_t DeadMax = 0;      // its life when made
  int16_t Aktiv = 0;
  int32_t Art = 0;
  float Parameter = 0;      // growth, width, angle or smoke size, by kind
};

// An air bubble rising to the water surface.
struct Blase {
  float X = 0, Y = 0;  // top-left corner
  int32_t D = 0;       // side of its square
  int32_t Phase = 0;   // degrees 0..359 of its sideways wobble
  int16_t Aktiv = 0;
};

// The records' fields in their order, for checkpoints.
template <class IO>
void Felder(IO& io, PartikelDaten& p) {
  io.Single(p.X);
  io.Single(p.Y);
  io.Single(p.DX);
  io.Single(p.DY);
  io.Int32(p.Farbe);
  io.Single(p.R);
  io.Single(p.G);
  io.Single(p.B);
  io.Single(p.A);
  io.Int32(p.Durchmesser);
  io.Int16(p.Leben);
  io.Int16(p.LebenMax);
  io.Int16(p.Aktiv);
}

template <class IO>
void Felder(IO& io, BigPartikelDaten& p) {
  io.Single(p.x);
  io.Single(p.y);
  io.Single(p.SX);
  io.Single(p.SY);
  io.Single(p.R);
  io.Single(p.G);
  io.Single(p.B);
  io.Single(p.Alpha);
  io.Int32(p.Durchmesser);
  io.Int32(p.Still);
  io.Int32(p.Dead);
  io.Int32(p.DeadMax);
  io.Int16(p.Aktiv);
  io.Int32(p.Art);
  io.Single(p.Parameter);
}

template <class IO>
void Felder(IO& io, Blase& b) {
  io.Single(b.X);
  io.Single(b.Y);
  io.Int32(b.D);
  io.Int32(b.Phase);
  io.Int16(b.Aktiv);
}

// True when a slot is free at or above the pool's first-free hint, which is where adding
// looks. The creators ask before they draw the random numbers of a particle, so that a
// full pool costs the game's random sequence nothing.
template <class T, int32_t Capacity>
bool HatPlatz(const Pool<T, Capacity>& pool) {
  for (int32_t k = pool.Frei < 0 ? 0 : pool.Frei; k <= Capacity; ++k)
    if (pool[k].Aktiv == VBFalse) return true;
  return false;
}

inline std::array<Pool<PartikelDaten, 1500>, 2> Partikel;
inline Pool<BigPartikelDaten, 4000> BigPartikel;
inline int32_t& BigPartikelFrei = BigPartikel.Frei;
inline int32_t& BigPartikelMax = BigPartikel.Max;
inline Pool<Blase, 200> Blasen;

// Small particles are on and drawn as textured quads (off: colour fills of the back
// buffer); the start-up sets both and nothing switches them off.
inline bool PartikelAn = true;
inline bool PartikelD3D = true;
