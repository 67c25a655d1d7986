// One tick of the enemy shots at a full pool: 501 shots, a quarter each of standard shots
// with afterimages, turned sprite shots with glowing ribbons, blitted sprite shots with
// ribbons and plain sprite shots, all flying across the screen, moved, tested against the
// ships and the scenery and drawn into the headless 800 x 600 back buffer. Each tick
// starts from a copy of the same pool (the copy is timed too, a few microseconds), so
// every tick is the same. The "tick_share" column is the
// time of one tick as a share of the 16 ms tick; arg 0 is a frame that is not drawn.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/enemy_shots.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"

namespace {

int32_t Bild(int w, int h, bool quad, uint32_t farbe) {
  const int32_t nr = testsupport::PaintedPicture(w, h, BackBuffer->Format(), true, [=](int x, int y) {
    const int dx = 2 * x + 1 - w, dy = 2 * y + 1 - h;
    return dx * dx * h * h + dy * dy * w * w < w * w * h * h ? farbe : 0xFF000000u;
  });
  Surfaces[static_cast<size_t>(nr)].D3DSprite = quad;
  return nr;
}

void Szene() {
  testsupport::FreshState();
  FillSinTables();
  Surfaces.clear();
  BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  SoundAn = false;
  TexBalken = Bild(16, 8, true, 0xFFFFFFFF);
  TexGSchuss = {Bild(16, 16, true, 0xFFFF6040), Bild(16, 16, true, 0xFFFFA080)};
  SpriteDefs = {SpriteDef{.Frames = {SpriteFrame{.Surface = Bild(24, 8, true, 0xFF60C0FF)}}},
                SpriteDef{.Frames = {SpriteFrame{.Surface = Bild(12, 12, false, 0xFF60FF60)}}}};
  SchussTypen = {
      SchussTypDaten{.Spur = 1},
      SchussTypDaten{.Leuchten = -1, .Aussehen = 1, .Sprite = 0, .Spur = 2, .Drehen = -1, .R = 0.3f, .G = 0.8f, .B = 1},
      SchussTypDaten{.Aussehen = 1, .Sprite = 1, .Spur = 1, .R = 0.4f, .G = 1, .B = 0.4f},
      SchussTypDaten{.Aussehen = 1, .Sprite = 0},
  };
  ErzeugerTypDaten d;
  for (int32_t t = 0; t < 4; ++t) d.Salven.push_back(ErzeugerSalve{.Gezielt = -1, .Speed = 3, .SchussTyp = t});
  ErzeugerTypen = {d};
  // The ships where no shot reaches them: every shot flies all tick.
  for (SpielerDaten& s : Spieler) s.X = s.Y = -500;
  for (int32_t i = 0; i <= GegnerSchuesse.Kapazitaet; ++i)
    AddGegnerS(i, 0, i % 4, static_cast<float>(60 + (i * 37) % 700), static_cast<float>(20 + (i * 53) % 520), 0);
  // A trail already full, as after the shots' first twelve frames.
  Rendern = false;
  for (int i = 0; i < 12; ++i) SpielMoveGegnerS();
}

void BM_SchussTick(benchmark::State& state) {
  Szene();
  const auto pool = std::make_unique<decltype(GegnerSchuesse)>(GegnerSchuesse);  // 120 KB: not on the stack
  const bool zeichnen = state.range(0) != 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    GegnerSchuesse = *pool;
    Rendern = zeichnen;
    if (zeichnen) RenderStart();
    SpielMoveGegnerS();
    if (zeichnen) RenderEnd();
  }
  const double sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  state.counters["shots"] = GegnerSchuesse.Max + 1;
  state.counters["tick_share"] = sekunden / static_cast<double>(state.iterations()) / 0.016;
}
BENCHMARK(BM_SchussTick)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
