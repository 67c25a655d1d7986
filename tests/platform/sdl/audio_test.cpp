#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/mixer.hpp"

using namespace platform::audio;

namespace {
std::shared_ptr<Pcm> Tone() {
  auto pcm = std::make_shared<Pcm>();
  pcm->channels = 1;
  pcm->rate = kOutputRate;
  pcm->blockAlign = 2;
  for (int i = 0; i < kOutputRate; ++i) pcm->samples.push_back(static_cast<int16_t>((i % 100) * 100 - 5000));
  return pcm;
}
}  // namespace

// Runs on SDL's dummy audio driver, which takes the mixed sound in real time.
TEST(SdlAudio, TheDeviceOpensPullsFromTheMixerAndCloses) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);  // never the machine's real sound card
  std::string error;
  ASSERT_TRUE(OpenDevice(error)) << error;
  EXPECT_TRUE(DeviceOpen());
  SoundBuffer copy(Tone());
  ASSERT_TRUE(copy.Play(kPlayLooping));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (copy.GetCurrentPosition() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GT(copy.GetCurrentPosition(), 0) << "the audio callback never ran";
  CloseDevice();
  EXPECT_FALSE(DeviceOpen());
  // Closed, nothing takes sound any more; the copy keeps its place.
  int32_t pos = copy.GetCurrentPosition();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(copy.GetCurrentPosition(), pos);
  EXPECT_EQ(copy.GetStatus(), kStatusPlaying | kStatusLooping);
  // And it opens again.
  ASSERT_TRUE(OpenDevice(error)) << error;
  CloseDevice();
}
