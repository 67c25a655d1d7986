#pragma once
// Silent sounds in the sound table whose plays a test can count.
#include <cstdint>

namespace testsupport {

// A silent sound with `copies` buffer copies as a new sound-table entry; returns its
// number. Each play takes the next copy, so the copy pointer counts the plays.
int32_t CountingSound(int copies = 16);
// The plays of counting sound `nr` since it was made or last asked.
int32_t Plays(int32_t nr);

}  // namespace testsupport
