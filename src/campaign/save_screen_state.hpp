#pragma once
// The save screen while it runs: what it shows and the keys it has seen. Set up anew
// every time the screen opens.
#include <array>
#include <cstdint>
#include <string>

struct SaveScreenDaten {
  // Each player's high-score place after the results went in: 1 to 10, 11 for none.
  std::array<int32_t, 2> Platz{11, 11};
  // The list: 0 "don't save", 1 to 21 the slots' labels.
  std::array<std::string, 22> SlotText;
  int32_t SlotAuswahl = 0;
  // The logo's offset while it slides in from the left.
  int32_t LogoX = -400;
  // Key latches: set while the key is held, so that a held key acts once.
  bool Escape = false, Enter = false;
  bool Hoch = false, Runter = false, Rechts = false, Links = false;
  // A confirm or pause key already held when the screen opened (the fire key from the
  // level): it counts only once it has been let go.
  bool EscapeGesperrt = false, EnterGesperrt = false;
  // The chosen slot was written.
  bool Gespeichert = false;
};
inline SaveScreenDaten SaveScreen;

// Called at the end of every pass of the screen's loop; tests watch the screen through
// it. Nothing is called while it is empty.
inline void (*NachSaveScreenBild)() = nullptr;

inline void ResetSaveScreen() { SaveScreen = SaveScreenDaten{}; }
