#pragma once
// The pause screen while it runs: the menu, the monitor's scan line and disturbances, the
// message history, and what is put back when the game resumes. Set up anew every time
// the screen opens.
#include <array>
#include <cstdint>
#include <string>

#include "platform/surface.hpp"

inline constexpr int32_t kPauseHistorie = 7;  // history lines under the monitor

struct PauseDaten {
  int32_t Auswahl = 0;  // 0 resume, 1 exit
  // The scan line's row on the monitor (1 to 300; 0 before the first frame) and the
  // running disturbance's phase (0 none, else 1 to 177 in steps of 4) with its band's
  // half-height.
  int32_t Scan = 0;
  int32_t Stoerung = 0;
  int32_t Band = 0;
  // The newest ticker texts, wrapped: line 0 at the top.
  std::array<std::string, kPauseHistorie> Historie;
  // The game picture at the moment of the pause, and the frame picture's surface
  // number (0 while it is not loaded).
  platform::SurfacePtr Schnappschuss;
  int32_t Rahmen = 0;
  // The radio voice's clip: where it was and whether it played.
  int32_t StimmePosition = 0;
  bool StimmeLief = false;
  // The rumble of each joystick at the pause.
  std::array<int32_t, 2> Kraft{};
  // The process runs at low priority while another window has the focus.
  bool NiedrigePrioritaet = false;
  // The pause archive was unpacked (and remembered), and an error has ended the run:
  // nothing more of the screen is drawn.
  bool Entpackt = false;
  bool Abbruch = false;
};
inline PauseDaten PauseStand;

// Called at the end of every frame of the screen's loop; tests watch the screen through
// it. Nothing is called while it is empty.
inline void (*NachPauseBild)() = nullptr;

// The snapshot is let go with the rest.
inline void ResetPauseScreen() { PauseStand = PauseDaten{}; }
