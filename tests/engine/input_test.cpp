#include <gtest/gtest.h>

#include "engine/force.hpp"
#include "engine/input.hpp"
#include "platform/headless/headless.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;
using platform::JoystickState;

namespace {

JoystickState Stick(int32_t x, int32_t y, int32_t pov = -1, std::initializer_list<int> buttons = {}) {
  JoystickState s;
  s.x = x;
  s.y = y;
  s.pov = pov;
  for (int b : buttons) s.buttons[b] = 0x80;
  return s;
}

std::vector<int> PressedJoystickCodes() {
  std::vector<int> codes;
  for (int c = 212; c <= KeyCodeMax; ++c)
    if (KeyState[c]) codes.push_back(c);
  return codes;
}

}  // namespace

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    VariabelnInit();
    JoyDa.fill(false);
    ForceDa.fill(false);
    JoyEffektDa.fill(false);
    JoyName.fill("");
    JoyGuid.fill("");
    DInputInit();
  }
  void TearDown() override { DInputTerminate(); }
  std::vector<std::string> LogLines() const { return testsupport::SplitLines(testsupport::ReadText(home.dataDir() + "Debug.txt")); }
  testsupport::IsolatedHome home;
};

TEST(PovRichtungen, HatReadings) {
  struct Case {
    int32_t pov;
    Richtungen r;  // left, up, right, down
  } cases[] = {
      {-1, {false, false, false, false}},     {-18000, {false, false, false, false}},
      {0, {false, true, false, false}},       {3000, {false, true, false, false}},
      {4500, {false, true, true, false}},     {6000, {false, false, true, false}},
      {9000, {false, false, true, false}},    {13500, {false, false, true, true}},
      {15000, {false, false, false, true}},   {18000, {false, false, false, true}},
      {22500, {true, false, false, true}},    {24000, {true, false, false, false}},
      {27000, {true, false, false, false}},   {30000, {true, false, false, false}},
      {31500, {true, true, false, false}},    {33000, {false, true, false, false}},
      {35999, {false, true, false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(PovRichtungen(c.pov), c.r) << c.pov;
}

TEST(AchsenRichtungen, ExactlyHalfwayPressesNothing) {
  struct Case {
    int32_t x, y;
    Richtungen r;
  } cases[] = {
      {5000, 5000, {false, false, false, false}}, {4999, 5000, {true, false, false, false}},
      {5001, 5000, {false, false, true, false}},  {5000, 4999, {false, true, false, false}},
      {5000, 5001, {false, false, false, true}},  {0, 10000, {true, false, false, true}},
  };
  for (const Case& c : cases) EXPECT_EQ(AchsenRichtungen(c.x, c.y), c.r) << c.x << "," << c.y;
}

TEST(PlatformConversions, AxisDeadZoneAndSaturation) {
  struct Case {
    int32_t raw, range;
  } cases[] = {
      {0, 5000},        {3277, 5000},      {-3277, 5000},  {3278, 5001},   {-3278, 4999},
      {32767, 10000},   {-32768, 0},       {31129, 10000}, {-31129, 0},    {17203, 7500},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::AxisToRange(c.raw), c.range) << c.raw;
}

TEST(PlatformConversions, HatBitsInHundredthsOfADegree) {
  using namespace platform;
  struct Case {
    uint8_t bits;
    int32_t pov;
  } cases[] = {
      {0, -1},  {kHatUp, 0},  {kHatUp | kHatRight, 4500},  {kHatRight, 9000},  {kHatRight | kHatDown, 13500},
      {kHatDown, 18000},  {kHatDown | kHatLeft, 22500},  {kHatLeft, 27000},  {kHatLeft | kHatUp, 31500},
      {kHatUp | kHatDown, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(HatToPov(c.bits), c.pov) << int(c.bits);
  EXPECT_EQ(ForceLevel(10000), 32767);
  EXPECT_EQ(ForceLevel(2500), 8191);
  EXPECT_EQ(RumbleStrength(10000), 65535);
  EXPECT_EQ(RumbleStrength(0), 0);
}

TEST_F(Input, KeyboardFillsOnlyTheScanCodes) {
  headless::QueueKeys({1, 57, 211, 212, 255});
  DInputPoll();
  EXPECT_TRUE(KeyState[1]);
  EXPECT_TRUE(KeyState[57]);
  EXPECT_TRUE(KeyState[211]);
  EXPECT_FALSE(KeyState[0]);
  EXPECT_TRUE(PressedJoystickCodes().empty());  // a keyboard byte above 211 is no joystick code
  DInputPoll();  // script ran out: nothing down
  EXPECT_FALSE(KeyState[1]);
}

TEST_F(Input, NoJoystickLeavesTheJoystickCodesClear) {
  JoystickInit();
  EXPECT_FALSE(JoyDa[0]);
  EXPECT_FALSE(JoyDa[1]);
  KeyState.fill(true);
  DInputPoll();
  EXPECT_TRUE(PressedJoystickCodes().empty());
  EXPECT_EQ(GetKeyName(212), "J1(Left)");
}

TEST_F(Input, JoystickDirectionsAndButtonsLandOnTheirCodes) {
  headless::AttachJoystick({"Pad A"});
  headless::AttachJoystick({"Pad B"});
  JoystickInit();
  ASSERT_TRUE(JoyDa[0] && JoyDa[1]);

  struct Case {
    JoystickState j0, j1;
    std::vector<int> codes;
  } cases[] = {
      {Stick(5000, 5000), Stick(5000, 5000), {}},
      {Stick(0, 5000), Stick(5000, 5000), {212}},
      {Stick(5000, 0, 4500), Stick(5000, 5000), {213, 214}},               // stick and hat agree on up
      {Stick(10000, 10000, -1, {0, 3}), Stick(5000, 5000), {214, 215, 216, 219}},
      {Stick(5000, 5000, 22500), Stick(5000, 5000, -1, {0}), {212, 215, 251}},
      {Stick(5000, 5000), Stick(5000, 5000, 31500, {31}), {247, 248, 282}},  // joystick 1: left and up
      // Joystick 0's button 31 is overwritten by joystick 1's left.
      {Stick(5000, 5000, -1, {31}), Stick(5000, 5000), {}},
      {Stick(5000, 5000, -1, {31}), Stick(0, 5000), {247}},
  };
  for (const Case& c : cases) {
    headless::QueueJoystick(0, c.j0);
    headless::QueueJoystick(1, c.j1);
    DInputPoll();
    EXPECT_EQ(PressedJoystickCodes(), c.codes);
  }
}

TEST_F(Input, Code247StaysClearWithOneJoystick) {
  headless::AttachJoystick({"Pad"});
  JoystickInit();
  headless::QueueJoystick(0, Stick(5000, 5000, -1, {30, 31}));
  DInputPoll();
  EXPECT_EQ(PressedJoystickCodes(), std::vector<int>{246});
  EXPECT_EQ(GetKeyName(247), "J2(Left)");
}

TEST_F(Input, EnumerationPrefersForceFeedbackJoysticks) {
  struct Case {
    std::vector<headless::VirtualJoystick> attached;
    std::string name0, name1;
    bool ff0, ff1;
  } cases[] = {
      {{{"Plain"}}, "Plain", "", false, false},
      {{{"Plain A"}, {"Plain B"}}, "Plain A", "Plain B", false, false},
      {{{"Plain", false}, {"Rumble", true}}, "Rumble", "Plain", true, false},
      {{{"Rumble", true}, {"Plain", false}}, "Rumble", "Plain", true, false},
      {{{"Plain", false}, {"FF A", true}, {"FF B", true}}, "FF A", "FF B", true, true},
      {{{"A"}, {"B"}, {"C"}}, "A", "B", false, false},
  };
  for (const Case& c : cases) {
    headless::Reset();
    JoyDa.fill(false);
    JoyName.fill("");
    for (const auto& j : c.attached) headless::AttachJoystick(j);
    JoystickInit();
    std::string label = c.name0 + "/" + c.name1;
    EXPECT_TRUE(JoyDa[0]) << label;
    EXPECT_EQ(JoyDa[1], !c.name1.empty()) << label;
    EXPECT_EQ(JoyName[0], c.name0) << label;
    EXPECT_EQ(JoyName[1], c.name1) << label;
    EXPECT_NE(JoyGuid[0], JoyGuid[1]) << label;
    EXPECT_EQ(ForceDa[0], c.ff0) << label;
    EXPECT_EQ(ForceDa[1], c.ff1) << label;
    EXPECT_EQ(JoyEffektDa[0], c.ff0) << label;
    EXPECT_EQ(headless::OpenJoystickCount(), c.name1.empty() ? 1 : 2) << label;
    DInputTerminate();
    EXPECT_EQ(headless::OpenJoystickCount(), 0) << label;
  }
}

TEST_F(Input, JoystickThatCannotBeOpenedIsLogged) {
  headless::AttachJoystick({"Broken", false, true});
  headless::AttachJoystick({"Fine"});
  JoystickInit();
  EXPECT_FALSE(JoyDa[0]);
  EXPECT_FALSE(JoyDa[1]);  // no second joystick is looked for
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_EQ(LogLines()[0].rfind("Joyinit 1 failed: ", 0), 0u) << LogLines()[0];

  headless::Reset();
  headless::AttachJoystick({"Fine"});
  headless::AttachJoystick({"Broken", false, true});
  JoystickInit();
  EXPECT_TRUE(JoyDa[0]);
  EXPECT_FALSE(JoyDa[1]);
  EXPECT_EQ(LogLines().back().rfind("Joyinit 2 failed: ", 0), 0u) << LogLines().back();
}

TEST_F(Input, ForceEffectFailureLeavesAPlainJoystick) {
  headless::AttachJoystick({"FF", true, false, platform::ForceEffectResult::Failed});
  headless::AttachJoystick({"FF none", true, false, platform::ForceEffectResult::NoneSuitable});
  JoystickInit();
  EXPECT_TRUE(JoyDa[0]);
  EXPECT_FALSE(ForceDa[0]);
  ASSERT_FALSE(LogLines().empty());
  EXPECT_EQ(LogLines()[0].rfind("Forcefeedbackinit failed: ", 0), 0u);
  // No suitable effect: the joystick still counts as force feedback, but has no effect.
  EXPECT_TRUE(ForceDa[1]);
  EXPECT_FALSE(JoyEffektDa[1]);
  ForceAn = {true, true};
  ForceStart(5000);
  EXPECT_TRUE(headless::ForceCommands().empty());
}

TEST_F(Input, AJoystickWhosePollFailsIsGoneForGood) {
  headless::AttachJoystick({"Pad A", true});
  headless::AttachJoystick({"Pad B", true});
  JoystickInit();
  ForceAn = {true, true};
  headless::QueueJoystick(0, Stick(0, 5000), 2);
  headless::QueueJoystick(1, Stick(10000, 5000), 2);
  DInputPoll();
  EXPECT_EQ(PressedJoystickCodes(), (std::vector<int>{212, 249}));

  headless::UnplugJoystick(0);
  DInputPoll();
  EXPECT_FALSE(JoyDa[0]);
  EXPECT_TRUE(JoyDa[1]);
  // The poll ended at the failure: joystick 1 keeps last frame's state for this pass.
  EXPECT_EQ(PressedJoystickCodes(), (std::vector<int>{249}));
  DInputPoll();
  EXPECT_EQ(PressedJoystickCodes(), (std::vector<int>{249}));
  DInputPoll();
  EXPECT_TRUE(PressedJoystickCodes().empty());

  std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("GetJoyInfo failed: ", 0), 0u) << log[0];
  EXPECT_EQ(headless::OpenJoystickCount(), 1);

  headless::ClearForceCommands();
  ForceStart(5000);
  ForceStop();
  for (const auto& r : headless::ForceCommands()) EXPECT_EQ(r.joystick, 1);
  EXPECT_FALSE(headless::ForceCommands().empty());
}

TEST_F(Input, GetKeyNames) {
  struct Case {
    int32_t code;
    const char* name;
  } cases[] = {
      {0, ""},          {1, "Escape"},      {2, "1"},          {10, "9"},          {11, "0"},
      {12, "12"},       {28, "28"},         {30, "A"},         {21, "Z"},          {44, "Y"},
      {16, "Q"},        {50, "M"},          {57, "Space"},     {156, "Enter"},     {211, "Entf."},
      {199, "Pos 1"},   {78, "+"},          {82, "Num. 0"},    {184, "R. Alt"},    {157, "R. Ctrl"},
      {212, "J1(Left)"}, {213, "J1(Up)"},   {214, "J1(Right)"}, {215, "J1(Down)"}, {216, "J1(Button1)"},
      {246, "J1(Button31)"}, {247, "J2(Left)"}, {250, "J2(Down)"}, {253, "J2(Button3)"},
      {282, "J2(Button32)"}, {283, "283"},  {-5, "-5"},       {1000, "1000"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetKeyName(c.code), c.name) << c.code;
}
