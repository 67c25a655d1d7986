#pragma once
// The three bonus levels the options page offers once play-throughs are completed:
// "Level8-1 Jungle.vlp", "Spacestation Bonus.vlp" and "Level Bleistift.vlp", small levels
// built from their descriptions in demodata/levels/Bonus with pictures of the first level.
#include <string>
#include <vector>

#include "demodata/catalogue.hpp"

namespace demo {

// The archives of the bonus levels whose descriptions lie below `levels`; false with a
// reason in `error` when one cannot be built.
bool BonusLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error);

}  // namespace demo
