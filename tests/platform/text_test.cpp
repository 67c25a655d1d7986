// The text layer on surfaces: the device context's life, blending in every pixel format,
// clipping at the surface's edges, GDI's cell metrics, and a machine without fonts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/fonts.hpp"
#include "platform/text.hpp"
#include "support/support.hpp"

using platform::HDC;
using platform::HGdiObj;
using platform::PixelFormat;
using platform::Surface;

namespace {

class TextLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::FontsAvailable()) GTEST_SKIP() << "no Liberation fonts installed";
  }

  // White text, transparent, in Arial of cell height 24, at (x, y) on `s`.
  static void Draw(Surface& s, int32_t x, int32_t y, const std::string& text, int32_t height = 24) {
    HDC dc = 0;
    ASSERT_EQ(platform::GetDC(s, dc), platform::DD_OK);
    HGdiObj font = platform::CreateFont(height, 0, 0, 0, platform::FW_NORMAL, 0, 0, 0, 0, 7, 16, 2, 4, "Arial");
    HGdiObj old = platform::SelectObject(dc, font);
    platform::SetBkMode(dc, platform::TRANSPARENT);
    platform::SetTextColor(dc, 0xFFFFFF);
    EXPECT_TRUE(platform::TextOut(dc, x, y, text, static_cast<int32_t>(text.size())));
    platform::SelectObject(dc, old);
    EXPECT_TRUE(platform::DeleteObject(font));
    EXPECT_EQ(platform::ReleaseDC(s, dc), platform::DD_OK);
  }
};

TEST_F(TextLayer, CoverageIsBlendedInEveryPixelFormat) {
  // On black, white text leaves its coverage in every channel; XRGB shows it whole.
  auto reference = Surface::Create(160, 32, PixelFormat::XRGB8888);
  Draw(*reference, 3, 2, "Wave 7: ok");
  int partial = 0;
  for (PixelFormat format : {PixelFormat::RGB565, PixelFormat::ARGB8888, PixelFormat::ARGB4444}) {
    SCOPED_TRACE(static_cast<int>(format));
    auto s = Surface::Create(160, 32, format);
    Draw(*s, 3, 2, "Wave 7: ok");
    const bool alpha = format == PixelFormat::ARGB8888 || format == PixelFormat::ARGB4444;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 160; ++x) {
        const uint32_t c = reference->GetPixel(x, y) & 0xFF;
        partial += c > 0 && c < 255;
        ASSERT_EQ(s->GetPixel(x, y), platform::PackPixel(format, c, c, c, alpha ? c : 255)) << x << "," << y;
      }
  }
  EXPECT_GT(partial, 0);  // antialiased
}

TEST_F(TextLayer, ColoursBlendTowardsWhatLiesBelow) {
  auto s = Surface::Create(120, 30, PixelFormat::RGB565);
  const uint32_t below = platform::PackPixel(PixelFormat::RGB565, 0, 0, 255);
  s->BltColorFill(nullptr, below);
  HDC dc = 0;
  ASSERT_EQ(platform::GetDC(*s, dc), platform::DD_OK);
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, 0x0000FF);  // COLORREF red
  platform::TextOut(dc, 2, 2, "MMMM", 4);
  platform::ReleaseDC(*s, dc);
  int full = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      uint8_t r, g, b, a;
      platform::UnpackPixel(PixelFormat::RGB565, s->GetPixel(x, y), r, g, b, a);
      EXPECT_EQ(g, 0);
      EXPECT_GE(r + b, 247) << "red and blue share what the coverage splits";
      full += r == 255;
    }
  EXPECT_GT(full, 0);
}

