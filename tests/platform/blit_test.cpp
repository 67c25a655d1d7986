// The blitter at 16 and 32 bits, pixel by pixel: hand-checked cases, and many random
// rectangles against a plain per-pixel model that reads from a copy of the source (so
// overlapping copies must behave like memmove).
#include <gtest/gtest.h>

#include <random>

#include "platform/surface.hpp"

using platform::PixelFormat;
using platform::Rect;
using platform::Surface;

namespace {

// Distinct values with some black (the key) among them.
void Muster(Surface& s, uint32_t seed) {
  const uint32_t mask = platform::ValueMask(s.Format()) & 0xFFFFFF;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      uint32_t v = (x * 7919u + y * 104729u + seed * 31u) * 2654435761u;
      s.SetPixel(x, y, (v % 5 == 0) ? 0 : ((v >> 7) & mask) | 1);
    }
}

bool Gleich(const Surface& a, const Surface& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) {
        ADD_FAILURE() << "first difference at " << x << "," << y << ": " << std::hex << a.GetPixel(x, y) << " vs "
                      << b.GetPixel(x, y);
        return false;
      }
  return true;
}

// The model: every destination pixel inside the destination surface takes the source
// pixel at its centre, if that lies inside the source and is not keyed.
void Modell(Surface& dst, Rect dr, const Surface& src, Rect sr, bool keyed) {
  int64_t dw = dr.Right - dr.Left, dh = dr.Bottom - dr.Top, sw = sr.Right - sr.Left, sh = sr.Bottom - sr.Top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const uint32_t mask = platform::ValueMask(src.Format());
  for (int64_t y = dr.Top; y < dr.Bottom; ++y)
    for (int64_t x = dr.Left; x < dr.Right; ++x) {
      if (x < 0 || y < 0 || x >= dst.Width() || y >= dst.Height()) continue;
      int64_t sx = sr.Left + ((2 * (x - dr.Left) + 1) * sw) / (2 * dw);
      int64_t sy = sr.Top + ((2 * (y - dr.Top) + 1) * sh) / (2 * dh);
      if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
      uint32_t v = src.GetPixel(static_cast<int>(sx), static_cast<int>(sy));
      if (keyed && src.HasColorKey() && (v & mask) == src.ColorKey()) continue;
      dst.SetPixel(static_cast<int>(x), static_cast<int>(y), v);
    }
}

class Blitter : public ::testing::TestWithParam<PixelFormat> {
 protected:
  PixelFormat f = GetParam();
  uint32_t Px(uint32_t r, uint32_t g, uint32_t b) { return platform::PackPixel(f, r, g, b); }
};

}  // namespace

TEST_P(Blitter, BltFastClipsOnEveryEdge) {
  Surface src(10, 6, f), dst(8, 5, f);
  Muster(src, 1);
  struct Fall {
    int x, y;
    Rect sr;
  } faelle[] = {
      {-3, 0, {0, 0, 10, 6}},   // left edge
      {5, 0, {0, 0, 10, 6}},    // right edge
      {0, -4, {0, 0, 10, 6}},   // top edge
      {0, 3, {0, 0, 10, 6}},    // bottom edge
      {-2, -2, {1, 1, 9, 5}},   // two edges with a source rectangle
      {2, 1, {-3, -1, 4, 3}},   // source rectangle outside its surface on two sides
      {2, 1, {6, 4, 14, 9}},    // and on the other two
      {8, 0, {0, 0, 10, 6}},    // entirely right of the destination
      {0, 0, {5, 5, 5, 6}},     // empty source rectangle
      {0, 0, {6, 0, 4, 3}},     // reversed source rectangle
  };
  for (const Fall& c : faelle) {
    Surface erwartet(8, 5, f);
    Muster(dst, 2);
    Muster(erwartet, 2);
    Modell(erwartet, {c.x, c.y, c.x + (c.sr.Right - c.sr.Left), c.y + (c.sr.Bottom - c.sr.Top)}, src, c.sr, false);
    EXPECT_EQ(dst.BltFast(c.x, c.y, src, &c.sr, platform::DDBLTFAST_WAIT), platform::DD_OK);
    EXPECT_TRUE(Gleich(dst, erwartet)) << "at " << c.x << "," << c.y;
  }
  // Hand-checked: source columns 3..7 land on destination columns 0..4.
  Muster(dst, 2);
  Rect zeile{0, 2, 10, 3};
  dst.BltFast(-3, 0, src, &zeile, 0);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(dst.GetPixel(x, 0), src.GetPixel(x + 3, 2));
}

