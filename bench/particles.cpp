// The particles of one busy tick: a full effect-particle pool (4,001) and both full
// small-particle groups (3,002) moved and drawn into an 800 x 600 XRGB8888 back buffer,
// as the game loop runs them (group 0, then group 1 and the effect particles). Each
// iteration starts again from the same filled pools and the same random sequence.
//
// Workloads:
//   explosions - the pool filled by the game's own explosion creator over rectangles of
//                64 to 128 pixels (fire glows and fire puffs of 64 pixels, growing): the
//                worst case, a screen full of large additive puffs;
//   mixed      - what a crowded fight leaves: sparkles, streaks, smoke, rings and glows
//                of 8 to 48 pixels, fire puffs of 32, a few lightning boxes and lenses;
//   sparks     - sparkles and glows of 8 pixels only: the cost of a quad beyond its
//                pixels;
//   move only  - the mixed pools in frames that are not drawn (the logic alone).
//
// Goal: moved and drawn under 3 ms per tick on one core (a fifth of the 16 ms tick).
// The counters give milliseconds per tick and the share of the 16 ms tick.
//
//   build/bench/bench_particles
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

using platform::PixelFormat;

// A texture of `w` x `h` coloured by `argb` of the distance from its centre (0 there, 1 at
// the nearer edge): an alpha texture, or a plain one whose black is transparent.
int32_t Textur(int w, int h, bool alpha, const std::function<uint32_t(double d)>& argb) {
  return testsupport::PaintedPicture(w, h, alpha ? PixelFormat::ARGB8888 : PixelFormat::XRGB8888, !alpha,
                                     [&](int x, int y) {
                                       return argb(std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) /
                                                   (std::min(w, h) / 2.0));
                                     });
}

uint32_t Weich(double d, uint32_t rgb) {
  const double a = d >= 1 ? 0 : 1 - d;
  return (static_cast<uint32_t>(a * 255) << 24) | rgb;
}

void Anzeige() {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  uint32_t m[3];
  BackBufferMasks(m[0], m[1], m[2]);
  for (int c = 0; c < 3; ++c) GetMaskFactors(m[c], FarbFaktoren[c].Div, FarbFaktoren[c].Mul);
  // The pictures with an alpha mate in the game are alpha textures here too.
  TexWeiss = Textur(8, 8, false, [](double) { return 0xFFFFFFu; });
  TexKreis2 = Textur(64, 64, true, [](double d) { return Weich(d, 0xFFE0C0); });
  TexWave = Textur(64, 64, true, [](double d) { return Weich(std::abs(d - 0.8) * 5, 0x80C0FF); });
  TexWave2 = Textur(64, 64, true, [](double d) { return Weich(std::abs(d - 0.7) * 4, 0xFF80C0); });
  TexStrich = Textur(64, 16, false, [](double d) { return d < 0.9 ? 0xC0FFC0u : 0u; });
  TexGlitzer = Textur(32, 32, false, [](double d) { return d < 0.5 ? 0xFFFF80u : 0u; });
  for (uint32_t n = 0; n < 4; ++n)
    TexFeuer[n] = Textur(64, 64, true, [n](double d) { return Weich(d, 0xFF6020u + 0x1000u * n); });
  for (uint32_t n = 0; n < 7; ++n)
    TexRauch[n] = Textur(64, 64, true, [n](double d) { return Weich(d, 0x010101u * (200 - 20 * n)); });
  TexBalken = Textur(16, 8, false, [](double) { return 0xE0E0FFu; });
  TexBlur = Textur(256, 256, false, [](double) { return 0x202020u; });
  TexBlurB = Textur(256, 256, false, [](double) { return 0x202020u; });
  Wasserstand = 0;
  Schwerkraft = 0.05f;
}

// Both small groups full: sparks scattered over the play area.
void KleinePartikel() {
  for (int32_t g = 0; g < 2; ++g)
    while (Partikel[g].Max < Partikel[g].Kapazitaet) AddPartikel(g, 50, 20, 20, 780, 530, g == 1);
}

void Explosionen() {
  while (HatPlatz(BigPartikel)) {
    const float x = Rnd() * 700, y = Rnd() * 450, w = 64 + Rnd() * 64, h = 64 + Rnd() * 64;
    AddExplosionsPartikel(x, y, x + w, y + h);
  }
}

