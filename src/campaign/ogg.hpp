#pragma once
// The music player.
#include <cstdint>

// Starts the player for the game window; true on success.
bool InitOgg(int32_t hwnd, int32_t flags);
void CloseOgg();
