// The first demo level loaded headless and its timeline run without ships: the waves
// appear on their ticks, the rocks scroll in from the right and leave on the left, and the
// level ends at its end tick.
#include <gtest/gtest.h>

#include <filesystem>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/program_state.hpp"
#include "shell/timing.hpp"
#include "shell/variabeln_state.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/background.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape.hpp"
#include "world/level_data_state.hpp"
#include "world/level.hpp"
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

TEST(LevelLauf, TheDemoLevelsTimelineRunsToItsEnd) {
  testsupport::IsolatedHome home;
  headless::Reset();
  testsupport::FreshState();
  SetConfigDefaults();
  FillSinTables();
  AppPfad = platform::fs::ProgramFolder();
  DatenPfad = AppPfad;
  SoundPfad = AppPfad + "Data/Sound/";
  DatenOrdner = home.dataDir();
  std::filesystem::create_directories(DatenOrdner);
  ASSERT_TRUE(platform::fs::FileExists(AppPfad + "Data/Level1.vlp"));
  FensterModus = true;
  platform::WindowDesc desc;
  desc.width = 800;
  desc.height = 600;
  desc.visible = true;
  Form1 = FensterHandle = platform::CreateWindow(desc, platform::DefWindowProc);
  ASSERT_NO_THROW(InitWindow());
  headless::QueueKeys({kSpace});
  ASSERT_FALSE(LadeDaten("Level1.vlp", ""));
  ASSERT_EQ(Spielstatus, 0);
  ASSERT_GT(LevelLaenge, 1000);

  // The level pass as the game loop starts it, then its world steps without the ships;
  // nothing is drawn.
  Rendern = false;
  LevelTick = 0;
  LevelEnde = 0;
  SpielPastTicks();
  int32_t ersteWelle = -1, meisteGegner = 0, felsenGesehen = 0;
  bool felsLinks = false;
  while (LevelEnde == 0 && LevelTick <= LevelLaenge + 1) {
    SpielTick();
    SpielMoveHintergrund();
    for (int32_t ebene : {0, 1, 2, 3, 5, 6}) SpielMoveLandschaft(ebene);
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

  SurfaceClear();
  Soundclear();
  ReleaseDisplay();
  platform::DestroyAllWindows();
  Form1 = Form3 = FensterHandle = 0;
}

}  // namespace
