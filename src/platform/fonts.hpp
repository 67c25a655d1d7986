#pragma once
// The fonts behind the text layer: Debian's Liberation fonts rendered by FreeType, with
// the cell metrics of Windows GDI, and a cache of rendered glyphs per font and size.
//
// GDI's metrics: a positive height is the cell height (ascent plus descent, by the font's
// Windows ascent and descent); a negative height is the character height, the size of
// the em itself. Glyphs are hinted and antialiased in 256 grey levels; advances are whole
// pixels and there is no kerning.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::fonts {

// One rendered glyph: 8-bit coverage, `rows` rows of `width` bytes.
struct Glyph {
  int32_t left = 0;  // from the pen position to the bitmap's first column
  int32_t top = 0;   // from the baseline up to the bitmap's first row
  int32_t width = 0, rows = 0;
  int32_t advance = 0;  // whole pixels
  std::vector<uint8_t> coverage;
};

// The font files the game's faces map to.
enum class Style : uint8_t { SansRegular, SansBold, MonoRegular, MonoBold };

// The style of a face name: "Arial" and "System" are Liberation Sans, "Courier" is
// Liberation Mono, "Orbit-B BT" is Liberation Sans Bold, every other name is Liberation
// Sans. A weight of 600 or more asks for the bold file.
Style StyleOf(const std::string& faceName, int32_t weight);

// The font file of a style; empty when none is installed. A missing bold file falls back
// to the regular one, a missing Mono to Sans. Searched once: $HARVO_FONT_DIR alone when it
// is set; otherwise the usual font folders, then fontconfig's `fc-match`.
const std::string& FontFile(Style style);

// Pixels per em of a GDI height of a font with these metrics.
int32_t PixelsPerEm(int32_t height, int32_t unitsPerEm, int32_t winAscent, int32_t winDescent);

class SizedFont;
struct FaceData;  // an open font file
// A font of the style at a GDI height; nullptr when no font file is installed (the
// first such request writes one line to stderr).
std::shared_ptr<SizedFont> GetFont(Style style, int32_t height);

class SizedFont {
 public:
  ~SizedFont();
  SizedFont(const SizedFont&) = delete;
  SizedFont& operator=(const SizedFont&) = delete;

  int32_t CellHeight() const { return cellHeight_; }
  int32_t Ascent() const { return ascent_; }  // from the top of the cell to the baseline
  int32_t PixelsPerEm() const { return ppem_; }
  // The glyph of a Unicode character, rendered on first use.
  const Glyph& GlyphOf(char32_t ch);

 private:
  friend std::shared_ptr<SizedFont> GetFont(Style, int32_t);
  SizedFont() = default;
  std::shared_ptr<FaceData> face_;
  void* size_ = nullptr;  // the FreeType size object of this height
  int32_t ppem_ = 0, cellHeight_ = 0, ascent_ = 0;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace platform::fonts
