#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "shell/window_classes.hpp"

using platform::HWnd;
namespace wm = platform::wm;

namespace {

// What the owner of a cWindow saw.
struct FensterOwner : iWindow {
  std::vector<int32_t> gesehen;
  bool behandeln = false;
  intptr_t antwort = 0;
  void WndProc(bool& bHandled, intptr_t& lReturn, HWnd&, int32_t& uMsg, intptr_t&, intptr_t&) override {
    gesehen.push_back(uMsg);
    bHandled = behandeln;
    lReturn = antwort;
  }
};

// The owner of a cSubclass, with a script for its before stage.
struct UnterOwner : iSubclass {
  std::vector<std::string> log;
  bool behandeln = false;
  intptr_t neuesWParam = -1;
  intptr_t nachAntwort = -1;
  void Before(bool& bHandled, intptr_t& lReturn, HWnd&, int32_t& uMsg, intptr_t& wParam, intptr_t&) override {
    log.push_back("before " + std::to_string(uMsg) + " " + std::to_string(wParam));
    if (neuesWParam >= 0) wParam = neuesWParam;
    if (behandeln) {
      bHandled = true;
      lReturn = 77;
    }
  }
  void After(intptr_t& lReturn, HWnd, int32_t uMsg, intptr_t wParam, intptr_t) override {
    log.push_back("after " + std::to_string(uMsg) + " " + std::to_string(wParam) + " -> " + std::to_string(lReturn));
    if (nachAntwort >= 0) lReturn = nachAntwort;
  }
};

class WindowClasses : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::DestroyAllWindows();
  }
  void TearDown() override { platform::DestroyAllWindows(); }
};

}  // namespace

TEST(MsgTables, AddAndDelete) {
  struct Case {
    const char* name;
    std::vector<std::pair<char, int32_t>> ops;  // '+' AddMsg, '-' DelMsg
    int32_t anzahl;
    std::vector<int32_t> eintraege;
    std::vector<int32_t> routet, routetNicht;
  } cases[] = {
      {"empty routes nothing", {}, 0, {}, {}, {1, 5}},
      {"all", {{'+', -1}}, -1, {}, {1, 5, 275}, {}},
      {"no duplicates", {{'+', 5}, {'+', 5}}, 1, {5}, {5}, {6}},
      {"a freed slot is reused", {{'+', 5}, {'-', 5}, {'+', 6}}, 1, {6}, {6}, {5}},
      {"all, then one narrows", {{'+', -1}, {'+', 5}}, 1, {5}, {5}, {6}},
      {"one number cannot leave 'all'", {{'+', -1}, {'-', 5}}, -1, {}, {5}, {}},
      {"delete all keeps the slots", {{'+', 5}, {'+', 6}, {'-', -1}}, 0, {5, 6}, {}, {5, 6}},
      {"after delete all the table starts again", {{'+', 5}, {'+', 6}, {'-', -1}, {'+', 7}}, 1, {7}, {7}, {5, 6}},
      {"deleting an unknown number changes nothing", {{'+', 5}, {'-', 9}}, 1, {5}, {5}, {9}},
      {"a number behind a free slot is not added twice",
       {{'+', 5}, {'+', 6}, {'-', 5}, {'+', 6}, {'-', 6}},
       2,
       {-1, -1},
       {},
       {5, 6}},
  };
  for (const Case& c : cases) {
    MsgTable t;
    for (auto [op, n] : c.ops) op == '+' ? t.Add(n) : t.Del(n);
    EXPECT_EQ(t.Anzahl, c.anzahl) << c.name;
    if (c.anzahl >= 0) {
      std::vector<int32_t> teil(t.Eintraege.begin(), t.Eintraege.begin() + std::max(t.Anzahl, int32_t{0}));
      if (c.anzahl == 0)
        EXPECT_EQ(t.Eintraege.size(), c.eintraege.size()) << c.name;
      else
        EXPECT_EQ(teil, c.eintraege) << c.name;
    }
    for (int32_t m : c.routet) EXPECT_TRUE(t.Routes(m)) << c.name << " " << m;
    for (int32_t m : c.routetNicht) EXPECT_FALSE(t.Routes(m)) << c.name << " " << m;
  }
}

TEST_F(WindowClasses, WithoutAddMsgEverythingGoesToTheDefaultProcedure) {
  FensterOwner owner;
  cWindow w;
  w.Owner(&owner);
  ASSERT_TRUE(w.WindowClassRegister("TestCls"));
  EXPECT_EQ(w.Class(), "TestCls");
  HWnd h = w.WindowCreate(0, platform::ws::Popup);
  ASSERT_NE(h, 0);
  platform::SendMessage(h, wm::User, 0, 0);
  EXPECT_TRUE(owner.gesehen.empty());
  platform::SendMessage(h, wm::Close, 0, 0);  // the default procedure destroys
  EXPECT_FALSE(platform::IsWindow(h));
  EXPECT_TRUE(w.Windows().empty());
}

