// The save screen headless: the selection's moves, keys that act once, leaving on a
// key's release (and what is then saved), the results entered and the places shown, the
// logo and the fade-in, a folder that takes no save, the slot list, and its picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "campaign/save_games.hpp"
#include "campaign/save_screen.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/sound.hpp"
#include "platform/bmp.hpp"
#include "platform/headless/headless.hpp"
#include "platform/music.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "screen_setup.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"
#include "world/standard_pictures.hpp"
#include "world/weather_state.hpp"

namespace headless = platform::headless;
namespace fs = std::filesystem;

namespace {

constexpr int kEscape = 1, kReturn = 28, kFeuer = 31, kHoch = 200, kLinks = 203, kRechts = 205, kRunter = 208;
using Tasten = std::vector<std::vector<int>>;

// What each pass of the loop showed.
struct Durchlauf {
  int32_t auswahl, logoX, hell;
};

// Bright pixels of the title (white text at (50, 170)).
int32_t HellerTitel() {
  int32_t n = 0;
  for (int y = 170; y < 196; ++y)
    for (int x = 50; x < 220; ++x) n += (testsupport::BackBufferPixel(x, y) & 0xFF) > 200;
  return n;
}

std::vector<Durchlauf> g_durchlaeufe;
bool g_musik = false;
platform::SurfacePtr g_bild;
// The screen-out the screen ends with: how often, and the picture it was given.
int g_fadeOuts = 0;
platform::SurfacePtr g_schluss;

class SaveScreenLauf : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    ASSERT_NO_THROW(testsupport::SchirmVorbereiten(home.dataDir()));
    headless::SetDate({2001, 6, 1, 12, 0, 0});
    SaveOrdner = DatenOrdner + "save/";
    LevelName = "Level1";
    Spieler[0].Status = 7;  // flying out of the level
    Schiff[0].Typ = 0;
    Durchgang = 1;
    g_durchlaeufe.clear();
    NachSaveScreenBild = [] {
      g_durchlaeufe.push_back({SaveScreen.SlotAuswahl, SaveScreen.LogoX + 10, HellerTitel()});
    };
    g_fadeOuts = 0;
    g_schluss = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
    upcall::FadeOut = [](int32_t Art, bool CheckEsc) {
      g_fadeOuts += Art == 0 && !CheckEsc;
      g_schluss->BltFast(0, 0, *BackBuffer, nullptr, 0);
    };
    // A screen that never ends fails the test instead of hanging it.
    headless::At(static_cast<uint64_t>(GetTickCount()) + 60000, [] { Spielstatus = 10; });
  }
  void TearDown() override {
    NachSaveScreenBild = nullptr;
    g_bild.reset();
    g_schluss.reset();
    testsupport::CloseGameWindow();
    testsupport::FreshState();
  }

  // The screen with `vorher` held as it opens and one entry of `tasten` read at the end
  // of each pass.
  static void Spielen(const Tasten& tasten, const std::vector<int>& vorher = {}) {
    while (headless::KeyReadsLeft() > 0) DInputPoll();  // what an earlier run left unread
    headless::QueueKeys(vorher);
    DInputPoll();
    for (const std::vector<int>& t : tasten) headless::QueueKeys(t);
    SaveGame();
  }
  std::vector<std::string> Gespeichert() const {
    std::vector<std::string> namen;
    if (fs::exists(SaveOrdner))
      for (const auto& e : fs::directory_iterator(SaveOrdner)) namen.push_back(e.path().filename().string());
    std::sort(namen.begin(), namen.end());
    return namen;
  }
  static bool SpeicherklangLaeuft() {
    for (const SoundEntry& e : Sounds)
      if (e.Name.find("SAVE.WAV") != std::string::npos)
        return !e.Kopien.empty() && (e.Kopien[0].GetStatus() & DSBSTATUS_PLAYING) != 0;
    return false;
  }
};

}  // namespace

TEST(SaveScreenWahl, DirectionsMoveThroughTheListAndItsColumns) {
  struct Fall {
    int32_t (*schritt)(int32_t);
    const char* name;
    int32_t von, nach;
  } faelle[] = {
      {SlotNachOben, "up", 0, 21},    {SlotNachOben, "up", 1, 0},       {SlotNachOben, "up", 15, 14},
      {SlotNachUnten, "down", 21, 0}, {SlotNachUnten, "down", 0, 1},    {SlotNachUnten, "down", 7, 8},
      {SlotNachRechts, "right", 0, 0}, {SlotNachRechts, "right", 1, 8}, {SlotNachRechts, "right", 14, 21},
      {SlotNachRechts, "right", 15, 1}, {SlotNachRechts, "right", 20, 6}, {SlotNachRechts, "right", 21, 7},
      {SlotNachLinks, "left", 0, 0},   {SlotNachLinks, "left", 8, 1},   {SlotNachLinks, "left", 7, 21},
      {SlotNachLinks, "left", 1, 15},  {SlotNachLinks, "left", 21, 14},
  };
  for (const Fall& f : faelle) EXPECT_EQ(f.schritt(f.von), f.nach) << f.name << " from " << f.von;
}

