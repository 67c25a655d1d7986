#pragma once
// The message ticker: the texts of the current level pass scrolling through a one-line
// window in the bottom right corner of the screen, and the way the game loop writes its
// lines of text on the back buffer.
#include <cstdint>
#include <string>

#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/text.hpp"

// The green of the ticker and of the debug information line (a GDI colour, 0x00BBGGRR).
inline constexpr int32_t kInfoGruen = 64 | (255 << 8) | (64 << 16);

// One drawn frame of the ticker: advances the window and draws it. Called between
// `RenderEnd` and `Flip` in the frames that are drawn. A text enters the window 99
// characters right of its left edge (x 575) and scrolls until it has left at that edge;
// a history that has scrolled past (or is empty) draws nothing and marks the ticker as
// run out.
void ShowMSGS();

// Length of the ticker text: every line as "     -" & line & "     ", the last line
// without its five trailing blanks; 0 for an empty history.
int32_t TickerLaenge();
// The visible part of the ticker for a window starting at character `Start` (from 0) of
// 99 blanks followed by the ticker text: up to 100 characters, trailing blanks removed.
// The text lives until the next call.
const std::string& TickerFenster(int32_t Start);

// Writes on the back buffer with the font `Font` of cell height `Hoehe`: `schreiben` calls
// `GdiTextOut` on `TextDC`. The font and the device context are given back also when
// writing fails.
template <class Schreiben>
void AufBackBuffer(const char* Font, int16_t Hoehe, Schreiben schreiben) {
  DXCheck(platform::GetDC(*BackBuffer, TextDC));
  struct Rueckgabe {
    ~Rueckgabe() {
      platform::ReleaseDC(*BackBuffer, TextDC);
      TextDC = 0;
    }
  } rueckgabe;
  GdiSetFont(TextDC, Font, Hoehe);
  struct Schrift {
    ~Schrift() { GdiDeleteFont(TextDC); }
  } schrift;
  schreiben();
}
