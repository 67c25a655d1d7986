#pragma once
// What the operating system tells about the running program, and what it is asked.
#include <string>
#include <vector>

namespace platform {

// The program's own file name and arguments, as given to main.
void SetCommandLine(int argc, char** argv);
const std::string& ProgramFile();    // full path of the program file
std::string ProgramName();           // file name without folder and extension
std::string CommandLineText();       // the arguments joined by blanks (without the program)

// Process and thread priority. A normal Linux process may lower its priority but never
// raise it back, so the values are only recorded; the game reads back what it set.
constexpr int kPriorityClassNormal = 32;
constexpr int kPriorityClassIdle = 64;
int GetPriorityClass();
int GetThreadPriority();
bool SetPriorityClass(int value);
bool SetThreadPriority(int value);

// Version of the operating system as the game's version check expects it: the major
// version of a current system is 6 or higher.
unsigned GetVersionWord();

// Logical pixels per inch of the screen; 0 when the platform has no such setting.
int ScreenLogicalDpi();

// Height of the desktop in pixels (the primary screen); 0 when there is none.
int DesktopHeight();

// Calendar date and time of the system clock.
struct DateTime {
  int year, month, day, hour, minute, second;
};
DateTime Now();
// The system's own calendar clock (what `Now` gives on a real desktop).
DateTime SystemNow();

// Single instance. Every running instance of this user holds a share of the instance
// lock for the rest of its life. Takes this process's share in one step with the check
// that no other instance holds one: false (nothing taken) while another one runs. Also
// true where no lock file can be had: then nothing guards.
bool HoldOnlyInstanceLock();
// Takes this process's share whether or not others run (it joins them).
void JoinInstanceLock();
// Whether this process holds a share of a real lock file: false where none could be had,
// and then nobody can tell whether another instance runs.
bool HoldsInstanceLock();
// Lets go of this process's own hold (a child process that inherited its parent's).
void ForgetInstanceLock();

// From now on SIGTERM (a desktop logging out) and SIGINT (Ctrl+C in a terminal) do not
// end the process at once: the message pump turns them into a request to end the session
// (see SetEndSessionWindow in window.hpp). A second signal before the pump took the first
// ends the process as the signal would have: a program that no longer pumps can still
// be stopped.
void CatchEndSignals();
// True once per caught signal that the pump has not taken yet.
bool TakeEndSignal();

}  // namespace platform
