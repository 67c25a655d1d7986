// harvo_level: builds level files from level descriptions and tells what a level file holds.
//
//   harvo_level build DESC OUT   writes the level file OUT from the description DESC
//   harvo_level info FILE        reads FILE with the game's reader and prints its counts
#include <cstdio>
#include <string>
#include <vector>

#include "lib/archive_writer.hpp"
#include "lib/level_desc.hpp"
#include "lib/level_writer.hpp"
#include "world/level_file.hpp"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: harvo_level build DESC OUT\n       harvo_level info FILE\n");
  return 2;
}

int Build(const std::string& desc, const std::string& out) {
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(desc, bytes)) {
    std::fprintf(stderr, "%s: cannot be read\n", desc.c_str());
    return 1;
  }
  levelfile::Leveldaten level;
  std::string error;
  if (!tools::ParseLevelDescription(std::string(bytes.begin(), bytes.end()), level, error)) {
    std::fprintf(stderr, "%s: %s\n", desc.c_str(), error.c_str());
    return 1;
  }
  std::vector<uint8_t> file;
  if (!tools::WriteLevelFile(level, file)) {
    std::fprintf(stderr, "%s: a value does not fit the level file (a text or list too long)\n", desc.c_str());
    return 1;
  }
  if (!tools::WriteFileIfChanged(out, file)) {
    std::fprintf(stderr, "%s: cannot be written\n", out.c_str());
    return 1;
  }
  return 0;
}

int Info(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(path, bytes)) bytes.clear();  // the reader calls that damaged
  levelfile::Leveldaten d;
  const levelfile::Ergebnis e = levelfile::Lese(bytes, d, 0);
  if (e != levelfile::Ergebnis::Geladen) {
    std::fprintf(stderr, "%s\n", levelfile::Meldung(e, "E").c_str());
    return 1;
  }
  for (const std::string& h : d.Hinweise) std::fprintf(stderr, "%s\n", h.c_str());
  std::fputs(tools::LevelFileInfo(d).c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "build") return Build(args[1], args[2]);
  if (args.size() == 2 && args[0] == "info") return Info(args[1]);
  return Usage();
}
