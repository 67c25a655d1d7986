#include "shot_scene.hpp"

#include <algorithm>
#include <cmath>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/headless/headless.hpp"
#include "player/shots.hpp"
#include "player/players_state.hpp"
#include "ship_support.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "world/draw_support.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace shotscene {

namespace {

uint32_t Rgb(double r, double g, double b) {
  const auto k = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255 + 0.5); };
  return 0xFF000000u | k(r) << 16 | k(g) << 8 | k(b);
}

// A soft white disc: the glow the heads and bursts are tinted with.
int32_t Glow(int size) {
  return worlddraw::Picture(size, size, true, true, [=](int x, int y) {
    const double d = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) / (size / 2.0);
    return d >= 1 ? 0u : Rgb(1 - d * d, 1 - d * d, 1 - d * d);
  });
}

// The pictures of the shots and of the effects they leave, told apart by colour and shape.
void Pictures() {
  TexKreis2 = Glow(16);
  TexWeiss = worlddraw::Solid(4, 4, 0xFFFFFFFFu, true);
  // The bar of lines and ribbons: bright in the middle, darker to its long edges.
  TexBalken = worlddraw::Picture(16, 8, true, true, [](int, int y) {
    const double v = 1 - std::abs(2 * y - 7) * 0.12;
    return Rgb(v, v, v);
  });
  for (int n = 0; n < 4; ++n) TexFeuer[n] = worlddraw::Picture(16, 16, true, true, [n](int x, int y) {
      const double d = std::hypot(x - 7.5, y - 7.5) / 8;
      return d >= 1 ? 0u : Rgb(1, 0.3 + 0.15 * n, 0.1);
    });
  for (int n = 0; n < 7; ++n) TexRauch[n] = worlddraw::Picture(16, 16, true, true, [n](int x, int y) {
      const double d = std::hypot(x - 7.5, y - 7.5) / 8;
      return d >= 1 ? 0u : Rgb(0.6 - 0.05 * n, 0.6 - 0.05 * n, 0.6 - 0.05 * n);
    });
  TexWave = worlddraw::Picture(16, 16, true, true, [](int x, int y) {
    const double d = std::hypot(x - 7.5, y - 7.5) / 8;
    return d >= 1 || d < 0.7 ? 0u : Rgb(0.4, 0.8, 1);
  });
  // The bomb: a dark body pointing right with red fins, so its tilt shows.
  TexBombe = worlddraw::Picture(32, 32, true, true, [](int x, int y) {
    if (std::abs(y - 15.5) < 5 && x > 6 && x < 28) return Rgb(0.35, 0.35, 0.45);
    if (x <= 6 && std::abs(y - 15.5) < 9) return Rgb(0.9, 0.2, 0.1);
    return 0u;
  });
  // The rocket: 32 x 12, nose to the right.
  TexRakete = worlddraw::Picture(32, 12, true, true, [](int x, int y) {
    if (x > 26) return std::abs(y - 5.5) < 32 - x ? Rgb(1, 0.9, 0.2) : 0u;
    return std::abs(y - 5.5) < 4 ? Rgb(0.6, 0.6, 0.7) : 0u;
  });
  // The homing missile: 32 x 32, a slim green body along the middle, nose to the right.
  TexRakete2 = worlddraw::Picture(32, 32, true, true, [](int x, int y) {
    if (std::abs(y - 15.5) < 3 && x > 4 && x < 27) return Rgb(0.3, 0.9, 0.3);
    if (x >= 27 && std::abs(y - 15.5) < 31 - x) return Rgb(1, 1, 1);
    return 0u;
  });
}

}  // namespace

void ShotTest::SetUp() {
  platform::headless::Reset();
  testsupport::FreshState();
  worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
  Pictures();
  block = shiptest::BlockSprite(20, 20);
  big = shiptest::BlockSprite(60, 60);
  // Sparks draw random numbers of their own: each test that wants them turns them on.
  PartikelAn = false;
  SoundAn = false;
  LevelTick = 1;
  Schwerkraft = 0;
  SetRndState(4711);
}

void ShotTest::TearDown() {
  worlddraw::CloseDisplay();
  SpriteDefs.clear();
  for (LevelEbene& e : Ebenen) e = LevelEbene{};
  testsupport::FreshState();
}

void ShotTest::Tick(int32_t group) {
  RenderStart();
  SpielMoveSchuss(group);
  RenderEnd();
}

int32_t ShotTest::Shot(int32_t group, int32_t kind, float x, float y, float sx, float sy, float force,
                       float strength) {
  AddSchuss(group, kind, x, y, sx, sy, force, strength, 0);
  return Schuesse[group].Frei - 1;
}

Feindkomponente& ShotTest::Part(int32_t e, int32_t sprite, float x, float y, float hp) {
  return shiptest::Enemy(e, sprite, x, y, hp).Typ.Komponenten[0];
}

void ShotTest::Rock(int32_t i, int32_t sprite, float x, float y) { shiptest::Rock(i, sprite, x, y); }

int32_t ShotTest::LiveBigParticles() {
  int32_t n = 0;
  for (const BigPartikelDaten& p : BigPartikel.Slot) n += p.Aktiv != 0;
  return n;
}

int32_t ShotTest::LiveSmallParticles(int32_t group) {
  int32_t n = 0;
  for (const PartikelDaten& p : Partikel[static_cast<size_t>(group)].Slot) n += p.Aktiv != 0;
  return n;
}

const BigPartikelDaten& NewestBig() { return BigPartikel[std::max(BigPartikel.Max, 0)]; }

}  // namespace shotscene
