// The super nova's test levels: one template description, the columns of each level's
// pick-up filled in.
#include "demodata/nova_levels.hpp"

#include <array>

#include "demodata/weather_levels.hpp"

namespace demo {
namespace {

// The level, the event type of its pick-ups and their first value: a power-up of value 1
// (the guard pod), a pod weapon (its number less one), the satellite with weapon 0.
struct Angebot {
  const char* name;
  int typ, wert;
};
constexpr std::array<Angebot, 9> kAngebote = {{{"NovaGuard", 5, 1},
                                               {"Nova1", 2, 0},
                                               {"Nova2", 2, 1},
                                               {"Nova3", 2, 2},
                                               {"Nova4", 2, 3},
                                               {"Nova5", 2, 4},
                                               {"Nova6", 2, 5},
                                               {"Nova7", 2, 6},
                                               {"NovaSatellite", 6, 0}}};

// A column of nine pick-ups every 150 ticks, 60 pixels apart from the top of the play
// area to its bottom: the ship meets one at any height, and the 16 places of the pick-ups
// are never all taken.
std::string Saeulen(const Angebot& a) {
  std::string s;
  for (int tick = 10; tick < 1500; tick += 150)
    for (int y = 20; y <= 500; y += 60)
      s += "  at " + std::to_string(tick) + " " + std::to_string(a.typ) + " " + std::to_string(a.wert) + " 0 " +
           std::to_string(y) + "\n";
  return s;
}

}  // namespace

bool NovaLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error) {
  std::string vorlage;
  if (!ReadDescription(levels + "/Novas/Novas.txt", vorlage, error)) return false;
  for (const Angebot& a : kAngebote) {
    const std::string text = ReplaceAll(vorlage, "@PICKUPS", Saeulen(a));
    Archiv archiv;
    if (!TestLevel(a.name, text, archiv, error)) return false;
    archives.push_back(std::move(archiv));
  }
  return true;
}

}  // namespace demo
