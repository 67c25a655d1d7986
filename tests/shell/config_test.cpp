#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/support.hpp"

namespace {

// Builds a configuration file field by field, as an old version of the game wrote it.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& ver(const char* two) {
    b.push_back(static_cast<uint8_t>(two[0]));
    b.push_back(static_cast<uint8_t>(two[1]));
    return *this;
  }
  Bytes& i16(int v) {
    for (int i = 0; i < 2; ++i) b.push_back(static_cast<uint8_t>((static_cast<unsigned>(v) >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& i32(int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& ch(char c) {
    b.push_back(static_cast<uint8_t>(c));
    return *this;
  }
  // A key block whose every binding is `code`, devices all `device`.
  Bytes& keys(int32_t code, int32_t device = 0) {
    for (int i = 0; i < 60; ++i) i32(code);
    for (int i = 0; i < 3; ++i) i32(5);
    for (int i = 0; i < 3; ++i) i32(device);
    return *this;
  }
};

class Config : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    VariabelnInit();  // defaults and joystick codes; DatenOrdner in the isolated home
    std::filesystem::remove(home.dataDir() + "config.cfg");
  }
  void Write(const Bytes& b) { testsupport::WriteBytes(home.dataDir() + "config.cfg", b.b); }
  testsupport::IsolatedHome home;
};

}  // namespace

TEST_F(Config, MissingFileGivesTheDefaults) {
  LoadConfig();
  EXPECT_EQ(KeyConfig.KeyMap(0, 0, 0), 203);
  EXPECT_EQ(KeyConfig.KeyMap(0, 1, 0), 36);
  EXPECT_EQ(KeyConfig.KeyMap(0, 1, 1), 203);
  EXPECT_EQ(KeyConfig.KeyMap(3, 2, 1), 80);
  EXPECT_EQ(KeyConfig.KeyMap(9, 2, 0), 201);
  EXPECT_EQ(KeyConfig.PauseKey[1], 224);
  EXPECT_EQ(KeyConfig.PauseKey[2], 259);
  EXPECT_EQ(MusikLautstaerke, 90);
  EXPECT_EQ(SoundLautstaerke, -1000);
  EXPECT_EQ(ForceBasis[1], 2500);
  EXPECT_TRUE(Traegheit);
}

TEST_F(Config, InitKeyConfigForJoysticks) {
  InitKeyConfig(1, 2);
  for (int a = 0; a < 10; ++a) EXPECT_EQ(KeyConfig.KeyMap(a, 1, 1), 0) << a;
  const int32_t joy2[10] = {247, 248, 249, 250, 251, 254, 253, 252, 256, 255};
  for (int a = 0; a < 10; ++a) EXPECT_EQ(KeyConfig.KeyMap(a, 1, 0), joy2[a]) << a;
  EXPECT_EQ(KeyConfig.KeyDevice[1], 2);
  InitKeyConfig(0, 1);
  EXPECT_EQ(KeyConfig.KeyMap(0, 0, 0), 212);
  EXPECT_EQ(KeyConfig.KeyMap(4, 0, 0), 216);
  EXPECT_EQ(KeyConfig.KeyMap(2, 0, 1), 205);
  EXPECT_EQ(KeyConfig.KeyMap(4, 0, 1), 0);
  InitKeyConfig(2, 7);  // an unknown device leaves the set empty
  for (int a = 0; a < 10; ++a) EXPECT_EQ(KeyConfig.KeyMap(a, 2, 0), 0);
}

TEST_F(Config, EveryVersion) {
  struct Case {
    const char* name;
    Bytes file;
    std::function<void()> check;
  };
  std::vector<Case> cases;
  cases.push_back({"v1 flag 0", Bytes().ver("1 ").i32(3).i16(0).i16(-1).i16(-1).i16(0).i32(16), [] {
                     EXPECT_EQ(Sprache, "E");
                     EXPECT_EQ(LoadingscreenNr, 3);
                     EXPECT_TRUE(VoodooModus);
                     EXPECT_TRUE(FensterModus);
                     EXPECT_FALSE(SoundAn);
                     EXPECT_EQ(Farbtiefe, 16);
                   }});
  cases.push_back({"v1 flag 1", Bytes().ver("1 ").i32(3).i16(1).i16(0).i16(0).i16(0).i32(32),
                   [] { EXPECT_EQ(Sprache, "D"); }});
  cases.push_back({"no number reads v1", Bytes().ver("xx").i32(4).i16(1), [] {
                     EXPECT_EQ(LoadingscreenNr, 4);
                     EXPECT_EQ(Sprache, "D");
                   }});
  cases.push_back({"v2", Bytes().ver("2 ").i32(5).ch('R').i16(0).i16(-1).i16(-1).i32(16), [] {
                     EXPECT_EQ(Sprache, "R");
                     EXPECT_EQ(LoadingscreenNr, 5);
                     EXPECT_TRUE(FensterModus);
                   }});
  cases.push_back({"v3", Bytes().ver("3 ").i32(0).ch('D').i16(0).i16(0).i16(0).i32(32).keys(57).i16(-1).i16(0), [] {
                     EXPECT_EQ(KeyConfig.KeyMap(4, 2, 1), 57);
                     EXPECT_TRUE(ForceAn[0]);
                     EXPECT_FALSE(ForceAn[1]);
                     EXPECT_EQ(MusikLautstaerke, 90);
                   }});
  cases.push_back({"v5", Bytes().ver("5 ").i32(0).ch('E').i16(0).i16(0).i16(0).i32(32).keys(57).i16(0).i16(0)
                             .i32(40).i32(-500).i32(-200).i16(0).i16(0),
                   [] {
                     EXPECT_EQ(MusikLautstaerke, 40);
                     EXPECT_EQ(SoundLautstaerke, -500);
                     EXPECT_EQ(SprachLautstaerke, -200);
                     EXPECT_FALSE(ForceModus);
                     EXPECT_FALSE(AutoAnordnung);
                   }});
  cases.push_back({"v6 video first", Bytes().ver("6 ").i16(0).i32(7).ch('E'), [] {
                     EXPECT_FALSE(VideoAn);
                     EXPECT_EQ(LoadingscreenNr, 7);
                   }});
  cases.push_back({"v8 has no best play-through",
                   Bytes().ver("8 ").i16(-1).i32(0).ch('E').i16(0).i16(0).i16(0).i32(32).keys(30).i16(0).i16(0)
                       .i32(50).i32(-1).i32(-2).i16(-1).i16(-1).i16(0).i32(100).i32(200),
                   [] {
                     EXPECT_EQ(BesterDurchgang, 0);
                     EXPECT_FALSE(Traegheit);
                     EXPECT_EQ(ForceBasis[0], 100);
                     EXPECT_EQ(ForceBasis[1], 200);
                   }});
  cases.push_back({"v9 best play-through after the keys",
                   Bytes().ver("9 ").i16(-1).i32(0).ch('E').i16(0).i16(0).i16(0).i32(32).keys(30).i32(3).i16(-1)
                       .i16(-1).i32(60).i32(-3).i32(-4).i16(0).i16(0).i16(-1).i32(300).i32(400),
                   [] {
                     EXPECT_EQ(BesterDurchgang, 3);
                     EXPECT_TRUE(ForceAn[1]);
                     EXPECT_EQ(MusikLautstaerke, 60);
                     EXPECT_EQ(ForceBasis[1], 400);
                   }});
  cases.push_back({"12 reads nothing", Bytes().ver("12").i16(0).i32(9), [] {
                     EXPECT_TRUE(VideoAn);
                     EXPECT_EQ(LoadingscreenNr, 0);
                   }});
  cases.push_back({"under 2 bytes is no file", Bytes().ch('1'), [] { EXPECT_EQ(Sprache, "E"); }});
  cases.push_back({"short file keeps the rest", Bytes().ver("10").i16(0).i32(9).ch('D').i16(-1).ch(1), [] {
                     EXPECT_FALSE(VideoAn);
                     EXPECT_EQ(LoadingscreenNr, 9);
                     EXPECT_EQ(Sprache, "D");
                     EXPECT_TRUE(VoodooModus);
                     EXPECT_FALSE(FensterModus);  // only one of its two bytes
                   }});
  cases.push_back({"damaged values put right",
                   Bytes().ver("10").i16(7).i32(99).ch('X').i16(1).i16(0).i16(0).i32(32).keys(999, 5).i32(0).i16(0)
                       .i16(0).i32(500).i32(300).i32(-20000).i16(0).i16(0).i16(0).i32(-5).i32(99999).i16(0),
                   [] {
                     EXPECT_TRUE(VideoAn);  // 7 reads as True
                     EXPECT_EQ(LoadingscreenNr, 0);
                     EXPECT_EQ(Sprache, "E");
                     EXPECT_TRUE(VoodooModus);
                     EXPECT_EQ(KeyConfig.KeyDevice[0], 0);
                     EXPECT_EQ(KeyConfig.KeyMap(0, 0, 0), 203);  // device 5: keyboard defaults
                     EXPECT_EQ(KeyConfig.PauseKey[0], 5);
                     EXPECT_EQ(MusikLautstaerke, 100);
                     EXPECT_EQ(SoundLautstaerke, 0);
                     EXPECT_EQ(SprachLautstaerke, -10000);
                     EXPECT_EQ(ForceBasis[0], 0);
                     EXPECT_EQ(ForceBasis[1], 10000);
                   }});
  cases.push_back({"codes out of range take the defaults of their set and device",
                   Bytes().ver("10").i16(0).i32(0).ch('E').i16(0).i16(0).i16(0).i32(32).keys(283, 1),
                   [] {
                     EXPECT_EQ(KeyConfig.KeyMap(0, 0, 0), 212);  // joystick 1 left
                     EXPECT_EQ(KeyConfig.KeyMap(0, 0, 1), 203);  // and the arrow key
                     EXPECT_EQ(KeyConfig.KeyMap(4, 2, 0), 216);  // joystick 1 button 1
                     EXPECT_EQ(KeyConfig.KeyMap(4, 2, 1), 0);
                     EXPECT_EQ(KeyConfig.KeyDevice[2], 1);
                   }});
  {
    // Pause keys out of range or none, one binding too low, first and second bindings
    // unbound.
    Bytes b = Bytes().ver("10").i16(0).i32(0).ch('E').i16(0).i16(0).i16(0).i32(24);
    for (int i = 0; i < 60; ++i) b.i32(i == 3 ? -7 : i == 13 || i == 43 ? 0 : 57);
    b.i32(0).i32(283).i32(-1);
    b.i32(0).i32(0).i32(0);
    cases.push_back({"pause keys and bindings out of range or unbound, colour depth 24", b, [] {
                       EXPECT_EQ(KeyConfig.PauseKey[0], 1);  // nothing sets the keyboard's to none
                       EXPECT_EQ(KeyConfig.PauseKey[1], 224);
                       EXPECT_EQ(KeyConfig.PauseKey[2], 259);
                       EXPECT_EQ(KeyConfig.KeyMap(3, 0, 0), 208);  // down arrow
                       EXPECT_EQ(KeyConfig.KeyMap(3, 1, 0), 37);   // K: a first binding is never none
                       EXPECT_EQ(KeyConfig.KeyMap(3, 1, 1), 0);    // a second one may be
                       EXPECT_EQ(KeyConfig.KeyMap(4, 0, 0), 57);
                       EXPECT_EQ(Farbtiefe, 32);
                     }});
  }
  {
    // A body of zeros: every keyboard set steers and Escape pauses.
    Bytes b = Bytes().ver("10");
    b.b.resize(kConfigGroesse, 0);
    cases.push_back({"a body of zeros", b, [] {
                       for (int s = 0; s < 3; ++s)
                         for (int a = 0; a < 10; ++a) EXPECT_NE(KeyConfig.KeyMap(a, s, 0), 0) << s << " " << a;
                       EXPECT_EQ(KeyConfig.KeyMap(0, 0, 0), 203);
                       EXPECT_EQ(KeyConfig.KeyMap(3, 2, 0), 76);
                       EXPECT_EQ(KeyConfig.KeyMap(3, 2, 1), 0);  // a second binding of none stands
                       EXPECT_EQ(KeyConfig.PauseKey[0], 1);
                       EXPECT_EQ(Farbtiefe, 32);
                     }});
  }
  cases.push_back({".5 reads version 1", Bytes().ver(".5").i32(6).i16(1).i16(0).i16(0).i16(0).i32(16), [] {
                     EXPECT_EQ(LoadingscreenNr, 6);
                     EXPECT_EQ(Sprache, "D");
                     EXPECT_EQ(Farbtiefe, 16);
                   }});
  cases.push_back({"-3 reads version 1", Bytes().ver("-3").i32(2), [] { EXPECT_EQ(LoadingscreenNr, 2); }});
  for (const char* v : {"11", "99"})
    cases.push_back({v, Bytes().ver(v).i16(0).i32(9).ch('D'), [] {
                       EXPECT_TRUE(VideoAn);
                       EXPECT_NE(LoadingscreenNr, 9);
                       EXPECT_EQ(Sprache, "E");
                     }});
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Write(c.file);
    LoadConfig();
    c.check();
  }
}

