// Windows of the SDL backend that SDL can only partly give: shaped and layered ones.
#include <gtest/gtest.h>

#include "platform/window.hpp"

using namespace platform;

TEST(SdlWindows, ShapedAndLayeredWindowsFallBack) {
  WindowDesc shaped;
  shaped.borderless = true;
  shaped.shaped = true;
  shaped.width = 40;
  shaped.height = 30;
  HWnd h = CreateWindow(shaped, nullptr);
  ASSERT_NE(h, 0);
  // Without a shaping window system the window is a plain one, and the caller clips.
  EXPECT_TRUE(WindowHasDisplay(h));
  EXPECT_FALSE(SetWindowRoundRegion(h, 0, 0, 40, 30, 10, 10));
  RoundRegion r;
  EXPECT_TRUE(GetWindowRoundRegion(h, r));

  WindowDesc layered;
  layered.layered = true;
  HWnd l = CreateWindow(layered, nullptr);
  ASSERT_NE(l, 0);
  EXPECT_FALSE(WindowHasDisplay(l));  // SDL2 has no per-pixel-alpha windows
  // Frames show in the plain window; the layered one says why it shows none.
  EXPECT_TRUE(PreparePresent(h));
  EXPECT_FALSE(PreparePresent(l));
  EXPECT_FALSE(WindowSystemError().empty());
  EXPECT_FALSE(ShowWindow(l, sw::Show));  // it was hidden
  EXPECT_TRUE(IsWindowVisible(l));
  DestroyAllWindows();
}
