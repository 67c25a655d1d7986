// Every scene of the game played headless by the game loop, as a player would see it:
// every level of the demo data (tests/support/scenes.cpp lists them: the campaign, the
// arsenal, the weather and test levels, the bonus levels, the seven special events and the
// super nova's levels, one for each kind of pod and one for the satellite) and the stress
// level (bench/stress.cpp), full screen at 32 bits, sound on but heard by nobody, seed 1.
// The ship flies the keys of bench/scenes.keys: it fires, flies about, charges and
// releases the beam in both its modes, turns its pods and spends three super novas.
//
// Each scene is played twice, drawn by one thread and by the machine's count
// (`platform::DrawThreads()` at the start: HARVO_THREADS or the hardware threads), and a
// row gives for each the mean, the 99th percentile and the worst tick in milliseconds on
// the wall clock, and the speed-up of the mean. A tick is measured whole: input, every
// update step, the drawing, the overlay pass and the present; the first tick of a level
// (its set-up) is left out, and so is the wait at the end of a tick, which costs nothing
// on the headless clock. "ticks" is how many were measured: a level that ends sooner (the
// jump to the end, the lost ship) plays fewer. The last row takes every tick of every
// scene together.
//
//   build/bench/bench_scenes [--only NAME[,NAME...]] [--ticks N] [--threads N] [--keys FILE]
//
// --only plays the scenes of those names (the level names, "Stress" the stress level),
// --ticks sets the ticks a scene plays at most (default 1,500), --threads the second
// thread count, --keys another key script.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "headless/run.hpp"
#include "platform/draw_threads.hpp"
#include "support/scenes.hpp"
#include "support/stress_level.hpp"
#include "support/support.hpp"

namespace {

// The costs of one run's ticks, in milliseconds.
struct Kosten {
  size_t ticks = 0;
  double mittel = 0, p99 = 0, schlimmste = 0;
};

Kosten Auswerten(std::vector<double> ms) {
  Kosten k;
  if (ms.empty()) return k;
  std::sort(ms.begin(), ms.end());
  double summe = 0;
  for (double m : ms) summe += m;
  k.ticks = ms.size();
  k.mittel = summe / static_cast<double>(ms.size());
  k.p99 = ms[std::min(ms.size() - 1, static_cast<size_t>(0.99 * static_cast<double>(ms.size())))];
  k.schlimmste = ms.back();
  return k;
}

// One play of `o` drawn by `threads` threads, its ticks' costs also added to `alle`;
// `zwischen` runs after every tick, outside the time measured. Nothing when the level
// could not be played.
std::optional<Kosten> Spielen(const headless_run::Options& o, int32_t threads, void (*zwischen)(),
                              std::vector<double>& alle) {
  platform::SetDrawThreads(threads);
  std::vector<double> ms;
  ms.reserve(static_cast<size_t>(std::max<int64_t>(o.ticks, 0)));
  const int code = headless_run::Run(o, [&](const headless_run::Tick& t) {
    if (t.n > 1) ms.push_back(1000.0 * t.seconds);
    if (zwischen) zwischen();
  });
  if (code != 0 || ms.empty()) return std::nullopt;
  alle.insert(alle.end(), ms.begin(), ms.end());
  return Auswerten(std::move(ms));
}

struct Szene {
  std::string name;
  headless_run::Options optionen;
  void (*zwischen)() = nullptr;
};

bool Gewaehlt(const std::string& name, const std::string& nur) {
  if (nur.empty()) return true;
  std::stringstream namen(nur);
  for (std::string n; std::getline(namen, n, ',');)
    if (n == name) return true;
  return false;
}

void Zeile(const std::string& name, const std::optional<Kosten>& einer, const std::optional<Kosten>& viele) {
  std::printf("%-20s", name.c_str());
  if (!einer || !viele) {
    std::printf(" did not run\n");
    return;
  }
  std::printf(" %5zu  %7.3f %7.3f %7.3f   %7.3f %7.3f %7.3f   %5.2fx\n", einer->ticks, einer->mittel, einer->p99,
              einer->schlimmste, viele->mittel, viele->p99, viele->schlimmste,
              viele->mittel > 0 ? einer->mittel / viele->mittel : 0.0);
  std::fflush(stdout);
}

[[noreturn]] void Abbruch(const std::string& warum) {
  std::fprintf(stderr, "bench_scenes: %s\n", warum.c_str());
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t viele = platform::DrawThreads();
  int32_t zweite = viele;
  int64_t ticks = 1500;
  std::string nur, tastenDatei;
  for (int i = 1; i < argc; i += 2) {
    const std::string a = argv[i];
    if (i + 1 == argc)
      Abbruch(a + " wants a value");
    else if (a == "--only")
      nur = argv[i + 1];
    else if (a == "--ticks")
      ticks = std::max(2, std::atoi(argv[i + 1]));
    else if (a == "--threads")
      zweite = std::clamp(std::atoi(argv[i + 1]), 1, 64);
    else if (a == "--keys")
      tastenDatei = argv[i + 1];
    else
      Abbruch("unknown option " + a);
  }

  headless_run::KeyScript tasten;
  std::string fehler;
  if (tastenDatei.empty() ? !testsupport::SceneKeys(tasten, fehler)
                          : !headless_run::ParseKeyScript(testsupport::ReadText(tastenDatei), tasten, fehler))
    Abbruch(fehler);

  testsupport::IsolatedHome home;
  testsupport::TempDir stressDaten;
  std::vector<Szene> szenen;
  for (const testsupport::Scene& s : testsupport::DemoScenes())
    szenen.push_back({s.level, testsupport::SceneOptions(s, tasten, ticks)});
  // The stress level: both players fire, and what the level cannot fill on its own is
  // topped up between the ticks.
  headless_run::Options stress;
  stress.level = "Stress";
  stress.ticks = ticks;
  stress.keys = testsupport::StressKeys(static_cast<int>(ticks));
  stress.seed = 1;
  stress.twoPlayers = true;
  stress.dataFolder = stressDaten.path();
  szenen.push_back({"Stress", stress, testsupport::TopUpPools});

  std::printf("tick cost in ms, %lld ticks at most a scene; 1 thread and %d threads\n",
              static_cast<long long>(ticks), zweite);
  std::printf("%-20s %5s  %7s %7s %7s   %7s %7s %7s   %6s\n", "scene", "ticks", "mean", "p99", "worst", "mean", "p99",
              "worst", "1/n");
  std::vector<double> alle[2];  // every tick measured, by one thread and by several
  for (const Szene& s : szenen) {
    if (!Gewaehlt(s.name, nur)) continue;
    if (s.name == "Stress" && !testsupport::BuildStressLevel(stressDaten.path(), fehler)) {
      std::fprintf(stderr, "bench_scenes: %s\n", fehler.c_str());
      continue;
    }
    const std::optional<Kosten> einer = Spielen(s.optionen, 1, s.zwischen, alle[0]);
    const std::optional<Kosten> mehrere = Spielen(s.optionen, zweite, s.zwischen, alle[1]);
    Zeile(s.name, einer, mehrere);
  }
  if (!alle[0].empty() && !alle[1].empty()) Zeile("all scenes", Auswerten(alle[0]), Auswerten(alle[1]));
  platform::SetDrawThreads(viele);
  return 0;
}
