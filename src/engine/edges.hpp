#pragma once
// Opaque-edge profiles: for every pixel row of a picture its first and last opaque
// column, so that collisions are tested against what is drawn rather than against the
// picture's rectangle. A pixel is opaque when its colour in the picture file is not black
// (the colour key), the same at either display depth.
#include <cstdint>

// Builds the profile of surface-table entry `SNR`: from the ".r" cache beside the picture
// when its size fits the picture, otherwise by scanning the picture, which writes the
// cache into the level's picture folder (`GrafikPfad` & `LevelName`) when that exists.
// False when the picture cannot be read; the entry then has an empty profile.
bool LadeRänder(int32_t SNR);

// Size in bytes of the ".r" cache of a picture `H` pixels high.
constexpr int64_t RänderDateiGroesse(int64_t H) { return 16 + 8 * (H + 1); }
