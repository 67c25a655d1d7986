// The loading-screen mosaic: the file's header, a tile at its place over a blank or an
// existing mosaic, the places in turn, and mosaics that cannot be read.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "campaign/mosaic.hpp"
#include "engine/display.hpp"
#include "platform/bmp.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace {

using platform::PixelFormat;

// A colour per 4 x 4 block of the screen, so that any reduction to a quarter gives the
// same tile: the block's colour at each tile pixel.
uint32_t Muster(int bx, int by) { return static_cast<uint32_t>(((bx * 5) & 0xFF) << 16 | ((by * 3) & 0xFF) << 8 | 0x40); }

void Bemalen(platform::Surface& s, uint32_t (*farbe)(int, int)) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const uint32_t c = farbe(x / 4, y / 4);
      s.SetPixel(x, y, platform::PackPixel(s.Format(), c >> 16 & 255, c >> 8 & 255, c & 255));
    }
}

// A colour as a surface of `format` holds it, widened back to 8 bits per channel.
uint32_t Wie(PixelFormat format, uint32_t c) {
  uint8_t r, g, b, a;
  platform::UnpackPixel(format, platform::PackPixel(format, c >> 16 & 255, c >> 8 & 255, c & 255), r, g, b, a);
  return uint32_t{r} << 16 | uint32_t{g} << 8 | b;
}

std::vector<uint8_t> Bild(int w, int h, uint32_t farbe, PixelFormat format = PixelFormat::XRGB8888) {
  platform::SurfacePtr s = platform::Surface::Create(w, h, format);
  s->BltColorFill(nullptr, farbe);
  return platform::EncodeBmp24(*s);
}

class Mosaik : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  std::string datei;

  void SetUp() override {
    testsupport::FreshState();
    DatenOrdner = home.dataDir();
    std::filesystem::create_directories(DatenOrdner);
    datei = DatenOrdner + "Loadingscreen.bmp";
    Schirm(PixelFormat::XRGB8888, 0x000000);
  }
  void TearDown() override { BackBuffer.reset(); }

  static void Schirm(PixelFormat format, uint32_t farbe) {
    BackBuffer = platform::Surface::Create(800, 600, format);
    BackBuffer->BltColorFill(nullptr, platform::PackPixel(format, farbe >> 16 & 255, farbe >> 8 & 255, farbe & 255));
  }
  // The mosaic on disk, 0xRRGGBB per pixel.
  platform::BmpImage Gelesen() const {
    platform::BmpImage b;
    EXPECT_TRUE(platform::LoadBmpImage(datei, b));
    EXPECT_EQ(b.width, 800);
    EXPECT_EQ(b.height, 600);
    for (uint32_t& p : b.argb) p &= 0xFFFFFF;
    return b;
  }
  static uint32_t At(const platform::BmpImage& b, int x, int y) { return b.argb[static_cast<size_t>(y) * 800 + x]; }
  // Every place of the mosaic holds one colour; `farben` per place.
  static void PlaetzeSind(const platform::BmpImage& b, const std::vector<uint32_t>& farben) {
    for (int n = 0; n < 16; ++n)
      for (int y = 150 * (n / 4); y < 150 * (n / 4 + 1); y += 7)
        for (int x = 200 * (n % 4); x < 200 * (n % 4 + 1); x += 7)
          if (At(b, x, y) != farben[n]) {
            ADD_FAILURE() << "place " << n << " at " << x << "," << y << ": " << std::hex << At(b, x, y);
            return;
          }
  }
};

}  // namespace

TEST_F(Mosaik, TheFileIsAn800By600PictureOf24Bits) {
  NewPictureToLoadingscreen();
  const std::vector<uint8_t> f = testsupport::ReadBytes(datei);
  ASSERT_EQ(f.size(), 1440054u);
  // BITMAPFILEHEADER and BITMAPINFOHEADER, little-endian.
  const std::vector<uint8_t> kopf = {
      'B', 'M', 0x36, 0xF9, 0x15, 0x00,  // file size 1,440,054
      0, 0, 0, 0,                        // reserved
      54, 0, 0, 0,                       // where the pixels start
      40, 0, 0, 0,                       // header size
      0x20, 0x03, 0, 0,                  // width 800
      0x58, 0x02, 0, 0,                  // height 600: rows bottom-up
      1, 0, 24, 0,                       // one plane, 24 bits
      0, 0, 0, 0,                        // uncompressed
      0x00, 0xF9, 0x15, 0x00,            // pixel bytes 1,440,000
      0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,  // 2835 pixels per metre
      0, 0, 0, 0, 0, 0, 0, 0,            // colours used, important
  };
  EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 54), kopf);
  EXPECT_FALSE(testsupport::TempFileLeft(DatenOrdner, "Loadingscreen.bmp"));
}

