#pragma once
// The level's clock and the game loop's counters.
#include <cstdint>

inline int32_t LevelTick = 0;
inline int32_t LevelLaenge = 0;
inline int32_t LevelEnde = 0;  // 0 running, 1 life lost, 2 level done
// The music volume ramp in percent (0..100), and its change per tick: +5 after the music
// (re)starts, -2 over the last 50 ticks of the level, -1 while the last life's ship dies,
// 0 once it has reached either end.
inline int32_t MusikFade = 0;
inline int32_t MusikFadeSchritt = 0;
// The pause screen is to open at the end of this tick (the display was lost in it).
inline bool PauseAnfordern = false;

// Called at the end of every tick of the game loop, after its pause test; headless runs
// and tests watch the game through it. Nothing is called while it is empty.
inline void (*NachTick)() = nullptr;

// As at program start: no level has run, the music's ramp is still. The tick hook
// belongs to whoever watches and is left to them.
inline void ResetGameLoop() {
  LevelTick = 0;
  LevelLaenge = 0;
  LevelEnde = 0;
  MusikFade = 0;
  MusikFadeSchritt = 0;
  PauseAnfordern = false;
}
