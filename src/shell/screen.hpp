#pragma once
// The screen the game draws: 800 x 600 pixels, of which the top 800 x 550 is the play
// area (the in-game display fills the strip below it).
#include <cstdint>

#include "platform/window.hpp"

inline constexpr int32_t kBildschirmBreite = 800;
inline constexpr int32_t kBildschirmHoehe = 600;
inline constexpr int32_t kSpielfeldBreite = 800;
inline constexpr int32_t kSpielfeldHoehe = 550;

inline constexpr platform::Rect VollbildRect{0, 0, kBildschirmBreite, kBildschirmHoehe};
inline constexpr platform::Rect SpielfeldRect{0, 0, kSpielfeldBreite, kSpielfeldHoehe};
