#include "platform/clock.hpp"

#include "platform/backend.hpp"

namespace platform {

uint64_t TickCount() { return backend::Ticks(); }
void SpinUntil(uint64_t tick) { backend::SpinUntil(tick); }
void IdleUntil(uint64_t tick) { backend::IdleUntil(tick); }

}  // namespace platform
