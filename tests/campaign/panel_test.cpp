// The in-game display: the scores rolling toward the real ones, the extra lives on the
// summed scores, the combo counter and its ticker line, where the digits and gauges land
// (with pictures painted by code), and reference frames of the whole panel as the demo
// data draws it for each ship type and for two players.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/panel.hpp"
#include "campaign/panel_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "support/support.hpp"
#include "world/game_pictures.hpp"
#include "world/pictures_state.hpp"
#include "world/standard_pictures.hpp"

namespace {

using platform::PixelFormat;

// A picture of one colour all over, keyed black.
int32_t Farbe(int w, int h, uint32_t rgb) {
  return testsupport::PaintedPicture(w, h, PixelFormat::XRGB8888, true, [rgb](int, int) { return 0xFF000000u | rgb; });
}
// The colour of digit d: one that no other digit has.
uint32_t ZiffernFarbe(int d) { return 0x100000u * static_cast<uint32_t>(d + 1) + 0x40; }

class Anzeige : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    testsupport::OpenDisplay(PixelFormat::XRGB8888);
    SoundAn = false;
    VoodooModus = ForceModus = false;
    LetzterSpieler = 0;
    AnzeigePunkte = {0, 0};
    ComboAnzeige = ComboZeit = ComboLetzte = ComboPunkte = 0;
    ComboTreffer = ComboBonus = {0, 0};
  }
  void TearDown() override {
    testsupport::CloseDisplay();
    testsupport::FreshState();
    LetzterSpieler = 0;
  }
  // One tick, with the back buffer black before it.
  static void Tick(bool gezeichnet = true) {
    BackBuffer->BltColorFill(nullptr, 0);
    Rendern = gezeichnet;
    SpielDisplay();
  }
  static uint32_t Px(int x, int y) { return testsupport::BackBufferPixel(x, y); }
  // The first and one past the last column of row y that are not black, in x0..x1.
  static std::array<int, 2> Spalten(int y, int x0, int x1) {
    std::array<int, 2> r{-1, -1};
    for (int x = x0; x < x1; ++x)
      if (Px(x, y) != 0) {
        if (r[0] < 0) r[0] = x;
        r[1] = x + 1;
      }
    return r;
  }
};

// The shown score steps toward the real one: far off in big steps, single points at the
// end; downward in the mirrored steps. Each row is the step taken at that gap.
TEST_F(Anzeige, TheShownScoreRollsInStepsByTheGap) {
  const std::vector<std::array<int32_t, 2>> faelle = {
      {25000, 5111}, {10001, 5111}, {10000, 511}, {1001, 511},  {1000, 51},      {101, 51},    {100, 11},
      {12, 11},      {11, 1},       {1, 1},       {0, 0},       {-1, -1},        {-11, -1},    {-12, -9},
      {-100, -9},    {-101, -99},   {-1000, -99}, {-1001, -999}, {-10000, -999}, {-10001, -9999}};
  for (const auto& [luecke, schritt] : faelle) {
    AnzeigePunkte[0] = 50000;
    Spieler[0].Punkte = 50000 + luecke;
    Tick(false);  // the score rolls in frames that are not drawn too
    EXPECT_EQ(AnzeigePunkte[0] - 50000, schritt) << "gap " << luecke;
  }
}

TEST_F(Anzeige, AJumpOf25000RollsUpInFallingSteps) {
  Spieler[0].Punkte = 25000;
  std::vector<int32_t> schritte;
  for (int i = 0; i < 200 && AnzeigePunkte[0] != 25000; ++i) {
    const int32_t vorher = AnzeigePunkte[0];
    Tick();
    if (schritte.empty() || schritte.back() != AnzeigePunkte[0] - vorher) schritte.push_back(AnzeigePunkte[0] - vorher);
    if (i == 2) {
      EXPECT_EQ(25000 - AnzeigePunkte[0], 9667);
    }
  }
  EXPECT_EQ(AnzeigePunkte[0], 25000);
  EXPECT_EQ(schritte, (std::vector<int32_t>{5111, 511, 51, 11, 1}));
  // The second player's score rolls only in a two-player game.
  Spieler[1].Punkte = 500;
  Tick();
  EXPECT_EQ(AnzeigePunkte[1], 0);
  LetzterSpieler = 1;
  Tick();
  EXPECT_EQ(AnzeigePunkte[1], 51);
}

