// The keyboard table and the joysticks of the SDL backend, with SDL's virtual joysticks
// standing in for devices.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/force.hpp"
#include "engine/input.hpp"
#include "platform/input.hpp"
#include "platform/sdl/sdl_video.hpp"
#include "player/players.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"

namespace {

TEST(SdlKeyboard, ScanCodesByPosition) {
  struct Case {
    SDL_Scancode sdl;
    int code;
  } cases[] = {
      {SDL_SCANCODE_ESCAPE, 1},    {SDL_SCANCODE_1, 2},        {SDL_SCANCODE_9, 10},       {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_Q, 16},        {SDL_SCANCODE_RETURN, 28},  {SDL_SCANCODE_A, 30},       {SDL_SCANCODE_Z, 44},
      {SDL_SCANCODE_Y, 21},        {SDL_SCANCODE_SPACE, 57},   {SDL_SCANCODE_F1, 59},      {SDL_SCANCODE_F10, 68},
      {SDL_SCANCODE_F11, 87},      {SDL_SCANCODE_F12, 88},     {SDL_SCANCODE_KP_PLUS, 78}, {SDL_SCANCODE_KP_0, 82},
      {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157}, {SDL_SCANCODE_RALT, 184},   {SDL_SCANCODE_HOME, 199},
      {SDL_SCANCODE_UP, 200},      {SDL_SCANCODE_PAGEUP, 201}, {SDL_SCANCODE_LEFT, 203},   {SDL_SCANCODE_RIGHT, 205},
      {SDL_SCANCODE_END, 207},     {SDL_SCANCODE_DOWN, 208},   {SDL_SCANCODE_PAGEDOWN, 209},
      {SDL_SCANCODE_INSERT, 210},  {SDL_SCANCODE_DELETE, 211},
      // Keys whose codes lie above the keyboard's range are not read.
      {SDL_SCANCODE_LGUI, 0},      {SDL_SCANCODE_RGUI, 0},     {SDL_SCANCODE_APPLICATION, 0},
      {SDL_SCANCODE_POWER, 0},     {SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::sdl::ScanCodeOf(c.sdl), c.code) << SDL_GetScancodeName(c.sdl);
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) EXPECT_LE(platform::sdl::ScanCodeOf(static_cast<SDL_Scancode>(s)), 211);
  EXPECT_EQ(platform::sdl::VirtualKeyOf(SDLK_F3), 114);
  EXPECT_EQ(platform::sdl::VirtualKeyOf(SDLK_F4), 115);
}

TEST(SdlKeyboard, NoKeyIsDownWithoutTheFocus) {
  uint8_t keys[platform::kKeyboardCodes];
  std::fill(keys, keys + platform::kKeyboardCodes, 0xFF);
  platform::ReadKeyboard(keys);
  for (int i = 0; i < platform::kKeyboardCodes; ++i) EXPECT_EQ(keys[i], 0) << i;
}

// The rumble a virtual joystick was asked for, in order.
struct Rumbles {
  std::vector<Uint16> low, high;
};

int SDLCALL RecordRumble(void* userdata, Uint16 low, Uint16 high) {
  auto* r = static_cast<Rumbles*>(userdata);
  r->low.push_back(low);
  r->high.push_back(high);
  return 0;
}

class SdlJoysticks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    SetJoystickCodes();
    dir_ = std::filesystem::temp_directory_path() / ("harvo_sdl_input_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    DatenOrdner = dir_.string() + "/";
    JoyDa.fill(false);
    ForceDa.fill(false);
    JoyEffektDa.fill(false);
    ForceWert.fill(0);
    DInputInit();
  }
  void TearDown() override {
    DInputTerminate();
    for (SDL_Joystick* j : handles_) SDL_JoystickClose(j);
    for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
      if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    std::filesystem::remove_all(dir_);
    DatenOrdner.clear();
    ForceAn = {false, false};
    KeyConfig = KeyConfigDaten();
  }

