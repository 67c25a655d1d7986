#pragma once
// The per-tick game loop and the level's clock.
#include <cstdint>

inline int32_t LevelTick = 0;
inline int32_t LevelLaenge = 0;
inline int32_t LevelEnde = 0;  // 0 running, 1 life lost, 2 level done
inline int32_t ExtraLebenCountdown = 0;

// Plays the loaded level until it ends or the run state changes.
void SpielLoop();