TEST_F(Config, SaveWritesVersion10AtEveryOffset) {
  LoadConfig();
  VideoAn = false;
  LoadingscreenNr = 12;
  Sprache = "R";
  VoodooModus = true;
  FensterModus = true;
  SoundAn = false;
  Farbtiefe = 16;
  KeyConfig.KeyMap(0, 0, 0) = 0x01020304;
  KeyConfig.KeyDevice[2] = 2;
  BesterDurchgang = 0x0A0B0C0D;
  ForceAn = {true, false};
  MusikLautstaerke = 55;
  SoundLautstaerke = -1234;
  SprachLautstaerke = -4321;
  ForceModus = false;
  AutoAnordnung = true;
  Traegheit = false;
  ForceBasis = {1111, 2222};
  VideoKlein = true;
  SaveConfig();
  std::vector<uint8_t> f = testsupport::ReadBytes(home.dataDir() + "config.cfg");
  ASSERT_EQ(f.size(), kConfigGroesse);
  auto i16 = [&](size_t o) { return static_cast<int16_t>(f[o] | (f[o + 1] << 8)); };
  auto i32 = [&](size_t o) {
    return static_cast<int32_t>(f[o] | (f[o + 1] << 8) | (f[o + 2] << 16) | (static_cast<uint32_t>(f[o + 3]) << 24));
  };
  EXPECT_EQ(f[0], '1');
  EXPECT_EQ(f[1], '0');
  EXPECT_EQ(i16(2), 0);
  EXPECT_EQ(i32(4), 12);
  EXPECT_EQ(f[8], 'R');
  EXPECT_EQ(i16(9), -1);
  EXPECT_EQ(i16(11), -1);
  EXPECT_EQ(i16(13), 0);
  EXPECT_EQ(i32(15), 16);
  EXPECT_EQ(i32(19), 0x01020304);
  EXPECT_EQ(i32(19 + 4 * 65), 2);  // KeyDevice(2), last of the block
  EXPECT_EQ(i32(283), 0x0A0B0C0D);
  EXPECT_EQ(i16(287), -1);
  EXPECT_EQ(i16(289), 0);
  EXPECT_EQ(i32(291), 55);
  EXPECT_EQ(i32(295), -1234);
  EXPECT_EQ(i32(299), -4321);
  EXPECT_EQ(i16(303), 0);
  EXPECT_EQ(i16(305), -1);
  EXPECT_EQ(i16(307), 0);
  EXPECT_EQ(i32(309), 1111);
  EXPECT_EQ(i32(313), 2222);
  EXPECT_EQ(i16(317), -1);
}

