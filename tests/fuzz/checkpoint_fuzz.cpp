// Damages a checkpoint and feeds it to the reader, one piece at a time. A snapshot holds
// every pool at its full capacity (hundreds of kilobytes, tens of milliseconds to read
// and write under the sanitizers), so an input damages one of its items instead (read
// through the snapshot's own item reader, with the snapshot's checks), or, for the pools
// too large for that, one record of the pool (all their slots are read by the same field
// function). The first byte picks the piece; the rest is a list of edits to its bytes
// as a real game writes them: each edit a kind byte, a 32-bit offset (taken modulo the
// size) and a length byte, then for overwrites and insertions that many bytes of the
// input; kind 3 cuts the piece off at the offset. Whatever the reader takes is written
// back and read again: the second writing equals the first byte for byte (a piece read
// may be put in order once - flags to -1, beam charges into range - but no further), and
// a refused piece must not crash or run away with memory. After every input the item is
// read back from the real bytes, so each input starts from the same game.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

#include "campaign/checkpoints.hpp"
#include "campaign/special_events_state.hpp"
#include "platform/bytes.hpp"
#include "player/drones_state.hpp"
#include "player/players_state.hpp"
#include "player/shots_state.hpp"
#include "run/variabeln.hpp"
#include "shell/basic.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/routes_state.hpp"

namespace {

using Bytes = std::vector<uint8_t>;

// Items up to this size are damaged whole; the pools beyond it a record at a time (an
// item that grows beyond it needs its record in the list below).
constexpr size_t kGanzBis = 8192;

// A game with a little of everything that has a length: enemies with parts and names, an
// animation, events, trails, route variables, a longer drone chain.
void Grundlage() {
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
}

// One piece: its bytes in the real game; reading damaged bytes into the game (true when
// taken), writing back what was read, and putting the game back as it was.
struct Stueck {
  Bytes echt;
  std::function<bool(std::span<const uint8_t>)> lesen;
  std::function<void(Bytes&)> schreiben;
  std::function<void()> zurueck;
};

Stueck Posten(int32_t nr) {
  Stueck s;
  CheckpointPostenSchreiben(nr, 0, s.echt);
  s.lesen = [nr](std::span<const uint8_t> b) { return CheckpointPostenLesen(nr, b); };
  s.schreiben = [nr](Bytes& b) { CheckpointPostenSchreiben(nr, 0, b); };
  s.zurueck = [nr, echt = s.echt] {
    if (!CheckpointPostenLesen(nr, echt)) std::abort();
  };
  return s;
}

// A record of a pool, read over a copy of the one in the game (which keeps the room of
// its lists, as a slot does).
template <class T>
Stueck Satz(T vorlage) {
  static T satz;
  Stueck s;
  platform::ByteWriter w(s.echt);
  Felder(w, vorlage);
  s.lesen = [vorlage](std::span<const uint8_t> b) {
    satz = vorlage;
    platform::ByteReader io(b);
    Felder(io, satz);
    return io.Ok() && io.Remaining() == 0;
  };
  s.schreiben = [](Bytes& b) {
    platform::ByteWriter io(b);
    Felder(io, satz);
  };
  s.zurueck = [] {};
  return s;
}

std::vector<Stueck> Stuecke() {
  Grundlage();
  std::vector<Stueck> stuecke;
  for (int32_t nr = 0; nr < CheckpointPostenAnzahl(); ++nr) {
    Stueck s = Posten(nr);
    if (s.echt.size() <= kGanzBis) stuecke.push_back(std::move(s));
  }
  stuecke.push_back(Satz(GegnerListe[2]));
  stuecke.push_back(Satz(Schuesse[1][0]));
  stuecke.push_back(Satz(Partikel[0][0]));
  stuecke.push_back(Satz(GegnerSchuesse[0]));
  stuecke.push_back(Satz(BigPartikel[0]));
  return stuecke;
}

void Bearbeiten(Bytes& b, const uint8_t* data, size_t size) {
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
  static const std::vector<Stueck> stuecke = Stuecke();
  // Kept from input to input: their room is reused.
  static Bytes b, einmal, zweimal;
  if (size == 0) return 0;
  const Stueck& s = stuecke[data[0] % stuecke.size()];
  b.assign(s.echt.begin(), s.echt.end());
  Bearbeiten(b, data + 1, size - 1);
  const bool genommen = s.lesen(b);
  if (genommen) {
    einmal.clear();
    s.schreiben(einmal);
    s.zurueck();
    if (!s.lesen(einmal)) std::abort();
    zweimal.clear();
    s.schreiben(zweimal);
    if (einmal != zweimal) std::abort();
  }
  s.zurueck();
  return 0;
}
