#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;

namespace {

// Runs the program headless, leaving the menu with Escape at once.
int RunWithoutSoundDevice() {
  return testsupport::RunInChild([] {
    headless::Reset();
    headless::SetClock(5000);
    headless::TypeText("\r");  // OK in the settings window
    headless::SetNoAudioDevice(true);
    headless::QueueKeys({}, 1);
    testsupport::QueueEscapeTaps();
    char name[] = "harvo";
    char* argv[] = {name};
    int code = RunProgram(1, argv);
    return code == 0 && !headless::AudioOpen() ? 0 : 100 + code;
  });
}

}  // namespace

TEST(SoundStart, WithoutASoundDeviceTheProgramRunsSilently) {
  testsupport::IsolatedHome home;
  ASSERT_EQ(RunWithoutSoundDevice(), 0);
  std::string log = testsupport::ReadText(home.dataDir() + "Debug.txt");
  std::vector<std::string> lines = testsupport::SplitLines(log);
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_EQ(log.find("Soundinit ok"), std::string::npos);
  ASSERT_LT(at("Soundinit failed, no sound output: no audio device"), static_cast<ptrdiff_t>(lines.size())) << log;
  EXPECT_EQ(at("OGG ok"), at("Soundinit failed, no sound output: no audio device") + 1);
  EXPECT_EQ(lines.back(), "Fine Ending!");
}
