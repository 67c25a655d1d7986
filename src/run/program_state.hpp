#pragma once
// The program run's state: the run state every loop watches, the command-line switches,
// the data folders and the game windows. Every subsystem reads it; the program run sets
// it up.
#include <array>
#include <cstdint>
#include <string>

#include "platform/window.hpp"

struct ProgramRunState {
  int32_t Spielstatus = 0;  // 0 normal, 1 leave the screen, 8/9 menu codes, 10 quit
  bool DebugModus = false;
  bool SkipModus = false;
  int32_t StartTick = 0;
  std::string LevelName = "Level1";
  int32_t AdditivZiel = 7;  // destination blend of additive quads
  platform::HWnd FensterHandle = 0;
  std::string DatenPfad, GrafikPfad, SoundPfad, VideoPfad;
  std::array<int32_t, 256> GrauTabelle{};  // grey i as a pixel of the back buffer
  // The game window and the second window DirectX takes over in full screen.
  platform::HWnd Form1 = 0;
  platform::HWnd Form3 = 0;
  // The drawing area of the game window (its client area).
  int32_t Picture1Breite = 0, Picture1Hoehe = 0;
};
inline ProgramRunState ProgramRun;

// The game window's one-shot timer that runs the whole program once the settings window
// has been closed with OK.
inline constexpr uintptr_t kStartTimer = 1;

inline int32_t& Spielstatus = ProgramRun.Spielstatus;
inline bool& DebugModus = ProgramRun.DebugModus;
inline bool& SkipModus = ProgramRun.SkipModus;
inline int32_t& StartTick = ProgramRun.StartTick;
inline std::string& LevelName = ProgramRun.LevelName;
inline int32_t& AdditivZiel = ProgramRun.AdditivZiel;
inline platform::HWnd& FensterHandle = ProgramRun.FensterHandle;
inline std::string& DatenPfad = ProgramRun.DatenPfad;
inline std::string& GrafikPfad = ProgramRun.GrafikPfad;
inline std::string& SoundPfad = ProgramRun.SoundPfad;
inline std::string& VideoPfad = ProgramRun.VideoPfad;
inline std::array<int32_t, 256>& GrauTabelle = ProgramRun.GrauTabelle;
inline platform::HWnd& Form1 = ProgramRun.Form1;
inline platform::HWnd& Form3 = ProgramRun.Form3;
inline int32_t& Picture1Breite = ProgramRun.Picture1Breite;
inline int32_t& Picture1Hoehe = ProgramRun.Picture1Hoehe;

// Everything as before the program starts (the windows themselves are not touched).
inline void ResetProgramRunState() { ProgramRun = ProgramRunState{}; }

// The same at a start, which comes after the game window has been made: the window and
// its size stay.
inline void ResetProgramRunAtStart() {
  const platform::HWnd fenster = Form1;
  const int32_t breite = Picture1Breite, hoehe = Picture1Hoehe;
  ResetProgramRunState();
  Form1 = fenster;
  Picture1Breite = breite;
  Picture1Hoehe = hoehe;
}
