// The first demo level as the game loads it: the level file from its description, every
// picture the description names (drawn by code, looked up by file name), the radio texts
// in the game's code pages, the voices and the level sounds.
#include "demodata/level1.hpp"

#include <functional>
#include <map>
#include <set>

#include "demodata/sounds.hpp"
#include "lib/level_desc.hpp"
#include "lib/level_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/codepage.hpp"

namespace demo {
namespace {

using tools::ArchiveMember;

// How a picture is stored: keyed pictures keep every visible pixel off black, the
// transparent colour; flat ones are stored as drawn.
struct Bild {
  std::function<Canvas()> malen;
  bool keyed = true;
};

// Every picture of the level by its file name. A frame of the description that names a
// file missing here stops the build.
std::map<std::string, Bild> Bilder() {
  std::map<std::string, Bild> b;
  b["Sky.bmp"] = {CanyonSky, false};
  // The solid rocks of layer 3: standing on the floor or hanging from the ceiling.
  b["RockA.bmp"] = {[] { return Rock(210, 130, false, false, 101); }};
  b["RockB.bmp"] = {[] { return Rock(150, 95, false, false, 102); }};
  b["RockC.bmp"] = {[] { return Rock(300, 150, false, false, 103); }};
  b["RockD.bmp"] = {[] { return Rock(190, 120, true, false, 104); }};
  b["RockE.bmp"] = {[] { return Rock(140, 90, true, false, 105); }};
  b["Pillar.bmp"] = {[] { return Rock(90, 210, false, false, 106); }};
  b["Stalactite.bmp"] = {[] { return Rock(100, 190, true, false, 107); }};
  // The hazy rocks of layer 2, behind.
  b["FarRockA.bmp"] = {[] { return Rock(260, 170, false, true, 201); }};
  b["FarRockB.bmp"] = {[] { return Rock(180, 120, false, true, 202); }};
  b["FarRockC.bmp"] = {[] { return Rock(220, 110, true, true, 203); }};
  for (int n = 1; n <= 4; ++n) b["Dart" + std::to_string(n) + ".bmp"] = {[n] { return DartFrame(n - 1); }};
  for (int n = 1; n <= 6; ++n) b["Mine" + std::to_string(n) + ".bmp"] = {[n] { return MineFrame(n - 1); }};
  for (int n = 1; n <= 3; ++n) b["Gunship" + std::to_string(n) + ".bmp"] = {[n] { return GunshipFrame(n - 1); }};
  b["Turret.bmp"] = {Turret};
  for (int n = 1; n <= 4; ++n) b["Plasma" + std::to_string(n) + ".bmp"] = {[n] { return PlasmaFrame(n - 1); }};
  b["Beacon.bmp"] = {BeaconGlow};
  b["Flare.bmp"] = {FlareStreak};
  return b;
}

void Sound(std::vector<ArchiveMember>& m, const std::string& name, const synth::Wave& w) {
  m.push_back({name, tools::EncodeWav16(synth::Pcm(w), 1, synth::kRate)});
}

// A radio text of the description folder (UTF-8) in the game's code page, with the
// line ends of a Windows text file.
bool Funktext(const std::string& folder, const std::string& name, bool russisch, ArchiveMember& out) {
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(folder + "/" + name, bytes)) return false;
  const std::string utf8(bytes.begin(), bytes.end());
  const std::string text = russisch ? platform::Utf8ToCp1251(utf8) : platform::Utf8ToCp1252(utf8);
  out.name = name;
  out.data.clear();
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') out.data.push_back('\r');
    out.data.push_back(static_cast<uint8_t>(c));
  }
  return true;
}

}  // namespace

std::vector<ArchiveMember> Level1Sounds() {
  std::vector<ArchiveMember> m;
  Sound(m, "L1Alarm.wav", sounds::Alarm());
  Sound(m, "L1Plasma.wav", sounds::PlasmaShot());
  return m;
}

std::vector<ArchiveMember> Level1Voices() {
  std::vector<ArchiveMember> m;
  for (int n = 0; n < 3; ++n) Sound(m, "Radio" + std::to_string(n + 1) + ".wav", sounds::RadioVoice(n));
  return m;
}

bool Level1Archive(const std::string& folder, std::vector<ArchiveMember>& members, std::string& error) {
  members.clear();
  std::vector<uint8_t> bytes;
  if (!tools::ReadFile(folder + "/Level1.txt", bytes)) {
    error = folder + "/Level1.txt cannot be read";
    return false;
  }
  levelfile::Leveldaten level;
  if (!tools::ParseLevelDescription(std::string(bytes.begin(), bytes.end()), level, error)) {
    error = "Level1.txt: " + error;
    return false;
  }
  std::vector<uint8_t> datei;
  if (!tools::WriteLevelFile(level, datei)) {
    error = "Level1.txt: a value does not fit the level file";
    return false;
  }
  members.push_back({"Level1.dat", std::move(datei)});

  // The pictures the level names: its background and every frame of its sprites.
  std::set<std::string> namen = {level.Hintergrund};
  for (const SpriteDef& s : level.SpriteDefs)
    for (const SpriteFrame& f : s.Frames)
      if (f.Bild != "-") namen.insert(f.Bild);
  const std::map<std::string, Bild> bilder = Bilder();
  for (const std::string& name : namen) {
    auto it = bilder.find(name);
    if (it == bilder.end()) {
      error = "Level1.txt names the picture " + name + ", which nothing draws";
      return false;
    }
    const Canvas c = it->second.malen();
    members.push_back({name, tools::EncodeBmp24(it->second.keyed ? Keyed(c) : Flat(c))});
  }

  // Its sounds come from the sound archive; they must be there.
  std::set<std::string> sounds;
  for (const ArchiveMember& m : Level1Sounds()) sounds.insert(m.name);
  for (const LevelSoundDatei& s : level.Sounds)
    if (!sounds.count(s.Name)) {
      error = "Level1.txt names the sound " + s.Name + ", which nothing makes";
      return false;
    }

  for (const char* sprache : {"D", "E", "R"}) {
    ArchiveMember text;
    const std::string name = level.FunkTextBasis + sprache + ".txt";
    if (!Funktext(folder, name, sprache[0] == 'R', text)) {
      error = folder + "/" + name + " cannot be read";
      return false;
    }
    members.push_back(std::move(text));
  }
  return true;
}

}  // namespace demo
