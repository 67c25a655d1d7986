// Services of the campaign whose own code comes later: each does as little as keeps the
// game loop whole until then. Whoever builds one removes it from here.
#include "campaign/special_events.hpp"

void SpielSpezial(int32_t) {}
