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
