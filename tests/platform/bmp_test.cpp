// The BMP reader against files written here in every variant, the writer's round trip,
// and damaged files.
#include <gtest/gtest.h>

#include <random>

#include "platform/bmp.hpp"
#include "support/support.hpp"

using platform::BmpImage;
using platform::DecodeBmp;
using platform::PixelFormat;

namespace {

constexpr int W = 7, H = 5;  // an odd width: every row is padded

// Colour components that 5-bit (rounded) and 6-bit fields reproduce exactly.
uint32_t Aus5(uint32_t k) { return (k * 255 + 15) / 31; }
uint32_t Farbe(int i) {
  const uint32_t rot[4] = {0, Aus5(10), Aus5(21), 255}, gruen[2] = {0, 255}, blau[2] = {0, Aus5(7)};
  return 0xFF000000u | (rot[i & 3] << 16) | (gruen[(i >> 2) & 1] << 8) | blau[(i >> 3) & 1];
}
int Index(int x, int y, int farben) { return (x * 3 + y * 5) % farben; }
uint32_t Erwartet(int x, int y, int farben) { return Farbe(Index(x, y, farben)); }

void Put(std::vector<uint8_t>& v, uint32_t x, int n) {
  for (int i = 0; i < n; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

struct Art {
  int bpp = 24;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  bool topDown = false;
  std::vector<uint32_t> masks;  // bit fields (written after a 40-byte header, inside a bigger one)
  int farben = 16;              // colours of the picture (2 for 1 bit)
  int paletteCount = 0;         // 0: the full palette for the bit depth
  uint32_t fuell32 = 0;         // the unused byte of 32-bit pixels
};

// The pixel rows of a picture (top row first), each padded to four bytes.
std::vector<uint8_t> Zeile(const Art& a, int y) {
  std::vector<uint8_t> z;
  if (a.bpp <= 8) {
    uint32_t bits = 0;
    int n = 0;
    for (int x = 0; x < W; ++x) {
      bits = (bits << a.bpp) | Index(x, y, a.farben);
      n += a.bpp;
      if (n == 8) {
        z.push_back(static_cast<uint8_t>(bits));
        bits = 0;
        n = 0;
      }
    }
    if (n) z.push_back(static_cast<uint8_t>(bits << (8 - n)));
  } else {
    for (int x = 0; x < W; ++x) {
      uint32_t c = Erwartet(x, y, a.farben);
      uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
      if (a.bpp == 24) {
        z.push_back(static_cast<uint8_t>(b));
        z.push_back(static_cast<uint8_t>(g));
        z.push_back(static_cast<uint8_t>(r));
      } else if (a.bpp == 32) {
        uint32_t v = a.masks.empty() ? (a.fuell32 << 24) | (r << 16) | (g << 8) | b
                                     : (r << 24) | (g << 16) | (b << 8) | 0x80;  // RGBA order, alpha 0x80
        Put(z, v, 4);
      } else {
        bool f565 = !a.masks.empty() && a.masks[1] == 0x7E0;
        uint32_t v = f565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        Put(z, v, 2);
      }
    }
  }
  while (z.size() % 4) z.push_back(0);
  return z;
}

// Run-length rows: runs of equal indexes, then end of line; end of picture at the end.
std::vector<uint8_t> Rle(const Art& a) {
  std::vector<uint8_t> d;
  for (int fy = 0; fy < H; ++fy) {
    int y = H - 1 - fy;
    if (a.compression == 1) {
      for (int x = 0; x < W;) {
        int n = 1;
        while (x + n < W && Index(x + n, y, a.farben) == Index(x, y, a.farben)) ++n;
        d.push_back(static_cast<uint8_t>(n));
        d.push_back(static_cast<uint8_t>(Index(x, y, a.farben)));
        x += n;
      }
    } else {
      // Two pixels per run of length 2 (alternating nibbles), the last alone.
      for (int x = 0; x < W; x += 2) {
        int n = std::min(2, W - x);
        uint8_t hi = static_cast<uint8_t>(Index(x, y, a.farben));
        uint8_t lo = n == 2 ? static_cast<uint8_t>(Index(x + 1, y, a.farben)) : 0;
        d.push_back(static_cast<uint8_t>(n));
        d.push_back(static_cast<uint8_t>((hi << 4) | lo));
      }
    }
    d.push_back(0);
    d.push_back(0);
  }
  d.push_back(0);
  d.push_back(1);
  return d;
}

std::vector<uint8_t> Datei(const Art& a) {
  std::vector<uint8_t> pixel;
  if (a.compression == 1 || a.compression == 2) {
    pixel = Rle(a);
  } else {
    for (int i = 0; i < H; ++i) {
      std::vector<uint8_t> z = Zeile(a, a.topDown ? i : H - 1 - i);
      pixel.insert(pixel.end(), z.begin(), z.end());
    }
  }
  std::vector<uint8_t> kopf;
  if (a.headerSize == 12) {
    Put(kopf, 12, 4);
    Put(kopf, W, 2);
    Put(kopf, H, 2);
    Put(kopf, 1, 2);
    Put(kopf, a.bpp, 2);
  } else {
    Put(kopf, a.headerSize, 4);
    Put(kopf, W, 4);
    Put(kopf, a.topDown ? static_cast<uint32_t>(-H) : H, 4);
    Put(kopf, 1, 2);
    Put(kopf, a.bpp, 2);
    Put(kopf, a.compression, 4);
    Put(kopf, static_cast<uint32_t>(pixel.size()), 4);
    Put(kopf, 2835, 4);
    Put(kopf, 2835, 4);
    Put(kopf, a.paletteCount, 4);
    Put(kopf, 0, 4);
    if (a.headerSize > 40) {
      for (size_t i = 0; i < 4; ++i) Put(kopf, i < a.masks.size() ? a.masks[i] : 0, 4);
      while (kopf.size() < a.headerSize) kopf.push_back(0);
    } else {
      for (uint32_t m : a.masks) Put(kopf, m, 4);
    }
  }
  if (a.bpp <= 8) {
    int n = a.paletteCount ? a.paletteCount : 1 << a.bpp;
    for (int i = 0; i < n; ++i) {
      uint32_t c = Farbe(i);
      kopf.push_back(static_cast<uint8_t>(c));
      kopf.push_back(static_cast<uint8_t>(c >> 8));
      kopf.push_back(static_cast<uint8_t>(c >> 16));
      if (a.headerSize != 12) kopf.push_back(0);
    }
  }
  std::vector<uint8_t> f = {'B', 'M'};
  Put(f, static_cast<uint32_t>(14 + kopf.size() + pixel.size()), 4);
  Put(f, 0, 4);
  Put(f, static_cast<uint32_t>(14 + kopf.size()), 4);
  f.insert(f.end(), kopf.begin(), kopf.end());
  f.insert(f.end(), pixel.begin(), pixel.end());
  return f;
}

struct Variante {
  const char* name;
  Art art;
};

std::vector<Variante> Varianten() {
  std::vector<Variante> v;
  auto add = [&](const char* n, Art a) { v.push_back({n, a}); };
  Art a;
  a.bpp = 1, a.farben = 2;
  add("1 bit", a);
  a = Art{}, a.bpp = 4;
  add("4 bit", a);
  a.compression = 2;
  add("4 bit RLE", a);
  a = Art{}, a.bpp = 8;
  add("8 bit", a);
  a.topDown = true;
  add("8 bit top-down", a);
  a = Art{}, a.bpp = 8, a.paletteCount = 16;
  add("8 bit short palette", a);
  a.compression = 1;
  add("8 bit RLE", a);
  a = Art{}, a.bpp = 16;
  add("16 bit 5-5-5", a);
  a.compression = 3, a.masks = {0xF800, 0x7E0, 0x1F};
  add("16 bit fields 5-6-5", a);
  a.headerSize = 108;
  add("16 bit 5-6-5 V4", a);
  a = Art{}, a.bpp = 24;
  add("24 bit", a);
  a.topDown = true;
  add("24 bit top-down", a);
  a = Art{}, a.bpp = 24, a.headerSize = 12;
  add("24 bit core header", a);
  a = Art{}, a.bpp = 32, a.fuell32 = 0x7F;
  add("32 bit", a);
  a = Art{}, a.bpp = 32, a.compression = 3, a.headerSize = 124, a.masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF};
  add("32 bit fields V5 with alpha", a);
  a.headerSize = 108, a.topDown = true;
  add("32 bit fields V4 top-down", a);
  return v;
}

}  // namespace

TEST(BmpReader, EveryVariantGivesTheSamePixels) {
  for (const Variante& v : Varianten()) {
    std::vector<uint8_t> f = Datei(v.art);
    BmpImage img;
    ASSERT_TRUE(DecodeBmp(f.data(), f.size(), img)) << v.name;
    ASSERT_EQ(img.width, W);
    ASSERT_EQ(img.height, H);
    const bool alpha = v.art.masks.size() == 4 && v.art.masks[3] != 0;
    EXPECT_EQ(img.hasAlpha, alpha) << v.name;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        uint32_t e = Erwartet(x, y, v.art.farben);
        if (alpha) e = (e & 0xFFFFFF) | 0x80000000u;
        ASSERT_EQ(img.argb[y * W + x], e) << v.name << " at " << x << "," << y;
      }
  }
}

