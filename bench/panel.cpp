// The in-game display of one tick with the demo data's panel pictures, as the game loop
// calls it between its scene's start and end.
//
// Workloads:
//   two_players - the fullest panel: both players' scores rolling, every gauge, the
//                 small weapon rows (pods and satellite), the extra-life ring with the
//                 stretched lives digit, a rising combo; at 32 and 16 bits;
//   ship0       - one player with the four pods, the glows and the large weapon row;
//   undrawn     - a frame that is not drawn: only the extra life, the rolling scores,
//                 the radio message and the combo counter.
//
// Goal: under 0.3 ms per call on one core (a 16 ms tick draws the whole world besides).
//
//   build/bench/bench_panel
#include <benchmark/benchmark.h>

#include <string>

#include "campaign/panel.hpp"
#include "campaign/panel_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/game_pictures.hpp"
#include "world/standard_pictures.hpp"

namespace {

using platform::PixelFormat;

// The demo data lies beside the program, or beside the folder it is in.
bool DemoDaten() {
  for (const std::string& ordner : {platform::fs::ProgramFolder(), platform::fs::ProgramFolder() + "../"}) {
    if (platform::fs::FileExists(ordner + "Data/Spiel.vkp")) {
      AppPfad = ordner;
      return true;
    }
  }
  return false;
}

// What one tick shows: every part of the panel busy.
void Stand(int32_t letzter) {
  for (int32_t p = 0; p <= letzter; ++p) {
    SpielerDaten& s = Spieler[p];
    s.Punkte = 1234567 + 20000 * p;
    AnzeigePunkte[p] = 1200000;  // rolling
    s.Leben = 5;
    s.Energie = 60;
    s.Speed = 8;
    s.Waffenstufe = 3;
    s.Zweitwaffe = 2;
    s.Pod = 1;
    Beam[p].Ladung = 90;
  }
  for (PodDaten& pod : Pods) {
    pod.Besitz = VBTrue;
    pod.Waffe = 3;
    pod.Stufe = 3;
  }
  Satellit.Da = VBTrue;
  Satellit.AnimFrame = 5;
  ExtraLebenSchwelle = 100;
  ExtraLebenZeit = 40;
  ComboAnzeige = 11;
  ComboLetzte = ComboTreffer[0] = 12;
  ComboZeit = 8;
  ComboPunkte = ComboBonus[0] = 98765;
}

void BM_Anzeige(benchmark::State& state) {
  testsupport::IsolatedHome home;
  testsupport::FreshState();
  if (!DemoDaten()) {
    state.SkipWithError("no demo data beside the program");
    return;
  }
  const int32_t letzter = state.range(0) == 2 ? 1 : 0;
  const bool gezeichnet = state.range(2) != 0;
  testsupport::OpenDisplay(state.range(1) == 16 ? PixelFormat::RGB565 : PixelFormat::XRGB8888);
  SoundAn = false;
  LetzterSpieler = letzter;
  Schiff[0].Typ = 0;
  LoadStandartSurfaces();
  LoadSpielSurfaces();
  for (auto _ : state) {
    Stand(letzter);
    Rendern = gezeichnet;
    if (gezeichnet) RenderStart();
    SpielDisplay();
    if (gezeichnet) RenderEnd();
  }
  SurfaceClear();
  testsupport::CloseDisplay();
  testsupport::FreshState();
}

}  // namespace

BENCHMARK(BM_Anzeige)
    ->Name("panel/display")
    ->ArgNames({"players", "bits", "drawn"})
    ->Args({2, 32, 1})
    ->Args({2, 16, 1})
    ->Args({1, 32, 1})
    ->Args({2, 32, 0})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
