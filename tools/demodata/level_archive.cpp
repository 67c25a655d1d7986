#include "demodata/level_archive.hpp"

#include <cctype>
#include <set>

#include "lib/level_desc.hpp"
#include "lib/level_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/codepage.hpp"

namespace demo {
namespace {

// A background given as a number is one of the game's own backgrounds, not a picture.
bool IstModus(const std::string& hintergrund) {
  if (hintergrund.empty()) return true;
  for (size_t i = 0; i < hintergrund.size(); ++i)
    if (!(std::isdigit(static_cast<unsigned char>(hintergrund[i])) || (i == 0 && hintergrund[i] == '-'))) return false;
  return true;
}

}  // namespace

void AddSound(std::vector<tools::ArchiveMember>& m, const std::string& name, const synth::Wave& w) {
  m.push_back({name, tools::EncodeWav16(synth::Pcm(w), 1, synth::kRate)});
}

bool GameText(const std::string& path, bool russisch, std::vector<uint8_t>& out) {
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(path, bytes)) return false;
  const std::string utf8(bytes.begin(), bytes.end());
  const std::string text = russisch ? platform::Utf8ToCp1251(utf8) : platform::Utf8ToCp1252(utf8);
  out.clear();
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') out.push_back('\r');
    out.push_back(static_cast<uint8_t>(c));
  }
  return true;
}

bool LevelPictures(const levelfile::Leveldaten& level, const Bilder& bilder, const std::string& beschreibung,
                   std::vector<tools::ArchiveMember>& members, std::string& error) {
  // Its background and every frame of its sprites.
  std::set<std::string> namen;
  if (!IstModus(level.Hintergrund)) namen.insert(level.Hintergrund);
  for (const SpriteDef& s : level.SpriteDefs)
    for (const SpriteFrame& f : s.Frames)
      if (f.Bild != "-") namen.insert(f.Bild);
  for (const std::string& bild : namen) {
    auto it = bilder.find(bild);
    if (it == bilder.end()) {
      error = beschreibung + " names the picture " + bild + ", which nothing draws";
      return false;
    }
    const Canvas c = it->second.malen();
    members.push_back({bild, tools::EncodeBmp24(it->second.keyed ? Keyed(c) : Flat(c))});
  }
  return true;
}

bool LevelArchive(const std::string& folder, const std::string& name, const Bilder& bilder,
                  std::vector<tools::ArchiveMember>& members, std::vector<std::string>& sounds, std::string& error) {
  members.clear();
  const std::string beschreibung = name + ".txt";
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(folder + "/" + beschreibung, bytes)) {
    error = folder + "/" + beschreibung + " cannot be read";
    return false;
  }
  levelfile::Leveldaten level;
  if (!tools::ParseLevelDescription(std::string(bytes.begin(), bytes.end()), level, error)) {
    error = beschreibung + ": " + error;
    return false;
  }
  std::vector<uint8_t> datei;
  if (!tools::WriteLevelFile(level, datei)) {
    error = beschreibung + ": a value does not fit the level file";
    return false;
  }
  members.push_back({name + ".dat", std::move(datei)});

  if (!LevelPictures(level, bilder, beschreibung, members, error)) return false;

  // Its sounds come from the sound archive.
  sounds.clear();
  for (const LevelSoundDatei& s : level.Sounds) sounds.push_back(s.Name);

  if (level.FunkTextBasis.empty()) return true;
  for (const char* sprache : {"D", "E", "R"}) {
    tools::ArchiveMember text;
    text.name = level.FunkTextBasis + sprache + ".txt";
    if (!GameText(folder + "/" + text.name, sprache[0] == 'R', text.data)) {
      error = folder + "/" + text.name + " cannot be read";
      return false;
    }
    members.push_back(std::move(text));
  }
  return true;
}

}  // namespace demo
