#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "shell/shadow.hpp"

using platform::HWnd;
namespace headless = platform::headless;

namespace {

uint32_t Px(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

void Pump() {
  platform::Msg m;
  while (platform::PeekMessage(m)) platform::DispatchMessage(m);
}

class Shadow : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    platform::DestroyAllWindows();
    headless::SetClock(1000);
    form = platform::CreateWindow({}, nullptr);
  }
  void TearDown() override {
    shadow.reset();
    platform::DestroyAllWindows();
  }
  void Start(const ucShadow::PropertyBag& bag) {
    shadow = std::make_unique<ucShadow>();
    shadow->ReadProperties(bag, form);
  }
  HWnd form = 0;
  std::unique_ptr<ucShadow> shadow;
};

}  // namespace

TEST_F(Shadow, PropertyRules) {
  Start({});
  struct Case {
    int32_t gesetzt, depth;
  } depths[] = {{150, 99}, {-3, 0}, {99, 99}, {0, 0}, {42, 42}};
  for (const Case& c : depths) {
    shadow->Depth(c.gesetzt);
    EXPECT_EQ(shadow->Depth(), c.depth) << c.gesetzt;
  }
  struct TCase {
    int32_t gesetzt, wert;
  } transparencies[] = {{300, 44}, {256, 0}, {255, 255}, {-300, -44}, {120, 120}};
  for (const TCase& c : transparencies) {
    shadow->Transparency(c.gesetzt);
    EXPECT_EQ(shadow->Transparency(), c.wert) << c.gesetzt;
  }
  // Only what differs from the defaults is stored.
  ucShadow frisch;
  frisch.ReadProperties({{"HideSize", -1}, {"SoftShadow", 0}, {"Visible", 0}}, 0, false);
  ucShadow::PropertyBag bag;
  frisch.WriteProperties(bag);
  EXPECT_EQ(bag, (ucShadow::PropertyBag{{"HideSize", -1}, {"SoftShadow", 0}, {"Visible", 0}}));
  EXPECT_TRUE(frisch.FadeIn());
  EXPECT_EQ(frisch.FadeTime(), 500);
  EXPECT_EQ(frisch.Transparency(), 120);
}

TEST_F(Shadow, SoftStripsFollowTheAlphaRampsPremultiplied) {
  Start({{"Depth", 4}, {"Color", 0x0080FF}, {"FadeIn", 0}});  // red 255, green 128, blue 0
  platform::MoveWindow(form, 100, 50, 20, 12);
  platform::ShowWindow(form, platform::sw::Show);
  const ucShadow::Strip& rechts = shadow->RightStrip();
  ASSERT_EQ(rechts.W, 4);
  ASSERT_EQ(rechts.H, 12);
  EXPECT_EQ(rechts.ConstantAlpha, 120);
  auto pixel = [](uint32_t a) {
    // Each colour channel times alpha / 255, rounded.
    return Px(a, (255 * a + 127) / 255, static_cast<uint32_t>(128.0 * a / 255 + 0.5), 0);
  };
  struct Case {
    int32_t c, r;
    uint32_t alpha;
  } rechtsFaelle[] = {
      {0, 0, 0},    {0, 2, 127}, {1, 5, 191}, {3, 9, 0},    // (3, 9) lies in the rounded corner
      {1, 9, 143},  {0, 10, 127}, {1, 10, 0}, {2, 8, 127}, {3, 8, 0}, {3, 7, 0},
      {2, 7, 127},  {3, 3, 47},  {0, 11, 0},  {0, 5, 255},
  };
  for (const Case& f : rechtsFaelle)
    EXPECT_EQ(rechts.At(f.c, f.r), pixel(f.alpha)) << "right strip c=" << f.c << " r=" << f.r;
  EXPECT_EQ(pixel(191), Px(191, 191, 96, 0));
  EXPECT_EQ(pixel(127), Px(127, 127, 64, 0));

  const ucShadow::Strip& unten = shadow->BottomStrip();
  ASSERT_EQ(unten.W, 16);
  ASSERT_EQ(unten.H, 4);
  Case untenFaelle[] = {{10, 0, 0}, {10, 3, 191}, {1, 2, 31}, {2, 1, 31}, {3, 3, 143}, {15, 1, 63}};
  for (const Case& f : untenFaelle)
    EXPECT_EQ(unten.At(f.c, f.r), pixel(f.alpha)) << "bottom strip c=" << f.c << " r=" << f.r;

  // The strips lie along the right and the bottom edge, moved down and right by the depth.
  platform::Rect r = platform::GetWindowRect(shadow->StripWindow(true));
  EXPECT_EQ(r.Left, 120);
  EXPECT_EQ(r.Top, 54);
  EXPECT_EQ(r.Bottom - r.Top, 12);
  r = platform::GetWindowRect(shadow->StripWindow(false));
  EXPECT_EQ(r.Left, 104);
  EXPECT_EQ(r.Top, 62);
  EXPECT_EQ(r.Right - r.Left, 16);
  EXPECT_TRUE(platform::IsWindowVisible(shadow->StripWindow(true)));
}

