// Seen by the layering check only: the engine calls the level loader of the world above it.
#include "world/enemies_state.hpp"
#include "world/level.hpp"
