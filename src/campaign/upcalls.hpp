#pragma once
// The few calls the game loop and the campaign's screens make into the front end above
// them (its screen transitions, key names, videos and credits). The program run hands the
// real procedures in at start-up; until then, and in tests of the campaign alone, they do
// nothing.
#include <cstdint>
#include <string>

#include "platform/window.hpp"

namespace upcall {
// The overlay pass of a frame over `R2` (frontend/effects.hpp).
inline void (*OverlayEffekte)(const platform::Rect& R2) = [](const platform::Rect&) {};
// The blocking screen-out (frontend/effects.hpp).
inline void (*FadeOut)(int32_t Art, bool CheckEsc) = [](int32_t, bool) {};
// The names of a key binding (frontend/key_text.hpp).
inline std::string (*GetKeyText)(int32_t K1, int32_t k2) = [](int32_t, int32_t) { return std::string(); };
// A video of an archive, played until it ends or is skipped (frontend/video.hpp).
inline void (*PlayAVIFile)(const std::string& Filename, const std::string& Archiv) = [](const std::string&,
                                                                                        const std::string&) {};
// The credits, scrolled until they are over (frontend/credits.hpp).
inline void (*ShowCredits)() = [] {};
}  // namespace upcall
