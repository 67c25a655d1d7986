// Copies of the headless program side by side, as a user with two set-ups runs them: each
// unpacks into a folder of its own in the one temporary folder, so none fails for what
// another deleted, and none reads or writes the player's per-user folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs.hpp"
#include "support/support.hpp"

namespace fsys = std::filesystem;

namespace {

// One run of the headless program (`umgebung`: NAME=value words for its environment):
// empty when it ended with 0 and said nothing on stderr (where it reports what the game
// shows in a box or an error dialog), else what it said and its exit status.
std::string Lauf(const std::string& umgebung, const std::string& level, const std::string& mehr = "") {
  const std::string befehl = "env " + umgebung + " '" + HARVO_HEADLESS_EXE + "' -Skip -NoSound -Quiet -Seed 1 " +
                             mehr + " -Level '" + level + "' 2>&1 >/dev/null";
  std::string gesagt;
  FILE* p = popen(befehl.c_str(), "r");
  if (!p) return "cannot start " + befehl;
  char puffer[512];
  while (std::fgets(puffer, sizeof puffer, p)) gesagt += puffer;
  const int status = pclose(p);
  if (status != 0) gesagt += "status " + std::to_string(status);
  return gesagt.empty() ? "" : level + ": " + gesagt;
}

// The levels of the demo data: every level archive beside the tests.
std::vector<std::string> DemoLevels() {
  std::vector<std::string> levels;
  for (const auto& e : fsys::directory_iterator(fsys::path(HARVO_HEADLESS_EXE).parent_path() / "Data"))
    if (e.path().extension() == ".vlp") levels.push_back(e.path().stem().string());
  std::sort(levels.begin(), levels.end());
  return levels;
}

// Every file below `ordner` with its bytes, and every folder.
std::map<std::string, std::string> Stand(const std::string& ordner) {
  std::map<std::string, std::string> s;
  for (const auto& e : fsys::recursive_directory_iterator(ordner))
    s[e.path().string()] = e.is_directory() ? "<folder>" : testsupport::ReadText(e.path().string());
  return s;
}

// The copy folders left in the shared temporary folder.
size_t KopienOrdner(const std::string& temp) {
  size_t n = 0;
  for (const auto& e : fsys::directory_iterator(temp)) n += e.path().filename().string().starts_with("copy-");
  return n;
}

#ifdef HARVO_ADDRESS_SANITIZER
constexpr int kRunden = 1;  // each run is slow enough there to overlap the other's many times
#else
constexpr int kRunden = 2;
#endif

}  // namespace

// Two copies with one temporary folder load levels over and over, side by side: with
// per-user folders of their own, and with one per-user folder for both (as the second copy
// of the game goes on after Ignore at the "already running" question). No run fails, and
// every copy's folder is gone with it.
TEST(HeadlessCopies, TwoCopiesLoadingLevelsSideBySideNeverFail) {
  struct Fall {
    const char* was;
    bool einNutzerordner;
  };
  for (const Fall f : {Fall{"own per-user folders", false}, Fall{"one per-user folder", true}}) {
    SCOPED_TRACE(f.was);
    testsupport::TempDir dir;
    const std::string temp = dir.path() + "tmp";
    fsys::create_directories(temp);
    std::vector<std::string> fehler[2];
    std::vector<std::thread> kopien;
    for (int k = 0; k < 2; ++k)
      kopien.emplace_back([&, k] {
        const std::string home = dir.path() + "home" + std::to_string(k);
        const std::string mehr = f.einNutzerordner ? "-UserFolder '" + dir.path() + "user'" : "";
        for (int runde = 0; runde < kRunden; ++runde)
          for (const char* level : {"Level1", "Arsenal"}) {
            std::string e = Lauf("HOME=" + home + " XDG_DATA_HOME= TMPDIR=" + temp, level, "-Ticks 1 " + mehr);
            if (!e.empty()) fehler[k].push_back(e);
          }
      });
    for (std::thread& t : kopien) t.join();
    for (const auto& f2 : fehler) EXPECT_TRUE(f2.empty()) << f2.size() << " failed runs, the first: " << f2[0];
    EXPECT_EQ(KopienOrdner(platform::fs::PrivateFolder(temp + "/harvo-" + std::to_string(getuid()))), 0u);
  }
}

// The player's per-user folder is left byte for byte as it was by runs of every demo
// level: a short stretch of each, and the crash level played until its game is over (the
// continue screen then saves the high-score table).
TEST(HeadlessCopies, ThePlayersFolderIsUnchangedByRunsOfEveryDemoLevel) {
  testsupport::TempDir dir;
  const std::string nutzer = dir.path() + ".local/share/Harvo/";
  fsys::create_directories(nutzer + "save");
  for (const char* datei : {"config.cfg", "Highscore.dat", "Debug.txt", "save/1.sav"})
    testsupport::WriteText(nutzer + datei, std::string("the player's own ") + datei);
  const std::map<std::string, std::string> vorher = Stand(dir.path());
  const std::vector<std::string> levels = DemoLevels();
  ASSERT_GE(levels.size(), 20u);
  std::vector<std::string> fehler;
  std::mutex fehlerSperre;
  std::vector<std::thread> laeufe;
  constexpr size_t kZugleich = 4;
  for (size_t t = 0; t < kZugleich; ++t)
    laeufe.emplace_back([&, t] {
      for (size_t i = t; i < levels.size(); i += kZugleich) {
        std::string e = Lauf("HOME=" + dir.path() + " XDG_DATA_HOME= TMPDIR=" + dir.path(), levels[i],
                             levels[i] == "Crash" ? "" : "-Ticks 40");
        std::lock_guard<std::mutex> lock(fehlerSperre);
        if (!e.empty()) fehler.push_back(e);
      }
    });
  for (std::thread& t : laeufe) t.join();
  EXPECT_TRUE(fehler.empty()) << fehler[0];
  const std::string temp = dir.path() + "harvo-" + std::to_string(getuid());
  EXPECT_EQ(KopienOrdner(temp), 0u);
  fsys::remove_all(temp);
  EXPECT_EQ(Stand(dir.path()), vorher);
}
