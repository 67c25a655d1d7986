// Feeds arbitrary bytes to the archive reader, in memory: every member is walked, and
// those the unpack takes are inflated, as Depack would before writing them.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "shell/archive.hpp"

namespace {

struct Pruefer : UnpackSink {
  bool Wanted(const std::string& member) override {
    // Nothing that could leave the unpack folder may come this far.
    if (member.empty() || member == "." || member.find_first_of(std::string("/\\\0", 3)) != std::string::npos ||
        member.find("..") != std::string::npos || member.size() > 255)
      std::abort();
    return true;
  }
  bool Put(const std::string&, std::vector<uint8_t> contents) override {
    total += contents.size();
    return true;
  }
  size_t total = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  // Both the whole archive and a selective unpack walk every entry.
  for (const char* angabe : {"Fuzz.vkp", "Fuzz.vkp$a.bmp>"}) {
    Pruefer sink;
    ArchiveError error;
    if (!UnpackBytes(bytes, angabe, sink, error) && error.Nummer == 0) std::abort();
    if (sink.total > size * 1100 + 4096) std::abort();  // more than deflate can hold
  }
  return 0;
}
