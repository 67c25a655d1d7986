#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "engine/input.hpp"
#include "platform/headless/headless.hpp"
#include "platform/msgbox.hpp"
#include "player/players.hpp"
#include "run/program.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/weather_state.hpp"

using testsupport::IsolatedHome;
using testsupport::ReadText;
using testsupport::RunInChild;
using testsupport::SplitLines;
namespace headless = platform::headless;

namespace {


// Inside a child: the whole program headless with `args`, the settings window confirmed
// unless `confirm` is false; `script` prepares keys and answers. Returns the exit code.
int ProgramExitCode(std::vector<std::string> args, const std::function<void()>& script, bool confirm = true) {
  headless::Reset();
  headless::SetClock(5000);
  if (confirm) headless::TypeText("\r");  // OK in the settings window
  if (script) script();
  std::vector<std::string> argv{"harvo"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> ptrs;
  for (std::string& a : argv) ptrs.push_back(a.data());
  return RunProgram(static_cast<int>(ptrs.size()), ptrs.data());
}

// Runs the whole program headless in a child; `after` checks what it left.
int RunHeadless(std::vector<std::string> args, const std::function<void()>& script = {},
                const std::function<int()>& after = {}) {
  return RunInChild([&] {
    int code = ProgramExitCode(args, script);
    if (code != 0) return 100 + code;
    return after ? after() : 0;
  });
}

// The start-up videos and logos are skipped with the pause key too.
void EscapeAfter(int polls) {
  headless::QueueKeys({}, polls);
  testsupport::QueueEscapeTaps();
}

}  // namespace

class ProgramRun : public ::testing::Test {
 protected:
  IsolatedHome home;
  std::string Log() const { return ReadText(home.dataDir() + "Debug.txt"); }
};

TEST_F(ProgramRun, PlainRunWritesTheLogInOrderAndEndsFine) {
  ASSERT_EQ(RunHeadless({}, [] { EscapeAfter(5); }), 0);
  // The three lines each picture of the standard set writes are left out.
  std::vector<std::string> lines;
  for (const std::string& l : SplitLines(Log())) {
    // Every path in the log is a path of this system: from the root, with slashes.
    EXPECT_EQ(l.find('\\'), std::string::npos) << l;
    if (l.rfind("LoadSurface ", 0) == 0) {
      EXPECT_EQ(l.rfind("LoadSurface /", 0), 0u) << l;
    }
    if (l.rfind("LoadSurface ", 0) != 0 && l != "invert.." && l != "..ok") lines.push_back(l);
  }
  std::vector<std::string> expected = {"----------", "harvo_tests_shell 0.1.0", "", "Debug INIT: ",
                                       "Create Window", "DX init...", "ok", "Window=False",
                                       "Frontsurface: Videomemory", "Backsurface: Videomemory + 3D-Device",
                                       "3D-Init OK", "---", "{", "Soundinit ok", "OGG ok",
                                       "Colordepth: 32", "Hardware Invert", "Keyboardinit ok", "Joy1=False ()",
                                       "Joy2=False ()", "FF1=False", "FF2=False", "Surfaces Cleared",
                                       "Entpacke Standart.vkp, True", "Lösche entpackte Verzeichnisse",
                                       // The menu's pictures and sounds.
                                       "Entpacke Menu.vkp, True", "Lösche entpackte Verzeichnisse",
                                       "Sound Clear", "Sound dude.wav", "Entpacke Sound.vkp$dude.wav>, False",
                                       "Sound Loading ok 0", "Lösche entpackte Verzeichnisse",
                                       "Sound PlingDing.wav", "Entpacke Sound.vkp$PlingDing.wav>, False",
                                       "Sound Loading ok 1", "Lösche entpackte Verzeichnisse", "Sound speech.wav",
                                       "Entpacke Sound.vkp$speech.wav>, False", "Sound Loading ok 2",
                                       "Lösche entpackte Verzeichnisse",
                                       // The start-up: the logo video, the logos (the first
                                       // one's distortion cut short), the intro video.
                                       "Video: FlipToGDI", "Video: Render (", "Video: Soundsetup", "Video: Video",
                                       "Video: Window", "Video: Media", "Video: Play", "Video: Playing",
                                       "Video: Unload", "Video: Fine",
                                       "Entpacke Logo.vkp$Logo_praxelworks.bmp>, True",
                                       "Lösche entpackte Verzeichnisse", "Sound Logo.wav",
                                       "Entpacke Sound.vkp$Logo.wav>, False", "Sound Loading ok 3",
                                       "Lösche entpackte Verzeichnisse", "CopySurfaces OK", "RenderStart OK",
                                       "RenderWeiß OK", "Verzerrt OK", "Noise OK", "RenderEnd OK", "Blt OK",
                                       "Flip OK", "Entpacke Logo.vkp$Logo_umbrix.bmp>, True",
                                       "Lösche entpackte Verzeichnisse",
                                       "Entpacke Logo.vkp$Logo_tessaline.bmp>, True",
                                       "Lösche entpackte Verzeichnisse",
                                       "Video: FlipToGDI", "Video: Render (", "Video: Soundsetup", "Video: Video",
                                       "Video: Window", "Video: Media", "Video: Play", "Video: Playing",
                                       "Video: Unload", "Video: Fine",
                                       "Surfaces Cleared", "Sound Clear", "Fine Ending!"};
  ASSERT_EQ(lines.size(), expected.size()) << Log();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (expected[i] == "Debug INIT: " || expected[i] == "{" || expected[i] == "Video: Render (")
      EXPECT_EQ(lines[i].rfind(expected[i], 0), 0u) << lines[i];
    else if (expected[i].rfind("harvo", 0) == 0)
      EXPECT_NE(lines[i].find(" 0.1.0"), std::string::npos) << lines[i];
    else
      EXPECT_EQ(lines[i], expected[i]) << "line " << i;
  }
  EXPECT_TRUE(std::filesystem::is_directory(home.dataDir() + "save"));
}

