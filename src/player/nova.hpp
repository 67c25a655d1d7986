#pragma once
// The super nova: it freezes the world while it runs.
#include "player/nova_state.hpp"

// One tick of the super nova; sets `WeltAngehalten` while it runs and clears it after.
void SpielNova();
