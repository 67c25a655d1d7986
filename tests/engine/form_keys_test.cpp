// The game window's key events reach the action-key part while the program runs.
#include <gtest/gtest.h>

#include "campaign/ticker_state.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "shell/timing.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;

TEST(FormKeys, TheFullScreenWindowForwardsTypedKeysAndF3F4) {
  testsupport::IsolatedHome home;
  int code = testsupport::RunInChild([] {
    headless::Reset();
    headless::SetClock(5000);
    headless::TypeText("\r");  // OK in the settings window
    headless::At(5200, [] {
      platform::PostMessage(Form3, platform::wm::Char, 'q', 0);
      platform::PostMessage(Form3, platform::wm::KeyUp, 114, 0);  // F3
      platform::PostMessage(Form3, platform::wm::KeyUp, 115, 0);  // F4
      platform::PostMessage(Form3, platform::wm::KeyUp, 115, 0);
      platform::PostMessage(Form3, platform::wm::KeyDown, 114, 0);  // only the release counts
    });
    headless::At(5300, [] { platform::PostMessage(Form3, platform::wm::Close, 0, 0); });
    char name[] = "harvo";
    char* argv[] = {name};
    if (RunProgram(1, argv) != 0) return 10;
    if (TastenZeichen != 'q') return 11;
    if (!Antizeitverschiebung || Showinfo) return 12;
    const std::vector<std::string> want = {"Antizeitverschiebung True", "Showinfo True", "Showinfo False"};
    if (MessageHistory.Zeilen != want) return 13;
    return 0;
  });
  EXPECT_EQ(code, 0);
}
