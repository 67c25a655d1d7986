#pragma once
// The game keeps every text as single bytes of a Windows code page: 1252 for German and
// English, 1251 for Russian. Only the places where text leaves the program (window
// captions, message boxes, the screen) convert to UTF-8.
#include <string>
#include <string_view>

namespace platform {

constexpr int CodePageWestern = 1252;
constexpr int CodePageCyrillic = 1251;

std::string Cp1252ToUtf8(std::string_view text);
std::string Cp1251ToUtf8(std::string_view text);
std::string CodePageToUtf8(std::string_view text, int codePage);

// Characters the code page cannot hold become '?'; malformed UTF-8 bytes as well.
std::string Utf8ToCp1252(std::string_view text);
std::string Utf8ToCp1251(std::string_view text);

// The Unicode code point of one byte in the given code page (0xFFFD for holes).
char32_t CodePageChar(unsigned char byte, int codePage);

// Typed text in the code page the game types in (`SetTypingCodePage`, 1252 until set):
// a character the page cannot hold is dropped, never typed as '?'.
std::string TypedText(std::string_view utf8);
void SetTypingCodePage(int codePage);

// The user's decimal point (the locale's numeric setting), "." when it is not one byte.
const std::string& UserDecimalPoint();

}  // namespace platform
