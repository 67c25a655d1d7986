// Each running copy's own temporary folder: made with its lock held, kept while the copy
// runs (also from a forked child's start), removed at its end; at a start only the folders
// of copies that have ended go, and never through a link.
#include "platform/copy_folder.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/support.hpp"

namespace fsys = std::filesystem;

namespace {

enum class Art { Datei, Ordner, Link };

struct Eintrag {
  std::string pfad;  // below the shared folder, or below "X/" (elsewhere)
  Art art;
  bool bleibt;
  std::string ziel = "";  // of a link
};

class CopyFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    fsys::create_directories(base);
    fsys::create_directories(dir.path() + "X");
  }
  void TearDown() override {
    platform::SetCopyFolderHook(nullptr);
    platform::RemoveCopyFolder();
  }
  std::string Pfad(const std::string& p) const { return p.starts_with("X/") ? dir.path() + p : base + p; }
  void Anlegen(const std::vector<Eintrag>& eintraege) {
    for (const Eintrag& e : eintraege) {
      const std::string p = Pfad(e.pfad);
      fsys::create_directories(fsys::path(p).parent_path());
      if (e.art == Art::Datei) testsupport::WriteText(p, "x");
      if (e.art == Art::Ordner) fsys::create_directories(p);
      if (e.art == Art::Link) fsys::create_symlink(Pfad(e.ziel), p);
    }
  }
  // The copy folders in the shared folder.
  std::vector<std::string> Kopien() const {
    std::vector<std::string> n;
    for (const auto& e : fsys::directory_iterator(base))
      if (e.path().filename().string().starts_with("copy-")) n.push_back(e.path().filename().string());
    return n;
  }
  testsupport::TempDir dir;
  const std::string base = dir.path() + "shared/";
};

// A lock another copy holds on its folder's lock file, for as long as it lives.
struct Gesperrt {
  int fd;
  explicit Gesperrt(const std::string& datei) : fd(open(datei.c_str(), O_RDWR | O_CREAT, 0600)) { flock(fd, LOCK_EX); }
  ~Gesperrt() { close(fd); }
};

}  // namespace

TEST_F(CopyFolder, AStartClearsOnlyTheFoldersOfCopiesThatEnded) {
  const std::vector<Eintrag> eintraege = {
      {"X/keep.txt", Art::Datei, true},
      {"X/inner/y.bmp", Art::Datei, true},
      // Ended: the lock file is there and free, or missing (ended before it was made).
      {"copy-aB3xY9/.lock", Art::Datei, false},
      {"copy-aB3xY9/Harvo/Spiel.vkpdir/a.bmp", Art::Datei, false},
      {"copy-aB3xY9/Harvo/Temp0.tmp", Art::Datei, false},
      {"copy-aB3xY9/Harvo/link.bmp", Art::Link, false, "X/keep.txt"},
      {"copy-aB3xY9/Harvo/inner", Art::Link, false, "X/inner"},
      {"copy-000000/user-q/save/1.sav", Art::Datei, false},
      // Running: its lock is held (below).
      {"copy-Run123/.lock", Art::Datei, true},
      {"copy-Run123/Harvo/Level1.vlpdir/Level1.vlp", Art::Datei, true},
      // Named like one, but no folder of a copy: a link, a file, a lock file that is a link.
      {"copy-linked", Art::Link, true, "X/inner"},
      {"copy-afile1", Art::Datei, true},
      {"copy-lnklck/.lock", Art::Link, true, "X/keep.txt"},
      // Other names.
      {"copy-short/Temp0.tmp", Art::Datei, true},
      {"copy-toolong/Temp0.tmp", Art::Datei, true},
      {"Harvo/Spiel.vkpdir/a.bmp", Art::Datei, true},
      {".folder-lock", Art::Datei, true},
  };
  Anlegen(eintraege);
  const Gesperrt laeuft(base + "copy-Run123/.lock");
  EXPECT_EQ(platform::ClearEndedCopies(base), 2);
  for (const Eintrag& e : eintraege) EXPECT_EQ(fsys::exists(fsys::symlink_status(Pfad(e.pfad))), e.bleibt) << e.pfad;
  EXPECT_FALSE(fsys::exists(base + "copy-aB3xY9"));
  EXPECT_FALSE(fsys::exists(base + "copy-000000"));
}

