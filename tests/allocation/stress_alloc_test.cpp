// Whole ticks of the game loop allocate nothing: the stress level (two players moving and
// firing) played headless for 500 ticks, by which every pool is near full. Only the ticks
// are counted, not the level's loading (nor the set-up in the first tick) or the pools
// topped up between them.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "counting_new.hpp"
#include "headless/run.hpp"
#include "player/players_state.hpp"
#include "player/shots_state.hpp"
#include "support/stress_level.hpp"
#include "support/support.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/particles_state.hpp"

namespace {

template <class P>
int Lebende(const P& pool) {
  int n = 0;
  for (int32_t k = 0; k <= pool.Max; ++k) n += pool[k].Aktiv != 0;
  return n;
}

}  // namespace

TEST(NoAllocationWhilePlaying, FiveHundredTicksOfTheStressLevel) {
  testsupport::IsolatedHome home;
  testsupport::TempDir data;
  std::string error;
  ASSERT_TRUE(testsupport::BuildStressLevel(data.path(), error)) << error;
#ifdef HARVO_ADDRESS_SANITIZER
  // The sanitizer build checks the memory, not the count, and draws ten times slower.
  constexpr int kTicks = 200;
#else
  constexpr int kTicks = 500;
#endif
  headless_run::Options o;
  o.level = "Stress";
  o.ticks = kTicks + 1;  // the first tick carries the level's set-up
  o.keys = testsupport::StressKeys(kTicks + 1);
  o.seed = 3;
  o.twoPlayers = true;
  o.dataFolder = data.path();

  // Allocations per tick; the count between two ticks (the top-up) is left out.
  std::vector<int64_t> proTick;
  proTick.reserve(kTicks + 1);
  int64_t nachLetztem = 0;
  int code = -1;
  int tode = 0;
  std::array<int, 5> voll{};
  alloccount::AllocationsDuring([&] {
    code = headless_run::Run(o, [&](const headless_run::Tick& t) {
      const int64_t jetzt = alloccount::CountSoFar();
      if (t.n > 1) proTick.push_back(jetzt - nachLetztem);
      if (Spieler[0].Tod != 0 || Spieler[1].Tod != 0) ++tode;
      if (t.n == kTicks + 1) voll = {Lebende(GegnerListe), Lebende(GegnerSchuesse),
                                     Lebende(Schuesse[0]) + Lebende(Schuesse[1]), Lebende(BigPartikel),
                                     Lebende(Partikel[0]) + Lebende(Partikel[1])};
      testsupport::TopUpPools();
      nachLetztem = alloccount::CountSoFar();
    });
  });
  ASSERT_EQ(code, 0);
  EXPECT_EQ(tode, 0) << "a ship died: the run was not one pass";
  // At the end every pool is near full: enemies, enemy shots, player shots, effect and
  // small particles.
  const std::array<int, 5> kapazitaet = {101, 501, 2002, 4001, 3002};
  if (kTicks == 500) {
    for (size_t i = 0; i < voll.size(); ++i) EXPECT_GE(voll[i], kapazitaet[i] * 8 / 10) << "pool " << i;
  }
  ASSERT_EQ(proTick.size(), static_cast<size_t>(kTicks));
  int64_t summe = 0;
  size_t erster = proTick.size();
  for (size_t i = 0; i < proTick.size(); ++i) {
    summe += proTick[i];
    if (proTick[i] != 0 && erster == proTick.size()) erster = i;
  }
  EXPECT_EQ(summe, 0) << "first in tick " << erster + 2 << " (" << proTick[erster < proTick.size() ? erster : 0]
                      << " allocations)";
}
