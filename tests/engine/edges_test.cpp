// Opaque-edge profiles: scans of shaped pictures, the ".r" cache's layout, and caches that
// do not fit.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/display.hpp"
#include "engine/edges.hpp"
#include "engine/surfaces.hpp"
#include "platform/bmp.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

using platform::PixelFormat;

namespace {

class Raender : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string levelOrdner;

  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    DatenOrdner = dir.path();
    DebugModus = true;
    BackBuffer.reset();
    GrafikPfad = dir / "Grafik/";
    levelOrdner = GrafikPfad + LevelName + "/";
  }
  void TearDown() override { Surfaces.clear(); }

  // A picture from rows of text: '#' opaque white, 'n' near-black, anything else black.
  int32_t Lade(const std::string& name, const std::vector<std::string>& zeilen) {
    int w = static_cast<int>(zeilen[0].size()), h = static_cast<int>(zeilen.size());
    platform::Surface s(w, h, PixelFormat::XRGB8888);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        char c = zeilen[y][x];
        s.SetPixel(x, y, c == '#' ? 0xFFFFFFu : c == 'n' ? 0x010000u : 0u);
      }
    EXPECT_TRUE(platform::SaveBmp24(dir / name, s));
    return LoadSurface(dir / name, false);
  }

  static std::vector<uint8_t> Cache(std::vector<int32_t> werte) {
    std::vector<uint8_t> d;
    for (int32_t v : werte)
      for (int i = 0; i < 4; ++i) d.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    return d;
  }
};

}  // namespace

TEST_F(Raender, AScanFindsTheEdgesOfEachRow) {
  int32_t n = Lade("Form.bmp", {
                                   "......",
                                   "..#...",
                                   ".###..",
                                   "#.#..#",
                                   "......",
                               });
  ASSERT_TRUE(LadeRänder(n));
  const SurfaceInfo& e = Surfaces[n];
  EXPECT_EQ(e.RandLinks, (std::vector<int32_t>{-1, 2, 1, 0, -1, -1}));
  EXPECT_EQ(e.RandRechts, (std::vector<int32_t>{-1, 2, 3, 5, -1, -1}));
  EXPECT_EQ(e.ErsteZeile, 1);
  EXPECT_EQ(e.LetzteZeile, 3);
  EXPECT_EQ(e.RandMinX, 0);
  EXPECT_EQ(e.RandMaxX, 5);
}

TEST_F(Raender, EdgeCasesOfThePictures) {
  // A single opaque pixel at (3, 4).
  std::vector<std::string> punkt(6, "......");
  punkt[4][3] = '#';
  int32_t p = Lade("Punkt.bmp", punkt);
  LadeRänder(p);
  EXPECT_EQ(Surfaces[p].RandLinks[4], 3);
  EXPECT_EQ(Surfaces[p].RandRechts[4], 3);
  EXPECT_EQ(Surfaces[p].ErsteZeile, 4);
  EXPECT_EQ(Surfaces[p].LetzteZeile, 4);
  EXPECT_EQ(Surfaces[p].RandMinX, 3);
  EXPECT_EQ(Surfaces[p].RandMaxX, 3);

  // Nothing opaque: all rows empty, the marker 0 / 1, the rows as they were.
  int32_t leer = Lade("Leer.bmp", {"...", "...", "..."});
  Surfaces[leer].ErsteZeile = 1;
  Surfaces[leer].LetzteZeile = 2;
  LadeRänder(leer);
  EXPECT_EQ(Surfaces[leer].RandLinks, std::vector<int32_t>(4, -1));
  EXPECT_EQ(Surfaces[leer].RandRechts, std::vector<int32_t>(4, -1));
  EXPECT_EQ(Surfaces[leer].RandMinX, 0);
  EXPECT_EQ(Surfaces[leer].RandMaxX, 1);
  EXPECT_EQ(Surfaces[leer].ErsteZeile, 1);
  EXPECT_EQ(Surfaces[leer].LetzteZeile, 2);

  // Unknown numbers give no profile and one log line.
  EXPECT_FALSE(LadeRänder(42));
}

TEST_F(Raender, NearBlackIsOpaqueAtEitherDepthAndTheCacheIsTheSame) {
  // Near-black turns black in a 16-bit surface; the profile follows the file's colours.
  std::vector<uint8_t> caches[2];
  for (int32_t tiefe : {16, 32}) {
    SetUp();
    std::filesystem::create_directories(levelOrdner);
    Farbtiefe = tiefe;
    int32_t n = Lade("Dunkel.bmp", {"n#.", "n..", "..."});
    ASSERT_TRUE(LadeRänder(n));
    EXPECT_EQ(Surfaces[n].RandLinks, (std::vector<int32_t>{0, 0, -1, -1})) << tiefe;
    EXPECT_EQ(Surfaces[n].RandRechts, (std::vector<int32_t>{1, 0, -1, -1})) << tiefe;
    EXPECT_EQ(Surfaces[n].LetzteZeile, 1) << tiefe;
    caches[tiefe == 32] = testsupport::ReadBytes(levelOrdner + "DUNKEL.r");
    std::filesystem::remove_all(GrafikPfad);
  }
  EXPECT_FALSE(caches[0].empty());
  EXPECT_EQ(caches[0], caches[1]);
}