// Extra lives on the hundred-thousands of each score, summed: one per threshold, the next
// threshold twice as far, none while the last one's effect runs.
TEST_F(Anzeige, ExtraLivesComeOnTheSummedHundredThousands) {
  struct Fall {
    const char* was;
    int32_t letzter, punkte0, punkte1;
    int16_t schwelle;
    int32_t zeit;
    int32_t leben, schwelleDanach;
  };
  for (const Fall& f : {
           Fall{"just below", 0, 299999, 0, 3, 0, 3, 3},
           Fall{"at the threshold", 0, 300000, 0, 3, 0, 4, 6},
           Fall{"the second player's score alone counts only with two", 0, 100000, 900000, 3, 0, 3, 3},
           Fall{"150,000 + 160,000: one plus one", 1, 150000, 160000, 3, 0, 3, 3},
           Fall{"200,000 + 100,000", 1, 200000, 100000, 3, 0, 4, 6},
           Fall{"while the last one's ring runs", 0, 900000, 0, 6, 5, 3, 6},
           Fall{"the threshold held at the 16-bit top", 1, 2147483647, 2147483647, 32767, 0, 4, 32767},
       }) {
    SCOPED_TRACE(f.was);
    LetzterSpieler = f.letzter;
    Spieler[0].Leben = 3;
    Spieler[0].Punkte = f.punkte0;
    Spieler[1].Punkte = f.punkte1;
    ExtraLebenSchwelle = f.schwelle;
    ExtraLebenZeit = f.zeit;
    Tick();
    EXPECT_EQ(Spieler[0].Leben, f.leben);
    EXPECT_EQ(ExtraLebenSchwelle, f.schwelleDanach);
  }
}

// 1,200,000 points at once: the lives come one by one, 50 frames apart, drawn or not.
TEST_F(Anzeige, ExtraLivesComeFiftyFramesApart) {
  Spieler[0].Leben = 3;
  Spieler[0].Punkte = 1200000;
  std::vector<int> neu;
  for (int i = 0; i < 200; ++i) {
    const int32_t vorher = Spieler[0].Leben;
    Tick(i % 2 == 0);
    if (Spieler[0].Leben != vorher) neu.push_back(i);
  }
  EXPECT_EQ(neu, (std::vector<int>{0, 50, 100}));
  EXPECT_EQ(ExtraLebenSchwelle, 24);
}

// The lives count from 0 to 9: more shows 9, fewer than none show 0.
TEST_F(Anzeige, TheLivesDigitShowsZeroToNine) {
  for (int d = 0; d <= 9; ++d) TexLeben[d] = Farbe(12, 16, ZiffernFarbe(d));
  for (const auto& [leben, ziffer] : std::vector<std::array<int32_t, 2>>{{0, 0}, {3, 3}, {9, 9}, {12, 9}, {-1, 0}}) {
    Spieler[0].Leben = leben;
    Tick();
    EXPECT_EQ(Px(122, 555), ZiffernFarbe(ziffer)) << leben;
    EXPECT_EQ(Px(133, 570), ZiffernFarbe(ziffer)) << leben;
    EXPECT_EQ(Px(134, 555), 0u);
  }
  // A new life: the digit drawn 100 pixels larger all round, shrinking to its size.
  Spieler[0].Leben = 12;
  Spieler[0].Punkte = 300000;
  Tick();
  EXPECT_EQ(Px(122 - 95, 555 - 95), ZiffernFarbe(9));
}