void Gemischt() {
  for (int32_t k = 0; k <= BigPartikel.Kapazitaet; ++k) {
    const float x = Rnd() * 760, y = Rnd() * 520, r = Rnd();
    const int32_t wahl = k % 20;
    if (wahl < 5)
      Add1BigPartikel(x, y, Rnd() * 4 - 2, Rnd() * 4 - 2, 1, r, 0.5f, 12, 0, 40, 14, 0.2f);  // sparkles
    else if (wahl < 8)
      Add1BigPartikel(x, y, 0, 0, 1, 1, r, 16, 0, 40, 15, Rnd() * 360);  // streaks
    else if (wahl < 12)
      Add1BigPartikel(x, y, Rnd() - 0.5f, -0.5f, 1, 1, 1, 24, 0, 40, 10, 0.5f);  // smoke
    else if (wahl < 16)
      Add1BigPartikel(x, y, Rnd() - 0.5f, Rnd() - 0.5f, 0.9f, 0.42f, 0.25f, 32, 0, 40, 6 + (k % 4), 0);  // fire
    else if (wahl < 18)
      Add1BigPartikel(x, y, 0, 0, 1, r, 0.3f, 8, 0, 40, 1 + (k % 2), 1);  // glows and rings
    else if (k % 400 == 19)
      Add1BigPartikel(x, y, 0, 0, 1, 1, 1, 48, 0, 40, 11, 0.5f);  // lenses
    else if (k % 400 == 39)
      Add1BigPartikel(x, y, 0, 0, 0.5f, 0.6f, 1, 40, 0, 40, 0, 40);  // lightning
    else
      Add1BigPartikel(x, y, 0, 0, 1, 1, 1, 16, 0, 40, 13, Rnd() * 360);  // small rings
  }
}

// Only small effects: sparkles and glows of 8 pixels (what a quad costs beyond its pixels).
void Funken() {
  for (int32_t k = 0; k <= BigPartikel.Kapazitaet; ++k)
    Add1BigPartikel(Rnd() * 790, Rnd() * 540, Rnd() * 2 - 1, Rnd() * 2 - 1, 1, 0.8f, 0.4f, 8, 0, 40, k % 2 ? 14 : 16,
                    0);
}

struct Stand {
  decltype(Partikel) klein;
  decltype(BigPartikel) gross;
  uint32_t rnd;
};

// One tick from the filled pools; only the moving and drawing is timed.
double Tick(const Stand& s, bool zeichnen) {
  Partikel = s.klein;
  BigPartikel = s.gross;
  SetRndState(s.rnd);
  BackBuffer->BltColorFill(nullptr, 0);
  Rendern = zeichnen;
  const auto t0 = std::chrono::steady_clock::now();
  RenderStart();
  MovePartikel(0);
  MovePartikel(1);
  MoveBigPartikel();
  RenderEnd();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Lauf(benchmark::State& state, void (*fuellen)(), bool zeichnen) {
  Anzeige();
  SetRndState(4711);
  KleinePartikel();
  fuellen();
  static Stand s;  // a quarter megabyte: not on the stack
  s = {Partikel, BigPartikel, RndState()};
  double summe = 0;
  for (auto _ : state) {
    const double t = Tick(s, zeichnen);
    state.SetIterationTime(t);
    summe += t;
  }
  const double ms = state.iterations() ? 1e3 * summe / static_cast<double>(state.iterations()) : 0;
  state.counters["ms_per_tick"] = ms;
  state.counters["share_of_16ms"] = ms / 16;
  state.counters["particles"] = s.gross.Max + 1 + s.klein[0].Max + 1 + s.klein[1].Max + 1;
  D3DDevice.reset();
  BackBuffer.reset();
}

void BM_Explosionen(benchmark::State& state) { Lauf(state, Explosionen, true); }
void BM_Gemischt(benchmark::State& state) { Lauf(state, Gemischt, true); }
void BM_Funken(benchmark::State& state) { Lauf(state, Funken, true); }
void BM_NurBewegen(benchmark::State& state) { Lauf(state, Gemischt, false); }

}  // namespace

BENCHMARK(BM_Explosionen)->Name("particles/explosions")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Gemischt)->Name("particles/mixed")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Funken)->Name("particles/sparks")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_NurBewegen)->Name("particles/move_only")->Unit(benchmark::kMillisecond)->UseManualTime();

BENCHMARK_MAIN();
