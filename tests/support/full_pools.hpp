#pragma once
// Every pool a checkpoint holds filled, for the checkpoint tests and benchmark.
#include <cstdint>

namespace testsupport {

// Every slot of every pool a checkpoint holds in use, every list in them non-empty, the
// texts longer than a short string holds, and values drawn from `seed`, so two seeds
// differ all over. The landscape layers keep the sizes the start-up gave them.
void FillEveryPool(uint32_t seed);

}  // namespace testsupport
