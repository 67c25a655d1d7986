#pragma once
// Loading a level (`LadeDaten`, declared with the standard pictures in world/level.hpp):
// the common pictures, the loading screen, the level archive unpacked, its level file
// read into the catalogues, every picture and sound the level names loaded, the values
// the level world expects ready-made worked out, the music checked, the radio texts read,
// the unpacked files deleted and, with a loading picture, a key awaited.
//
// The values worked out here, once per level:
// - a template's `Width` and `Height`: the largest picture width (height) of frame 0 of a
//   component's sprite plus its offset, never below 0;
// - hit-flash copies ("…_i") of every frame of the blitted sprites of the components that
//   can be hurt, for templates whose `Parameter`(10) asks for them;
// - per animation part the key before the first and the spare after the last (repeats of
//   the last and first key for a looping animation, still copies otherwise), placed
//   outside 0..period; per key the changes per tick up to the next key (keys with equal
//   ticks change nothing); per animation the right edge its parts can reach, plus 20 per
//   part;
// - per radio message the block of its lines in the radio texts.
#include <string_view>

#include "world/level_data_state.hpp"

// A plain file name as the members of an archive have: not empty, no folder, no way out
// of the folder it is looked up in.
bool EinfacherName(std::string_view name);

// The extent of template `t` from the pictures of its components (the pictures must be
// loaded). A component without a picture counts as 0 wide and high.
void BerechneAusmass(GegnerTyp& t);

// The keys before the first and after the last, the changes per tick and the right
// extent of animation `a`, whose pictures are loaded. A part without keys only adds its
// margin.
void BereiteAnimationVor(AnimaTypDaten& a);
