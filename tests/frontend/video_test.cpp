// Video playback headless over the demo videos: switched off, the small names and the
// one fall-back, the archive's unpacked folder, the pictures and the sound as the file
// has them, the pause and resume keys, the pause key that skips and is waited for, a
// quit, and a file that is no video or no file at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "frontend/video.hpp"
#include "platform/clock.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/mixer.hpp"
#include "platform/video.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;

namespace {

constexpr int kEscape = 1, kNeun = 10, kNull = 11;
constexpr int kLogoBilder = 15;  // Logo.avi: 1.5 s at ten pictures a second

class Video : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    testsupport::UseDemoData(home.dataDir());
    VideoPfad = AppPfad + "Data/Video/";
    VideoAn = true;
    VideoKlein = false;
    SoundAn = true;
    ASSERT_NO_THROW(testsupport::OpenGameWindow());
  }
  void TearDown() override {
    platform::audio::CloseDevice();
    testsupport::CloseGameWindow();
  }

  std::vector<std::string> Log() const {
    const std::string datei = DatenOrdner + "Debug.txt";
    if (!std::filesystem::exists(datei)) return {};
    return testsupport::SplitLines(testsupport::ReadText(datei));
  }
  // The file the "Render" line names.
  std::string Gerendert() const {
    for (const std::string& z : Log())
      if (z.rfind("Video: Render (", 0) == 0) return z.substr(15, z.size() - 16);
    return "";
  }
  size_t Fehlerzeilen() const {
    size_t n = 0;
    for (const std::string& z : Log())
      if (z.find(" - ") != std::string::npos) ++n;
    return n;
  }
  static int Gezeigt() { return headless::LastFrame().count; }
  // A Windows-style path split after its last separator.
  static std::string Ordner(const std::string& pfad) { return pfad.substr(0, pfad.find_last_of("\\/") + 1); }
  static std::string Name(const std::string& pfad) { return pfad.substr(pfad.find_last_of("\\/") + 1); }
};

TEST_F(Video, NothingHappensWithVideosOffOrWhileQuitting) {
  for (int fall = 0; fall < 2; ++fall) {
    VideoAn = fall != 0;
    Spielstatus = fall == 0 ? 0 : 10;
    const uint64_t vorher = platform::TickCount();
    PlayAVIFile("Logo.avi", "");
    EXPECT_EQ(platform::TickCount(), vorher);
    EXPECT_TRUE(Log().empty()) << "not even a log line";
    EXPECT_EQ(Gezeigt(), 0);
  }
}

TEST_F(Video, SmallNamesAndTheOneFallBack) {
  // A video folder with the German small intro only.
  testsupport::TempDir ordner;
  std::filesystem::copy_file(VideoPfad + "IntroDLow.avi", ordner / "IntroDLow.avi");
  std::filesystem::copy_file(VideoPfad + "LogoLow.avi", ordner / "LogoLow.avi");
  struct Fall {
    bool klein;
    const char* datei;
    const char* archiv;
    std::string gespielt;  // below the video folder, or a member of the unpacked folder
    bool fehler;
  } faelle[] = {
      {false, "Logo.avi", "", "Logo.avi", true},   // not in this folder
      {true, "Logo.avi", "", "LogoLow.avi", false},
      {true, "IntroE.avi", "", "IntroDLow.avi", false},  // the English small intro falls back
      {true, "IntroR.avi", "", "IntroRLow.avi", true},   // no other name does
      {false, "IntroELow.avi", "", "IntroDLow.avi", false},
      {true, "Deep.avi", "Video.vkp", "DeepLow.avi", false},
      {true, "IntroE.avi", "Video.vkp", "IntroELow.avi", true},  // not from an archive
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(std::string(f.datei) + " from '" + f.archiv + "'");
    std::filesystem::remove(DatenOrdner + "Debug.txt");
    VideoPfad = ordner.path();
    VideoKlein = f.klein;
    headless::QueueKeys({kEscape}, 1);  // skipped after its first picture
    PlayAVIFile(f.datei, f.archiv);
    const std::string datei = Gerendert();
    EXPECT_EQ(Name(datei), f.gespielt);
    if (*f.archiv == 0) {
      EXPECT_EQ(datei, ordner / f.gespielt);
    }
    EXPECT_EQ(Fehlerzeilen() > 0, f.fehler);
    EXPECT_EQ(Log().back(), "Video: Fine");
  }
}

