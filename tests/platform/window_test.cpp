#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless.hpp"
#include "platform/msgbox.hpp"
#include "platform/window.hpp"

using namespace platform;

namespace {
struct Recorder {
  std::vector<uint32_t> msgs;
  WndProc proc() {
    return [this](HWnd h, uint32_t m, intptr_t w, intptr_t l) {
      msgs.push_back(m);
      return DefWindowProc(h, m, w, l);
    };
  }
};

void Pump() {
  Msg m;
  while (PeekMessage(m)) DispatchMessage(m);
}
}  // namespace

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    DestroyAllWindows();
  }
  void TearDown() override { DestroyAllWindows(); }
};

TEST_F(Windows, CreateShowCloseDestroy) {
  Recorder r;
  HWnd h = CreateWindow({}, r.proc());
  ASSERT_NE(h, 0);
  EXPECT_EQ(r.msgs, std::vector<uint32_t>{wm::Create});
  ShowWindow(h, sw::Show);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(GetFocus(), h);
  PostMessage(h, wm::Close, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(h));  // the default procedure destroys on close
  EXPECT_EQ(r.msgs.back(), wm::Destroy);
}

TEST_F(Windows, QueueOrderAndSubclassing) {
  std::vector<std::string> seen;
  HWnd h = CreateWindow({}, [&](HWnd, uint32_t m, intptr_t w, intptr_t) {
    if (m == wm::User) seen.push_back("base" + std::to_string(w));
    return intptr_t{0};
  });
  WndProc old = SetWindowProc(h, [&](HWnd hh, uint32_t m, intptr_t w, intptr_t l) {
    if (m == wm::User) seen.push_back("sub" + std::to_string(w));
    return CallWindowProc(old, hh, m, w + 10, l);
  });
  PostMessage(h, wm::User, 1, 0);
  PostMessage(h, wm::User, 2, 0);
  Pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"sub1", "base11", "sub2", "base12"}));
}

TEST_F(Windows, TimersComeFromThePump) {
  int fired = 0;
  HWnd h = CreateWindow({}, [&](HWnd, uint32_t m, intptr_t w, intptr_t) {
    if (m == wm::Timer && w == 7) ++fired;
    return intptr_t{0};
  });
  headless::SetClock(100);
  SetTimer(h, 7, 20);
  Pump();
  EXPECT_EQ(fired, 0);
  headless::SetClock(119);
  Pump();
  EXPECT_EQ(fired, 0);
  headless::SetClock(120);
  Pump();
  EXPECT_EQ(fired, 1);
  headless::SetClock(200);  // late: only one pending at a time
  Pump();
  EXPECT_EQ(fired, 2);
  EXPECT_TRUE(KillTimer(h, 7));
  EXPECT_FALSE(KillTimer(h, 7));
  headless::SetClock(500);
  Pump();
  EXPECT_EQ(fired, 2);
}

TEST_F(Windows, WaitMessageMovesTheVirtualClockToTheNextTimer) {
  HWnd h = CreateWindow({}, nullptr);
  headless::SetClock(0);
  SetTimer(h, 1, 50);
  WaitMessage();
  EXPECT_EQ(headless::LastFrame().count, 0);
  Msg m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.message, wm::Timer);
}

TEST_F(Windows, MoveAndShowSendPositionChanges) {
  std::vector<uint32_t> flags;
  HWnd h = CreateWindow({}, [&](HWnd, uint32_t m, intptr_t, intptr_t l) {
    if (m == wm::WindowPosChanged) flags.push_back(reinterpret_cast<const WindowPos*>(l)->flags);
    return intptr_t{0};
  });
  ShowWindow(h, sw::Show);
  MoveWindow(h, 10, 20, 300, 200);
  ShowWindow(h, sw::Hide);
  ASSERT_EQ(flags.size(), 3u);
  EXPECT_TRUE(flags[0] & swp::ShowWindow);
  EXPECT_FALSE(flags[1] & (swp::NoMove | swp::NoSize));
  EXPECT_TRUE(flags[2] & swp::HideWindow);
  Rect r = GetWindowRect(h);
  EXPECT_EQ(r.Right - r.Left, 300);
}

TEST(MessageBoxes, DefaultsAndDismissal) {
  struct Case {
    int style, def, dismiss;
  } cases[] = {
      {mb::OkOnly, mb::Ok, mb::Ok},
      {mb::YesNo | mb::DefaultButton2, mb::No, mb::No},
      {mb::YesNoCancel, mb::Yes, mb::Cancel},
      {mb::AbortRetryIgnore, mb::Abort, mb::Abort},
      {mb::AbortRetryIgnore | mb::DefaultButton3, mb::Ignore, mb::Abort},
      {mb::OkCancel | mb::Critical, mb::Ok, mb::Cancel},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultAnswer(c.style), c.def) << c.style;
    EXPECT_EQ(DismissAnswer(c.style), c.dismiss) << c.style;
  }
}
