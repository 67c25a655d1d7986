// The credits headless: the pause key held from the start, the sparkle rows at the screen's
// bottom and top edge, brightness by blue alone at both colour depths with the picture
// centred, and the music with the sound on and off.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/ogg.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/surfaces.hpp"
#include "frontend/credits.hpp"
#include "lib/archive_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/headless/headless.hpp"
#include "platform/mixer.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/particles_state.hpp"
#include "world/standard_pictures.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

constexpr int kEscape = 1;
constexpr int kBreite = 120, kHoehe = 40;  // the test picture: narrower than the screen
// Its rows: 6 bright blue, 12 pure red, 18 pure green, 24 dark blue, 30 white.
constexpr int kBlau = 6, kRot = 12, kGruen = 18, kDunkelblau = 24, kWeiss = 30;

// A sparkle made from a picture row: white, 60 across, where it was made.
struct Funke {
  int x, y;
  bool operator<(const Funke& o) const { return y != o.y ? y < o.y : x < o.x; }
  bool operator==(const Funke&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Funke& f) { return os << "(" << f.x << "," << f.y << ")"; }

class Abspann : public ::testing::TestWithParam<PixelFormat> {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir daten;
  std::set<Funke> funken;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    testsupport::UseDemoData(home.dataDir());
    testsupport::OpenDisplay(GetParam());
    LoadStandartSurfaces();
    SoundAn = false;
    Randomize(11);
    LetzterTick = 0;
    DInputPoll();
    // The credits picture comes from an archive of the test's own.
    tools::Image bild(kBreite, kHoehe);
    const std::pair<int, uint32_t> zeilen[] = {
        {kBlau, 0x3060FF}, {kRot, 0xFF0000}, {kGruen, 0x00FF00}, {kDunkelblau, 0x101060}, {kWeiss, 0xFFFFFF}};
    for (auto [y, farbe] : zeilen)
      for (int x = 0; x < kBreite; ++x) bild.at(x, y) = farbe;
    std::filesystem::create_directories(daten / "Data");
    testsupport::WriteBytes(daten / "Data/Logo.vkp", tools::PackArchive({{"Credits.bmp", tools::EncodeBmp24(bild)}}));
    AppPfad = daten.path();
  }
  void TearDown() override {
    CloseOgg();
    platform::audio::CloseDevice();
    testsupport::CloseDisplay();
  }

  // Collects the row sparkles from the pump on every millisecond of the run.
  void FunkenSammeln(uint64_t bis) {
    for (uint64_t t = 0; t < bis; ++t)
      headless::At(t, [this] {
        for (int k = 0; k <= BigPartikel.Max; ++k) {
          const BigPartikelDaten& p = BigPartikel[k];
          if (p.Aktiv && p.Art == 14 && p.G == 1.0f && p.Durchmesser == 60)
            funken.insert({static_cast<int>(p.x), static_cast<int>(p.y)});
        }
      });
  }
};

TEST_P(Abspann, APauseKeyHeldFromTheStartSkipsToTheScreenOut) {
  headless::QueueKeys({kEscape}, 1000);
  DInputPoll();
  const int32_t surfaces = SurfacesMax();
  ShowCredits();
  EXPECT_EQ(SurfacesMax(), surfaces);
  // The screen-out ignores the key and runs its 80 frames in full.
  EXPECT_EQ(LevelTick, 80);
  EXPECT_EQ(BigPartikel.Max, -1) << "nothing was drawn or sparkled";
}

TEST_P(Abspann, RowsSparkleAtTheBottomAndTopEdgeByTheirBlueAlone) {
  FunkenSammeln(20000);
  ShowCredits();
  // Every sixth column of a bright row, centred as the picture is.
  const int links = 400 - kBreite / 2;
  std::set<Funke> soll;
  for (int y : {570, -27})
    for (int x = 0; x < kBreite; x += 6) soll.insert({links + x - 30, y});
  std::map<int, int> jeZeile;
  for (const Funke& f : funken) ++jeZeile[f.y];
  // Rows 6 and 30 pass the sampled screen rows on ticks divisible by three; 12, 18 and 24
  // are red, green and dark blue: no sparkles, whatever else they hold.
  EXPECT_EQ(funken, soll) << "rows seen: " << jeZeile.size();
}

INSTANTIATE_TEST_SUITE_P(Farbtiefen, Abspann, ::testing::Values(PixelFormat::XRGB8888, PixelFormat::RGB565));

// With the sound on the music plays over the scroll and is faded and stopped after it;
// with it off nothing of the music is touched.
TEST(AbspannMusik, OnlyWithTheSoundOn) {
  testsupport::IsolatedHome home;
  for (const bool an : {false, true}) {
    SCOPED_TRACE(an);
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    testsupport::UseDemoData(home.dataDir());
    testsupport::OpenDisplay(PixelFormat::XRGB8888);
    LoadStandartSurfaces();
    LetzterTick = 0;
    SoundAn = an;
    std::string fehler;
    ASSERT_TRUE(platform::audio::OpenDevice(fehler));
    ASSERT_TRUE(InitOgg(0, 0));
    bool gespielt = false;
    headless::At(500, [&] { gespielt = OggIsPlaying() != 0; });
    headless::At(600, [] { headless::QueueKeys({kEscape}, 1); });
    ShowCredits();
    EXPECT_EQ(gespielt, an);
    EXPECT_EQ(OggIsPlaying(), 0);
    CloseOgg();
    platform::audio::CloseDevice();
    testsupport::CloseDisplay();
  }
}

}  // namespace
