#pragma once
// The demo level "Arsenal", the storm arsenal: a night flight in rain over an offshore
// weapons depot, made to show the world's and the ships' features one after the other
// (water and rain, every pick-up, blockable and unblockable shots, narrow passages,
// wrecks, blasts, break-ups, a pass-through enemy, a fortress of 12,000 energy, a
// nova-immune guard and a boss). Its pictures (the description in demodata/levels/
// Arsenal names them), its level sounds, its voice archive "Arsenal.vfp" and its music.
// It is not part of the campaign: start it with -Skip -Level Arsenal.
#include <cstdint>
#include <vector>

#include "demodata/canvas.hpp"
#include "demodata/level_archive.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

Bilder ArsenalPictures();
std::vector<tools::ArchiveMember> ArsenalSounds();
std::vector<tools::ArchiveMember> ArsenalVoices();
// Sixteen bars in E minor at 132 beats a minute (about 29 seconds): a pounding bass,
// drums with thunder in the distance, a minor arpeggio and a lead from the ninth bar.
// Interleaved stereo at 44,100 Hz.
std::vector<int16_t> ArsenalMusic();

Canvas StormSea();                  // "StormSea.bmp", 800 x 600, wraps left to right
Canvas ScrapFrame(int frame);       // "Scrap<n>.bmp", 32 x 32, n = 1..4: a tumbling plate
Canvas SteelPylon();                // "Pylon.bmp", 100 x 300: a lattice tower from the sea
Canvas SteelGantry();               // "Gantry.bmp", 140 x 240: a crane hanging from above
Canvas FarRig();                    // "FarRig.bmp", 240 x 260: a platform on the horizon
Canvas GnatFrame(int frame);        // "Gnat<n>.bmp", 40 x 28, n = 1..4: a small drone
Canvas GunboatFrame(int frame);     // "Gunboat<n>.bmp", 96 x 48, n = 1..2: rocking
Canvas Cannon(int size);            // "Cannon.bmp" (32), "DreadGun.bmp" (48): barrel left
Canvas LancerFrame(int frame);      // "Lancer<n>.bmp", 72 x 32, n = 1..2: its jet flickers
Canvas Hauler();                    // "Hauler.bmp", 112 x 64: a cargo carrier
Canvas KegFrame(int frame);         // "Keg<n>.bmp", 40 x 40, n = 1..4: its lamp blinks
Canvas CrawlerHead();               // "CrawlerHead.bmp", 48 x 48
Canvas CrawlerBody(int frame);      // "CrawlerBody<n>.bmp", 40 x 40, n = 1..2
Canvas VeilFrame(int frame);        // "Veil<n>.bmp", 48 x 96, n = 1..3: a curtain of light
Canvas Bastion();                   // "Bastion.bmp", 224 x 144: the flying fortress
Canvas WardenFrame(int frame);      // "Warden<n>.bmp", 56 x 56, n = 1..4: its ring turns
Canvas DreadnoughtFrame(int frame); // "Dreadnought<n>.bmp", 320 x 160, n = 1..2
Canvas Launcher();                  // "Launcher.bmp", 64 x 40: needle tubes to the left
Canvas BoltFrame(int frame);        // "Bolt<n>.bmp", 16 x 16, n = 1..2: the blockable shot
Canvas Needle();                    // "Needle.bmp", 32 x 12: the unblockable shot, tip left
Canvas LightningStroke();           // "Lightning.bmp", 128 x 300

}  // namespace demo
