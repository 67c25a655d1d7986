#include <gtest/gtest.h>

#include <optional>

#include "platform/headless/headless.hpp"
#include "platform/process.hpp"
#include "shell/timing.hpp"

TEST(GetField, Cases) {
  struct Case {
    const char* text;
    int32_t index;
    const char* delim;
    std::optional<std::string> delim2;
    const char* field;
  } cases[] = {
      {"a, b ,c", 2, ",", std::nullopt, "b"},
      {"a,b", 3, ",", std::nullopt, " "},
      {"a,b", 0, ",", std::nullopt, " "},
      {"a,b", -1, ",", std::nullopt, " "},
      {"", 1, ",", std::nullopt, ""},
      {"", 2, ",", std::nullopt, " "},
      {"a,,c", 2, ",", std::nullopt, ""},
      {"name=value;rest", 2, "=", std::string(";"), "value"},
      {"name=value;rest", 3, "=", std::string(";"), "rest"},
      {"a;b=c", 2, "=", std::string(";"), "b"},
      {"a,b,", 3, ",", std::nullopt, ""},
      {"whole text", 1, ",", std::nullopt, "whole text"},
      {"\tx\t,y", 1, ",", std::nullopt, "\tx\t"},
      // The next field starts one character after the found position, whatever the
      // delimiter's length.
      {"a--b--c", 2, "--", std::nullopt, "-b"},
      {"Spiel.vkp$Regen1.bmp>", 2, "$", std::nullopt, "Regen1.bmp>"},
      {"Loading.vkp$", 2, "$", std::nullopt, ""},
      {"Loading.vkp", 2, "$", std::nullopt, " "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetField(c.text, c.index, c.delim, c.delim2), c.field) << '"' << c.text << "\" field " << c.index;
}

class WaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::headless::SetClock(1000);
    LetzterTick = 1000;
    Rendern = true;
    Showinfo = false;
  }
  // One frame whose world step takes `stepMs`; returns whether it was to be drawn.
  bool Frame(int stepMs, int ti = 16) {
    platform::headless::AdvanceClock(stepMs);
    Wait(ti);
    return Rendern;
  }
};

TEST_F(WaitTest, WithoutSkippingEveryFrameIsDrawnAndWaitsForItsEnd) {
  FrameSkipAn = false;
  for (int step : {3, 30, 0, 16}) {
    int64_t before = GetTickCount() + step;
    EXPECT_TRUE(Frame(step));
    EXPECT_EQ(LetzterTick, GetTickCount());
    EXPECT_GE(GetTickCount(), before);
  }
  Showinfo = true;
  DebugZeile = "unchanged";
  Frame(1);
  EXPECT_EQ(DebugZeile, "unchanged");
}

TEST_F(WaitTest, SlowWorldDrawsEverySecondFrame) {
  FrameSkipAn = true;
  Showinfo = true;
  std::string pattern;
  for (int i = 0; i < 8; ++i) pattern += Frame(20) ? 'D' : 's';
  EXPECT_EQ(pattern, "sDsDsDsD");
  EXPECT_NE(DebugZeile.find(" FSkip:"), std::string::npos);
  int lateBefore = std::stoi(DebugZeile.substr(DebugZeile.find("FSkip:") + 6));
  Frame(20);
  Frame(20);
  int lateAfter = std::stoi(DebugZeile.substr(DebugZeile.find("FSkip:") + 6));
  EXPECT_EQ(lateAfter, lateBefore + 1);  // each drawn late frame moves the clock once
}

TEST_F(WaitTest, NeverTwoSkippedFramesInARow) {
  FrameSkipAn = true;
  bool previous = true;
  for (int step : {40, 40, 100, 5, 200, 200, 0, 17, 33}) {
    bool drawn = Frame(step);
    EXPECT_TRUE(drawn || previous);
    previous = drawn;
  }
}

TEST_F(WaitTest, ShortDelaysAreMadeUpByTheFollowingFrames) {
  FrameSkipAn = true;
  EXPECT_FALSE(Frame(26));  // 10 ms late: skipped, the clock moves by one frame only
  EXPECT_EQ(LetzterTick, 1016);
  EXPECT_TRUE(Frame(0));
  EXPECT_EQ(LetzterTick, 1032);
  EXPECT_EQ(GetTickCount(), 1032);  // it waited for the frame's due time, not longer
  EXPECT_TRUE(Frame(2));
  EXPECT_EQ(GetTickCount(), 1048);
}

TEST_F(WaitTest, StatisticsLine) {
  FrameSkipAn = true;
  Showinfo = true;
  Frame(1);
  EXPECT_EQ(DebugZeile.rfind("Tick:", 0), 0u);
  EXPECT_NE(DebugZeile.find(" BPar:0 Par1:0 Par0:0 Blasen:0 FSkip:"), std::string::npos) << DebugZeile;
}

TEST(Priorities, AreRecordedOnly) {
  SetLowPriority();
  EXPECT_EQ(platform::GetPriorityClass(), 64);
  EXPECT_EQ(platform::GetThreadPriority(), -2);
  SetHighPriority();
  EXPECT_EQ(platform::GetPriorityClass(), 32);
  EXPECT_EQ(platform::GetThreadPriority(), 1);
  SetNormalPriority();
  EXPECT_EQ(platform::GetThreadPriority(), 0);
}
