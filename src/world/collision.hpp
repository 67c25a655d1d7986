#pragma once
// Hit tests of rectangles against what is drawn: the enemies' components and the solid
// scenery (the items of landscape layer 3 and solid enemies). A picture counts only where
// it is opaque: each test reads the picture's opaque-edge profile, row by row, over the
// rows the rectangle covers.
#include <cstdint>

#include "engine/surfaces.hpp"
#include "world/level_data_state.hpp"

// A rectangle in screen pixels.
struct Rechteck {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The picture of frame `Frame` of sprite definition `Sprite`: its surface-table entry, or
// null when the definition, the frame or its picture does not exist (such a frame is
// never hit: there is nothing drawn to hit).
inline const SurfaceInfo* FrameBild(int32_t Sprite, int32_t Frame) {
  if (Sprite < 0 || Sprite > SpriteDefsMax()) return nullptr;
  const SpriteDef& d = SpriteDefs[Sprite];
  if (Frame < 0 || Frame > d.FramesMax()) return nullptr;
  const int32_t nr = d.Frames[Frame].Surface;
  if (nr < 0 || nr > SurfacesMax()) return nullptr;
  return &Surfaces[nr];
}

// Whether picture `S` placed with its origin at (`ox`, `oy`) overlaps `r` in an opaque
// pixel row: the picture's opaque box must cross the rectangle (edges that only touch do
// not count) and so must the widest opaque span of the rows inside the rectangle. That
// span is left in `minX`..`maxX` (picture columns) for the edge queries.
bool StueckUeberlappt(const SurfaceInfo& S, int32_t ox, int32_t oy, const Rechteck& r, int32_t& minX,
                      int32_t& maxX);

// Deals `Energie` damage to the first living component of an active enemy other than
// `Skip` (-1: none) that the rectangle touches: lower enemy slots first, within an enemy
// the highest-numbered component. `FeindID` receives the enemy hit (unchanged when none);
// `Unzerstörbargetroffen` whether the part hit cannot be damaged. A negative `Energie`
// only asks which enemy lies there. Destroyed components and enemies burst, score for
// player `VeskNr` (negative: nobody) and start their death sequences. Returns the damage
// left over: `Energie` when nothing was hit, the overkill of a destroyed part, the whole
// damage when a pass-through enemy is hit by a `Full_Beam` caller, else 0.
int32_t CheckColisionWithEnemy(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Energie,
                               bool TrefferAnzeigen, bool Full_Beam, int32_t Skip, int32_t& FeindID,
                               bool& Unzerstörbargetroffen, int32_t VeskNr);

// True when the rectangle touches an active item of landscape layer 3 or a living
// component of an active, solid, not dying enemy other than `Skip` (-1: none).
bool CheckColisionWithLandschaft3(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t Skip);

// Of the obstacles the rectangle touches (layer-3 items and the components of every
// living enemy, solid or not), the greatest right edge of their opaque rows inside the
// rectangle; -1 when it touches none. Cuts a shot flying left off at the obstacle.
int32_t CheckWhereColisionLeft(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
// The same scan: the least left edge; 800 when it touches none.
int32_t CheckWhereColisionRight(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);

// ---- Passes of hit tests ----------------------------------------------------------------

// A step that tests many rectangles in a tick holds one of these while it runs: inside it
// the tests answer from a table of what can be hit, built at the pass's first test, in
// place of walking the enemy pool and layer 3 for every rectangle; outside a pass every
// test walks them. Passes may nest. Inside a pass the world may change only through the
// tests' own damage, `AddEnemy` and `KillEnemy`, which tell the table (`GegnerGeaendert`):
// nothing inside it moves or animates an enemy or the scenery, or loads a picture.
class Trefferdurchgang {
 public:
  Trefferdurchgang();
  ~Trefferdurchgang();
  Trefferdurchgang(const Trefferdurchgang&) = delete;
  Trefferdurchgang& operator=(const Trefferdurchgang&) = delete;
};

// Enemy slot `Nr` has been placed or freed, has lost a component or has started to die:
// the table reads it again before its next answer.
void GegnerGeaendert(int32_t Nr);
