// Services of the level world whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "world/animations.hpp"
#include "world/collision.hpp"
#include "world/enemies.hpp"
#include "world/pickups.hpp"
#include "world/radio.hpp"
#include "world/weather.hpp"

void AddSpezialObjekt(int32_t, float, float, float, float&, float, float) {}
void SpielMoveSpezialObjekt() {}

void SpielRegen() {}
void SpielWasser() {}
void SpielSchnee() {}
