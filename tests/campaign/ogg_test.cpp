#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "campaign/ogg.hpp"
#include "lib/ogg_writer.hpp"
#include "platform/headless/headless.hpp"
#include "platform/music.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;

namespace {

constexpr size_t kFrame = 735;  // one 60 Hz frame of output

std::vector<int16_t> Tones(size_t frames, int channels, int rate) {
  std::vector<int16_t> s;
  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / rate;
    s.push_back(static_cast<int16_t>(16384 * std::sin(2 * M_PI * 440 * t)));
    if (channels == 2) s.push_back(static_cast<int16_t>(9830 * std::sin(2 * M_PI * 660 * t)));
  }
  return s;
}

std::vector<uint8_t> EncodeOgg(const std::vector<int16_t>& samples, int channels, int rate) {
  return tools::EncodeOggVorbis(samples, channels, rate, 0.5f);
}

// What the stream must sound like: the file decoded on its own, in 16-bit range.
std::vector<int16_t> Reference(const std::string& path, double gain = 1.0) {
  OggVorbis_File vf;
  std::vector<int16_t> out;
  if (ov_fopen(path.c_str(), &vf) != 0) return out;
  int channels = ov_info(&vf, -1)->channels;
  for (;;) {
    float** pcm;
    int section;
    long n = ov_read_float(&vf, &pcm, 1024, &section);
    if (n <= 0) break;
    for (long i = 0; i < n; ++i)
      for (int c = 0; c < 2; ++c) {
        float x = pcm[channels > 1 ? c : 0][i] * 32767.0f;
        x = static_cast<float>(x * gain);
        out.push_back(static_cast<int16_t>(std::lrint(std::clamp(x, -32768.0f, 32767.0f))));
      }
  }
  ov_clear(&vf);
  return out;
}

class Music : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string stereo, mono;

  void SetUp() override {
    stereo = dir / "Musik.ogg";
    mono = dir / "Mono.ogg";
    testsupport::WriteBytes(stereo, EncodeOgg(Tones(44100, 2, 44100), 2, 44100));
    testsupport::WriteBytes(mono, EncodeOgg(Tones(11025, 1, 22050), 1, 22050));
    ASSERT_TRUE(InitOgg(0, 0));
    SetOggVolume(100);
  }
  void TearDown() override { CloseOgg(); }

  // Plays the stream as the game loop does, one frame of output per pass, until it ends.
  std::vector<int16_t> PlayThrough() {
    std::vector<int16_t> heard;
    for (int pass = 0; pass < 1000 && OggIsPlaying(); ++pass) {
      UpdateOgg();
      std::vector<int16_t> block = headless::MixAudio(kFrame);
      heard.insert(heard.end(), block.begin(), block.end());
    }
    return heard;
  }
};

bool Silent(const std::vector<int16_t>& s, size_t from = 0) {
  return std::all_of(s.begin() + static_cast<ptrdiff_t>(from), s.end(), [](int16_t x) { return x == 0; });
}

}  // namespace

TEST_F(Music, AStereoFileIsHeardSampleForSample) {
  std::vector<int16_t> ref = Reference(stereo);
  ASSERT_EQ(ref.size(), 2u * 44100);
  ASSERT_EQ(PlayOggFile(stereo), -1);
  EXPECT_NE(OggIsPlaying(), 0);
  std::vector<int16_t> heard = PlayThrough();
  EXPECT_EQ(OggIsPlaying(), 0);
  ASSERT_GE(heard.size(), ref.size());
  ASSERT_LT(heard.size(), ref.size() + 2 * kFrame);
  EXPECT_TRUE(std::equal(ref.begin(), ref.end(), heard.begin()));
  EXPECT_TRUE(Silent(heard, ref.size()));
  // The tones themselves: 440 Hz on the left, 660 Hz on the right.
  int16_t peak = 0;
  int crossings = 0;
  for (size_t i = 2; i < ref.size(); i += 2) {
    peak = std::max<int16_t>(peak, heard[i]);
    if ((heard[i - 2] < 0) != (heard[i] < 0)) ++crossings;
  }
  EXPECT_NEAR(peak, 16384, 1600);
  EXPECT_NEAR(crossings, 880, 10);
}

TEST_F(Music, OtherRatesAreResampledAndMonoFillsBothSides) {
  std::vector<int16_t> ref = Reference(mono);  // 22,050 Hz, both sides the same
  ASSERT_EQ(ref.size(), 2u * 11025);
  ASSERT_EQ(PlayOggFile(mono), -1);
  std::vector<int16_t> heard = PlayThrough();
  size_t sound = heard.size();
  while (sound > 0 && heard[sound - 1] == 0 && heard[sound - 2] == 0) sound -= 2;
  EXPECT_NEAR(static_cast<double>(sound / 2), 22050.0, 4.0);  // twice as many frames
  for (size_t k = 0; k < 11024; ++k) {
    ASSERT_EQ(heard[4 * k], ref[2 * k]) << k;  // every other frame is a frame of the file
    ASSERT_EQ(heard[4 * k + 1], heard[4 * k]);
    ASSERT_NEAR(heard[4 * k + 2], (ref[2 * k] + ref[2 * k + 2]) / 2.0, 1.0);
  }
}

