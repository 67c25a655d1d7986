#pragma once
// The checkpoint gate: one at a time.
#include <cstdint>

struct CheckpointTorDaten {
  bool Aktiv = false;
  float X = 0;
};
inline CheckpointTorDaten CheckpointTor;

// Before a level pass: no gate stands.
inline void ResetCheckpointGate() { CheckpointTor.Aktiv = false; }
