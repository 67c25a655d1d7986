#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "platform/fs.hpp"
#include "support/support.hpp"

using namespace platform;

TEST(Fs, ResolvesWindowsPathsWithoutRegardToCase) {
  testsupport::TempDir dir;
  std::filesystem::create_directories(dir / "Data/Grafik");
  testsupport::WriteText(dir / "Data/Grafik/Balken.bmp", "x");
  std::string base = dir.path();
  struct Case {
    std::string in, out;
  } cases[] = {
      {base + "data\\grafik\\BALKEN.BMP", base + "Data/Grafik/Balken.bmp"},
      {base + "Data\\Grafik\\", base + "Data/Grafik/"},
      {base + "DATA/Grafik\\\\balken.bmp", base + "Data/Grafik/Balken.bmp"},
      {base + "data\\Missing\\balken.bmp", base + "Data/Missing/balken.bmp"},  // missing parts stay as given
      {base + "Data\\Grafik\\new.bmp", base + "Data/Grafik/new.bmp"},
  };
  for (const Case& c : cases) EXPECT_EQ(fs::Resolve(c.in), c.out) << c.in;
  EXPECT_TRUE(fs::FileExists(base + "DATA\\GRAFIK\\balken.BMP"));
  EXPECT_TRUE(fs::DirExists(base + "data\\grafik\\"));
  EXPECT_FALSE(fs::FileExists(base + "data\\grafik"));
}

