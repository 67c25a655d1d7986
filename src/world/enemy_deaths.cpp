// The frames of a dying enemy, one handler per death kind. Frozen by the super nova, an
// enemy stands where it is; every other death, for now, explodes at once and the enemy
// is gone.
#include <array>
#include <cstdint>

#include "shell/timing.hpp"
#include "world/enemies.hpp"

namespace {

using Todesfolge = void (*)(int32_t i);

// Held by the super nova: drawn where it stands, nothing else, until the nova lets go.
void Erstarrt(int32_t i) {
  if (Rendern) ZeichneStill(GegnerListe[i]);
}

void Explodiert(int32_t i) {
  FinaleExplosion(GegnerListe[i]);
  KillEnemy(i);
}

// A wreck's parts burst as it was destroyed; only its slot is left to free.
void Verschwindet(int32_t i) { KillEnemy(i); }

constexpr std::array<Todesfolge, 8> Todesfolgen = {
    Erstarrt,      // 0 frozen
    Explodiert,    // 1 split in power mode
    Explodiert,    // 2 sparkling under the nova
    Verschwindet,  // 3 wreck
    Explodiert,    // 4 boss
    Explodiert,    // 5 area blast
    Explodiert,    // 6 beam kill
    Explodiert,    // 7 break-up
};

}  // namespace

void SpielTodesfolge(int32_t i) {
  const int32_t art = GegnerListe[i].TodArt;
  // The nova marks the enemies it cannot touch with a kind of their own: they wait unseen.
  if (art < 0 || art >= static_cast<int32_t>(Todesfolgen.size())) return;
  Todesfolgen[static_cast<size_t>(art)](i);
}
