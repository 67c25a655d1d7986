// The level script: its keywords and arguments, which lines run, the walk through a
// campaign with its "Loading" notices and the ending by play-through, the run states and
// the single-level mode, and the demo campaign, whose every level loads.
#include "campaign/script.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/save_screen_state.hpp"
#include "campaign/special_events_state.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "lib/archive_writer.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln.hpp"
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
#include "world/enemies.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/landscape.hpp"
#include "world/level.hpp"
#include "world/timeline.hpp"

namespace headless = platform::headless;

namespace {

constexpr int kEscape = 1, kSpace = 57;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// What the script asked of the front end.
std::vector<std::pair<std::string, std::string>> gVideos;
int gCredits = 0;

}  // namespace

TEST(LevelSkriptZeilen, KeywordsByTheirLengthAndArgumentsWithoutOuterBlanks) {
  struct Fall {
    std::string zeile;
    SkriptArt art;
    std::string argument;
  } faelle[] = {
      {"Save", SkriptArt::Save, ""},
      {"SAVE the game", SkriptArt::Save, ""},  // anything may follow a keyword
      {"Play Intro.avi", SkriptArt::Play, "Intro.avi"},
      {"pLaY   Outro 2.avi   ", SkriptArt::Play, "Outro 2.avi"},
      {"Load Level2, Deep.bmp", SkriptArt::Load, "Level2, Deep.bmp"},
      {"loadLevel1", SkriptArt::Load, "Level1"},
      {"Loading", SkriptArt::Load, "ing"},  // a line that begins with "Loading" loads
      {"Load \tLevel1 ", SkriptArt::Load, "\tLevel1"},  // only blanks are trimmed
      {"Load", SkriptArt::Load, ""},
      {"Credits", SkriptArt::Credits, ""},
      {"credits roll", SkriptArt::Credits, ""},
      {"Credit", SkriptArt::Keine, ""},  // seven characters are compared
      {"Cred", SkriptArt::Keine, ""},
      {" Save", SkriptArt::Keine, ""},  // nothing may stand before the keyword
      {"\tLoad Level1", SkriptArt::Keine, ""},
      {"# Load Level1", SkriptArt::Keine, ""},
      {"Sav", SkriptArt::Keine, ""},
      {"", SkriptArt::Keine, ""},
  };
  for (const Fall& f : faelle) {
    const SkriptSchritt s = ErkenneZeile(f.zeile);
    EXPECT_EQ(s.Art, f.art) << '"' << f.zeile << '"';
    EXPECT_EQ(s.Argument, f.argument) << '"' << f.zeile << '"';
  }
}

TEST(LevelSkriptZeilen, ALoadLineNamesItsLevelAndPictureByTheFirstTwoFields) {
  struct Fall {
    std::string argument, level, bild;
  } faelle[] = {
      {"Level2, Deep.bmp", "Level2", "Deep.bmp"},
      {"Level2  ,  Deep.bmp", "Level2", "Deep.bmp"},
      {"Level2", "Level2", ""},  // no comma: no picture
      {"Level2,", "Level2", ""},
      {",Deep.bmp", "", "Deep.bmp"},
      {"Level2, Deep.bmp, Rest", "Level2", "Deep.bmp"},  // a third field is passed over
      {"", "", ""},
  };
  for (const Fall& f : faelle) {
    const LadeZiel z = LadeZielVon(f.argument);
    EXPECT_EQ(z.Level, f.level) << '"' << f.argument << '"';
    EXPECT_EQ(z.Bild, f.bild) << '"' << f.argument << '"';
  }
}

TEST(LevelSkriptZeilen, ALineRunsOnlyWhenAnotherFollowsIt) {
  struct Fall {
    std::string text;
    int32_t nummer;
    bool laeuft;
    std::string zeile;
  } faelle[] = {
      {"A\r\nB\r\n", 0, true, "A"},
      {"A\r\nB\r\n", 1, false, ""},  // the last line, ended or not
      {"A\r\nB", 1, false, ""},
      {"A\r\nB", 0, true, "A"},
      {"A\r\n\r\n", 0, true, "A"},  // an empty last line still follows
      {"A\r\n\r\nC", 1, true, ""},
      {"A\nB\nC\n", 1, true, "B"},  // LF alone or CR alone ends a line too
      {"A\rB\rC", 1, true, "B"},
      {"A", 0, false, ""},
      {"", 0, false, ""},
      {"A\r\nB\r\nC\r\n", 5, false, ""},  // beyond the end
      {"A\r\nB\r\n", -1, false, ""},      // a damaged position names no line
  };
  for (const Fall& f : faelle) {
    std::string zeile = "unverändert";
    const std::vector<uint8_t> text = Bytes(f.text);
    EXPECT_EQ(SkriptZeileLesen(text, f.nummer, zeile), f.laeuft) << f.nummer << " in " << testing::PrintToString(f.text);
    if (f.laeuft) {
      EXPECT_EQ(zeile, f.zeile) << f.nummer << " in " << testing::PrintToString(f.text);
    }
  }
}

