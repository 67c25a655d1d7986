// Services of the level world whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "world/animations.hpp"
#include "world/collision.hpp"
#include "world/enemies.hpp"