TEST_F(Raender, TheCacheIsWrittenIntoTheLevelFolderInItsLayout) {
  std::vector<std::string> zeilen(10, "....");
  zeilen[2] = ".##.";
  zeilen[7] = "#...";
  int32_t n = Lade("Hoch.bmp", zeilen);
  // Without the level folder nothing is written.
  LadeRänder(n);
  EXPECT_FALSE(std::filesystem::exists(levelOrdner));
  std::filesystem::create_directories(levelOrdner);
  testsupport::WriteText(levelOrdner + "hoch.R", "an old cache in another letter case");
  Surfaces[n].SrcRect.Top = 5;  // the source rectangle raises the first row, not the cache
  LadeRänder(n);
  std::vector<int32_t> erwartet = {4, 10, 2, 7};
  for (int i = 0; i <= 10; ++i) {
    erwartet.push_back(i == 2 ? 1 : i == 7 ? 0 : -1);
    erwartet.push_back(i == 2 ? 2 : i == 7 ? 0 : -1);
  }
  ASSERT_TRUE(std::filesystem::exists(levelOrdner + "HOCH.r"));
  EXPECT_FALSE(std::filesystem::exists(levelOrdner + "hoch.R"));
  std::vector<uint8_t> cache = testsupport::ReadBytes(levelOrdner + "HOCH.r");
  EXPECT_EQ(cache.size(), 104u);
  EXPECT_EQ(cache.size(), static_cast<size_t>(RänderDateiGroesse(10)));
  EXPECT_EQ(cache, Cache(erwartet));
  EXPECT_EQ(Surfaces[n].ErsteZeile, 5);
  EXPECT_EQ(Surfaces[n].LetzteZeile, 7);
  EXPECT_EQ(Surfaces[n].RandLinks.size(), 11u);
}

TEST_F(Raender, AFittingCacheIsReadAndOthersAreIgnored) {
  int32_t n = Lade("Teil.bmp", {"##..", "....", ".#.."});  // W 4, H 3
  // A cache beside the picture that differs from the picture: when it fits it is used.
  std::vector<int32_t> passend = {4, 3, 0, 1, 1, 2, 0, 3, -1, -1, -1, -1};
  struct Fall {
    const char* name;
    std::vector<uint8_t> bytes;
    bool benutzt;
  } faelle[] = {
      {"fits", Cache(passend), true},
      {"one byte short", [&] { auto b = Cache(passend); b.pop_back(); return b; }(), false},
      {"one byte long", [&] { auto b = Cache(passend); b.push_back(0); return b; }(), false},
      {"height one less", Cache({4, 2, 0, 1, 1, 2, 0, 3, -1, -1}), false},
      {"other width", Cache({5, 3, 0, 1, 1, 2, 0, 3, -1, -1, -1, -1}), false},
      {"row beyond the picture", Cache({4, 3, 0, 1, 1, 9, 0, 3, -1, -1, -1, -1}), false},
      {"left after right", Cache({4, 3, 0, 1, 2, 1, 0, 3, -1, -1, -1, -1}), false},
      {"first row outside", Cache({4, 3, 7, 1, 1, 2, 0, 3, -1, -1, -1, -1}), false},
      {"too short for a header", {1, 2, 3}, false},
      {"huge height", Cache({4, 0x7FFFFFFF, 0, 0}), false},
  };
  for (const Fall& c : faelle) {
    testsupport::WriteBytes(dir / "Teil.r", c.bytes);
    Surfaces[n].RandLinks.clear();
    ASSERT_TRUE(LadeRänder(n)) << c.name;
    const SurfaceInfo& e = Surfaces[n];
    if (c.benutzt) {
      EXPECT_EQ(e.RandLinks, (std::vector<int32_t>{1, 0, -1, -1})) << c.name;
      EXPECT_EQ(e.RandRechts, (std::vector<int32_t>{2, 3, -1, -1})) << c.name;
      EXPECT_EQ(e.LetzteZeile, 1) << c.name;
    } else {
      EXPECT_EQ(e.RandLinks, (std::vector<int32_t>{0, -1, 1, -1})) << c.name;
      EXPECT_EQ(e.RandRechts, (std::vector<int32_t>{1, -1, 1, -1})) << c.name;
      EXPECT_EQ(e.LetzteZeile, 2) << c.name;
    }
  }
}

TEST_F(Raender, AnEntryNarrowerThanItsFileKeepsItsRows) {
  int32_t n = Lade("Rand.bmp", {"###", "#..", "..#"});
  SurfaceKorrektur(n);  // the entry is now 2 x 2, the file 3 x 3
  ASSERT_TRUE(LadeRänder(n));
  const SurfaceInfo& e = Surfaces[n];
  EXPECT_GE(e.RandLinks.size(), 3u);
  EXPECT_EQ(e.RandLinks[2], 2);
  EXPECT_EQ(e.RandMinX, 0);
  EXPECT_EQ(e.RandMaxX, 2);
  EXPECT_EQ(e.LetzteZeile, 2);  // the source rectangle's bottom
}
