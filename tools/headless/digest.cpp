#include "headless/digest.hpp"

#include <algorithm>
#include <bit>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "player/score_state.hpp"
#include "player/shots_state.hpp"
#include "run/program_state.hpp"
#include "shell/basic.hpp"
#include "world/animations_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/landscape_state.hpp"
#include "world/particles_state.hpp"
#include "world/pickups_state.hpp"

namespace headless_run {
namespace {

// FNV-1a over the values in the order given; it takes the records' field functions.
struct Hash {
  uint64_t h = 14695981039346656037ull;

  void Byte(uint8_t b) {
    h ^= b;
    h *= 1099511628211ull;
  }
  void UInt32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Int32(const int32_t& v) { UInt32(static_cast<uint32_t>(v)); }
  void Int16(const int16_t& v) { UInt32(static_cast<uint16_t>(v)); }
  void Single(const float& v) { UInt32(std::bit_cast<uint32_t>(v)); }
  void Text(const std::string& v) {
    UInt32(static_cast<uint32_t>(v.size()));
    for (char c : v) Byte(static_cast<uint8_t>(c));
  }
};

// A pool's bounds and, for every live slot, its number and position.
template <class Pool>
void Objekte(Hash& h, const Pool& pool, int32_t frei, int32_t max) {
  h.Int32(frei);
  h.Int32(max);
  for (int32_t k = 0; k <= max; ++k) {
    const auto& o = pool[k];
    if (o.Aktiv == VBFalse) continue;
    h.Int32(k);
    if constexpr (requires { o.X; }) {
      h.Single(o.X);
      h.Single(o.Y);
    } else {
      h.Single(o.x);
      h.Single(o.y);
    }
  }
}
template <class T, int32_t N>
void Objekte(Hash& h, const ::Pool<T, N>& pool) {
  Objekte(h, pool, pool.Frei, pool.Max);
}

}  // namespace

uint64_t StateDigest() {
  Hash h;
  h.Int32(LevelTick);
  h.Int32(LevelEnde);
  h.Int32(Spielstatus);
  h.UInt32(RndState());
  for (SpielerDaten& s : Spieler) Felder(h, s);
  for (int p = 0; p < 2; ++p) {
    h.Single(ComboFaktor[p]);
    h.Int32(ComboTreffer[p]);
    h.Int32(ComboBonus[p]);
  }
  for (PodDaten& p : Pods) Felder(h, p);
  Felder(h, Satellit);

  Objekte(h, GegnerListe);
  for (int32_t i = 0; i <= GegnerMax; ++i)
    if (GegnerListe[i].Aktiv != VBFalse) h.Single(GegnerListe[i].Typ.HP);
  Objekte(h, GegnerSchuesse);
  Objekte(h, SchussErzeuger);
  for (const auto& gruppe : Schuesse) Objekte(h, gruppe);
  for (const auto& gruppe : Partikel) Objekte(h, gruppe);
  Objekte(h, BigPartikel);
  Objekte(h, Blasen);
  Objekte(h, Animationen);
  Objekte(h, SpezialObjekte);
  Objekte(h, PunkteAnzeigen);
  for (const LandschaftEbene& e : Landschaft) Objekte(h, e.Objekte, e.Frei, std::min(e.Max, e.Kapazitaet()));
  return h.h;
}

}  // namespace headless_run
