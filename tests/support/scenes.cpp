#include "support/scenes.hpp"

#include <filesystem>

#include "platform/fs.hpp"
#include "support/support.hpp"

namespace testsupport {

const std::vector<Scene>& DemoScenes() {
  static const std::vector<Scene> szenen = [] {
    std::vector<Scene> s;
    for (const char* level : {"Level1", "Level2", "Epilog", "Arsenal", "Snow", "Haze", "Rain", "Gates", "Crash",
                              "Level8-1 Jungle", "Spacestation Bonus", "Level Bleistift"})
      s.push_back({level});
    for (int n = 1; n <= 7; ++n) s.push_back({"Event" + std::to_string(n)});
    s.push_back({"NovaGuard"});
    for (int n = 1; n <= 7; ++n) s.push_back({"Nova" + std::to_string(n)});
    s.push_back({"NovaSatellite", 1});
    return s;
  }();
  return szenen;
}

std::string DemoDataFolder() {
  namespace fs = std::filesystem;
  std::string ordner = platform::fs::Resolve(platform::fs::ProgramFolder());
  while (ordner.size() > 1 && ordner.back() == '/') ordner.pop_back();
  const fs::path program = ordner;
  return (fs::exists(program / "Data" / "Level1.vlp") ? program : program.parent_path()).string() + "/";
}

bool SceneKeys(headless_run::KeyScript& keys, std::string& error) {
  const std::string datei = SourceDir() + "/bench/scenes.keys";
  const std::string text = ReadText(datei);
  if (text.empty()) {
    error = "cannot read " + datei;
    return false;
  }
  keys.clear();
  if (headless_run::ParseKeyScript(text, keys, error)) return true;
  error = datei + ": " + error;
  return false;
}

headless_run::Options SceneOptions(const Scene& scene, const headless_run::KeyScript& keys, int64_t ticks) {
  headless_run::Options o;
  o.level = scene.level;
  o.ticks = ticks;
  o.keys = keys;
  o.seed = 1;
  o.shipType = scene.ship;
  o.dataFolder = DemoDataFolder();
  return o;
}

}  // namespace testsupport
