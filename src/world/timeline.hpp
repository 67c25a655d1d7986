#pragma once
// The level's timeline: seven lists of timed events, one per layer. Layer 4 carries the
// level's logic (enemies, level sounds, radio messages); the other layers carry what
// scrolls with them (landscape items, animations, pick-ups, checkpoint gates).
//
// An event naming a template, route, sprite, animation, level sound or radio message that
// the level does not have is skipped with a log line; its cursor moves on all the same.
#include <cstdint>

// One tick: every layer's events of the current `LevelTick` carried out (layers 0 to 6,
// each list in its order; events of earlier ticks dropped unseen), then `LevelTick` + 1;
// at `LevelLaenge` - 150 both ships start their exit (a jump over that tick skips it), at
// `LevelLaenge` or past it the level is done.
void SpielTick();
// At the start of a level run that begins at a `LevelTick` other than 0: every scroll
// position back to 0, every cursor moved past the earlier ticks, and the landscape items
// that would already be on screen (those that scrolled at most 900 pixels) placed where
// they would have got to. Nothing else of the earlier ticks happens.
void SpielPastTicks();
