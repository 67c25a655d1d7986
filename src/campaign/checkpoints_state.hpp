#pragma once
// Checkpoints: the current checkpoint file and its bytes, and the gate that takes a new
// checkpoint (one at a time; it is not stored in the files).
#include <cstdint>
#include <vector>

struct CheckpointTorDaten {
  bool Active = false;
  // The centre line in screen pixels. It drifts with layer 3 by fractions of a pixel, so
  // it is kept exact and rounded where it is drawn and tested.
  float X = 0;
  // Taken (or a restarted pass shows its flash): the ring widens and is tested no more.
  bool Triggered = false;
  // The white flash: `Alpha` changes by `AlphaStep` each frame until it is 0.
  float Alpha = 0;
  float AlphaStep = 0;
  int32_t Y = 0;     // the centre
  int32_t Höhe = 0;  // pixels
  float Phase = 0;   // the orbs' turn in degrees, 0..19 (they lie 20 degrees apart)
  int32_t PulsWinkel = 0;  // the ring breathes with the sine of this, 0..179
  int32_t Öffnung = 0;     // pixels the ring has widened: 0 waiting, from 1 once taken
};
inline CheckpointTorDaten CheckpointTor;

// Before a level pass: no gate stands.
inline void ResetCheckpointGate() { CheckpointTor.Active = false; }

// The number (0..10) of the current checkpoint file "Temp<N>.tmp".
inline int32_t CheckpointNr = 0;
// The bytes of the last checkpoint. A file that is missing, cannot be read or is not
// these bytes (another instance may share the folder) gives way to them. They outlive the
// emptying of the pools, which comes before every reload; room once made is kept.
inline std::vector<uint8_t> CheckpointDaten;

// As at program start: no gate, the first file's number, no checkpoint kept.
inline void ResetCheckpoints() {
  CheckpointTor = CheckpointTorDaten{};
  CheckpointNr = 0;
  CheckpointDaten.clear();
}