namespace {

class LevelSkriptLauf : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir daten;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    SetConfigDefaults();
    FillSinTables();
    ResetSkriptStand();
    // The standard pictures of the credits come from the demo data beside the tests;
    // the script from a data folder of the test's own.
    testsupport::UseDemoData(home.dataDir());
    DatenPfad = daten.path();
    std::filesystem::create_directories(daten / "Data");
    ASSERT_NO_THROW(testsupport::OpenGameWindow());
    gVideos.clear();
    gCredits = 0;
    upcall::PlayAVIFile = [](const std::string& f, const std::string& a) { gVideos.emplace_back(f, a); };
    upcall::ShowCredits = [] { ++gCredits; };
    // The save screen of a "Save" line is left with Escape (pressed and let go) at once.
    NachSaveScreenBild = [] {
      if (LevelTick != 1 || headless::KeyReadsLeft() > 0) return;
      headless::QueueKeys({kEscape});
      headless::QueueKeys({});
    };
    // A wait that never ends fails the test instead of hanging it.
    headless::At(static_cast<uint64_t>(GetTickCount()) + 120000, [] { Spielstatus = 10; });
  }
  void TearDown() override {
    NachSaveScreenBild = nullptr;
    testsupport::CloseGameWindow();
    ResetSkriptStand();
  }

  void Skript(const std::string& text) {
    testsupport::WriteBytes(daten / "Data/Play.vkp", tools::PackArchive({{"Play.txt", Bytes(text)}}));
  }
  static bool NichtsEntpackt() { return !platform::fs::DirExists(GetTempFolder() + "Harvo"); }
};

using Videos = std::vector<std::pair<std::string, std::string>>;

}  // namespace

TEST_F(LevelSkriptLauf, ACampaignGoesFromLineToLineAndStopsAtEveryLevel) {
  Skript("Play Intro.avi\r\n"
         "load  Level1 ,  Dusk.bmp  \r\n"
         "Save\r\n"
         "# a comment\r\n"
         "\r\n"
         "LOADLevel2\r\n"
         "Credits\r\n"
         "the end\r\n");
  Spieler[0].Punkte = 1234;
  // A new game: the players start afresh before the first line.
  ASSERT_TRUE(LevelSkript());
  EXPECT_EQ(Spieler[0].Punkte, 0);
  EXPECT_EQ(gVideos, (Videos{{"Intro.avi", "Video.vkp"}}));
  EXPECT_EQ(LevelName, "Level1");
  EXPECT_EQ(SkriptStand.LadeBild, "Dusk.bmp");
  EXPECT_EQ(SkriptStand.SkriptZeile, 2);
  EXPECT_TRUE(NichtsEntpackt());

  // Going on: the save screen, the lines that are no step, the next level; the players
  // keep what they have.
  Spieler[0].Punkte = 500;
  ASSERT_TRUE(LevelSkript());
  EXPECT_EQ(Spieler[0].Punkte, 500);
  EXPECT_EQ(LevelName, "Level2");
  EXPECT_EQ(SkriptStand.LadeBild, "");
  EXPECT_EQ(SkriptStand.SkriptZeile, 6);

  // The ending of a first play-through, then the script runs out at its last line.
  Durchgang = 1;
  BesterDurchgang = 0;
  EXPECT_FALSE(LevelSkript());
  EXPECT_EQ(gVideos, (Videos{{"Intro.avi", "Video.vkp"}, {"OutroE.avi", "Video.vkp"}}));
  EXPECT_EQ(gCredits, 1);
  EXPECT_EQ(BesterDurchgang, 1);
  EXPECT_EQ(SkriptStand.SkriptZeile, 8);
  EXPECT_EQ(Spielstatus, 0);
  EXPECT_TRUE(NichtsEntpackt());
}

