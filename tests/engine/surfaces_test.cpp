// The surface table: loading, sharing by name, inverted copies, alpha mates at both
// colour depths, source rectangles, removal and the failure path.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/display.hpp"
#include "engine/surfaces.hpp"
#include "platform/bmp.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;
using platform::Surface;

namespace {

class Bildtabelle : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  testsupport::TempDir dir;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    DatenOrdner = dir.path();
    DebugModus = true;
    FensterModus = true;
    HardwareInvert = true;
    BackBuffer.reset();
  }
  void TearDown() override { Surfaces.clear(); }

  // A picture written as a 24-bit BMP: `farbe(x, y)` gives 0xRRGGBB.
  template <typename F>
  std::string Bild(const std::string& name, int w, int h, F farbe) {
    Surface s(w, h, PixelFormat::XRGB8888);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) s.SetPixel(x, y, farbe(x, y));
    std::string pfad = dir / name;
    EXPECT_TRUE(platform::SaveBmp24(pfad, s));
    return pfad;
  }
  std::string Muster(const std::string& name, int w = 6, int h = 4) {
    return Bild(name, w, h, [](int x, int y) { return x == 0 && y == 0 ? 0u : 0x102030u * (x + 1) + 0x010101u * y; });
  }
  std::string Log() { return testsupport::ReadText(dir / "Debug.txt"); }
};

}  // namespace

TEST_F(Bildtabelle, APictureIsLoadedOncePerNameInAnyCase) {
  std::string pfad = Muster("Schiff.bmp");
  EXPECT_EQ(LoadSurface(pfad, false), 0);
  EXPECT_EQ(LoadSurface(Muster("Anderes.bmp"), false), 1);
  // The same path in upper case, with a rectangle: the first entry, unchanged.
  EXPECT_EQ(LoadSurface(UCase(pfad), false, 1, 1, 3, 3), 0);
  EXPECT_EQ(SurfacesMax(), 1);
  const SurfaceInfo& e = Surfaces[0];
  EXPECT_EQ(e.Name, UCase(pfad));
  EXPECT_EQ(e.Width, 6);
  EXPECT_EQ(e.Height, 4);
  EXPECT_EQ(e.SrcRect.Left, 0);
  EXPECT_EQ(e.SrcRect.Right, 6);
  EXPECT_EQ(e.SrcRect.Bottom, 4);
  EXPECT_FALSE(e.D3DSprite);
  // A plain picture is keyed with black and has the display's format.
  EXPECT_TRUE(e.Surface->HasColorKey());
  EXPECT_EQ(e.Surface->ColorKey(), 0u);
  EXPECT_EQ(e.Surface->Format(), PixelFormat::XRGB8888);
  EXPECT_EQ(e.Surface->GetPixel(2, 1), 0x102030u * 3 + 0x010101u);
  // Its default quad: the picture unscaled at the origin, white, opaque.
  EXPECT_EQ(e.Vertex[0].sx, 0.0f);
  EXPECT_EQ(e.Vertex[0].sy, 4.0f);
  EXPECT_EQ(e.Vertex[3].sx, 6.0f);
  EXPECT_EQ(e.Vertex[3].tu, 1.0f);
  EXPECT_EQ(e.Vertex[3].tv, 0.0f);
  EXPECT_EQ(e.Vertex[2].rhw, 1.0f);
  EXPECT_EQ(e.Vertex[1].color, -1);
  EXPECT_EQ(e.Vertex[1].specular, 1);
  std::string log = Log();
  EXPECT_NE(log.find("LoadSurface " + pfad + " start\r\ninvert..\r\n..ok\r\n"), std::string::npos) << log;
}

