#include "engine/force.hpp"

void ForceStop() {}
