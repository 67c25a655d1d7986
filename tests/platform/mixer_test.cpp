#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/headless/headless.hpp"
#include "platform/mixer.hpp"

using namespace platform::audio;
namespace headless = platform::headless;

namespace {

// A sine of `frames` frames with a period of 50 frames; the right channel of a stereo
// sound runs at half the amplitude and inverted, so the channels can be told apart.
std::shared_ptr<Pcm> Sine(size_t frames, int channels = 1, int rate = kOutputRate, int amplitude = 10000) {
  auto pcm = std::make_shared<Pcm>();
  pcm->channels = channels;
  pcm->rate = rate;
  pcm->blockAlign = 2 * channels;
  for (size_t i = 0; i < frames; ++i) {
    double s = amplitude * std::sin(2 * M_PI * static_cast<double>(i) / 50.0);
    pcm->samples.push_back(static_cast<int16_t>(std::lrint(s)));
    if (channels == 2) pcm->samples.push_back(static_cast<int16_t>(std::lrint(-s / 2)));
  }
  return pcm;
}

double Db(int32_t hundredths) { return hundredths <= -10000 ? 0.0 : std::pow(10.0, hundredths / 2000.0); }

class Mixer : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::MixAudio(1);  // whatever an earlier test left is not ours
    ASSERT_EQ(PlayingCount(), 0u);
  }
};

}  // namespace

TEST_F(Mixer, VolumeAndPanScaleEachChannel) {
  struct Case {
    int32_t volume, pan;
  };
  const Case cases[] = {{0, 0},      {-600, 0},    {-10000, 0},   {0, 10000}, {0, -10000},
                        {0, 600},    {0, -600},    {-600, 2000},  {-1, -1},   {-10000, 10000}};
  auto pcm = Sine(400);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
    SoundBuffer b(pcm);
    ASSERT_TRUE(b.SetVolume(c.volume));
    ASSERT_TRUE(b.SetPan(c.pan));
    ASSERT_TRUE(b.Play(0));
    std::vector<int16_t> out = headless::MixAudio(400);
    double gl = Db(c.volume) * (c.pan > 0 ? Db(-c.pan) : 1.0);
    double gr = Db(c.volume) * (c.pan < 0 ? Db(c.pan) : 1.0);
    for (size_t i = 0; i < 400; ++i) {
      double s = pcm->samples[i];
      ASSERT_NEAR(out[2 * i], s * gl, 1.0) << "frame " << i;
      ASSERT_NEAR(out[2 * i + 1], s * gr, 1.0) << "frame " << i;
    }
    // Unity gain passes the samples unchanged; -10000 is true silence.
    bool unity = c.volume == 0 && c.pan == 0, silent = c.volume == -10000 || c.pan == 10000;
    for (size_t i = 0; i < 400; ++i) {
      if (unity) {
        ASSERT_EQ(out[2 * i], pcm->samples[i]);
      }
      if (silent) {
        ASSERT_EQ(out[2 * i], 0);
      }
    }
  }
}

TEST_F(Mixer, StereoSoundsKeepTheirChannels) {
  auto pcm = Sine(200, 2);
  SoundBuffer b(pcm);
  b.SetPan(-10000);  // right silent
  b.Play(0);
  std::vector<int16_t> out = headless::MixAudio(200);
  for (size_t i = 0; i < 200; ++i) {
    ASSERT_EQ(out[2 * i], pcm->samples[2 * i]);
    ASSERT_EQ(out[2 * i + 1], 0);
  }
  b.SetPan(0);
  b.SetCurrentPosition(0);
  b.Play(0);
  out = headless::MixAudio(200);
  for (size_t i = 0; i < 200; ++i) ASSERT_EQ(out[2 * i + 1], pcm->samples[2 * i + 1]);
}

