#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/ticker_state.hpp"
#include "engine/sound.hpp"
#include "lib/archive_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/radio.hpp"

namespace headless = platform::headless;
using platform::audio::kStatusLooping;
using platform::audio::kStatusPlaying;

namespace {

// 2000 frames of a mono ramp at 44,100 Hz: every frame tells where it came from.
std::vector<int16_t> Ramp() {
  std::vector<int16_t> s(2000);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(10 * i - 10000);
  return s;
}

// Which copies of a sound are playing, as a bit set.
int PlayingCopies(int32_t nr) {
  int bits = 0;
  for (size_t i = 0; i < Sounds[nr].Kopien.size(); ++i)
    if (Sounds[nr].Kopien[i].GetStatus() & kStatusPlaying) bits |= 1 << i;
  return bits;
}

class SoundTable : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir app;

  void SetUp() override {
    testsupport::FreshState();
    AppPfad = app.path();
    DatenOrdner = app.path();
    SoundPfad = AppPfad + "Data\\Sound\\";
    std::filesystem::create_directories(app / "Data/Sound");
    testsupport::WriteBytes(app / "Data/Sound/Normal2.wav", tools::EncodeWav16(Ramp(), 1, 44100));
    Soundclear();
    std::filesystem::remove(app / "Debug.txt");
    TickerLeer = false;
  }
  void TearDown() override {
    Soundclear();
    DebugModus = false;
  }

  std::vector<std::string> Log() const { return testsupport::SplitLines(testsupport::ReadText(app / "Debug.txt")); }
  const std::vector<std::string>& Ticker() const { return MessageHistory.Zeilen; }
};

}  // namespace

TEST_F(SoundTable, CopiesPlayInARing) {
  struct Case {
    int32_t deep;
    std::vector<int> order;
  };
  for (const Case& c : {Case{0, {0, 0, 0}}, Case{2, {1, 2, 0, 1, 2, 0}}, Case{1, {1, 0, 1}}}) {
    SCOPED_TRACE(testing::Message() << "depth " << c.deep);
    int32_t nr = LoadSound("", "Normal2.wav", c.deep, 44100);
    ASSERT_GE(nr, 0);
    ASSERT_EQ(Sounds[nr].Kopien.size(), static_cast<size_t>(c.deep + 1));
    for (int expected : c.order) {
      StopSound(nr);
      PlaySound(nr, 0, 0, SoundLautstaerke);
      EXPECT_EQ(PlayingCopies(nr), 1 << expected);
      EXPECT_EQ(Sounds[nr].Zeiger, expected);
    }
  }
}

TEST_F(SoundTable, NumbersOutsideTheTableOnlyWriteALine) {
  int32_t nr = LoadSound("", "Normal2.wav", 0, 44100);
  ASSERT_EQ(nr, 0);
  PlaySound(-1, 0);
  PlaySound(SoundsMax() + 1, 1, 0, 0);
  StopSound(-1);
  StopSound(7);
  EXPECT_EQ(Log(), (std::vector<std::string>{"Soundplay out of Range", "Soundplay out of Range"}));
  EXPECT_EQ(platform::audio::PlayingCount(), 0u);
}

TEST_F(SoundTable, ALoadedSoundIsHeardAsRecorded) {
  int32_t nr = LoadSound("", "normal2.WAV", 0, 44100);
  ASSERT_EQ(nr, 0);
  EXPECT_EQ(Sounds[nr].Name, "NORMAL2.WAV");
  PlaySound(nr, 0, 0, 0);
  std::vector<int16_t> out = headless::MixAudio(2001);
  std::vector<int16_t> ramp = Ramp();
  for (size_t i = 0; i < ramp.size(); ++i) ASSERT_EQ(out[2 * i], ramp[i]);
  EXPECT_EQ(out[4000], 0);
  EXPECT_EQ(Sounds[nr].Kopien[0].GetStatus(), 0u);
}