TEST_P(Blitter, ColourKeySkipsBlackOnly) {
  Surface src(4, 1, f), dst(4, 1, f);
  const uint32_t rot = Px(255, 0, 0), fast = Px(7, 3, 7), weiss = Px(255, 255, 255), blau = Px(0, 0, 255);
  src.SetPixel(0, 0, rot);
  src.SetPixel(1, 0, 0);
  src.SetPixel(2, 0, fast);
  src.SetPixel(3, 0, weiss);
  src.SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
  for (int x = 0; x < 4; ++x) dst.SetPixel(x, 0, blau);
  dst.BltFast(0, 0, src, nullptr, platform::DDBLTFAST_SRCCOLORKEY);
  EXPECT_EQ(dst.GetPixel(0, 0), rot);
  EXPECT_EQ(dst.GetPixel(1, 0), blau);
  // Near-black becomes black at 16 bits and is then keyed like black.
  EXPECT_EQ(dst.GetPixel(2, 0), f == PixelFormat::RGB565 ? blau : fast);
  EXPECT_EQ(dst.GetPixel(3, 0), weiss);
  // Without the flag, or without a key on the source, everything is copied.
  Surface ohne(4, 1, f);
  ohne.BltFast(0, 0, src, nullptr, platform::DDBLTFAST_NOCOLORKEY);
  EXPECT_EQ(ohne.GetPixel(1, 0), 0u);
  // A white key (the inverted pictures') keys white; the unused top byte of XRGB is
  // not part of the comparison.
  src.SetColorKey(platform::DDCKEY_SRCBLT, 0xFFFFFFFF, 0xFFFFFFFF);
  for (int x = 0; x < 4; ++x) dst.SetPixel(x, 0, blau);
  if (f == PixelFormat::XRGB8888) src.SetPixel(3, 0, 0xAAFFFFFF);
  dst.BltFast(0, 0, src, nullptr, platform::DDBLTFAST_SRCCOLORKEY);
  EXPECT_EQ(dst.GetPixel(1, 0), 0u);
  EXPECT_EQ(dst.GetPixel(3, 0), blau);
}

TEST_P(Blitter, StretchIsNearestNeighbourAtPixelCentres) {
  Surface src(4, 2, f);
  for (int x = 0; x < 4; ++x) {
    src.SetPixel(x, 0, Px(10 + 40 * x, 0, 0));
    src.SetPixel(x, 1, Px(0, 40 * x + 20, 0));
  }
  auto spalte = [&](int x) { return Px(10 + 40 * x, 0, 0); };
  // Doubled: every source column twice.
  Surface gross(8, 4, f);
  Rect alles{0, 0, 8, 4};
  EXPECT_EQ(gross.Blt(&alles, &src, nullptr, platform::DDBLT_WAIT), platform::DD_OK);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(gross.GetPixel(x, 1), spalte(x / 2)) << x;
  EXPECT_EQ(gross.GetPixel(0, 2), src.GetPixel(0, 1));
  // Halved: the centres of 2-pixel groups fall on the second pixel.
  Surface klein(2, 1, f);
  Rect oben{0, 0, 4, 1};
  klein.Blt(nullptr, &src, &oben, platform::DDBLT_WAIT);
  EXPECT_EQ(klein.GetPixel(0, 0), spalte(1));
  EXPECT_EQ(klein.GetPixel(1, 0), spalte(3));
  // A destination that starts off the surface keeps the proportions: 50 source columns
  // over 200 destination columns from -100 show source columns 25..49 on 0..99.
  Surface breit(50, 1, f), schirm(120, 1, f);
  for (int x = 0; x < 50; ++x) breit.SetPixel(x, 0, Px(x * 5, 1, 1));
  Rect d{-100, 0, 100, 1};
  schirm.Blt(&d, &breit, nullptr, platform::DDBLT_WAIT);
  EXPECT_EQ(schirm.GetPixel(0, 0), breit.GetPixel(25, 0));
  EXPECT_EQ(schirm.GetPixel(3, 0), breit.GetPixel(25, 0));
  EXPECT_EQ(schirm.GetPixel(4, 0), breit.GetPixel(26, 0));
  EXPECT_EQ(schirm.GetPixel(99, 0), breit.GetPixel(49, 0));
  EXPECT_EQ(schirm.GetPixel(100, 0), 0u);
}

