// The logo intro headless over the demo logos: the pause key held from the start, the
// logo at full strength right after the distortion (and faded in without it), the tables
// as they were; the distortion renderer undistorted at factor 0, its border and middle
// lines fixed at any factor, and a reference frame of it; the picture-drop reset.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/logo.hpp"
#include "frontend/logo_state.hpp"
#include "platform/headless/headless.hpp"
#include "platform/mixer.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "support/support.hpp"
#include "world/pictures_state.hpp"
#include "world/standard_pictures.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

constexpr int kEscape = 1;
// A point inside the lettering of the Praxelworks logo, and its colour there.
constexpr int kX = 400, kY = 332;

class LogoIntro : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    FillSinTables();
    testsupport::UseDemoData(home.dataDir());
    SoundAn = false;
    ASSERT_NO_THROW(testsupport::OpenGameWindow());
    LoadStandartSurfaces();
    Randomize(5);
    Anfang();
  }
  // The virtual clock from 0, no key down.
  static void Anfang() {
    headless::Reset();
    LetzterTick = 0;
    DInputPoll();
  }
  void TearDown() override {
    platform::audio::CloseDevice();
    testsupport::CloseGameWindow();
  }
  static uint32_t Gezeigt(int x, int y) {
    const headless::RecordedFrame& f = headless::LastFrame();
    uint32_t p = 0;
    std::memcpy(&p, f.pixels.data() + static_cast<size_t>(y) * f.pitch + x * 4, 4);
    return p & 0xFFFFFF;
  }
};

TEST_F(LogoIntro, APauseKeyHeldFromTheStartShowsNothingAndLeavesTheTablesAsTheyWere) {
  std::string fehler;
  ASSERT_TRUE(platform::audio::OpenDevice(fehler)) << fehler;
  for (const bool praxelworks : {false, true}) {
    SCOPED_TRACE(praxelworks);
    SoundAn = praxelworks;
    Anfang();
    // Held at the last poll before the call.
    headless::QueueKeys({kEscape}, 100000);
    DInputPoll();
    const int32_t surfaces = SurfacesMax();
    const size_t archive = EntpackListe.size();
    ShowLogo("Logo.vkp", "Logo_praxelworks.bmp", 42, 30, false, praxelworks);
    EXPECT_EQ(SurfacesMax(), surfaces);
    EXPECT_EQ(EntpackListe.size(), archive);
    // Only the screen-out of the distortion variant draws, and it has no logo to show.
    EXPECT_EQ(headless::LastFrame().count, praxelworks ? 1 : 0);
    if (praxelworks) {
      EXPECT_EQ(Gezeigt(kX, kY), 0u);
      EXPECT_EQ(platform::audio::PlayingCount(), 0u) << "the logo sound is stopped at once";
    }
  }
}

// The first frames of the plain phase: the logo at full strength after the distortion,
// behind a nearly opaque black quad without it (the fade-in starts there).
TEST_F(LogoIntro, NoFadeInAfterTheDistortion) {
  for (const bool praxelworks : {false, true}) {
    SCOPED_TRACE(praxelworks);
    Anfang();
    Spielstatus = 0;
    std::optional<uint32_t> erstes;
    for (uint64_t t = 0; t < 4000; ++t)
      headless::At(t, [&] {
        if (!erstes && LevelTick > 91) erstes = Gezeigt(kX, kY);
        if (erstes) Spielstatus = 10;
      });
    ShowLogo("Logo.vkp", "Logo_praxelworks.bmp", 42, 30, false, praxelworks);
    ASSERT_TRUE(erstes);
    if (praxelworks)
      EXPECT_EQ(*erstes, 0x78FFA0u);
    else
      EXPECT_LT(*erstes >> 8 & 255, 0x20u) << "still almost black";
  }
}

TEST_F(LogoIntro, AWholeLogoRunsItsTicksAndGivesBackItsEntries) {
  const int32_t surfaces = SurfacesMax();
  ShowLogo("Logo.vkp", "Logo_umbrix.bmp", 4, 3, false, false);
  EXPECT_EQ(Spielstatus, 0);
  for (auto& d : headless::Dialogs())
    for (auto& [k, v] : d.fields) ADD_FAILURE() << k << v;
  EXPECT_EQ(SurfacesMax(), surfaces);
  // The shrinking fade ends 50 ticks after the plain phase.
  EXPECT_EQ(LevelTick, 4 + 3 + 50);
  // 7 plain frames, 50 shrinking ones.
  EXPECT_EQ(headless::LastFrame().count, 57);
}