TEST_F(SoundTable, PositionZeroRewindsAnyOtherOnlyMoves) {
  int32_t nr = LoadSound("", "Normal2.wav", 0, 44100);
  platform::audio::SoundBuffer& copy = Sounds[nr].Kopien[0];
  PlaySound(nr, 1, 0, 0);
  headless::MixAudio(500);
  EXPECT_EQ(copy.GetCurrentPosition(), 1000);
  PlaySound(nr, 1, 0);
  EXPECT_EQ(copy.GetCurrentPosition(), 0);
  EXPECT_EQ(copy.GetStatus(), kStatusPlaying | kStatusLooping);
  headless::MixAudio(100);
  PlaySound(nr, 0, 1000.4);
  EXPECT_EQ(copy.GetCurrentPosition(), 1000);
  EXPECT_EQ(copy.GetStatus(), kStatusPlaying);
  // Without a position the copy goes on from where it is.
  headless::MixAudio(10);
  PlaySound(nr, 0);
  EXPECT_EQ(copy.GetCurrentPosition(), 1020);
}

TEST_F(SoundTable, OptionalValuesReachTheCopyAndBadOnesAreSkipped) {
  int32_t nr = LoadSound("", "Normal2.wav", 0, 44100);
  platform::audio::SoundBuffer& copy = Sounds[nr].Kopien[0];
  PlaySound(nr, 0, 0, -600, 22050.5, -2500);
  EXPECT_EQ(copy.GetVolume(), -600);
  EXPECT_EQ(copy.GetFrequency(), 22050);  // halves round to even
  EXPECT_EQ(copy.GetPan(), -2500);
  PlaySound(nr, 0);
  EXPECT_EQ(copy.GetVolume(), -600);
  // Values the copy refuses leave its settings; it still plays.
  copy.Stop();
  PlaySound(nr, 0, 0, 300, 50, 20000);
  EXPECT_EQ(copy.GetVolume(), -600);
  EXPECT_EQ(copy.GetFrequency(), 22050);
  EXPECT_EQ(copy.GetPan(), -2500);
  EXPECT_EQ(copy.GetStatus(), kStatusPlaying);
}

TEST_F(SoundTable, AMissingFileGivesMinusOneAndATickerLine) {
  DebugModus = true;
  EXPECT_EQ(LoadSound("", "Nix.wav", 3, 44100), -1);
  EXPECT_EQ(SoundsMax(), -1);
  EXPECT_EQ(Ticker(), std::vector<std::string>{"Sound Not Found: Nix.wav"});
  EXPECT_EQ(Log(), (std::vector<std::string>{"Sound Nix.wav", "Sound Not Found: 0 "}));
}

TEST_F(SoundTable, ADamagedFileFailsButKeepsItsEntry) {
  std::vector<uint8_t> bytes = tools::EncodeWav16(Ramp(), 1, 44100);
  bytes.resize(bytes.size() / 2);  // the data chunk now runs past the end
  testsupport::WriteBytes(app / "Data/Sound/Kaputt.wav", bytes);
  DebugModus = true;
  EXPECT_EQ(LoadSound("", "Kaputt.wav", 2, 44100), -1);
  EXPECT_EQ(Ticker(), std::vector<std::string>{"Sound Loading Fail: Kaputt.wav"});
  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].rfind("Sound Loading Fail: -2005401500 ", 0), 0u) << log[1];
  // The entry stays, without playable copies; playing it does nothing at all.
  ASSERT_EQ(SoundsMax(), 0);
  EXPECT_EQ(Sounds[0].KopienMax(), 2);
  for (const auto& copy : Sounds[0].Kopien) EXPECT_FALSE(copy.Valid());
  PlaySound(0, 1, 0, 0);
  StopSound(0);
  EXPECT_EQ(platform::audio::PlayingCount(), 0u);
  EXPECT_EQ(Log().size(), 2u);
  // The next sound gets the next number.
  EXPECT_EQ(LoadSound("", "Normal2.wav", 0, 44100), 1);
  // A negative depth cannot size the copies: the same failure.
  EXPECT_EQ(LoadSound("", "Normal2.wav", -1, 44100), -1);
  EXPECT_EQ(SoundsMax(), 2);
  PlaySound(2, 0);
}

