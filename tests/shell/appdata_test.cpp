#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;
using testsupport::IsolatedHome;

class AppData : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  IsolatedHome home;
};

TEST_F(AppData, CreatesTheFolderAndItsSaveFolder) {
  ASSERT_TRUE(CreateAppDataFolder("Harvo", "save\\", true, CSIDL_APPDATA, true));
  EXPECT_EQ(platform::fs::Resolve(DatenOrdner), home.dataDir());
  EXPECT_EQ(platform::fs::Resolve(SaveOrdner), home.dataDir() + "save/");
  EXPECT_TRUE(std::filesystem::is_directory(home.dataDir() + "save"));
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(AppData, AnExistingFolderIsUsedUnchanged) {
  std::filesystem::create_directories(home.dataDir() + "save");
  testsupport::WriteText(home.dataDir() + "keep.txt", "x");
  ASSERT_TRUE(CreateAppDataFolder("Harvo", "save\\", true, CSIDL_APPDATA, true));
  EXPECT_EQ(testsupport::ReadText(home.dataDir() + "keep.txt"), "x");
}

TEST_F(AppData, XdgDataHomeWins) {
  std::string xdg = home.home() + "xdg";
  std::filesystem::create_directories(xdg);
  setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  ASSERT_TRUE(CreateAppDataFolder("Harvo", "save\\", true, CSIDL_APPDATA, true));
  EXPECT_EQ(platform::fs::Resolve(DatenOrdner), xdg + "/Harvo/");
  unsetenv("XDG_DATA_HOME");
}

TEST_F(AppData, NoHomeShowsTheErrorAndFails) {
  unsetenv("HOME");
  EXPECT_FALSE(CreateAppDataFolder("Harvo", "save\\", true, CSIDL_APPDATA, true));
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  const auto& box = headless::MessageBoxes()[0];
  EXPECT_EQ(box.text.rfind("An Error occurred in Function CreateAppDataFolder:   \r\n\r\n", 0), 0u);
  EXPECT_NE(box.text.find("Error number\t: 514\r\n"), std::string::npos);
  EXPECT_NE(box.text.find("Error description\t: Unable to create AppData Folder.   \r\n"), std::string::npos);
  EXPECT_NE(box.text.find("Error source\t: CreateAppDataFolder"), std::string::npos);
  EXPECT_EQ(box.style & 0x70, 16);  // critical
}

TEST_F(AppData, UnwritableFolderShowsTheErrorAndFails) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  std::string base = home.home() + ".local/share";
  std::filesystem::create_directories(base);
  chmod(base.c_str(), 0500);
  EXPECT_FALSE(CreateAppDataFolder("Harvo", "save\\", true, CSIDL_APPDATA, true));
  chmod(base.c_str(), 0700);
  EXPECT_EQ(headless::MessageBoxes().size(), 1u);
}

TEST_F(AppData, MissingSaveFolderThatCannotBeMadeIsError515) {
  std::filesystem::create_directories(home.dataDir());
  testsupport::WriteText(home.dataDir() + "save", "a file where the folder should be");
  EXPECT_FALSE(CreateAppDataFolder("Harvo", "save\\", true, CSIDL_APPDATA, true));
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("515"), std::string::npos);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("Unable to create m_ExtraFolder"), std::string::npos);
}

TEST(AppDataDpi, OnlyOddScalingAsks) {
  for (int dpi : {0, 96, 120, 144, 72}) EXPECT_FALSE(DpiNeedsMessage(dpi)) << dpi;
  for (int dpi : {97, 110, 119}) EXPECT_TRUE(DpiNeedsMessage(dpi)) << dpi;
  headless::Reset();
  headless::SetLogicalDpi(110);
  int32_t a, b, c, d;
  bool nt;
  GetWindowsVersion(a, b, c, d, nt);
  EXPECT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_GE(a, 6);
  EXPECT_TRUE(nt);
}

TEST(AppDataText, StripNull) {
  EXPECT_EQ(StripNull("abc"), "abc");
  EXPECT_EQ(StripNull(std::string("\0abc", 4)), "");
  EXPECT_EQ(StripNull(std::string("ab\0c", 4)), "ab");
}

// The log is read on this system: UTF-8, and paths as the file system names them.
TEST_F(AppData, TheLogIsUtf8AndNamesPathsAsTheFileSystemDoes) {
  DatenOrdner = home.home();
  // A folder the system spells in UTF-8, holding folders in another letter case than the
  // game asks for.
  const std::string jurgen = home.home() + "J\xC3\xBCrgen";
  std::filesystem::create_directories(jurgen + "/harvo/logo.vkpdir");
  struct Fall {
    const char* name;
    std::string sprache;
    std::function<void()> schreiben;
    std::string zeile;
  } faelle[] = {
      {"the game's German text", "D", [] { DebugLog("L\xF6sche entpackte Verzeichnisse"); },
       "Lösche entpackte Verzeichnisse"},
      {"Russian text while the game speaks Russian", "R", [] { DebugLog("\xC3\xEE\xF2\xEE\xE2\xEE"); }, "Готово"},
      {"a path found in another letter case", "D",
       [&] { DebugLog({"Konnte nicht l\xF6schen: ", LogPfad(jurgen + "\\Harvo\\Logo.vkpdir\\")}); },
       "Konnte nicht löschen: " + jurgen + "/harvo/logo.vkpdir/"},
      {"a path not there (yet) as the game spells it", "D",
       [&] { DebugLog({"LoadSurface ", LogPfad(jurgen + "\\Harvo\\Neu\\Bild.bmp"), " start"}); },
       "LoadSurface " + jurgen + "/harvo/Neu/Bild.bmp start"},
      {"what the system gave, as it came", "D",
       [] { DebugLog({"Joy1=True (", LogSystemtext("Manette \xC3\xA9lite"), ")"}); }, "Joy1=True (Manette élite)"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Sprache = f.sprache;
    std::filesystem::remove(home.home() + "Debug.txt");
    f.schreiben();
    EXPECT_EQ(testsupport::ReadText(home.home() + "Debug.txt"), f.zeile + "\r\n");
  }
  Sprache = "E";
}

TEST_F(AppData, DebugLogAppendsLinesAndSwallowsFailures) {
  DatenOrdner = home.home();
  testsupport::WriteText(home.home() + "Debug.txt", "before\r\n");
  DebugLog("one");
  DebugLog("two");
  EXPECT_EQ(testsupport::ReadText(home.home() + "Debug.txt"), "before\r\none\r\ntwo\r\n");
  DatenOrdner = home.home() + "does/not/exist/";
  DebugLog("lost");  // must not throw or crash
  SUCCEED();
}
