#pragma once
// The radio message that is playing, its voice-clip timer, and how often each limited
// message has played.
#include <cstdint>
#include <vector>

#include "shell/basic.hpp"

struct FunkStatusDaten {
  int16_t Aktiv = 0;
  int32_t Meldung = 0;        // index into `Funkmeldungen`
  int32_t Zeile = 0;          // the line of the message's text block chosen for this play
  int32_t SprecherFrame = 0;  // 0..31, the speaker portrait's frame
  int32_t FrameZeit = 0;
  int32_t RestTicks = 0;     // ticks left of the page; 0 turns the page
  int32_t SeitenLaenge = 0;  // the page's length in ticks
  int32_t Seite = 0;         // 0 before the first page, then 1, 2, ...
  int32_t Sound = 0;         // the loaded voice clip's sound number, 0 when none
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

// The game window's voice-clip timer. A new page arms it; its one event, from the message
// pump between two ticks, loads and plays the page's clip, so the archive is read outside
// the tick.
struct FunkTimer {
  bool Enabled = false;
  uint32_t Interval = 1;  // milliseconds
};
inline FunkTimer Timer2;
// Its id among the game window's timers (the start timer is 1).
inline constexpr uintptr_t kFunkTimer = 2;

// Before a level pass: no radio message runs and no clip is waiting to load (the loaded
// clip itself is freed separately).
inline void ResetRadio() {
  FunkStatus.Aktiv = VBFalse;
  Timer2.Enabled = false;
}
// When a level starts: no message has been played yet.
inline void ResetPlayedRadioMessages() { FunktionDaten.clear(); }

// As at program start: no message, none played, the voice timer off.
inline void ResetRadioMessages() {
  FunkStatus = FunkStatusDaten{};
  ResetPlayedRadioMessages();
  Timer2 = FunkTimer{};
}
