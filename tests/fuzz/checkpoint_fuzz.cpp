// Damages a checkpoint and feeds it to the reader. A snapshot holds every pool at its full
// capacity (hundreds of kilobytes), far beyond what random bytes ever make whole, so the
// input is a list of edits to a real one: each edit a kind byte, a 32-bit offset (taken
// modulo the size) and a length byte, then for overwrites and insertions that many bytes
// of the input; kind 3 cuts the snapshot off at the offset. Whatever the reader takes is
// written back and read again: the second writing equals the first byte for byte (a
// snapshot read may be put in order once - flags to -1, beam charges into range - but no
// further), and a refused snapshot must not crash or run away with memory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "campaign/checkpoints.hpp"
#include "campaign/special_events_state.hpp"
#include "player/drones_state.hpp"
#include "player/players_state.hpp"
#include "player/shots_state.hpp"
#include "run/variabeln.hpp"
#include "shell/basic.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/routes_state.hpp"

namespace {

// A game with a little of everything that has a length: enemies with parts and names, an
// animation, events, trails, route variables, a longer drone chain.
std::vector<uint8_t> Grundlage() {
  SetStartDefaults();
  VariabelnLösch();
  for (int32_t k = 0; k < 3; ++k) {
    Gegner& g = GegnerListe[GegnerListe.Claim()];
    g.Typ.Komponenten.resize(static_cast<size_t>(k + 1));
    g.Typ.Name = "Feind";
  }
  AnimaDaten& a = Animationen[Animationen.Claim()];
  a.Teile.resize(2);
  Ebenen[3].Ereignisse.resize(2);
  Spieler[0].Name = "Name";
  SchussDaten& s = Schuesse[1][Schuesse[1].Claim()];
  s.SchweifX.assign(4, 1.0f);
  s.SchweifY.assign(4, 2.0f);
  RoutenVariablen.assign(5, 3.0f);
  Drohnen.Kette.resize(3);
  SpezialStand.Aktiv = true;
  std::vector<uint8_t> b;
  SaveCheckPointSub(0, b);
  return b;
}

void Bearbeiten(std::vector<uint8_t>& b, const uint8_t* data, size_t size) {
  size_t i = 0;
  while (i + 6 <= size && !b.empty()) {
    const uint8_t art = data[i] % 4;
    uint32_t stelle;
    std::memcpy(&stelle, data + i + 1, 4);
    const size_t at = stelle % b.size();
    size_t n = data[i + 5];
    i += 6;
    if (art == 3) {
      b.resize(at);
      continue;
    }
    if (art == 2) {
      b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(std::min(b.size(), at + n)));
      continue;
    }
    if (n > size - i) n = size - i;
    if (art == 1) b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), n, 0);
    for (size_t k = 0; k < n && at + k < b.size(); ++k) b[at + k] = data[i + k];
    i += n;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> grundlage = Grundlage();
  std::vector<uint8_t> b = grundlage;
  Bearbeiten(b, data, size);
  VariabelnLösch();
  if (!LoadCheckPointSub(b)) return 0;
  std::vector<uint8_t> einmal, zweimal;
  SaveCheckPointSub(0, einmal);
  VariabelnLösch();
  if (!LoadCheckPointSub(einmal)) std::abort();
  SaveCheckPointSub(0, zweimal);
  if (einmal != zweimal) std::abort();
  return 0;
}
