#pragma once
// The last frame the game presented, as a PNG picture (24-bit colour).
#include <cstdint>
#include <string>
#include <vector>

namespace headless_run {

// The frame in PNG form; empty when no frame has been presented yet.
std::vector<uint8_t> LastFramePng();
// Writes it to `path`; false when there is no frame or the file cannot be written.
bool SaveLastFrame(const std::string& path);

}  // namespace headless_run
