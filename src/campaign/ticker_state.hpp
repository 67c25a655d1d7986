#pragma once
// The message ticker's lines. Every subsystem adds lines (failed loads, switches, radio
// texts); the ticker of the game loop scrolls them (campaign/ticker.hpp).
#include <cstdint>
#include <string>
#include <vector>

#include "shell/basic.hpp"

struct MessageHistoryDaten {
  std::vector<std::string> Zeilen;
};
inline MessageHistoryDaten MessageHistory;
// Scroll position in tenths of a character: the ticker's window starts at character
// `TickerPos` \ 10 + 1 of its text.
inline int32_t TickerPos = 0;
// The ticker has run out: everything has scrolled past and nothing is drawn.
inline bool TickerLeer = false;

// The highest line index, -1 when the history is empty.
inline int32_t MessageHistoryMax() { return UBound(MessageHistory.Zeilen); }

// Appends a text to the ticker (after a gap of ten blanks when it had run out). Adding a
// line only writes the ticker's own state, so the subsystems below the campaign may.
inline void AddMsg(const std::string& t) {
  if (TickerLeer) {
    TickerLeer = false;
    MessageHistory.Zeilen.emplace_back(10, ' ');
  }
  MessageHistory.Zeilen.push_back(t);
}

// Before a level pass: no lines, scrolled to the start. Whether the ticker has run out
// stays as it is.
inline void ResetTicker() {
  MessageHistory.Zeilen.clear();
  TickerPos = 0;
}

// As at program start: no lines, and the ticker has not run out.
inline void ResetMessageHistory() {
  ResetTicker();
  TickerLeer = false;
}
