#pragma once
// The special events' small test levels "Event1.vlp" to "Event7.vlp": each starts the
// event of its number (route command 42) early in a short flight through the canyon.
#include <string>
#include <vector>

#include "demodata/catalogue.hpp"

namespace demo {

// The event levels from the template demodata/levels/Events/Events.txt below `levels`;
// false with a reason in `error` when one cannot be built.
bool EventLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error);

}  // namespace demo
