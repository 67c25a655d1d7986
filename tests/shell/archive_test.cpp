#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "lib/archive_writer.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
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
  std::string Log() { return testsupport::ReadText(DatenOrdner + "Debug.txt"); }

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
  EXPECT_NE(Log().find("Lösche entpackte Verzeichnisse"), std::string::npos);
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

TEST_F(Archive, StaleFilesOfAnotherRunAreWrittenAnewAndNothingIsWrittenThroughALink) {
  Pack("Spiel.vkp", {{"a.txt", Bytes("new a")}, {"b.txt", Bytes("new b")}, {"c.txt", Bytes("new c")}});
  // What a run that was killed left, or what lies in place of our files: a file of the
  // wrong contents, a FIFO, a link out of the folder, and a link named like the temporary
  // name of the first member this process writes.
  const std::string harvo = GetTempFolder() + "Harvo/";
  const std::string ordner = harvo + "Spiel.vkpdir/";
  const std::string fremd = home.home() + "fremd.txt";
  testsupport::WriteText(fremd, "keep");
  testsupport::WriteText(ordner + "a.txt", "stale");
  ASSERT_EQ(mkfifo((ordner + "b.txt").c_str(), 0600), 0);
  fsys::create_symlink(fremd, ordner + "c.txt");
  fsys::create_symlink(fremd, harvo + ".part" + std::to_string(getpid()) + ".1");
  alarm(10);  // a FIFO read or written by mistake would wait for ever
  std::string dir = Depack("Spiel.vkp", AppPath(), false);
  alarm(0);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
    EXPECT_TRUE(fsys::is_regular_file(fsys::symlink_status(ordner + name))) << name;
    EXPECT_EQ(testsupport::ReadText(ordner + name), std::string("new ") + name[0]) << name;
  }
  EXPECT_EQ(testsupport::ReadText(fremd), "keep");

  // This run's own files are used as they are until the folder is deleted...
  testsupport::WriteText(ordner + "a.txt", "changed");
  Depack("Spiel.vkp", AppPath(), false);
  EXPECT_EQ(testsupport::ReadText(ordner + "a.txt"), "changed");
  // ...and then forgotten: a file made in their place afterwards is another's.
  KillDir(dir);
  testsupport::WriteText(ordner + "a.txt", "stale");
  Depack("Spiel.vkp", AppPath(), false);
  EXPECT_EQ(testsupport::ReadText(ordner + "a.txt"), "new a");
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
  EXPECT_NE(Log().find("Konnte nicht löschen: " + platform::fs::Resolve(dir)), std::string::npos);
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

namespace {

// Collects what an unpack hands over, in memory.
struct Sammler : UnpackSink {
  std::vector<std::pair<std::string, std::string>> members;
  std::set<std::string> vorhanden;  // as if on disk from an earlier unpack
  size_t bisZu = SIZE_MAX;          // Put refuses from this member on
  bool Wanted(const std::string& m) override { return !vorhanden.count(m); }
  bool Put(const std::string& m, std::vector<uint8_t> c) override {
    if (members.size() >= bisZu) return false;
    members.emplace_back(m, std::string(c.begin(), c.end()));
    return true;
  }
};

void Anhaengen(std::vector<uint8_t>& a, std::initializer_list<uint8_t> bytes) { a.insert(a.end(), bytes); }
void Anhaengen(std::vector<uint8_t>& a, const std::vector<uint8_t>& bytes) { a.insert(a.end(), bytes.begin(), bytes.end()); }

// A zlib stream of `n` zero bytes, made piece by piece.
std::vector<uint8_t> DeflateZeros(size_t n) {
  z_stream s{};
  deflateInit(&s, 1);
  std::vector<uint8_t> nullen(1 << 16), out;
  std::vector<uint8_t> puffer(1 << 16);
  size_t rest = n;
  do {
    size_t stueck = std::min(rest, nullen.size());
    rest -= stueck;
    s.next_in = nullen.data();
    s.avail_in = static_cast<uInt>(stueck);
    do {
      s.next_out = puffer.data();
      s.avail_out = static_cast<uInt>(puffer.size());
      deflate(&s, rest ? Z_NO_FLUSH : Z_FINISH);
      out.insert(out.end(), puffer.begin(), puffer.end() - s.avail_out);
    } while (s.avail_out == 0);
  } while (rest);
  deflateEnd(&s);
  return out;
}

}  // namespace

