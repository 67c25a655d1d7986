#pragma once
// Ending the program at once, from anywhere: a fatal error deep in a loader, or Cancel
// in the settings window. The program run catches it and returns the exit code.

// Unwinds to `RunProgram`, which returns `code` as the exit code.
struct ProcessEnd {
  int code;
};
[[noreturn]] inline void EndProcess(int code) { throw ProcessEnd{code}; }