TEST_P(Blitter, RandomRectanglesMatchTheModel) {
  std::mt19937 rng(1234);
  auto zahl = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 3000; ++i) {
    Surface src(zahl(1, 23), zahl(1, 17), f), dst(zahl(1, 29), zahl(1, 19), f);
    Muster(src, i);
    Muster(dst, i + 7);
    src.SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
    if (i % 4 == 0) dst.SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
    const bool selbst = i % 3 == 0;
    Surface& quelle = selbst ? dst : src;
    Surface kopie = quelle;  // the model reads from a copy: memmove semantics
    Surface erwartet = dst;
    Rect sr{zahl(-8, 25), zahl(-8, 20), 0, 0};
    sr.Right = sr.Left + zahl(-2, 26);
    sr.Bottom = sr.Top + zahl(-2, 20);
    const bool keyed = zahl(0, 1) == 1;
    if (i % 2 == 0) {
      int x = zahl(-20, 30), y = zahl(-20, 20);
      Modell(erwartet, {x, y, x + sr.Right - sr.Left, y + sr.Bottom - sr.Top}, kopie, sr, keyed);
      ASSERT_EQ(dst.BltFast(x, y, quelle, &sr, keyed ? platform::DDBLTFAST_SRCCOLORKEY : 0), platform::DD_OK);
    } else {
      Rect dr{zahl(-25, 30), zahl(-25, 20), 0, 0};
      dr.Right = dr.Left + zahl(-2, 60);
      dr.Bottom = dr.Top + zahl(-2, 45);
      Modell(erwartet, dr, kopie, sr, keyed);
      ASSERT_EQ(dst.Blt(&dr, &quelle, &sr, platform::DDBLT_WAIT | (keyed ? platform::DDBLT_KEYSRC : 0)),
                platform::DD_OK);
    }
    ASSERT_TRUE(Gleich(dst, erwartet)) << "case " << i;
  }
}

TEST_P(Blitter, OverlappingMovesWithinOneSurfaceActLikeMemmove) {
  struct Zug {
    int dx, dy;
  } zuege[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {3, 2}, {-3, -2}, {2, -1}, {-2, 1}};
  for (bool keyed : {false, true})
    for (const Zug& z : zuege) {
      Surface s(33, 9, f);
      Muster(s, 5);
      s.SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
      Surface kopie = s, erwartet = s;
      Rect sr{4, 2, 29, 7};
      Modell(erwartet, {4 + z.dx, 2 + z.dy, 29 + z.dx, 7 + z.dy}, kopie, sr, keyed);
      s.BltFast(4 + z.dx, 2 + z.dy, s, &sr, keyed ? platform::DDBLTFAST_SRCCOLORKEY : 0);
      EXPECT_TRUE(Gleich(s, erwartet)) << z.dx << "," << z.dy << (keyed ? " keyed" : "");
    }
  // A stretched copy onto an overlapping part of the same surface reads the old pixels.
  Surface s(16, 16, f);
  Muster(s, 9);
  Surface kopie = s, erwartet = s;
  Rect sr{0, 0, 8, 8}, dr{2, 2, 16, 16};
  Modell(erwartet, dr, kopie, sr, false);
  s.Blt(&dr, &s, &sr, platform::DDBLT_WAIT);
  EXPECT_TRUE(Gleich(s, erwartet));
}

