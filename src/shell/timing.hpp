#pragma once
// Text fields, frame pacing, the message pump and the priorities.
#include <cstdint>
#include <optional>
#include <string>

inline int64_t LetzterTick = 0;  // tick count at which the current frame began
inline bool Rendern = true;      // this frame is drawn
inline bool FrameSkipAn = false; // a late frame may be skipped (the game loop only)
inline bool Showinfo = false;    // show the frame statistics line
inline std::string DebugZeile;   // the frame statistics line

// Field `Index` (from 1) of `Text`, split at `Delim` (or at the nearer of `Delim` and
// `Delim2`), without blanks at its ends; " " when the text has no such field.
std::string GetField(const std::string& Text, int32_t Index, const std::string& Delim,
                     const std::optional<std::string>& Delim2 = std::nullopt);

// Ends the current frame of `Ti` milliseconds (see the frame rules in timing.cpp).
void Wait(int32_t Ti);
// As at program start: no frame begun yet (tick count 0), drawn, no skipping, no
// statistics.
void ResetFrameClock();
// Hands every pending window message to its window procedure.
void MyDoEvents();

void SetHighPriority();
void SetLowPriority();
void SetNormalPriority();

// Height of the primary screen in pixels.
int32_t GetDesktopHeight();
// Milliseconds of the program's clock (64 bits: it never wraps).
int64_t GetTickCount();
