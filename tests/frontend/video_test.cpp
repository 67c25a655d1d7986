// Video playback headless over the demo videos: switched off, the small names and the
// one fall-back, the archive's unpacked folder, the pictures and the sound as the file
// has them, sound of other rates and channels without a gap, the pause and resume keys,
// the pause key that skips and is waited for, a quit, and a file that is no video or no
// file at all. And the demo videos themselves: scenes of a few seconds that move.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "frontend/video.hpp"
#include "lib/avi_writer.hpp"
#include "platform/clock.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/mixer.hpp"
#include "platform/video.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
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
  // The sound device takes the next 10 ms of the mixer every 10 ms of the clock, up to
  // `bisMs`, into `gehoert`.
  static void Hoeren(std::vector<int16_t>& gehoert, uint64_t bisMs) {
    for (uint64_t t = 0; t < bisMs; t += 10)
      headless::At(t, [&gehoert] {
        const std::vector<int16_t> block = headless::MixAudio(441);
        gehoert.insert(gehoert.end(), block.begin(), block.end());
      });
  }
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
  Hoeren(gehoert, 4000);
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

// Two seconds of small grey pictures over a steady tone (left a sine, right a cosine),
// each picture followed in the file by its own sound only, as most files have it.
std::vector<uint8_t> TonFilm(int rate, int kanaele, int bilderProSekunde) {
  tools::AviWriter film({64, 48, 14, bilderProSekunde, rate, kanaele});
  const int bilder = 2 * bilderProSekunde;
  std::vector<int16_t> ton;
  for (int k = 0; k < 2 * rate; ++k)
    for (int c = 0; c < kanaele; ++c)
      ton.push_back(static_cast<int16_t>(std::lround(8000 * std::sin(2 * M_PI * 440 * k / rate + c * M_PI / 2))));
  for (int i = 0, ab = 0; i < bilder; ++i) {
    film.Picture(tools::Image(64, 48, 0x010101u * static_cast<uint32_t>(i * 200 / bilder)));
    const int bis = (i + 1) * rate / bilderProSekunde;
    film.Sound(ton.data() + static_cast<size_t>(ab) * kanaele, bis - ab);
    ab = bis;
  }
  return film.Finish();
}

// Sound at another rate or with other channels than the mixer's is heard without a gap:
// the player reads on in the file for it (the resampler holds some back on the way), so
// the mixer, fed ahead of the clock, never runs dry inside the track.
TEST_F(Video, SoundAtOtherRatesHasNoGaps) {
  std::string fehler;
  ASSERT_TRUE(platform::audio::OpenDevice(fehler)) << fehler;
  testsupport::TempDir ordner;
  VideoPfad = ordner.path();
  struct Fall {
    int rate, kanaele, bilderProSekunde;
  } faelle[] = {{22050, 1, 25}, {48000, 2, 10}, {11025, 1, 10}, {32000, 2, 30}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(std::to_string(f.rate) + " Hz, " + std::to_string(f.kanaele) + " channels, " +
                 std::to_string(f.bilderProSekunde) + " pictures a second");
    testsupport::WriteBytes(ordner / "Ton.avi", TonFilm(f.rate, f.kanaele, f.bilderProSekunde));
    headless::Reset();
    std::vector<int16_t> gehoert;
    Hoeren(gehoert, 3000);
    PlayAVIFile("Ton.avi", "");
    EXPECT_EQ(Gezeigt(), 2 * f.bilderProSekunde);
    // Runs of silence between the first and the last frame heard: a sine and a cosine
    // are never both near 0, a sine alone for a frame at most.
    std::vector<bool> still;
    for (size_t i = 0; i + 1 < gehoert.size(); i += 2)
      still.push_back(std::abs(gehoert[i]) + std::abs(gehoert[i + 1]) <= 2);
    const auto von = std::find(still.begin(), still.end(), false);
    const auto bis = std::find(still.rbegin(), still.rend(), false).base();
    ASSERT_LT(von, bis) << "nothing was heard";
    int luecken = 0, lauf = 0;
    for (auto i = von; i != bis; ++i) {
      lauf = *i ? lauf + 1 : 0;
      luecken += lauf == 8;
    }
    EXPECT_EQ(luecken, 0);
    // All of it heard, but for the resampler's edges and the last block: the video ends
    // with its sound by the clock, when the test would mix that block next.
    EXPECT_NEAR(static_cast<double>(bis - von), 2 * 44100.0 - 441, 20.0);
  }
}

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

