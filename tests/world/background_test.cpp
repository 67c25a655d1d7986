// The background: every mode drawn into a reference frame, the level picture's scroll, the
// streaks' speeds, frames that are not drawn, other modes, and the band of mode 5.
#include "world/background.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "platform/headless/headless.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"

using worlddraw::Frame;
using worlddraw::Pixel;

namespace {

float Radius(int x, int y, int size) {
  return std::hypot(x + 0.5f - size / 2.0f, y + 0.5f - size / 2.0f) / (size / 2.0f);
}

uint32_t Grau(float v) {
  const uint32_t g = static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f);
  return 0xFF000000u | g << 16 | g << 8 | g;
}

// The standard pictures the background draws with, and a level picture: a sky over hills
// with a marker stripe near its left edge, so the scroll shows.
void Bilder() {
  TexWeiss = worlddraw::Solid(8, 8, 0xFFFFFFFF, true);
  TexBalken = worlddraw::Picture(16, 8, true, true, [](int, int y) { return Grau(1 - std::abs(2 * y - 7) / 8.0f); });
  TexKreis2 = worlddraw::Picture(64, 64, true, true, [](int x, int y) {
    const float r = Radius(x, y, 64);
    return Grau(r >= 1 ? 0 : std::pow(1 - r * r, 0.55f));
  });
  const platform::PixelFormat alpha = BackBuffer->Format() == platform::PixelFormat::RGB565
                                          ? platform::PixelFormat::ARGB4444
                                          : platform::PixelFormat::ARGB8888;
  TexFeuer[0] = worlddraw::Picture(
      64, 64, true, false,
      [](int x, int y) {
        const float body = std::max(0.0f, 1 - Radius(x, y, 64));
        const uint32_t a = static_cast<uint32_t>(body * body * 255);
        const uint32_t g = 200 + static_cast<uint32_t>(55 * body), b = 150 + static_cast<uint32_t>(100 * body);
        return a << 24 | 0xFF0000u | g << 8 | b;
      },
      alpha, true);
  TexBlur = worlddraw::Picture(64, 64, true, false, [](int, int) { return Grau(0.08f); });
  HintergrundBild = worlddraw::Picture(800, 600, false, true, [](int x, int y) {
    if (x >= 20 && x < 28) return 0xFFFFE040u;
    const float hill = 430 + 40 * std::sin(x / 60.0f) + 25 * std::sin(x / 23.0f + 1);
    if (y > hill) return 0xFF000000u | static_cast<uint32_t>(40 + (y - hill) / 3) << 8 | 0x20u;
    return 0xFF000000u | static_cast<uint32_t>(30 + y / 4) << 16 | static_cast<uint32_t>(60 + y / 3) << 8 | 0xC0u;
  });
}

// One tick of the background inside a scene, as the game loop has it.
void Schritt() {
  RenderStart();
  SpielMoveHintergrund();
  RenderEnd();
}

// The frame shrunk to a fifth (each pixel the mean of a 5 x 5 block): small enough to
// keep, and still every streak and glow shows.
platform::Surface Vorschau() {
  platform::Surface klein(160, 120, platform::PixelFormat::XRGB8888);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      uint32_t summe[3] = {};
      for (int v = 0; v < 5; ++v)
        for (int u = 0; u < 5; ++u) {
          const uint32_t c = Pixel(5 * x + u, 5 * y + v);
          summe[0] += c >> 16 & 255, summe[1] += c >> 8 & 255, summe[2] += c & 255;
        }
      klein.SetPixel(
          x, y, platform::PackPixel(klein.Format(), (summe[0] + 12) / 25, (summe[1] + 12) / 25, (summe[2] + 12) / 25));
    }
  return klein;
}

class Background : public ::testing::Test {
 protected:
  void SetUp() override { Oeffnen(platform::PixelFormat::XRGB8888); }
  void TearDown() override {
    worlddraw::CloseDisplay();
    FreeLevelCatalogues();
    testsupport::FreshState();
  }
  void Oeffnen(platform::PixelFormat format) {
    platform::headless::Reset();
    platform::headless::SetClock(123456);
    testsupport::FreshState();
    worlddraw::OpenDisplay(format);
    Bilder();
    SetRndState(12345);
    LevelTick = 0;
    LevelLaenge = 3000;
    Wetter = 0;
    HintergrundX = 0;
    HintergrundInit = true;
  }
  // The level picture as the previous frame, for the modes that draw over it.
  void LevelbildDavor() {
    HintergrundModus = 1;
    Schritt();
  }
  // `n` ticks of mode `modus`, 16 ms apart.
  void Ticks(int32_t modus, int n) {
    HintergrundModus = modus;
    for (int i = 0; i < n; ++i) {
      Schritt();
      ++LevelTick;
      platform::headless::AdvanceClock(16);
    }
  }
};

}  // namespace