// 12,345 in the one-player layout: five digits of 8 pixels centred on x 743, the first
// at 731, the last at 763; the two-player rows centred on 740.
TEST_F(Anzeige, ScoreDigitsAreCentredOnTheirPlace) {
  for (int d = 0; d <= 9; ++d) TexZiffer[d] = Farbe(8, 10, ZiffernFarbe(d));
  struct Fall {
    int32_t letzter, spieler, punkte, y;
    std::vector<std::array<int, 2>> ziffern;  // x of the digit, digit
  };
  for (const Fall& f : {Fall{0, 0, 12345, 578, {{731, 1}, {739, 2}, {747, 3}, {755, 4}, {763, 5}}},
                        Fall{0, 0, 7, 578, {{747, 7}}},
                        Fall{1, 0, 90, 565, {{740, 9}, {748, 0}}},
                        Fall{1, 1, 1000000, 581, {{720, 1}, {768, 0}}}}) {
    SCOPED_TRACE(f.punkte);
    LetzterSpieler = f.letzter;
    AnzeigePunkte[f.spieler] = Spieler[f.spieler].Punkte = f.punkte;
    Tick();
    for (const auto& [x, d] : f.ziffern) {
      EXPECT_EQ(Px(x, f.y), ZiffernFarbe(d)) << x;
      EXPECT_EQ(Px(x + 7, f.y + 9), ZiffernFarbe(d)) << x;
    }
    const int breite = static_cast<int>(std::to_string(f.punkte).size()) * 8;
    EXPECT_EQ(Spalten(f.y, 600, 800)[1] - Spalten(f.y, 600, 800)[0], breite);
    AnzeigePunkte[f.spieler] = Spieler[f.spieler].Punkte = 0;
  }
}

// Each gauge is the part of its picture its value asks for, never more than the picture
// and never less than nothing: energy above the maximum (after a gate) is a full bar, a
// maximum rounding to 0 an empty one.
TEST_F(Anzeige, GaugesShowTheirShareOfThePicture) {
  TexAnzeigeEnergie = Farbe(100, 6, 0x00FF00);
  TexAnzeigeBeam = {Farbe(165, 4, 0x0000FF), Farbe(165, 4, 0xFF0000)};
  TexAnzeigeS = Farbe(10, 30, 0xFFFF00);
  TexAnzeigeP = Farbe(30, 5, 0x00FFFF);
  struct Fall {
    const char* was;
    float energie, max, ladung, speed;
    int32_t stufe;
    int energieBreite, ladungBreite, speedHoehe, kanoneBreite;
  };
  for (const Fall& f : {
           Fall{"half", 50, 100, 82.5f, 7, 2, 50, 82, 15, 15},
           Fall{"full", 100, 100, 165, 10, 3, 100, 165, 30, 30},
           Fall{"empty", 0, 100, 0, 4, 1, -1, -1, 0, -1},
           Fall{"above the top", 180, 100, 200, 12, 3, 100, 165, 30, 30},
           Fall{"below the bottom", -20, 100, -5, 2, 0, -1, -1, 0, -1},
           Fall{"a maximum rounding to 0", 50, 0.4f, 1, 5, 1, -1, 1, 5, -1},
       }) {
    SCOPED_TRACE(f.was);
    SpielerDaten& s = Spieler[0];
    s.Energie = f.energie;
    s.EnergieMax = f.max;
    s.Speed = f.speed;
    s.Waffenstufe = f.stufe;
    Beam[0].Ladung = f.ladung;
    Tick();
    auto breite = [&](int y, int x0, int x1) {
      const auto [a, b] = Spalten(y, x0, x1);
      return a < 0 ? -1 : b - a;
    };
    EXPECT_EQ(breite(558, 140, 400), f.energieBreite);
    EXPECT_EQ(breite(580, 160, 400), f.ladungBreite);
    EXPECT_EQ(breite(567, 580, 620), f.kanoneBreite);
    // The speed gauge fills from the bottom of its place.
    int hoehe = 0;
    for (int y = 540; y < 600; ++y) hoehe += Px(625, y) != 0;
    EXPECT_EQ(hoehe, f.speedHoehe);
    if (f.speedHoehe > 0) {
      EXPECT_EQ(Px(625, 565 + 30 - f.speedHoehe), 0xFFFF00u);
    }
  }
}

