#include "platform/fonts.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sys/stat.h>

namespace platform::fonts {
namespace {

// Text larger than this would take more memory per glyph than any screen shows.
constexpr int32_t kMaxPixelsPerEm = 1000;
// GDI's height 0 asks for "a reasonable default".
constexpr int32_t kDefaultCellHeight = 16;

struct StyleFiles {
  const char* file;       // file name in the Liberation packages
  const char* fcPattern;  // the same font for fontconfig
};
constexpr std::array<StyleFiles, 4> kFiles{{
    {"LiberationSans-Regular.ttf", "Liberation Sans:style=Regular"},
    {"LiberationSans-Bold.ttf", "Liberation Sans:style=Bold"},
    {"LiberationMono-Regular.ttf", "Liberation Mono:style=Regular"},
    {"LiberationMono-Bold.ttf", "Liberation Mono:style=Bold"},
}};

bool IsFile(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

bool FcMatchAvailable() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && ::access((dir + "/fc-match").c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// fontconfig's choice for the pattern, taken only when it really is a Liberation font:
// a substitute would have other metrics.
std::string AskFontconfig(const char* pattern) {
  if (!FcMatchAvailable()) return {};
  std::string command = std::string("fc-match --format='%{file}' '") + pattern + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string out;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  ::pclose(pipe);
  size_t slash = out.rfind('/');
  std::string name = Lower(slash == std::string::npos ? out : out.substr(slash + 1));
  if (name.rfind("liberation", 0) != 0 || !IsFile(out)) return {};
  return out;
}

std::string Search(const StyleFiles& wanted) {
  if (const char* only = std::getenv("HARVO_FONT_DIR")) {
    std::string path = std::string(only) + "/" + wanted.file;
    return IsFile(path) ? path : std::string();
  }
  std::vector<std::string> dirs = {"/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/liberation",
                                   "/usr/share/fonts/liberation", "/usr/share/fonts/TTF",
                                   "/usr/local/share/fonts"};
  if (const char* home = std::getenv("HOME")) dirs.push_back(std::string(home) + "/.local/share/fonts");
  for (const std::string& dir : dirs)
    if (IsFile(dir + "/" + wanted.file)) return dir + "/" + wanted.file;
  return AskFontconfig(wanted.fcPattern);
}

FT_Library Library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return lib;
}

}  // namespace

struct FaceData {
  FT_Face face = nullptr;
  int32_t unitsPerEm = 2048, winAscent = 0, winDescent = 0;
  ~FaceData() {
    if (face) FT_Done_Face(face);
  }
};

namespace {

std::shared_ptr<FaceData> OpenFace(const std::string& path) {
  static std::map<std::string, std::shared_ptr<FaceData>> faces;
  auto it = faces.find(path);
  if (it != faces.end()) return it->second;
  std::shared_ptr<FaceData> f;
  FT_Face face = nullptr;
  if (Library() && FT_New_Face(Library(), path.c_str(), 0, &face) == 0) {
    f = std::make_shared<FaceData>();
    f->face = face;
    f->unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
      f->winAscent = os2->usWinAscent;
      f->winDescent = os2->usWinDescent;
    } else {
      f->winAscent = face->ascender;
      f->winDescent = -face->descender;
    }
  }
  faces[path] = f;
  return f;
}

}  // namespace

Style StyleOf(const std::string& faceName, int32_t weight) {
  const std::string name = Lower(faceName);
  const bool bold = weight >= 600;
  if (name == "orbit-b bt") return Style::SansBold;
  if (name == "courier") return bold ? Style::MonoBold : Style::MonoRegular;
  return bold ? Style::SansBold : Style::SansRegular;
}

const std::string& FontFile(Style style) {
  static const std::array<std::string, 4> found = [] {
    std::array<std::string, 4> f;
    for (size_t i = 0; i < kFiles.size(); ++i) f[i] = Search(kFiles[i]);
    // Bold falls back to regular, Mono to Sans.
    auto fill = [&](Style s, Style from) {
      auto& slot = f[static_cast<size_t>(s)];
      if (slot.empty()) slot = f[static_cast<size_t>(from)];
    };
    fill(Style::SansBold, Style::SansRegular);
    fill(Style::MonoRegular, Style::SansRegular);
    fill(Style::MonoBold, Style::MonoRegular);
    fill(Style::SansRegular, Style::SansBold);
    fill(Style::MonoRegular, Style::SansBold);
    fill(Style::MonoBold, Style::MonoRegular);
    return f;
  }();
  return found[static_cast<size_t>(style)];
}

int32_t PixelsPerEm(int32_t height, int32_t unitsPerEm, int32_t winAscent, int32_t winDescent) {
  if (height == 0) height = kDefaultCellHeight;
  double ppem = height < 0 ? -static_cast<double>(height)
                           : static_cast<double>(height) * unitsPerEm / std::max(1, winAscent + winDescent);
  return std::clamp(static_cast<int32_t>(std::lround(ppem)), 1, kMaxPixelsPerEm);
}

std::shared_ptr<SizedFont> GetFont(Style style, int32_t height) {
  static std::map<std::pair<Style, int32_t>, std::shared_ptr<SizedFont>> cache;
  auto key = std::make_pair(style, height);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;

  std::shared_ptr<SizedFont> font;
  const std::string& path = FontFile(style);
  std::shared_ptr<FaceData> face = path.empty() ? nullptr : OpenFace(path);
  FT_Size size = nullptr;
  if (face && FT_New_Size(face->face, &size) == 0) {
    font.reset(new SizedFont());
    font->face_ = face;
    font->size_ = size;
    const int32_t cell = height == 0 ? kDefaultCellHeight : height;
    const int32_t sum = std::max(1, face->winAscent + face->winDescent);
    font->ppem_ = PixelsPerEm(cell, face->unitsPerEm, face->winAscent, face->winDescent);
    if (cell > 0) {
      const int32_t clamped = std::min(cell, kMaxPixelsPerEm * sum / face->unitsPerEm);
      font->cellHeight_ = clamped;
      font->ascent_ = static_cast<int32_t>(std::lround(static_cast<double>(face->winAscent) * clamped / sum));
    } else {
      const double scale = static_cast<double>(font->ppem_) / face->unitsPerEm;
      font->ascent_ = static_cast<int32_t>(std::lround(face->winAscent * scale));
      font->cellHeight_ = font->ascent_ + static_cast<int32_t>(std::lround(face->winDescent * scale));
    }
    FT_Activate_Size(size);
    FT_Set_Pixel_Sizes(face->face, 0, static_cast<FT_UInt>(font->ppem_));
  } else {
    static bool told = false;
    if (!told) {
      told = true;
      std::fprintf(stderr, "Harvo: no Liberation fonts found (package fonts-liberation2): text is not drawn\n");
    }
  }
  cache[key] = font;
  return font;
}

SizedFont::~SizedFont() {
  if (size_) FT_Done_Size(static_cast<FT_Size>(size_));
}

const Glyph& SizedFont::GlyphOf(char32_t ch) {
  auto it = glyphs_.find(ch);
  if (it != glyphs_.end()) return it->second;
  Glyph& g = glyphs_[ch];
  FT_Face face = face_->face;
  FT_Activate_Size(static_cast<FT_Size>(size_));
  FT_UInt index = FT_Get_Char_Index(face, ch);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return g;
  g.advance = static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = face->glyph->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) return g;
  g.left = face->glyph->bitmap_left;
  g.top = face->glyph->bitmap_top;
  g.width = static_cast<int32_t>(bm.width);
  g.rows = static_cast<int32_t>(bm.rows);
  g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
  for (int32_t y = 0; y < g.rows; ++y) {
    const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    std::copy(src, src + g.width, g.coverage.begin() + static_cast<ptrdiff_t>(y) * g.width);
  }
  return g;
}

}  // namespace platform::fonts
