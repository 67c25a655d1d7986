#pragma once
// A demo level as the game loads it: the level file built from its description, every
// picture the description names (drawn by code, looked up by file name), and its radio
// texts in the game's code pages.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "demodata/canvas.hpp"
#include "demodata/synth.hpp"
#include "lib/archive_writer.hpp"
#include "world/level_file.hpp"

namespace demo {

// How a picture is stored: keyed pictures keep every visible pixel off black, the
// transparent colour; flat ones are stored as drawn.
struct Bild {
  std::function<Canvas()> malen;
  bool keyed = true;
};
using Bilder = std::map<std::string, Bild>;

// The pictures `level` names (its background unless that is one of the game's own, and
// every frame of its sprites), drawn from `bilder` into `members`. A name `bilder` does
// not draw stops it: false with the reason in `error`, which names `beschreibung`.
bool LevelPictures(const levelfile::Leveldaten& level, const Bilder& bilder, const std::string& beschreibung,
                   std::vector<tools::ArchiveMember>& members, std::string& error);

// The archive "<name>.vlp" of the level whose description "<name>.txt" and radio texts
// lie in `folder`, and the names of the level sounds it asks of the sound archive. A
// picture the description names that `bilder` does not draw stops it: false with the
// reason in `error`.
bool LevelArchive(const std::string& folder, const std::string& name, const Bilder& bilder,
                  std::vector<tools::ArchiveMember>& members, std::vector<std::string>& sounds, std::string& error);

// A sound as a member of an archive (44,100 Hz mono WAV).
void AddSound(std::vector<tools::ArchiveMember>& m, const std::string& name, const synth::Wave& w);

// A UTF-8 text of the source tree in the game's code page (Windows-1251 when `russisch`,
// else Windows-1252) with CR LF line ends; false when it cannot be read.
bool GameText(const std::string& path, bool russisch, std::vector<uint8_t>& out);

}  // namespace demo
