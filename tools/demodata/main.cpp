// harvo_demodata <folder>: writes the game's demo data set (pictures, sounds, archives)
// into <folder> (the build's Data/). Everything is made by code, the same every time.
// harvo_demodata --check <folder>: reads a written set back with the game's decoders.
#include <cstdio>
#include <filesystem>
#include <string>

#include "demodata/audio.hpp"
#include "demodata/catalogue.hpp"
#include "demodata/check.hpp"
#include "demodata/level1.hpp"
#include "demodata/weather_levels.hpp"
#include "lib/archive_writer.hpp"
#include "lib/ogg_writer.hpp"

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--check") return demo::CheckDataFolder(argv[2]) == 0 ? 0 : 1;
  if (argc != 2) {
    std::fprintf(stderr, "usage: harvo_demodata <data folder>\n       harvo_demodata --check <data folder>\n");
    return 2;
  }
  std::filesystem::path data = argv[1];
  for (const char* sub : {"Grafik", "Sound", "Video"}) std::filesystem::create_directories(data / sub);
  // The archives, and the weather's small test levels beside them.
  std::vector<demo::Archiv> archive = demo::Archives();
  std::string wetterFehler;
  if (!demo::WeatherLevels(HARVO_DEMO_LEVELS, archive, wetterFehler)) {
    std::fprintf(stderr, "harvo_demodata: %s\n", wetterFehler.c_str());
    return 1;
  }
  for (const demo::Archiv& a : archive) {
    if (!tools::WriteFileIfChanged((data / a.name).string(), tools::PackArchive(a.members))) {
      std::fprintf(stderr, "harvo_demodata: cannot write %s\n", (data / a.name).c_str());
      return 1;
    }
  }
  // The levels, from their descriptions in the source tree.
  std::vector<tools::ArchiveMember> level;
  std::string error;
  if (!demo::Level1Archive(std::string(HARVO_DEMO_LEVELS) + "/Level1", level, error)) {
    std::fprintf(stderr, "harvo_demodata: %s\n", error.c_str());
    return 1;
  }
  if (!tools::WriteFileIfChanged((data / "Level1.vlp").string(), tools::PackArchive(level))) {
    std::fprintf(stderr, "harvo_demodata: cannot write %s\n", (data / "Level1.vlp").c_str());
    return 1;
  }
  // The music of the menu and of the levels, as plain files beside the archives.
  const int rate = 44100;
  const struct {
    const char* name;
    std::vector<int16_t> samples;
  } musik[] = {{"intro.ogg", demo::MenuMusic(16.0)}, {"Level1.ogg", demo::CanyonMusic()}};
  for (const auto& m : musik) {
    std::vector<uint8_t> ogg = tools::EncodeOggVorbis(m.samples, 2, rate, 0.3f);
    if (ogg.empty() || !tools::WriteFileIfChanged((data / "Sound" / m.name).string(), ogg)) {
      std::fprintf(stderr, "harvo_demodata: cannot write the music %s\n", m.name);
      return 1;
    }
  }
  return 0;
}
