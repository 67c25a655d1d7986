// The weather's test levels: the level file from the description, the pictures it names
// (drawn as for the first level), radio texts without messages, so the ticker stays quiet.
#include "demodata/weather_levels.hpp"

#include <functional>
#include <map>

#include "demodata/level1.hpp"
#include "lib/level_desc.hpp"
#include "lib/level_writer.hpp"
#include "lib/media_writer.hpp"

namespace demo {
namespace {

const std::map<std::string, std::function<tools::Image()>>& KleineBilder() {
  static const std::map<std::string, std::function<tools::Image()>> b = [] {
    std::map<std::string, std::function<tools::Image()>> m;
    m["Sky.bmp"] = [] { return Flat(CanyonSky()); };
    m["RockA.bmp"] = [] { return Keyed(Rock(210, 130, false, false, 101)); };
    m["RockD.bmp"] = [] { return Keyed(Rock(190, 120, true, false, 104)); };
    m["FarRockB.bmp"] = [] { return Keyed(Rock(180, 120, false, true, 202)); };
    for (int n = 1; n <= 4; ++n) m["Dart" + std::to_string(n) + ".bmp"] = [n] { return Keyed(DartFrame(n - 1)); };
    return m;
  }();
  return b;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

bool SmallLevel(const std::string& folder, const std::string& desc, const std::string& name, Archiv& out,
                std::string& error) {
  std::vector<uint8_t> bytes;
  levelfile::Leveldaten level;
  std::vector<uint8_t> datei;
  if (!tools::ReadFile(folder + "/" + desc, bytes) ||
      !tools::ParseLevelDescription(std::string(bytes.begin(), bytes.end()), level, error) ||
      !tools::WriteLevelFile(level, datei)) {
    error = desc + ": " + (error.empty() ? "cannot be read or written" : error);
    return false;
  }
  out = {name + ".vlp", {{name + ".dat", std::move(datei)}}};
  std::map<std::string, bool> namen{{level.Hintergrund, true}};
  for (const SpriteDef& s : level.SpriteDefs)
    for (const SpriteFrame& f : s.Frames)
      if (f.Bild != "-") namen[f.Bild] = true;
  for (const auto& [bild, _] : namen) {
    const auto it = KleineBilder().find(bild);
    if (it != KleineBilder().end())
      out.members.push_back({bild, tools::EncodeBmp24(it->second())});
    else if (bild.find('.') != std::string::npos) {  // a background mode is a number, no picture
      error = desc + " names the picture " + bild + ", which nothing draws";
      return false;
    }
  }
  for (const char* sprache : {"D", "E", "R"})
    out.members.push_back({level.FunkTextBasis + sprache + ".txt", Text("No radio messages in this level.\r\n")});
  return true;
}

bool WeatherLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error) {
  for (const char* name : {"Snow", "Haze", "Rain"}) {
    Archiv a;
    if (!SmallLevel(levels + "/" + name, std::string(name) + ".txt", name, a, error)) return false;
    archives.push_back(std::move(a));
  }
  return true;
}

}  // namespace demo
