#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "shell/appdata.hpp"
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