// The empty energy and beam bars show behind the filled parts, of the beam mode selected;
// with force feedback on (`ForceModus`) they are not drawn.
TEST_F(Anzeige, EmptyBarsShowOnlyWithoutForceModus) {
  TexAnzeigeEnergie = Farbe(100, 6, 0x00FF00);
  TexAnzeigeEnergieA = Farbe(100, 6, 0xFF0000);
  TexAnzeigeBeam = {Farbe(165, 4, 0x0000FF), Farbe(165, 4, 0x0000FF)};
  TexAnzeigeBeamA = {Farbe(165, 4, 0x800000), Farbe(165, 4, 0x008000)};
  Spieler[0].Energie = 50;
  Beam[0].Ladung = 82.5f;
  for (const auto& [force, modus, energieLeer, beamLeer] :
       std::vector<std::tuple<bool, int32_t, uint32_t, uint32_t>>{
           {false, 0, 0xFF0000, 0x800000}, {false, 1, 0xFF0000, 0x008000}, {true, 0, 0, 0}}) {
    ForceModus = force;
    Beam[0].Modus = modus;
    Tick();
    EXPECT_EQ(Px(152 + 20, 558), 0x00FF00u);
    EXPECT_EQ(Px(152 + 90, 558), energieLeer) << force;
    EXPECT_EQ(Px(170 + 20, 579), 0x0000FFu);
    EXPECT_EQ(Px(170 + 150, 579), beamLeer) << force << modus;
  }
}

// Combos of player one: one hit shows nothing and tells nothing; from two hits on the
// label and count show while it runs and a while after, and its end goes to the ticker.
TEST_F(Anzeige, CombosShowFromTwoHitsAndEndInTheTicker) {
  TexCombo = Farbe(40, 12, 0xFFFFFF);
  for (int d = 0; d <= 9; ++d) TexZiffer[d] = Farbe(8, 10, ZiffernFarbe(d));
  struct Fall {
    std::vector<int32_t> treffer;  // the hits of each tick, then the combo ends
    int32_t bonus;
    bool gezeigt;
    std::string meldung;
  };
  // The one-hit combo comes last: after a display that a frame not drawn ended, the old
  // count must not come back with it.
  for (const Fall& f : {Fall{{1, 2, 2, 2}, 300, true, "Combo: 2 Hit 300"},
                        Fall{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 4321, true, "Combo: 12 Hit 4321"},
                        Fall{{1, 1, 1}, 50, false, ""}}) {
    SCOPED_TRACE(f.treffer.size());
    ResetTicker();
    TickerLeer = false;
    Spieler[0].BesteComboTreffer = Spieler[0].BesteComboBonus = 0;
    bool gezeigt = false;
    for (int32_t h : f.treffer) {
      ComboTreffer[0] = h;
      ComboBonus[0] = f.bonus * h / f.treffer.back();
      for (int i = 0; i < 12; ++i) {
        Tick();
        gezeigt = gezeigt || Px(731, 521) == 0xFFFFFFu;
      }
    }
    ComboTreffer[0] = ComboBonus[0] = 0;
    Tick();
    EXPECT_EQ(Spieler[0].BesteComboTreffer, f.treffer.back());
    EXPECT_EQ(Spieler[0].BesteComboBonus, f.bonus);
    const bool danach = Px(731, 521) == 0xFFFFFFu;
    EXPECT_EQ(gezeigt, f.gezeigt);
    EXPECT_EQ(danach, f.gezeigt);
    if (f.gezeigt) {
      // The count right-aligned before the label, the bonus at the screen's edge.
      const std::string n = std::to_string(f.treffer.back()), b = std::to_string(f.bonus);
      EXPECT_EQ(Px(721 - 9, 521), ZiffernFarbe(n.back() - '0'));
      EXPECT_EQ(Px(721 - 9 * static_cast<int>(n.size()), 521), ZiffernFarbe(n.front() - '0'));
      EXPECT_EQ(Px(800 - 9, 536), ZiffernFarbe(b.back() - '0'));
    }
    const std::vector<std::string> soll = f.meldung.empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{f.meldung};
    EXPECT_EQ(MessageHistory.Zeilen, soll);
    // It stays for 100 frames; a frame that is not drawn ends it at once.
    if (f.gezeigt) {
      Tick(false);
      Tick();
      EXPECT_EQ(Px(731, 521), 0u);
    }
    for (int i = 0; i < 110; ++i) Tick();
    EXPECT_EQ(Px(731, 521), 0u);
    EXPECT_EQ(ComboAnzeige, 0);
  }
}

