#pragma once
// The checkpoint gate: one at a time.
#include <cstdint>

struct CheckpointTorDaten {
  bool Aktiv = false;
  float X = 0;
  // The white flash after the gate is taken (or a pass restarts): `Alpha` changes by
  // `AlphaStep` each frame until it is 0.
  bool Triggered = false;
  float Alpha = 0;
  float AlphaStep = 0;
};
inline CheckpointTorDaten CheckpointTor;

// Before a level pass: no gate stands.
inline void ResetCheckpointGate() { CheckpointTor.Aktiv = false; }
