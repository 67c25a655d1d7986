// The special events' test levels: one template description, the event's type and first
// value filled in for each.
#include "demodata/event_levels.hpp"

#include <array>

#include "demodata/weather_levels.hpp"

namespace demo {
namespace {

// The event of each level and its first value: the key prompt shows the fire keys
// (action 4); the others read no value.
struct Ereignis {
  int art, wert1;
};
constexpr std::array<Ereignis, 7> kEreignisse = {{{1, 4}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}};

}  // namespace

bool EventLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error) {
  std::string vorlage;
  if (!ReadDescription(levels + "/Events/Events.txt", vorlage, error)) return false;
  for (const Ereignis& e : kEreignisse) {
    const std::string name = "Event" + std::to_string(e.art);
    const std::string text =
        ReplaceAll(ReplaceAll(vorlage, "@ART", std::to_string(e.art)), "@WERT1", std::to_string(e.wert1));
    Archiv a;
    if (!TestLevel(name, text, a, error)) return false;
    archives.push_back(std::move(a));
  }
  return true;
}

}  // namespace demo
