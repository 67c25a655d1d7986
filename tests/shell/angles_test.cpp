#include <gtest/gtest.h>

#include "shell/angles.hpp"

class Angles : public ::testing::Test {
 protected:
  void SetUp() override { FillSinTables(); }
};

TEST_F(Angles, TablesAndWrap) {
  EXPECT_EQ(SinusB(90), 1.0f);
  EXPECT_EQ(CosinusB(90), 0.0f);
  EXPECT_EQ(CosinusB(180), -1.0f);
  EXPECT_EQ(CosinusB(270), 0.0f);
  EXPECT_EQ(CosinusB(-90), 0.0f);
  EXPECT_EQ(SinTab[0], 0.0f);
  EXPECT_NEAR(SinTab[180], -8.742278e-8f, 1e-13f);  // the sine of the single-precision Pi
  struct Wrap {
    int32_t angle, index;
  } wraps[] = {{-1, 359}, {-360, 0}, {360, 0}, {725, 5}, {-721, 359}, {390, 30}};
  for (const Wrap& w : wraps) EXPECT_EQ(SinusB(w.angle), SinTab[w.index]) << w.angle;
  EXPECT_EQ(SinusB(INT32_MIN), SinTab[(360 - (2147483648LL % 360)) % 360]);
}

TEST_F(Angles, Directions) {
  EXPECT_EQ(Winkel(0, 0), 0.5f * Pi);
  EXPECT_EQ(Winkel(0, -3), 1.5f * Pi);
  EXPECT_EQ(Winkel(-1, 0), Pi);
  EXPECT_FLOAT_EQ(Winkel(-1, -1), 1.25f * Pi);
  EXPECT_EQ(WinkelInGrad(0, 0), 0.0f);
  EXPECT_EQ(WinkelInGrad(0, -1), 90.0f);
  EXPECT_EQ(WinkelInGrad(0, 1), 270.0f);
  EXPECT_FLOAT_EQ(WinkelInGrad(1, 1), 225.0f);
  EXPECT_FLOAT_EQ(WinkelInGrad(-1, 1), 315.0f);
  EXPECT_FLOAT_EQ(WinkelInGrad(-1, -1), 45.0f);
  EXPECT_FLOAT_EQ(WinkelInGrad(1, 0), 180.0f);
  EXPECT_FLOAT_EQ(WinkelInGrad(-1, 0), 0.0f);
}

TEST_F(Angles, PackedColours) {
  EXPECT_EQ(GetRGBA(1, 1, 1, 1), -1);
  EXPECT_EQ(static_cast<uint32_t>(GetRGBA(1, 0, 0, 0.5f)), 0x80FF0000u);
  EXPECT_EQ(GetRGBA(2, -1, 0, 0), 0x00FF0000);
  EXPECT_EQ(static_cast<uint32_t>(GetRGBA(0, 0, 0.5f, 0)), 0x80u);  // 127.5 rounds to the even 128
  EXPECT_EQ(static_cast<uint32_t>(GetRGBA(0, 0, 0.3f, 0)), 77u);  // 0.3f * 255 is just above 76.5
}
