// The hidden show headless over the demo data: its end by Escape or a quit, the dots of
// the word and the heart, and reference frames of the word forming, the heart and the
// falling sparks with the text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "frontend/hidden_show.hpp"
#include "platform/headless/headless.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"
#include "world/particles_state.hpp"
#include "world/weather_state.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

constexpr int kEscape = 1;

class Vorstellung : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    FillSinTables();
    testsupport::UseDemoData(home.dataDir());
    LetzterTick = 0;
    ASSERT_NO_THROW(testsupport::OpenGameWindow());
    RndReset();  // the same sequence whatever ran before
    Randomize(5);
  }
  void TearDown() override {
    testsupport::CloseGameWindow();
    Spielstatus = 0;
  }

  static int Punkte(const std::array<const char*, 5>& zeilen) {
    int n = 0;
    for (const char* z : zeilen)
      for (const char* c = z; *c; ++c) n += *c == '.';
    return n;
  }
};

TEST_F(Vorstellung, EscapeHeldAtTheStartEndsItAfterTheSetUp) {
  headless::QueueKeys({kEscape}, 100000);
  DInputPoll();
  Justanothereffect();
  // Two screen-outs of 80 frames of 16 ms and the second of black between them.
  EXPECT_EQ(GetTickCount(), 80 * 16 + 1000 + 80 * 16);
  EXPECT_EQ(HintergrundModus, 4);
  EXPECT_EQ(BigPartikelMax, -1);  // no frame of the show ran
}

TEST_F(Vorstellung, AQuitEndsItAtTheNextFrame) {
  headless::At(80 * 16 + 1000 + 18 * 50, [] { Spielstatus = 10; });
  Justanothereffect();
  EXPECT_EQ(Spielstatus, 10);
  EXPECT_LE(GetTickCount(), 80 * 16 + 1000 + 18 * 52);
}

// Against a reference at half size, each pixel the mean of its 2 x 2.
std::string WieReferenz(const std::string& name) {
  platform::Surface klein(400, 300, PixelFormat::XRGB8888);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      uint32_t summe[3] = {};
      for (int v = 0; v < 4; ++v) {
        const uint32_t p = BackBuffer->GetPixel(2 * x + v % 2, 2 * y + v / 2);
        for (int k = 0; k < 3; ++k) summe[k] += p >> (16 - 8 * k) & 255;
      }
      klein.SetPixel(x, y, platform::PackPixel(klein.Format(), (summe[0] + 2) / 4, (summe[1] + 2) / 4, (summe[2] + 2) / 4));
    }
  return testsupport::CompareWithGoldenBmp("tests/frontend/golden/hidden_show_" + name + "_32.bmp", klein,
                                           {0, 0, 400, 300});
}

// One run of the show (it is slow to draw): the dots fly into the word and then the heart,
// the sparks begin, and the reference frames on the way.
TEST_F(Vorstellung, TheDotsFlyIntoTheWordThenTheHeart) {
  ASSERT_GE(Punkte(kShowWort), Punkte(kShowHerz));
  EXPECT_EQ(Punkte(kShowHerz), 24);
  for (const char* z : kShowWort) EXPECT_EQ(std::strlen(z), 20u) << z;

  HiddenShow s;
  ShowAufbauen(s);
  ASSERT_EQ(s.Letzter + 1, Punkte(kShowWort));
  EXPECT_EQ(LevelTick, 0);
  for (const ShowPunkt& p : s.Punkte) {
    EXPECT_TRUE(p.x >= -132 && p.x < 900 && p.y >= -132 && p.y < 700) << p.x << "," << p.y;
  }
  // The word's first dot: row 0, column 2.
  EXPECT_EQ(s.Punkte[0].tx, 74);
  EXPECT_EQ(s.Punkte[0].ty, 180);
  auto bis = [&s](int32_t t) {
    while (LevelTick < t) ShowBild(s);
  };
  bis(99);
  EXPECT_EQ(WieReferenz("99"), "");
  bis(399);
  // The word has formed, give or take the wobble.
  EXPECT_NEAR(s.Punkte[0].x, 74, 12);
  EXPECT_NEAR(s.Punkte[0].y, 180, 12);
  bis(400);
  // The heart, column by column: its first place is column 1 of row 1.
  EXPECT_EQ(s.Letzter, 23);
  EXPECT_EQ(s.Punkte[0].tx, 316);
  EXPECT_EQ(s.Punkte[0].ty, 266);
  EXPECT_EQ(s.Punkte[23].tx, 300 + 16 * 8);
  EXPECT_EQ(s.Punkte[23].ty, 266);
  bis(450);
  EXPECT_EQ(WieReferenz("450"), "");
  bis(600);
  EXPECT_EQ(BigPartikelMax, -1);
  bis(601);
  EXPECT_EQ(BigPartikelMax, 0);  // the first spark
  bis(900);
  EXPECT_EQ(WieReferenz("900"), "");
}

}  // namespace
