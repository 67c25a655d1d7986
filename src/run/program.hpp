#pragma once
// The program run: start-up, the alternation of menu and campaign, and the shut-down.
#include <cstdint>
#include <string>

#include "run/program_state.hpp"
#include "shell/process_end.hpp"

void Form_Load();
void Timer1_Timer();
void Form_Resize();
void Form_Unload(int16_t& Cancel);
void Init();
void Terminate();
// Closes the game window (and in full screen the full-screen window) on a fatal error.
void UnloadGameWindows();

// Reads the switches of the command line.
void ScanCommandLine(const std::string& Befehlszeile);
// "mm-dd-yyyy hh:mm:ss" of now.
std::string LogDateTime();

// The whole program: load, settings window, run, shut-down. Returns the exit code.
int RunProgram(int argc, char** argv);
