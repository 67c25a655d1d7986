#pragma once
// Sound numbers of the game's fixed sounds and of the level's own sounds. -1 is a sound
// that is not loaded; playing it only writes a log line.
#include <array>
#include <cstdint>
#include <vector>

#include "shell/basic.hpp"
#include "world/level_data_state.hpp"

inline std::array<int32_t, 2> SndNormal{-1, -1};
inline int32_t SndGreen = -1;
inline int32_t SndVPhytonRed = -1;
inline int32_t SndVPhytonBlue = -1;
inline int32_t SndVPhyGreen = -1;
inline int32_t SndVPhyViolett = -1;
inline int32_t SndVPhyYellow = -1;
inline int32_t SndRed = -1;
inline int32_t SndYellow = -1;
inline int32_t SndCyan = -1;
inline int32_t SndViolett = -1;
inline int32_t SndRocketlaunch = -1;
inline int32_t SndBomb = -1;
inline int32_t SndPressQ = -1;
inline int32_t SndItemSwitch = -1;
inline int32_t SndPressD = -1;
inline int32_t SndExtra = -1;
inline int32_t SndSpeed = -1;
inline int32_t SndCheckpoint = -1;
inline std::array<int32_t, 3> SndExplosion{-1, -1, -1};
inline int32_t SndExplosionVesk = -1;
inline std::array<int32_t, 2> SndCharge{-1, -1};
inline std::array<int32_t, 2> SndBeam{-1, -1};
inline int32_t SndHit = -1;
inline int32_t SndPause = -1;
inline int32_t SndSpeech = -1;
inline int32_t SndSpalt = -1;
inline int32_t SndNova = -1;
inline int32_t SndNovaSchuss = -1;
inline int32_t SndHupe = -1;
inline int32_t SndForceOn = -1;
inline int32_t SndForceOff = -1;
inline int32_t SndWaterTouch = -1;
inline int32_t SndNewborn = -1;
inline int32_t SndRain = -1;
inline int32_t SndThunder = -1;
inline int32_t SndLiveup = -1;
inline int32_t SndYellow2 = -1;
// The boss-warning sounds, loaded when a boss arrives.
inline std::array<int32_t, 7> SndWarnung{-1, -1, -1, -1, -1, -1, -1};

// The level's sounds as sound numbers, by the level's sound index (0 To LevelSoundsAnzahl):
// the level catalogue `LevelSoundMap`, under the name the sound code knows it by.
inline std::vector<int32_t>& LevelSounds = LevelSoundMap;

// As at program start: no fixed sound loaded (the level's own are its catalogue's).
inline void ResetGameSounds() {
  SndGreen = SndVPhytonRed = SndVPhytonBlue = SndVPhyGreen = SndVPhyViolett = SndVPhyYellow = -1;
  SndRed = SndYellow = SndCyan = SndViolett = SndRocketlaunch = SndBomb = SndPressQ = SndItemSwitch = -1;
  SndPressD = SndExtra = SndSpeed = SndCheckpoint = SndExplosionVesk = SndHit = SndPause = SndSpeech = -1;
  SndSpalt = SndNova = SndNovaSchuss = SndHupe = SndForceOn = SndForceOff = SndWaterTouch = SndNewborn = -1;
  SndRain = SndThunder = SndLiveup = SndYellow2 = -1;
  SndNormal.fill(-1);
  SndExplosion.fill(-1);
  SndCharge.fill(-1);
  SndBeam.fill(-1);
  SndWarnung.fill(-1);
}
