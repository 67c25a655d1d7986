#pragma once
// The radio message that is playing, and how often each limited message has played.
#include <cstdint>
#include <vector>

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

// One message with a play limit that has been played to its end at least once.
struct FunktionEintrag {
  int32_t Anzahl = 0;  // finished plays
  int32_t Nr = 0;      // the message (index into `Funkmeldungen`)
};
// The played list: it lasts a whole level, lost lives included.
inline std::vector<FunktionEintrag> FunktionDaten;
inline int32_t FunktionDatenMax() { return UBound(FunktionDaten); }

// Before a level pass: no radio message runs (its voice clip is stopped separately).
inline void ResetRadio() { FunkStatus.Aktiv = VBFalse; }
// When a level starts: no message has been played yet.
inline void ResetPlayedRadioMessages() { FunktionDaten.clear(); }
