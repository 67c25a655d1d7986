#pragma once
// Queued magnifier lenses, drawn by the game loop once per tick.
#include <cstdint>
#include <vector>

struct LupeAuftrag {
  float x1 = 0, y1 = 0;
  float Faktor = 0;
  float D = 0;
  int32_t Rein = 0;
};

// The queue; its highest index is size - 1 (-1 when empty).
inline std::vector<LupeAuftrag> LupeAuftraege;
