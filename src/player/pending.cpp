// Services of the player ships whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "player/beam.hpp"
#include "player/drones.hpp"
#include "player/firing.hpp"
#include "player/horn.hpp"
#include "player/nova.hpp"
#include "player/pods.hpp"
#include "player/satellite.hpp"

void PodWaffen(int32_t, int32_t, bool&) {}
void SatellitWaffen(int32_t, int32_t, bool&) {}
void DrohnenWaffen(int32_t, int32_t, bool&) {}

void SpielPartikelMove() {}
void SpielPartikel() {}
void SpielDWeapons() {}
void SpielSateliet() {}
void SpielBeam() {}
void SpielNova() {}
void SpielHupe() {}
