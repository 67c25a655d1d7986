#pragma once
// The demo data set: every archive and every member by name, in one place.
#include <cstdint>
#include <string>
#include <vector>

#include "demodata/level_archive.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

struct Archiv {
  std::string name;
  std::vector<tools::ArchiveMember> members;
};

// All archives of the data folder but the level archives and the level script, drawn
// and synthesised on the spot.
std::vector<Archiv> Archives();

// A demo level: its description and radio texts lie in levels/<name>/ of the source tree;
// it becomes the archive "<name>.vlp" with the pictures drawn here, the voice archive
// "<name>.vfp" and the music "<name>.ogg".
struct DemoLevel {
  std::string name;
  Bilder (*bilder)();
  std::vector<tools::ArchiveMember> (*voices)();
  std::vector<int16_t> (*musik)();
};
const std::vector<DemoLevel>& DemoLevels();

}  // namespace demo