TEST_F(Music, VolumeStepsScaleTheStreamAtOnce) {
  struct Case {
    int32_t set;
    double gain;
  };
  for (Case c : {Case{100, 1.0}, Case{50, 0.5}, Case{25, 0.25}, Case{0, 0.0}, Case{150, 1.0}, Case{-20, 0.0}}) {
    SCOPED_TRACE(c.set);
    std::vector<int16_t> ref = Reference(stereo, c.gain);
    ASSERT_EQ(PlayOggFile(stereo), -1);
    SetOggVolume(c.set);
    std::vector<int16_t> heard = headless::MixAudio(4000);
    for (size_t i = 0; i < heard.size(); ++i) ASSERT_NEAR(heard[i], ref[i], 1.0) << i;
  }
  // A change in the middle is heard from the next frame on; the music runs on meanwhile.
  std::vector<int16_t> ref = Reference(stereo);
  ASSERT_EQ(PlayOggFile(stereo), -1);
  headless::MixAudio(1000);
  SetOggVolume(0);
  EXPECT_TRUE(Silent(headless::MixAudio(1000)));
  SetOggVolume(100);
  std::vector<int16_t> after = headless::MixAudio(1000);
  EXPECT_TRUE(std::equal(after.begin(), after.end(), ref.begin() + 4000));
}

TEST_F(Music, StopSilencesAndAFreshStartBeginsAgain) {
  std::vector<int16_t> ref = Reference(stereo);
  ASSERT_EQ(PlayOggFile(stereo), -1);
  headless::MixAudio(3000);
  StopOgg();
  EXPECT_EQ(OggIsPlaying(), 0);
  UpdateOgg();
  EXPECT_TRUE(Silent(headless::MixAudio(2000)));
  ASSERT_EQ(PlayOggFile(stereo), -1);
  std::vector<int16_t> again = headless::MixAudio(1000);
  EXPECT_TRUE(std::equal(again.begin(), again.end(), ref.begin()));
}

TEST_F(Music, AtTheEndItStopsAndCanBeStartedAgain) {
  ASSERT_EQ(PlayOggFile(stereo), -1);
  size_t first = PlayThrough().size();
  EXPECT_EQ(OggIsPlaying(), 0);
  EXPECT_TRUE(Silent(headless::MixAudio(1000)));
  ASSERT_EQ(PlayOggFile(stereo), -1);
  EXPECT_NE(OggIsPlaying(), 0);
  EXPECT_EQ(PlayThrough().size(), first);
}

TEST_F(Music, AStreamThatIsNotFedPausesAndGoesOn) {
  std::vector<int16_t> ref = Reference(stereo);
  ASSERT_EQ(PlayOggFile(stereo), -1);
  size_t ahead = platform::music::Buffered();
  ASSERT_GT(ahead, 10000u);
  ASSERT_LT(ahead, 44100u);
  // No UpdateOgg (as on the pause screen): what was decoded is heard, then silence.
  std::vector<int16_t> heard = headless::MixAudio(ahead + 5000);
  EXPECT_TRUE(std::equal(ref.begin(), ref.begin() + static_cast<ptrdiff_t>(2 * ahead), heard.begin()));
  EXPECT_TRUE(Silent(heard, 2 * ahead));
  EXPECT_NE(OggIsPlaying(), 0);
  // Fed again, it goes on where it stopped.
  UpdateOgg();
  std::vector<int16_t> more = headless::MixAudio(2000);
  EXPECT_TRUE(std::equal(more.begin(), more.end(), ref.begin() + static_cast<ptrdiff_t>(2 * ahead)));
}

TEST_F(Music, FilesThatCannotPlayFailAndStopTheOldStream) {
  std::vector<uint8_t> bytes = testsupport::ReadBytes(stereo);
  testsupport::WriteBytes(dir / "garbage.ogg", std::vector<uint8_t>(5000, 0x5A));
  testsupport::WriteBytes(dir / "empty.ogg", {});
  testsupport::WriteBytes(dir / "head.ogg", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40));
  for (const char* name : {"none.ogg", "garbage.ogg", "empty.ogg", "head.ogg"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(PlayOggFile(stereo), -1);
    headless::MixAudio(100);
    EXPECT_EQ(PlayOggFile(dir / name), 0);
    EXPECT_EQ(OggIsPlaying(), 0);
    UpdateOgg();
    EXPECT_TRUE(Silent(headless::MixAudio(1000)));
  }
  // A file cut short in its sound (the headers take most of this small file) plays what
  // it has and ends.
  testsupport::WriteBytes(dir / "cut.ogg", std::vector<uint8_t>(bytes.begin(), bytes.end() - bytes.size() / 4));
  ASSERT_EQ(PlayOggFile(dir / "cut.ogg"), -1);
  std::vector<int16_t> heard = PlayThrough();
  EXPECT_EQ(OggIsPlaying(), 0);
  EXPECT_LT(heard.size(), 2u * 44100);
}

TEST_F(Music, ANewFileReplacesThePlayingOneAndPathsIgnoreCase) {
  std::vector<int16_t> ref = Reference(stereo);
  ASSERT_EQ(PlayOggFile(mono), -1);
  headless::MixAudio(500);
  ASSERT_EQ(PlayOggFile(dir.path() + "MUSIK.OGG"), -1);
  std::vector<int16_t> heard = headless::MixAudio(1000);
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), ref.begin()));
}