TEST(Fs, FileOperations) {
  testsupport::TempDir dir;
  std::string f = dir / "Sub\\File.bin";
  EXPECT_TRUE(fs::MakeDir(dir / "Sub"));
  EXPECT_TRUE(fs::MakeDir(dir / "sub"));  // exists already, in another case
  EXPECT_TRUE(fs::WriteAll(f, "abc", 3));
  EXPECT_TRUE(fs::Append(dir / "sub\\file.BIN", "de", 2));
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(fs::ReadAll(f, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcde");
  EXPECT_EQ(fs::FileSize(f), 5);
  EXPECT_EQ(fs::ListFiles(dir / "SUB"), std::vector<std::string>{"File.bin"});
  EXPECT_EQ(fs::ListDirs(dir.path()), std::vector<std::string>{"Sub"});
  EXPECT_FALSE(fs::RemoveDir(dir / "Sub"));  // not empty
  EXPECT_TRUE(fs::DeleteFile(f));
  EXPECT_TRUE(fs::RemoveDir(dir / "Sub"));
  EXPECT_EQ(fs::FileSize(f), -1);
  EXPECT_FALSE(fs::ReadAll(f, bytes));
}

TEST(Fs, PerUserFolders) {
  testsupport::IsolatedHome home;
  EXPECT_EQ(fs::UserDataBase() + "/", home.home() + ".local/share/");
  setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(fs::UserDataBase() + "/", home.home() + ".local/share/");
  unsetenv("XDG_DATA_HOME");
  unsetenv("HOME");
  EXPECT_EQ(fs::UserDataBase(), "");
}

TEST(Fs, PrivateTempFolderIsOursAndClosed) {
  testsupport::IsolatedHome home;
  std::string tmp = fs::PrivateTempFolder();
  ASSERT_FALSE(tmp.empty());
  EXPECT_EQ(tmp.rfind(home.home() + "tmp/harvo-", 0), 0u);
  struct stat st;
  ASSERT_EQ(stat(tmp.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  chmod(tmp.c_str(), 0777);  // opened up by someone: closed again
  EXPECT_EQ(fs::PrivateTempFolder(), tmp);
  ASSERT_EQ(stat(tmp.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A link in its place is refused.
  std::filesystem::remove_all(tmp);
  std::filesystem::create_directories(home.home() + "elsewhere");
  std::filesystem::create_directory_symlink(home.home() + "elsewhere", tmp.substr(0, tmp.size() - 1));
  EXPECT_EQ(fs::PrivateTempFolder(), "");
}

TEST(Fs, OnlyRegularFilesAreReadOrWrittenAndReadsKeepToTheirLimit) {
  testsupport::TempDir dir;
  testsupport::WriteText(dir / "datei.bin", "0123456789");
  std::vector<uint8_t> bytes;
  struct Fall {
    const char* was;
    std::function<bool()> lies;
    std::string erwartet;
    bool ok;
  } faelle[] = {
      {"whole", [&] { return fs::ReadAll(dir / "datei.bin", bytes); }, "0123456789", true},
      {"at its limit", [&] { return fs::ReadAll(dir / "datei.bin", bytes, 10); }, "0123456789", true},
      {"over its limit", [&] { return fs::ReadAll(dir / "datei.bin", bytes, 9); }, "", false},
      {"the start", [&] { return fs::ReadStart(dir / "DATEI.BIN", bytes, 4); }, "0123", true},
      {"the start of a shorter file", [&] { return fs::ReadStart(dir / "datei.bin", bytes, 40); }, "0123456789", true},
      {"a folder", [&] { return fs::ReadAll(dir.path(), bytes); }, "", false},
  };
  for (const Fall& f : faelle) {
    bytes.assign(2, 'x');
    EXPECT_EQ(f.lies(), f.ok) << f.was;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), f.erwartet) << f.was;
  }
  // A FIFO without anyone at its other end: every call fails at once instead of waiting.
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  alarm(10);
  EXPECT_FALSE(fs::ReadAll(fifo, bytes));
  EXPECT_FALSE(fs::ReadStart(fifo, bytes, 4));
  EXPECT_FALSE(fs::WriteAll(fifo, "x", 1));
  EXPECT_FALSE(fs::Append(fifo, "x", 1));
  EXPECT_FALSE(fs::WriteReplacing(fifo, "x", 1, false));
  fs::InputFile stueckweise(fifo);
  EXPECT_FALSE(stueckweise.IsOpen());
  EXPECT_EQ(stueckweise.OpenError(), EINVAL);
  alarm(0);
  EXPECT_EQ(fs::PrivateFolder("relative/folder"), "");
  EXPECT_EQ(fs::PrivateFolder(dir / "privat"), dir / "privat/");
}

TEST(Fs, AnInputFileReadsPieceByPieceAndOpensOnlyRegularFiles) {
  testsupport::TempDir dir;
  testsupport::WriteText(dir / "Datei.bin", "0123456789");
  struct Fall {
    std::string pfad;
    int fehler;
  } faelle[] = {{dir / "datei.BIN", 0}, {dir / "fehlt.bin", ENOENT}, {dir.path(), EINVAL}};
  for (const Fall& f : faelle) {
    fs::InputFile datei(f.pfad);
    EXPECT_EQ(datei.IsOpen(), f.fehler == 0) << f.pfad;
    EXPECT_EQ(datei.OpenError(), f.fehler) << f.pfad;
  }
  fs::InputFile datei(dir / "Datei.bin");
  EXPECT_EQ(datei.Size(), 10u);
  char buf[8] = {};
  ASSERT_TRUE(datei.Read(buf, 3));
  EXPECT_EQ(std::string(buf, 3), "012");
  ASSERT_TRUE(datei.Seek(8));
  EXPECT_EQ(datei.Pos(), 8u);
  EXPECT_FALSE(datei.Read(buf, 3));  // only two are left
  ASSERT_TRUE(datei.Seek(5));
  EXPECT_EQ(datei.ReadSome(buf, sizeof buf), 5);
  EXPECT_EQ(std::string(buf, 5), "56789");
  EXPECT_EQ(datei.ReadSome(buf, sizeof buf), 0);
}

TEST(Fs, ANewFileIsNeverWrittenThroughWhatLiesInItsPlace) {
  testsupport::TempDir dir;
  testsupport::WriteText(dir / "fremd.txt", "keep");
  std::filesystem::create_symlink(dir / "fremd.txt", dir / "link.part");
  testsupport::WriteText(dir / "alt.part", "an older and longer file");
  for (const char* name : {"link.part", "alt.part", "neu.part"}) {
    EXPECT_TRUE(fs::exact::WriteNew(dir / name, "new", 3)) << name;
    EXPECT_FALSE(std::filesystem::is_symlink(dir / name)) << name;
    EXPECT_EQ(testsupport::ReadText(dir / name), "new") << name;
  }
  EXPECT_EQ(testsupport::ReadText(dir / "fremd.txt"), "keep");
}

TEST(Fs, AFolderTheSystemNamesIsTakenAsItIsAndOnlyTheRestIsResolved) {
  testsupport::TempDir dir;
  namespace fsys = std::filesystem;
  fsys::create_directories(dir / "a\\b/Data/Grafik");
  fsys::create_directories(dir / "daten/Grafik");
  fsys::create_directories(dir / "tief/echt");
  fsys::create_symlink(dir / "tief/echt", dir / "link");
  const std::string tief = fsys::canonical(dir / "tief").string();
  // As the system gives them: the root and its registered spelling.
  struct Wurzel {
    std::string name, registriert;
  } wurzeln[] = {
      {dir / "a\\b/", dir / "a\\b"},
      {dir / "a\\b/DATA", dir / "a\\b/DATA"},  // inside another root, in a case of its own
      {dir / "DATEN//./", dir / "DATEN"},       // missing as spelt, "daten" beside it
      {dir / "x/../link/..", tief},             // ".." after a link leaves where the link leads
      {"/..", "/"},
      {"", ""},
  };
  for (const Wurzel& w : wurzeln) EXPECT_EQ(fs::AddVerbatimRoot(w.name), w.registriert) << w.name;
  struct Case {
    std::string in, out;
  } cases[] = {
      {dir / "a\\b\\data\\GRAFIK\\", dir / "a\\b/Data/Grafik/"},
      {dir / "a\\b", dir / "a\\b"},
      {dir / "a\\bc\\data", dir / "a/bc/data"},  // only the same name is the root
      {dir / "a\\b/DATA\\grafik", dir / "a\\b/DATA/grafik"},
      {dir / "DATEN\\grafik", dir / "DATEN/grafik"},
      {dir / "Daten\\grafik", dir / "daten/Grafik"},  // no root: resolved as the game's own
  };
  for (const Case& c : cases) EXPECT_EQ(fs::Resolve(c.in), c.out) << c.in;
  char* hier = getcwd(nullptr, 0);
  EXPECT_EQ(fs::AddVerbatimRoot("rel/./x/"), std::string(hier) + "/rel/x");
  free(hier);
}
