// Games one after another in one process: the first level, the arsenal for two players,
// a visit to the menu that starts a two-player campaign in the V-Phyton, and the first
// level again. Started with the first run's seed and keys, the last run plays tick by
// tick as the first did, and as the headless program does in a process of its own: none
// of what the others left behind reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/keys.hpp"
#include "frontend/menu.hpp"
#include "frontend/menu_assets.hpp"
#include "frontend/menu_state.hpp"
#include "headless/digest.hpp"
#include "headless/key_script.hpp"
#include "headless/run.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/support.hpp"
#include "world/pickups_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/standard_pictures.hpp"

namespace headless = platform::headless;

namespace {

constexpr int kReturn = 28, kDown = 208;

// Fire while weaving up and down, then flying forward.
const char kErsteTasten[] = "100 S Up\n100 S Down\n100 Right S\n100 S Up\n";
constexpr int64_t kErsteTicks = 500;
constexpr double kSeed = 7;

// Both players fire and weave under the debug keys' shield (F11 and 2).
const char kArsenalTasten[] =
    "300 87 3 S End I 72\n300 87 3 S End K 76\n300 87 3 S End I 76\n300 87 3 S End K 72\n";

// A tick's line as the headless program prints it: ticks played, level tick, end code
// and the digest of the game's state.
std::string Zeile(int64_t n) {
  char puffer[64];
  std::snprintf(puffer, sizeof puffer, "%" PRId64 " %d %d %016" PRIx64 "\n", n, LevelTick, LevelEnde,
                headless_run::StateDigest());
  return puffer;
}

headless_run::KeyScript Tasten(const char* text) {
  headless_run::KeyScript keys;
  std::string fehler;
  EXPECT_TRUE(headless_run::ParseKeyScript(text, keys, fehler)) << fehler;
  return keys;
}

// The pilots of a run: each ship is drawn to the height of the next pick-up coming
// towards it, up to 6 pixels a tick, so that the arsenal's pods and satellites reach it.
void Lotsen() {
  for (int32_t p = 0; p <= LetzterSpieler; ++p) {
    SpielerDaten& s = Spieler[static_cast<size_t>(p)];
    const SpezialObjekt* naechstes = nullptr;
    for (int32_t i = 0; i <= SpezialObjekte.Max; ++i) {
      const SpezialObjekt& o = SpezialObjekte[i];
      if (o.Aktiv && o.Art != 2 && o.X > s.X - 40 && (!naechstes || o.X < naechstes->X)) naechstes = &o;
    }
    if (naechstes) s.Y += std::clamp(naechstes->Y - s.Y, -6.0f, 6.0f);
  }
}

// A level played headless in this process, a line per tick.
std::vector<std::string> Spielen(const headless_run::Options& o, bool gelotst = false) {
  std::vector<std::string> zeilen;
  EXPECT_EQ(headless_run::Run(o,
                              [&](const headless_run::Tick& t) {
                                zeilen.push_back(Zeile(t.n));
                                if (gelotst) Lotsen();
                              }),
            0)
      << o.level;
  return zeilen;
}

headless_run::Options ErsterLauf() {
  headless_run::Options o;
  o.level = "Level1";
  o.ticks = kErsteTicks;
  o.seed = kSeed;
  o.keys = Tasten(kErsteTasten);
  return o;
}

// The same level in a process of its own.
std::vector<std::string> ImEigenenProzess(const std::string& tastenDatei) {
  testsupport::WriteText(tastenDatei, kErsteTasten);
  return testsupport::HeadlessTickLines(std::string(HARVO_HEADLESS_EXE) + " -Skip -Level Level1 -Ticks " +
                                        std::to_string(kErsteTicks) + " -Keys " + tastenDatei + " -Seed " +
                                        std::to_string(static_cast<int>(kSeed)));
}

// The player at the menu looks every 50 ms of the game's clock and answers the page it
// finds: a new game, two players, the V-Phyton, both names as the game offers them.
void Druecken(int taste) {
  headless::QueueKeys({taste}, 3);
  headless::QueueKeys({}, 3);
}

void AmMenu(uint64_t jetzt) {
  if (Spielstatus != 0) return;
  if (headless::KeyReadsLeft() == 0) {
    switch (MenuSeite) {
      case kSeiteHaupt:
        Druecken(kReturn);
        break;
      case kSeiteNeu:
      case kSeiteSchiff:
        Druecken(MenuAuswahl == 1 ? kReturn : kDown);
        break;
      case kSeiteName:
        if (MenuLauf.Schub == 0) TastenZeichen = 13;
        break;
      default:
        break;
    }
  }
  headless::At(jetzt + 50, [jetzt] { AmMenu(jetzt + 50); });
}

// The menu as the program shows it between two games: its pictures loaded, the start-up
// logos already seen, run until it hands over to the campaign.
void MenuBesuch(const std::string& datenOrdner) {
  headless::Reset();
  FillSinTables();
  testsupport::UseDemoData(datenOrdner);
  testsupport::OpenGameWindow();
  LoadStandartSurfaces();
  LoadMenuSurfaces();
  MenuSeite = kSeiteHaupt;
  Spielstatus = 0;
  // A menu that never hands over fails the test instead of hanging it.
  headless::At(120000, [] { Spielstatus = 10; });
  AmMenu(0);
  MenuLoop();
  testsupport::CloseGameWindow();
}

}  // namespace

TEST(EinProzess, TheFirstLevelAfterTheArsenalAndTheMenuPlaysAsInANewProcess) {
  testsupport::IsolatedHome home;
  const std::vector<std::string> erster = Spielen(ErsterLauf());
  ASSERT_EQ(erster.size(), static_cast<size_t>(kErsteTicks));

  headless_run::Options arsenal;
  arsenal.level = "Arsenal";
  arsenal.twoPlayers = true;
  arsenal.ticks = 1200;
  arsenal.seed = 3;
  arsenal.keys = Tasten(kArsenalTasten);
  EXPECT_EQ(Spielen(arsenal, true).size(), 1200u);
  // What it leaves: the second ship's block, all four pods and a satellite.
  EXPECT_EQ(Schiff[1].Schiffstyp(), 1);
  for (const PodDaten& p : Pods) EXPECT_TRUE(p.Besitz);
  EXPECT_TRUE(Satellit.Da);

  MenuBesuch(home.dataDir());
  ASSERT_EQ(Spielstatus, 0) << "the menu did not start a game";
  EXPECT_EQ(LetzterSpieler, 1);
  EXPECT_EQ(Schiff[0].Schiffstyp(), 1);

  const std::vector<std::string> wieder = Spielen(ErsterLauf());
  ASSERT_EQ(wieder.size(), erster.size());
  for (size_t i = 0; i < erster.size(); ++i) ASSERT_EQ(wieder[i], erster[i]) << "tick " << i + 1;

  EXPECT_EQ(ImEigenenProzess(home.home() + "keys.txt"), erster);
}
