#include "demodata/check.hpp"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "lib/archive_writer.hpp"
#include "platform/bmp.hpp"
#include "platform/wav.hpp"

namespace demo {
namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

int CheckDataFolder(const std::filesystem::path& data) {
  int faults = 0;
  auto fault = [&faults](const std::string& archive, const std::string& name, const char* what) {
    std::fprintf(stderr, "%s: %s %s\n", archive.c_str(), name.c_str(), what);
    ++faults;
  };
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".vkp" && ext != ".vlp" && ext != ".vfp") continue;
    const std::string archive = entry.path().filename().string();
    std::vector<uint8_t> bytes;
    std::vector<tools::ArchiveMember> members;
    if (!tools::ReadFile(entry.path().string(), bytes) || !tools::UnpackArchive(bytes, members)) {
      fault(archive, "", "cannot be read");
      continue;
    }
    std::map<std::string, std::pair<int, int>> sizes;
    for (const tools::ArchiveMember& m : members) {
      if (EndsWith(m.name, ".bmp")) {
        platform::BmpImage img;
        if (!platform::DecodeBmp(m.data.data(), m.data.size(), img)) {
          fault(archive, m.name, "is no picture the game can read");
          continue;
        }
        sizes[m.name] = {img.width, img.height};
        bool shows = false;
        for (uint32_t p : img.argb) shows = shows || (p & 0xFFFFFF) != 0;
        if (!shows && m.name != "Blur2.bmp" && m.name != "Blur3.bmp") fault(archive, m.name, "is all black (invisible)");
      } else if (EndsWith(m.name, ".wav")) {
        platform::audio::Pcm pcm;
        std::string error;
        if (!platform::audio::ReadWav(m.data.data(), m.data.size(), pcm, error)) {
          fault(archive, m.name, ("is no sound the game can read: " + error).c_str());
          continue;
        }
        int peak = 0;
        for (int16_t s : pcm.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        if (pcm.rate != 44100 || pcm.channels != 1) fault(archive, m.name, "is not 44,100 Hz mono");
        if (peak < 1000) fault(archive, m.name, "is silent");
      }
    }
    for (const auto& [name, size] : sizes) {
      if (!EndsWith(name, "A.bmp")) continue;
      auto partner = sizes.find(name.substr(0, name.size() - 5) + ".bmp");
      if (partner != sizes.end() && partner->second != size) fault(archive, name, "is not the size of its picture");
    }
  }
  return faults;
}

}  // namespace demo
