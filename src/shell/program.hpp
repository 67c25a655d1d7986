#pragma once
// The program run: start-up, the alternation of menu and campaign, and the shut-down.
#include <array>
#include <cstdint>
#include <string>

#include "platform/window.hpp"

inline int32_t Spielstatus = 0;  // 0 normal, 1 leave the screen, 8/9 menu codes, 10 quit
inline bool DebugModus = false;
inline bool SkipModus = false;
inline int32_t StartTick = 0;
inline std::string LevelName = "Level1";
inline int32_t AdditivZiel = 7;  // destination blend of additive quads
inline platform::HWnd FensterHandle = 0;
inline std::string DatenPfad, GrafikPfad, SoundPfad, VideoPfad;
inline std::array<int32_t, 256> GrauTabelle{};  // grey i as a pixel of the back buffer

// The game window and the second window DirectX takes over in full screen.
inline platform::HWnd Form1 = 0;
inline platform::HWnd Form3 = 0;
// The drawing area of the game window (its client area).
inline int32_t Picture1Breite = 0, Picture1Hoehe = 0;

void Form_Load();
void Timer1_Timer();
void Form_Resize();
void Form_Unload(int16_t& Cancel);
void Init();
void Terminate();
// Closes the game window (and in full screen the full-screen window) on a fatal error.
void UnloadGameWindows();

// Enables the game window's one-shot start timer (the settings window's OK).
void StartProgramRun();
// Reads the switches of the command line.
void ScanCommandLine(const std::string& Befehlszeile);
// "mm-dd-yyyy hh:mm:ss" of now.
std::string LogDateTime();

// Ends the program at once with an exit code (unwinds to `RunProgram`).
struct ProcessEnd {
  int code;
};
[[noreturn]] void EndProcess(int code);

// The whole program: load, settings window, run, shut-down. Returns the exit code.
int RunProgram(int argc, char** argv);
