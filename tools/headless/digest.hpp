#pragma once
// One number for the state of a running level, so that two runs can be compared tick by
// tick: the level clock, the random sequence, both player records with their pods and
// satellite, and every pool (its bounds and where each live object is).
#include <cstdint>

namespace headless_run {

uint64_t StateDigest();

}  // namespace headless_run
