// The storm arsenal played headless by the game itself: a ship under the debug shield,
// firing and weaving through the level and steered to the pick-ups, meets every kind of
// enemy and both kinds of shot, sees its enemies die as wrecks, blasts and break-ups,
// and gathers what the harbour offers its ship type, under rain and over the sea, until
// the level ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "headless/run.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/level_data_state.hpp"
#include "world/pickups_state.hpp"
#include "world/weather_state.hpp"

namespace {

// Key codes: F11 with 2 is the debug keys' shield.
constexpr int kZwei = 3, kFeuer = 31, kF11 = 87, kHoch = 200, kRunter = 208;
constexpr int32_t kLaenge = 7800;  // the level's end tick

// What a run saw, tick by tick.
struct Gesehen {
  int code = -1;
  int32_t tick = 0, ende = 0, wasser = 0, regen = 0;
  std::set<std::string> gegner, erzeuger;
  std::set<int32_t> todesarten, podWaffen;
  int32_t meistePods = 0, satellitWaffen = 0, satellitStufe = -1;
};

// The pilot: while a pick-up comes towards the ship, the ship is drawn to its height, up
// to 6 pixels a tick, so that it meets every one whatever the weaving does.
void Lotse() {
  SpielerDaten& s = Spieler[0];
  const SpezialObjekt* naechstes = nullptr;
  for (int32_t i = 0; i <= SpezialObjekte.Max; ++i) {
    const SpezialObjekt& p = SpezialObjekte[i];
    if (p.Aktiv && p.Art != 2 && p.X > s.X - 40 && (!naechstes || p.X < naechstes->X)) naechstes = &p;
  }
  if (naechstes) s.Y += std::clamp(naechstes->Y - s.Y, -6.0f, 6.0f);
}

Gesehen Spiele(int32_t schiff, int64_t ticks) {
  headless_run::Options o;
  o.level = "Arsenal";
  o.seed = 7;
  o.shipType = schiff;
  o.ticks = ticks;
  // Fire all the time, weaving between the sky and the sea: 70 ticks up, 70 down.
  for (int64_t t = 0; t < ticks; ++t) o.keys.push_back({kF11, kZwei, kFeuer, (t / 70) % 2 ? kRunter : kHoch});
  Gesehen g;
  g.code = headless_run::Run(o, [&](const headless_run::Tick&) {
    Lotse();
    g.tick = LevelTick;
    g.ende = LevelEnde;
    g.wasser = Wasserstand;
    g.regen = RegenAnzahl;
    for (int32_t i = 0; i <= GegnerMax; ++i) {
      const Gegner& e = GegnerListe[i];
      if (!e.Aktiv) continue;
      g.gegner.insert(e.Typ.Name);
      if (e.Stirbt) g.todesarten.insert(e.TodArt);
    }
    for (int32_t i = 0; i <= GegnerSchuesse.Max; ++i) {
      const GegnerSchussDaten& s = GegnerSchuesse[i];
      if (s.Aktiv && s.ID != -1 && s.Nr >= 0 && s.Nr <= ErzeugerTypenMax())
        g.erzeuger.insert(ErzeugerTypen[static_cast<size_t>(s.Nr)].Name);
    }
    int32_t pods = 0;
    for (const PodDaten& p : Pods) {
      if (!p.Besitz) continue;
      ++pods;
      g.podWaffen.insert(p.Waffe);
    }
    g.meistePods = std::max(g.meistePods, pods);
    if (Satellit.Da) {
      g.satellitWaffen |= 1 << std::clamp(Satellit.Spezialwaffe, 0, 30);
      g.satellitStufe = std::max(g.satellitStufe, Satellit.Stufe);
    }
  });
  return g;
}

class Arsenal : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  void TearDown() override { testsupport::FreshState(); }
};

// The pod ship through the whole level: every enemy shows, both kinds of shot fly, the
// enemies die in their own ways, and the harbour's pods and pod weapons all reach it.
TEST_F(Arsenal, ThePodShipMeetsEveryFeatureAndReachesTheEnd) {
#ifdef HARVO_ADDRESS_SANITIZER
  GTEST_SKIP() << "minutes under the sanitizers; the harbour test runs the same code";
#endif
  const Gesehen g = Spiele(0, kLaenge);
  EXPECT_EQ(g.code, 0);
  EXPECT_EQ(g.ende, 2);
  EXPECT_EQ(g.tick, kLaenge);
  EXPECT_EQ(g.wasser, 260);
  EXPECT_EQ(g.regen, 150);
  EXPECT_EQ(g.gegner, (std::set<std::string>{"Bastion", "Crawler", "Dreadnought", "Gnat", "Gunboat", "Hauler", "Keg",
                                             "Lancer", "Veil", "Warden"}));
  // Blockable bolts and unblockable needles, aimed and in fans.
  EXPECT_EQ(g.erzeuger, (std::set<std::string>{"BoltAimed", "BoltFan", "NeedleAimed", "NeedleFan"}));
  for (int32_t art : {3, 4, 5, 7}) EXPECT_TRUE(g.todesarten.count(art)) << "no enemy died with death kind " << art;
  EXPECT_EQ(g.meistePods, 4);
  for (int32_t w : {-1, 1, 2, 3, 4, 5}) EXPECT_TRUE(g.podWaffen.count(w)) << "pod weapon " << w << " never carried";
  EXPECT_EQ(g.satellitStufe, -1);  // the satellite's offers are refused to this ship
}

// The other ships in the harbour and the gun line: the satellite ship takes the satellite
// and its weapons 0 to 3 up to its top level; the drone ship takes neither.
TEST_F(Arsenal, TheHarbourServesEachShipTypeItsOwn) {
  struct Fall {
    int32_t schiff;
    int32_t satellitWaffen, satellitStufe;
  };
  for (const Fall& f : {Fall{1, 0b01111, 2}, Fall{2, 0, -1}}) {
    SCOPED_TRACE(f.schiff);
    const Gesehen g = Spiele(f.schiff, 2600);
    EXPECT_EQ(g.code, 0);
    EXPECT_EQ(g.satellitWaffen, f.satellitWaffen);
    EXPECT_EQ(g.satellitStufe, f.satellitStufe);
    EXPECT_TRUE(g.gegner.count("Gnat") && g.gegner.count("Gunboat") && g.gegner.count("Lancer"));
  }
}

}  // namespace