// The copy's own folder: the same at every call, kept by a start, made anew when it was
// removed or the shared folder changed (the old one goes), removed at the end.
TEST_F(CopyFolder, TheOwnFolderLivesAsLongAsTheCopy) {
  const std::string eigen = platform::CopyFolder(base);
  ASSERT_FALSE(eigen.empty());
  EXPECT_EQ(eigen.rfind(base + "copy-", 0), 0u);
  EXPECT_EQ(platform::CopyFolder(base), eigen);
  testsupport::WriteText(eigen + "Temp0.tmp", "x");
  EXPECT_EQ(platform::ClearEndedCopies(base), 0);
  EXPECT_TRUE(fsys::exists(eigen + "Temp0.tmp"));

  fsys::remove_all(eigen);  // a cleaner of the temporary folder
  const std::string neu = platform::CopyFolder(base);
  ASSERT_FALSE(neu.empty());
  EXPECT_NE(neu, eigen);
  EXPECT_TRUE(fsys::exists(neu + ".lock"));

  const std::string anderer = dir.path() + "other/";
  fsys::create_directories(anderer);
  const std::string dort = platform::CopyFolder(anderer);
  EXPECT_EQ(dort.rfind(anderer, 0), 0u);
  EXPECT_FALSE(fsys::exists(neu));
  platform::RemoveCopyFolder();
  EXPECT_FALSE(fsys::exists(dort));
  EXPECT_TRUE(Kopien().empty());
}

// A start may come at any step of making a folder (here: from the step itself). Before the
// lock is held it takes the new folder for an ended copy's and removes it; the copy then
// makes another. Either way the copy ends up with one folder of its own that a start
// keeps, and nothing is left of the first.
TEST_F(CopyFolder, AStartBetweenTheStepsOfMakingAFolderCostsOnlyThatFolder) {
  struct Fall {
    platform::CopyFolderStep schritt;
    bool ersterBleibt;
  };
  static std::string g_base;
  static platform::CopyFolderStep g_schritt;
  static std::string g_erster;
  g_base = base;
  for (const Fall f : {Fall{platform::CopyFolderStep::Made, false}, Fall{platform::CopyFolderStep::LockFileMade, false},
                       Fall{platform::CopyFolderStep::Locked, true}}) {
    SCOPED_TRACE(static_cast<int>(f.schritt));
    platform::RemoveCopyFolder();
    g_schritt = f.schritt;
    g_erster.clear();
    platform::SetCopyFolderHook([](platform::CopyFolderStep s, const std::string& ordner) {
      if (s != g_schritt || !g_erster.empty()) return;
      g_erster = ordner;
      platform::ClearEndedCopies(g_base);
    });
    const std::string eigen = platform::CopyFolder(base);
    platform::SetCopyFolderHook(nullptr);
    ASSERT_FALSE(eigen.empty());
    EXPECT_EQ(eigen == g_erster, f.ersterBleibt);
    EXPECT_EQ(platform::ClearEndedCopies(base), 0);
    EXPECT_TRUE(fsys::exists(eigen + ".lock"));
    EXPECT_EQ(Kopien().size(), 1u);
  }
}

// A forked child goes on in its parent's folder; its start and its end leave it alone.
TEST_F(CopyFolder, AForkedChildNeitherClearsNorRemovesItsParentsFolder) {
  const std::string eigen = platform::CopyFolder(base);
  ASSERT_FALSE(eigen.empty());
  testsupport::WriteText(eigen + "Temp0.tmp", "x");
  const pid_t kind = fork();
  if (kind == 0) {
    const int geraeumt = platform::ClearEndedCopies(base);
    const bool gleich = platform::CopyFolder(base) == eigen;
    platform::RemoveCopyFolder();  // as at the end of the process
    _exit(geraeumt == 0 && gleich ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(kind, &status, 0), kind);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(fsys::exists(eigen + "Temp0.tmp"));
  EXPECT_EQ(platform::ClearEndedCopies(base), 0);
}
