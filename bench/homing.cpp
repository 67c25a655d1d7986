// One tick of both player-shot groups full of homing shots: 2 x 1,001 homing missiles
// (kind 13) or beam-burst shots (kind 14) among 101 enemies of 4 components each (32 x 32
// squares that never die). Every shot looks for the nearest target, turns, moves, tests its
// box against the enemies and the scenery, and explodes with its blast where it touches
// one; each exploded or departed shot is replaced before the next tick (not timed), and
// the particle pools are emptied (not timed), so every tick is as busy as the first few.
//
//   logic - the tick not drawn (`Rendern` false): the goal is under 2 ms on one core;
//   drawn - the same tick drawn into an 800 x 600 back buffer (each missile a turned
//           quad, its aiming line and its exhaust; each burst its ribbon and glow).
//
// Counters: "tick_share" the timed part of a tick as a share of the 16 ms tick; "ms" the
// same in milliseconds; "replaced" the shots that exploded or left per tick.
//
//   build/bench/bench_homing
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "player/shots.hpp"
#include "player/shots_state.hpp"
#include "platform/surface.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/enemies_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"

namespace {

// A square part of side `d`, opaque all over, with its opaque-edge profile.
int32_t Teil(int32_t d) {
  const int32_t nr = testsupport::PaintedPicture(d, d, platform::PixelFormat::XRGB8888, true,
                                                 [](int, int) { return 0xFF8090A0u; });
  SurfaceInfo& s = Surfaces[nr];
  s.RandLinks.assign(static_cast<size_t>(d), 0);
  s.RandRechts.assign(static_cast<size_t>(d), d - 1);
  s.ErsteZeile = 0;
  s.LetzteZeile = d - 1;
  s.RandMinX = 0;
  s.RandMaxX = d - 1;
  return nr;
}

// A sprite definition of four frames, each a picture of its own as in a level.
int32_t Sprite() {
  SpriteDef def;
  for (int f = 0; f < 4; ++f) def.Frames.push_back(SpriteFrame{.Surface = Teil(32)});
  SpriteDefs.push_back(std::move(def));
  return SpriteDefsMax();
}

int32_t Bild(int w, int h, uint32_t farbe) {
  return testsupport::PaintedPicture(w, h, platform::PixelFormat::XRGB8888, true, [=](int x, int y) {
    return std::abs(y - h / 2) < h / 4 || x > w / 2 ? farbe : 0u;
  });
}

void Szene() {
  testsupport::FreshState();
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  TexKreis2 = Bild(16, 16, 0xFFFFFFFFu);
  TexBalken = Bild(16, 8, 0xFFC0C0C0u);
  TexRakete2 = Bild(32, 32, 0xFF40E040u);
  TexWeiss = Bild(4, 4, 0xFFFFFFFFu);
  for (int32_t& f : TexFeuer) f = Bild(16, 16, 0xFFFF8020u);
  for (int32_t& r : TexRauch) r = Bild(16, 16, 0xFF808080u);
  std::vector<int32_t> teile;
  for (int i = 0; i < 8; ++i) teile.push_back(Sprite());
  for (int32_t e = 0; e <= GegnerListe.Kapazitaet; ++e) {
    Gegner& g = GegnerListe[e];
    g.Aktiv = VBTrue;
    g.X = static_cast<float>(400 + (e * 37) % 360);
    g.Y = static_cast<float>(20 + (e * 53) % 480);
    g.Typ.Komponenten.clear();
    for (int c = 0; c < 4; ++c)
      g.Typ.Komponenten.push_back(Feindkomponente{.OffsetX = 24.0f * (c % 2), .OffsetY = 24.0f * (c / 2),
                                                  .HP = 1e30f, .Sprite = teile[(e + c) % 8], .AniA = (e * 3 + c) % 4,
                                                  .Lebt = VBTrue});
  }
  GegnerMax = GegnerListe.Kapazitaet;
  SoundAn = false;
}

// Both groups filled up again with shots of `art` over the left half of the screen.
int32_t Auffuellen(int32_t art, uint32_t& zufall) {
  int32_t neu = 0;
  for (int32_t gruppe = 0; gruppe < 2; ++gruppe)
    for (;;) {
      zufall = zufall * 1664525u + 1013904223u;
      const float x = static_cast<float>((zufall >> 8) % 380), y = static_cast<float>((zufall >> 4) % 530);
      const float kurs = static_cast<float>((zufall >> 20) % 360);
      // A shot that found a slot moves the first-free hint past it.
      const int32_t frei = SchussFrei(gruppe);
      AddSchuss(gruppe, art, x, y, 6, 0, kurs, 2, 0);
      if (SchussFrei(gruppe) == frei) break;
      ++neu;
    }
  return neu;
}

void BM_Lenkschuesse(benchmark::State& state) {
  const auto art = static_cast<int32_t>(state.range(0));
  const bool gezeichnet = state.range(1) != 0;
  Szene();
  uint32_t zufall = 2024;
  Auffuellen(art, zufall);
  double sekunden = 0;
  int64_t ersetzt = 0, ticks = 0;
  for (auto _ : state) {
    Rendern = gezeichnet;
    const auto start = std::chrono::steady_clock::now();
    if (gezeichnet) RenderStart();
    SpielMoveSchuss(0);
    SpielMoveSchuss(1);
    if (gezeichnet) RenderEnd();
    const double dauer = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(dauer);
    sekunden += dauer;
    ++ticks;
    ersetzt += Auffuellen(art, zufall);
    for (auto& g : Partikel) g.Reset();
    BigPartikel.Reset();
  }
  const double proTick = sekunden / static_cast<double>(std::max<int64_t>(ticks, 1));
  state.counters["tick_share"] = proTick / 0.016;
  state.counters["ms"] = proTick * 1000;
  state.counters["replaced"] = static_cast<double>(ersetzt) / static_cast<double>(std::max<int64_t>(ticks, 1));
  testsupport::CloseDisplay();
  SpriteDefs.clear();
  testsupport::FreshState();
}
// Kind 13 and kind 14, each not drawn and drawn.
BENCHMARK(BM_Lenkschuesse)
    ->Args({13, 0})
    ->Args({14, 0})
    ->Args({13, 1})
    ->Args({14, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