TEST(ArchiveBytes, AHandMadeArchiveWalksMemberByMember) {
  // The entry layout spelt out byte by byte; only the zlib streams come from zlib.
  const std::vector<uint8_t> name = tools::Deflate(Bytes("Gr\xFC\xDF.txt")), data = tools::Deflate(Bytes("abc"));
  const std::vector<uint8_t> leer = tools::Deflate({});
  std::vector<uint8_t> a;
  Anhaengen(a, {8, 0, 0, 0, static_cast<uint8_t>(name.size()), 0, 0, 0});
  Anhaengen(a, name);
  Anhaengen(a, {3, 0, 0, 0, static_cast<uint8_t>(data.size()), 0, 0, 0});
  Anhaengen(a, data);
  Anhaengen(a, {8, 0, 0, 0, static_cast<uint8_t>(name.size()), 0, 0, 0});
  Anhaengen(a, name);
  Anhaengen(a, {0, 0, 0, 0, static_cast<uint8_t>(leer.size()), 0, 0, 0});
  Anhaengen(a, leer);
  std::vector<ArchiveEntry> gesehen;
  ArchiveError fehler;
  ASSERT_TRUE(WalkArchive(a, [&](const ArchiveEntry& e) { return gesehen.push_back(e), true; }, fehler));
  ASSERT_EQ(gesehen.size(), 2u);
  EXPECT_EQ(gesehen[0].name, "Gruess.txt");
  EXPECT_EQ(gesehen[0].size, 3);
  EXPECT_EQ(std::vector<uint8_t>(gesehen[0].packed.begin(), gesehen[0].packed.end()), data);
  EXPECT_EQ(gesehen[1].size, 0);
  std::vector<uint8_t> inhalt;
  EXPECT_EQ(InflateMember(gesehen[0].packed, 3, inhalt), Z_OK);
  EXPECT_EQ(inhalt, Bytes("abc"));
  EXPECT_EQ(InflateMember(gesehen[1].packed, 0, inhalt), Z_OK);
  EXPECT_TRUE(inhalt.empty());

  // The walk stops when asked to, and at the first damage with the member it was on.
  gesehen.clear();
  EXPECT_TRUE(WalkArchive(a, [&](const ArchiveEntry& e) { return gesehen.push_back(e), false; }, fehler));
  EXPECT_EQ(gesehen.size(), 1u);
  a.pop_back();
  EXPECT_FALSE(WalkArchive(a, [](const ArchiveEntry&) { return true; }, fehler));
  EXPECT_EQ(fehler.Nummer, 62);
  EXPECT_EQ(fehler.member, "Gruess.txt");
}

TEST(ArchiveBytes, InflateMemberWantsExactlyTheStatedSize) {
  const std::vector<uint8_t> data(1000, 'x');
  const std::vector<uint8_t> packed = tools::Deflate(data);
  std::vector<uint8_t> out;
  struct Fall {
    const char* was;
    std::vector<uint8_t> stream;
    int32_t size;
    int32_t ergebnis;
  } faelle[] = {
      {"exact", packed, 1000, Z_OK},
      {"stated larger", packed, 1001, Z_DATA_ERROR},
      {"stated far larger", packed, 512 << 20, Z_DATA_ERROR},
      {"stated smaller", packed, 999, Z_DATA_ERROR},
      {"stated zero", packed, 0, Z_DATA_ERROR},
      {"negative", packed, -1, Z_DATA_ERROR},
      {"cut short", std::vector<uint8_t>(packed.begin(), packed.end() - 5), 1000, Z_DATA_ERROR},
      {"no stream", Bytes("garbage"), 7, Z_DATA_ERROR},
      {"nothing", {}, 0, Z_DATA_ERROR},
  };
  for (const Fall& f : faelle) {
    out.assign(3, 1);
    EXPECT_EQ(InflateMember(f.stream, f.size, out), f.ergebnis) << f.was;
    EXPECT_EQ(out.size(), f.ergebnis == Z_OK ? 1000u : 0u) << f.was;
  }
  // A large member grows its buffer as it goes.
  const std::vector<uint8_t> nullen = DeflateZeros(5 << 20);
  ASSERT_EQ(InflateMember(nullen, 5 << 20, out), Z_OK);
  EXPECT_EQ(out, std::vector<uint8_t>(5 << 20, 0));
}

