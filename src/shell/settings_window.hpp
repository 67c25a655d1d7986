#pragma once
// The start-up settings window: the player's choices before anything is set up.
// OK hands over to the program run (it arms the game window's start timer), Cancel ends the
// program.
//
// Every option is a label with a keyboard letter; a frame around each label shows by its
// colour whether the option is chosen. The window opens growing from its centre with
// rounded corners, fades in, can be dragged anywhere outside the labels, and sweeps a
// one-row displacement over its picture.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/surface.hpp"
#include "platform/window.hpp"
#include "shell/shadow.hpp"

// Loads and shows the window (modeless); the program's message pump runs it.
void ShowSettingsWindow();

// Character set of the font of the language label, taken when the window loads; the
// Russian captions here and Russian text on the screen are drawn with it. Cyrillic
// (RUSSIAN_CHARSET) until the window has loaded.
inline int32_t FontCharset = 204;

namespace Form2 {

// An option label: its caption ("&" before the access letter), whether it shows, the
// character set of its font, and its place in the window.
struct LabelInfo {
  std::string Caption;
  bool Visible = true;
  uint32_t Charset = 0;
  platform::Rect Feld;
};

// The frame (a rectangle shape) around a label.
struct Rahmen {
  uint32_t BorderColor = 0x008000;
  bool Visible = true;
};

// Frame colours: chosen, not chosen.
constexpr uint32_t kHell = 0xC0FFC0;
constexpr uint32_t kDunkel = 0x008000;

// Size of the window and of its picture, in pixels.
constexpr int32_t kBreite = 420, kHoehe = 320, kBildHoehe = 160;

inline platform::HWnd hWnd = 0;
inline bool OKGeklickt = false;   // closed with OK
inline bool Verschieben = false;  // a drag is in progress
inline float StartX = 0, StartY = 0;
inline int32_t Zeile = 0;  // row of the scan-line effect; negative during the pause
inline std::array<LabelInfo, 11> Label;    // Label(1) .. Label(10)
inline std::array<Rahmen, 11> LabelRahmen;  // the frame of each label
inline platform::SurfacePtr Image1;    // the picture, source of the effect
inline platform::SurfacePtr Picture1;  // the picture as shown
inline std::unique_ptr<ucShadow> Shadow;

// The window's events.
void Form_Load();
void Aufbau();
void Label_Click(int Index);
void Form_KeyPress(int16_t& KeyAscii);
void Form_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
void Form_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
void Form_Unload(int16_t& Cancel);
void Form_Activate();
void Timer1_Timer();

// Creates the window and its controls and runs `Form_Load` (the window stays hidden).
void Load();
// Closes the window: its unload event first, then the controls and the window go.
void Unload();

}  // namespace Form2
