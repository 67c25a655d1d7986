#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "platform/headless/headless.hpp"
#include "player/players.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"

namespace headless = platform::headless;
using Cmd = headless::ForceRecord;

namespace {

void ClearQueue() {
  ForceTime.fill(0);
  ForcePower.fill(0);
  ForcePlayer.fill(0);
}

int BusySlots() {
  int n = 0;
  for (int32_t t : ForceTime) n += t >= 1;
  return n;
}

// What a magnitude change looks like on the device.
std::vector<Cmd> Start(int joy, int32_t m) {
  return {{joy, "pause"}, {joy, "magnitude", m}, {joy, "start"}, {joy, "continue"}};
}
std::vector<Cmd> Stop(int joy) { return {{joy, "magnitude", 0}, {joy, "pause"}}; }

std::vector<Cmd> TakeCommands() {
  std::vector<Cmd> c = headless::ForceCommands();
  headless::ClearForceCommands();
  return c;
}

}  // namespace

class Force : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    ClearQueue();
    ForceWert.fill(0);
    ForceBasis = {2500, 2500};
    ForceAn = {true, true};
    JoyDa.fill(false);
    JoyEffektDa.fill(false);
    KeyConfig = KeyConfigDaten();
    KeyConfig.KeyDevice = {1, 1, 2};
    LetzterSpieler = 0;
    headless::AttachJoystick({"FF 1", true});
    headless::AttachJoystick({"FF 2", true});
    JoystickInit();
    ASSERT_TRUE(JoyEffektDa[0] && JoyEffektDa[1]);
    headless::ClearForceCommands();
  }
  void TearDown() override {
    DInputTerminate();
    ClearQueue();
    KeyConfig = KeyConfigDaten();
    ForceAn = {false, false};
    Erschuetterung = 0;
    Rendern = true;
  }
};

TEST(ForceMagnitude, FourEqualStepsFromTheBase) {
  struct Case {
    int32_t level, basis, magnitude;
  } cases[] = {
      {1, 2500, 2500}, {2, 2500, 4375},  {3, 2500, 6250},  {4, 2500, 8125}, {5, 2500, 10000},
      {9, 2500, 10000}, {2, 0, 2500},    {2, 3333, 5000},  {2, 3334, 5000}, {1, 10000, 10000},
      {3, 1, 5000},  // 5000.5 rounds to the even neighbour
  };
  for (const Case& c : cases) EXPECT_EQ(ForceMagnitude(c.level, c.basis), c.magnitude) << c.level << "/" << c.basis;
}

TEST_F(Force, QueueTakesTheFirstFreeSlotAndDropsThe22nd) {
  for (int i = 0; i < 22; ++i) AddForce(1 + i % 5, 10 + i, 0);
  EXPECT_EQ(BusySlots(), 21);
  EXPECT_EQ(ForceTime[20], 30);  // the 21st pulse; the 22nd (time 31) is gone
  ForceTime[7] = 0;
  AddForce(4, 3, 1);
  EXPECT_EQ(ForceTime[7], 3);
  EXPECT_EQ(ForcePower[7], 4);
  EXPECT_EQ(ForcePlayer[7], 1);

  ClearQueue();
  AddForce(2, 5, -1);
  AddForce(2, 5, 7);
  EXPECT_EQ(BusySlots(), 4);
  EXPECT_EQ(ForcePlayer[0], 0);
  EXPECT_EQ(ForcePlayer[1], 1);
  EXPECT_EQ(ForcePlayer[2], 0);
  EXPECT_EQ(ForcePlayer[3], 1);
}

