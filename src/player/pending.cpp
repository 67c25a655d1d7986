// Services of the player ships whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "player/nova.hpp"

void SpielNova() {}
