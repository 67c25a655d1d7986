// Feeds arbitrary bytes to the high-score reader. A refused file leaves the table in
// memory as it was; a taken one is written back byte for byte, its checksum holds, and a
// result entered into it lands where the table says (saving goes to a folder that does
// not exist, so nothing reaches the disk).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "campaign/highscore.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"

namespace {

bool Gleich(const decltype(Highscore)& a, const decltype(Highscore)& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].Name != b[i].Name || a[i].Score != b[i].Score || a[i].Tag != b[i].Tag) return false;
  return true;
}

void PruefeSumme() {
  HighscoreCrypt();
  const bool stimmt = HighscoreChecksum() == HighscoreSumme;
  HighscoreCrypt();
  if (!stimmt) std::abort();
}

// A result taken from the input's own bytes, entered into the table.
void Eintragen(const uint8_t* data, size_t size) {
  int32_t score = 0, tag = 0;
  if (size >= 8) {
    std::memcpy(&score, data, 4);
    std::memcpy(&tag, data + 4, 4);
  }
  const int32_t platz = AddHighscore("Fuzz", score, tag);
  if (platz < 1 || platz > kKeinHighscorePlatz) std::abort();
  PruefeSumme();
  if (platz == kKeinHighscorePlatz) return;
  HighscoreCrypt();
  const HighscoreEintrag& e = Highscore[static_cast<size_t>(platz - 1)];
  const bool da = e.Score == score && e.Tag == tag && HighscoreName(e) == "Fuzz            ";
  HighscoreCrypt();
  if (!da) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DatenOrdner = "/nonexistent-harvo-fuzz/";
  RndReset();
  SetHighscoreDefaults();
  const auto vorher = Highscore;
  const int32_t summeVorher = HighscoreSumme;
  if (!ReadHighscore(std::span<const uint8_t>(data, size))) {
    if (!Gleich(Highscore, vorher) || HighscoreSumme != summeVorher) std::abort();
    return 0;
  }
  if (size != kHighscoreDateiGroesse) std::abort();
  const std::vector<uint8_t> geschrieben = WriteHighscore();
  if (geschrieben.size() != size || std::memcmp(geschrieben.data(), data, size) != 0) std::abort();
  PruefeSumme();
  const auto gelesen = Highscore;
  HighscoreCrypt();
  HighscoreCrypt();
  if (!Gleich(Highscore, gelesen)) std::abort();
  Eintragen(data, size);
  // What the table became still reads back.
  if (!ReadHighscore(WriteHighscore())) std::abort();
  return 0;
}