// A held key moves once; the selection moves again only after it was let go. Enter acts
// on its release: the slot is saved, the confirmation sound plays, the music stops.
TEST_F(SaveScreenLauf, HeldKeysActOnceAndEnterSavesOnItsRelease) {
  SoundAn = true;
  g_musik = false;
  NachSaveScreenBild = [] {
    g_durchlaeufe.push_back({SaveScreen.SlotAuswahl, 0, 0});
    g_musik = g_musik || (platform::music::IsPlaying() && platform::music::Volume() == MusikLautstaerke);
  };
  Spielen({{kRunter}, {kRunter}, {}, {kRunter}, {kRechts}, {kRechts}, {}, {kLinks}, {kReturn}, {kReturn}, {}});
  std::vector<int32_t> auswahl;
  for (const Durchlauf& d : g_durchlaeufe) auswahl.push_back(d.auswahl);
  EXPECT_EQ(auswahl, (std::vector<int32_t>{0, 1, 1, 1, 2, 9, 9, 9, 2, 2, 2}));
  EXPECT_TRUE(SaveScreen.Gespeichert);
  EXPECT_EQ(Gespeichert(), (std::vector<std::string>{"2.sav"}));
  EXPECT_EQ(GetSaveLabel(2), "P1S1A - L  06-01-2001");
  EXPECT_TRUE(SpeicherklangLaeuft());
  EXPECT_TRUE(g_musik);
  EXPECT_FALSE(platform::music::IsPlaying());
  EXPECT_EQ(Spieler[0].Status, 0);
  EXPECT_EQ(HintergrundModus, 4);
}

TEST_F(SaveScreenLauf, HowTheScreenIsLeftDecidesWhatIsSaved) {
  struct Fall {
    const char* name;
    std::vector<int> vorher;
    Tasten tasten;
    std::vector<std::string> dateien;
    size_t durchlaeufe;
  } faelle[] = {
      {"Escape", {}, {{kRunter}, {}, {kEscape}, {}}, {}, 4},
      {"Enter on don't save", {}, {{kReturn}, {}}, {}, 2},
      {"Escape while Enter is held", {}, {{kHoch}, {kReturn}, {kReturn, kEscape}, {kReturn}, {kReturn}}, {"21.sav"}, 4},
      {"the fire key held from the level", {kFeuer}, {{kFeuer, kRunter}, {}, {kEscape}, {}}, {}, 4},
      {"the pause key held from the level", {kEscape}, {{kEscape}, {}, {kRunter}, {kReturn}, {}}, {"1.sav"}, 5},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    fs::remove_all(SaveOrdner);
    g_durchlaeufe.clear();
    Spielen(f.tasten, f.vorher);
    EXPECT_EQ(Gespeichert(), f.dateien);
    EXPECT_EQ(SaveScreen.Gespeichert, !f.dateien.empty());
    EXPECT_EQ(g_durchlaeufe.size(), f.durchlaeufe);
    EXPECT_EQ(Spielstatus, 0);
  }
  // The results went into the table every time, and the screen made the save folder.
  EXPECT_EQ(HighscorePlaceOfTag(11), 9);
  EXPECT_EQ(HighscorePlaceOfTag(12), kKeinHighscorePlatz);  // one player only
  EXPECT_TRUE(fs::is_directory(SaveOrdner));
}

// A quit ends the screen at once; Enter held at that moment still saves, as with Escape.
TEST_F(SaveScreenLauf, AQuitEndsTheScreen) {
  NachSaveScreenBild = [] {
    if (LevelTick == 3) Spielstatus = 10;
  };
  for (bool enter : {false, true}) {
    SCOPED_TRACE(enter);
    Spielstatus = 0;
    fs::remove_all(SaveOrdner);
    Spielen({{kRunter}, {enter ? kReturn : kRunter}, {kReturn}});
    EXPECT_EQ(SaveScreen.SlotAuswahl, 1);
    EXPECT_EQ(SaveScreen.Gespeichert, enter);
    EXPECT_EQ(Gespeichert().size(), enter ? 1u : 0u);
  }
  EXPECT_EQ(g_fadeOuts, 2);
}

// The logo slides in a quarter of its way a pass; the screen comes out of black over
// 50 passes.
TEST_F(SaveScreenLauf, TheLogoSlidesInAndTheScreenFadesIn) {
  Tasten warten(60, std::vector<int>{});
  warten.push_back({kEscape});
  Spielen(warten);
  ASSERT_GE(g_durchlaeufe.size(), 60u);
  std::vector<int32_t> logo;
  for (size_t i = 0; i < 6; ++i) logo.push_back(g_durchlaeufe[i].logoX);
  EXPECT_EQ(logo, (std::vector<int32_t>{-90, -15, 4, 8, 10, 10}));
  EXPECT_EQ(g_durchlaeufe[0].hell, 0);
  EXPECT_LT(g_durchlaeufe[24].hell, g_durchlaeufe[49].hell);
  EXPECT_GT(g_durchlaeufe[49].hell, 100);
  EXPECT_EQ(g_durchlaeufe[49].hell, g_durchlaeufe[55].hell);  // nothing over it from pass 50 on
}