TEST_F(Video, TheUnpackedFolderIsGoneAfterTheVideo) {
  PlayAVIFile("Deep.avi", "Video.vkp");
  const std::string datei = Gerendert();
  ASSERT_FALSE(datei.empty());
  EXPECT_EQ(Fehlerzeilen(), 0u);
  EXPECT_NE(Ordner(datei), "");
  EXPECT_FALSE(platform::fs::DirExists(Ordner(datei)));
  const std::vector<std::string> erwartet = {
      "Video: Render (" + datei + ")", "Video: Soundsetup", "Video: Video", "Video: Window", "Video: Media",
      "Video: Play",   "Video: Playing", "Video: Unload", "Video: Fine"};
  std::vector<std::string> log = Log();
  log.erase(log.begin(), std::find(log.begin(), log.end(), erwartet[0]));
  EXPECT_EQ(log, erwartet);
}

// The last picture shown is the file's last picture, and every picture is shown once;
// the mixer hears the file's sound sample for sample, or nothing with the sound off.
class VideoTon : public Video, public ::testing::WithParamInterface<bool> {};

TEST_P(VideoTon, PicturesAndSoundAsTheFileHasThem) {
  SoundAn = GetParam();
  std::string fehler;
  ASSERT_TRUE(platform::audio::OpenDevice(fehler)) << fehler;
  std::vector<int16_t> gehoert;
  for (uint64_t t = 0; t < 4000; t += 10)
    headless::At(t, [&] {
      const std::vector<int16_t> block = headless::MixAudio(441);
      gehoert.insert(gehoert.end(), block.begin(), block.end());
    });
  PlayAVIFile("Logo.avi", "");
  EXPECT_EQ(Gezeigt(), kLogoBilder);
  EXPECT_GE(platform::TickCount(), 1500u);
  EXPECT_LT(platform::TickCount(), 1700u);

  platform::video::Error e;
  auto d = platform::video::Decoder::Open(VideoPfad + "Logo.avi", e);
  ASSERT_TRUE(d);
  std::vector<float> ton;
  while (d->NextPicture()) {
    double start = 0;
    std::vector<float> t = d->TakeSound(start);
    ton.insert(ton.end(), t.begin(), t.end());
  }
  platform::Surface soll(800, 600, platform::PixelFormat::XRGB8888);
  ASSERT_TRUE(d->DrawPicture(soll, {0, 0, 800, 600}));
  const headless::RecordedFrame& f = headless::LastFrame();
  ASSERT_EQ(f.width, 800);
  size_t anders = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      uint32_t p;
      std::memcpy(&p, f.pixels.data() + static_cast<size_t>(y) * f.pitch + x * 4, 4);
      anders += (p & 0xFFFFFF) != (soll.GetPixel(x, y) & 0xFFFFFF);
    }
  EXPECT_EQ(anders, 0u);

  ASSERT_GT(ton.size(), 44100u * 2);
  if (!SoundAn) {
    EXPECT_TRUE(std::all_of(gehoert.begin(), gehoert.end(), [](int16_t s) { return s == 0; }));
    return;
  }
  // Where the sound begins in what was heard, and from there on all of it.
  auto gleich = [&](size_t ab, size_t n) {
    for (size_t k = 0; k < n; ++k)
      if (ab + k >= gehoert.size() || std::abs(gehoert[ab + k] - static_cast<int>(std::lround(ton[k]))) > 2)
        return false;
    return true;
  };
  size_t ab = 0;
  while (ab < gehoert.size() && !gleich(ab, 2000)) ab += 2;
  ASSERT_LT(ab, gehoert.size()) << "the tone was not heard";
  EXPECT_TRUE(gleich(ab, ton.size()));
}

INSTANTIATE_TEST_SUITE_P(SoundOnAndOff, VideoTon, ::testing::Bool());