TEST_F(Mixer, FrequencyChangesTheLengthByResampling) {
  struct Case {
    int rate;       // the sound's own rate
    int32_t frequency;  // 0: its own
    size_t heard;   // output frames until it stops
  };
  const Case cases[] = {{44100, 0, 1000}, {44100, 22050, 2000}, {44100, 88200, 500}, {22050, 0, 2000},
                        {11025, 44100, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz played at " << c.frequency);
    SoundBuffer b(Sine(1000, 1, c.rate));
    ASSERT_TRUE(b.SetFrequency(c.frequency));
    b.Play(0);
    headless::MixAudio(c.heard - 1);
    EXPECT_EQ(b.GetStatus(), kStatusPlaying);
    headless::MixAudio(1);
    EXPECT_EQ(b.GetStatus(), 0u);
    EXPECT_EQ(b.GetCurrentPosition(), 0);
  }
}

TEST_F(Mixer, HalfFrequencyInterpolatesBetweenFrames) {
  auto pcm = Sine(100);
  SoundBuffer b(pcm);
  b.SetFrequency(22050);
  b.Play(0);
  std::vector<int16_t> out = headless::MixAudio(198);
  for (size_t k = 0; k + 1 < 99; ++k) {
    ASSERT_EQ(out[4 * k], pcm->samples[k]);
    ASSERT_NEAR(out[4 * k + 2], (pcm->samples[k] + pcm->samples[k + 1]) / 2.0, 1.0);
  }
}

TEST_F(Mixer, LoopingWrapsWithoutAGap) {
  auto pcm = Sine(100);
  SoundBuffer b(pcm);
  b.Play(kPlayLooping);
  std::vector<int16_t> out = headless::MixAudio(250);
  for (size_t i = 0; i < 250; ++i) ASSERT_EQ(out[2 * i], pcm->samples[i % 100]) << i;
  EXPECT_EQ(b.GetStatus(), kStatusPlaying | kStatusLooping);
  EXPECT_EQ(b.GetCurrentPosition(), 50 * 2);
  // Playing it once from here ends it at the end of this round.
  b.Play(0);
  headless::MixAudio(49);
  EXPECT_EQ(b.GetStatus(), kStatusPlaying);
  headless::MixAudio(1);
  EXPECT_EQ(b.GetStatus(), 0u);
}

TEST_F(Mixer, PositionsCountInBytesOfTheSoundsOwnFormat) {
  auto stereo = Sine(1000, 2);  // 4 bytes a frame
  SoundBuffer b(stereo);
  EXPECT_EQ(b.Size(), 4000);
  for (int32_t pos : {0, 4, 1000, 3996}) {
    ASSERT_TRUE(b.SetCurrentPosition(pos));
    EXPECT_EQ(b.GetCurrentPosition(), pos);
  }
  ASSERT_TRUE(b.SetCurrentPosition(1003));  // inside a frame: its start
  EXPECT_EQ(b.GetCurrentPosition(), 1000);
  EXPECT_FALSE(b.SetCurrentPosition(4000));
  EXPECT_FALSE(b.SetCurrentPosition(-4));
  EXPECT_EQ(b.GetCurrentPosition(), 1000);
}

TEST_F(Mixer, StopKeepsThePositionAndPlayGoesOnFromIt) {
  auto pcm = Sine(1000);
  SoundBuffer b(pcm);
  b.Play(0);
  headless::MixAudio(300);
  ASSERT_TRUE(b.Stop());
  EXPECT_EQ(b.GetStatus(), 0u);
  EXPECT_EQ(b.GetCurrentPosition(), 600);
  std::vector<int16_t> silent = headless::MixAudio(100);
  EXPECT_EQ(b.GetCurrentPosition(), 600);
  for (int16_t s : silent) ASSERT_EQ(s, 0);
  b.Play(0);
  std::vector<int16_t> out = headless::MixAudio(1);
  EXPECT_EQ(out[0], pcm->samples[300]);
}

TEST_F(Mixer, StatusBitsAndRefusedValues) {
  SoundBuffer b(Sine(100));
  EXPECT_EQ(b.GetStatus(), 0u);
  b.Play(0);
  EXPECT_EQ(b.GetStatus(), kStatusPlaying);
  b.Play(kPlayLooping);
  EXPECT_EQ(b.GetStatus(), kStatusPlaying | kStatusLooping);
  b.Stop();
  EXPECT_EQ(b.GetStatus(), 0u);

  EXPECT_FALSE(b.SetVolume(1));
  EXPECT_FALSE(b.SetVolume(-10001));
  EXPECT_FALSE(b.SetPan(10001));
  EXPECT_FALSE(b.SetPan(-10001));
  EXPECT_FALSE(b.SetFrequency(99));
  EXPECT_FALSE(b.SetFrequency(100001));
  EXPECT_EQ(b.GetVolume(), 0);
  EXPECT_EQ(b.GetPan(), 0);
  EXPECT_EQ(b.GetFrequency(), 44100);
  EXPECT_TRUE(b.SetFrequency(100));
  EXPECT_TRUE(b.SetFrequency(100000));
  EXPECT_TRUE(b.SetFrequency(kFrequencyOriginal));
  EXPECT_EQ(b.GetFrequency(), 44100);
}

TEST_F(Mixer, CopiesShareSamplesButNotTheirState) {
  auto pcm = Sine(500);
  SoundBuffer a(pcm);
  SoundBuffer b = a.Duplicate();
  a.SetVolume(-600);
  a.Play(kPlayLooping);
  headless::MixAudio(100);
  b.Play(0);
  EXPECT_EQ(b.GetVolume(), 0);
  std::vector<int16_t> out = headless::MixAudio(100);
  for (size_t i = 0; i < 100; ++i)
    ASSERT_NEAR(out[2 * i], pcm->samples[i] + pcm->samples[i + 100] * Db(-600), 1.0);
  EXPECT_EQ(PlayingCount(), 2u);
}

TEST_F(Mixer, EmptyAndReleasedBuffersRefuseEverything) {
  SoundBuffer empty;
  EXPECT_FALSE(empty.Valid());
  EXPECT_FALSE(empty.Play(0));
  EXPECT_FALSE(empty.SetVolume(0));
  EXPECT_FALSE(empty.SetCurrentPosition(0));
  EXPECT_EQ(empty.GetStatus(), 0u);
  EXPECT_FALSE(SoundBuffer(std::make_shared<Pcm>()).Valid());  // no frames

  SoundBuffer b(Sine(100));
  b.Play(kPlayLooping);
  EXPECT_EQ(PlayingCount(), 1u);
  b.Release();
  EXPECT_EQ(PlayingCount(), 0u);
  EXPECT_FALSE(b.Play(0));
  {
    SoundBuffer gone(Sine(100));
    gone.Play(kPlayLooping);
  }
  EXPECT_EQ(PlayingCount(), 0u);
  SoundBuffer moved(Sine(100));
  moved.Play(kPlayLooping);
  SoundBuffer target = std::move(moved);
  EXPECT_EQ(target.GetStatus(), kStatusPlaying | kStatusLooping);
  headless::MixAudio(10);
  EXPECT_EQ(target.GetCurrentPosition(), 20);
}

TEST_F(Mixer, LoudSumsSaturate) {
  auto pcm = std::make_shared<Pcm>();
  pcm->channels = 1;
  pcm->rate = kOutputRate;
  pcm->blockAlign = 2;
  pcm->samples = {30000, -30000, 30000};
  SoundBuffer a(pcm), b(pcm);
  a.Play(0);
  b.Play(0);
  std::vector<int16_t> out = headless::MixAudio(3);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[2], -32768);
}

TEST_F(Mixer, StreamsPlayWhatTheyAreGivenAndPauseWhenDry) {
  AudioStream stream(8);
  std::vector<float> frames;
  for (int i = 0; i < 6; ++i) {
    frames.push_back(100.0f * i);
    frames.push_back(-100.0f * i);
  }
  EXPECT_EQ(stream.Write(frames.data(), 6), 6u);
  EXPECT_EQ(stream.Write(frames.data(), 6), 2u);  // room for two more only
  stream.SetGain(0.5f);
  std::vector<int16_t> out = headless::MixAudio(10);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(out[2 * i], 50 * i);
    EXPECT_EQ(out[2 * i + 1], -50 * i);
  }
  EXPECT_EQ(out[12], 0);
  EXPECT_EQ(out[14], 50);
  EXPECT_EQ(out[16], 0);  // ran dry
  EXPECT_EQ(stream.Buffered(), 0u);
  EXPECT_EQ(stream.Write(frames.data() + 10, 1), 1u);  // fed again: goes on
  out = headless::MixAudio(1);
  EXPECT_EQ(out[0], 250);
  stream.Write(frames.data(), 6);
  stream.Clear();
  out = headless::MixAudio(2);
  EXPECT_EQ(out[2], 0);
}
