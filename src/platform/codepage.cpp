#include "platform/codepage.hpp"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include <array>

namespace platform {
namespace {

// 0x80..0x9F of Windows-1252; the rest of the upper half equals Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// 0x80..0xBF of Windows-1251; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one code point; returns 0xFFFD and consumes one byte on malformed input.
char32_t NextUtf8(std::string_view s, size_t& i) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 0;
  if (extra == 0 || i + extra >= s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t c = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (t & 0x3F);
  }
  i += extra + 1;
  return c;
}

std::string FromUtf8(std::string_view text, int codePage, bool dropMissing = false) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextUtf8(text, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    char found = '?';
    if (c == 0xFFFD) {  // malformed input, or a character no code page holds
      if (!dropMissing) out += found;
      continue;
    }
    for (int b = 0x80; b <= 0xFF; ++b) {
      if (CodePageChar(static_cast<unsigned char>(b), codePage) == c) {
        found = static_cast<char>(b);
        break;
      }
    }
    if (found != '?' || !dropMissing) out += found;
  }
  return out;
}

}  // namespace

char32_t CodePageChar(unsigned char byte, int codePage) {
  if (byte < 0x80) return byte;
  if (codePage == CodePageCyrillic) {
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kCp1251High[byte - 0x80];
  }
  if (byte < 0xA0) return kCp1252High[byte - 0x80];
  return byte;
}

std::string CodePageToUtf8(std::string_view text, int codePage) {
  std::string out;
  out.reserve(text.size() * 2);
  for (unsigned char b : text) AppendUtf8(out, CodePageChar(b, codePage));
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) { return CodePageToUtf8(text, CodePageWestern); }
std::string Cp1251ToUtf8(std::string_view text) { return CodePageToUtf8(text, CodePageCyrillic); }
std::string Utf8ToCp1252(std::string_view text) { return FromUtf8(text, CodePageWestern); }
std::string Utf8ToCp1251(std::string_view text) { return FromUtf8(text, CodePageCyrillic); }

namespace {
int g_typingCodePage = CodePageWestern;
}

std::string TypedText(std::string_view utf8) { return FromUtf8(utf8, g_typingCodePage, true); }
void SetTypingCodePage(int codePage) { g_typingCodePage = codePage; }

const std::string& UserDecimalPoint() {
  static const std::string point = [] {
    std::string p = ".";
    if (locale_t l = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
      const char* radix = nl_langinfo_l(RADIXCHAR, l);
      if (radix && std::strlen(radix) == 1) p = radix;
      freelocale(l);
    }
    return p;
  }();
  return point;
}

}  // namespace platform