TEST_F(Video, NinePausesAndZeroResumes) {
  struct Fall {
    std::vector<std::pair<std::vector<int>, int>> tasten;  // keys down, for so many passes
    int bilder;                                            // pictures shown in all
    uint64_t mindestens;                                   // ms the call lasts at least
  } faelle[] = {
      // Paused for 300 passes (each rests up to 10 ms while nothing is due), then resumed.
      {{{{}, 30}, {{kNeun}, 1}, {{}, 300}, {{kNull}, 1}}, kLogoBilder, 1500 + 2500},
      // Held paused, the 0 key is wanted on every pass until the key goes up.
      {{{{}, 30}, {{kNeun}, 200}, {{kNull}, 1}}, kLogoBilder, 1500 + 1500},
      // Paused, then skipped: the rest is never shown.
      {{{{}, 30}, {{kNeun}, 1}, {{}, 300}, {{kEscape}, 1}}, 5, 2500},
  };
  for (const Fall& f : faelle) {
    headless::Reset();
    const int vorher = Gezeigt();
    for (const auto& [tasten, n] : f.tasten) headless::QueueKeys(tasten, n);
    PlayAVIFile("Logo.avi", "");
    EXPECT_EQ(headless::KeyReadsLeft(), 0u);
    EXPECT_GE(platform::TickCount(), f.mindestens);
    if (f.bilder == kLogoBilder)
      EXPECT_EQ(Gezeigt() - vorher, f.bilder);
    else
      EXPECT_LT(Gezeigt() - vorher, kLogoBilder);
  }
}

TEST_F(Video, ThePauseKeySkipsAndIsWaitedForAndAQuitEndsBoth) {
  // Escape from the start: one pass, then the wait for its release.
  headless::QueueKeys({kEscape}, 40);
  PlayAVIFile("Logo.avi", "");
  EXPECT_EQ(headless::KeyReadsLeft(), 0u) << "returned only once the key was up";
  EXPECT_LE(Gezeigt(), 1);
  EXPECT_LT(platform::TickCount(), 1000u);

  // Alt+F4 quits after the video's clean-up; F4 alone does not.
  for (const bool alt : {false, true}) {
    headless::Reset();
    Spielstatus = 0;
    headless::QueueKeys({}, 5);
    if (alt)
      headless::QueueKeys({56, 62}, 1);
    else
      headless::QueueKeys({62}, 1);
    PlayAVIFile("Logo.avi", "");
    EXPECT_EQ(Spielstatus, alt ? 10 : 0);
    EXPECT_EQ(Gezeigt() < kLogoBilder, alt);
    EXPECT_EQ(Log().back(), "Video: Fine");
  }

  // A quit ends the video, and the wait for a key that stays down.
  for (const bool gehalten : {false, true}) {
    headless::Reset();
    Spielstatus = 0;
    if (gehalten) headless::QueueKeys({kEscape}, 100000);
    headless::At(300, [] { Spielstatus = 10; });
    PlayAVIFile("Logo.avi", "");
    EXPECT_EQ(Spielstatus, 10);
    EXPECT_LT(platform::TickCount(), 400u);
    EXPECT_EQ(Log().back(), "Video: Fine");
  }
}

TEST_F(Video, AFileThatIsNoVideoIsLoggedAndPassedOver) {
  testsupport::TempDir ordner;
  testsupport::WriteBytes(ordner / "Kaputt.avi", std::vector<uint8_t>(5000, 0x5A));
  std::vector<uint8_t> halb = testsupport::ReadBytes(VideoPfad + "Logo.avi");
  halb.resize(halb.size() / 3);
  testsupport::WriteBytes(ordner / "Halb.avi", halb);
  // A FIFO would keep the decoder's open waiting for a writer for ever.
  ASSERT_EQ(mkfifo((ordner / "Fifo.avi").c_str(), 0600), 0);
  std::filesystem::create_directory(ordner / "Ordner.avi");
  VideoPfad = ordner.path();
  for (const char* datei : {"Kaputt.avi", "Fehlt.avi", "Fifo.avi", "Ordner.avi"}) {
    std::filesystem::remove(DatenOrdner + "Debug.txt");
    headless::Reset();
    alarm(20);  // the test ends rather than waits when a FIFO is opened after all
    PlayAVIFile(datei, "");
    alarm(0);
    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1].rfind("Video: -", 0), 0u) << log[1];  // the library's own error number
    EXPECT_EQ(log.back(), "Video: Fine");
    EXPECT_EQ(Gezeigt(), 0);
    EXPECT_LT(platform::TickCount(), 50u);
  }
  // A file cut short plays what it has.
  headless::Reset();
  PlayAVIFile("Halb.avi", "");
  EXPECT_GT(Gezeigt(), 0);
  EXPECT_LT(Gezeigt(), kLogoBilder);
  EXPECT_EQ(Log().back(), "Video: Fine");
}

}  // namespace
