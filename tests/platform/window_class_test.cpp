// Window classes, the order of the show messages and rounded regions of the message layer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless.hpp"
#include "platform/window.hpp"

using namespace platform;

namespace {
class WindowClassRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    DestroyAllWindows();
  }
  void TearDown() override { DestroyAllWindows(); }
};
}  // namespace

TEST_F(WindowClassRegistry, ClassesAndTheirWindows) {
  std::vector<intptr_t> created;
  WindowClass wc;
  wc.name = "ShadowCls";
  wc.proc = [&](HWnd h, uint32_t m, intptr_t w, intptr_t l) {
    if (m == wm::Create) created.push_back(l);
    return DefWindowProc(h, m, w, l);
  };
  EXPECT_FALSE(RegisterClass(WindowClass{}));  // no name
  ASSERT_TRUE(RegisterClass(wc));
  wc.name = "SHADOWcls";
  EXPECT_FALSE(RegisterClass(wc));  // names ignore case
  EXPECT_EQ(CreateWindowEx(0, "Unknown", "", 0, 0, 0, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(CreateWindowEx(0, "BUTTON", "", 0, 0, 0, 1, 1, 0, 0, 0), 0);  // no system classes here
  HWnd h = CreateWindowEx(ws_ex::Layered | ws_ex::ToolWindow, "shadowcls", "x", ws::Popup | ws::Visible, 3, 4, 5, 6,
                          0, 0, 99);
  ASSERT_NE(h, 0);
  EXPECT_EQ(created, std::vector<intptr_t>{99});
  EXPECT_EQ(GetClassName(h), "ShadowCls");
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(GetFocus(), 0);  // a tool window takes no focus
  EXPECT_FALSE(UnregisterClass("ShadowCls"));  // a window of it still exists
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClass("ShadowCls"));
  EXPECT_FALSE(IsClassRegistered("ShadowCls"));
  EXPECT_FALSE(UnregisterClass("ShadowCls"));
}

TEST_F(WindowClassRegistry, ShowWindowArrivesBeforeTheWindowShows) {
  std::vector<std::string> seen;
  HWnd h = CreateWindow({}, [&](HWnd hh, uint32_t m, intptr_t w, intptr_t) {
    if (m == wm::ShowWindow) seen.push_back(std::string("show ") + (w ? "1" : "0") + (IsWindowVisible(hh) ? " visible" : ""));
    if (m == wm::WindowPosChanged) seen.push_back(IsWindowVisible(hh) ? "pos visible" : "pos hidden");
    return intptr_t{0};
  });
  ShowWindow(h, sw::Show);
  ShowWindow(h, sw::Show);  // no change: no messages
  ShowWindow(h, sw::Hide);
  EXPECT_EQ(seen, (std::vector<std::string>{"show 1", "pos visible", "show 0 visible", "pos hidden"}));
}

TEST_F(WindowClassRegistry, RegionsAndOpacity) {
  HWnd h = CreateWindow({}, nullptr);
  RoundRegion r;
  EXPECT_FALSE(GetWindowRoundRegion(h, r));
  EXPECT_TRUE(SetWindowRoundRegion(h, 0, 0, 10, 10, 10, 10));
  ASSERT_TRUE(GetWindowRoundRegion(h, r));
  EXPECT_EQ(r.ellipseW, 10);
  headless::SetCanShapeWindows(false);
  EXPECT_FALSE(SetWindowRoundRegion(h, 0, 0, 0, 0, 5, 5));  // kept, but the caller must clip
  ASSERT_TRUE(GetWindowRoundRegion(h, r));
  EXPECT_EQ(r.rect.Right, 0);
  EXPECT_TRUE(RemoveWindowRegion(h));
  EXPECT_FALSE(GetWindowRoundRegion(h, r));

  EXPECT_TRUE(SetWindowOpacity(h, 0.25f));
  EXPECT_FLOAT_EQ(GetWindowOpacity(h), 0.25f);
  EXPECT_TRUE(SetWindowOpacity(h, 7.0f));
  EXPECT_FLOAT_EQ(GetWindowOpacity(h), 1.0f);
  headless::SetCanSetOpacity(false);
  EXPECT_FALSE(CanSetWindowOpacity());
  EXPECT_FALSE(SetWindowOpacity(h, 0.5f));
}

TEST(RoundRegionSpans, RowsOfARoundedRectangle) {
  struct Case {
    RoundRegion region;
    int y, from, to;  // to == from: empty
  } cases[] = {
      {{{0, 0, 10, 10}, 0, 0}, 0, 0, 10},    // square corners
      {{{0, 0, 10, 10}, 10, 10}, 0, 3, 7},   // a circle's top row
      {{{0, 0, 10, 10}, 10, 10}, 5, 0, 10},  // its widest row
      {{{0, 0, 10, 10}, 10, 10}, 9, 3, 7},
      {{{0, 0, 10, 10}, 10, 10}, 10, 0, 0},  // below: nothing
      {{{0, 0, 10, 10}, 10, 10}, -1, 0, 0},
      {{{5, 5, 5, 20}, 4, 4}, 10, 5, 5},     // no width
      {{{0, 0, 100, 10}, 400, 400}, 5, 0, 100},  // the ellipse never exceeds the rectangle
  };
  for (const Case& c : cases) {
    int from = -99, to = -99;
    RoundRegionSpan(c.region, c.y, from, to);
    if (c.to == c.from) {
      EXPECT_GE(from, to) << c.y;
    } else {
      EXPECT_EQ(from, c.from) << c.y;
      EXPECT_EQ(to, c.to) << c.y;
    }
  }
}