TEST_F(ProgramRun, CloseRequestInTheMenuShutsDownInOrder) {
  ASSERT_EQ(RunHeadless({}, [] {
              headless::At(5300, [] { platform::PostMessage(Form3, platform::wm::Close, 0, 0); });
            }),
            0);
  std::vector<std::string> lines = SplitLines(Log());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Fine Ending!");
}

// A desktop logging out (SIGTERM) or Ctrl+C (SIGINT) is a close request of the game
// window: the run ends through its shut-down and the configuration is written.
class EndSignal : public ProgramRun, public ::testing::WithParamInterface<int> {};

TEST_P(EndSignal, ClosesTheGameWindowAndTheRunEndsNormally) {
  const int sig = GetParam();
  int code = RunHeadless({}, [sig] { headless::At(5300, [sig] { std::raise(sig); }); },
                         [] { return Spielstatus == 10 ? 0 : 2; });
  ASSERT_EQ(code, 0);
  std::vector<std::string> lines = SplitLines(Log());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Fine Ending!");
  EXPECT_TRUE(std::filesystem::exists(home.dataDir() + "config.cfg"));
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, EndSignal, ::testing::Values(SIGTERM, SIGINT));

TEST_F(ProgramRun, AnEndSignalInTheSettingsWindowCancelsIt) {
  int code = RunInChild([] {
    return ProgramExitCode({}, [] { headless::At(5001, [] { std::raise(SIGTERM); }); }, /*confirm=*/false);
  });
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(std::filesystem::exists(home.dataDir() + "config.cfg"));
  EXPECT_EQ(Log().find("Create Window"), std::string::npos);
}

