#include "engine/sound.hpp"

bool SoundDeviceOpen() { return true; }
void SoundDeviceClose() {}
void Soundclear() { SoundsMax = -1; }