TEST(ArchiveBytes, UnpackBytesSelectsSkipsAndStops) {
  const std::vector<uint8_t> archiv = tools::PackArchive(kMembers);
  struct Fall {
    const char* angabe;
    std::set<std::string> vorhanden;
    size_t bisZu;
    std::vector<std::string> namen;
  } faelle[] = {
      {"A.vkp", {}, SIZE_MAX, {"Regen1.bmp", "SCHNEE1.BMP", "Regen1.bmp.old", "Gruesse.txt", "leer.dat"}},
      {"A.vkp$gruesse.TXT>", {}, SIZE_MAX, {"Gruesse.txt"}},
      {"A.vkp$Regen1.bmp<leer.dat<", {"SCHNEE1.BMP"}, SIZE_MAX, {"Regen1.bmp.old", "Gruesse.txt"}},
      {"A.vkp", {}, 2, {"Regen1.bmp", "SCHNEE1.BMP"}},
  };
  for (const Fall& f : faelle) {
    Sammler s;
    s.vorhanden = f.vorhanden;
    s.bisZu = f.bisZu;
    ArchiveError fehler;
    EXPECT_TRUE(UnpackBytes(archiv, f.angabe, s, fehler)) << f.angabe;
    std::vector<std::string> namen;
    for (const auto& m : s.members) namen.push_back(m.first);
    EXPECT_EQ(namen, f.namen) << f.angabe;
  }
}

TEST_F(Archive, DamagedSizesCostNoMemoryAndRunningOutIsAFailure) {
#ifdef HARVO_ADDRESS_SANITIZER
  GTEST_SKIP() << "a limit on the address space does not go with the address sanitizer";
#else
  // Fifty members that claim 512 MiB each but hold a few bytes...
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 50; ++i) {
    std::string name = "m" + std::to_string(i) + ".bin";
    tools::AppendRawEntry(bytes, static_cast<int32_t>(name.size()), tools::Deflate(Bytes(name)), 512 << 20,
                          tools::Deflate(Bytes("tiny")));
  }
  Anhaengen(bytes, tools::PackArchive({{"ok.txt", Bytes("fine")}}));
  // ...and one that really is larger than the memory left.
  const int32_t gross = 400 << 20;
  tools::AppendRawEntry(bytes, 7, tools::Deflate(Bytes("big.bin")), gross, DeflateZeros(gross));
  WriteRaw("Bomb.vkp", bytes);
  int code = testsupport::RunInChild([&] {
    std::ifstream status("/proc/self/status");
    std::string zeile;
    long kb = 0;
    while (std::getline(status, zeile))
      if (zeile.rfind("VmSize:", 0) == 0) kb = std::stol(zeile.substr(7));
    rlimit grenze{};
    grenze.rlim_cur = grenze.rlim_max = static_cast<rlim_t>(kb) * 1024 + (192u << 20);
    if (kb == 0 || setrlimit(RLIMIT_AS, &grenze) != 0) return 2;
    std::string dir = Depack("Bomb.vkp", AppPath(), false);
    return Files(dir) == std::vector<std::string>{"ok.txt"} ? 0 : 1;
  });
  EXPECT_EQ(code, 0);
  const std::string log = Log();
  EXPECT_NE(log.find("Fehler beim Entpacken (Bomb.vkp - m49.bin - defekter Inhalt)"), std::string::npos);
  EXPECT_NE(log.find("Fehler beim Entpacken (Bomb.vkp - big.bin - 7 Out of memory)"), std::string::npos) << log;
