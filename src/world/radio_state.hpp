#pragma once
// The radio message that is playing.
#include <cstdint>

#include "shell/basic.hpp"

struct FunkStatusDaten {
  int16_t Aktiv = 0;
  int32_t Meldung = 0;
  int32_t Zeile = 0;
  int32_t SprecherFrame = 0;
  int32_t FrameZeit = 0;
  int32_t RestTicks = 0;
  int32_t SeitenLaenge = 0;
  int32_t Seite = 0;
  int32_t Sound = 0;
};
inline FunkStatusDaten FunkStatus;

// Before a level pass: no radio message runs (its voice clip is stopped separately).
inline void ResetRadio() { FunkStatus.Aktiv = VBFalse; }
