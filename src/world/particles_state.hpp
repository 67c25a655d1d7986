#pragma once
// Small particles (two groups), effect particles and bubbles.
#include <array>
#include <cstdint>

#include "shell/pool.hpp"

struct PartikelDaten {
  float X = 0, Y = 0;
  float DX = 0, DY = 0;
  int32_t Farbe = 0;
  float R = 0, G = 0, B = 0, A = 0;
  int32_t Durchmesser = 0;
  int16_t Leben = 0;
  int16_t LebenMax = 0;
  int16_t Aktiv = 0;
};

struct BigPartikelDaten {
  float X = 0, Y = 0;
  float SX = 0, SY = 0;
  float R = 0, G = 0, B = 0;
  float Alpha = 0;
  int32_t Durchmesser = 0;
  int32_t Still = 0;
  int32_t Dead = 0;
  int32_t DeadMax = 0;
  int16_t Aktiv = 0;
  int32_t Art = 0;
  float Parameter = 0;
};

struct Blase {
  float X = 0, Y = 0;
  int32_t D = 0;
  int32_t Phase = 0;
  int16_t Aktiv = 0;
};

inline std::array<Pool<PartikelDaten, 1500>, 2> Partikel;
inline Pool<BigPartikelDaten, 4000> BigPartikel;
inline int32_t& BigPartikelFrei = BigPartikel.Frei;
inline int32_t& BigPartikelMax = BigPartikel.Max;
inline Pool<Blase, 200> Blasen;

// Small particles are on and drawn as textured quads; nothing switches them off.
inline bool PartikelAn = true;
inline bool QuadPartikel = true;
