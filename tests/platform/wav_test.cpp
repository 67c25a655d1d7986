#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/wav.hpp"
#include "support/support.hpp"

using platform::audio::Pcm;
using platform::audio::ReadWav;

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

struct Chunk {
  std::string id;
  std::vector<uint8_t> body;
  int64_t length = -1;  // the length field when it should lie
};

std::vector<uint8_t> Riff(const std::vector<Chunk>& chunks) {
  std::vector<uint8_t> v = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (const Chunk& c : chunks) {
    v.insert(v.end(), c.id.begin(), c.id.end());
    Put32(v, static_cast<uint32_t>(c.length >= 0 ? c.length : static_cast<int64_t>(c.body.size())));
    v.insert(v.end(), c.body.begin(), c.body.end());
    if (c.body.size() & 1) v.push_back(0);
  }
  uint32_t riff = static_cast<uint32_t>(v.size() - 8);
  std::memcpy(v.data() + 4, &riff, 4);
  return v;
}

Chunk Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, int blockAlign = -1) {
  Chunk c{"fmt ", {}};
  uint16_t align = blockAlign >= 0 ? static_cast<uint16_t>(blockAlign) : static_cast<uint16_t>(channels * bits / 8);
  Put16(c.body, tag);
  Put16(c.body, channels);
  Put32(c.body, rate);
  Put32(c.body, rate * align);
  Put16(c.body, align);
  Put16(c.body, bits);
  return c;
}

Chunk Data(std::vector<uint8_t> bytes) { return Chunk{"data", std::move(bytes)}; }

// Six frames of 16-bit samples counting up in steps of 1000 from -3000.
std::vector<uint8_t> Samples16(int channels) {
  std::vector<uint8_t> v;
  for (int i = 0; i < 6 * channels; ++i) Put16(v, static_cast<uint16_t>(static_cast<int16_t>(-3000 + 1000 * i)));
  return v;
}

std::vector<uint8_t> GoodWav() { return Riff({Fmt(1, 2, 22050, 16), Data(Samples16(2))}); }

bool Read(const std::vector<uint8_t>& bytes, Pcm& pcm, std::string& error) {
  return ReadWav(bytes.data(), bytes.size(), pcm, error);
}

}  // namespace

TEST(Wav, PcmVariantsDecodeToSixteenBits) {
  struct Case {
    uint16_t channels, bits;
    uint32_t rate;
  };
  for (Case c : {Case{1, 8, 8000}, Case{2, 8, 11025}, Case{1, 16, 44100}, Case{2, 16, 22050}, Case{1, 16, 100},
                 Case{2, 16, 100000}}) {
    SCOPED_TRACE(testing::Message() << c.channels << " ch " << c.bits << " bit " << c.rate << " Hz");
    std::vector<uint8_t> data;
    if (c.bits == 8)
      for (int i = 0; i < 4 * c.channels; ++i) data.push_back(static_cast<uint8_t>(i * 40));
    else
      data = Samples16(c.channels);
    Pcm pcm;
    std::string error;
    ASSERT_TRUE(Read(Riff({Fmt(1, c.channels, c.rate, c.bits), Data(data)}), pcm, error)) << error;
    EXPECT_EQ(pcm.channels, c.channels);
    EXPECT_EQ(pcm.rate, static_cast<int>(c.rate));
    EXPECT_EQ(pcm.blockAlign, c.channels * c.bits / 8);
    if (c.bits == 8) {
      ASSERT_EQ(pcm.samples.size(), 4u * c.channels);
      EXPECT_EQ(pcm.samples[0], -32768);  // 0 is the lowest 8-bit value
      EXPECT_EQ(pcm.samples[3], (120 - 128) * 256);
    } else {
      ASSERT_EQ(pcm.Frames(), 6u);
      for (size_t i = 0; i < pcm.samples.size(); ++i) EXPECT_EQ(pcm.samples[i], -3000 + 1000 * static_cast<int>(i));
    }
  }
}

TEST(Wav, UnknownChunksAndPaddingAreSkipped) {
  Chunk list{"LIST", {'I', 'N', 'F', 'O', 'x'}};  // odd length: a pad byte follows
  Chunk fact{"fact", {6, 0, 0, 0}};
  Pcm pcm;
  std::string error;
  ASSERT_TRUE(Read(Riff({list, Fmt(1, 2, 22050, 16), fact, Data(Samples16(2)), list}), pcm, error)) << error;
  EXPECT_EQ(pcm.Frames(), 6u);
  // The data chunk may come before the format chunk.
  ASSERT_TRUE(Read(Riff({Data(Samples16(1)), Fmt(1, 1, 22050, 16)}), pcm, error)) << error;
  EXPECT_EQ(pcm.Frames(), 6u);
  // The RIFF length may be wrong; the chunks are what counts.
  std::vector<uint8_t> bytes = GoodWav();
  bytes[4] = 0xFF, bytes[5] = 0xFF, bytes[6] = 0xFF, bytes[7] = 0x7F;
  EXPECT_TRUE(Read(bytes, pcm, error));
  // A partial last frame is dropped.
  std::vector<uint8_t> odd = Samples16(2);
  odd.push_back(1);
  odd.push_back(2);
  ASSERT_TRUE(Read(Riff({Fmt(1, 2, 22050, 16), Data(odd)}), pcm, error));
  EXPECT_EQ(pcm.Frames(), 6u);
  // The extensible header with a PCM sub-format.
  Chunk ext = Fmt(0xFFFE, 2, 22050, 16);
  Put16(ext.body, 22);
  Put16(ext.body, 16);
  Put32(ext.body, 3);
  Put16(ext.body, 1);  // sub-format: PCM
  ext.body.resize(40, 0);
  ASSERT_TRUE(Read(Riff({ext, Data(Samples16(2))}), pcm, error)) << error;
}