TEST_F(Config, SaveThenLoadGivesEverythingBackAndKeepsALongerTail) {
  std::vector<uint8_t> old(400, 0xAB);
  testsupport::WriteBytes(home.dataDir() + "config.cfg", old);
  LoadConfig();  // "\xAB\xAB" is no number: version-1 layout from damaged bytes
  Sprache = "D";
  MusikLautstaerke = 33;
  KeyConfig.KeyMap(7, 1, 1) = 250;
  VideoKlein = true;
  ForceAn = {false, true};
  SaveConfig();
  std::vector<uint8_t> f = testsupport::ReadBytes(home.dataDir() + "config.cfg");
  ASSERT_EQ(f.size(), 400u);
  EXPECT_EQ(f[319], 0xAB);
  EXPECT_EQ(f[399], 0xAB);
  KeyConfigDaten saved = KeyConfig;
  SetUp();
  testsupport::WriteBytes(home.dataDir() + "config.cfg", f);
  LoadConfig();
  EXPECT_EQ(Sprache, "D");
  EXPECT_EQ(MusikLautstaerke, 33);
  EXPECT_EQ(KeyConfig.Map, saved.Map);
  EXPECT_EQ(KeyConfig.PauseKey, saved.PauseKey);
  EXPECT_TRUE(VideoKlein);
  EXPECT_TRUE(ForceAn[1]);
}

