// Awarding points: the share with two players, combos, rounding, shake and pop-ups; the
// pop-up pool when full; a pop-up's life, rise and digits.
#include "player/score.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "engine/display.hpp"
#include "engine/force.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "ship_support.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "world/pictures_state.hpp"
#include "world/upcalls.hpp"

namespace {

class Score : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    Rendern = false;
  }
  void TearDown() override {
    LetzterSpieler = 0;
    Rendern = true;
    testsupport::FreshState();
  }
  // The pop-ups that are showing, by value.
  static std::vector<int32_t> Popups() {
    std::vector<int32_t> werte;
    for (int32_t k = 0; k <= PunkteMax; ++k)
      if (PunkteAnzeigen[k].Aktiv != 0) werte.push_back(PunkteAnzeigen[k].Wert);
    return werte;
  }
};

}  // namespace

TEST_F(Score, AwardsByPlayersComboAndSize) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  struct Fall {
    const char* name;
    int32_t letzter;  // LetzterSpieler
    float faktor;
    int32_t treffer;  // ComboTreffer
    int32_t punkte;
    int32_t vorher;       // score before
    int32_t bonusVorher;  // ComboBonus before
    int32_t score;
    int32_t bonus;
    std::optional<int32_t> popup;
    int32_t wackeln;  // added shake
  } faelle[] = {
      {"one player, 500", 0, 1.0f, 0, 500, 0, 0, 500, 0, {}, 0},
      {"two players share 1500", 1, 1.0f, 0, 1500, 0, 0, 1000, 0, 1500, 3},
      {"combo 1.5 scores 150 with a bonus of 50", 0, 1.5f, 1, 100, 0, 0, 150, 50, 150, 0},
      {"the bonus grows over the combo", 0, 1.5f, 4, 100, 150, 50, 300, 100, 150, 0},
      {"no combo hits clear the bonus", 0, 1.5f, 0, 100, 0, 70, 150, 0, 150, 0},
      {"two players share the combo bonus", 1, 2.0f, 2, 300, 0, 0, 400, 200, 600, 0},
      {"a half rounds to even, down", 0, 1.5f, 0, 3, 0, 0, 4, 0, 4, 0},
      {"a half rounds to even, up", 0, 1.5f, 0, 5, 0, 0, 8, 0, 8, 0},
      {"two thirds of a point round up", 1, 1.0f, 0, 1, 0, 0, 1, 0, {}, 0},
      {"999 shows no pop-up", 1, 1.0f, 0, 999, 0, 0, 666, 0, {}, 0},
      {"1000 shows one, but does not shake", 0, 1.0f, 0, 1000, 0, 0, 1000, 0, 1000, 0},
      {"1999 shakes three frames", 0, 1.0f, 0, 1999, 0, 0, 1999, 0, 1999, 3},
      {"2500 shakes five", 0, 1.0f, 0, 2500, 0, 0, 2500, 0, 2500, 5},
      {"a negative award shows nothing", 0, 1.5f, 0, -100, 500, 0, 350, 0, {}, 0},
      {"the score stops at the largest number", 0, 1.0f, 0, 1000, kMax - 10, 0, kMax, 0, 1000, 0},
      {"the bonus stops there too", 0, 3.0f, 1, 1000000000, 0, kMax - 5, kMax, kMax, kMax, 2000000},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    testsupport::FreshState();
    LetzterSpieler = f.letzter;
    ComboFaktor[0] = f.faktor;
    ComboTreffer[0] = f.treffer;
    ComboBonus[0] = f.bonusVorher;
    Spieler[0].Punkte = f.vorher;
    Erschuetterung = 7;
    AddPunkte(f.punkte, 300, 200, -1.0f, 0);
    EXPECT_EQ(Spieler[0].Punkte, f.score);
    EXPECT_EQ(ComboBonus[0], f.bonus);
    EXPECT_EQ(Erschuetterung, 7 + f.wackeln);
    EXPECT_EQ(Popups(), f.popup ? std::vector<int32_t>{*f.popup} : std::vector<int32_t>{});
    EXPECT_EQ(Spieler[1].Punkte, 0);
  }
}