TEST_F(Mosaik, WithNoFileATileAtPlaceFiveOnABlankMosaic) {
  for (PixelFormat format : {PixelFormat::XRGB8888, PixelFormat::RGB565}) {
    SCOPED_TRACE(format == PixelFormat::RGB565 ? "16 bits" : "32 bits");
    std::filesystem::remove(datei);
    Schirm(format, 0);
    Bemalen(*BackBuffer, Muster);
    LoadingscreenNr = 5;
    NewPictureToLoadingscreen();
    EXPECT_EQ(LoadingscreenNr, 6);
    const platform::BmpImage b = Gelesen();
    int falsch = 0;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) {
        const bool drin = x >= 200 && x < 400 && y >= 150 && y < 300;
        falsch += At(b, x, y) != (drin ? Wie(format, Muster(x - 200, y - 150)) : 0u);
      }
    EXPECT_EQ(falsch, 0);
  }
}

TEST_F(Mosaik, SixteenPlacesInTurnThenTheFirstAgain) {
  auto farbe = [](int k) { return static_cast<uint32_t>(0x102030 + 0x0B0705 * k); };
  LoadingscreenNr = 0;
  std::vector<uint32_t> erwartet(16);
  for (int k = 0; k < 17; ++k) {
    Schirm(PixelFormat::XRGB8888, farbe(k));
    NewPictureToLoadingscreen();
    erwartet[k % 16] = farbe(k);
    EXPECT_EQ(LoadingscreenNr, (k + 1) % 16);
  }
  PlaetzeSind(Gelesen(), erwartet);
}

TEST_F(Mosaik, AStoredPlaceOutsideTheMosaicIsTakenMod16) {
  const std::pair<int32_t, int32_t> faelle[] = {{15, 15}, {16, 0}, {21, 5}, {-3, 0}, {INT32_MIN, 0}, {INT32_MAX, 15}};
  for (auto [nr, platz] : faelle) {
    SCOPED_TRACE(nr);
    std::filesystem::remove(datei);
    LoadingscreenNr = nr;
    Schirm(PixelFormat::XRGB8888, 0xFFFFFF);
    NewPictureToLoadingscreen();
    EXPECT_EQ(LoadingscreenNr, (platz + 1) % 16);
    std::vector<uint32_t> erwartet(16, 0);
    erwartet[platz] = 0xFFFFFF;
    PlaetzeSind(Gelesen(), erwartet);
  }
}

TEST_F(Mosaik, AMosaicThatCannotBeReadAs800By600StartsBlank) {
  std::vector<uint8_t> halb = Bild(800, 600, 0xFF0000);
  halb.resize(halb.size() / 2);
  struct Fall {
    const char* was;
    std::vector<uint8_t> inhalt;
    uint32_t rest;  // what the other places show afterwards
    bool nurLesbar = false;
  };
  const Fall faelle[] = {
      {"no picture", {'B', 'M', 1, 2, 3}, 0},
      {"640 x 480", Bild(640, 480, 0xFF0000), 0},
      {"cut in half", halb, 0},
      {"empty", {}, 0},
      {"800 x 600", Bild(800, 600, 0xFF0000), 0xFF0000},
      {"800 x 600, read-only", Bild(800, 600, 0x0000FF), 0x0000FF, true},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    std::filesystem::remove(datei);
    testsupport::WriteBytes(datei, c.inhalt);
    if (c.nurLesbar) std::filesystem::permissions(datei, std::filesystem::perms::owner_read);
    LoadingscreenNr = 3;
    Schirm(PixelFormat::XRGB8888, 0x00FF00);
    NewPictureToLoadingscreen();
    std::vector<uint32_t> erwartet(16, c.rest);
    erwartet[3] = 0x00FF00;
    PlaetzeSind(Gelesen(), erwartet);
    EXPECT_EQ(std::filesystem::file_size(datei), 1440054u);
  }
}

TEST_F(Mosaik, WithoutABackBufferNothingHappensAndAFailedSaveOnlyLosesTheTile) {
  BackBuffer.reset();
  LoadingscreenNr = 7;
  NewPictureToLoadingscreen();
  EXPECT_EQ(LoadingscreenNr, 7);
  EXPECT_FALSE(std::filesystem::exists(datei));
  // A folder in the file's place cannot be replaced; the places go on all the same.
  Schirm(PixelFormat::XRGB8888, 0xFFFFFF);
  std::filesystem::create_directory(datei);
  NewPictureToLoadingscreen();
  EXPECT_EQ(LoadingscreenNr, 8);
  EXPECT_TRUE(std::filesystem::is_directory(datei));
  EXPECT_FALSE(testsupport::TempFileLeft(DatenOrdner, "Loadingscreen.bmp"));
}
