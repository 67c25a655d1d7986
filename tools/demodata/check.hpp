#pragma once
// Reads a written data folder back with the game's own picture and sound decoders.
#include <filesystem>

namespace demo {

// Every picture of every archive decodes and shows something (only the two screen-copy
// textures may be blank), an alpha mate has its picture's size, and every sound decodes
// as 44,100 Hz mono and is not silent. Faults go to stderr; the count is returned.
int CheckDataFolder(const std::filesystem::path& data);

}  // namespace demo
