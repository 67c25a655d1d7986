#pragma once
// Reports a DirectX failure that the program cannot work around: the error number turns
// into the published DirectX error name and an English description, the crash record goes
// to the debug log and the error dialog shows it. Ending the program is the caller's step.
#include <cstdint>
#include <span>
#include <string>

// One row of an error list: the code, the DirectX error name and its description.
struct DXFehlerZeile {
  int32_t Code;
  const char* Name;
  const char* Beschreibung;  // English; the advice for an invalid pixel format is partly Russian (Windows-1251)
};

// The error list of a DirectX component: 0 Direct3D, 1 Direct3D retained mode,
// 2 DirectDraw (the one the game uses), 3 DirectInput, 4 DirectMusic, 5 DirectPlay,
// 6 DirectSound. Empty for any other number.
std::span<const DXFehlerZeile> DXFehlerListe(int32_t Component);

// Name and title of a number that no row of the chosen list holds.
inline constexpr const char* kLaufzeitfehlerName = "RUNTIME_ERROR";
inline constexpr const char* kLaufzeitfehlerTitel = "A run-time error has occurred (not a DirectX error)";
inline constexpr const char* kDirectXFehlerTitel = "A DiectX 7 Error has occured";
// A short standard text for an error number outside the lists.
std::string StandardFehlertext(int32_t ErrNumber);

// Looks `ErrNumber` up in list `Component`, writes the crash record to the debug log
// (while `DebugModus` is on) and shows the error dialog; returns when it is closed.
// `Extra` is the caller's text for the details; `ErrDescription` the message of the error
// the caller is handling (empty when it has none).
void ShowDXError(int32_t ErrNumber, int32_t Component, const std::string& Extra,
                 const std::string& ErrDescription = "");
