#pragma once
// The level's special events: scripted sequences that take the ships out of the players'
// hands (the fly-in at a level's start, the engines, the jump to the end, the burning
// ship), the key prompt of the tutorial, and three screen effects (the glow of the upper
// half, the thunderstorm, the wobble). An enemy route starts one (route command 42) by
// filling `SpezialStand`; the logo intro starts the wobble.
#include <cstdint>

#include "campaign/special_events_state.hpp"

// One step of the running event. The game loop calls it twice a frame: with `Index` 0
// after the background and the farthest layer (the glow and the thunderstorm's darkening
// and bolt, which the nearer layers cover), and with 1 after the world (the sequences, the
// prompt, the thunderstorm's band of light and the wobble). Nothing happens while no
// event runs, while the world is frozen, or for an unknown type. Drawing happens only in
// frames that are drawn; the counters run in every frame.
void SpielSpezial(int32_t Index);

// The steps of the screen effects, for the dispatch in `SpielSpezial`. Each is one call
// of its type's event with the record it works on.
namespace spezial {
// Type 2, behind the world: the upper half of the picture glows, stronger for 100 frames.
void Glut(SpezialStandDaten& s);
// Type 3, behind the world: the darkened sky and, now and then, a 50-frame strike with
// bolt, glow and thunder.
void GewitterHinten(SpezialStandDaten& s);
// Type 3, over the world: the band of light around a running strike.
void GewitterVorn(SpezialStandDaten& s);
// Type 4, over the world: a translucent copy of the play area wobbling over itself.
void Wabern(SpezialStandDaten& s);
// The white picture over the play area in one colour, not additive (drawn frames only).
void Schleier(float R, float G, float B, float A);
}  // namespace spezial