TEST_F(TextLayer, TextIsClippedAtEveryEdge) {
  // The same line drawn on a large surface and, shifted, on small ones: the small ones
  // hold exactly their window of the large picture.
  auto whole = Surface::Create(300, 80, PixelFormat::XRGB8888);
  Draw(*whole, 100, 30, "Clip Wgjy", 28);
  struct Case {
    int32_t x, y;  // where the small surface's origin lies in the large picture
  };
  for (Case c : {Case{110, 35}, Case{95, 25}, Case{180, 20}, Case{100, 50}, Case{0, 0}, Case{250, 70}}) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    auto part = Surface::Create(40, 20, PixelFormat::XRGB8888);
    Draw(*part, 100 - c.x, 30 - c.y, "Clip Wgjy", 28);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool in = c.x + x < 300 && c.y + y < 80;
        ASSERT_EQ(part->GetPixel(x, y), in ? whole->GetPixel(c.x + x, c.y + y) : 0u) << x << "," << y;
      }
  }
  // Far outside: nothing, and no harm.
  auto s = Surface::Create(10, 10, PixelFormat::XRGB8888);
  Draw(*s, -30000, -30000, "far away");
  Draw(*s, 30000, 30000, "far away");
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(s->GetPixel(x, y), 0u);
}

TEST_F(TextLayer, CellHeightsFollowGdi) {
  auto s = Surface::Create(4, 4, PixelFormat::XRGB8888);
  HDC dc = 0;
  ASSERT_EQ(platform::GetDC(*s, dc), platform::DD_OK);
  struct Case {
    int32_t height, cell, ppem;
  };
  // Liberation Sans: 2048 units per em, Windows ascent 1854 and descent 434.
  for (Case c : {Case{24, 24, 21}, Case{12, 12, 11}, Case{128, 128, 115}, Case{-16, 17, 16}, Case{0, 16, 14}}) {
    SCOPED_TRACE(c.height);
    HGdiObj font = platform::CreateFont(c.height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    platform::SelectObject(dc, font);
    platform::TextSize size;
    ASSERT_TRUE(platform::GetTextExtentPoint32(dc, "", 0, size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, c.cell);
    EXPECT_EQ(platform::fonts::GetFont(platform::fonts::Style::SansRegular, c.height)->PixelsPerEm(), c.ppem);
    platform::SelectObject(dc, platform::GetStockSystemFont());
    platform::DeleteObject(font);
  }
  platform::ReleaseDC(*s, dc);
}

TEST_F(TextLayer, FaceNamesMapToTheLiberationFiles) {
  using platform::fonts::Style;
  using platform::fonts::StyleOf;
  struct Case {
    const char* face;
    int32_t weight;
    Style style;
  };
  for (Case c : {Case{"Arial", 400, Style::SansRegular}, Case{"arial", 700, Style::SansBold},
                 Case{"Courier", 400, Style::MonoRegular}, Case{"COURIER", 800, Style::MonoBold},
                 Case{"System", 400, Style::SansRegular}, Case{"Orbit-B BT", 400, Style::SansBold},
                 Case{"MS Sans Serif", 400, Style::SansRegular}, Case{"", 400, Style::SansRegular}}) {
    SCOPED_TRACE(c.face);
    EXPECT_EQ(StyleOf(c.face, c.weight), c.style);
  }
  EXPECT_NE(platform::fonts::FontFile(Style::MonoBold).find("LiberationMono-Bold"), std::string::npos);
}

TEST_F(TextLayer, ADeviceContextIsLentOnceAndDiesWithItsSurface) {
  auto s = Surface::Create(20, 20, PixelFormat::XRGB8888);
  HDC dc = 0, again = 0;
  ASSERT_EQ(platform::GetDC(*s, dc), platform::DD_OK);
  EXPECT_NE(dc, 0);
  EXPECT_EQ(platform::GetDC(*s, again), platform::DDERR_DCALREADYCREATED);
  EXPECT_EQ(platform::ReleaseDC(*s, dc + 1), platform::DDERR_INVALIDPARAMS);
  // A selected font cannot be deleted; deselected it can, once.
  HGdiObj font = platform::CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Courier");
  const HGdiObj stock = platform::SelectObject(dc, font);
  EXPECT_EQ(stock, platform::GetStockSystemFont());
  EXPECT_FALSE(platform::DeleteObject(font));
  EXPECT_EQ(platform::SelectObject(dc, 12345), 0);  // no such font: nothing changes
  EXPECT_EQ(platform::ReleaseDC(*s, dc), platform::DD_OK);
  EXPECT_EQ(platform::ReleaseDC(*s, dc), platform::DDERR_NODC);
  EXPECT_TRUE(platform::DeleteObject(font));
  EXPECT_FALSE(platform::DeleteObject(font));
  EXPECT_TRUE(platform::DeleteObject(stock));  // the stock font stays
  // Every call on a released context fails.
  platform::TextSize size;
  EXPECT_FALSE(platform::TextOut(dc, 0, 0, "x", 1));
  EXPECT_FALSE(platform::GetTextExtentPoint32(dc, "x", 1, size));
  EXPECT_EQ(platform::SetTextColor(dc, 0), platform::CLR_INVALID);
  EXPECT_EQ(platform::SetBkMode(dc, platform::OPAQUE), 0);
  // A fresh context: the stock font, black on opaque white.
  ASSERT_EQ(platform::GetDC(*s, dc), platform::DD_OK);
  EXPECT_EQ(platform::SetBkMode(dc, platform::TRANSPARENT), platform::OPAQUE);
  EXPECT_EQ(platform::SetBkColor(dc, 0), 0xFFFFFFu);
  EXPECT_EQ(platform::SetTextColor(dc, 0xFFFFFF), 0u);
  EXPECT_FALSE(platform::TextOut(dc, 0, 0, "x", -1));
  s.reset();  // the context goes with the surface
  EXPECT_FALSE(platform::TextOut(dc, 0, 0, "x", 1));
}

TEST_F(TextLayer, CountLimitsTheBytesAndTheCodePageFollowsTheCharacterSet) {
  auto s = Surface::Create(4, 4, PixelFormat::XRGB8888);
  HDC dc = 0;
  ASSERT_EQ(platform::GetDC(*s, dc), platform::DD_OK);
  auto width = [&](uint32_t charset, const std::string& text, int32_t count) {
    HGdiObj font = platform::CreateFont(30, 0, 0, 0, 400, 0, 0, 0, charset, 0, 0, 0, 0, "Arial");
    HGdiObj old = platform::SelectObject(dc, font);
    platform::TextSize size;
    platform::GetTextExtentPoint32(dc, text, count, size);
    platform::SelectObject(dc, old);
    platform::DeleteObject(font);
    return size.cx;
  };
  EXPECT_EQ(width(0, "abc", 2), width(0, "ab", 2));
  EXPECT_EQ(width(0, "abc", 99), width(0, "abc", 3));
  // 0xE6 is "æ" in Windows-1252 and "ж" in 1251; the default charset is the western one.
  EXPECT_NE(width(0, "\xE6", 1), width(platform::RUSSIAN_CHARSET, "\xE6", 1));
  EXPECT_EQ(width(platform::DEFAULT_CHARSET, "\xE6", 1), width(0, "\xE6", 1));
  EXPECT_EQ(platform::CodePageOfCharset(204), 1251);
  EXPECT_EQ(platform::CodePageOfCharset(0), 1252);
  platform::ReleaseDC(*s, dc);
}

// Without font files the game goes on: nothing is drawn and texts have no width.
class NoFonts : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
};

TEST_F(NoFonts, NothingIsDrawnAndTextsHaveNoWidth) {
  setenv("HARVO_FONT_DIR", home.home().c_str(), 1);  // an empty folder
  int code = testsupport::RunInChild([] {
    if (platform::FontsAvailable()) return 2;
    auto s = Surface::Create(50, 30, PixelFormat::XRGB8888);
    HDC dc = 0;
    if (platform::GetDC(*s, dc) != platform::DD_OK) return 3;
    HGdiObj font = platform::CreateFont(24, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    platform::SelectObject(dc, font);
    if (!platform::TextOut(dc, 0, 0, "Hello", 5)) return 4;
    platform::TextSize size;
    platform::GetTextExtentPoint32(dc, "Hello", 5, size);
    if (size.cx != 0 || size.cy != 24) return 5;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 50; ++x)
        if (s->GetPixel(x, y) != 0) return 6;
    return 0;
  });
  unsetenv("HARVO_FONT_DIR");
  EXPECT_EQ(code, 0);
}

}  // namespace