// What a look at every picture of a video finds.
struct Angesehen {
  int32_t breite = 0, hoehe = 0;
  int bilder = 0;
  double dauer = 0, bildLaenge = 0;
  std::vector<double> helligkeit;  // mean of red, green and blue per picture, 0..255
  std::vector<bool> bewegt;        // the picture differs from the one before it
  std::vector<uint32_t> spaet;     // the picture at four fifths of the video
  std::vector<double> daumen;      // the same, 32 x 24 means of its green
  std::vector<float> ton;          // left and right at 44,100 Hz
};

Angesehen Ansehen(const std::string& datei) {
  Angesehen a;
  platform::video::Error e;
  auto d = platform::video::Decoder::Open(datei, e);
  if (!d) {
    ADD_FAILURE() << datei << ": " << e.text;
    return a;
  }
  a.breite = d->Width();
  a.hoehe = d->Height();
  a.dauer = d->Duration();
  platform::Surface bild(a.breite, a.hoehe, platform::PixelFormat::XRGB8888);
  std::vector<uint32_t> vorher, jetzt;
  auto tonNehmen = [&] {
    double start = 0;
    const std::vector<float> t = d->TakeSound(start);
    a.ton.insert(a.ton.end(), t.begin(), t.end());
  };
  while (d->NextPicture()) {
    tonNehmen();
    a.bildLaenge = d->PictureLength();
    if (!d->DrawPicture(bild, {0, 0, a.breite, a.hoehe})) break;
    jetzt.clear();
    double summe = 0, unterschied = 0;
    for (int y = 0; y < a.hoehe; ++y)
      for (int x = 0; x < a.breite; ++x) {
        const uint32_t p = bild.GetPixel(x, y) & 0xFFFFFF;
        jetzt.push_back(p);
        summe += ((p >> 16) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3.0;
        if (!vorher.empty())
          unterschied +=
              std::abs(static_cast<int>(p >> 8 & 0xFF) - static_cast<int>(vorher[jetzt.size() - 1] >> 8 & 0xFF));
      }
    const double pixel = static_cast<double>(jetzt.size());
    a.helligkeit.push_back(summe / pixel);
    a.bewegt.push_back(!vorher.empty() && unterschied / pixel > 0.5);
    ++a.bilder;
    vorher.swap(jetzt);
    if (a.bilder == static_cast<int>(a.dauer / std::max(0.01, a.bildLaenge) * 0.8)) a.spaet = vorher;
  }
  // The sound of the last picture follows it in the file.
  tonNehmen();
  if (!a.spaet.empty()) {
    a.daumen.assign(32 * 24, 0.0);
    for (int y = 0; y < a.hoehe; ++y)
      for (int x = 0; x < a.breite; ++x)
        a.daumen[static_cast<size_t>(y * 24 / a.hoehe * 32 + x * 32 / a.breite)] +=
            (a.spaet[static_cast<size_t>(y) * a.breite + x] >> 8 & 0xFF) * 32.0 * 24 / (a.breite * a.hoehe);
  }
  return a;
}

// The root mean square of the sound from `von` to `bis` (shares of its length), 0..32767.
double Lautheit(const std::vector<float>& ton, double von, double bis) {
  const size_t a = static_cast<size_t>(ton.size() * von), b = static_cast<size_t>(ton.size() * bis);
  double summe = 0;
  for (size_t i = a; i < b; ++i) summe += static_cast<double>(ton[i]) * ton[i];
  return b > a ? std::sqrt(summe / static_cast<double>(b - a)) : 0.0;
}

// Every demo video, from the video folder and from the video archive, and its small
// twin: pictures of its size, a few seconds of them and of sound, from black to black,
// moving all the way; a few hundred kilobytes at most; the twin shows what the video
// shows; and the versions of a video in the three languages differ (in their words).
TEST(DemoVideos, AFewSecondsOfMovingPicturesAtTheirSize) {
  const std::string daten = platform::fs::ProgramFolder() + "Data/";
  testsupport::TempDir ordner;
  std::vector<std::string> filme;
  for (const std::string n : {"Logo", "IntroD", "IntroE", "IntroR"}) {
    std::filesystem::copy_file(daten + "Video/" + n + ".avi", ordner / (n + ".avi"));
    std::filesystem::copy_file(daten + "Video/" + n + "Low.avi", ordner / (n + "Low.avi"));
    filme.push_back(n);
  }
  ArchiveError fehler;
  ASSERT_TRUE(WalkArchive(
      testsupport::ReadBytes(daten + "Video.vkp"),
      [&](const ArchiveEntry& e) {
        if (!e.name.ends_with(".avi")) return true;
        std::vector<uint8_t> inhalt;
        EXPECT_EQ(InflateMember(e.packed, e.size, inhalt), Z_OK) << e.name;
        testsupport::WriteBytes(ordner / e.name, inhalt);
        if (!e.name.ends_with("Low.avi")) filme.push_back(e.name.substr(0, e.name.size() - 4));
        return true;
      },
      fehler))
      << fehler.Beschreibung;
  for (const std::string n : {"Deep", "OutroD", "OutroE", "OutroR", "Outro2D", "Outro2E", "Outro2R"})
    EXPECT_NE(std::find(filme.begin(), filme.end(), n), filme.end()) << n << " is not in Video.vkp";

  std::map<std::string, std::vector<uint32_t>> spaet;
  for (const std::string& n : filme) {
    const Angesehen gross = Ansehen(ordner / (n + ".avi")), klein = Ansehen(ordner / (n + "Low.avi"));
    for (const auto& [a, name, breite, hoehe] :
         {std::tuple{&gross, n + ".avi", 512, 384}, std::tuple{&klein, n + "Low.avi", 320, 240}}) {
      SCOPED_TRACE(name);
      EXPECT_LE(std::filesystem::file_size(ordner / name), 512u * 1024);
      EXPECT_EQ(a->breite, breite);
      EXPECT_EQ(a->hoehe, hoehe);
      // The logo a short call, the scenes a few seconds; every picture there, and sound
      // under all of them but the last, black one.
      EXPECT_GE(a->dauer, n == "Logo" ? 1.0 : 4.0);
      EXPECT_LE(a->dauer, 8.0);
      EXPECT_NEAR(a->bilder * a->bildLaenge, a->dauer, a->bildLaenge);
      const double tonSekunden = static_cast<double>(a->ton.size()) / 2 / 44100;
      EXPECT_GE(tonSekunden, a->dauer - a->bildLaenge - 0.01);
      EXPECT_LE(tonSekunden, a->dauer);
      // Heard in the middle, dying away at the end.
      EXPECT_GT(Lautheit(a->ton, 0.3, 0.7), 1000.0);
      EXPECT_LT(Lautheit(a->ton, 0.97, 1.0), Lautheit(a->ton, 0.3, 0.7) / 4);
      ASSERT_GE(a->bilder, 10);
      // From black, to black; between them, bright, and never the same picture twice.
      const double hellste = *std::max_element(a->helligkeit.begin(), a->helligkeit.end());
      EXPECT_LT(a->helligkeit.front(), 2.0);
      EXPECT_LT(a->helligkeit.back(), 2.0);
      EXPECT_GT(hellste, 30.0);
      for (int i = 1; i < a->bilder - 1; ++i)
        EXPECT_TRUE(a->bewegt[static_cast<size_t>(i)]) << "picture " << i << " stands still";
    }
    // The small twin shows the same, smaller.
    EXPECT_EQ(klein.bilder, gross.bilder);
    ASSERT_EQ(klein.daumen.size(), gross.daumen.size());
    double abstand = 0;
    for (size_t i = 0; i < gross.daumen.size(); ++i) abstand += std::abs(gross.daumen[i] - klein.daumen[i]);
    EXPECT_LT(abstand / static_cast<double>(gross.daumen.size()), 4.0) << n << " and its twin differ";
    spaet[n] = gross.spaet;
  }
  // Where the three languages' pictures differ, their words stand: each language has
  // about as many bright letter pixels there as the others (none of them left blank,
  // as Cyrillic would be in a font without it).
  for (const std::string stamm : {"Intro", "Outro", "Outro2"}) {
    SCOPED_TRACE(stamm);
    const std::vector<uint32_t>* bilder[3] = {&spaet[stamm + "D"], &spaet[stamm + "E"], &spaet[stamm + "R"]};
    ASSERT_FALSE(bilder[0]->empty());
    ASSERT_TRUE(bilder[0]->size() == bilder[1]->size() && bilder[1]->size() == bilder[2]->size());
    auto gruen = [](uint32_t p) { return static_cast<int>(p >> 8 & 0xFF); };
    int hell[3] = {0, 0, 0};
    for (size_t i = 0; i < bilder[0]->size(); ++i) {
      const int g[3] = {gruen((*bilder[0])[i]), gruen((*bilder[1])[i]), gruen((*bilder[2])[i])};
      if (std::max({g[0], g[1], g[2]}) - std::min({g[0], g[1], g[2]}) < 40) continue;
      for (int l = 0; l < 3; ++l) hell[l] += g[l] > 150;
    }
    const int meiste = std::max({hell[0], hell[1], hell[2]});
    EXPECT_GT(meiste, 200);
    for (int l = 0; l < 3; ++l) EXPECT_GT(hell[l], meiste / 3) << "DER"[l] << " has few letters";
  }
}

}  // namespace