TEST_F(Bildtabelle, SourceRectanglesAreRoundedAndOnePixelPicturesDrawnWhole) {
  std::string pfad = Muster("Streifen.bmp", 10, 8);
  int32_t n = LoadSurface(pfad, false, 1.5, 2.5, 9.5, 4.4);
  EXPECT_EQ(Surfaces[n].SrcRect.Left, 2);    // halves to even
  EXPECT_EQ(Surfaces[n].SrcRect.Top, 2);
  EXPECT_EQ(Surfaces[n].SrcRect.Right, 10);
  EXPECT_EQ(Surfaces[n].SrcRect.Bottom, 4);
  // A given edge beyond the picture is kept as given.
  int32_t m = LoadSurface(Muster("Breit.bmp", 10, 8), false, std::nullopt, std::nullopt, 12.0, std::nullopt);
  EXPECT_EQ(Surfaces[m].SrcRect.Right, 12);
  EXPECT_EQ(Surfaces[m].SrcRect.Bottom, 8);
  int32_t k = LoadSurface(Muster("Punkt.bmp", 1, 1), false, 0, 0, 5, 5);
  EXPECT_EQ(Surfaces[k].SrcRect.Right, 1);
  EXPECT_EQ(Surfaces[k].SrcRect.Bottom, 1);
  EXPECT_EQ(Surfaces[n].Vertex[2].tu, 1.0f);
  EXPECT_EQ(Surfaces[n].Vertex[2].tv, 0.5f);
  EXPECT_EQ(Surfaces[n].Vertex[2].sx, 8.0f);
}

TEST_F(Bildtabelle, InvertedCopiesInvertTheirRectangleAndKeyWhite) {
  for (bool hardware : {true, false}) {
    for (int32_t tiefe : {32, 16}) {
      SetUp();
      HardwareInvert = hardware;
      Farbtiefe = tiefe;
      std::string pfad = Muster("Gegner.bmp");
      int32_t plain = LoadSurface(pfad, false);
      int32_t flash = LoadSurface(pfad + "_i", false, 1, 1, 4, 3);
      ASSERT_EQ(flash, plain + 1);
      const SurfaceInfo& p = Surfaces[plain];
      const SurfaceInfo& i = Surfaces[flash];
      EXPECT_EQ(i.Name, UCase(pfad) + "_I");
      const uint32_t mask = platform::ValueMask(i.Surface->Format());
      EXPECT_EQ(i.Surface->ColorKey(), mask);  // white
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
          bool drin = x >= 1 && x < 4 && y >= 1 && y < 3;
          EXPECT_EQ(i.Surface->GetPixel(x, y), drin ? p.Surface->GetPixel(x, y) ^ mask : p.Surface->GetPixel(x, y))
              << x << "," << y << " hardware " << hardware << " depth " << tiefe;
        }
      // The upper-case suffix names the same entry; on its own it is no inverted copy
      // but a file of that name, which does not exist.
      EXPECT_EQ(LoadSurface(pfad + "_I", false), flash);
      Surfaces.clear();
      EXPECT_EQ(LoadSurface(pfad + "_I", false), 0);
      EXPECT_EQ(Spielstatus, 10);
      EXPECT_EQ(SurfacesMax(), -1);
    }
  }
}

