#include "demodata/bonus_levels.hpp"

#include "demodata/weather_levels.hpp"

namespace demo {

bool BonusLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error) {
  struct Bonus {
    const char* desc;
    const char* name;
  };
  for (const Bonus& b : {Bonus{"Jungle.txt", "Level8-1 Jungle"}, Bonus{"Space.txt", "Spacestation Bonus"},
                         Bonus{"Bleistift.txt", "Level Bleistift"}}) {
    Archiv a;
    std::string text;
    if (!ReadDescription(levels + "/Bonus/" + b.desc, text, error) || !TestLevel(b.name, text, a, error)) return false;
    archives.push_back(std::move(a));
  }
  return true;
}

}  // namespace demo
