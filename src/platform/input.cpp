#include "platform/input.hpp"

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {
// Dead zone and saturation as fractions of the raw half-travel (32767).
constexpr int32_t kRawHalf = 32767;
constexpr int32_t kDeadZone = 3277;     // 10 %
constexpr int32_t kSaturation = 31129;  // 95 %
}  // namespace

int32_t AxisToRange(int32_t raw) {
  int32_t a = std::min(std::abs(raw), kRawHalf);
  if (a <= kDeadZone) return kAxisCentre;
  int32_t span = kSaturation - kDeadZone;
  int32_t off = a >= kSaturation ? kAxisCentre
                                 : static_cast<int32_t>((int64_t{kAxisCentre} * (a - kDeadZone) + span / 2) / span);
  // A stick just outside the dead zone must still read off centre.
  off = std::max(off, 1);
  return raw < 0 ? kAxisCentre - off : kAxisCentre + off;
}

int32_t HatToPov(uint8_t bits) {
  switch (bits & 0x0F) {
    case kHatUp: return 0;
    case kHatUp | kHatRight: return 4500;
    case kHatRight: return 9000;
    case kHatRight | kHatDown: return 13500;
    case kHatDown: return 18000;
    case kHatDown | kHatLeft: return 22500;
    case kHatLeft: return 27000;
    case kHatLeft | kHatUp: return 31500;
    default: return -1;
  }
}

int32_t ForceLevel(int32_t magnitude) {
  magnitude = std::clamp(magnitude, 0, 10000);
  return magnitude * 32767 / 10000;
}

uint16_t RumbleStrength(int32_t magnitude) {
  magnitude = std::clamp(magnitude, 0, 10000);
  return static_cast<uint16_t>(magnitude * 65535 / 10000);
}

}  // namespace platform
