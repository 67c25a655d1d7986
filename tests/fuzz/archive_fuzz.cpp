// Feeds arbitrary bytes to the archive reader as "Data/Fuzz.vkp" and unpacks them.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/program.hpp"

namespace {
std::string Root() {
  static std::string root = [] {
    std::string dir = std::filesystem::temp_directory_path().string() + "/harvo-fuzz-" + std::to_string(getpid());
    std::filesystem::create_directories(dir + "/Data");
    setenv("TMPDIR", dir.c_str(), 1);
    DatenOrdner = dir + "/";
    return dir + "/";
  }();
  return root;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string root = Root();
  platform::fs::WriteAll(root + "Data/Fuzz.vkp", data, size);
  // Both the whole archive and a selective unpack walk every entry.
  KillDir(Depack("Fuzz.vkp", root, false));
  KillDir(Depack("Fuzz.vkp$a.bmp>", root, false));
  return 0;
}
