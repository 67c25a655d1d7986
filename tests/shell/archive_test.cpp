#include <gtest/gtest.h>

#include <filesystem>

#include "lib/archive_writer.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/program.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace fsys = std::filesystem;
using tools::ArchiveMember;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

class Archive : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    DatenOrdner = home.home();
    DebugModus = true;
    FrameSkipAn = false;
    fsys::create_directories(app / "Data");
  }
  void Pack(const std::string& name, const std::vector<ArchiveMember>& members) {
    testsupport::WriteBytes((app / "Data" / name).string(), tools::PackArchive(members));
  }
  void WriteRaw(const std::string& name, const std::vector<uint8_t>& bytes) {
    testsupport::WriteBytes((app / "Data" / name).string(), bytes);
  }
  std::string AppPath() const { return app.string() + "/"; }
  std::vector<std::string> Files(const std::string& folder) { return platform::fs::ListFiles(folder); }
  std::string Log() { return testsupport::ReadText(home.home() + "Debug.txt"); }

  testsupport::IsolatedHome home;
  fsys::path app = fsys::path(home.home()) / "app";
};

const std::vector<ArchiveMember> kMembers = {
    {"Regen1.bmp", Bytes("rain")},
    {"SCHNEE1.BMP", Bytes("snow")},
    {"Regen1.bmp.old", Bytes("old")},
    {"Gr\xFC\xDF" "e.txt", Bytes("hello")},  // "Grüße.txt" in Windows-1252
    {"leer.dat", {}},
};

}  // namespace

TEST_F(Archive, SpecStringsInEveryMode) {
  Pack("Spiel.vkp", kMembers);
  struct Case {
    const char* spec;
    std::vector<std::string> files;
  } cases[] = {
      {"Spiel.vkp", {"Gruesse.txt", "Regen1.bmp", "Regen1.bmp.old", "SCHNEE1.BMP", "leer.dat"}},
      {"Spiel.vkp$", {"Gruesse.txt", "Regen1.bmp", "Regen1.bmp.old", "SCHNEE1.BMP", "leer.dat"}},
      {"Spiel.vkp$regen1.BMP>", {"Regen1.bmp"}},
      {"Spiel.vkp$Schnee1.bmp>Gruesse.txt>", {"Gruesse.txt", "SCHNEE1.BMP"}},
      {"Spiel.vkp$Gr\xFC\xDF" "e.txt>", {}},  // only the spelt-out name selects it
      {"Spiel.vkp$Regen1.bmp<Schnee1.bmp<", {"Gruesse.txt", "Regen1.bmp.old", "leer.dat"}},
      {"Spiel.vkp$leer.dat>Regen1.bmp<", {"leer.dat"}},  // both signs: an include list
  };
  for (const Case& c : cases) {
    std::string dir = Depack(c.spec, AppPath(), false);
    EXPECT_EQ(dir, GetTempFolder() + "Harvo\\Spiel.vkpdir\\");
    EXPECT_EQ(Files(dir), c.files) << c.spec;
    KillDir(dir);
    EXPECT_FALSE(platform::fs::DirExists(dir)) << c.spec;
  }
  EXPECT_FALSE(platform::fs::DirExists(GetTempFolder() + "Harvo\\"));
  std::string dir = Depack("Spiel.vkp", AppPath(), false);
  EXPECT_EQ(testsupport::ReadText(platform::fs::Resolve(dir + "Gruesse.txt")), "hello");
  EXPECT_EQ(platform::fs::FileSize(dir + "leer.dat"), 0);
  KillDir(dir);
}

TEST_F(Archive, RememberFlagAndLogLines) {
  Pack("Menu.vkp", {{"a.bmp", Bytes("a")}});
  std::string dir = Depack("Menu.vkp$a.bmp>", AppPath(), true);
  ASSERT_EQ(EntpackListe.size(), 2u);
  EXPECT_EQ(EntpackListe[1], "Menu.vkp$" + AppPath());
  Depack("Missing.vkp", AppPath(), true);  // a failed unpack is remembered too
  EXPECT_EQ(EntpackListe.size(), 3u);
  std::string log = Log();
  EXPECT_NE(log.find("Entpacke Menu.vkp$a.bmp>, True\r\n"), std::string::npos);
  EXPECT_NE(log.find("Fehler beim Entpacken (Missing.vkp -  - 53 File not found)"), std::string::npos);
  KillDir(dir);
  EXPECT_NE(Log().find("L\xF6sche entpackte Verzeichnisse"), std::string::npos);
  EXPECT_EQ(Log().find("Trys: "), std::string::npos);
}

