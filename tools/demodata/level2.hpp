#pragma once
// The second demo level, "The Deep": a flooded cavern lit by crystals and shafts of
// light from cracks far above, with jellyfish, barracudas and shelled nautili, and the
// great angler fish that guards its end. Its pictures (the description in demodata/
// levels/Level2 names them), its loading picture, its level sounds, its voice archive
// "Level2.vfp"; its music is `DeepMusic`.
#include <cstdint>
#include <vector>

#include "demodata/canvas.hpp"
#include "demodata/level_archive.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

Bilder Level2Pictures();
std::vector<tools::ArchiveMember> Level2Sounds();
std::vector<tools::ArchiveMember> Level2Voices();

Canvas Cavern();                     // "Cavern.bmp", 800 x 600, wraps left to right
Canvas DeepLoading();                // "Deep.bmp" of "Loading.vkp": the cavern with its title
// A cave rock (stone of blue-green, the rim lit from the crystals) with glowing crystals
// growing out of its open side; `far` ones are hazy, without crystals.
Canvas CaveRock(int w, int h, bool hanging, bool far, uint32_t seed);
Canvas JellyFrame(int frame);        // "Jelly<n>.bmp", 48 x 56, n = 1..4: the bell pulses
Canvas BarracudaFrame(int frame);    // "Barracuda<n>.bmp", 72 x 28, n = 1..4: the tail beats
Canvas NautilusFrame(int frame);     // "Nautilus<n>.bmp", 56 x 56, n = 1..4: the arms wave
Canvas SporeFrame(int frame);        // "Spore<n>.bmp", 16 x 16, n = 1..4: the shot
Canvas LeviathanFrame(int frame);    // "Leviathan<n>.bmp", 256 x 160, n = 1..2: jaws shut, open
Canvas LeviathanEye();               // "Eye.bmp", 36 x 36: the eye that follows the ship
Canvas Glow32(uint32_t rgb);         // a soft light of 32 x 32 ("Lure.bmp", "Glimmer.bmp")
Canvas LightShaft();                 // "Shaft.bmp", 96 x 320: light falling from above

}  // namespace demo
