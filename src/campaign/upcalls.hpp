#pragma once
// The calls the campaign makes into the front end above it: the level script plays the
// campaign's videos and shows the credits. The program run hands the real procedures in
// at start-up; until then, and in tests of the campaign alone, they do nothing.
#include <string>

namespace upcall {
// A video of an archive, played until it ends or is skipped (frontend/video.hpp).
inline void (*PlayAVIFile)(const std::string& Filename, const std::string& Archiv) = [](const std::string&,
                                                                                        const std::string&) {};
// The credits, scrolled until they are over (frontend/credits.hpp).
inline void (*ShowCredits)() = [] {};
}  // namespace upcall