TEST(BmpReader, RunLengthEscapesMoveAndCopy) {
  // 8 bits, 6 x 3: a literal run of 3 (padded), a delta of (1, 1), a run, end of picture.
  Art a;
  a.bpp = 8;
  std::vector<uint8_t> f = Datei(a);  // header and palette of an 8-bit picture, 7 x 5
  BmpImage img;
  std::vector<uint8_t> rle = {0, 3, 5, 6, 7, 0, 0, 2, 1, 1, 2, 9, 0, 1};
  size_t off = f[10] | (f[11] << 8);
  f.resize(off);
  f[30] = 1;  // RLE8
  f.insert(f.end(), rle.begin(), rle.end());
  ASSERT_TRUE(DecodeBmp(f.data(), f.size(), img));
  auto px = [&](int x, int fileRow) { return img.argb[(H - 1 - fileRow) * W + x]; };
  EXPECT_EQ(px(0, 0), Farbe(5));
  EXPECT_EQ(px(1, 0), Farbe(6));
  EXPECT_EQ(px(2, 0), Farbe(7));
  EXPECT_EQ(px(3, 0), 0xFF000000u);  // skipped pixels stay black
  EXPECT_EQ(px(4, 1), Farbe(9));
  EXPECT_EQ(px(5, 1), Farbe(9));
  EXPECT_EQ(px(3, 1), 0xFF000000u);
}

