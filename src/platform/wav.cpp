#include "platform/wav.hpp"

#include "platform/bytes.hpp"
#include "platform/fs.hpp"

namespace platform::audio {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int kRateMin = 100;
constexpr int kRateMax = 100000;
// A sound effect is seconds long; a file this big is not one of ours.
constexpr int64_t kLargestFile = int64_t{256} << 20;

bool Fail(std::string& error, const char* why) {
  error = why;
  return false;
}

}  // namespace

bool ReadWav(const uint8_t* data, size_t size, Pcm& out, std::string& error) {
  ByteReader in(data, size);
  if (size < 12 || in.FixedText(4) != "RIFF" || !in.Skip(4) || in.FixedText(4) != "WAVE")
    return Fail(error, "not a WAV file");
  // The RIFF length is often wrong in files that are otherwise fine; the chunks are
  // walked up to the real end of the file instead, each one checked on its own.
  bool haveFormat = false, haveData = false;
  uint16_t tag = 0, channels = 0, bits = 0, blockAlign = 0;
  uint32_t rate = 0;
  std::span<const uint8_t> samples;
  while (in.Remaining() >= 8) {
    const std::string id = in.FixedText(4);
    const uint32_t length = in.UInt32();
    if (length > in.Remaining()) return Fail(error, "damaged WAV: a chunk runs past the end of the file");
    ByteReader body = in.Sub(length);
    if (id == "fmt ") {
      if (length < 16) return Fail(error, "damaged WAV: format chunk too short");
      tag = body.UInt16();
      channels = body.UInt16();
      rate = body.UInt32();
      body.Skip(4);  // bytes per second
      blockAlign = body.UInt16();
      bits = body.UInt16();
      if (tag == kFormatExtensible) {
        // The real format is the first two bytes of the sub-format identifier.
        if (length < 40 || body.UInt16() < 22) return Fail(error, "damaged WAV: extensible format chunk too short");
        body.Skip(6);  // valid bits, channel mask
        tag = body.UInt16();
      }
      haveFormat = true;
    } else if (id == "data" && !haveData) {
      samples = body.Block(length);
      haveData = true;
    }
    // Chunks are padded to an even length; the pad byte may be missing at the very end.
    if ((length & 1u) && in.Remaining() > 0) in.Skip(1);
  }
  if (!haveFormat) return Fail(error, "damaged WAV: no format chunk");
  if (!haveData) return Fail(error, "damaged WAV: no data chunk");
  if (tag != kFormatPcm) return Fail(error, "WAV is not plain PCM");
  if (channels != 1 && channels != 2) return Fail(error, "WAV has neither one nor two channels");
  if (bits != 8 && bits != 16) return Fail(error, "WAV has neither 8 nor 16 bits per sample");
  if (rate < static_cast<uint32_t>(kRateMin) || rate > static_cast<uint32_t>(kRateMax))
    return Fail(error, "WAV sample rate out of range");
  if (blockAlign != channels * bits / 8) return Fail(error, "damaged WAV: block size does not match the format");
  size_t frames = samples.size() / blockAlign;  // a partial last frame is dropped
  if (frames == 0) return Fail(error, "WAV holds no sound");

  out.channels = channels;
  out.rate = static_cast<int>(rate);
  out.blockAlign = blockAlign;
  out.samples.resize(frames * channels);
  ByteReader pcm(samples);
  for (int16_t& sample : out.samples)
    sample = bits == 8 ? static_cast<int16_t>((pcm.UInt8() - 128) * 256) : pcm.Int16();
  return true;
}

bool LoadWav(std::string_view path, Pcm& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!fs::ReadAll(path, bytes, kLargestFile))
    return Fail(error, !fs::FileExists(path) ? "file not found"
                       : fs::FileSize(path) > kLargestFile ? "file too large for a sound"
                                                           : "file cannot be read");
  return ReadWav(bytes.data(), bytes.size(), out, error);
}

}  // namespace platform::audio
