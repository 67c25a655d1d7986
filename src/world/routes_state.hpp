#pragma once
// The level-wide route variables G(0..n), shared by every route of the level. Only the
// route commands that write and read G reach them; they grow as a route writes them.
#include <cstdint>
#include <vector>

inline std::vector<float> RoutenVariablen;

// The highest index a route may write; writes beyond are ignored, so a stray index
// cannot claim memory without end.
inline constexpr int32_t RoutenVariablenGrenze = 65535;

// Commands run by the interpreter since the start, for measuring it; nothing in the game
// reads it.
inline int64_t RoutenSchritte = 0;

// Before a level pass: G is empty.
inline void ResetRouteVariables() { RoutenVariablen.clear(); }