  // Attaches a virtual joystick with two axes, one hat and 32 buttons; with `rumbles` it
  // has rumble motors. Returns a handle the test moves it with.
  SDL_Joystick* Attach(const char* name, Rumbles* rumbles = nullptr) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 2;
    desc.nbuttons = 32;
    desc.nhats = 1;
    desc.name = name;
    if (rumbles) {
      desc.userdata = rumbles;
      desc.Rumble = RecordRumble;
    }
    int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* j = SDL_JoystickOpen(index);
    EXPECT_NE(j, nullptr) << SDL_GetError();
    handles_.push_back(j);
    return j;
  }

  std::vector<int> Pressed() const {
    std::vector<int> codes;
    for (int c = 212; c <= KeyCodeMax; ++c)
      if (KeyState[c]) codes.push_back(c);
    return codes;
  }

  std::string Log() const {
    std::ifstream in(dir_ / "Debug.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
  std::vector<SDL_Joystick*> handles_;
};

TEST_F(SdlJoysticks, ForceFeedbackJoysticksComeFirst) {
  Rumbles r1, r2;
  Attach("Plain One");
  Attach("Rumble One", &r1);
  Attach("Plain Two");
  JoystickInit();
  EXPECT_TRUE(JoyDa[0]);
  EXPECT_TRUE(JoyDa[1]);
  EXPECT_EQ(JoyName[0], "Rumble One");
  EXPECT_EQ(JoyName[1], "Plain One");
  EXPECT_TRUE(ForceDa[0]);
  EXPECT_FALSE(ForceDa[1]);
  EXPECT_TRUE(JoyEffektDa[0]);
  EXPECT_EQ(JoyEffektGuid[0], "Rumble");
  EXPECT_NE(JoyGuid[0], JoyGuid[1]);
  DInputTerminate();

  Attach("Rumble Two", &r2);
  JoystickInit();
  EXPECT_EQ(JoyName[0], "Rumble One");
  EXPECT_EQ(JoyName[1], "Rumble Two");
  EXPECT_TRUE(ForceDa[1]);
}

TEST_F(SdlJoysticks, AxesHatAndButtonsReadEvenWithoutFocus) {
  // A window without the focus: joystick input still counts.
  ASSERT_TRUE(platform::sdl::EnsureVideo());
  SDL_Window* window = SDL_CreateWindow("unfocused", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  ASSERT_EQ(SDL_GetKeyboardFocus(), nullptr);

  SDL_Joystick* a = Attach("Pad A");
  SDL_Joystick* b = Attach("Pad B");
  JoystickInit();
  ASSERT_TRUE(JoyDa[0] && JoyDa[1]);

  struct Case {
    Sint16 ax, ay;
    Uint8 hat;
    int button;  // -1 none
    Sint16 bx;
    std::vector<int> codes;
  } cases[] = {
      {0, 0, SDL_HAT_CENTERED, -1, 0, {}},
      {3000, -3000, SDL_HAT_CENTERED, -1, 0, {}},  // inside the dead zone
      {-32768, 0, SDL_HAT_CENTERED, -1, 0, {212}},
      {0, 20000, SDL_HAT_RIGHTUP, -1, 0, {213, 214, 215}},
      {0, 0, SDL_HAT_LEFTDOWN, 0, 0, {212, 215, 216}},
      {0, 0, SDL_HAT_CENTERED, 31, 0, {}},          // button 31 is overwritten by joystick 1's left
      {0, 0, SDL_HAT_CENTERED, 31, -20000, {247}},
      {0, 0, SDL_HAT_CENTERED, 5, 32767, {221, 249}},
  };
  for (const Case& c : cases) {
    SDL_JoystickSetVirtualAxis(a, 0, c.ax);
    SDL_JoystickSetVirtualAxis(a, 1, c.ay);
    SDL_JoystickSetVirtualHat(a, 0, c.hat);
    for (int i = 0; i < 32; ++i) SDL_JoystickSetVirtualButton(a, i, i == c.button);
    SDL_JoystickSetVirtualAxis(b, 0, c.bx);
    DInputPoll();
    EXPECT_EQ(Pressed(), c.codes) << c.ax << "," << c.ay << " hat " << int(c.hat) << " button " << c.button;
  }
  SDL_DestroyWindow(window);
}

TEST_F(SdlJoysticks, AnUnpluggedJoystickIsDroppedAndLogged) {
  Rumbles r;
  Attach("Rumble", &r);
  Attach("Plain");
  JoystickInit();
  ForceAn = {true, true};
  ASSERT_TRUE(JoyDa[0]);
  for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
    if (SDL_JoystickIsVirtual(i) && std::string(SDL_JoystickNameForIndex(i)) == "Rumble") SDL_JoystickDetachVirtual(i);
  DInputPoll();
  EXPECT_FALSE(JoyDa[0]);
  EXPECT_TRUE(JoyDa[1]);
  EXPECT_EQ(Log().rfind("GetJoyInfo failed: ", 0), 0u) << Log();
  ForceStart(5000);  // the released joystick is left alone
  EXPECT_TRUE(r.low.empty());
}

TEST_F(SdlJoysticks, RumbleFollowsTheForceQueue) {
  Rumbles r;
  Attach("Rumble", &r);
  JoystickInit();
  ASSERT_TRUE(JoyEffektDa[0]);
  ForceAn = {true, false};
  ForceBasis = {2500, 2500};
  KeyConfig.KeyDevice = {1, 0, 0};
  LetzterSpieler = 0;

  AddForce(1, 2, 0);
  DoForce();  // 2500
  DoForce();  // unchanged: no device call
  AddForce(5, 1, 0);
  DoForce();  // the first pulse is over: 10000
  AddForce(2, 1, 0);
  DoForce();  // 4375
  DoForce();  // stop
  DoForce();
  std::vector<Uint16> expected = {platform::RumbleStrength(2500), platform::RumbleStrength(10000),
                                  platform::RumbleStrength(4375), 0};
  EXPECT_EQ(r.low, expected);
  EXPECT_EQ(r.high, expected);
  EXPECT_EQ(expected[0], 16383);
  EXPECT_EQ(expected[1], 65535);
}

}  // namespace
