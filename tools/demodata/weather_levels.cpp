// The small test levels: the level file from the description, the pictures it names
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

const std::map<std::string, std::function<tools::Image()>>& Testbilder() {
  static const std::map<std::string, std::function<tools::Image()>> b = [] {
    std::map<std::string, std::function<tools::Image()>> m;
    m["Sky.bmp"] = [] { return Flat(CanyonSky()); };
    m["RockA.bmp"] = [] { return Keyed(Rock(210, 130, false, false, 101)); };
    m["RockD.bmp"] = [] { return Keyed(Rock(190, 120, true, false, 104)); };
    m["FarRockB.bmp"] = [] { return Keyed(Rock(180, 120, false, true, 202)); };
    m["Crag.bmp"] = [] { return Keyed(Rock(200, 420, false, false, 301)); };
    m["CragTop.bmp"] = [] { return Keyed(Rock(200, 420, true, false, 302)); };
    for (int n = 1; n <= 4; ++n) m["Dart" + std::to_string(n) + ".bmp"] = [n] { return Keyed(DartFrame(n - 1)); };
    return m;
  }();
  return b;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

bool TestLevel(const std::string& name, const std::string& description, Archiv& out, std::string& error) {
  levelfile::Leveldaten level;
  std::vector<uint8_t> datei;
  const std::string desc = name + ".txt";
  if (!tools::ParseLevelDescription(description, level, error) || !tools::WriteLevelFile(level, datei)) {
    error = desc + ": " + (error.empty() ? "cannot be written" : error);
    return false;
  }
  out = {name + ".vlp", {{name + ".dat", std::move(datei)}}};
  std::map<std::string, bool> namen{{level.Hintergrund, true}};
  for (const SpriteDef& s : level.SpriteDefs)
    for (const SpriteFrame& f : s.Frames)
      if (f.Bild != "-") namen[f.Bild] = true;
  for (const auto& [bild, _] : namen) {
    const auto it = Testbilder().find(bild);
    if (it != Testbilder().end())
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

bool ReadDescription(const std::string& path, std::string& text, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(path, bytes)) {
    error = path + ": cannot be read";
    return false;
  }
  text.assign(bytes.begin(), bytes.end());
  return true;
}

bool WeatherLevels(const std::string& levels, std::vector<Archiv>& archives, std::string& error) {
  for (const char* name : {"Snow", "Haze", "Rain", "Gates", "Crash"}) {
    Archiv a;
    std::string text;
    if (!ReadDescription(levels + "/" + name + "/" + name + ".txt", text, error) || !TestLevel(name, text, a, error))
      return false;
    archives.push_back(std::move(a));
  }
  return true;
}

}  // namespace demo
