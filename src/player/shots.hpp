#pragma once
// The player shots: every projectile of the ships, their pods, satellite, drones and beam.
// A shot is created into one of the two groups, moved, drawn and hit-tested each tick by
// the group's step, and freed only there.
#include <cstdint>
#include <span>

#include "engine/surfaces.hpp"
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
// Deals `Energie` damage to the enemy under `r` for player `VeskNr` and returns what is
// left over (as `CheckColisionWithEnemy`). Every hit of a shot goes through here, so that
// the target candidates know when the enemies may have changed.
int32_t Feindtreffer(const Rechteck& r, int32_t Energie, bool Funken, int32_t VeskNr);
// The rectangle touches solid scenery.
bool Wand(const Rechteck& r);
// One bluish spark where a shot box at the shot's position meets the scenery.
void Einschlagfunken(const SchussDaten& s);

struct Farbe {
  float R, G, B;
};
// A flash of colour `f` living `Leben` ticks at (x, y).
void Aufblitzen(const Farbe& f, int32_t Leben, float x, float y);
// The source rectangle of a picture, empty for a handle that names none (drawing it then
// only writes the log line).
RECT Quelle(int32_t Bild);
// A one-shot sound at the effect volume, when sound is on.
void Klang(int32_t Nr);

// A target of the seeking and homing kinds: a living, damageable component of an
// active, not dying, not solid enemy whose frame shows something.
struct Ziel {
  float Links, Oben;      // the component's corner: enemy position + its offset
  double MitteX, MitteY;  // the middle of its picture's source rectangle there
};
// Calls `f`(Ziel) for every target, enemies in slot order and the components of each in
// order, until `f` returns true; returns `f` with what it gathered. The targets are
// gathered once and kept until a shot touches an enemy or the next step begins.
template <class F>
F JedesZiel(F f);

// The ribbon behind a head at (px, py): a band of half-width 8 in colour `c` and a white
// core of half-width `Kern`, both additive, through the shot's trail of `N` + 1 points.
// The point (-1, -1) lets the ribbon shrink by one point.
void Band(SchussDaten& s, float px, float py, float N, const Farbe& c, float Kern);

// The kinds whose steps have files of their own.
void RoterTorpedo(int32_t Index, int32_t Nr, SchussDaten& s);    // 6
void BlauesBand(int32_t Index, int32_t Nr, SchussDaten& s);      // 7
void Laser(int32_t Index, int32_t Nr, SchussDaten& s);           // 8
void Bumerang(int32_t Index, int32_t Nr, SchussDaten& s);        // 9
void GruenerSucher(int32_t Index, int32_t Nr, SchussDaten& s);   // 10
void Bombe(int32_t Index, int32_t Nr, SchussDaten& s);           // 11
void Rakete(int32_t Index, int32_t Nr, SchussDaten& s);          // 12
void Lenkrakete(int32_t Index, int32_t Nr, SchussDaten& s);      // 13
void Strahlsalve(int32_t Index, int32_t Nr, SchussDaten& s);     // 14

// ---- The target list behind `JedesZiel` ------------------------------------------------

namespace detail {
// Room for the targets of 101 enemies of 16 components each. Beyond that (more than 16
// parts an enemy on average) the search visits the enemy pool itself each time: slower,
// the same answer, nothing allocated.
inline constexpr int32_t kZielPlatz = 101 * 16;
struct Zielliste {
  std::span<const Ziel> Ziele;  // the gathered targets
  bool Ueberlauf;               // more than fit: visit the enemy pool instead
};
// The list as it stands now, gathered anew when it is out of date.
Zielliste AktuelleZiele();
// Visits the targets straight from the enemy pool.
void ZieleAusDemPool(bool (*f)(void*, const Ziel&), void* kontext);
}  // namespace detail

template <class F>
F JedesZiel(F f) {
  const detail::Zielliste liste = detail::AktuelleZiele();
  if (!liste.Ueberlauf) {
    for (const Ziel& z : liste.Ziele)
      if (f(z)) break;
    return f;
  }
  // A copy goes by address, so that on the usual path the visitor can live in registers:
  // every homing shot runs it over every target in every tick.
  F g = f;
  detail::ZieleAusDemPool([](void* k, const Ziel& z) -> bool { return (*static_cast<F*>(k))(z); }, &g);
  return g;
}

}  // namespace schuss
