#pragma once
// The level-wide route variables G(0..n), shared by every route of the level.
#include <vector>

inline std::vector<float> RoutenVariablen;