TEST_F(Archive, ASecondUnpackKeepsTheFirstFiles) {
  Pack("Spiel.vkp", {{"a.txt", Bytes("new")}});
  std::string dir = Depack("Spiel.vkp", AppPath(), false);
  testsupport::WriteText(platform::fs::Resolve(dir + "a.txt"), "changed");
  Depack("Spiel.vkp", AppPath(), false);
  EXPECT_EQ(testsupport::ReadText(platform::fs::Resolve(dir + "a.txt")), "changed");
  KillDir(dir);
}

TEST_F(Archive, DamagedArchivesEndTheUnpackSafely) {
  std::vector<uint8_t> good = tools::PackArchive({{"first.txt", Bytes("1")}});
  std::vector<uint8_t> name = tools::Deflate(Bytes("x.txt"));
  std::vector<uint8_t> data = tools::Deflate(Bytes("data"));
  struct Case {
    const char* what;
    std::vector<uint8_t> tail;
  };
  std::vector<Case> cases;
  auto entry = [&](int32_t nameRaw, const std::vector<uint8_t>& n, int32_t dataRaw, const std::vector<uint8_t>& d) {
    std::vector<uint8_t> out;
    tools::AppendRawEntry(out, nameRaw, n, dataRaw, d);
    return out;
  };
  cases.push_back({"negative name length", entry(-5, name, 4, data)});
  cases.push_back({"name over 260 bytes", entry(300, name, 4, data)});
  cases.push_back({"huge data length", entry(5, name, 0x7FFFFFFF, data)});
  std::vector<uint8_t> cut = entry(5, name, 4, data);
  cut.resize(cut.size() - 3);
  cases.push_back({"truncated data", cut});
  cases.push_back({"truncated header", {1, 2, 3}});
  cases.push_back({"garbage name stream", entry(5, Bytes("notzlib"), 4, data)});
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    bytes.insert(bytes.end(), c.tail.begin(), c.tail.end());
    WriteRaw("Bad.vkp", bytes);
    std::string dir = Depack("Bad.vkp", AppPath(), false);
    EXPECT_EQ(Files(dir), std::vector<std::string>{"first.txt"}) << c.what;
    EXPECT_NE(Log().find("Fehler beim Entpacken (Bad.vkp - "), std::string::npos) << c.what;
    KillDir(dir);
    fsys::remove(home.home() + "Debug.txt");
  }
}

TEST_F(Archive, BrokenMemberIsSkippedAndTheRestUnpacks) {
  std::vector<uint8_t> bytes;
  tools::AppendRawEntry(bytes, 5, tools::Deflate(Bytes("a.txt")), 10, tools::Deflate(Bytes("short")));
  std::vector<uint8_t> rest = tools::PackArchive({{"b.txt", Bytes("fine")}});
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  WriteRaw("Mixed.vkp", bytes);
  std::string dir = Depack("Mixed.vkp", AppPath(), false);
  EXPECT_EQ(Files(dir), std::vector<std::string>{"b.txt"});
  KillDir(dir);
}

TEST_F(Archive, TraversalNamesAreSkipped) {
  Pack("Evil.vkp", {{"../evil.txt", Bytes("x")},
                    {"..\\evil2.txt", Bytes("x")},
                    {"sub/evil3.txt", Bytes("x")},
                    {std::string("nul\0.txt", 8), Bytes("x")},
                    {"ok.txt", Bytes("fine")}});
  std::string dir = Depack("Evil.vkp", AppPath(), false);
  EXPECT_EQ(Files(dir), std::vector<std::string>{"ok.txt"});
  EXPECT_FALSE(fsys::exists(GetTempFolder() + "Harvo/evil.txt"));
  EXPECT_FALSE(fsys::exists(GetTempFolder() + "evil2.txt"));
  KillDir(dir);
  // An archive name that leaves the data folder is refused.
  std::string bad = Depack("../Evil.vkp", AppPath(), false);
  EXPECT_FALSE(fsys::exists(GetTempFolder() + "Evil.vkpdir"));
  (void)bad;
}

