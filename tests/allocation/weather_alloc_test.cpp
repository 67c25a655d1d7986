// Water, raindrops and every weather mode allocate nothing per tick once the weather's
// pictures are there: drops, weather particles, splashes and bubbles reuse their arrays
// and pools.
#include <gtest/gtest.h>

#include "campaign/game_loop_state.hpp"
#include "counting_new.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/enemies_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/water.hpp"
#include "world/weather.hpp"
#include "world/weather_support.hpp"

using alloccount::AllocationsDuring;

namespace {

int32_t Weisses(int w, int h) {
  return testsupport::PaintedPicture(w, h, platform::PixelFormat::XRGB8888, true, [](int, int) { return 0xFFFFFFFFu; });
}

// A tick with water 300 deep, 200 drops over a rock, and weather mode `wetter`: a ship, a
// beam and an enemy in the surface, so everything splashes and bubbles.
void Tick(int32_t wetter) {
  Wetter = wetter;
  RenderStart();
  SpielRegen();
  SpielWasser();
  SpielSchnee();
  RenderEnd();
  ++LevelTick;
  BigPartikel.Reset();
  Partikel[0].Reset();
  Blasen.Reset();
}

}  // namespace

TEST(WeatherAllocatesNothing, WaterRainAndEveryMode) {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  Rendern = true;
  SoundAn = false;
  HintergrundModus = 1;
  TexWeiss = TexBalken = TexBlase = Weisses(16, 16);
  TexFeuer[0] = Weisses(64, 64);
  for (int32_t& t : TexWetter) t = Weisses(256, 256);
  weathertest::Fels(0, weathertest::Block(100, 100), 350, 300);
  Wasserstand = 300;
  RegenAnzahl = 199;
  ResetRaindrops();
  Spieler[0].X = 100;
  Spieler[0].Y = 230;
  Schiff[0].BoxOben = 16, Schiff[0].BoxUnten = 48, Schiff[0].BoxRechts = 56;
  Beam[0].Fliegt = -1;
  Beam[0].X = 500, Beam[0].Y = 240, Beam[0].StartY = 240, Beam[0].Breite = 40;
  GegnerListe[0].Aktiv = -1;
  GegnerListe[0].X = 600, GegnerListe[0].Y = 230;
  GegnerListe[0].Typ.Width = 150, GegnerListe[0].Typ.Height = 60;
  GegnerMax = 0;

  for (int32_t wetter = 1; wetter <= 3; ++wetter) {
    WetterInit = true;
    for (int i = 0; i < 3; ++i) Tick(wetter);
  }
  const int64_t n = AllocationsDuring([] {
    for (int32_t wetter = 0; wetter <= 3; ++wetter)
      for (int i = 0; i < 10; ++i) Tick(wetter);
  });
  EXPECT_EQ(n, 0);

  Beam = {};
  GegnerListe[0].Aktiv = 0;
  SpriteDefs.clear();
  Wasserstand = 0;
  RegenAnzahl = 0;
  testsupport::FreshState();
  D3DDevice.reset();
  BackBuffer.reset();
}
