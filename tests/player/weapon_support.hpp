#pragma once
// What the tests of the carried weapons share besides the ship tests' helpers: their
// start and end, pictures of glows and bars, and sounds to listen for.
#include <cstdint>

namespace shiptest {

// A carried-weapon test's start: the fresh state with the sine tables, nothing drawn or
// heard, one player, every action bound and released.
void Anfang();
// Its end: keys released, the level's catalogues, pictures and sounds emptied, the
// fresh state again.
void Ende();

// How far pixel (x, y) lies from the middle of a `size` square, in radii.
float Kreis(int x, int y, int size);
// The game's round glow, `size` square: white in the middle fading to black at the rim.
int32_t Glow(int size);
// The bar of lightning and lines: 16 x 8, brightest along its middle.
int32_t Bar();

// A new sound-table entry of one copy of a short tone; returns its number.
int32_t Klang();
// Whether the first copy of sound `Nr` plays.
bool Spielt(int32_t Nr);

}  // namespace shiptest
