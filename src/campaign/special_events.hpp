#pragma once
// The level's special events.
#include <cstdint>

#include "campaign/special_events_state.hpp"

// One tick of the running event: `Index` 0 its part behind the world, 1 its part in front.
void SpielSpezial(int32_t Index);
