// Feeds arbitrary bytes to the configuration reader, checks that what it leaves is usable
// by the rest of the game, and that writing and reading it again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "shell/config.hpp"

namespace {

void PruefeWerte() {
  for (int32_t d : KeyConfig.KeyDevice)
    if (d < 0 || d > 2) std::abort();
  for (int32_t c : KeyConfig.Map)
    if (c < 0 || c > kHoechsterTastencode) std::abort();
  for (int32_t c : KeyConfig.PauseKey)
    if (c < 0 || c > kHoechsterTastencode) std::abort();
  if (LoadingscreenNr < 0 || LoadingscreenNr > 15) std::abort();
  if (MusikLautstaerke < 0 || MusikLautstaerke > 100) std::abort();
  if (Sprache != "D" && Sprache != "E" && Sprache != "R") std::abort();
  if (Farbtiefe != 16 && Farbtiefe != 32) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetConfigDefaults();
  if (!ReadConfig(std::span<const uint8_t>(data, size))) return 0;
  PruefeWerte();
  const std::vector<uint8_t> gespeichert = WriteConfig();
  if (gespeichert.size() != kConfigGroesse) std::abort();
  SetConfigDefaults();
  if (!ReadConfig(gespeichert) || WriteConfig() != gespeichert) std::abort();
  return 0;
}
