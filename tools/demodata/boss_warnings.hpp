#pragma once
// The seven clips of a boss going down ("EndgegnerW1.wav" to "EndgegnerW7.wav"), each
// its own colour: 1 the shock rings, 2 the alarm (looped), 3 the short warning, 4 the
// overload, 5 the rumble under it all (looped), 6 the collapse, 7 the end.
#include "demodata/synth.hpp"

namespace demo::sounds {

// Clip n, 1 to 7.
synth::Wave BossWarning(int n);

}  // namespace demo::sounds