TEST(BmpReader, TruncatedFilesFailAndDamagedOnesNeverCrash) {
  for (const Variante& v : Varianten()) {
    std::vector<uint8_t> f = Datei(v.art);
    BmpImage img;
    for (size_t n = 0; n + 4 <= f.size(); ++n) EXPECT_FALSE(DecodeBmp(f.data(), n, img)) << v.name << " cut at " << n;
    // Random damage: the reader may accept or refuse, but stays within the buffer.
    std::mt19937 rng(static_cast<unsigned>(f.size()));
    for (int i = 0; i < 400; ++i) {
      std::vector<uint8_t> g = f;
      for (int k = 0; k < 3; ++k) g[rng() % g.size()] = static_cast<uint8_t>(rng());
      if (DecodeBmp(g.data(), g.size(), img)) {
        EXPECT_EQ(img.argb.size(), static_cast<size_t>(img.width) * img.height);
      }
    }
  }
}

TEST(BmpReader, HostileHeadersAreRefused) {
  struct Fall {
    const char* name;
    size_t at;
    uint32_t value;
    int bytes;
  } faelle[] = {
      {"huge width", 18, 0x7FFFFFFF, 4},      {"zero width", 18, 0, 4},
      {"negative width", 18, 0xFFFFFFF0, 4},  {"zero height", 22, 0, 4},
      {"most negative height", 22, 0x80000000, 4}, {"too many pixels", 18, 16384, 4},
      {"bit depth 0", 28, 0, 2},              {"bit depth 7", 28, 7, 2},
      {"unknown compression", 30, 4, 4},      {"pixels beyond the end", 10, 0xFFFFFF00, 4},
      {"header larger than the file", 14, 5000, 4},
      {"header too small", 14, 20, 4},        {"RLE8 at 24 bits", 30, 1, 4},
  };
  Art a;
  a.bpp = 24;
  for (const Fall& c : faelle) {
    std::vector<uint8_t> f = Datei(a);
    for (int i = 0; i < c.bytes; ++i) f[c.at + i] = static_cast<uint8_t>(c.value >> (8 * i));
    if (std::string(c.name) == "too many pixels") f[22] = 0, f[23] = 0x40;  // 16384 x 16384
    BmpImage img;
    EXPECT_FALSE(DecodeBmp(f.data(), f.size(), img)) << c.name;
  }
  // A palette larger than 256 colours, or than the file.
  Art p;
  p.bpp = 8;
  std::vector<uint8_t> g = Datei(p);
  g[46] = 0xE8, g[47] = 0x03;  // 1000
  BmpImage bild;
  EXPECT_FALSE(DecodeBmp(g.data(), g.size(), bild));
  g = Datei(p);
  g.resize(14 + 40 + 100);
  EXPECT_FALSE(DecodeBmp(g.data(), g.size(), bild));
  // Run-length rows must be bottom-up; masks must be contiguous.
  Art r;
  r.bpp = 8, r.compression = 1, r.topDown = true;
  std::vector<uint8_t> f = Datei(r);
  BmpImage img;
  EXPECT_FALSE(DecodeBmp(f.data(), f.size(), img));
  Art m;
  m.bpp = 16, m.compression = 3, m.masks = {0xF801, 0x7E0, 0x1F};
  f = Datei(m);
  EXPECT_FALSE(DecodeBmp(f.data(), f.size(), img));
  EXPECT_FALSE(DecodeBmp(nullptr, 0, img));
}

