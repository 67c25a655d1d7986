// Text on the back buffer: reference renders of every face and size the game uses, in
// English, German and Russian; widths against FreeType's own advances; the character set
// by language; opaque and transparent backgrounds; the font pairing.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

#include "engine/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fonts.hpp"
#include "shell/config.hpp"
#include "shell/settings_window.hpp"
#include "support/golden.hpp"

using platform::PixelFormat;
using platform::Surface;

namespace {

class GdiText : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::FontsAvailable()) GTEST_SKIP() << "no Liberation fonts installed";
    Sprache = "E";
    FontCharset = 204;
  }
  void TearDown() override {
    if (surface && TextDC) platform::ReleaseDC(*surface, TextDC);
    TextDC = 0;
  }

  void Open(int w, int h, PixelFormat format = PixelFormat::XRGB8888) {
    surface = Surface::Create(w, h, format);
    ASSERT_EQ(platform::GetDC(*surface, TextDC), platform::DD_OK);
  }

  // Draws white lines of text on black; each line's cell lies below the previous one.
  struct Line {
    const char* face;
    int16_t height;
    std::string text;
    const char* sprache = "E";
  };
  testsupport::GreyImage Sheet(int width, const std::vector<Line>& lines) {
    int height = 0;
    for (const Line& l : lines) height += l.height + 2;
    Open(width, height);
    int16_t y = 0;
    for (const Line& l : lines) {
      Sprache = l.sprache;
      GdiSetFont(TextDC, l.face, l.height);
      GdiTextOut(l.text, 2, y, TextDC, 0xFFFFFF, 0, false);
      GdiDeleteFont(TextDC);
      y = static_cast<int16_t>(y + l.height + 2);
    }
    testsupport::GreyImage image{width, height, {}};
    for (int yy = 0; yy < height; ++yy)
      for (int x = 0; x < width; ++x) image.pixels.push_back(static_cast<uint8_t>(surface->GetPixel(x, yy) >> 8));
    return image;
  }

  platform::SurfacePtr surface;
};

TEST_F(GdiText, EveryFaceAndSizeOfTheGameMatchesItsReference) {
  testsupport::GreyImage sheet = Sheet(600, {
      {"Arial", 18, "Arial 18: Score 0012345 - Energie 100%"},
      {"Arial", 20, "Arial 20: The Eastern Gate"},
      {"Arial", 21, "Arial 21: Exit to the menu"},
      {"Arial", 24, "Arial 24: Chris ranked at place 3!"},
      {"Arial", 26, "Arial 26: Resume the game"},
      {"Arial", 28, "Arial 28: Es tut mir leid..."},
      {"Arial", 36, "Arial 36: GAME OVER"},
      {"Arial", 70, "Press: Space"},
      {"Courier", 12, "Courier 12: 1 - 250 / 2 - 17.5 / Wg"},
      {"System", 16, "System 16: 42%"},
      {"System", 18, "System 18: Loading"},
      {"System", 24, "System 24: Press any key to start!"},
      {"System", 32, "System 32: 100%"},
      {"Orbit-B BT", 128, "Continue"},
  });
  EXPECT_EQ(testsupport::CompareWithGolden("tests/engine/golden/faces.png", sheet), "");
}

TEST_F(GdiText, EnglishGermanAndRussianLinesMatchTheirReference) {
  // Russian in Windows-1251 bytes: "Нажмите: Уровень 3 - Загрузка" and "Загрузка".
  const std::string nazhmite = "\xCD\xE0\xE6\xEC\xE8\xF2\xE5: \xD3\xF0\xEE\xE2\xE5\xED\xFC 3 - "
                               "\xC7\xE0\xE3\xF0\xF3\xE7\xEA\xE0";
  const std::string zagruzka = "\xC7\xE0\xE3\xF0\xF3\xE7\xEA\xE0";
  testsupport::GreyImage sheet = Sheet(420, {
      {"Arial", 24, "Press: Left Ctrl - Space", "E"},
      // Windows-1252: "Drücke: Größe, Übermut, Äpfel, Öl, ß"
      {"Arial", 24, "Dr\xFC" "cke: Gr\xF6\xDF" "e, \xDC" "bermut, \xC4pfel, \xD6l, \xDF", "D"},
      {"Arial", 24, nazhmite, "R"},
      {"System", 18, zagruzka, "R"},
  });
  EXPECT_EQ(testsupport::CompareWithGolden("tests/engine/golden/languages.png", sheet), "");
}

// The width of a text as FreeType lays it out by itself: GDI's cell height to pixels per
// em, hinted advances rounded to whole pixels, no kerning.
float FreeTypeWidth(const std::string& file, int height, const std::u32string& text) {
  FT_Library lib;
  FT_Face face;
  EXPECT_EQ(FT_Init_FreeType(&lib), 0);
  EXPECT_EQ(FT_New_Face(lib, file.c_str(), 0, &face), 0);
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const double ppem = static_cast<double>(height) * face->units_per_EM / (os2->usWinAscent + os2->usWinDescent);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(ppem)));
  long w = 0;
  for (char32_t c : text) {
    FT_Load_Char(face, c, FT_LOAD_DEFAULT);
    w += (face->glyph->advance.x + 32) >> 6;
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return static_cast<float>(w);
}

