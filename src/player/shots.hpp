#pragma once
// The player shots: every projectile of the ships, their pods, satellite, drones and beam.
// A shot is created into one of the two groups, moved, drawn and hit-tested each tick by
// the group's step, and freed only there.
#include <cstdint>

#include "player/shots_state.hpp"
#include "world/collision.hpp"

// Puts one shot of kind `Art` into the first free slot of group `Index` and adds its
// damage to the first player's damage statistic, whoever fired. A full group (or a group
// that does not exist) takes nothing and counts nothing.
void AddSchuss(int32_t Index, int32_t Art, float x, float y, float SX, float SY, float Force, float Stärke,
               int32_t VeskNr);
// Frees slot `Nr` of group `Index`. The slot's trail keeps its room for the next shot.
void KillSchuss(int32_t Index, int32_t Nr);
// One tick of group `Index`: every live shot up to the highest slot used when the step
// begins moves, draws and hits by its kind. A shot added during the step is moved in the
// same step only when its slot lies above the current one and not above that bound.
void SpielMoveSchuss(int32_t Index);

// What the kinds share: a shot's box, its hit tests and its hit effects.
namespace schuss {

// The one step of a kind: shot `Nr` of group `Index`, which is `s`.
using Schritt = void (*)(int32_t Index, int32_t Nr, SchussDaten& s);

// A box as offsets from the shot's position.
struct Kasten {
  float Links, Oben, Rechts, Unten;
};

// The box in screen pixels, each edge rounded on its own.
Rechteck Pixelkasten(const SchussDaten& s, const Kasten& k);
// The shot has left the play area: right of x 800 or below y 550, or its box lies wholly
// left of or above it. A shot at exactly 800 or 550 is still inside.
bool Ausserhalb(const SchussDaten& s, const Kasten& k);
// Deals the shot's damage to the enemy under `r` and leaves it what is left over; true
// when nothing is left (the shot is spent). `Funken`: hits throw sparks.
bool Verbraucht(SchussDaten& s, const Rechteck& r, bool Funken);
// The rectangle touches solid scenery.
bool Wand(const Rechteck& r);
// One bluish spark where a shot box at the shot's position meets the scenery.
void Einschlagfunken(const SchussDaten& s);

struct Farbe {
  float R, G, B;
};
// A flash of colour `f` living `Leben` ticks at (x, y).
void Aufblitzen(const Farbe& f, int32_t Leben, float x, float y);

}  // namespace schuss
