// The folders the system names are used as it spells them: a level loads, and its unpack
// folders go again, whatever the temporary folder's name holds; and the instance lock lies
// with the per-user files whatever the per-user folder's name holds or its "Harvo" is
// called.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "headless/run.hpp"
#include "platform/process.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace fsys = std::filesystem;

namespace {

struct Ordner {
  const char* was;
  std::string variable;  // its value, below the home folder
  std::string echt;      // where the folder lies, below the home folder
  std::function<void(const std::string& home)> vorher = {};
};

void Anlegen(const std::string& ordner) { fsys::create_directories(ordner); }

class SystemOrdner : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  void TearDown() override { testsupport::FreshState(); }
};

}  // namespace

TEST_F(SystemOrdner, ALevelLoadsAndLeavesNothingUnpackedWhateverTheTemporaryFolderIsCalled) {
  const Ordner faelle[] = {
      {"a backslash", "a\\b", "a\\b", [](const std::string& h) { Anlegen(h + "a\\b"); }},
      {"\".\", \"..\" and a separator at the end", "tmp/.//x/../", "tmp"},
      {"\"..\" after a link", "link/..", "tief",
       [](const std::string& h) {
         Anlegen(h + "tief/echt");
         fsys::create_directory_symlink(h + "tief/echt", h + "link");
       }},
  };
  for (const Ordner& c : faelle) {
    SCOPED_TRACE(c.was);
    if (c.vorher) c.vorher(home.home());
    setenv("TMPDIR", (home.home() + c.variable).c_str(), 1);
    headless_run::Options o;
    o.ticks = 2;
    int64_t ticks = 0;
    EXPECT_EQ(headless_run::Run(o, [&](const headless_run::Tick& t) { ticks = t.n; }), 0);
    EXPECT_EQ(ticks, 2);
    const std::string temp = home.home() + c.echt + "/harvo-" + std::to_string(getuid());
    ASSERT_TRUE(fsys::is_directory(temp));
    for (const auto& e : fsys::recursive_directory_iterator(temp)) EXPECT_NE(e.path().filename(), "Harvo") << e.path();
  }
}

TEST_F(SystemOrdner, TheInstanceLockLiesWithThePerUserFilesWhateverThePerUserFolderIsCalled) {
  const Ordner faelle[] = {
      {"a backslash", "a\\b", "a\\b/Harvo/"},
      {"another case than a folder beside it", "Daten", "Daten/Harvo/",
       [](const std::string& h) { Anlegen(h + "daten/harvo"); }},
      {"\"..\" below a missing folder", "x/../y//", "y/Harvo/"},
      {"its \"Harvo\" in a case of its own", "c", "c/harvo/", [](const std::string& h) { Anlegen(h + "c/harvo"); }},
  };
  // Each start as the program makes it: the lock first, then the per-user folder.
  ASSERT_EQ(testsupport::RunInChild([&] {
              for (const Ordner& c : faelle) {
                if (c.vorher) c.vorher(home.home());
                setenv("XDG_DATA_HOME", (home.home() + c.variable).c_str(), 1);
                platform::ForgetInstanceLock();
                if (!platform::HoldOnlyInstanceLock()) return 1;
                VariabelnInit();
                SaveConfig();
                DebugLog("start");
              }
              return 0;
            }),
            0);
  for (const Ordner& c : faelle)
    for (const char* name : {".instance-lock", "Debug.txt", "config.cfg", "save"})
      EXPECT_TRUE(fsys::exists(home.home() + c.echt + name)) << c.was << ": " << name;
  EXPECT_TRUE(fsys::is_empty(home.home() + "daten/harvo"));
}
