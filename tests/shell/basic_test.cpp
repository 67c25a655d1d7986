#include <gtest/gtest.h>

#include <limits>

#include "shell/basic.hpp"

TEST(Basic, CLngRoundsHalfToEvenAndSaturates) {
  struct Case {
    double in;
    int32_t out;
  } cases[] = {
      {0.5, 0},           {1.5, 2},          {2.5, 2},           {-0.5, 0},
      {-1.5, -2},         {-2.5, -2},        {2.4999, 2},        {2.5001, 3},
      {3e10, INT32_MAX},  {-3e10, INT32_MIN}, {2147483647.4, INT32_MAX},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CLng(c.in), c.out) << c.in;
  EXPECT_EQ(CInt(40000.0), 32767);
  EXPECT_EQ(CInt(-40000.0), -32768);
  EXPECT_EQ(CInt(6.5), 6);
}

TEST(Basic, WholeNumberDivisionAndRemainder) {
  struct Case {
    double a, b;
    int32_t q, r;
  } cases[] = {
      {7, 2, 3, 1},     {-7, 2, -3, -1},  {7, -2, -3, 1},   {-7, -2, 3, -1},
      {7.5, 2, 4, 0},   {6.5, 2.5, 3, 0}, {5, 0, 0, 0},     {0, 3, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IDiv(c.a, c.b), c.q) << c.a << " \\ " << c.b;
    EXPECT_EQ(Mod(c.a, c.b), c.r) << c.a << " Mod " << c.b;
  }
  EXPECT_EQ(Int(-0.5), -1.0);
  EXPECT_EQ(Int(2.9), 2.0);
}

TEST(Basic, ValReadsADecimalPrefix) {
  struct Case {
    const char* in;
    double out;
  } cases[] = {
      {"", 0},        {"abc", 0},    {"  42", 42},  {"\t-7x", -7}, {"3.5e2z", 350},
      {"12-Debug", 12}, {".5", 0.5}, {"1e", 1},     {"+9", 9},     {"- 3", 0},
      {"10", 10},     {"0.5", 0.5},  {"1D2", 100},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Val(c.in), c.out) << '"' << c.in << '"';
}

TEST(Basic, TextHelpers) {
  EXPECT_EQ(UCase("abc\xE4\xF6\xFC\xDF"), "ABC\xC4\xD6\xDC\xDF");
  EXPECT_EQ(LCase("A\xC4Z"), "a\xE4z");
  EXPECT_EQ(TrimBlanks("  a b \t "), "a b \t");
  EXPECT_TRUE(SameText("Regen1.BMP", "regen1.bmp"));
  EXPECT_FALSE(SameText("Regen1.bmp", "Regen1.bm"));
  EXPECT_STREQ(BoolText(true), "True");
  EXPECT_EQ(VBBool(true), -1);
}

TEST(Basic, RandomSequenceIsRepeatableAndRestorable) {
  RndReset();
  Randomize(42);
  std::vector<float> first;
  for (int i = 0; i < 5; ++i) first.push_back(Rnd());
  for (float f : first) {
    EXPECT_GE(f, 0.0f);
    EXPECT_LT(f, 1.0f);
  }
  RndReset();
  Randomize(42);
  uint32_t state = RndState();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Rnd(), first[i]);
  SetRndState(state);
  EXPECT_EQ(Rnd(), first[0]);
  RndReset();
  Randomize(43);
  EXPECT_NE(Rnd(), first[0]);
}
