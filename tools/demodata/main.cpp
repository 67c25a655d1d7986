// harvo_demodata <folder>: writes the game's demo data set (pictures, sounds, archives)
// into <folder> (the build's Data/). Everything is made by code, the same every time.
// harvo_demodata --check <folder>: reads a written set back with the game's decoders.
#include <cstdio>
#include <filesystem>
#include <string>

#include "demodata/audio.hpp"
#include "demodata/catalogue.hpp"
#include "demodata/check.hpp"
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
  for (const demo::Archiv& a : demo::Archives()) {
    if (!tools::WriteFileIfChanged((data / a.name).string(), tools::PackArchive(a.members))) {
      std::fprintf(stderr, "harvo_demodata: cannot write %s\n", (data / a.name).c_str());
      return 1;
    }
  }
  // The menu's music, as a plain file beside the archives.
  const int rate = 44100;
  std::vector<uint8_t> music = tools::EncodeOggVorbis(demo::MenuMusic(16.0), 2, rate, 0.3f);
  if (music.empty() || !tools::WriteFileIfChanged((data / "Sound" / "intro.ogg").string(), music)) {
    std::fprintf(stderr, "harvo_demodata: cannot write the music\n");
    return 1;
  }
  return 0;
}
