// Services of the level world whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "world/animations.hpp"
#include "world/collision.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/particles.hpp"
#include "world/pickups.hpp"
#include "world/radio.hpp"

void KillEnemy(int32_t) {}
void AddAnima(int32_t, int32_t, int32_t, std::optional<double>) {}
void SpielMoveAnimation(int32_t) {}
void DoAni(int32_t, int32_t&, int32_t&) {}
void AddPartikel(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, bool) {}
void AddCircle(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void AddBigPartikel(float, float, float, float, float, float, float, int32_t, int32_t, int32_t) {}
void Add1BigPartikel(float, float, float, float, float, float, float, int32_t, int32_t, int32_t, int32_t, float) {}
void AddExplosionsPartikel(float, float, float, float) {}
void AddBlase(float, float, int32_t) {}
void AddGegnerSchussErzeuger(int32_t, int32_t, int32_t, int16_t, int32_t) {}
void AddGegnerS(int32_t, int32_t, int32_t, float, float, int32_t) {}
void AddSpezialObjekt(int32_t, float, float, float, float&, float, float) {}
void AddFunktion(int32_t) {}
void ClearPlayedRadioMessages() {}