TEST_P(Blitter, InvertAndFillAreClippedToTheSurface) {
  Surface s(6, 4, f);
  Muster(s, 3);
  Surface vorher = s;
  platform::BltFx fx;
  fx.rop = platform::DSTINVERT;
  Rect r{-2, 1, 3, 9};
  EXPECT_EQ(s.Blt(&r, nullptr, nullptr, platform::DDBLT_ROP | platform::DDBLT_WAIT, &fx), platform::DD_OK);
  const uint32_t mask = f == PixelFormat::RGB565 ? 0xFFFF : 0xFFFFFF;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      bool drin = x < 3 && y >= 1;
      EXPECT_EQ(s.GetPixel(x, y), drin ? vorher.GetPixel(x, y) ^ mask : vorher.GetPixel(x, y)) << x << "," << y;
    }
  // Black inverts to white: the key of the inverted pictures.
  Surface schwarz(1, 1, f);
  schwarz.Blt(nullptr, nullptr, nullptr, platform::DDBLT_ROP, &fx);
  EXPECT_EQ(schwarz.GetPixel(0, 0), Px(255, 255, 255));

  Rect fr{4, -1, 10, 2};
  EXPECT_EQ(s.BltColorFill(&fr, 0xFF123456), platform::DD_OK);
  const uint32_t gefuellt = 0xFF123456 & platform::ValueMask(f);
  for (int y = 0; y < 4; ++y)
    for (int x = 4; x < 6; ++x) EXPECT_EQ(s.GetPixel(x, y) == gefuellt, y < 2) << x << "," << y;
  EXPECT_NE(s.GetPixel(3, 0), gefuellt);
  fx.fillColor = Px(0, 255, 0);
  s.Blt(nullptr, nullptr, nullptr, platform::DDBLT_COLORFILL, &fx);
  EXPECT_EQ(s.GetPixel(5, 3), Px(0, 255, 0));
  Rect leer{3, 3, 1, 1};
  EXPECT_EQ(s.BltColorFill(&leer, 0), platform::DD_OK);
  EXPECT_EQ(s.GetPixel(2, 2), Px(0, 255, 0));
}

TEST_P(Blitter, RefusalsAnswerWithTheirCodes) {
  Surface a(4, 4, f), b(4, 4, f);
  Surface fremd(4, 4, f == PixelFormat::RGB565 ? PixelFormat::XRGB8888 : PixelFormat::RGB565);
  EXPECT_EQ(a.BltFast(0, 0, fremd, nullptr, 0), platform::DDERR_INVALIDPIXELFORMAT);
  platform::BltFx fx;
  fx.rop = 0x00EE0086;  // SRCPAINT: not supported
  EXPECT_EQ(a.Blt(nullptr, &b, nullptr, platform::DDBLT_ROP, &fx), platform::DDERR_NORASTEROPHW);
  fx.rop = platform::SRCCOPY;
  EXPECT_EQ(a.Blt(nullptr, &b, nullptr, platform::DDBLT_ROP, &fx), platform::DD_OK);
  platform::LockedRect l;
  Rect r{1, 1, 3, 4};
  ASSERT_EQ(b.Lock(&r, l), platform::DD_OK);
  EXPECT_EQ(l.width, 2);
  EXPECT_EQ(l.height, 3);
  EXPECT_EQ(l.bits, b.Row(1) + b.BytesPerPixel());
  EXPECT_EQ(b.Lock(nullptr, l), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(a.BltFast(0, 0, b, nullptr, 0), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(b.BltColorFill(nullptr, 0), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(b.Unlock(), platform::DD_OK);
  EXPECT_EQ(b.Unlock(), platform::DDERR_NOTLOCKED);
  Rect aussen{2, 2, 5, 3};
  EXPECT_EQ(b.Lock(&aussen, l), platform::DDERR_INVALIDRECT);
}

INSTANTIATE_TEST_SUITE_P(BeideTiefen, Blitter, ::testing::Values(PixelFormat::XRGB8888, PixelFormat::RGB565),
                         [](const auto& info) { return info.param == PixelFormat::RGB565 ? "Bits16" : "Bits32"; });

TEST(PixelFormats, PackingAndLimits) {
  // Smaller fields keep the top bits: near-black is black at 16 bits.
  EXPECT_EQ(platform::PackPixel(PixelFormat::RGB565, 255, 255, 255), 0xFFFFu);
  EXPECT_EQ(platform::PackPixel(PixelFormat::RGB565, 7, 3, 7), 0u);
  EXPECT_EQ(platform::PackPixel(PixelFormat::ARGB4444, 0x10, 0x20, 0x30, 0xF0), 0xF123u);
  uint8_t r, g, b, a;
  platform::UnpackPixel(PixelFormat::RGB565, 0x8410, r, g, b, a);
  EXPECT_EQ(r, 0x84);
  EXPECT_EQ(g, 0x82);
  EXPECT_EQ(b, 0x84);
  EXPECT_EQ(Surface(3, 1, PixelFormat::RGB565).Pitch(), 8);  // rows on four-byte boundaries
  EXPECT_EQ(Surface::Create(0, 5, PixelFormat::RGB565), nullptr);
  EXPECT_EQ(Surface::Create(Surface::kMaxSide + 1, 1, PixelFormat::RGB565), nullptr);
}
