// The small test levels: the level file from the description, the pictures it names
// (drawn as for the first level), radio texts without messages, so the ticker stays quiet.
#include "demodata/weather_levels.hpp"

#include "demodata/level1.hpp"
#include "lib/level_desc.hpp"
#include "lib/level_writer.hpp"
#include "lib/media_writer.hpp"

namespace demo {
namespace {

// The first level's pictures, and the crags of the level that is lost soon.
const Bilder& Testbilder() {
  static const Bilder b = [] {
    Bilder m = Level1Pictures();
    m["Crag.bmp"] = {[] { return Rock(200, 420, false, false, 301); }};
    m["CragTop.bmp"] = {[] { return Rock(200, 420, true, false, 302); }};
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
  if (!LevelPictures(level, Testbilder(), desc, out.members, error)) return false;
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

std::string ReplaceAll(std::string text, const std::string& mark, const std::string& value) {
  for (size_t pos = text.find(mark); pos != std::string::npos; pos = text.find(mark, pos + value.size()))
    text.replace(pos, mark.size(), value);
  return text;
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
