// Games one after another in one process: the first level, the arsenal for two players at
// 16 bits, a visit to the menu that starts a two-player campaign in the V-Phyton, and the
// first level again. Started with the first run's seed and keys, the last run plays tick
// by tick as the first did, state and pictures alike, and as the headless program does in
// a process of its own: none of what the others left behind reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/panel_state.hpp"
#include "engine/keys.hpp"
#include "frontend/menu.hpp"
#include "frontend/menu_assets.hpp"
#include "frontend/menu_state.hpp"
#include "headless/digest.hpp"
#include "headless/key_script.hpp"
#include "headless/run.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
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
#include "world/weather_state.hpp"

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

// What a game leaves for the next that the digest does not hold: the wind, the scores and
// the combo the panel shows, both ship blocks' types and tilt frames, the first beam's
// mode and the drones' magazines and weapon.
std::string Rest() {
  char puffer[160];
  std::snprintf(puffer, sizeof puffer, "%a %d %d %d %d %d %d %d %d %d %d %d %d %d", static_cast<double>(Windphase),
                AnzeigePunkte[0], AnzeigePunkte[1], ComboAnzeige, ComboPunkte, Schiff[0].Schiffstyp(),
                Schiff[1].Schiffstyp(), Schiff[0].Bilder[2], Schiff[1].Bilder[2], Beam[0].Modus, Drohnen.Munition[0],
                Drohnen.Munition[1], Drohnen.Munition[2], Drohnen.Spezialwaffe);
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

// The picture last presented, as one number.
size_t Bild() {
  const std::vector<uint8_t>& p = headless::LastFrame().pixels;
  return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(p.data()), p.size()));
}

// A level played headless in this process: a line per tick, and what the digest leaves
// out and the picture, after every tick too.
struct Gespielt {
  std::vector<std::string> zeilen, reste;
  std::vector<size_t> bilder;
};

Gespielt Spielen(const headless_run::Options& o, bool gelotst = false) {
  Gespielt g;
  EXPECT_EQ(headless_run::Run(o,
                              [&](const headless_run::Tick& t) {
                                g.zeilen.push_back(Zeile(t.n));
                                g.reste.push_back(Rest());
                                g.bilder.push_back(Bild());
                                if (gelotst) Lotsen();
                              }),
            0)
      << o.level;
  return g;
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
  const Gespielt erster = Spielen(ErsterLauf());
  ASSERT_EQ(erster.zeilen.size(), static_cast<size_t>(kErsteTicks));

  headless_run::Options arsenal;
  arsenal.level = "Arsenal";
  arsenal.twoPlayers = true;
  // Its alpha textures are 4-4-4-4; the 32-bit game after it makes them 8-8-8-8 again.
  arsenal.bits = 16;
  arsenal.ticks = 1200;
  arsenal.seed = 3;
  arsenal.keys = Tasten(kArsenalTasten);
  EXPECT_EQ(Spielen(arsenal, true).zeilen.size(), static_cast<size_t>(arsenal.ticks));
  // What it leaves: the second ship's block, all four pods and a satellite.
  EXPECT_EQ(Schiff[1].Schiffstyp(), 1);
  for (const PodDaten& p : Pods) EXPECT_TRUE(p.Besitz);
  EXPECT_TRUE(Satellit.Da);

  MenuBesuch(home.dataDir());
  ASSERT_EQ(Spielstatus, 0) << "the menu did not start a game";
  EXPECT_EQ(LetzterSpieler, 1);
  EXPECT_EQ(Schiff[0].Schiffstyp(), 1);

  const Gespielt wieder = Spielen(ErsterLauf());
  ASSERT_EQ(wieder.zeilen.size(), erster.zeilen.size());
  for (size_t i = 0; i < erster.zeilen.size(); ++i) {
    ASSERT_EQ(wieder.zeilen[i], erster.zeilen[i]) << "tick " << i + 1;
    ASSERT_EQ(wieder.reste[i], erster.reste[i]) << "tick " << i + 1;
    ASSERT_EQ(wieder.bilder[i], erster.bilder[i]) << "tick " << i + 1;
  }

  EXPECT_EQ(ImEigenenProzess(home.home() + "keys.txt"), erster.zeilen);
}
