// Feeds arbitrary bytes to the save-game readers. The label reader never returns more
// than its cap; a file the loader refuses leaves the campaign exactly as it was; a file
// it takes leaves a campaign the game can play (one or two players, a known ship type,
// a pod or none selected, a play-through from 1), which saves and loads back to itself.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "campaign/save_games.hpp"
#include "campaign/script_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// A campaign of its own before every input.
void Ausgangslage() {
  LetzterSpieler = 1;
  SkriptStand = SkriptDaten{false, 7, "Deep.bmp"};
  Spieler[0] = SpielerDaten{};
  Spieler[0].Name = "Anna";
  Spieler[0].Punkte = 123456;
  Spieler[1] = SpielerDaten{};
  Spieler[1].Name = "Ben";
  Spieler[1].Pod = 2;
  Schiff[0] = SchiffDaten{};
  Schiff[0].Typ = 1;
  Schiff[1] = SchiffDaten{};
  ExtraLebenSchwelle = 6;
  Durchgang = 2;
}

bool Spielbar() {
  if (LetzterSpieler != 0 && LetzterSpieler != 1) return false;
  if (Durchgang < 1) return false;
  for (const SchiffDaten& s : Schiff)
    if (s.Typ < 0 || s.Typ > 2) return false;
  for (const SpielerDaten& s : Spieler)
    if (s.Pod < -1 || s.Pod > 3) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  std::string label;
  SpielstandLabel(bytes, label);
  if (label.size() > static_cast<size_t>(kSaveLabelMax)) std::abort();

  Ausgangslage();
  const std::vector<uint8_t> vorher = SpielstandInhalt();
  if (SpielstandLaden(bytes) != Spielstand::Ganz) {
    if (SpielstandInhalt() != vorher) std::abort();
    return 0;
  }
  if (!Spielbar()) std::abort();
  const std::vector<uint8_t> geladen = SpielstandInhalt();
  const std::vector<uint8_t> datei = SpielstandDatei("P1S1A - Level1-  01-01-2001");
  Ausgangslage();
  if (SpielstandLaden(datei) != Spielstand::Ganz || SpielstandInhalt() != geladen) std::abort();
  return 0;
}
