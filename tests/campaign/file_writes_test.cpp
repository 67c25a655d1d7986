// The configuration and the high-score table are written under temporary names of their
// own and renamed over the old file: a link of the name is replaced, never written
// through; a folder named like an older temporary file is no obstacle; a file that cannot
// be kept aside or written stays as it was, and the log says so even without the debug
// switch.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "campaign/highscore.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace fsys = std::filesystem;

namespace {

enum class Ziel { Config, Highscore };
enum class Danach { Neu, Alt, Ordner };  // the file holds what was saved now, what it held, or is a folder

struct Fall {
  const char* was;
  Ziel ziel;
  std::function<void(const std::string& ordner)> vorher;  // before the file is read
  std::function<void(const std::string& ordner)> zwischen = {};  // between reading and saving
  Danach danach = Danach::Neu;
  std::vector<std::string> log = {};  // one line each, holding this
  std::vector<std::string> bleiben = {};  // still there afterwards
};

// A file of the kind to save, valid, and different from what the save writes.
std::vector<uint8_t> Gueltig(Ziel ziel) {
  if (ziel == Ziel::Config) {
    SetConfigDefaults();
    MusikLautstaerke = 55;
    return WriteConfig();
  }
  SetHighscoreDefaults();
  return WriteHighscore();
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

void Link(const std::string& ordner, const char* name, const std::vector<uint8_t>& ziel) {
  testsupport::WriteBytes(ordner + "fremd.bin", ziel);
  fsys::create_symlink(ordner + "fremd.bin", ordner + name);
}

const Fall kFaelle[] = {
    {"config.cfg a link to a longer file", Ziel::Config,
     [](const std::string& o) {
       std::vector<uint8_t> f = Gueltig(Ziel::Config);
       f.insert(f.end(), {'T', 'A', 'I', 'L'});
       Link(o, "config.cfg", f);
     }},
    {"Highscore.dat a link", Ziel::Highscore,
     [](const std::string& o) { Link(o, "Highscore.dat", Gueltig(Ziel::Highscore)); }},
    {"a folder config.cfg.tmp", Ziel::Config,
     [](const std::string& o) {
       testsupport::WriteBytes(o + "config.cfg", Gueltig(Ziel::Config));
       fsys::create_directories(o + "config.cfg.tmp/x");
     },
     {}, Danach::Neu, {}, {"config.cfg.tmp/x"}},
    {"a folder Highscore.dat.tmp, no table yet", Ziel::Highscore,
     [](const std::string& o) { fsys::create_directories(o + "Highscore.dat.tmp/x"); }, {}, Danach::Neu, {},
     {"Highscore.dat.tmp/x"}},
    {"a damaged table, a folder Highscore.dat.bak", Ziel::Highscore,
     [](const std::string& o) {
       testsupport::WriteBytes(o + "Highscore.dat", Text("damaged"));
       fsys::create_directories(o + "Highscore.dat.bak/x");
     },
     // Once at the load, once for the result.
     {}, Danach::Alt, {"beschaedigt", "Highscore.dat.bak: die Datei bleibt", "Highscore.dat.bak: die Datei bleibt"},
     {"Highscore.dat.bak/x"}},
    {"an unknown version, a folder config.cfg.bak", Ziel::Config,
     [](const std::string& o) {
       testsupport::WriteBytes(o + "config.cfg", Text("99 newer settings"));
       fsys::create_directories(o + "config.cfg.bak/x");
     },
     {}, Danach::Alt, {"Fehler beim Speichern der Configs"}, {"config.cfg.bak/x"}},
    {"a folder in the table's place when it is saved", Ziel::Highscore,
     [](const std::string& o) { testsupport::WriteBytes(o + "Highscore.dat", Gueltig(Ziel::Highscore)); },
     [](const std::string& o) {
       fsys::remove(o + "Highscore.dat");
       fsys::create_directories(o + "Highscore.dat/x");
     },
     Danach::Ordner, {"Highscore.dat konnte nicht geschrieben werden"}},
};

}  // namespace

TEST(FileWrites, ConfigurationAndHighscoresReplaceTheirFileWholeOrLeaveIt) {
  for (const Fall& c : kFaelle) {
    SCOPED_TRACE(c.was);
    testsupport::IsolatedHome home;
    testsupport::FreshState();
    ResetHighscore();
    DatenOrdner = home.dataDir();
    fsys::create_directories(DatenOrdner);
    const std::string datei = DatenOrdner + (c.ziel == Ziel::Config ? kConfigDatei : kHighscoreDatei);
    c.vorher(DatenOrdner);
    const std::vector<uint8_t> alt = testsupport::ReadBytes(datei);
    const std::vector<uint8_t> fremd = testsupport::ReadBytes(DatenOrdner + "fremd.bin");

    std::vector<uint8_t> neu;
    if (c.ziel == Ziel::Config) {
      LoadConfig();
      if (c.zwischen) c.zwischen(DatenOrdner);
      MusikLautstaerke = 12;
      SaveConfig();
      neu = WriteConfig();
      // What a longer old file held beyond the settings stays behind them.
      if (alt.size() > neu.size()) neu.insert(neu.end(), alt.begin() + static_cast<long>(neu.size()), alt.end());
    } else {
      LoadHighscore();
      if (c.zwischen) c.zwischen(DatenOrdner);
      EXPECT_EQ(AddHighscore("Kim", 2000000, 5), 1);
      neu = WriteHighscore();
    }

    EXPECT_FALSE(fsys::is_symlink(datei));
    switch (c.danach) {
      case Danach::Neu: EXPECT_EQ(testsupport::ReadBytes(datei), neu); break;
      case Danach::Alt: EXPECT_EQ(testsupport::ReadBytes(datei), alt); break;
      case Danach::Ordner: EXPECT_TRUE(fsys::is_directory(datei)); break;
    }
    EXPECT_EQ(testsupport::ReadBytes(DatenOrdner + "fremd.bin"), fremd);
    for (const std::string& b : c.bleiben) EXPECT_TRUE(fsys::exists(DatenOrdner + b)) << b;
    EXPECT_FALSE(testsupport::TempFileLeft(DatenOrdner, kConfigDatei));
    EXPECT_FALSE(testsupport::TempFileLeft(DatenOrdner, kHighscoreDatei));
    const std::string logDatei = DatenOrdner + DebugDatei;
    const std::string log = fsys::exists(logDatei) ? testsupport::ReadText(logDatei) : "";
    const std::vector<std::string> zeilen = testsupport::SplitLines(log);
    ASSERT_EQ(zeilen.size(), c.log.size()) << log;
    for (size_t i = 0; i < zeilen.size(); ++i) EXPECT_NE(zeilen[i].find(c.log[i]), std::string::npos) << zeilen[i];
  }
}
