#pragma once
// Enemy shots and the running shot generators.
#include <array>
#include <cstdint>

#include "shell/pool.hpp"

struct GegnerSchussDaten {
  float X = 0, Y = 0;
  float MX = 0, MY = 0;
  int16_t Aktiv = 0;
  float HP = 0;
  int32_t RouteNr = -1;
  int32_t RoutePos = 0;
  int32_t Frame = 0;
  int32_t FrameZeit = 0;
  float Speed = 0;
  int32_t ID = 0;
  int32_t Nr = 0;
  int32_t NRK = 0;
  std::array<float, 8> Vari{};
  int32_t BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;
  std::array<float, 13> SpurX{};
  std::array<float, 13> SpurY{};
  std::array<int32_t, 13> SpurBild{};
  float Alpha = 0;
  float AlphaSchritt = 0;
};

struct SchussErzeugerDaten {
  int32_t Nr = 0;
  int32_t FeindNR = -1;
  int32_t FeindNRKomponente = -1;
  int16_t Aktiv = 0;
  std::array<int32_t, 11> Rest{};
  std::array<int32_t, 11> Countdown{};
  int32_t Schusszaehler = 0;
  float X = 0, Y = 0;
  int32_t VeskNr = 0;
};

inline Pool<GegnerSchussDaten, 500> GegnerSchuesse;
inline Pool<SchussErzeugerDaten, 50> SchussErzeuger;
