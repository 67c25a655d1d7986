#pragma once
#include <cstdint>

// Highest entry of the sound table, -1 when empty.
inline int32_t SoundsMax = -1;

// Opens the sound device; false when it cannot.
bool SoundDeviceOpen();
void SoundDeviceClose();
// Empties the sound table.
void Soundclear();
