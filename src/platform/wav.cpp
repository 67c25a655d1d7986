#include "platform/wav.hpp"

#include <cstring>

#include "platform/fs.hpp"

namespace platform::audio {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int kRateMin = 100;
constexpr int kRateMax = 100000;
// A sound effect is seconds long; a file this big is not one of ours.
constexpr int64_t kLargestFile = 256ll << 20;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string& error, const char* why) {
  error = why;
  return false;
}

}  // namespace

bool ReadWav(const uint8_t* data, size_t size, Pcm& out, std::string& error) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    return Fail(error, "not a WAV file");
  // The RIFF length is often wrong in files that are otherwise fine; the chunks are
  // walked up to the real end of the file instead, each one checked on its own.
  size_t at = 12;
  bool haveFormat = false, haveData = false;
  uint16_t tag = 0, channels = 0, bits = 0, blockAlign = 0;
  uint32_t rate = 0;
  size_t dataAt = 0, dataSize = 0;
  while (size - at >= 8) {
    const uint8_t* chunk = data + at;
    uint32_t length = U32(chunk + 4);
    if (length > size - at - 8) return Fail(error, "damaged WAV: a chunk runs past the end of the file");
    const uint8_t* body = chunk + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16) return Fail(error, "damaged WAV: format chunk too short");
      tag = U16(body);
      channels = U16(body + 2);
      rate = U32(body + 4);
      blockAlign = U16(body + 12);
      bits = U16(body + 14);
      if (tag == kFormatExtensible) {
        // The real format is the first two bytes of the sub-format identifier.
        if (length < 40 || U16(body + 16) < 22) return Fail(error, "damaged WAV: extensible format chunk too short");
        tag = U16(body + 24);
      }
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
      dataAt = at + 8;
      dataSize = length;
      haveData = true;
    }
    // Chunks are padded to an even length; the pad byte may be missing at the very end.
    size_t next = at + 8 + static_cast<size_t>(length) + (length & 1u);
    if (next >= size) break;
    at = next;
  }
  if (!haveFormat) return Fail(error, "damaged WAV: no format chunk");
  if (!haveData) return Fail(error, "damaged WAV: no data chunk");
  if (tag != kFormatPcm) return Fail(error, "WAV is not plain PCM");
  if (channels != 1 && channels != 2) return Fail(error, "WAV has neither one nor two channels");
  if (bits != 8 && bits != 16) return Fail(error, "WAV has neither 8 nor 16 bits per sample");
  if (rate < static_cast<uint32_t>(kRateMin) || rate > static_cast<uint32_t>(kRateMax))
    return Fail(error, "WAV sample rate out of range");
  if (blockAlign != channels * bits / 8) return Fail(error, "damaged WAV: block size does not match the format");
  size_t frames = dataSize / blockAlign;  // a partial last frame is dropped
  if (frames == 0) return Fail(error, "WAV holds no sound");

  out.channels = channels;
  out.rate = static_cast<int>(rate);
  out.blockAlign = blockAlign;
  out.samples.resize(frames * channels);
  const uint8_t* p = data + dataAt;
  if (bits == 8) {
    for (size_t i = 0; i < out.samples.size(); ++i) out.samples[i] = static_cast<int16_t>((p[i] - 128) * 256);
  } else {
    for (size_t i = 0; i < out.samples.size(); ++i) out.samples[i] = static_cast<int16_t>(U16(p + 2 * i));
  }
  return true;
}

bool LoadWav(std::string_view path, Pcm& out, std::string& error) {
  int64_t size = fs::FileSize(path);
  if (size < 0) return Fail(error, "file not found");
  if (size > kLargestFile) return Fail(error, "file too large for a sound");
  std::vector<uint8_t> bytes;
  if (!fs::ReadAll(path, bytes)) return Fail(error, "file cannot be read");
  return ReadWav(bytes.data(), bytes.size(), out, error);
}

}  // namespace platform::audio