TEST_F(Background, EachModeMatchesItsReferenceFrame) {
  struct Fall {
    const char* datei;
    int32_t modus;
    bool davor;  // drawn over the level picture
    int ticks;
    int32_t start = 0;
    int32_t wetter = 0;
    int tiefe = 32;
  } faelle[] = {
      {"bleach", -2, true, 6},           {"red_veil", -1, true, 6},          {"trails_in_haze", 0, true, 8, 0, 2},
      {"level_picture", 1, false, 1},    {"glow_and_streaks", 2, false, 40}, {"snow_veil", 3, true, 1},
      {"circles", 4, false, 40},         {"plasma", 5, false, 40, 1000},     {"plasma", 5, false, 40, 1000, 0, 16},
      {"star_flight", 6, false, 40, 60},
  };
  for (const Fall& f : faelle) {
    const std::string name = std::string(f.datei) + "_" + std::to_string(f.tiefe);
    SCOPED_TRACE(name);
    worlddraw::CloseDisplay();
    Oeffnen(f.tiefe == 16 ? platform::PixelFormat::RGB565 : platform::PixelFormat::XRGB8888);
    Ebenen[0].Speed = 2;
    HintergrundX = -300;
    if (f.davor) LevelbildDavor();
    LevelTick = f.start;
    Wetter = f.wetter;
    Ticks(f.modus, f.ticks);
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/background_" + name + ".bmp", Vorschau(),
                                                {0, 0, 160, 120}),
              "");
  }
}

TEST_F(Background, TheLevelPictureScrollsWithLayer0) {
  // Speed 2: 0, -2, ..., -798, and -800 is 0 again.
  Ebenen[0].Speed = 2;
  Rendern = false;
  std::vector<float> versatz;
  for (int i = 0; i < 401; ++i) {
    Ticks(1, 1);
    versatz.push_back(HintergrundX);
  }
  Rendern = true;
  EXPECT_EQ(std::vector<float>({versatz[0], versatz[398], versatz[399], versatz[400]}),
            std::vector<float>({-2, -798, 0, -2}));
  // Two copies side by side: at -24 the marker stripe (columns 20..27) shows at -4..3 in
  // the first and at 796..803 in the second.
  HintergrundX = -22;
  Ticks(1, 1);
  std::vector<bool> streifen;
  for (int x : {0, 3, 4, 795, 796, 799}) streifen.push_back(Pixel(x, 100) == 0xFFE040u);
  EXPECT_EQ(streifen, (std::vector<bool>{true, true, false, false, true, true}));

  // Scrolling to the right it is never wrapped.
  Ebenen[0].Speed = -3;
  HintergrundX = 0;
  Ticks(1, 300);
  EXPECT_EQ(HintergrundX, 900);
}

TEST_F(Background, StarFlightSpeedsUpToItsDepthClassesSpeeds) {
  struct Fall {
    int32_t tick;
    std::vector<float> tempo;  // points 0, 25, 50, 75 and 100
  } faelle[] = {
      {0, {1, 1, 1, 1, 1}},
      {50, {1, 1, 1, 1, 1}},
      {90, {8, 10, 10, 10, 10}},
      {200, {8, 10, 12, 14, 16}},
  };
  for (const Fall& f : faelle) {
    Rendern = false;
    HintergrundInit = true;
    LevelTick = f.tick;
    HintergrundModus = 6;
    SpielMoveHintergrund();
    std::vector<float> tempo;
    for (int i : {0, 25, 50, 75, 100}) tempo.push_back(HintergrundPunkte[i].Wert[0]);
    EXPECT_EQ(tempo, f.tempo) << f.tick;
  }
}

TEST_F(Background, WhatEachModeDoesOnAFrameNotDrawnAndWhatOtherModesDo) {
  struct Fall {
    int32_t modus;
    bool rendern;
    bool bewegt;     // the points or the picture's offset move (points set up on request)
    int32_t wetter;  // as the mode leaves it
  } faelle[] = {
      {-2, false, false, 0}, {-1, false, false, 0}, {0, false, false, 0}, {1, false, true, 0},
      {2, false, true, 0},   {3, false, false, 0},  {4, false, true, 0},  {5, false, true, 2},
      {6, false, true, 0},   {7, true, false, 0},   {-3, true, false, 0}, {-2147483647 - 1, true, false, 0},
  };
  Ebenen[0].Speed = 3;
  for (const Fall& f : faelle) {
    LevelbildDavor();
    Rendern = f.rendern;
    Wetter = 0;
    HintergrundInit = true;
    OverlayKopie = false;
    const std::vector<uint32_t> davor = Frame();
    const float x = HintergrundX, px = HintergrundPunkte[10].X;
    Ticks(f.modus, 2);
    EXPECT_EQ(Frame(), davor) << f.modus;
    EXPECT_EQ(HintergrundX != x || HintergrundPunkte[10].X != px, f.bewegt) << f.modus;
    const bool punkte = f.modus == 2 || (f.modus >= 4 && f.modus <= 6);
    EXPECT_EQ(HintergrundInit, !punkte) << f.modus;
    EXPECT_EQ(Wetter, f.wetter) << f.modus;
    EXPECT_EQ(OverlayKopie, f.modus == 2 || f.modus == 4 || f.modus == 5) << f.modus;
    Rendern = true;
  }
}

TEST_F(Background, Mode5sBandGrowsToFullOpacityByTheMiddleOfTheLevel) {
  struct Fall {
    int32_t tick, laenge;
    int32_t alpha;  // of the band's quad
  } faelle[] = {
      {0, 1000, 0}, {250, 1000, 128}, {500, 1000, 255}, {900, 1000, 255}, {100, 0, 255}, {100, -50, 255},
  };
  for (const Fall& f : faelle) {
    LevelTick = f.tick;
    LevelLaenge = f.laenge;
    Ticks(5, 1);
    EXPECT_EQ(static_cast<uint32_t>(Surfaces[TexBalken].Vertex[0].color) >> 24, static_cast<uint32_t>(f.alpha))
        << f.tick << " of " << f.laenge;
    EXPECT_EQ(Surfaces[TexBalken].Vertex[1].sy, 200 - f.tick / 10.0f) << f.tick;
  }
}
