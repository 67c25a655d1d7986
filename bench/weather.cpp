// Water and weather, one tick each, drawn into an 800 x 600 XRGB8888 back buffer over a
// level picture, as the game loop runs them near the end of the frame.
//
// Workloads:
//   water 550       - all water: refraction strips over the whole play area, the surface
//                     band, 28 sparkles (a sparkle tick), a ship bubbling in it;
//   rain 499        - 500 drops falling over 101 solid rocks of 64 x 64 on layer 3 (each
//                     drop tests them every tick) and splashing on them and the bottom;
//   water and rain  - 500 drops over the rocks and water 300 deep in one tick (in water
//                     550 deep every drop would splash at once at the top);
//   snow, haze,
//   rain sheets     - each weather mode: 60 tiles of 256 x 256 added, 60 haze streaks of
//                     300 to 400 x 150 blended, 40 rain sheets of 256 x 256 added.
//
// Goals on one core: water and rain together under 1 ms a tick, the heaviest weather mode
// under 3 ms. The counters give milliseconds per tick and the share of the 16 ms tick.
// Each iteration starts from the same state and random sequence.
//
// Where the time goes: nearly all of it in the rasteriser's spans. The water's surface is
// two quads over the whole water with a colour gradient (the Gouraud span), the haze 60
// filtered stretches of 300 to 400 x 150 pixels (the linear-filter span); the drops, the
// refraction copies and the snow and rain tiles cost little beside them.
//
//   build/bench/bench_weather
#include "world/weather.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "platform/band_queue.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/water.hpp"
#include "world/weather_support.hpp"