TEST_F(Force, PulsesCountForTheirFramesAndTheDeviceHearsOnlyChanges) {
  AddForce(3, 2, 0);
  AddForce(3, 2, 0);
  AddForce(3, 2, 0);  // level 9, capped at 5
  AddForce(1, 0, 0);  // never counts, its slot stays free
  EXPECT_EQ(BusySlots(), 3);

  DoForce();
  EXPECT_EQ(TakeCommands(), Start(0, 10000));
  EXPECT_EQ(ForceWert[0], 10000);
  DoForce();
  EXPECT_TRUE(TakeCommands().empty());  // steady: no device call
  DoForce();
  EXPECT_EQ(TakeCommands(), Stop(0));
  EXPECT_EQ(ForceWert[0], 0);
  DoForce();
  EXPECT_TRUE(TakeCommands().empty());

  AddForce(1, 1, 0);
  DoForce();
  EXPECT_EQ(TakeCommands(), Start(0, 2500));
  AddForce(2, 1, 0);
  DoForce();
  EXPECT_EQ(TakeCommands(), Start(0, 4375));
  DoForce();
  EXPECT_EQ(TakeCommands(), Stop(0));
}

TEST_F(Force, PlayersReachTheirOwnJoysticks) {
  // One player: player 0 on key set 0, player 1 on key set 1.
  KeyConfig.KeyDevice = {1, 2, 0};
  AddForce(2, 1, -1);
  DoForce();
  std::vector<Cmd> expected = Start(0, 4375);
  for (const Cmd& c : Start(1, 4375)) expected.push_back(c);
  EXPECT_EQ(TakeCommands(), expected);
  DoForce();
  TakeCommands();

  // Two players: key sets 1 and 2; here player 0 holds joystick 1 and player 1 joystick 0.
  LetzterSpieler = 1;
  KeyConfig.KeyDevice = {0, 2, 1};
  ForceBasis = {2500, 1000};
  AddForce(1, 1, 0);
  AddForce(3, 1, 1);
  DoForce();
  expected = Start(0, 6250);
  for (const Cmd& c : Start(1, 1000)) expected.push_back(c);
  EXPECT_EQ(TakeCommands(), expected);
}

TEST_F(Force, KeyboardPlayersAndStrangeDevicesPushNothing) {
  for (int32_t device : {0, -1, 3, 99}) {
    KeyConfig.KeyDevice = {device, device, device};
    AddForce(5, 1, -1);
    DoForce();
    EXPECT_TRUE(TakeCommands().empty()) << device;
    EXPECT_EQ(BusySlots(), 0);
  }
}