TEST_F(Shadow, FlatStripsSystemColoursAndNoDepth) {
  Start({{"SoftShadow", 0}, {"Color", static_cast<int32_t>(0x80000010u)}, {"FadeIn", 0}});  // button shadow
  platform::MoveWindow(form, 0, 0, 30, 20);
  platform::ShowWindow(form, platform::sw::Show);
  EXPECT_EQ(shadow->BottomStrip().At(0, 0), Px(255, 128, 128, 128));
  EXPECT_EQ(shadow->RightStrip().At(0, 0), Px(255, 128, 128, 128));
  EXPECT_EQ(shadow->RightStrip().At(9, 19), 0u);  // the rounded corner

  shadow->Depth(0);
  platform::MoveWindow(form, 0, 0, 31, 21);
  EXPECT_TRUE(shadow->RightStrip().Pixel.empty());
  EXPECT_TRUE(shadow->BottomStrip().Pixel.empty());
}

TEST_F(Shadow, FadeInStepsAndEnds) {
  Start({});
  bool eingeblendet = false;
  shadow->FadedIn = [&] { eingeblendet = true; };
  platform::ShowWindow(form, platform::sw::Show);
  ASSERT_NE(shadow->FadeWindow(), 0);
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 0.0f);
  struct Schritt {
    uint64_t zeit;
    int alpha;
  } schritte[] = {
      {1020, 244},  // 480 ms left: 255 / 24 = 10.6 -> 11
      {1040, 233},  // 460 ms left: 244 / 23 = 10.6 -> 11
      {1300, 210},  // 200 ms left: 233 / 10 = 23.3 -> 23
  };
  for (const Schritt& s : schritte) {
    headless::SetClock(s.zeit);
    Pump();
    EXPECT_EQ(shadow->FadeAlpha(), s.alpha) << s.zeit;
    EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 1.0f - s.alpha / 255.0f) << s.zeit;
  }
  EXPECT_FALSE(eingeblendet);
  // 10 ms left: the step (420) is not smaller than what is left, so the fade ends early.
  headless::SetClock(1490);
  Pump();
  EXPECT_TRUE(eingeblendet);
  EXPECT_EQ(shadow->FadeWindow(), 0);
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 1.0f);
  EXPECT_FALSE(platform::IsClassRegistered(std::to_string(form) + "FadeCls"));
}