TEST_F(Config, SaveFailureIsLoggedOnly) {
  DatenOrdner = home.home() + "missing/";
  SaveConfig();
  SUCCEED();
}

TEST_F(Config, AnUnknownVersionIsKeptAsBakBeforeTheDefaultsAreSaved) {
  const std::string datei = home.dataDir() + "config.cfg";
  const std::vector<uint8_t> neuer = Bytes().ver("11").i16(0).i32(9).ch('D').keys(57).b;
  testsupport::WriteBytes(datei, neuer);
  LoadConfig();
  EXPECT_EQ(LoadingscreenNr, 0);
  SaveConfig();
  EXPECT_EQ(testsupport::ReadBytes(datei + ".bak"), neuer);
  EXPECT_EQ(testsupport::ReadBytes(datei), WriteConfig());
  std::string log = testsupport::ReadText(home.dataDir() + "Debug.txt");
  EXPECT_EQ(testsupport::SplitLines(log).size(), 1u) << log;
  EXPECT_NE(log.find("config.cfg.bak"), std::string::npos);
  // Once saved the file is ours: the next save keeps the backup as it is.
  LoadConfig();
  MusikLautstaerke = 12;
  SaveConfig();
  EXPECT_EQ(testsupport::ReadBytes(datei + ".bak"), neuer);
  // A known version makes no backup.
  std::filesystem::remove(datei + ".bak");
  Write(Bytes().ver("5 ").i32(1));
  LoadConfig();
  SaveConfig();
  EXPECT_FALSE(std::filesystem::exists(datei + ".bak"));
}