TEST(DropEffekt, TheResetReleasesThePictures) {
  DropEffekt.Bild1 = platform::Surface::Create(8, 8, PixelFormat::XRGB8888);
  DropEffekt.Bild2 = platform::Surface::Create(8, 8, PixelFormat::XRGB8888);
  DropEffekt.Bereit = true;
  testsupport::FreshState();
  EXPECT_FALSE(DropEffekt.Bild1);
  EXPECT_FALSE(DropEffekt.Bild2);
  EXPECT_FALSE(DropEffekt.Bereit);
}

// The distortion renderer over a texture of 25 x 15 coloured cells (32 x 40 screen
// pixels each), so the lines through the screen's middle run through the cells' middles.
class Verzerrung : public ::testing::Test {
 protected:
  int32_t tex = -1;
  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    testsupport::OpenDisplay(PixelFormat::XRGB8888);
    tex = testsupport::PaintedPicture(25, 15, PixelFormat::XRGB8888, false, [](int x, int y) {
      return 0xFF000000u | static_cast<uint32_t>(x * 10) << 16 | static_cast<uint32_t>(y * 17) << 8 | 0x40u;
    });
  }
  void TearDown() override { testsupport::CloseDisplay(); }

  std::vector<uint32_t> Zeichne(float f, float f2) {
    BackBuffer->BltColorFill(nullptr, 0);
    RenderStart();
    RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 1, f, f2, tex, false);
    RenderEnd();
    std::vector<uint32_t> bild(800 * 600);
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) bild[static_cast<size_t>(y) * 800 + x] = testsupport::BackBufferPixel(x, y);
    return bild;
  }
  static uint32_t Zelle(int x, int y) {
    return static_cast<uint32_t>(x / 32 * 10) << 16 | static_cast<uint32_t>(y / 40 * 17) << 8 | 0x40u;
  }
};

TEST_F(Verzerrung, AtFactorZeroTheTextureLiesUndistorted) {
  const std::vector<uint32_t> bild = Zeichne(0, 0);
  size_t falsch = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      // Pixels on a cell's edge sample exactly between two cells.
      if (x % 32 == 0 || y % 40 == 0) continue;
      falsch += bild[static_cast<size_t>(y) * 800 + x] != Zelle(x, y);
    }
  EXPECT_EQ(falsch, 0u);
}

TEST_F(Verzerrung, TheBorderAndTheMiddleLinesNeverMove) {
  const std::vector<uint32_t> gerade = Zeichne(0, 0);
  for (const auto& [f, f2] : std::vector<std::pair<float, float>>{{0.3f, 0.3f}, {-0.5f, 0.2f}, {0.1f, -0.4f}}) {
    const std::vector<uint32_t> krumm = Zeichne(f, f2);
    auto gleich = [&](int x, int y) { return krumm[static_cast<size_t>(y) * 800 + x] == gerade[static_cast<size_t>(y) * 800 + x]; };
    for (int x = 1; x < 800; ++x) {
      if ((x + 2) % 32 < 4) continue;  // a hair's breadth from a cell's edge
      EXPECT_TRUE(gleich(x, 1) && gleich(x, 300) && gleich(x, 598)) << "column " << x;
    }
    for (int y = 1; y < 600; ++y) {
      if ((y + 2) % 40 < 4) continue;
      EXPECT_TRUE(gleich(1, y) && gleich(400, y) && gleich(798, y)) << "row " << y;
    }
    size_t anders = 0;
    for (size_t i = 0; i < krumm.size(); ++i) anders += krumm[i] != gerade[i];
    EXPECT_GT(anders, 50000u) << "the quarters bulge";
  }
}

TEST_F(Verzerrung, AReferenceFrameOfTheThreePasses) {
  BackBuffer->BltColorFill(nullptr, 0);
  RenderStart();
  RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 0.33f, SinTab[40] / 3, SinTab[200] / 2, tex, false);
  RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 0.33f, SinusB(40 + 17) / 4, SinusB(200 + 17) / 4, tex, true);
  RenderVerzerrt(0, 0, 800, 600, 20, 1, 1, 1, 0.33f, SinusB(34), SinusB(34), tex, true);
  RenderEnd();
  // Every fourth pixel each way: small to keep, and any fault of the grid still shows.
  platform::Surface klein(200, 150, PixelFormat::XRGB8888);
  ASSERT_EQ(klein.Blt(nullptr, BackBuffer.get(), nullptr, 0), 0);
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/frontend/golden/logo_distortion_32.bmp", klein, {0, 0, 200, 150}),
            "");
}

}  // namespace
