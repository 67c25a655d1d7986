#pragma once
#include <cstdint>

struct CheckpointTorDaten {
  bool Aktiv = false;
  float X = 0;
};
inline CheckpointTorDaten CheckpointTor;
