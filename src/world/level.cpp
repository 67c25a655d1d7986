#include "world/level.hpp"

#include "world/radio.hpp"

void KillFunktionsSound() {}
