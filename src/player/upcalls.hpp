#pragma once
// The few calls the player ships make into the layers above them. The program run hands
// the real procedures in at start-up; until then, and in tests of the ships alone, they
// do nothing.
#include <cstdint>

namespace upcall {
// The music player's volume in percent, heard at once (campaign/ogg.hpp): the super nova
// turns the music down while it runs.
inline void (*SetOggVolume)(int32_t Lautstaerke) = [](int32_t) {};
}  // namespace upcall
