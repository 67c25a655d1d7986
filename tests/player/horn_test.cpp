// The horn: one blast per press of F11, none while it still shows, and the picture for the
// 40 frames after the press, in front of the first player's ship.
#include "player/horn.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "player/players_state.hpp"
#include "ship_support.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "world/game_sounds_state.hpp"
#include "weapon_support.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int kF11 = 87;

class Horn : public ::testing::Test {
 protected:
  void SetUp() override { shiptest::Anfang(); }
  void TearDown() override { shiptest::Ende(); }
};

}  // namespace

TEST_F(Horn, EachPressSoundsItOnceAndNotWhileItStillShows) {
  struct Fall {
    const char* name;
    std::string f11;  // per frame: F11 down (x) or up (.)
    std::vector<int> starts;
  } faelle[] = {
      {"held", std::string(100, 'x'), {0}},
      {"pressed twice, the second time while it shows", "x.x" + std::string(60, '.'), {0}},
      {"pressed again in the last frame it shows", "x" + std::string(38, '.') + "x", {0}},
      {"pressed again in the frame after", "x" + std::string(39, '.') + "x", {0, 40}},
      {"held past the 40 frames, then pressed", std::string(50, 'x') + ".x", {0, 51}},
  };
  SndHupe = shiptest::Klang();
  SoundAn = true;
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    ResetHorn();
    Sounds[SndHupe].Kopien[0].Stop();
    std::vector<int> starts;
    for (size_t i = 0; i < f.f11.size(); ++i) {
      KeyState[kF11] = f.f11[i] == 'x';
      SpielHupe();
      if (Hupe.Zeit == 40) starts.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(starts, f.starts);
    EXPECT_TRUE(shiptest::Spielt(SndHupe));
  }
}

// The picture shows in the 40 frames after the press, at the first player's ship, in a
// two-player game and with that ship destroyed too.
TEST_F(Horn, ThePictureShowsForFortyFramesInFrontOfTheFirstShip) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  TexHupe = shiptest::Picture(128, 128, [](int, int) { return 0xFF806040u; });
  LetzterSpieler = 1;
  Spieler[0].X = 200;
  Spieler[0].Y = 300;
  Spieler[0].Tod = 30;
  Spieler[1].X = 500;
  std::vector<int> gezeigt;
  for (int i = 0; i < 45; ++i) {
    KeyState[kF11] = i == 0;
    BackBuffer->BltColorFill(nullptr, 0);
    RenderStart();
    SpielHupe();
    RenderEnd();
    // The picture spans x 255..383 and y 268..396.
    const bool da = testsupport::BackBufferPixel(260, 270) != 0;
    EXPECT_EQ(da, testsupport::BackBufferPixel(380, 394) != 0) << i;
    EXPECT_EQ(testsupport::BackBufferPixel(254, 300), 0u) << i;
    if (da) gezeigt.push_back(i);
  }
  std::vector<int> erwartet;
  for (int i = 1; i <= 40; ++i) erwartet.push_back(i);
  EXPECT_EQ(gezeigt, erwartet);
  LetzterSpieler = 0;
  TexHupe = -1;
  testsupport::CloseDisplay();
}
