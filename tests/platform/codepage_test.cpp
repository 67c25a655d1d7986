#include <gtest/gtest.h>

#include "platform/codepage.hpp"

using namespace platform;

TEST(CodePage, WesternAndCyrillicToUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("Gr\xFC\xDF" "e \x80"), "Grüße €");
  EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8"), "Привет Ёё");
  EXPECT_EQ(Cp1252ToUtf8("plain"), "plain");
}

TEST(CodePage, RoundTripOfEveryMappedByte) {
  for (int cp : {CodePageWestern, CodePageCyrillic}) {
    for (int b = 0x20; b <= 0xFF; ++b) {
      if (CodePageChar(static_cast<unsigned char>(b), cp) == 0xFFFD) continue;
      std::string one(1, static_cast<char>(b));
      std::string back = cp == CodePageWestern ? Utf8ToCp1252(CodePageToUtf8(one, cp))
                                               : Utf8ToCp1251(CodePageToUtf8(one, cp));
      EXPECT_EQ(back, one) << "code page " << cp << " byte " << b;
    }
  }
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("Привет"), "??????");
  EXPECT_EQ(Utf8ToCp1251("ä"), "?");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");      // cut in the middle of a character
  EXPECT_EQ(Utf8ToCp1252("\xFF" "b"), "?b");   // no UTF-8 lead byte
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82"), "??");
}