TEST_F(Config, AFifoNeitherBlocksTheLoadNorTheSave) {
  ASSERT_EQ(mkfifo((home.dataDir() + "config.cfg").c_str(), 0600), 0);
  int code = testsupport::RunInChild([] {
    alarm(10);  // a wait on the FIFO's other end ends the child
    LoadConfig();
    SaveConfig();
    return MusikLautstaerke == 90 ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
  struct stat st;
  ASSERT_EQ(lstat((home.dataDir() + "config.cfg").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(Config, AHugeFileIsReadOnlyAsFarAsTheLayoutGoes) {
  const std::string datei = home.dataDir() + "config.cfg";
  Bytes b = Bytes().ver("10").i16(0).i32(11).ch('R');
  testsupport::WriteBytes(datei, b.b);
  // Two GiB without the disk space: the file is sparse.
  ASSERT_EQ(truncate(datei.c_str(), off_t{2} << 30), 0);
  LoadConfig();
  EXPECT_EQ(LoadingscreenNr, 11);
  EXPECT_EQ(Sprache, "R");
  SaveConfig();
  struct stat st;
  ASSERT_EQ(stat(datei.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, off_t{2} << 30);  // the tail is kept as it is
  std::vector<uint8_t> anfang;
  ASSERT_TRUE(platform::fs::ReadStart(datei, anfang, 2 * kConfigGroesse));
  anfang.resize(kConfigGroesse);
  EXPECT_EQ(anfang, WriteConfig());
}
