#pragma once
// Writes PNG pictures (8-bit grey or RGB, no interlacing): the reference pictures of the
// tests and the frames the headless player saves.
#include <cstdint>
#include <vector>

namespace tools {

// The picture of `width` x `height` pixels whose samples (`channels` 1 for grey, 3 for
// red, green, blue) lie row by row, top to bottom, without gaps. Empty when the samples
// do not fill the picture or cannot be compressed.
std::vector<uint8_t> EncodePng(int width, int height, int channels, const std::vector<uint8_t>& samples);

}  // namespace tools
