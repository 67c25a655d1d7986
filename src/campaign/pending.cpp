// Services of the campaign whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "campaign/save_screen.hpp"

void SaveGame() {}

#include "campaign/special_events.hpp"

void SpielSpezial(int32_t) {}