TEST_F(LevelSkriptLauf, TheEndingShowsTheSecondOutroAndTheEpilogueFromTheSecondPlayThrough) {
  struct Fall {
    int32_t durchgang, besterVorher;
    const char* sprache;
    const char* video;
    bool epilog;
    int32_t besterNachher;
  } faelle[] = {
      {1, 0, "E", "OutroE.avi", false, 1},
      {2, 1, "D", "Outro2D.avi", true, 2},
      {1, 3, "R", "Outro2R.avi", true, 3},  // a game loaded from an earlier play-through
      {5, 4, "E", "Outro2E.avi", true, 5},
  };
  Skript("Load Level1\r\nCredits\r\nthe end\r\n");
  for (const Fall& f : faelle) {
    gVideos.clear();
    gCredits = 0;
    SkriptStand.SkriptZeile = 1;  // a loaded game: the players stay as they are
    Durchgang = f.durchgang;
    BesterDurchgang = f.besterVorher;
    Sprache = f.sprache;
    LevelName = "Level1";
    SkriptStand.LadeBild = "Old.bmp";
    EXPECT_EQ(LevelSkript(), f.epilog) << f.video;
    EXPECT_EQ(gVideos, (Videos{{f.video, "Video.vkp"}}));
    EXPECT_EQ(gCredits, 1);
    EXPECT_EQ(BesterDurchgang, f.besterNachher);
    EXPECT_EQ(Durchgang, f.durchgang);
    if (f.epilog) {
      EXPECT_EQ(LevelName, "Epilog");
      EXPECT_EQ(SkriptStand.LadeBild, "");
      // After the epilogue the script goes on after its "Credits" line: it has run out.
      EXPECT_FALSE(LevelSkript());
      EXPECT_EQ(gCredits, 1);
    }
    EXPECT_EQ(SkriptStand.SkriptZeile, 3);
  }
}

