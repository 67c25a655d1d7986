#pragma once
// Reading WAV files into PCM for the mixer. Only uncompressed PCM is played: 8 or 16 bits
// per sample, mono or stereo, any rate the mixer can play. Every length in the file is
// checked against the bytes that are really there, so a damaged file is refused instead
// of read past its end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::audio {

// Decoded sound data, shared by every copy of a sound.
struct Pcm {
  std::vector<int16_t> samples;  // interleaved, one per channel per frame
  int channels = 0;              // 1 or 2
  int rate = 0;                  // frames per second of the file
  int blockAlign = 0;            // bytes per frame in the file: play positions count in these
  size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Decodes a whole WAV file held in memory. False with a reason in `error` when the file
// is no WAV, holds another format, or is damaged.
bool ReadWav(const uint8_t* data, size_t size, Pcm& out, std::string& error);
// The same for a file (a Windows-style path, see fs.hpp).
bool LoadWav(std::string_view path, Pcm& out, std::string& error);

}  // namespace platform::audio