// ---- Reference frames ---------------------------------------------------------------------------

// The panel with the demo data's pictures, for one ship type or two players: scores,
// part-filled gauges, pods or the satellite, a running combo.
class AnzeigeBild : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDataFolder daten;  // the picture loaders log

  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    testsupport::OpenDisplay(PixelFormat::XRGB8888);
    AppPfad = platform::fs::ProgramFolder();
    ASSERT_TRUE(platform::fs::FileExists(AppPfad + "Data/Spiel.vkp")) << "no demo data in " << AppPfad;
    SoundAn = false;
    VoodooModus = ForceModus = false;
    LetzterSpieler = 0;
  }
  void TearDown() override {
    testsupport::CloseDisplay();
    testsupport::FreshState();
    LetzterSpieler = 0;
  }
};

TEST_F(AnzeigeBild, ThePanelOfEachShipTypeAndOfTwoPlayers) {
  struct Fall {
    const char* name;
    int32_t letzter, typ;
  };
  for (const Fall& f : {Fall{"panel_ship0", 0, 0}, Fall{"panel_ship1", 0, 1}, Fall{"panel_ship2", 0, 2},
                        Fall{"panel_two_players", 1, 0}, Fall{"panel_two_players_ship1", 1, 1}}) {
    SCOPED_TRACE(f.name);
    LetzterSpieler = f.letzter;
    Schiff[0].Typ = f.typ;
    LoadStandartSurfaces();
    LoadSpielSurfaces();
    ASSERT_EQ(Spielstatus, 0);
    for (int32_t p = 0; p <= f.letzter; ++p) {
      SpielerDaten& s = Spieler[p];
      AnzeigePunkte[p] = s.Punkte = p == 0 ? 12345 : 908070;
      s.Leben = 4;
      s.Energie = p == 0 ? 70 : 35;
      s.Speed = p == 0 ? 7 : 9;
      s.Waffenstufe = p == 0 ? 2 : 3;
      s.Zweitwaffe = p == 0 ? 2 : 3;
      s.Pod = 0;
      Beam[p].Ladung = p == 0 ? 110 : 40;
      Beam[p].Modus = Beam[p].AktivModus = static_cast<int16_t>(p);
    }
    Pods = {};
    Pods[0].Besitz = Pods[1].Besitz = VBTrue;
    Pods[0].Waffe = 2;
    Pods[0].Stufe = 2;
    Pods[1].Waffe = -1;
    Satellit.Da = VBTrue;
    Satellit.Spezialwaffe = 1;
    Satellit.Stufe = 1;
    Satellit.AnimFrame = 6;
    // With two players a life won 30 frames ago (its ring still fading); a combo of 7
    // hits rising.
    ExtraLebenSchwelle = 100;
    ExtraLebenZeit = f.letzter == 1 ? 20 : 0;
    ComboAnzeige = 6;
    ComboLetzte = ComboTreffer[0] = 7;
    ComboZeit = 6;
    ComboPunkte = ComboBonus[0] = 2450;
    BackBuffer->BltColorFill(nullptr, 0x203040);
    Rendern = true;
    RenderStart();
    SpielDisplay();
    RenderEnd();
    EXPECT_EQ(testsupport::CompareWithGoldenBmp(std::string("tests/campaign/golden/") + f.name + "_32.bmp",
                                                *BackBuffer, {0, 505, 800, 600}),
              "");
    SurfaceClear();
  }
}

}  // namespace