TEST_F(Archive, KillDirCountsRemovalAttempts) {
  Pack("Spiel.vkp", {{"a.txt", Bytes("a")}});
  std::string dir = Depack("Spiel.vkp", AppPath(), false);
  // A sub-folder that KillDir does not delete keeps the folder from going away...
  std::string blocker = platform::fs::Resolve(dir) + "blocker";
  fsys::create_directories(blocker);
  // ...until it is gone during the second pause: the third attempt succeeds.
  platform::headless::SetClock(1000);
  LetzterTick = 1000;
  platform::headless::At(1015, [blocker] { fsys::remove(blocker); });
  KillDir(dir);
  EXPECT_FALSE(platform::fs::DirExists(dir));
  EXPECT_NE(Log().find("Trys: 3\r\n"), std::string::npos) << Log();
  EXPECT_NE(Log().find("Konnte nicht l\xF6schen: " + dir), std::string::npos);
}

TEST_F(Archive, KillDirGivesUpAfterTenAttemptsAndWritesTrysWithoutDebug) {
  DebugModus = false;
  Pack("Spiel.vkp", {{"a.txt", Bytes("a")}});
  std::string dir = Depack("Spiel.vkp", AppPath(), false);
  fsys::create_directories(platform::fs::Resolve(dir) + "blocker");
  KillDir(dir);
  EXPECT_EQ(Log(), "Trys: 10\r\n");
  EXPECT_TRUE(platform::fs::DirExists(dir));
}

TEST_F(Archive, KillDirRefusesFoldersOutsideItsOwn) {
  std::string outside = home.home() + "precious/";
  fsys::create_directories(outside);
  testsupport::WriteText(outside + "keep.txt", "x");
  KillDir(outside);
  KillDir(GetTempFolder() + "Harvo\\..\\..\\");
  EXPECT_TRUE(fsys::exists(outside + "keep.txt"));
}

TEST(Zlib, CompressAndUncompress) {
  std::vector<uint8_t> data(10000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 % 13);
  std::vector<uint8_t> packed = data;
  ASSERT_EQ(CompressBytes(packed), 0);
  EXPECT_EQ(ZLibOriginalGroesse, 10000);
  EXPECT_EQ(ZLibGepacktGroesse, static_cast<int32_t>(packed.size()));
  EXPECT_LT(packed.size(), data.size());
  std::vector<uint8_t> back = packed;
  ASSERT_EQ(UncompressBytes(back, 10000), 0);
  EXPECT_EQ(back, data);
  EXPECT_EQ(ZLibOriginalGroesse, 0);
  EXPECT_EQ(ZLibGepacktGroesse, 0);

  std::vector<uint8_t> random(5000);
  uint32_t s = 1;
  for (uint8_t& b : random) b = static_cast<uint8_t>((s = s * 1103515245u + 12345u) >> 24);
  std::vector<uint8_t> p = random;  // incompressible: the output needs zlib's own bound
  ASSERT_EQ(CompressBytes(p), 0);
  ASSERT_EQ(UncompressBytes(p, 5000), 0);
  EXPECT_EQ(p, random);

  std::vector<uint8_t> empty;
  ASSERT_EQ(CompressBytes(empty), 0);
  ASSERT_EQ(UncompressBytes(empty, 0), 0);
  EXPECT_TRUE(empty.empty());
}

TEST(Zlib, ErrorsLeaveTheBufferAlone) {
  std::vector<uint8_t> junk = {1, 2, 3, 4, 5};
  EXPECT_NE(UncompressBytes(junk, 100), 0);
  EXPECT_EQ(junk, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_NE(UncompressBytes(junk, -1), 0);
  EXPECT_NE(UncompressBytes(junk, 0x7FFFFFFF), 0);
  EXPECT_EQ(junk.size(), 5u);
  std::vector<uint8_t> data(1000, 'a');
  std::vector<uint8_t> packed = data;
  CompressBytes(packed);
  std::vector<uint8_t> tooSmall = packed;
  EXPECT_NE(UncompressBytes(tooSmall, 10), 0);  // the stated size is far too small
  EXPECT_EQ(tooSmall, packed);
}
