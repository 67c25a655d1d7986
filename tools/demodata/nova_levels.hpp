#pragma once
// The super nova's small test levels, one for every kind of pod the nova can spend, so
// that each of its kinds is seen: "NovaGuard.vlp" (guard pods), "Nova1.vlp" to
// "Nova7.vlp" (pod weapons 1 to 7) and "NovaSatellite.vlp" (the satellite, for the ship
// that carries it). Each brings a column of its pick-up every 150 ticks and three waves
// of enemies that hover until a nova sweeps them away.
#include <string>
#include <vector>

#include "demodata/catalogue.hpp"

namespace demo {

// The nova levels from the template demodata/levels/Novas/Novas.txt below `levels`; false
// with a reason in `error` when one cannot be built.
bool NovaLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error);

}  // namespace demo
