// harvo_demodata <folder>: writes the game's demo data set (pictures, sounds, archives,
// the levels and the level script) into <folder> (the build's Data/). Everything is made
// by code or built from the descriptions in demodata/levels, the same every time; the
// archives and the levels are made side by side, each on its own.
// harvo_demodata --check <folder>: reads a written set back with the game's decoders.
#include <cstdio>
#include <filesystem>
#include <future>
#include <set>
#include <string>

#include "demodata/audio.hpp"
#include "demodata/bonus_levels.hpp"
#include "demodata/catalogue.hpp"
#include "demodata/check.hpp"
#include "demodata/event_levels.hpp"
#include "demodata/level_archive.hpp"
#include "demodata/pause_save.hpp"
#include "demodata/logos.hpp"
#include "demodata/nova_levels.hpp"
#include "demodata/videos.hpp"
#include "demodata/weather_levels.hpp"
#include "lib/archive_writer.hpp"
#include "lib/ogg_writer.hpp"

namespace {

bool Schreibe(const std::filesystem::path& datei, const std::vector<uint8_t>& bytes) {
  if (tools::WriteFileIfChanged(datei.string(), bytes)) return true;
  std::fprintf(stderr, "harvo_demodata: cannot write %s\n", datei.c_str());
  return false;
}

std::vector<uint8_t> Ogg(const std::vector<int16_t>& samples) { return tools::EncodeOggVorbis(samples, 2, 44100, 0.3f); }

bool Musik(const std::filesystem::path& datei, const std::vector<uint8_t>& ogg) {
  if (!ogg.empty()) return Schreibe(datei, ogg);
  std::fprintf(stderr, "harvo_demodata: cannot encode the music %s\n", datei.c_str());
  return false;
}

// One level, made: its archive, the sounds it asks of the sound archive, its music.
struct Level {
  bool ok = false;
  std::string error;
  std::vector<tools::ArchiveMember> members;
  std::vector<std::string> sounds;
  std::vector<uint8_t> musik;
};

Level Mache(const std::string& quellen, const demo::DemoLevel& l) {
  Level e;
  e.ok = demo::LevelArchive(quellen + "/" + l.name, l.name, l.bilder(), e.members, e.sounds, e.error);
  if (e.ok) e.musik = Ogg(l.musik());
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--check") return demo::CheckDataFolder(argv[2]) == 0 ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: harvo_demodata <data folder>\n       harvo_demodata --check <data folder>\n");
    return 2;
  }
  const std::filesystem::path data = argv[1];
  const std::string quellen = HARVO_DEMO_LEVELS;
  for (const char* sub : {"Grafik", "Sound", "Video"}) std::filesystem::create_directories(data / sub);
  auto archive = std::async(std::launch::async, demo::Archives);
  auto menuMusik = std::async(std::launch::async, [] { return Ogg(demo::MenuMusic(16.0)); });
  auto speicherMusik = std::async(std::launch::async, [] { return Ogg(demo::SaveScreenMusic()); });
  auto continueMusik = std::async(std::launch::async, [] { return Ogg(demo::ContinueMusic()); });
  auto abspannMusik = std::async(std::launch::async, [] { return Ogg(demo::CreditsMusic()); });
  auto videos = std::async(std::launch::async, demo::FolderVideos);
  std::vector<std::future<Level>> levels;
  for (const demo::DemoLevel& l : demo::DemoLevels())
    levels.push_back(std::async(std::launch::async, Mache, quellen, std::cref(l)));

  // The archives, and the small levels of the weather, the special events, the bonus and
  // the super nova beside them.
  std::vector<demo::Archiv> archiv = archive.get();
  std::string testFehler;
  if (!demo::WeatherLevels(quellen, archiv, testFehler) || !demo::EventLevels(quellen, archiv, testFehler) ||
      !demo::BonusLevels(quellen, archiv, testFehler) || !demo::NovaLevels(quellen, archiv, testFehler)) {
    std::fprintf(stderr, "harvo_demodata: %s\n", testFehler.c_str());
    return 1;
  }
  std::set<std::string> sounds;
  for (const demo::Archiv& a : archiv) {
    if (!Schreibe(data / a.name, tools::PackArchive(a.members))) return 1;
    if (a.name == "Sound.vkp")
      for (const tools::ArchiveMember& m : a.members) sounds.insert(m.name);
  }
  // The levels from their descriptions in the source tree, each with its music. The
  // level sounds they name must be in the sound archive.
  for (size_t i = 0; i < levels.size(); ++i) {
    const std::string& name = demo::DemoLevels()[i].name;
    const Level l = levels[i].get();
    if (!l.ok) {
      std::fprintf(stderr, "harvo_demodata: %s\n", l.error.c_str());
      return 1;
    }
    for (const std::string& s : l.sounds)
      if (!sounds.count(s)) {
        std::fprintf(stderr, "harvo_demodata: %s.txt names the sound %s, which nothing makes\n", name.c_str(), s.c_str());
        return 1;
      }
    if (!Schreibe(data / (name + ".vlp"), tools::PackArchive(l.members))) return 1;
    if (!Musik(data / "Sound" / (name + ".ogg"), l.musik)) return 1;
  }
  // The campaign: the level script.
  tools::ArchiveMember skript{"Play.txt", {}};
  if (!demo::GameText(quellen + "/Play.txt", false, skript.data)) {
    std::fprintf(stderr, "harvo_demodata: %s/Play.txt cannot be read\n", quellen.c_str());
    return 1;
  }
  if (!Schreibe(data / "Play.vkp", tools::PackArchive({skript}))) return 1;
  // The start-up videos, plain files of the video folder.
  for (const tools::ArchiveMember& v : videos.get())
    if (v.data.empty() || !Schreibe(data / "Video" / v.name, v.data)) {
      std::fprintf(stderr, "harvo_demodata: cannot make the video %s\n", v.name.c_str());
      return 1;
    }
  // The save screen's, the continue screen's, the credits' and the menu's music, plain
  // files beside the levels' music.
  if (!Musik(data / "Sound" / "Save_Screen.ogg", speicherMusik.get())) return 1;
  if (!Musik(data / "Sound" / "Continue.ogg", continueMusik.get())) return 1;
  if (!Musik(data / "Sound" / "Enhaced Credits.ogg", abspannMusik.get())) return 1;
  return Musik(data / "Sound" / "intro.ogg", menuMusik.get()) ? 0 : 1;
}
