// What runs that ended without their clean-up left behind is cleared at a start: the
// temporary folders of copies that have ended, and, when the run is alone in its per-user
// folder, the temporary files there: only the names the game itself writes, spelt exactly
// so, never anything through a link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/msgbox.hpp"
#include "run/leftovers.hpp"
#include "run/program.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace fsys = std::filesystem;
namespace headless = platform::headless;

namespace {

enum class Art { Datei, Fifo, Ordner, Link };

struct Eintrag {
  std::string pfad;  // below the per-user folder ("D/"), the temporary folder ("T/") or elsewhere ("X/")
  Art art;
  bool bleibt;
  std::string ziel = "";  // of a link
};

class Leftovers : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    DatenOrdner = home.dataDir();
    SaveOrdner = DatenOrdner + "save/";
    fsys::create_directories(SaveOrdner);
    ASSERT_FALSE(platform::fs::PrivateTempFolder().empty());
  }
  std::string Pfad(const std::string& p) const {
    const std::string rest = p.substr(2);
    if (p[0] == 'D') return DatenOrdner + rest;
    if (p[0] == 'T') return platform::fs::PrivateTempFolder() + rest;
    return home.home() + "elsewhere/" + rest;
  }
  void Anlegen(const std::vector<Eintrag>& eintraege) {
    for (const Eintrag& e : eintraege) {
      const std::string p = Pfad(e.pfad);
      fsys::create_directories(fsys::path(p).parent_path());
      switch (e.art) {
        case Art::Datei: testsupport::WriteText(p, "x"); break;
        case Art::Fifo: ASSERT_EQ(mkfifo(p.c_str(), 0600), 0) << p; break;
        case Art::Ordner: fsys::create_directories(p); break;
        case Art::Link: fsys::create_symlink(Pfad(e.ziel), p); break;
      }
    }
  }
  void Pruefen(const std::vector<Eintrag>& eintraege) {
    for (const Eintrag& e : eintraege) EXPECT_EQ(fsys::exists(fsys::symlink_status(Pfad(e.pfad))), e.bleibt) << e.pfad;
  }
  testsupport::IsolatedHome home;
};

// Elsewhere: what links in our folders point to.
const std::vector<Eintrag> kAnderswo = {
    {"X/keep.txt", Art::Datei, true},
    {"X/Highscore.dat.part4711.1", Art::Datei, true},
    {"X/Spiel.vkpdir/a.bmp", Art::Datei, true},
    {"X/Temp0.tmp", Art::Datei, true},
};

}  // namespace

TEST_F(Leftovers, OnlyTheGamesOwnNamesGoAndNoLinkIsFollowed) {
  const std::vector<Eintrag> eintraege = {
      // The files replaced whole, in the per-user folder and the save folder.
      {"D/Highscore.dat.part4711.1", Art::Datei, false},
      {"D/Screenshot.bmp.part4711.2", Art::Link, false, "X/Highscore.dat.part4711.1"},
      {"D/Loadingscreen.bmp.part1.30", Art::Fifo, false},
      {"D/config.cfg.part4711.3", Art::Datei, false},
      {"D/Highscore.dat", Art::Datei, true},
      {"D/Highscore.dat.tmp", Art::Datei, true},
      {"D/HIGHSCORE.DAT.part4711.1", Art::Datei, true},
      {"D/Highscore.dat.PART4711.1", Art::Datei, true},
      {"D/Highscore.dat.part4711", Art::Datei, true},
      {"D/Highscore.dat.part.1", Art::Datei, true},
      {"D/Highscore.dat.part4711.1x", Art::Datei, true},
      {"D/Highscore.dat.part4711.1.2", Art::Datei, true},
      {"D/config.cfg.tmp", Art::Datei, true},
      {"D/Temp0.tmp", Art::Datei, true},
      {"D/Debug.txt", Art::Datei, true},
      {"D/save/1.sav.part4711.1", Art::Datei, false},
      {"D/save/21.sav.part99.3", Art::Datei, false},
      {"D/save/21.sav", Art::Datei, true},
      {"D/save/22.sav.part4711.1", Art::Datei, true},
      {"D/save/0.sav.part4711.1", Art::Datei, true},
      {"D/save/Highscore.dat.part4711.1", Art::Datei, true},
  };
  Anlegen(kAnderswo);
  Anlegen(eintraege);
  ClearLeftovers();
  Pruefen(eintraege);
  Pruefen(kAnderswo);
  EXPECT_TRUE(fsys::is_directory(SaveOrdner));
}

TEST_F(Leftovers, ASaveFolderThatIsALinkIsNotEntered) {
  const std::vector<Eintrag> links = {{"D/save2", Art::Link, true, "X/"}};
  Anlegen(kAnderswo);
  testsupport::WriteText(Pfad("X/3.sav.part4711.1"), "x");
  fsys::remove_all(SaveOrdner);
  SaveOrdner = DatenOrdner + "save2/";
  Anlegen(links);
  ClearLeftovers();
  Pruefen(links);
  Pruefen(kAnderswo);
  EXPECT_TRUE(fsys::exists(Pfad("X/3.sav.part4711.1")));
}