TEST_F(LevelSkriptLauf, RunStatesAndTheSingleLevel) {
  struct Fall {
    const char* name;
    int32_t status;
    bool einzel;
    int32_t zeile;
    bool ergebnis;
    int32_t statusNachher;
    int32_t zeileNachher;
    bool einzelNachher;
  } faelle[] = {
      {"quitting", 10, false, 0, false, 10, 0, false},
      {"quitting before a single level", 10, true, 0, false, 10, 0, true},
      {"game over: back to the menu", 9, false, 4, false, 0, 4, false},
      {"a single level", 0, true, 0, true, 0, 10000, false},
      {"a single level after a loaded game", 0, true, 3, true, 0, 10000, false},
      {"after a single level", 0, false, 10000, false, 0, 10000, false},
      {"a position past the script's limit", 0, false, 12000, false, 0, 12000, false},
  };
  Skript("Load Other\r\nLoad Other\r\nLoad Other\r\nLoad Other\r\nLoad Other\r\nthe end\r\n");
  for (const Fall& f : faelle) {
    Spielstatus = f.status;
    SkriptStand.EinzelLevel = f.einzel;
    SkriptStand.SkriptZeile = f.zeile;
    SkriptStand.LadeBild = "Old.bmp";
    LevelName = "Level7";
    EXPECT_EQ(LevelSkript(), f.ergebnis) << f.name;
    EXPECT_EQ(Spielstatus, f.statusNachher) << f.name;
    EXPECT_EQ(SkriptStand.SkriptZeile, f.zeileNachher) << f.name;
    EXPECT_EQ(SkriptStand.EinzelLevel, f.einzelNachher) << f.name;
    EXPECT_EQ(LevelName, "Level7") << f.name;  // nothing of the script ran
    if (f.ergebnis) {
      EXPECT_EQ(SkriptStand.LadeBild, "") << f.name;
    }
    if (f.einzel && f.ergebnis) {
      EXPECT_FALSE(LevelSkript()) << f.name << ": the next call ends";
    }
  }
  EXPECT_TRUE(gVideos.empty());
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(LevelSkriptLauf, TheLastLineNeverRunsAndALoadedGameGoesOnAfterItsSaveLine) {
  Skript("Play Film.avi\r\nSave\r\nLoad Level3, Pic.bmp\r\nLoad Level4\r\n");
  // A loaded game saved at line 1 goes on with line 2; the players keep their scores.
  SkriptStand.SkriptZeile = 2;
  Spieler[0].Punkte = 700;
  ASSERT_TRUE(LevelSkript());
  EXPECT_EQ(LevelName, "Level3");
  EXPECT_EQ(SkriptStand.LadeBild, "Pic.bmp");
  EXPECT_EQ(Spieler[0].Punkte, 700);
  // "Load Level4" is the last line: the script ends there, without that level.
  EXPECT_FALSE(LevelSkript());
  EXPECT_EQ(LevelName, "Level3");
  EXPECT_EQ(SkriptStand.SkriptZeile, 4);
  EXPECT_TRUE(gVideos.empty());
}

TEST_F(LevelSkriptLauf, AQuitDuringAVideoStopsTheScriptBeforeItsNextLine) {
  Skript("Play Film.avi\r\nLoad Level2\r\nthe end\r\n");
  upcall::PlayAVIFile = [](const std::string& f, const std::string& a) {
    gVideos.emplace_back(f, a);
    Spielstatus = 10;
  };
  EXPECT_FALSE(LevelSkript());
  EXPECT_EQ(SkriptStand.SkriptZeile, 1);
  EXPECT_EQ(LevelName, "Level1");
  EXPECT_EQ(gVideos.size(), 1u);
}

TEST_F(LevelSkriptLauf, AScriptThatCannotBeReadEndsTheProgramWithAMessage) {
  // More than any script holds: there, but not read.
  const std::vector<uint8_t> riesig = tools::PackArchive({{"Play.txt", std::vector<uint8_t>((16 << 20) + 1, 'x')}});
  struct Fall {
    const char* sprache;
    bool da;             // Play.txt there, too large
    const char* meldung;  // UTF-8
  } faelle[] = {
      {"D", false, "Play.txt nicht gefunden"},
      {"E", false, "Play.txt not found"},
      {"R", false, "Play.txt не найден"},
      {"D", true, "Play.txt kann nicht gelesen werden"},
      {"E", true, "Play.txt cannot be read"},
      {"R", true, "Не удаётся прочитать Play.txt"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(std::string(f.sprache) + (f.da ? " too large" : " missing"));
    Spielstatus = 0;
    Sprache = f.sprache;
    const size_t vorher = headless::MessageBoxes().size();
    // Without Play.vkp in the data folder, Play.txt is missing.
    if (f.da)
      testsupport::WriteBytes(daten / "Data/Play.vkp", riesig);
    else
      std::filesystem::remove(daten / "Data/Play.vkp");
    EXPECT_FALSE(LevelSkript());
    EXPECT_EQ(Spielstatus, 10);
    ASSERT_EQ(headless::MessageBoxes().size(), vorher + 1);
    EXPECT_EQ(headless::MessageBoxes().back().text, f.meldung);
    EXPECT_TRUE(NichtsEntpackt());
  }
}

TEST_F(LevelSkriptLauf, TheLoadingNoticeShowsOverTheLastFrameBeforeAVideo) {
  struct Fall {
    const char* sprache;
    int links, rechts;  // where the notice's leftmost white column may lie
  } faelle[] = {{"E", 376, 379}, {"D", 376, 379}, {"R", 372, 375}};
  Skript("Play Film.avi\r\nthe end\r\n");
  for (const Fall& f : faelle) {
    Sprache = f.sprache;
    SkriptStand.SkriptZeile = 0;
    BackBuffer->BltColorFill(nullptr, 0x282828);
    const int vorher = headless::LastFrame().count;
    EXPECT_FALSE(LevelSkript());
    const headless::RecordedFrame& frame = headless::LastFrame();
    ASSERT_EQ(frame.count, vorher + 1) << f.sprache;
    ASSERT_EQ(frame.bitsPerPixel, 32);
    auto pixel = [&](int x, int y) {
      const uint8_t* p = frame.pixels.data() + static_cast<size_t>(y) * frame.pitch + static_cast<size_t>(x) * 4;
      return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    };
    // The white text, smoothed at its edges, over the grey frame.
    int hell = 0, links = 800;
    for (int y = 480; y < 520; ++y)
      for (int x = 360; x < 480; ++x)
        if ((pixel(x, y) & 0xFF) > 0xA0) ++hell, links = std::min(links, x);
    EXPECT_GT(hell, 50) << f.sprache;
    EXPECT_GE(links, f.links) << f.sprache;
    EXPECT_LE(links, f.rechts) << f.sprache;
    EXPECT_EQ(pixel(100, 100), 0x282828u) << f.sprache << ": the last frame stays under the notice";
    // After the video the back buffer is black.
    EXPECT_EQ(BackBuffer->GetPixel(100, 100) & 0xFFFFFF, 0u) << f.sprache;
    EXPECT_EQ(BackBuffer->GetPixel(400, 500) & 0xFFFFFF, 0u) << f.sprache;
  }
}

// The demo campaign as the program runs it in a second play-through: every level it
// names loads, with its loading picture, and the epilogue follows the credits.
TEST_F(LevelSkriptLauf, EveryLevelOfTheDemoCampaignLoads) {
  DatenPfad = AppPfad;
  BesterDurchgang = 1;  // the new game is the second play-through
  ASSERT_TRUE(platform::fs::FileExists(AppPfad + "Data/Play.vkp")) << "no demo data in " << AppPfad;
  std::vector<std::string> levels;
  while (LevelSkript()) {
    levels.push_back(LevelName + (SkriptStand.LadeBild.empty() ? "" : ", " + SkriptStand.LadeBild));
    headless::QueueKeys({kSpace});  // past the key wait of a loading picture
    EXPECT_FALSE(LadeDaten(LevelName + ".vlp", SkriptStand.LadeBild)) << LevelName;
    ASSERT_EQ(Spielstatus, 0) << LevelName << ": "
                              << (headless::MessageBoxes().empty() ? "" : headless::MessageBoxes().back().text);
    EXPECT_GT(LevelLaenge, 1000) << LevelName;
    ASSERT_LT(levels.size(), 10u);
  }
  EXPECT_EQ(levels, (std::vector<std::string>{"Level1", "Level2, Deep.bmp", "Epilog"}));
  EXPECT_EQ(gVideos, (Videos{{"Deep.avi", "Video.vkp"}, {"Outro2E.avi", "Video.vkp"}}));
  EXPECT_EQ(gCredits, 1);
  EXPECT_EQ(BesterDurchgang, 2);
  EXPECT_EQ(Spielstatus, 0);
}

// The new demo levels played headless without ships (parked out of reach, taking no
// harm): the second level's waves come, fire and leave again, its boss comes, fires and
// stays until the level ends; the epilogue's escort takes the ships out of the players'
// hands.
TEST_F(LevelSkriptLauf, TheSecondLevelAndTheEpilogueRunToTheirEnds) {
  struct Fall {
    const char* level;
    int32_t wenigsteGegner, meisteGegner;  // the most at one time lies between them
    bool boss, schuesse, spezial;
  } faelle[] = {{"Level2", 5, 20, true, true, false}, {"Epilog", 1, 1, false, false, true}};
  DatenPfad = AppPfad;
  for (const Fall& f : faelle) {
    Randomize(4711);
    ASSERT_FALSE(LadeDaten(std::string(f.level) + ".vlp", "")) << f.level;
    ASSERT_EQ(Spielstatus, 0) << f.level;
    VariabelnLösch();
    Rendern = false;
    LevelTick = 0;
    LevelEnde = 0;
    SpielPastTicks();
    for (SpielerDaten& s : Spieler) s.X = 100, s.Y = 280;
    int32_t meisteGegner = 0, schuesse = 0, bossTick = -1;
    bool spezial = false, bossAmEnde = false;
    while (LevelEnde == 0 && LevelTick <= LevelLaenge + 1) {
      SpielTick();
      for (int32_t ebene : {0, 1, 2, 3, 5, 6}) SpielMoveLandschaft(ebene);
      SpielMoveEnemy();
      SpielGegnerSchussErzeugen();
      SpielMoveGegnerS();
      for (SpielerDaten& s : Spieler) s.Energie = 100, s.Tod = 0;
      int32_t gegner = 0;
      bossAmEnde = false;
      for (int32_t i = 0; i <= GegnerMax; ++i) {
        if (!GegnerListe[i].Aktiv) continue;
        ++gegner;
        if (GegnerListe[i].Typ.Name != "Leviathan") continue;
        bossAmEnde = true;
        if (bossTick < 0) bossTick = LevelTick - 1;
      }
      meisteGegner = std::max(meisteGegner, gegner);
      for (int32_t i = 0; i <= GegnerSchuesse.Max; ++i) schuesse += GegnerSchuesse[i].Aktiv != 0;
      spezial = spezial || (SpezialStand.Aktiv && SpezialStand.Art == 5);
    }
    EXPECT_EQ(LevelEnde, 2) << f.level;
    EXPECT_GE(meisteGegner, f.wenigsteGegner) << f.level;
    EXPECT_LE(meisteGegner, f.meisteGegner) << f.level << ": enemies that never leave pile up";
    EXPECT_EQ(bossTick, f.boss ? 4150 : -1) << f.level;
    EXPECT_EQ(SonderGegnerDa, f.boss) << f.level;
    EXPECT_EQ(bossAmEnde, f.boss) << f.level << ": the boss stays until it is destroyed";
    EXPECT_EQ(schuesse > 0, f.schuesse) << f.level;
    EXPECT_EQ(spezial, f.spezial) << f.level;
  }
}
