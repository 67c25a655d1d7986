#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <vector>

#include "platform/headless/headless.hpp"
#include "platform/msgbox.hpp"
#include "platform/process.hpp"
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

TEST_F(Windows, AnEndSignalIsOneCloseRequestOfTheNamedWindow) {
  struct Fall {
    const char* was;
    int signal;
    int benannt;  // index of the named window; -1 none
    bool benanntZerstoert;
    std::vector<int> erwartet;  // close requests per window
  } faelle[] = {
      {"the named window alone", SIGTERM, 1, false, {0, 1, 0}},
      {"no window named: every window", SIGINT, -1, false, {1, 1, 1}},
      {"the named window is gone: every other", SIGTERM, 0, true, {0, 1, 1}},
  };
  CatchEndSignals();
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    std::map<HWnd, int> schliessen;
    auto proc = [&schliessen](HWnd h, uint32_t m, intptr_t, intptr_t) -> intptr_t {
      if (m == wm::Close) ++schliessen[h];  // and the window stays, as a cancelled close
      return 0;
    };
    std::vector<HWnd> fenster;
    for (int i = 0; i < 3; ++i) fenster.push_back(CreateWindow({}, proc));
    SetEndSessionWindow(c.benannt < 0 ? 0 : fenster[c.benannt]);
    if (c.benanntZerstoert) DestroyWindow(fenster[c.benannt]);
    std::raise(c.signal);
    Pump();
    Pump();  // taken once only
    for (int i = 0; i < 3; ++i) EXPECT_EQ(schliessen[fenster[i]], c.erwartet[i]) << "window " << i;
    DestroyAllWindows();
  }
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
}

TEST(EndSignals, ASecondSignalBeforeThePumpTookTheFirstEndsTheProcess) {
  EXPECT_EXIT(
      {
        CatchEndSignals();
        std::raise(SIGTERM);
        std::raise(SIGTERM);
        _exit(0);
      },
      ::testing::KilledBySignal(SIGTERM), "");
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