TEST_F(WindowClasses, RoutedMessagesReachTheOwnerAndUnhandledOnesTheDefault) {
  FensterOwner owner;
  cWindow w;
  w.Owner(&owner);
  ASSERT_TRUE(w.WindowClassRegister("TestCls"));
  w.AddMsg(-1);
  HWnd h = w.WindowCreate(0, platform::ws::Popup);
  ASSERT_NE(h, 0);
  EXPECT_EQ(owner.gesehen, std::vector<int32_t>{static_cast<int32_t>(wm::Create)});
  owner.antwort = 42;
  EXPECT_EQ(platform::SendMessage(h, wm::User, 0, 0), 0);  // not handled: the default's 0
  owner.behandeln = true;
  EXPECT_EQ(platform::SendMessage(h, wm::User, 0, 0), 42);
  owner.behandeln = false;
  w.DelMsg(-1, 0);
  w.AddMsg(static_cast<int32_t>(wm::Timer));
  owner.gesehen.clear();
  platform::SendMessage(h, wm::User, 0, 0);
  platform::SendMessage(h, wm::Timer, 1, 0);
  EXPECT_EQ(owner.gesehen, std::vector<int32_t>{static_cast<int32_t>(wm::Timer)});
}

TEST_F(WindowClasses, CreationAndDestruction) {
  FensterOwner owner;
  auto w = std::make_unique<cWindow>();
  w->Owner(&owner);
  EXPECT_EQ(w->WindowCreate(0, 0), 0);  // no class registered yet
  ASSERT_TRUE(w->WindowClassRegister("12345FadeCls"));
  EXPECT_FALSE(cWindow().WindowClassRegister("12345fadecls"));  // names ignore case
  for (int32_t klasse = 1; klasse <= 10; ++klasse) EXPECT_EQ(w->WindowCreate(0, 0, klasse), 0) << klasse;
  HWnd a = w->WindowCreate(0x80000, platform::ws::Popup, 0, 5, 6, 7, 8, "", 0);
  HWnd b = w->WindowCreate(0, platform::ws::Popup | platform::ws::Visible);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_EQ(platform::GetClassName(a), "12345FadeCls");
  EXPECT_FALSE(platform::IsWindowVisible(a));
  EXPECT_TRUE(platform::IsWindowVisible(b));
  platform::Rect r = platform::GetWindowRect(a);
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Bottom - r.Top, 8);
  EXPECT_FALSE(w->WindowDestroy(0x7FFF));
  HWnd fremd = platform::CreateWindow({}, nullptr);
  EXPECT_FALSE(w->WindowDestroy(fremd));
  EXPECT_TRUE(platform::IsWindow(fremd));
  EXPECT_FALSE(platform::UnregisterClass("12345FadeCls"));  // it still has windows
  // The end destroys the windows, the last made first, and unregisters the class.
  std::vector<HWnd> zerstoert;
  owner.gesehen.clear();
  for (HWnd h : {a, b}) {
    platform::WndProc alt = platform::GetWindowProc(h);
    platform::SetWindowProc(h, [&zerstoert, alt](HWnd hh, uint32_t m, intptr_t wp, intptr_t lp) {
      if (m == wm::Destroy) zerstoert.push_back(hh);
      return alt(hh, m, wp, lp);
    });
  }
  w.reset();
  EXPECT_EQ(zerstoert, (std::vector<HWnd>{b, a}));
  EXPECT_TRUE(owner.gesehen.empty());  // routing stopped first
  EXPECT_FALSE(platform::IsClassRegistered("12345FadeCls"));
}

TEST_F(WindowClasses, AWindowWhoseOwnerIsGoneIsDestroyed) {
  auto owner = std::make_unique<FensterOwner>();
  cWindow w;
  w.Owner(owner.get());
  ASSERT_TRUE(w.WindowClassRegister("TestCls"));
  w.AddMsg(-1);
  HWnd h = w.WindowCreate(0, platform::ws::Popup);
  owner.reset();
  EXPECT_EQ(platform::SendMessage(h, wm::User, 0, 0), 0);
  EXPECT_FALSE(platform::IsWindow(h));
}