TEST_F(Score, NobodyScoresOutsideThePlayersAndTheWorldAwardsThroughItsUpCall) {
  for (int32_t niemand : {-1, 2}) AddPunkte(5000, 0, 0, 0, niemand);
  EXPECT_EQ(Spieler[0].Punkte + Spieler[1].Punkte, 0);
  EXPECT_EQ(PunkteMax, -1);
  upcall::AddPunkte(300, 0, 0, 0, 1);
  EXPECT_EQ(Spieler[1].Punkte, 300);
}

TEST_F(Score, APopupLivesThirtyFramesInAPoolOf101) {
  for (int i = 0; i < 101; ++i) AddPunkte(1000, 100, 204, -1.0f, 0);  // shown at y 200
  AddPunkte(1000, 100, 100, 0, 0);
  EXPECT_EQ(Spieler[0].Punkte, 102000);  // a full pool still scores
  EXPECT_EQ(Popups().size(), 101u);
  KillPunkte(40);
  EXPECT_EQ(PunkteFrei, 40);
  AddPunkte(1234, 321.5f, 300, 0.5f, 0);
  EXPECT_EQ(PunkteFrei, 41);
  const PunkteAnzeige& a = PunkteAnzeigen[40];
  EXPECT_EQ(std::vector<float>({a.X, a.Y, a.SpeedY, float(a.Alter), float(a.Wert)}),
            std::vector<float>({321.5f, 296, 0.5f, 0, 1234}));

  for (int frame = 1; frame <= 29; ++frame) SpielMovePunkte();
  EXPECT_EQ(Popups().size(), 101u);
  SpielMovePunkte();
  EXPECT_EQ(Popups().size(), 0u);
  EXPECT_EQ(PunkteAnzeigen[0].Y, 170.0f);  // 30 pixels up
  EXPECT_EQ(PunkteAnzeigen[40].Y, 311.0f);
  EXPECT_EQ(PunkteMax, -1);
  EXPECT_EQ(PunkteFrei, 0);
}

TEST_F(Score, TheDigitsStandRightAlignedEightPixelsApart) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  // Digit n: a 6 x 8 block of its own colour.
  for (int n = 0; n < 10; ++n) {
    const uint32_t farbe = 0xFF000000u | static_cast<uint32_t>(20 * (n + 1)) << 16 | 0x40u;
    TexZiffer[n] = shiptest::Picture(6, 8, [farbe](int, int) { return farbe; });
  }
  auto ziffer = [](int x, int y) -> int {
    const uint32_t c = testsupport::BackBufferPixel(x, y);
    return c == 0 ? -1 : static_cast<int>((c >> 16) / 20) - 1;
  };
  struct Fall {
    int32_t punkte;
    float faktor;
    std::string erwartet;  // the digit at x = 92, 100, .., 196 (one per 8 pixels); '.' none
  } faelle[] = {
      {1500, 1.0f, "..........1500"},
      {0, 1.5f, ".............0"},
      {1000000, 1.0f, ".......1000000"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.erwartet);
    BackBuffer->BltColorFill(nullptr, 0);
    PunkteAnzeigen.Reset();
    ComboFaktor[0] = f.faktor;
    AddPunkte(f.punkte, 200, 104, 0, 0);
    SpielMovePunkte();
    std::string gezeigt;
    for (int x = 93; x <= 197; x += 8) {
      const int z = ziffer(x, 101);
      gezeigt += z < 0 ? '.' : static_cast<char>('0' + z);
    }
    EXPECT_EQ(gezeigt, f.erwartet);
  }
  // A pop-up holding a negative number (from an old checkpoint) shows nothing, and still
  // ages.
  BackBuffer->BltColorFill(nullptr, 0);
  PunkteAnzeigen.Reset();
  PunkteAnzeigen.Add(PunkteAnzeige{.X = 200, .Y = 100, .Wert = -15});
  SpielMovePunkte();
  for (int x = 150; x < 200; ++x) EXPECT_EQ(testsupport::BackBufferPixel(x, 101), 0u) << x;
  EXPECT_EQ(PunkteAnzeigen[0].Alter, 1);
  TexZiffer.fill(-1);
  testsupport::CloseDisplay();
}