// A whole start: the folder of a copy that ended goes whatever runs, and the start's own
// is gone once it ended. The per-user folder's leftovers go when the start is alone; after
// Ignore at the second-copy question they stay, since the other copy may be using them,
// and so they do where no lock file can be had (a folder in its place), since then nobody
// can tell. The settings window is cancelled at once.
enum class Start { Allein, ZweiteKopie, OhneSperre };

class LeftoversAtStart : public ::testing::TestWithParam<Start> {
 protected:
  testsupport::IsolatedHome home;
};

TEST_P(LeftoversAtStart, GoOnlyWhenTheLockSaysNoOtherCopyRuns) {
  const Start fall = GetParam();
  const std::string daten = home.dataDir();
  const std::string temp = platform::fs::PrivateTempFolder();
  ASSERT_FALSE(temp.empty());
  const std::string beendet = temp + "copy-Ended1/Harvo/Spiel.vkpdir/a.bmp";
  const std::vector<std::string> reste = {daten + "save/2.sav.part4711.1", daten + "Highscore.dat.part4711.1"};
  for (const std::string& p : reste) testsupport::WriteText(p, "stale");
  testsupport::WriteText(beendet, "stale");
  int lock = -1;
  if (fall == Start::ZweiteKopie) {
    lock = open((daten + ".instance-lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(lock, LOCK_SH), 0);
  }
  if (fall == Start::OhneSperre) fsys::create_directories(daten + ".instance-lock");
  const int code = testsupport::RunInChild([fall] {
    headless::Reset();
    headless::SetClock(5000);
    if (fall == Start::ZweiteKopie) headless::QueueAnswer(platform::mb::Ignore);
    headless::At(5001, [] { std::raise(SIGTERM); });
    char name[] = "harvo";
    char* argv[] = {name};
    return RunProgram(1, argv);
  });
  if (lock >= 0) close(lock);
  EXPECT_EQ(code, 0);
  for (const std::string& p : reste) EXPECT_EQ(fsys::exists(p), fall != Start::Allein) << p;
  EXPECT_TRUE(fsys::is_empty(temp));
}

INSTANTIATE_TEST_SUITE_P(AloneOrNot, LeftoversAtStart,
                         ::testing::Values(Start::Allein, Start::ZweiteKopie, Start::OhneSperre));

namespace {

// Another copy of the game: the headless program playing a level in a process of its
// own, with this test's temporary folder. Once its first ticks are read it has loaded the
// level in its own folder there and holds that folder's lock; it cannot end by itself
// then, since it reports each tick into a pipe (made small) that nobody empties.
class AndereKopie {
 public:
  explicit AndereKopie(const std::string& home) {
    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC) != 0) return;
    fcntl(rohr[1], F_SETPIPE_SZ, 4096);
    std::vector<std::string> umgebung = {"HOME=" + home};
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("HOME=", 0) != 0 && std::string(*e).rfind("XDG_DATA_HOME=", 0) != 0)
        umgebung.push_back(*e);
    std::vector<char*> envp;
    for (std::string& e : umgebung) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {HARVO_HEADLESS_EXE, "-Skip", "-Level", "Level1", "-Ticks", "100000", "-Seed", "1",
                                     "-NoSound"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(rohr[1], STDOUT_FILENO);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    close(rohr[1]);
    ticks_ = fdopen(rohr[0], "r");
  }
  ~AndereKopie() { Toeten(); }
  bool Spielt() {
    char zeile[256];
    return pid_ > 0 && ticks_ && std::fgets(zeile, sizeof zeile, ticks_);
  }
  // Killed, as a run that ends without its clean-up.
  void Toeten() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (ticks_) fclose(ticks_);
    pid_ = 0;
    ticks_ = nullptr;
  }

 private:
  pid_t pid_ = 0;
  FILE* ticks_ = nullptr;
};

}  // namespace

// The copy folders in the shared temporary folder, each with what it holds, but for this
// process's own.
std::map<std::string, std::vector<std::string>> Kopien() {
  std::map<std::string, std::vector<std::string>> k;
  const std::string eigen = fsys::path(GetTempFolder()).parent_path().filename().string();
  for (const auto& e : fsys::directory_iterator(platform::fs::PrivateTempFolder())) {
    const std::string name = e.path().filename().string();
    if (!name.starts_with("copy-") || name == eigen) continue;
    std::vector<std::string>& inhalt = k[name];
    for (const auto& d : fsys::recursive_directory_iterator(e.path())) inhalt.push_back(d.path().string());
    std::sort(inhalt.begin(), inhalt.end());
  }
  return k;
}

// Copies share one temporary folder, each unpacking into a folder of its own: a start
// leaves a running copy's folder as it is and clears the folder of one that was killed.
TEST_F(Leftovers, AStartClearsTheFolderOfAKilledCopyAndKeepsARunningOnes) {
  testsupport::TempDir andererHome;
  AndereKopie laeuft(andererHome.path());
  ASSERT_TRUE(laeuft.Spielt());
  const auto vorher = Kopien();
  ASSERT_EQ(vorher.size(), 1u);
  AndereKopie getoetet(andererHome.path());
  ASSERT_TRUE(getoetet.Spielt());
  getoetet.Toeten();
  ASSERT_EQ(Kopien().size(), 2u);
  ClearLeftoversAtStart(true);
  EXPECT_EQ(Kopien(), vorher);
  EXPECT_FALSE(fsys::exists(DatenOrdner + DebugDatei));  // alone in its per-user folder: nothing to say
}
