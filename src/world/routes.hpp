#pragma once
// The route language: every numeric operand of a route command is a term (a constant or a
// code naming a variable), and the interpreter runs one enemy body, enemy component or
// enemy shot for one frame, command after command, until a command ends the frame.
#include <array>
#include <cstdint>

#include "world/routes_state.hpp"

// The kinds of object that run routes.
inline constexpr int32_t RouteKoerper = 0;     // an enemy body
inline constexpr int32_t RouteKomponente = 1;  // a component of an enemy
inline constexpr int32_t RouteSchuss = 2;      // an enemy shot

// The object a route runs on: its own fields, by reference, so every change the route
// makes lands in the object. What a route only reads is held by value.
struct RoutenObjekt {
  int32_t Art;      // RouteKoerper, RouteKomponente or RouteSchuss
  int32_t FeindNR;  // the enemy slot that the enemy-related commands act on
  int32_t& RoutePos;
  int32_t RouteNr;
  float& FX;  // position (a component: its offset from the enemy)
  float& FY;
  float& MX;  // motion per frame
  float& MY;
  float& Ti;  // wait counter
  std::array<float, 8>& Vari;
  int32_t Width;
  int32_t Height;
  float& Speed;
  int32_t AY;     // body: placing height; component: its index; shot: its ID
  int32_t LTick;  // the level tick at placing (0 for a shot)
  float& HP;
  int32_t& VeskNr;  // target player
  std::array<float, 14>& GVar;
};

// The body of the enemy in slot `FeindNR`.
RoutenObjekt GegnerRoute(int32_t FeindNR);
// Component `k` of the enemy in slot `FeindNR`, whose current picture measures `Width` by
// `Height` opaque pixels.
RoutenObjekt KomponentenRoute(int32_t FeindNR, int32_t k, int32_t Width, int32_t Height);

// The value of term `Nr` for the object: a constant, or the variable its code names
// (negated for a negative code). Reads only.
float Var(float Nr, const float& x, const float& y, const int32_t& Width, const int32_t& Height, const float& Speed,
          const int32_t& AY, const int32_t& LTick, const std::array<float, 8>& Vari, const float& HP,
          const int32_t& VeskNr, const std::array<float, 14>& GVar);
float Var(float Nr, const RoutenObjekt& o);

// A route that loops without ending a frame is cut off at this step: one call runs at
// most 9999 commands.
inline constexpr int32_t RoutenSchrittgrenze = 10000;

// Runs route `RouteNr` of one object for one frame from command `RoutePos`. Returns -1
// when the route has ended (or cannot run), else 0.
int16_t DoRoute(int32_t Art, int32_t FeindNR, int32_t& RoutePos, int32_t RouteNr, float& FX, float& FY, float& MX,
                float& MY, float& Ti, std::array<float, 8>& Vari, int32_t Width, int32_t Height, float& Speed,
                int32_t AY, int32_t LTick, float& HP, int32_t& VeskNr, std::array<float, 14>& GVar);
// A lower `Schrittgrenze` cuts a looping route off sooner: the fuzzer runs thousands of
// routes a second, most of them looping.
int16_t DoRoute(RoutenObjekt& o, int32_t Schrittgrenze = RoutenSchrittgrenze);