TEST_F(ProgramRun, WithoutADisplayTheBoxSaysWhatFailed) {
  int code = RunInChild([] {
    int exit = ProgramExitCode({}, [] { headless::SetNoDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set"); });
    if (exit != 1) return 2;
    const auto& boxes = headless::MessageBoxes();
    if (boxes.size() != 1) return 3;
    return boxes[0].text ==
                   "Could not open a window: neither DISPLAY nor WAYLAND_DISPLAY is set\r\n\r\n"
                   "Harvo needs a display (X11 or Wayland) to run."
               ? 0
               : 4;
  });
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(std::filesystem::exists(home.dataDir() + "config.cfg"));  // ended at once
}

TEST_F(ProgramRun, ADisplayThatCannotShowFramesIsReportedWithItsReasonAndShutsDown) {
  int code = RunHeadless({}, [] { headless::SetPresentFailure("Couldn't find matching render driver"); }, [] {
    const auto& dialogs = headless::Dialogs();
    if (dialogs.size() != 1) return 2;
    if (dialogs[0].Field("Error ID:") != "DDERR_GENERIC") return 3;
    if (dialogs[0].Field("Error Code:") != "-2147467259") return 4;
    return dialogs[0].Field("Description:").find("\nCouldn't find matching render driver\n") != std::string::npos ? 0
                                                                                                              : 5;
  });
  ASSERT_EQ(code, 0);
  std::vector<std::string> lines = SplitLines(Log());
  auto crash = std::find(lines.begin(), lines.end(), "-----CRASH:");
  ASSERT_LE(crash + 2, lines.end());
  EXPECT_EQ(crash[1], "DDERR_GENERIC -2147467259 There is an undefined error condition.");
  EXPECT_EQ(crash[2], "Couldn't find matching render driver");
  EXPECT_EQ(lines.back(), "Fine Ending!");
  EXPECT_TRUE(std::filesystem::exists(home.dataDir() + "config.cfg"));
}

TEST_F(ProgramRun, TheConfigurationSurvivesARestart) {
  // What a run reads it writes back unchanged (the colour depth is the display's own).
  std::filesystem::create_directories(home.dataDir());
  DatenOrdner = home.dataDir();
  LoadConfig();
  ForceAn = {false, false};  // without force-feedback joysticks the run clears them anyway
  Sprache = "D";
  SoundAn = false;
  FensterModus = false;
  MusikLautstaerke = 42;
  VideoKlein = true;
  KeyConfig.KeyMap(4, 0, 1) = 57;
  Farbtiefe = 32;
  VideoAn = false;  // no video archive beside the tests: the settings window turns videos off
  SaveConfig();
  std::vector<uint8_t> before = testsupport::ReadBytes(home.dataDir() + "config.cfg");
  ASSERT_EQ(before.size(), 319u);
  ASSERT_EQ(RunHeadless({}, [] { EscapeAfter(1); }), 0);
  EXPECT_EQ(testsupport::ReadBytes(home.dataDir() + "config.cfg"), before);
  // Sound off: no sound device and no music player are started.
  EXPECT_EQ(Log().find("Soundinit ok"), std::string::npos);
  EXPECT_EQ(Log().find("OGG ok"), std::string::npos);
}

TEST_F(ProgramRun, AnOldLogInAnyCaseIsReplacedWithoutDebugSwitch) {
  std::filesystem::create_directories(home.dataDir());
  testsupport::WriteText(home.dataDir() + "debug.txt", "old line\r\n");
  ASSERT_EQ(RunHeadless({}, [] { EscapeAfter(1); }), 0);
  EXPECT_FALSE(std::filesystem::exists(home.dataDir() + "debug.txt"));
  std::string log = Log();
  EXPECT_EQ(log.find("old line"), std::string::npos);
  EXPECT_EQ(log.rfind("----------\r\n", 0), 0u);
}

TEST_F(ProgramRun, DebugSwitchKeepsTheLogAndAsksTwiceWhenGivenTwice) {
  std::filesystem::create_directories(home.dataDir());
  testsupport::WriteText(home.dataDir() + "Debug.txt", "old line\r\n");
  int code = RunHeadless({"-Debug", "-Debug"}, [] { EscapeAfter(1); }, [] {
    int asked = 0;
    for (const auto& box : headless::MessageBoxes())
      if (box.text == "Debug.txt neu erstellen?") {
        ++asked;
        if (box.answer != platform::mb::No) return 2;  // No is the default button
      }
    return asked == 2 ? 0 : 3;
  });
  ASSERT_EQ(code, 0);
  std::vector<std::string> lines = SplitLines(Log());
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[0], "old line");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "----------");
  EXPECT_EQ(lines[3].rfind("Debug INIT: ", 0), 0u);
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "----------");
  EXPECT_EQ(lines[6].rfind("Debug INIT: ", 0), 0u);
  EXPECT_EQ(lines[7], "Create Window");
}

