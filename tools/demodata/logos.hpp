#pragma once
// The start-up logos, the credits picture, the logo sound and the credits music.
#include <cstdint>
#include <vector>

#include "lib/archive_writer.hpp"

namespace demo {

// "Logo.vkp": the four 800 x 600 start-up logos and the tall "Credits.bmp".
std::vector<tools::ArchiveMember> LogoPictures();
// "Logo.wav" for the sound archive: the hum and crackle under the distorted logo.
tools::ArchiveMember LogoSound();
// "Enhaced Credits.ogg" as stereo 44,100 Hz samples.
std::vector<int16_t> CreditsMusic();

}  // namespace demo
