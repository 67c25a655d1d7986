#pragma once
// What the ship tests share: pictures painted by code, solid blocks of scenery and
// enemies to run into, and the players' keys.
#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "engine/keys.hpp"
#include "world/enemies_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace shiptest {

// The hit box every ship type has, one frame row and ship type `typ`.
void StandardBlock(SchiffDaten& b, int32_t typ);

// A texture `w` x `h` painted by `painter` (0xAARRGGBB; black is transparent), set up white.
int32_t Picture(int w, int h, const std::function<uint32_t(int, int)>& painter);

// A sprite definition of one frame: a solid `w` x `h` block, opaque all over, with its
// opaque-edge profile. Returns the definition's index.
int32_t BlockSprite(int w, int h);
// Item `i` of landscape layer 3 showing `sprite` at (x, y).
void Rock(int32_t i, int32_t sprite, float x, float y);
// Enemy slot `e` at (x, y): one component showing `sprite` with `hp` hit points.
Gegner& Enemy(int32_t e, int32_t sprite, float x, float y, float hp);

// Binds every action of the three key sets to keys of their own and releases them all.
void BindKeys();
// Presses or releases action `a` of key set `set`.
void Hold(int32_t set, Aktion a, bool down = true);
void ReleaseAll();


// A live player shot as the tests compare it.
struct Geschoss {
  int32_t gruppe, art;
  float x, y, sx, sy, force, staerke;
  int32_t vesk;
  bool operator==(const Geschoss&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Geschoss& g);
// Every live shot, group by group, slot by slot.
std::vector<Geschoss> Geschosse();

}  // namespace shiptest
