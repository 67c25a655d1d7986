#pragma once
// The first demo level: its archive "Level1.vlp" (the level file built from the level
// description in demodata/levels/Level1, the pictures drawn here, the radio texts in
// three languages), its voice archive "Level1.vfp", its sounds (they live in the sound
// archive, where the loader looks for level sounds); its music is `CanyonMusic`.
#include <cstdint>
#include <string>
#include <vector>

#include "demodata/canvas.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

// The archive of the level whose description and texts lie in `folder`; false with a
// reason in `error` when the description cannot be built into a level file.
bool Level1Archive(const std::string& folder, std::vector<tools::ArchiveMember>& members, std::string& error);
// The radio voices of "Level1.vfp".
std::vector<tools::ArchiveMember> Level1Voices();
// The level sounds, for the sound archive.
std::vector<tools::ArchiveMember> Level1Sounds();

// The pictures of the level.
Canvas CanyonSky();                                    // "Sky.bmp", 800 x 600, wraps left to right
// A rock of irregular outline, shaded with light from the upper left, standing on the
// bottom edge (or hanging from the top edge) of a w x h picture. `far` rocks are hazy
// and blue, for the slow layer behind the solid one.
Canvas Rock(int w, int h, bool hanging, bool far, uint32_t seed);
Canvas DartFrame(int frame);     // "Dart<n>.bmp", 48 x 32, n = 1..4: a small fighter
Canvas MineFrame(int frame);     // "Mine<n>.bmp", 40 x 40, n = 1..6: a turning spiked mine
Canvas GunshipFrame(int frame);  // "Gunship<n>.bmp", 112 x 64, n = 1..3: the heavy carrier
Canvas Turret();                 // "Turret.bmp", 32 x 32: its gun, the barrel to the left
Canvas PlasmaFrame(int frame);   // "Plasma<n>.bmp", 16 x 16, n = 1..4: the enemy shot
Canvas BeaconGlow();             // "Beacon.bmp", 32 x 32: a soft light
Canvas FlareStreak();            // "Flare.bmp", 128 x 16: a streak of light

}  // namespace demo