TEST_F(Bildtabelle, AlphaMatesGiveAlphaTexturesAtBothDepths) {
  // Colour 4 x 2; the mate is 2 x 1 and is stretched to the colour picture.
  std::string pfad = Bild("Licht.bmp", 4, 2, [](int x, int y) { return x == 3 ? 0xFF0084u : 0x00FF00u + y; });
  Bild("LichtA.bmp", 2, 1, [](int x, int) { return x == 0 ? 0x0000FFu : 0x000080u; });

  Farbtiefe = 32;
  int32_t n = LoadSurface(pfad, true);
  const SurfaceInfo& e = Surfaces[n];
  EXPECT_TRUE(e.D3DSprite);
  ASSERT_EQ(e.Surface->Format(), PixelFormat::ARGB8888);
  EXPECT_FALSE(e.Surface->HasColorKey());
  EXPECT_EQ(e.Width, 4);
  EXPECT_EQ(e.Surface->GetPixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(e.Surface->GetPixel(1, 1), 0xFF00FF01u);
  EXPECT_EQ(e.Surface->GetPixel(3, 0), 0x80FF0084u);
  EXPECT_EQ(AlphaFormat, 32);

  // 16 bits: 5-6-5 pictures and a 4-4-4-4 texture, each field rounded to four bits.
  SetUp();
  Farbtiefe = 16;
  pfad = Bild("Licht.bmp", 4, 2, [](int x, int y) { return x == 3 ? 0xFF0084u : 0x00FF00u + y; });
  n = LoadSurface(pfad, true);
  const SurfaceInfo& f = Surfaces[n];
  ASSERT_EQ(f.Surface->Format(), PixelFormat::ARGB4444);
  EXPECT_EQ(f.Surface->GetPixel(0, 0), 0xF0F0u);
  // Red 31 -> 15, green 0, blue 0x84 >> 3 = 16 -> 16 * 15 / 31 = 7.7 -> 8; alpha 0x80 >> 3 = 16 -> 8.
  EXPECT_EQ(f.Surface->GetPixel(3, 0), 0x8F08u);
  EXPECT_EQ(AlphaFormat, 16);
  // Once a 16-bit alpha texture was made, later ones stay at 16 bits.
  Farbtiefe = 32;
  Surfaces.clear();
  n = LoadSurface(pfad, true);
  EXPECT_EQ(Surfaces[n].Surface->Format(), PixelFormat::ARGB4444);
}

TEST_F(Bildtabelle, TexturesWithoutMateKeepTheirFormatAndAskedKey) {
  std::string pfad = Muster("Wolke.bmp");
  int32_t mit = LoadSurface(pfad, true);
  EXPECT_TRUE(Surfaces[mit].D3DSprite);
  EXPECT_EQ(Surfaces[mit].Surface->Format(), PixelFormat::XRGB8888);
  EXPECT_TRUE(Surfaces[mit].Surface->HasColorKey());
  int32_t ohne = LoadSurface(Muster("Nebel.bmp"), true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false);
  EXPECT_FALSE(Surfaces[ohne].Surface->HasColorKey());
  EXPECT_FALSE(Surfaces[ohne].Colorkey);
  // A texture that is no BMP ends the program.
  EXPECT_THROW(LoadSurface(dir / "Bild.png", true), ProcessEnd);
  ASSERT_FALSE(headless::MessageBoxes().empty());
  EXPECT_EQ(headless::MessageBoxes().back().text, "No Bmp-Data?");
}

TEST_F(Bildtabelle, AMissingPictureEndsTheRunAndAddsNoEntry) {
  int32_t n = LoadSurface(Muster("Da.bmp"), false);
  EXPECT_EQ(LoadSurface(dir / "Fehlt.bmp", false), 0);
  EXPECT_EQ(Spielstatus, 10);
  EXPECT_EQ(SurfacesMax(), n);
  // The error dialog's crash record names the file.
  std::string log = Log();
  size_t crash = log.find("-----CRASH");
  ASSERT_NE(crash, std::string::npos) << log;
  EXPECT_NE(log.find("Fehlt.bmp", crash), std::string::npos) << log;
  // While quitting nothing is loaded, but the start is still logged.
  EXPECT_EQ(LoadSurface(Muster("Neu.bmp"), false), 0);
  EXPECT_EQ(SurfacesMax(), n);
  EXPECT_NE(Log().find("LoadSurface " + (dir / "Neu.bmp") + " start"), std::string::npos);
  // A damaged file fails the same way.
  Spielstatus = 0;
  testsupport::WriteText(dir / "Kaputt.bmp", "BM....");
  EXPECT_EQ(LoadSurface(dir / "Kaputt.bmp", false), 0);
  EXPECT_EQ(SurfacesMax(), n);
}

TEST_F(Bildtabelle, RemovalAndCorrection) {
  LoadSurface(Muster("Eins.bmp"), false);
  EntpackListe.push_back("Menu.vkp$" + AppPfad);
  const std::vector<std::string> liste = EntpackListe;
  EntpackListe.push_back("Pause.vkp$" + AppPfad);
  LoadSurface(Muster("Zwei.bmp"), false);
  RemoveLastSurface(true);
  EXPECT_EQ(SurfacesMax(), 0);
  EXPECT_EQ(Surfaces.size(), 1u);
  EXPECT_EQ(EntpackListe, liste);
  // A name removed can be loaded again as a new entry.
  EXPECT_EQ(LoadSurface(dir / "Zwei.bmp", false), 1);

  SurfaceKorrektur(0);
  EXPECT_EQ(Surfaces[0].Width, 5);
  EXPECT_EQ(Surfaces[0].Height, 3);
  EXPECT_EQ(Surfaces[0].SrcRect.Right, 5);
  EXPECT_EQ(Surfaces[0].SrcRect.Bottom, 3);
  // Unknown numbers do nothing and leave one log line each.
  SurfaceKorrektur(7);
  SurfaceKorrektur(-1);
  std::string log = Log();
  EXPECT_NE(log.find("Surface out of Range: 7 (SurfaceKorrektur)"), std::string::npos);
  EXPECT_NE(log.find("Surface out of Range: -1 (SurfaceKorrektur)"), std::string::npos);
  EXPECT_FALSE(SurfaceGueltig(2, "Test"));
  EXPECT_TRUE(SurfaceGueltig(1, "Test"));

  // Removing more than there is never goes below an empty table and archive list.
  RemoveLastSurface(true);
  RemoveLastSurface(true);
  RemoveLastSurface(true);
  RemoveLastSurface(true);
  EXPECT_EQ(SurfacesMax(), -1);
  EXPECT_EQ(EntpackListe.size(), 1u);
}

TEST_F(Bildtabelle, PicturesFromAnArchiveAndClearingDeletesTheUnpackFolders) {
  // An archive of one picture, written in the archive format.
  Muster("Kachel.bmp");
  std::vector<uint8_t> daten = testsupport::ReadBytes(dir / "Kachel.bmp");
  std::vector<uint8_t> name = {'K', 'a', 'c', 'h', 'e', 'l', '.', 'b', 'm', 'p'};
  std::vector<uint8_t> archiv;
  auto put = [&](int32_t v) {
    for (int i = 0; i < 4; ++i) archiv.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  for (std::vector<uint8_t>* teil : {&name, &daten}) {
    int32_t roh = static_cast<int32_t>(teil->size());
    ASSERT_EQ(CompressBytes(*teil), 0);
    put(roh);
    put(static_cast<int32_t>(teil->size()));
    archiv.insert(archiv.end(), teil->begin(), teil->end());
  }
  std::filesystem::create_directories(dir / "app/Data");
  testsupport::WriteBytes(dir / "app/Data/Test.vkp", archiv);
  AppPfad = dir / "app/";

  std::string ordner = Depack("Test.vkp", AppPfad, true);
  int32_t n = LoadSurface(ordner + "Kachel.bmp", false);
  KillDir(ordner);
  ASSERT_EQ(Spielstatus, 0);
  EXPECT_EQ(Surfaces[n].Width, 6);
  EXPECT_EQ(EntpackListe.size(), 2u);

  // A folder left behind is deleted by the clearing.
  ordner = Depack("Test.vkp", AppPfad, true);
  ASSERT_TRUE(platform::fs::DirExists(ordner));
  SurfaceClear();
  EXPECT_FALSE(platform::fs::DirExists(ordner));
  EXPECT_EQ(SurfacesMax(), -1);
  EXPECT_TRUE(Surfaces.empty());
  EXPECT_EQ(EntpackListe, std::vector<std::string>{""});
  EXPECT_NE(Log().find("Surfaces Cleared"), std::string::npos);
}
