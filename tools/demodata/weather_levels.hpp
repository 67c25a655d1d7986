#pragma once
// The small test levels: for the weather "Snow.vlp" (background mode 3), "Haze.vlp"
// (background mode 5) and "Rain.vlp" (500 drops: rain sheets); "Gates.vlp" with two
// checkpoint gates; "Crash.vlp", in which the ship is lost soon, for the continue screen.
// Each is built from its level description in demodata/levels/<name>/<name>.txt with
// pictures of the first level.
#include <string>
#include <vector>

#include "demodata/catalogue.hpp"

namespace demo {

// The archives of the test levels whose descriptions lie below `levels`; false with a
// reason in `error` when one cannot be built.
bool WeatherLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error);

}  // namespace demo
