#pragma once
// The first demo level, "The Canyon": the pictures its description names (demodata/
// levels/Level1), its voice archive "Level1.vfp", its sounds (they live in the sound
// archive, where the loader looks for level sounds); its music is `CanyonMusic`.
#include <cstdint>
#include <string>
#include <vector>

#include "demodata/canvas.hpp"
#include "demodata/level_archive.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

// Every picture of the level by its file name.
Bilder Level1Pictures();
// The radio voices of "Level1.vfp".
std::vector<tools::ArchiveMember> Level1Voices();
// The level sounds, for the sound archive.
std::vector<tools::ArchiveMember> Level1Sounds();

// Drawing helpers the scenery of every level shares: fractal noise that repeats every
// 800 pixels across (a background that joins its own start), and a soft round glow of
// `colour` with a white core, radius `r` about (cx, cy), added to the picture.
float Wrapped(float x, float y, float cellsAcross, int octaves, uint32_t seed);
void SoftGlow(Canvas& c, float cx, float cy, float r, Col colour);

// The pictures of the level.
Canvas CanyonSky();                                    // "Sky.bmp", 800 x 600, wraps left to right
// A rock of irregular outline, shaded with light from the upper left, standing on the
// bottom edge (or hanging from the top edge) of a w x h picture. `far` rocks are hazy
// and blue, for the slow layer behind the solid one.
Canvas Rock(int w, int h, bool hanging, bool far, uint32_t seed);
// The same in other stone: its dark and bright colours, the colour its lit rim catches,
// and for rocks far behind a softer shading and a haze laid over them.
struct RockStyle {
  Col dark, bright, rim;
  bool far = false;
  Col haze;
  float hazeAmount = 0;
};
Canvas Rock(int w, int h, bool hanging, const RockStyle& style, uint32_t seed);
Canvas DartFrame(int frame);     // "Dart<n>.bmp", 48 x 32, n = 1..4: a small fighter
Canvas MineFrame(int frame);     // "Mine<n>.bmp", 40 x 40, n = 1..6: a turning spiked mine
Canvas GunshipFrame(int frame);  // "Gunship<n>.bmp", 112 x 64, n = 1..3: the heavy carrier
Canvas Turret();                 // "Turret.bmp", 32 x 32: its gun, the barrel to the left
Canvas PlasmaFrame(int frame);   // "Plasma<n>.bmp", 16 x 16, n = 1..4: the enemy shot
Canvas BeaconGlow();             // "Beacon.bmp", 32 x 32: a soft light
Canvas FlareStreak();            // "Flare.bmp", 128 x 16: a streak of light

}  // namespace demo
