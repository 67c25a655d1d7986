#pragma once
// The level's clock and the game loop's counters.
#include <cstdint>

inline int32_t LevelTick = 0;
inline int32_t LevelLaenge = 0;
inline int32_t LevelEnde = 0;  // 0 running, 1 life lost, 2 level done
inline int32_t ExtraLebenCountdown = 0;
// The per-tick change of the music volume in percent; -1 fades the music out.
inline int32_t MusikFadeSchritt = 0;