#endif
}

TEST_F(Archive, UnusableNamesAreSkippedAndTheRestUnpacks) {
  const std::string lang = std::string(251, 'x') + ".txt";                // 255 bytes: a legal file name
  const std::string zuLang = std::string(250, 'y') + "\xFC" + ".txt";     // 256 once the umlaut is spelt out
  Pack("Namen.vkp", {{".", Bytes("dot")},
                     {lang, Bytes("long")},
                     {zuLang, Bytes("too long")},
                     {".part1", Bytes("named like a temporary file")},
                     {"ok.txt", Bytes("fine")}});
  std::string dir = Depack("Namen.vkp", AppPath(), false);
  EXPECT_EQ(Files(dir), (std::vector<std::string>{".part1", "ok.txt", lang}));
  const std::string echt = platform::fs::Resolve(dir);
  EXPECT_EQ(testsupport::ReadText(echt + lang), "long");
  EXPECT_EQ(testsupport::ReadText(echt + ".part1"), "named like a temporary file");
  EXPECT_NE(Log().find("Unzulaessiger Name im Archiv: .\r\n"), std::string::npos);
  EXPECT_NE(Log().find("Unzulaessiger Name im Archiv: " + std::string(250, 'y') + "ue.txt\r\n"), std::string::npos);
  EXPECT_EQ(Log().find("Fehler beim Entpacken"), std::string::npos);
  KillDir(dir);
  EXPECT_FALSE(platform::fs::DirExists(GetTempFolder() + "Harvo\\"));
}

TEST_F(Archive, WithoutAPrivateTemporaryFolderThePerUserFolderServesOrNothingIsUnpacked) {
  Pack("Spiel.vkp", {{"a.txt", Bytes("a")}});
  const std::string anderswo = home.home() + "elsewhere/";
  fsys::create_directories(anderswo);
  auto verlinken = [&](std::string ordner) {
    fsys::remove_all(ordner);
    fsys::create_directory_symlink(anderswo, ordner);
  };
  // A link in place of the system's private folder.
  std::string tmp = platform::fs::PrivateTempFolder();
  ASSERT_FALSE(tmp.empty());
  verlinken(tmp.substr(0, tmp.size() - 1));
  DatenOrdner = home.home() + "daten/";
  fsys::create_directories(DatenOrdner);
  const std::string eigen = GetTempFolder();
  EXPECT_EQ(eigen.rfind(DatenOrdner + "tmp/copy-", 0), 0u) << eigen;
  std::string dir = Depack("Spiel.vkp", AppPath(), false);
  EXPECT_EQ(dir, eigen + "Harvo\\Spiel.vkpdir\\");
  EXPECT_EQ(Files(dir), std::vector<std::string>{"a.txt"});
  KillDir(dir);
  EXPECT_FALSE(fsys::exists(eigen + "Harvo"));

  // A link there too: nothing is unpacked, neither there nor in the working folder.
  verlinken(DatenOrdner + "tmp");
  const bool hatteHarvo = fsys::exists(fsys::current_path() / "Harvo");
  EXPECT_EQ(GetTempFolder(), "");
  dir = Depack("Spiel.vkp", AppPath(), false);
  EXPECT_NE(Log().find("Fehler beim Entpacken (Spiel.vkp -  - 75 Path/File access error)"), std::string::npos);
  EXPECT_TRUE(fsys::is_empty(anderswo));
  EXPECT_EQ(fsys::exists(fsys::current_path() / "Harvo"), hatteHarvo);
  KillDir(dir);
  EXPECT_NE(Log().find("Konnte nicht löschen: " + platform::fs::Resolve(dir)), std::string::npos);
}
