// Feeds arbitrary bytes to the configuration reader and checks that what it leaves is
// usable by the rest of the game.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/fs.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string dir = [] {
    std::string d = std::filesystem::temp_directory_path().string() + "/harvo-fuzz-cfg-" + std::to_string(getpid());
    std::filesystem::create_directories(d);
    DatenOrdner = d + "/";
    return d + "/";
  }();
  platform::fs::WriteAll(dir + "config.cfg", data, size);
  LoadConfig();
  for (int32_t d : KeyConfig.KeyDevice)
    if (d < 0 || d > 2) std::abort();
  for (int32_t c : KeyConfig.Map)
    if (c < 0 || c > kHoechsterTastencode) std::abort();
  if (LoadingscreenNr < 0 || LoadingscreenNr > 15) std::abort();
  if (MusikLautstaerke < 0 || MusikLautstaerke > 100) std::abort();
  if (Sprache != "D" && Sprache != "E" && Sprache != "R") std::abort();
  return 0;
}