TEST_F(Shadow, AFadeEndsWhenItsTimeIsUpAndStepsAtLeastOne) {
  Start({{"FadeTime", 100000}});
  platform::ShowWindow(form, platform::sw::Show);
  headless::SetClock(1020);
  Pump();
  EXPECT_EQ(shadow->FadeAlpha(), 254);  // 255 / 4999 rounds to 0: one step at least

  shadow->FadeTime(100);
  platform::ShowWindow(form, platform::sw::Hide);  // hiding never fades
  EXPECT_NE(shadow->FadeWindow(), 0);              // the running fade goes on
  platform::ShowWindow(form, platform::sw::Show);  // a new fade replaces it
  EXPECT_EQ(shadow->FadeAlpha(), 255);
  headless::SetClock(1120);
  Pump();
  EXPECT_EQ(shadow->FadeWindow(), 0);
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 1.0f);
}

TEST_F(Shadow, WithoutFadeInTheFormShowsAtOnce) {
  Start({{"FadeIn", 0}});
  platform::ShowWindow(form, platform::sw::Show);
  EXPECT_EQ(shadow->FadeWindow(), 0);
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 1.0f);
}

TEST_F(Shadow, HideMoveHidesTheStripsUntilTheDragEnds) {
  Start({{"HideMove", -1}, {"FadeIn", 0}});
  platform::MoveWindow(form, 10, 10, 100, 80);
  platform::ShowWindow(form, platform::sw::Show);
  const HWnd rechts = shadow->StripWindow(true);
  ASSERT_TRUE(platform::IsWindowVisible(rechts));
  platform::SendMessage(form, platform::wm::Moving, 0, 0);
  EXPECT_FALSE(platform::IsWindowVisible(rechts));
  platform::MoveWindow(form, 50, 60, 100, 80);
  EXPECT_EQ(platform::GetWindowRect(rechts).Left, 110);  // not followed while hidden
  platform::SendMessage(form, platform::wm::ExitSizeMove, 0, 0);
  EXPECT_TRUE(platform::IsWindowVisible(rechts));
  EXPECT_EQ(platform::GetWindowRect(rechts).Left, 150);
  EXPECT_EQ(platform::GetWindowRect(rechts).Top, 70);
  // Sizing without HideSize leaves them alone; the Visible property hides them at once.
  platform::SendMessage(form, platform::wm::Sizing, 0, 0);
  EXPECT_TRUE(platform::IsWindowVisible(rechts));
  shadow->Visible(false);
  EXPECT_FALSE(platform::IsWindowVisible(rechts));
}

TEST_F(Shadow, BlockingFadeOutReturnsAfterFadedOut) {
  Start({{"FadeIn", 0}});
  platform::ShowWindow(form, platform::sw::Show);
  int ausgeblendet = 0;
  shadow->FadedOut = [&] { ++ausgeblendet; };
  shadow->FadeOut(200, true);
  EXPECT_EQ(ausgeblendet, 1);
  EXPECT_FALSE(platform::IsWindowVisible(form));
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 1.0f);
}

TEST_F(Shadow, WithoutTranslucentWindowsTheControlDoesNothing) {
  headless::SetCanSetOpacity(false);
  Start({});
  EXPECT_FALSE(shadow->IsLayered());
  EXPECT_EQ(shadow->StripWindow(true), 0);
  platform::ShowWindow(form, platform::sw::Show);
  EXPECT_EQ(shadow->FadeWindow(), 0);
  shadow->FadeOut();
  EXPECT_TRUE(platform::IsWindowVisible(form));
}

TEST_F(Shadow, TheEndOfTheControlLeavesTheFormAsItWas) {
  Start({});
  const HWnd rechts = shadow->StripWindow(true), unten = shadow->StripWindow(false);
  ASSERT_TRUE(platform::IsWindow(rechts));
  ASSERT_TRUE(platform::IsWindow(unten));
  shadow.reset();
  EXPECT_FALSE(platform::IsWindow(rechts));
  EXPECT_FALSE(platform::IsWindow(unten));
  EXPECT_FALSE(platform::IsClassRegistered(std::to_string(form) + "ShadowCls"));
  platform::ShowWindow(form, platform::sw::Show);  // no fade any more
  EXPECT_FLOAT_EQ(platform::GetWindowOpacity(form), 1.0f);
}
