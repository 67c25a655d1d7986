#pragma once
// The message ticker's lines.
#include <cstdint>
#include <string>
#include <vector>

struct MessageHistoryDaten {
  std::vector<std::string> Zeilen;  // upper bound = size - 1 (-1 when empty)
  int32_t Scroll = 0;
};
inline MessageHistoryDaten MessageHistory;
// The ticker has run out: everything has scrolled past and nothing is drawn.
inline bool TickerLeer = false;

// Appends a text to the ticker (after a gap of ten blanks when it had run out).
void AddMsg(const std::string& t);
