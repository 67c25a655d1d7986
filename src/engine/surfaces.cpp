#include "engine/surfaces.hpp"

void SurfaceClear() { SurfacesMax = -1; }
