#pragma once
// The firing step's own state: the pace of the ships' frame-row animation, one counter
// for both players that is never reset, and the flags through which the carried weapons
// keep their looping sounds running (raised anew in every tick they fire).
#include <cstdint>

struct FeuerStatus {
  int32_t ZeilenTakt = 0;     // the frame row moves on when it reaches 2
  bool PodLaser = false;      // a pod laser fired this tick: "cyan.wav"
  bool PodStrom = false;      // a pod carries the stream while fire is held: "yellow.wav"
  bool SatellitLaser = false; // the satellite laser fired this tick: "V-phy yellow.wav"
};

inline FeuerStatus Feuer;

// As at program start: the frame row's pace from 0, no looping sound asked for.
inline void ResetFiring() { Feuer = FeuerStatus{}; }