TEST_F(ProgramRun, DebugSwitchYesRecreatesTheLog) {
  std::filesystem::create_directories(home.dataDir());
  testsupport::WriteText(home.dataDir() + "Debug.txt", "old line\r\n");
  ASSERT_EQ(RunHeadless({"-Debug"}, [] {
              headless::QueueAnswer(platform::mb::Yes);
              EscapeAfter(1);
            }),
            0);
  EXPECT_EQ(Log().find("old line"), std::string::npos);
}

TEST_F(ProgramRun, SkipAsksTwoQuestionsPlaysOneLevelAndEnds) {
  int code = RunHeadless({"-Skip"},
                         [] {
                           headless::QueueAnswer(platform::mb::Yes);     // two players
                           headless::QueueAnswer(platform::mb::Cancel);  // ship type 2
                           // The pause key once in the level (no start-up videos come
                           // before it), then the pause screen's exit: let go, down, confirm.
                           headless::QueueKeys({}, 3);
                           headless::QueueKeys({1});
                           headless::QueueKeys({});
                           headless::QueueKeys({208});
                           headless::QueueKeys({28});
                         },
                         [] {
                           if (LetzterSpieler != 1) return 2;
                           if (Schiff[0].Schiffstyp() != 2) return 3;
                           if (headless::MessageBoxes().size() != 2) return 4;
                           return LevelName == "Level1" ? 0 : 5;
                         });
  EXPECT_EQ(code, 0);
  EXPECT_NE(Log().find("Fine Ending!"), std::string::npos);
}

class SingleInstance : public ProgramRun {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(home.dataDir());
    fd_ = open((home.dataDir() + ".instance-lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd_, 0);
    ASSERT_EQ(flock(fd_, LOCK_SH), 0);  // "another instance" runs
  }
  void TearDown() override { close(fd_); }
  int fd_ = -1;
};

TEST_F(SingleInstance, AbortEndsBeforeAnythingIsSetUp) {
  ASSERT_EQ(RunHeadless({}, [] { headless::QueueAnswer(platform::mb::Abort); }), 0);
  EXPECT_FALSE(std::filesystem::exists(home.dataDir() + "Debug.txt"));
}

TEST_F(SingleInstance, RetryAsksAgainAndIgnoreGoesOn) {
  int code = RunHeadless({},
                         [] {
                           headless::QueueAnswer(platform::mb::Retry);
                           headless::QueueAnswer(platform::mb::Ignore);
                           EscapeAfter(1);
                         },
                         [] {
                           const auto& boxes = headless::MessageBoxes();
                           if (boxes.size() != 2) return 2;
                           return boxes[0].text.find("Harvo is already running.") != std::string::npos &&
                                          boxes[0].text.find("Harvo уже запущен") != std::string::npos
                                      ? 0
                                      : 3;
                         });
  EXPECT_EQ(code, 0);
  EXPECT_NE(Log().find("Fine Ending!"), std::string::npos);
}

// What the start logs before the log is settled (here: why the leftovers stay after
// Ignore) follows the log's first lines instead of going with an old log, and makes no log
// the debug switch would ask about: there was none before the start.
struct ErsteZeilen {
  std::vector<std::string> args;
  size_t kopf;  // the first lines' count
};
class StartLog : public SingleInstance, public ::testing::WithParamInterface<ErsteZeilen> {};

TEST_P(StartLog, WhatTheStartLogsFollowsTheFirstLines) {
  const int code = RunHeadless(
      GetParam().args,
      [] {
        headless::QueueAnswer(platform::mb::Ignore);
        EscapeAfter(1);
      },
      [] { return headless::MessageBoxes().size() == 1 ? 0 : 2; });  // the "already running" question alone
  ASSERT_EQ(code, 0);
  const size_t kopf = GetParam().kopf;
  const std::vector<std::string> lines = SplitLines(Log());
  ASSERT_GT(lines.size(), kopf + 1);
  EXPECT_EQ(lines[kopf - 1].rfind("Debug INIT: ", 0), 0u);
  EXPECT_EQ(lines[kopf], "Leftovers of earlier runs kept: another copy of the game may be using them");
  EXPECT_EQ(lines[kopf + 1], "Create Window");
}

INSTANTIATE_TEST_SUITE_P(PlainAndDebug, StartLog,
                         ::testing::Values(ErsteZeilen{{}, 4}, ErsteZeilen{{"-Debug"}, 3}));

TEST_F(SingleInstance, ABoxClosedWithoutAnswerCountsAsAbort) {
  EXPECT_EQ(platform::DismissAnswer(platform::mb::AbortRetryIgnore), platform::mb::Abort);
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    DatenOrdner = home.home();
    RegenAnzahl = 0;
    Wasserstand = 0;
    headless::Reset();
  }
  testsupport::IsolatedHome home;
};

