// The route step at full pools: 101 enemies with 4 components each and 501 enemy shots,
// all running looping routes of 20 commands, for 1,000 ticks. Each tick runs a route
// once around its loop (conditions, a For/Next, variable arithmetic, one step that ends
// the frame), so the figure is the interpreter's cost, not time spent waiting. Prints
// commands per second, the time per tick and its share of a 16 ms tick (best of five).
// A second run puts 80 other labels ahead of the loop: every go-to and every search then
// walks the longer route, as nothing caches where a label or a matching command lies.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/magnifier.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "world/enemies_state.hpp"
#include "world/level_data_state.hpp"
#include "world/routes.hpp"

namespace {

constexpr int kTicks = 1000;
constexpr int kKomponenten = 4;
constexpr int kSchuesse = 501;
constexpr float Vi0 = 32755, Vi1 = 32754, Vi2 = 32753, G0 = 32770, G1 = 32771, G2 = 32772;

RoutenBefehl Cmd(int32_t op, std::vector<float> a = {}, std::vector<float> b = {}) {
  b.resize(a.size(), 0.0f);
  return RoutenBefehl{op, std::move(a), std::move(b)};
}

// Twenty commands, going round once per tick, behind `vorlauf` labels that are never
// jumped to.
Route Schleife(int vorlauf) {
  Route r;
  for (int i = 0; i < vorlauf; ++i) r.Befehle.push_back(Cmd(11, {100.0f + i}));
  r.Befehle.insert(r.Befehle.end(), {
      Cmd(11, {1}),                         // 0 label 1
      Cmd(6, {2}),                          // 1 speed
      Cmd(9, {Vi0, 32756}),                 // 2 Vari(0) := level tick
      Cmd(13, {Vi0, 2, 500}),               // 3 If tick > 500
      Cmd(22, {G0, G1, Vi0}),               // 4   polar step
      Cmd(14),                              // 5 Else
      Cmd(9, {G2, G2}, {0, 1}),             // 6   count
      Cmd(15),                              // 7 EndIf
      Cmd(35, {Vi1, 1, 3, 1}),              // 8 For Vari(1) = 1 To 3
      Cmd(21, {Vi2, Vi1, 2}),               // 9   product
      Cmd(36),                              // 10 Next
      Cmd(4, {-1, G1}),                     // 11 single step (ends the frame on its first run)
      Cmd(40, {Vi2, 32759, 32758}),         // 12 length
      Cmd(23, {G0, 32763, 32762}),          // 13 direction to the ship
      Cmd(44, {0}),                         // 14 If component 0 gone
      Cmd(9, {G2, 0}),                      // 15   reset
      Cmd(15),                              // 16 EndIf
      Cmd(20, {Vi2, Vi2, 3}),               // 17 quotient
      Cmd(28, {Vi2, Vi2}),                  // 18 rounded down
      Cmd(12, {1}),                         // 19 go to 1
  });
  return r;
}

struct Schuss {
  int32_t RoutePos = 0, VeskNr = 0;
  float X = 400, Y = 300, MX = 0, MY = 0, Ti = 0, Speed = 3, HP = 5;
  std::array<float, 8> Vari{};
};

void Welt(std::vector<Schuss>& schuesse, int vorlauf) {
  testsupport::FreshState();
  FillSinTables();
  Rendern = false;
  Routen.assign(1, Schleife(vorlauf));
  for (int32_t i = 0; i <= GegnerListe.Kapazitaet; ++i) {
    Gegner& g = GegnerListe.Slot[static_cast<size_t>(i)];
    g = Gegner{};
    g.Aktiv = VBTrue;
    g.X = 700, g.Y = static_cast<float>(i * 5);
    g.Typ.Width = 32, g.Typ.Height = 32, g.Typ.Speed = 1;
    g.Typ.Komponenten.assign(kKomponenten, Feindkomponente{.RouteAn = VBTrue, .Lebt = VBTrue, .Speed = 1});
  }
  GegnerListe.Max = GegnerListe.Kapazitaet;
  schuesse.assign(kSchuesse, Schuss{});
}

// One tick of every route.
void Tick(std::vector<Schuss>& schuesse, std::array<float, 14>& schussGVar) {
  for (int32_t i = 0; i <= GegnerListe.Max; ++i) {
    RoutenObjekt koerper = GegnerRoute(i);
    DoRoute(koerper);
    for (int32_t k = 0; k < kKomponenten; ++k) {
      RoutenObjekt teil = KomponentenRoute(i, k, 16, 16);
      DoRoute(teil);
    }
  }
  for (Schuss& s : schuesse) {
    RoutenObjekt o{RouteSchuss, 0,    s.RoutePos, 0,  s.X,  s.Y,     s.MX,     s.MY,        s.Ti,
                   s.Vari,      6,    6,          s.Speed, 0,  0,  s.HP, s.VeskNr, schussGVar};
    DoRoute(o);
  }
  LupeAuftraege.clear();
  ++LevelTick;
}

void Messe(int vorlauf) {
  std::vector<Schuss> schuesse;
  std::array<float, 14> schussGVar{};
  double best = 1e9;
  int64_t befehle = 0;
  for (int round = 0; round < 5; ++round) {
    Welt(schuesse, vorlauf);
    const int64_t vorher = RoutenSchritte;
    const auto t0 = std::chrono::steady_clock::now();
    for (int t = 0; t < kTicks; ++t) Tick(schuesse, schussGVar);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    befehle = RoutenSchritte - vorher;
    best = std::min(best, s);
  }
  const int objekte = (GegnerListe.Kapazitaet + 1) * (1 + kKomponenten) + kSchuesse;
  const double proTick = best / kTicks * 1e3;
  std::printf("routes of 20 commands behind %d labels: %d objects, %d ticks\n", vorlauf, objekte, kTicks);
  std::printf("  commands: %lld (%.1f per object and tick)\n", static_cast<long long>(befehle),
              static_cast<double>(befehle) / kTicks / objekte);
  std::printf("  time: %.3f s, %.1f million commands per second\n", best, static_cast<double>(befehle) / best / 1e6);
  std::printf("  route step per tick: %.3f ms, %.1f %% of a 16 ms tick\n", proTick, proTick / 16.0 * 100.0);
}

}  // namespace

int main() {
  Messe(0);
  Messe(80);
  return 0;
}
