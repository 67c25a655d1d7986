#pragma once
#include <cstdint>

// Highest entry of the surface table, -1 when empty.
inline int32_t SurfacesMax = -1;

// Empties the surface table.
void SurfaceClear();
