#include "campaign/highscore.hpp"

// The table comes with the campaign; there is nothing to read yet.
void LoadHighscore() {}
