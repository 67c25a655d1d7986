// The first demo level loaded headless and its world run without ships: the waves appear
// on their ticks, the rocks scroll in from the right and leave on the left, the level ends
// at its end tick; and with the enemies and their shots running, a seeded trace of the
// counts per tick stays what it was when it was recorded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/background.hpp"
#include "world/enemies.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots.hpp"
#include "world/landscape.hpp"
#include "world/level.hpp"
#include "world/level_data_state.hpp"
#include "world/level_loading.hpp"
#include "world/timeline.hpp"

namespace headless = platform::headless;

namespace {

constexpr int kSpace = 57;

int32_t AktiveGegner() {
  int32_t n = 0;
  for (int32_t i = 0; i <= GegnerMax; ++i) n += GegnerListe[i].Aktiv != 0;
  return n;
}

class LevelLauf : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    ASSERT_NO_THROW(testsupport::StartWithDemoData(home.dataDir()));
    ASSERT_TRUE(platform::fs::FileExists(AppPfad + "Data/Level1.vlp"));
    headless::QueueKeys({kSpace});
    ASSERT_FALSE(LadeDaten("Level1.vlp", ""));
    ASSERT_EQ(Spielstatus, 0);
    ASSERT_GT(LevelLaenge, 1000);
    // The level pass as the game loop starts it; nothing is drawn.
    Rendern = false;
    LevelTick = 0;
    LevelEnde = 0;
    SpielPastTicks();
  }
  void TearDown() override { testsupport::CloseGameWindow(); }
  // The world steps of one tick that need no ships.
  static void Welt() {
    SpielTick();
    SpielMoveHintergrund();
    for (int32_t ebene : {0, 1, 2, 3, 5, 6}) SpielMoveLandschaft(ebene);
  }
};

TEST_F(LevelLauf, TheDemoLevelsTimelineRunsToItsEnd) {
  int32_t ersteWelle = -1, meisteGegner = 0, felsenGesehen = 0;
  bool felsLinks = false;
  while (LevelEnde == 0 && LevelTick <= LevelLaenge + 1) {
    Welt();
    const int32_t n = AktiveGegner();
    if (n > 0 && ersteWelle < 0) ersteWelle = LevelTick - 1;
    meisteGegner = std::max(meisteGegner, n);
    const LandschaftEbene& felsen = Landschaft[3];
    for (int32_t i = 0; i <= felsen.Max; ++i) {
      if (!felsen.Objekte[i].Aktiv) continue;
      felsenGesehen = std::max(felsenGesehen, i + 1);
      felsLinks = felsLinks || felsen.Objekte[i].X < 100;
    }
  }
  // The first wave is on tick 200 of the level's logic layer.
  EXPECT_EQ(ersteWelle, 200);
  // Without routes running for them the enemies stay where they were placed, so every
  // wave of the level adds up.
  EXPECT_GE(meisteGegner, 10);
  EXPECT_GE(felsenGesehen, 1);
  EXPECT_TRUE(felsLinks);  // rocks have scrolled across the screen
  EXPECT_EQ(LevelEnde, 2);
  EXPECT_EQ(LevelTick, LevelLaenge);
  EXPECT_EQ(Spieler[0].Status, 1);  // the exit began 150 ticks before the end
}

int32_t AktiveSchuesse() {
  int32_t n = 0;
  for (int32_t i = 0; i <= GegnerSchuesse.Max; ++i) n += GegnerSchuesse[i].Aktiv != 0;
  return n;
}

// With the enemies following their routes and firing, every 20th tick's count of enemies
// and enemy shots (a fixed seed, the ships parked out of reach) is compared with the
// recorded trace; HARVO_RECORD=1 writes the trace anew.
TEST_F(LevelLauf, TheEnemiesAndTheirShotsFollowTheRecordedTrace) {
  Randomize(12345);
  for (SpielerDaten& s : Spieler) s.X = 100, s.Y = 280;
  std::ostringstream spur;
  while (LevelEnde == 0 && LevelTick <= LevelLaenge + 1) {
    Welt();
    SpielMoveEnemy();
    SpielGegnerSchussErzeugen();
    SpielMoveGegnerS();
    for (SpielerDaten& s : Spieler) s.Energie = 100, s.Tod = 0;  // the ships take no harm
    if (LevelTick % 20 == 0) spur << LevelTick << ' ' << AktiveGegner() << ' ' << AktiveSchuesse() << '\n';
  }
  const std::string datei = testsupport::SourceDir() + "/tests/world/golden/level1_trace.txt";
  if (std::getenv("HARVO_RECORD")) std::ofstream(datei) << spur.str();
  std::ifstream in(datei);
  std::stringstream soll;
  soll << in.rdbuf();
  EXPECT_EQ(spur.str(), soll.str());
  EXPECT_NE(spur.str().find(" 1\n"), std::string::npos) << "the enemies never fired";
}

}  // namespace