TEST(Wav, DamagedOrForeignFilesAreRefused) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  Chunk shortFmt = Fmt(1, 2, 22050, 16);
  shortFmt.body.resize(14);
  Chunk lyingData = Data(Samples16(2));
  lyingData.length = 1000;
  Chunk hugeChunk{"LIST", {1, 2, 3, 4}, 0xFFFFFFFFll};
  std::vector<uint8_t> truncated = GoodWav();
  truncated.resize(truncated.size() - 3);
  std::vector<uint8_t> notWave = GoodWav();
  notWave[8] = 'A';
  const Case cases[] = {
      {"empty", {}},
      {"too short", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}},
      {"not RIFF", std::vector<uint8_t>(64, 'x')},
      {"not WAVE", notWave},
      {"no format", Riff({Data(Samples16(2))})},
      {"no data", Riff({Fmt(1, 2, 22050, 16)})},
      {"short format", Riff({shortFmt, Data(Samples16(2))})},
      {"data past the end", Riff({Fmt(1, 2, 22050, 16), lyingData})},
      {"truncated file", truncated},
      {"chunk of 4 GiB", Riff({Fmt(1, 2, 22050, 16), hugeChunk, Data(Samples16(2))})},
      {"float samples", Riff({Fmt(3, 2, 22050, 32), Data(Samples16(2))})},
      {"ADPCM", Riff({Fmt(2, 2, 22050, 4), Data(Samples16(2))})},
      {"no channels", Riff({Fmt(1, 0, 22050, 16, 4), Data(Samples16(2))})},
      {"six channels", Riff({Fmt(1, 6, 22050, 16), Data(Samples16(6))})},
      {"24 bits", Riff({Fmt(1, 2, 22050, 24), Data(Samples16(3))})},
      {"rate 0", Riff({Fmt(1, 2, 0, 16), Data(Samples16(2))})},
      {"rate 99", Riff({Fmt(1, 2, 99, 16), Data(Samples16(2))})},
      {"rate 200000", Riff({Fmt(1, 2, 200000, 16), Data(Samples16(2))})},
      {"block size lies", Riff({Fmt(1, 2, 22050, 16, 64), Data(Samples16(2))})},
      {"block size 0", Riff({Fmt(1, 2, 22050, 16, 0), Data(Samples16(2))})},
      {"no frames", Riff({Fmt(1, 2, 22050, 16), Data({1, 2})})},
  };
  for (const Case& c : cases) {
    Pcm pcm;
    std::string error;
    EXPECT_FALSE(Read(c.bytes, pcm, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(Wav, EveryCutAndRandomDamageIsSafe) {
  // Run under the sanitizers, this shows that no damage reads outside the file.
  std::vector<uint8_t> good = GoodWav();
  for (size_t cut = 0; cut < good.size(); ++cut) {
    std::vector<uint8_t> part(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
    Pcm pcm;
    std::string error;
    if (Read(part, pcm, error)) {
      EXPECT_LE(pcm.samples.size() * 2, cut);
    }
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bad = good;
    for (int k = 0; k < 3; ++k) bad[rng() % bad.size()] = static_cast<uint8_t>(rng());
    Pcm pcm;
    std::string error;
    if (Read(bad, pcm, error)) {
      EXPECT_LE(pcm.samples.size(), bad.size());
    }
  }
}

TEST(Wav, LoadsFromAWindowsPathInAnyCase) {
  testsupport::TempDir dir;
  testsupport::WriteBytes(dir / "Boom.WAV", GoodWav());
  Pcm pcm;
  std::string error;
  ASSERT_TRUE(platform::audio::LoadWav(dir.path() + "boom.wav", pcm, error)) << error;
  EXPECT_EQ(pcm.Frames(), 6u);
  EXPECT_FALSE(platform::audio::LoadWav(dir.path() + "none.wav", pcm, error));
  testsupport::WriteBytes(dir / "bad.wav", {'R', 'I', 'F', 'F'});
  EXPECT_FALSE(platform::audio::LoadWav(dir.path() + "bad.wav", pcm, error));
}
