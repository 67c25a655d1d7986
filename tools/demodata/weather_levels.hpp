#pragma once
// The small test levels, built from level descriptions with pictures of the first level:
// the weather's "Snow.vlp" (background mode 3), "Haze.vlp" (background mode 5) and
// "Rain.vlp" (500 drops: rain sheets); "Gates.vlp" with two checkpoint gates; "Crash.vlp",
// in which the ship is lost soon, for the continue screen — each from
// demodata/levels/<name>/<name>.txt —, and the special events' "Event1.vlp" to
// "Event7.vlp" (event_levels.hpp) and the super nova's "NovaGuard.vlp", "Nova1.vlp" to
// "Nova7.vlp" and "NovaSatellite.vlp" (nova_levels.hpp).
#include <string>
#include <vector>

#include "demodata/catalogue.hpp"

namespace demo {

// The archive "<name>.vlp" of the level `description` (the text of a level description):
// the level file, the pictures it names, radio texts without messages. False with a
// reason in `error` when it cannot be built or names a picture nothing draws.
bool TestLevel(const std::string& name, const std::string& description, Archiv& out, std::string& error);
// The text of the file `path`; false with a reason in `error` when it cannot be read.
bool ReadDescription(const std::string& path, std::string& text, std::string& error);
// `text` with every `mark` in it replaced by `value` (the marks of a template description).
std::string ReplaceAll(std::string text, const std::string& mark, const std::string& value);

// The archives of the test levels whose descriptions lie below `levels`; false with a
// reason in `error` when one cannot be built.
bool WeatherLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error);

}  // namespace demo
