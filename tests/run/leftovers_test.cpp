// What runs that ended without their clean-up left behind is cleared at the start of a run
// that is alone: only the names the game itself writes, never anything through a link,
// and nothing at all while another copy runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
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
    ASSERT_FALSE(GetTempFolder().empty());
  }
  std::string Pfad(const std::string& p) const {
    const std::string rest = p.substr(2);
    if (p[0] == 'D') return DatenOrdner + rest;
    if (p[0] == 'T') return GetTempFolder() + rest;
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
    {"X/Highscore.dat.tmp", Art::Datei, true},
    {"X/Spiel.vkpdir/a.bmp", Art::Datei, true},
    {"X/Temp0.tmp", Art::Datei, true},
};

}  // namespace

TEST_F(Leftovers, OnlyTheGamesOwnNamesGoAndNoLinkIsFollowed) {
  const std::vector<Eintrag> eintraege = {
      // Unpack folders, whatever their members are.
      {"T/Harvo/Spiel.vkpdir/a.bmp", Art::Datei, false},
      {"T/Harvo/Spiel.vkpdir/b.wav", Art::Fifo, false},
      {"T/Harvo/Spiel.vkpdir/c.bmp", Art::Link, false, "X/keep.txt"},
      {"T/Harvo/Spiel.vkpdir", Art::Ordner, false},
      {"T/Harvo/Level1.VLPDIR/Level1.vlp", Art::Datei, false},
      {"T/Harvo/Stimmen.vfpdir", Art::Ordner, false},
      {"T/Harvo/Tiefer.vkpdir/fremd/x.txt", Art::Datei, true},  // a folder in it: not ours
      {"T/Harvo/Tiefer.vkpdir/y.bmp", Art::Datei, false},
      {"T/Harvo/Verweis.vkpdir", Art::Link, true, "X/Spiel.vkpdir"},
      {"T/Harvo/Notizen/n.txt", Art::Datei, true},
      {"T/Harvo/vkpdir", Art::Ordner, true},
      // Checkpoints and members half written.
      {"T/Harvo/Temp0.tmp", Art::Datei, false},
      {"T/Harvo/Temp10.tmp", Art::Datei, false},
      {"T/Harvo/Temp3.tmp.tmp", Art::Datei, false},
      {"T/Harvo/Temp4.tmp", Art::Link, false, "X/Temp0.tmp"},
      {"T/Harvo/Temp11.tmp", Art::Datei, true},
      {"T/Harvo/Temp0.tmp.bak", Art::Datei, true},
      {"T/Harvo/.part4711.3", Art::Datei, false},
      {"T/Harvo/.part12", Art::Datei, false},
      {"T/Harvo/.partial", Art::Datei, true},
      {"T/Harvo/Temp5.tmp", Art::Ordner, true},
      {"T/fremd.txt", Art::Datei, true},
      // The files replaced whole, in the per-user folder and the save folder.
      {"D/Highscore.dat.tmp", Art::Datei, false},
      {"D/Screenshot.bmp.tmp", Art::Link, false, "X/Highscore.dat.tmp"},
      {"D/Loadingscreen.bmp.tmp", Art::Fifo, false},
      {"D/Highscore.dat", Art::Datei, true},
      {"D/config.cfg.tmp", Art::Datei, true},
      {"D/Temp0.tmp", Art::Datei, true},
      {"D/Debug.txt", Art::Datei, true},
      {"D/save/1.sav.tmp", Art::Datei, false},
      {"D/save/21.sav.tmp", Art::Datei, false},
      {"D/save/21.sav", Art::Datei, true},
      {"D/save/22.sav.tmp", Art::Datei, true},
      {"D/save/0.sav.tmp", Art::Datei, true},
      {"D/save/Highscore.dat.tmp", Art::Datei, true},
  };
  Anlegen(kAnderswo);
  Anlegen(eintraege);
  ClearLeftovers();
  Pruefen(eintraege);
  Pruefen(kAnderswo);
  EXPECT_TRUE(fsys::is_directory(SaveOrdner));
}

TEST_F(Leftovers, FoldersOfOursThatAreLinksAreNotEnteredAndAnEmptiedOneGoes) {
  // Nothing but leftovers: the folder itself goes too.
  const std::vector<Eintrag> nurReste = {
      {"T/Harvo/Spiel.vkpdir/a.bmp", Art::Datei, false},
      {"T/Harvo/Temp0.tmp", Art::Datei, false},
      {"T/Harvo", Art::Ordner, false},
  };
  Anlegen(nurReste);
  ClearLeftovers();
  Pruefen(nurReste);

  // "Harvo" and "save" as links: what they point to stays whole.
  const std::vector<Eintrag> links = {
      {"T/Harvo", Art::Link, true, "X/"},
      {"D/save2", Art::Link, true, "X/"},
  };
  Anlegen(kAnderswo);
  testsupport::WriteText(Pfad("X/3.sav.tmp"), "x");
  fsys::remove_all(SaveOrdner);
  SaveOrdner = DatenOrdner + "save2/";
  Anlegen(links);
  ClearLeftovers();
  Pruefen(links);
  Pruefen(kAnderswo);
  EXPECT_TRUE(fsys::exists(Pfad("X/3.sav.tmp")));
}

// A whole start: alone, the leftovers go; after Ignore at the second-copy question they
// stay, since the other copy may be using them, and so they do where no lock file can be
// had (a folder in its place), since then nobody can tell. The settings window is
// cancelled at once.
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
  const std::vector<std::string> reste = {temp + "Harvo/Spiel.vkpdir/a.bmp", temp + "Harvo/Temp0.tmp",
                                          daten + "save/2.sav.tmp", daten + "Highscore.dat.tmp"};
  for (const std::string& p : reste) testsupport::WriteText(p, "stale");
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
}

INSTANTIATE_TEST_SUITE_P(AloneOrNot, LeftoversAtStart,
                         ::testing::Values(Start::Allein, Start::ZweiteKopie, Start::OhneSperre));
