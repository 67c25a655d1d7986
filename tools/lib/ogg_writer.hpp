#pragma once
// Music made by code, as Ogg Vorbis files.
#include <cstdint>
#include <vector>

namespace tools {

// Encodes interleaved 16-bit samples of `channels` channels at `rate` as an Ogg Vorbis
// file of quality `quality` (-0.1 .. 1). The same samples always give the same bytes.
std::vector<uint8_t> EncodeOggVorbis(const std::vector<int16_t>& samples, int channels, int rate, float quality);

}  // namespace tools