TEST_F(SoundTable, EveryLoadIsANewEntryAndQuittingLoadsNothing) {
  EXPECT_EQ(LoadSound("", "Normal2.wav", 5, 44100), 0);
  EXPECT_EQ(LoadSound("", "Normal2.wav", 0, 44100), 1);
  EXPECT_EQ(Sounds[0].KopienMax(), 5);
  EXPECT_EQ(Sounds[1].KopienMax(), 0);
  Spielstatus = 10;
  EXPECT_EQ(LoadSound("", "Normal2.wav", 0, 44100), 0);
  EXPECT_EQ(SoundsMax(), 1);
}

TEST_F(SoundTable, SoundclearStopsReleasesAndEmpties) {
  LoadSound("", "Normal2.wav", 1, 44100);
  LoadSound("", "Normal2.wav", 1, 44100);
  PlaySound(0, 1, 0);
  PlaySound(1, 1, 0);
  FunkStatus.Sound = 1;
  std::filesystem::remove(app / "Debug.txt");
  Soundclear();
  EXPECT_EQ(Log(), std::vector<std::string>{"Sound Clear"});
  EXPECT_EQ(SoundsMax(), -1);
  EXPECT_TRUE(Sounds.empty());
  EXPECT_EQ(FunkStatus.Sound, 0);
  EXPECT_EQ(platform::audio::PlayingCount(), 0u);
  PlaySound(0, 0);
  EXPECT_EQ(Log().back(), "Soundplay out of Range");
  EXPECT_EQ(LoadSound("", "Normal2.wav", 0, 44100), 0);
}

TEST_F(SoundTable, StopSoundStopsEveryCopyOfOneSound) {
  LoadSound("", "Normal2.wav", 2, 44100);
  LoadSound("", "Normal2.wav", 0, 44100);
  for (int i = 0; i < 3; ++i) PlaySound(0, 1, 0);
  PlaySound(1, 1, 0);
  EXPECT_EQ(PlayingCopies(0), 7);
  StopSound(0);
  EXPECT_EQ(PlayingCopies(0), 0);
  EXPECT_EQ(PlayingCopies(1), 1);
  StopAllSounds();
  EXPECT_EQ(platform::audio::PlayingCount(), 0u);
}

TEST_F(SoundTable, SpielSoundOFFStopsTheContinuousAndTheLevelSounds) {
  for (int i = 0; i < 4; ++i) LoadSound("", "Normal2.wav", 0, 44100);
  auto saved = std::tuple(SndRain, SndYellow2, SndHit, LevelSounds);
  SndRain = 0;
  SndYellow2 = 1;
  SndHit = 2;  // a one-shot sound: left alone
  LevelSounds = {3, -1};
  for (bool an : {false, true}) {
    SoundAn = an;
    for (int n = 0; n < 4; ++n) PlaySound(n, 1, 0);
    SpielSoundOFF();
    for (int n = 0; n < 4; ++n) EXPECT_EQ(PlayingCopies(n), (an && n != 2) ? 0 : 1) << n << " sound " << an;
  }
  std::tie(SndRain, SndYellow2, SndHit, LevelSounds) = saved;
}

TEST_F(SoundTable, SoundsComeFromAnArchiveAndTheUnpackFolderGoes) {
  std::vector<uint8_t> archive =
      tools::PackArchive({{"Normal2.wav", tools::EncodeWav16(Ramp(), 1, 44100)}, {"Other.wav", {1, 2, 3}}});
  testsupport::WriteBytes(app / "Data/Sound.vkp", archive);
  std::string folder = GetTempFolder() + "Harvo/Sound.vkpdir/";
  int32_t nr = LoadSound("Sound.vkp", "Normal2.wav", 5, 44100);
  ASSERT_EQ(nr, 0);
  EXPECT_EQ(Sounds[nr].Kopien.size(), 6u);
  for (const auto& copy : Sounds[nr].Kopien) EXPECT_TRUE(copy.Valid());
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_EQ(LoadSound("Sound.vkp", "Fehlt.wav", 0, 44100), -1);
  EXPECT_EQ(Ticker().back(), "Sound Not Found: Fehlt.wav");
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_EQ(LoadSound("Sound.vkp", "Other.wav", 0, 44100), -1);
  EXPECT_EQ(Ticker().back(), "Sound Loading Fail: Other.wav");
  EXPECT_FALSE(std::filesystem::exists(folder));
}