// With two players player one's place is where it stands after player two's result went
// in; a place outside the table, and every Russian line, show none.
TEST_F(SaveScreenLauf, ThePlayersLinesShowTheirPlaces) {
  LetzterSpieler = 1;
  Spielen({{kEscape}, {}});
  EXPECT_EQ(SaveScreen.Platz, (std::array<int32_t, 2>{10, 4}));  // 9th, pushed down by player two's 4th
  struct Fall {
    const char* sprache;
    int32_t platz;
    int32_t p;
    const char* zeile;  // UTF-8
  } faelle[] = {
      {"E", 4, 0, "Player 1: 250000 (HIGHSCORE: 4. Place!)"},
      {"D", 2, 1, "Spieler 2: 750000 (HIGHSCORE: 2. Platz!)"},
      {"E", 10, 1, "Player 2: 750000 (HIGHSCORE: 10. Place!)"},
      {"E", 11, 0, "Player 1: 250000"},
      {"D", 12, 0, "Spieler 1: 250000"},
      {"R", 1, 0, "1 игрок: 250000"},
      {"R", 11, 1, "2 игрок: 750000"},
  };
  for (const Fall& f : faelle) {
    Sprache = f.sprache;
    SaveScreen.Platz[static_cast<size_t>(f.p)] = f.platz;
    EXPECT_EQ(SaveSpielerzeile(f.p), Cyr(f.zeile));
  }
}

// A folder that cannot be written: no "Saved", no sound, and the reason in the log. The
// notice over the last picture is the failure's, far smaller than "Saved".
TEST_F(SaveScreenLauf, AFolderThatTakesNoSaveShowsNoConfirmation) {
  SoundAn = true;
  testsupport::WriteText(DatenOrdner + "Datei", "a file where the folder would be");
  SaveOrdner = DatenOrdner + "Datei/save/";
  g_bild = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  NachSaveScreenBild = [] { g_bild->BltFast(0, 0, *BackBuffer, nullptr, 0); };
  Spielen({{kRunter}, {kReturn}, {}});
  ASSERT_EQ(g_fadeOuts, 1);
  EXPECT_FALSE(SaveScreen.Gespeichert);
  EXPECT_FALSE(SpeicherklangLaeuft());
  EXPECT_NE(testsupport::ReadText(DatenOrdner + "Debug.txt").find("1.sav"), std::string::npos);
  int32_t geaendert = 0, unten = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      if (((g_bild->GetPixel(x, y) ^ g_schluss->GetPixel(x, y)) & 0xFFFFFF) != 0) ++geaendert, unten = y;
  EXPECT_GT(geaendert, 3000);
  EXPECT_LT(unten, 330);
}

TEST_F(SaveScreenLauf, TheListShowsEverySlotsLabel) {
  fs::create_directories(SaveOrdner);
  Durchgang = 2;
  ASSERT_TRUE(SaveGameSlot(5));
  testsupport::WriteBytes(SaveOrdner + "6.sav", {0x00, 0x00, 0xA0, 0x40, 0, 0, 0, 0});  // version 5
  Sprache = "D";
  Spielen({{kEscape}, {}});
  EXPECT_EQ(SaveScreen.SlotText[0], "Nicht speichern");
  EXPECT_EQ(SaveScreen.SlotText[5], "P1S1B - L  06-01-2001");
  EXPECT_EQ(SaveScreen.SlotText[6], "");
  for (size_t i : {1, 4, 7, 21}) EXPECT_EQ(SaveScreen.SlotText[i], "---") << i;
}

// The screen some passes in: two players with their places, a saved slot, slot 10
// selected. Compared at half its size.
TEST_F(SaveScreenLauf, TheScreenAsItIsDrawn) {
  LetzterSpieler = 1;
  fs::create_directories(SaveOrdner);
  ASSERT_TRUE(SaveGameSlot(3));
  g_bild = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  NachSaveScreenBild = [] {
    if (LevelTick == 60) g_bild->BltFast(0, 0, *BackBuffer, nullptr, 0);
  };
  Tasten tasten(40, std::vector<int>{});
  for (int i = 0; i < 3; ++i) tasten.insert(tasten.end(), {{kRunter}, {}});
  tasten.insert(tasten.end(), {{kRechts}, {}});
  tasten.resize(70);
  tasten.push_back({kEscape});
  Spielen(tasten);
  const std::string f = testsupport::CompareHalfWithGoldenBmp("tests/campaign/golden/save_32.bmp", *g_bild);
  EXPECT_TRUE(f.empty()) << f;
}
