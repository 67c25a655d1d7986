#pragma once
// The small test levels of the weather: "Snow.vlp" (background mode 3), "Haze.vlp"
// (background mode 5) and "Rain.vlp" (500 drops: rain sheets), each built from its level
// description in demodata/levels/<name>/<name>.txt with pictures of the first level.
#include <string>
#include <vector>

#include "demodata/catalogue.hpp"

namespace demo {

// The archive "<name>.vlp" of a small level from the description `desc` in `folder`,
// with pictures of the first level and radio texts without messages; false with a
// reason in `error` when it cannot be built.
bool SmallLevel(const std::string& folder, const std::string& desc, const std::string& name, Archiv& out,
                std::string& error);

// The archives of the weather levels whose descriptions lie below `levels`; false with a
// reason in `error` when one cannot be built.
bool WeatherLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error);

}  // namespace demo