TEST_F(GdiText, WidthsAreFreeTypesWholePixelAdvancesAndHeightsTheCell) {
  using platform::fonts::FontFile;
  using platform::fonts::Style;
  struct Case {
    const char* face;
    int16_t height;
    const char* sprache;
    std::string text;
    Style style;
    std::u32string expected;
  };
  const std::vector<Case> cases = {
      {"Arial", 24, "E", "1234567", Style::SansRegular, U"1234567"},
      {"Arial", 18, "E", "AVATAR Wave", Style::SansRegular, U"AVATAR Wave"},  // no kerning of AV
      {"Arial", 70, "D", "Dr\xFC" "cke", Style::SansRegular, U"Drücke"},
      {"Courier", 12, "E", "iiiWWW", Style::MonoRegular, U"iiiWWW"},
      {"System", 32, "E", "100%", Style::SansRegular, U"100%"},
      {"Orbit-B BT", 128, "E", "Continue", Style::SansBold, U"Continue"},
      {"Arial", 24, "R", "\xE4\xE0", Style::SansRegular, U"да"},
      {"Arial", 24, "E", "\xE4\xE0", Style::SansRegular, U"äà"},
      {"Tahoma", 20, "E", "other faces", Style::SansRegular, U"other faces"},
  };
  Open(8, 8);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height) + " " + c.sprache);
    Sprache = c.sprache;
    GdiSetFont(TextDC, c.face, c.height);
    float w = -1, h = -1;
    GdiTextSize(TextDC, c.text, w, h);
    GdiDeleteFont(TextDC);
    EXPECT_EQ(w, FreeTypeWidth(FontFile(c.style), c.height, c.expected));
    EXPECT_EQ(h, c.height);
  }
}

TEST_F(GdiText, TheCyrillicCharacterSetIsTakenOnlyForRussian) {
  Open(8, 8);
  auto width = [&](const char* sprache, int32_t charset) {
    Sprache = sprache;
    FontCharset = charset;
    GdiSetFont(TextDC, "Arial", 24);
    float w, h;
    GdiTextSize(TextDC, "\xDF\xDF\xDF", w, h);  // "ßßß" in 1252, "ЯЯЯ" in 1251
    GdiDeleteFont(TextDC);
    return w;
  };
  const float west = width("E", 0), cyrillic = width("R", 204);
  EXPECT_NE(west, cyrillic);
  EXPECT_EQ(width("E", 204), west);
  EXPECT_EQ(width("D", 204), west);
  EXPECT_EQ(width("R", 0), west);  // whatever the settings window's label carried
}

TEST_F(GdiText, OpaqueFillsTheCellsAndTransparentOnlyDrawsTheGlyphs) {
  const uint32_t grey = platform::PackPixel(PixelFormat::XRGB8888, 50, 60, 70);
  Open(200, 40);
  GdiSetFont(TextDC, "Arial", 24);
  float w, h;
  GdiTextSize(TextDC, "Hi, 1", w, h);
  for (bool opaque : {false, true}) {
    SCOPED_TRACE(opaque);
    surface->BltColorFill(nullptr, grey);
    GdiTextOut("Hi, 1", 10, 5, TextDC, 0x0000FF, 0xFF0000, opaque);  // red on blue
    int background = 0, red = 0, untouched = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 200; ++x) {
        uint32_t p = surface->GetPixel(x, y);
        bool inside = x >= 10 && x < 10 + w && y >= 5 && y < 5 + h;
        if (!inside) {
          untouched += p == grey;
          continue;
        }
        background += p == (opaque ? 0x0000FFu : grey);
        red += p == 0xFF0000u;
      }
    EXPECT_EQ(untouched, 200 * 40 - static_cast<int>(w * h));  // nothing outside the cells
    EXPECT_GT(red, 20);
    EXPECT_GT(background, static_cast<int>(w * h) / 2);
    // Antialiased edges lie between the text and the background colour.
    EXPECT_LT(red + background, static_cast<int>(w * h));
  }
  // An empty text draws nothing, not even its background.
  surface->BltColorFill(nullptr, grey);
  GdiTextOut("", 10, 5, TextDC, 0x0000FF, 0xFF0000, true);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(surface->GetPixel(x, y), grey);
  GdiDeleteFont(TextDC);
}

TEST_F(GdiText, DeletingTheFontPutsThePreviousOneBack) {
  Open(8, 8);
  const platform::HGdiObj stock = platform::GetStockSystemFont();
  GdiSetFont(TextDC, "Arial", 24);
  EXPECT_EQ(GdiAltFont, stock);
  const platform::HGdiObj made = GdiFont;
  EXPECT_FALSE(platform::DeleteObject(made));  // still selected
  GdiDeleteFont(TextDC);
  EXPECT_EQ(GdiFont, made);
  EXPECT_FALSE(platform::DeleteObject(made));  // gone already
  EXPECT_EQ(GdiAltFont, stock);                // keeps its value
  float w, h;
  GdiTextSize(TextDC, "x", w, h);
  EXPECT_EQ(h, 16);  // the context's own font again
  // A font that could not be selected leaves the text in the previous font.
  GdiSetFont(0, "Arial", 40);
  EXPECT_EQ(GdiAltFont, 0);
  GdiTextSize(TextDC, "x", w, h);
  EXPECT_EQ(h, 16);
  GdiDeleteFont(0);
  EXPECT_FALSE(platform::DeleteObject(GdiFont));  // deleted by GdiDeleteFont
}

}  // namespace