TEST_F(WindowClasses, BeforeAndAfterStages) {
  std::vector<std::string> basis;
  HWnd h = platform::CreateWindow({}, [&](HWnd, uint32_t m, intptr_t w, intptr_t) {
    if (m == wm::User) basis.push_back("base " + std::to_string(w));
    return intptr_t{10};
  });
  UnterOwner owner;
  cSubclass sub;
  EXPECT_EQ(sub.CallOrigWndProc(static_cast<int32_t>(wm::User), 1, 0), 0);  // nothing subclassed
  sub.Subclass(h, &owner);
  sub.AddMsg(static_cast<int32_t>(wm::User), MSG_BEFORE);
  sub.AddMsg(static_cast<int32_t>(wm::User), MSG_AFTER);
  const std::string user = std::to_string(wm::User);

  EXPECT_EQ(platform::SendMessage(h, wm::User, 1, 0), 10);
  EXPECT_EQ(owner.log, (std::vector<std::string>{"before " + user + " 1", "after " + user + " 1 -> 10"}));
  EXPECT_EQ(basis, std::vector<std::string>{"base 1"});

  // A changed wParam reaches the previous procedure and the after stage.
  owner.log.clear();
  basis.clear();
  owner.neuesWParam = 9;
  owner.nachAntwort = 55;
  EXPECT_EQ(platform::SendMessage(h, wm::User, 2, 0), 55);
  EXPECT_EQ(basis, std::vector<std::string>{"base 9"});
  EXPECT_EQ(owner.log.back(), "after " + user + " 9 -> 10");

  // Handled before: neither the previous procedure nor the after stage runs.
  owner.log.clear();
  basis.clear();
  owner.behandeln = true;
  EXPECT_EQ(platform::SendMessage(h, wm::User, 3, 0), 77);
  EXPECT_TRUE(basis.empty());
  EXPECT_EQ(owner.log.size(), 1u);

  // Messages outside the tables pass straight through.
  owner.log.clear();
  platform::SendMessage(h, wm::Timer, 0, 0);
  EXPECT_TRUE(owner.log.empty());
  EXPECT_EQ(sub.CallOrigWndProc(static_cast<int32_t>(wm::User), 4, 0), 10);
  EXPECT_EQ(basis.back(), "base 4");

  sub.UnSubclass();
  owner.log.clear();
  basis.clear();
  EXPECT_EQ(platform::SendMessage(h, wm::User, 5, 0), 10);
  EXPECT_TRUE(owner.log.empty());
  EXPECT_EQ(basis, std::vector<std::string>{"base 5"});
  EXPECT_EQ(sub.CallOrigWndProc(static_cast<int32_t>(wm::User), 1, 0), 0);
}

TEST_F(WindowClasses, EndingOrLosingTheOwnerRestoresThePreviousProcedure) {
  int basis = 0;
  HWnd h = platform::CreateWindow({}, [&](HWnd, uint32_t m, intptr_t, intptr_t) {
    if (m == wm::User) ++basis;
    return intptr_t{3};
  });
  {
    UnterOwner owner;
    cSubclass sub;
    sub.Subclass(h, &owner);
    sub.AddMsg(-1, MSG_BEFORE);
    platform::SendMessage(h, wm::User, 0, 0);
    EXPECT_EQ(owner.log.size(), 1u);
  }
  EXPECT_EQ(platform::SendMessage(h, wm::User, 0, 0), 3);
  EXPECT_EQ(basis, 2);

  auto owner = std::make_unique<UnterOwner>();
  cSubclass sub;
  sub.Subclass(h, owner.get());
  sub.AddMsg(static_cast<int32_t>(wm::User), MSG_AFTER);
  owner.reset();
  EXPECT_EQ(platform::SendMessage(h, wm::User, 0, 0), 0);  // the owner is gone: 0
  EXPECT_EQ(basis, 3);
  EXPECT_EQ(platform::SendMessage(h, wm::User, 0, 0), 3);  // and the window is itself again
  EXPECT_EQ(basis, 4);
}

TEST_F(WindowClasses, MessagesSentFromAHandlerAreRoutedToo) {
  HWnd h = platform::CreateWindow({}, nullptr);
  struct Nested : iSubclass {
    HWnd h = 0;
    std::vector<intptr_t> gesehen;
    void Before(bool&, intptr_t&, HWnd&, int32_t&, intptr_t& wParam, intptr_t&) override {
      gesehen.push_back(wParam);
      if (wParam == 1) platform::SendMessage(h, wm::User, 2, 0);
    }
    void After(intptr_t&, HWnd, int32_t, intptr_t, intptr_t) override {}
  } owner;
  owner.h = h;
  cSubclass sub;
  sub.Subclass(h, &owner);
  sub.AddMsg(static_cast<int32_t>(wm::User), MSG_BEFORE);
  platform::SendMessage(h, wm::User, 1, 0);
  EXPECT_EQ(owner.gesehen, (std::vector<intptr_t>{1, 2}));
}
