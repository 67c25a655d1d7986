// Feeds arbitrary bytes to the WAV reader and plays whatever it accepts.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/mixer.hpp"
#include "platform/wav.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  std::string error;
  if (!platform::audio::ReadWav(data, size, *pcm, error)) return 0;
  platform::audio::SoundBuffer copy(pcm);
  copy.SetFrequency(100000);
  copy.Play(platform::audio::kPlayLooping);
  int16_t out[2 * 256];
  platform::audio::Mix(out, 256);
  return 0;
}