TEST_F(CommandLine, Switches) {
  struct Case {
    const char* line;
    int32_t regen, wasser, tick;
    const char* level;
    bool skip, debug;
  } cases[] = {
      {"", 0, 0, 0, "Level1", false, false},
      {"-Regen 50", 50, 0, 0, "Level1", false, false},
      {"-Regen", 0, 0, 0, "Level1", false, false},
      {"-Regen 99999999999", INT32_MAX, 0, 0, "Level1", false, false},
      {"-Wasser 320 -Tick 500", 0, 320, 500, "Level1", false, false},
      {"-Tick500", 0, 0, 0, "Level1", false, false},  // one character after the name is skipped
      {"-Tick 2.5", 0, 0, 2, "Level1", false, false},
      {"-Skip -Level Boss Level", 0, 0, 0, "Boss Level", true, false},
      {"-Level My Level -Debug", 0, 0, 0, "My Level -Debug", false, true},
      {"-skip -debug", 0, 0, 0, "Level1", false, false},  // case-sensitive
      {"x-Regen 7", 7, 0, 0, "Level1", false, false},
  };
  for (const Case& c : cases) {
    SetUp();
    ScanCommandLine(c.line);
    EXPECT_EQ(RegenAnzahl, c.regen) << c.line;
    EXPECT_EQ(Wasserstand, c.wasser) << c.line;
    EXPECT_EQ(StartTick, c.tick) << c.line;
    EXPECT_EQ(LevelName, c.level) << c.line;
    EXPECT_EQ(SkipModus, c.skip) << c.line;
    EXPECT_EQ(DebugModus, c.debug) << c.line;
  }
}

TEST_F(CommandLine, DebugWritesTheShortHeaderAtOnce) {
  ScanCommandLine("-Debug");
  std::vector<std::string> lines = SplitLines(ReadText(home.home() + "Debug.txt"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "----------");
  ASSERT_EQ(lines[2].size(), std::string("Debug INIT: 12-24-2026 10:11:12").size());
  EXPECT_EQ(lines[2].substr(0, 12), "Debug INIT: ");
  EXPECT_TRUE(headless::MessageBoxes().empty());  // no old log: no question
}

TEST(LogDateTime, Format) {
  headless::Reset();
  headless::SetDate({2026, 3, 4, 5, 6, 7});
  EXPECT_EQ(LogDateTime(), "03-04-2026 05:06:07");
}