namespace {

using platform::PixelFormat;

uint32_t Hash(uint32_t k) {
  k = (k + 1) * 0x9E3779B9u;
  k = (k ^ k >> 16) * 0x85EBCA6Bu;
  return (k ^ k >> 13) * 0xC2B2AE35u;
}

int32_t Bild(int w, int h, PixelFormat f, bool key, const testsupport::Painter& p) {
  return testsupport::PaintedPicture(w, h, f, key, p);
}

int32_t Levelbild = -1;

void Anzeige() {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  SoundAn = false;
  Rendern = true;
  HintergrundModus = 1;
  TexWeiss = Bild(8, 8, PixelFormat::XRGB8888, true, [](int, int) { return 0xFFFFFFFFu; });
  TexBalken = Bild(16, 8, PixelFormat::XRGB8888, true, [](int, int) { return 0xFFE0E0FFu; });
  TexFeuer[0] = Bild(64, 64, PixelFormat::ARGB8888, false, [](int x, int y) {
    const double d = std::min(1.0, std::hypot(x - 31.5, y - 31.5) / 32);
    return static_cast<uint32_t>((1 - d) * 255) << 24 | 0xFFC080u;
  });
  // Snow tiles with 30 to 60 flakes, the rain tile with its streaks.
  for (int l = 0; l < 3; ++l) {
    TexWetter[l] = Bild(256, 256, PixelFormat::XRGB8888, true, [l](int x, int y) {
      for (uint32_t k = 0; k < 30u + 15u * l; ++k) {
        const uint32_t h = Hash(k + 100u * l);
        const int dx = x - static_cast<int>(h >> 24), dy = y - static_cast<int>(h >> 8 & 255);
        if (dx * dx + dy * dy <= 5 - l) return 0xFFF0F4FFu;
      }
      return 0xFF000000u;
    });
    SetUpColor(TexWetter[l], 1, 1, 1, 0.8f);
  }
  Levelbild = Bild(800, 600, PixelFormat::XRGB8888, false, [](int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(30 + y / 5) << 8 | static_cast<uint32_t>(60 + (x ^ y) % 64);
  });
  WasserDaten = {0.3f, 0.6f, 0.9f, 0.0f, 0.1f, 0.3f};
  // A ship in the water, out of the rain's way.
  Spieler[0].X = 100;
  Spieler[0].Y = 300;
  Schiff[0].BoxLinks = 8, Schiff[0].BoxOben = 16, Schiff[0].BoxRechts = 56, Schiff[0].BoxUnten = 48;
}

// 101 rocks of 64 x 64 along the floor and the ceiling, as in a cave.
void Felsen() {
  const int32_t sprite = weathertest::Block(64, 64);
  for (int32_t i = 0; i <= Landschaft[3].Kapazitaet(); ++i)
    weathertest::Fels(i, sprite, static_cast<float>((i * 16) % 820 - 20), i % 2 ? 486.0f : -30.0f);
}

// The raindrops spread out over the screen, as after a while of rain.
void Regen() {
  RegenAnzahl = 499;
  ResetRaindrops();
  Rendern = false;
  for (int i = 0; i < 100; ++i) SpielRegen();
  Rendern = true;
}

struct Stand {
  decltype(Regentropfen) tropfen;
  decltype(WetterTeile) teile;
  float wind;
  uint32_t rnd;
};

void Lauf(benchmark::State& state, int32_t wasser, bool regen, int32_t wetter) {
  Anzeige();
  Felsen();
  SetRndState(4711);
  if (regen) Regen();
  Wasserstand = wasser;
  Wetter = wetter;
  WetterInit = wetter != 0;
  if (wetter == 3)
    for (int l = 0; l < 3; ++l) SetUpColor(TexWetter[l], 1, 1, 1, 0.4f);
  RenderStart();
  SpielSchnee();  // places the weather's particles
  RenderEnd();
  const Stand s{Regentropfen, WetterTeile, Windphase, RndState()};
  double summe = 0;
  for (auto _ : state) {
    Regentropfen = s.tropfen;
    WetterTeile = s.teile;
    Windphase = s.wind;
    SetRndState(s.rnd);
    BigPartikel.Reset();
    Partikel[0].Reset();
    Blasen.Reset();
    LevelTick = 0;  // a sparkle tick
    RenderStart();
    ShowSprite(Levelbild, 0, 0, false);
    platform::bands::RunPending();  // the background drawn before the clock starts
    const auto t0 = std::chrono::steady_clock::now();
    if (regen) SpielRegen();
    if (wasser > 0) SpielWasser();
    if (wetter > 0) SpielSchnee();
    platform::bands::RunPending();  // what the weather recorded, drawn by the threads
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    RenderEnd();
    state.SetIterationTime(t);
    summe += t;
  }
  const double ms = state.iterations() ? 1e3 * summe / static_cast<double>(state.iterations()) : 0;
  state.counters["ms_per_tick"] = ms;
  state.counters["share_of_16ms"] = ms / 16;
  RegenAnzahl = 0;
  Wasserstand = 0;
  Wetter = 0;
  SpriteDefs.clear();
  D3DDevice.reset();
  BackBuffer.reset();
}

void BM_Wasser(benchmark::State& state) { Lauf(state, 550, false, 0); }
void BM_Regen(benchmark::State& state) { Lauf(state, 0, true, 0); }
void BM_WasserUndRegen(benchmark::State& state) { Lauf(state, 300, true, 0); }
void BM_Schnee(benchmark::State& state) { Lauf(state, 0, false, 1); }
void BM_Dunst(benchmark::State& state) { Lauf(state, 0, false, 2); }
void BM_Regenvorhang(benchmark::State& state) { Lauf(state, 0, false, 3); }

}  // namespace

BENCHMARK(BM_Wasser)->Name("weather/water_550")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Regen)->Name("weather/rain_499_over_101_rocks")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_WasserUndRegen)->Name("weather/water_300_and_rain_499")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Schnee)->Name("weather/snow")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Dunst)->Name("weather/haze")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Regenvorhang)->Name("weather/rain_sheets")->Unit(benchmark::kMillisecond)->UseManualTime();

BENCHMARK_MAIN();