TEST_F(Force, WithoutTheWishNothingIsSentAndTheWishIsAskedAgain) {
  ForceAn = {false, true};
  AddForce(1, 3, 0);
  for (int i = 0; i < 3; ++i) {
    DoForce();
    EXPECT_EQ(ForceWert[0], 0);
  }
  EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(Force, StartAndStopWithoutJoystickArgumentDriveBoth) {
  ForceStart(5000);
  std::vector<Cmd> expected = Start(0, 5000);
  for (const Cmd& c : Start(1, 5000)) expected.push_back(c);
  EXPECT_EQ(TakeCommands(), expected);
  ForceStop();
  expected = Stop(0);
  for (const Cmd& c : Stop(1)) expected.push_back(c);
  EXPECT_EQ(TakeCommands(), expected);
  EXPECT_EQ(JoyEffektDaten[0].Magnitude, 0);
  EXPECT_EQ(JoyEffektDaten[0].Dauer, -1);
}

TEST_F(Force, ShakeRumblesInThreeStrengths) {
  Rendern = false;
  Erschuetterung = 60;
  std::vector<int32_t> strengths;
  while (Erschuetterung > 0) {
    SpielErschücterung();
    ASSERT_EQ(BusySlots(), 2);  // one pulse per player
    EXPECT_EQ(ForcePlayer[0], 0);
    EXPECT_EQ(ForcePlayer[1], 1);
    EXPECT_EQ(ForceTime[0], 1);
    strengths.push_back(ForcePower[0]);
    ClearQueue();
  }
  ASSERT_EQ(strengths.size(), 60u);
  for (size_t i = 0; i < strengths.size(); ++i) {
    int32_t counter = 60 - static_cast<int32_t>(i);
    EXPECT_EQ(strengths[i], counter > 50 ? 5 : counter >= 20 ? 3 : 1) << counter;
  }
  SpielErschücterung();
  EXPECT_EQ(BusySlots(), 0);
  EXPECT_EQ(Erschuetterung, 0);
}

TEST(ShakeVersatz, RangesFollowTheCounter) {
  RndReset();
  for (int32_t counter : {19, 60, 18, 0}) {
    int32_t lo = 100, hi = -100;
    for (int i = 0; i < 2000; ++i) {
      int32_t dx, dy;
      ShakeVersatz(counter, dx, dy);
      lo = std::min({lo, dx, dy});
      hi = std::max({hi, dx, dy});
    }
    EXPECT_EQ(lo, counter >= 19 ? -6 : -3) << counter;
    EXPECT_EQ(hi, counter >= 19 ? 7 : 4) << counter;
  }
}

// The shake's blit on an 800 x 600 back buffer: the play area moves by (-dx, -dy), the
// strip it uncovers keeps its pixels, the band below it is untouched.
class ShakeFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
    ASSERT_TRUE(BackBuffer);
  }
  void TearDown() override {
    BackBuffer.reset();
    Rendern = true;
    Erschuetterung = 0;
    ClearQueue();
  }
  static uint32_t Muster(int x, int y) { return static_cast<uint32_t>(y * 1000 + x + 1); }
  void Fill() {
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) BackBuffer->SetPixel(x, y, Muster(x, y));
  }
  // Checks the whole frame against a move of the play area by (-dx, -dy).
  void ExpectMoved(int32_t dx, int32_t dy) {
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        int sx = x + dx, sy = y + dy;
        bool moved = y < 550 && sx >= 0 && sx < 800 && sy >= 0 && sy < 550;
        uint32_t want = moved ? Muster(sx, sy) : Muster(x, y);
        ASSERT_EQ(BackBuffer->GetPixel(x, y), want) << "offset " << dx << "," << dy << " at " << x << "," << y;
      }
    }
  }
};

TEST_F(ShakeFrame, TableOfBlits) {
  struct Case {
    int32_t dx, dy;
    ShakeBlit blit;
  } cases[] = {
      {0, 0, {}},
      {3, 2, {true, 3, 2, 800, 550, 0, 0}},
      {3, 0, {true, 3, 0, 800, 550, 0, 0}},
      {3, -2, {true, 3, 0, 800, 548, 0, 2}},
      {-3, 2, {true, 0, 2, 797, 550, 3, 0}},  // 3 pixels right, 2 up
      {0, 2, {true, 0, 2, 800, 550, 0, 0}},
      {-3, -2, {true, 0, 0, 797, 548, 3, 2}},
      {0, -6, {true, 0, 0, 800, 544, 0, 6}},
      {-6, 0, {true, 0, 0, 794, 550, 6, 0}},
      {7, -6, {true, 7, 0, 800, 544, 0, 6}},
  };
  for (const Case& c : cases) {
    ShakeBlit b = ShakeRechteck(c.dx, c.dy);
    EXPECT_EQ(b, c.blit) << c.dx << "," << c.dy;
    Fill();
    if (b.Blit) ShakeBlitAusfuehren(b);
    ExpectMoved(c.dx, c.dy);
  }
}

TEST_F(ShakeFrame, ADrawnShakeFrameJoltsByTheRandomOffset) {
  Erschuetterung = 25;
  RndReset();
  int32_t dx, dy;
  ShakeVersatz(24, dx, dy);
  RndReset();
  Fill();
  SpielErschücterung();
  EXPECT_EQ(Erschuetterung, 24);
  ExpectMoved(dx, dy);

  // A frame that is not drawn rumbles but neither draws nor draws a random number.
  Rendern = false;
  RndReset();
  Fill();
  SpielErschücterung();
  ExpectMoved(0, 0);
  RndReset();
  float first = Rnd();
  RndReset();
  SpielErschücterung();
  EXPECT_EQ(Rnd(), first);
}