TEST(BmpWriter, RoundTripsAtBothDepths) {
  testsupport::TempDir dir;
  for (PixelFormat f : {PixelFormat::XRGB8888, PixelFormat::RGB565}) {
    platform::Surface s(W, H, f);
    std::mt19937 rng(7);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) s.SetPixel(x, y, rng() & platform::ValueMask(f));
    std::string pfad = dir / "bild.bmp";
    ASSERT_TRUE(platform::SaveBmp24(pfad, s));
    std::vector<uint8_t> bytes = testsupport::ReadBytes(pfad);
    EXPECT_EQ(bytes.size(), 54u + 24u * H);  // 7 pixels of 3 bytes, padded to 24
    EXPECT_EQ(bytes[28], 24);
    int32_t fehler = 0;
    platform::SurfacePtr zurueck = platform::LoadBmp(pfad, f, &fehler);
    ASSERT_TRUE(zurueck);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) ASSERT_EQ(zurueck->GetPixel(x, y), s.GetPixel(x, y)) << x << "," << y;
  }
  int32_t fehler = 0;
  EXPECT_EQ(platform::LoadBmp(dir / "fehlt.bmp", PixelFormat::RGB565, &fehler), nullptr);
  EXPECT_EQ(fehler, platform::DDERR_NOTFOUND);
  testsupport::WriteText(dir / "kaputt.bmp", "BM not a picture at all");
  EXPECT_EQ(platform::LoadBmp(dir / "KAPUTT.BMP", PixelFormat::RGB565, &fehler), nullptr);
  EXPECT_EQ(fehler, platform::DDERR_UNSUPPORTEDFORMAT);
}

TEST(BmpReader, ConvertsIntoEachSurfaceFormat) {
  Art a;
  a.bpp = 32, a.compression = 3, a.headerSize = 124, a.masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF};
  std::vector<uint8_t> f = Datei(a);
  BmpImage img;
  ASSERT_TRUE(DecodeBmp(f.data(), f.size(), img));
  const uint32_t c = Erwartet(1, 0, 16);
  const uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
  struct Fall {
    PixelFormat f;
    uint32_t wert;
  } faelle[] = {
      {PixelFormat::XRGB8888, c & 0xFFFFFF},
      {PixelFormat::RGB565, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)},
      {PixelFormat::ARGB8888, (c & 0xFFFFFF) | 0x80000000u},
      {PixelFormat::ARGB4444, 0x8000u | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4)},
  };
  for (const Fall& k : faelle) {
    platform::SurfacePtr s = platform::SurfaceFromImage(img, k.f);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->GetPixel(1, 0), k.wert);
  }
}
