// The game loop playing the demo level headless (tools/headless): to its end, with the
// music's ramp and the end darkening, a frozen world, lost lives, the pause key, a lost
// display and a failing step; and two runs of the program with the same seed and keys
// giving the same state tick by tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "campaign/checkpoints_state.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/pause_screen_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/text.hpp"
#include "headless/run.hpp"
#include "platform/clock.hpp"
#include "platform/headless/headless.hpp"
#include "platform/music.hpp"
#include "player/nova_state.hpp"
#include "player/players_state.hpp"
#include "player/satellite_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"

namespace headless = platform::headless;
using headless_run::Tick;

namespace {

// Key codes: F11 with 2 is the debug keys' shield, F11 with 3 the loss of every life.
constexpr int kEscape = 1, kZwei = 3, kDrei = 4, kReturn = 28, kFeuer = 31, kF11 = 87, kHoch = 200, kRunter = 208;
constexpr int32_t kLaenge = 4800;  // the demo level's end tick

// The play area of the last frame presented: its pixels as 0xRRGGBB (32 bits).
uint32_t Pixel(int x, int y) {
  const headless::RecordedFrame& f = headless::LastFrame();
  const uint8_t* p = f.pixels.data() + static_cast<size_t>(y) * f.pitch + 4 * static_cast<size_t>(x);
  return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}
double Helligkeit() {
  double summe = 0;
  for (int y = 0; y < kSpielfeldHoehe; y += 5)
    for (int x = 0; x < kSpielfeldBreite; x += 5) {
      const uint32_t p = Pixel(x, y);
      summe += (p >> 16) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
  return summe;
}
// Pixels of the debug text's green (or of its smoothed edges) in the rectangle.
int Gruen(int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = std::max(y1, 0); y < std::min(y2, kBildschirmHoehe); ++y)
    for (int x = std::max(x1, 0); x < std::min(x2, kBildschirmBreite); ++x) {
      const uint32_t p = Pixel(x, y), r = p >> 16, g = (p >> 8) & 0xFF;
      n += g > 0x60 && g > 2 * r;
    }
  return n;
}

class Spielschleife : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void TearDown() override {
    NachPauseBild = nullptr;
    testsupport::FreshState();
  }

  // The demo level from `start`, seeded; `keys` held in every tick.
  static headless_run::Options Demo(int32_t start = 0, int64_t ticks = -1, std::vector<int> keys = {}) {
    headless_run::Options o;
    o.level = "Level1";
    o.seed = 1;
    o.startTick = start;
    o.ticks = ticks;
    if (!keys.empty()) o.keys.assign(static_cast<size_t>(ticks > 0 ? ticks : kLaenge - start), keys);
    return o;
  }
  static int Spielen(const headless_run::Options& o, const std::function<void(const Tick&)>& jeTick) {
    return headless_run::Run(o, jeTick);
  }
};

TEST_F(Spielschleife, PlaysTheDemoLevelToItsEnd) {
  headless_run::Options o = Demo();
  for (int t = 0; t < kLaenge; ++t) o.keys.push_back({kF11, kZwei, kFeuer, (t / 100) % 2 ? kHoch : kRunter});
  int64_t ticks = 0;
  int32_t ende = 0, tick = 0, wenigsteLeben = 99, gegnerMax = -1;
  bool zurueck = false;
  const int code = Spielen(o, [&](const Tick& t) {
    ticks = t.n;
    zurueck = zurueck || LevelTick < tick;
    tick = LevelTick;
    ende = LevelEnde;
    wenigsteLeben = std::min(wenigsteLeben, Spieler[0].Leben);
    gegnerMax = std::max(gegnerMax, GegnerMax);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ende, 2);
  EXPECT_EQ(tick, kLaenge);
  EXPECT_EQ(ticks, kLaenge);
  EXPECT_FALSE(zurueck);
  EXPECT_EQ(wenigsteLeben, 3);
  EXPECT_GE(gegnerMax, 0);
  EXPECT_GT(Spieler[0].Abschuesse, 0) << "the ship's fire never brought an enemy down";
  EXPECT_GE(headless::LastFrame().count, kLaenge);  // the virtual clock is never late: every tick drawn
}

// A level started with "-Tick" begins at that tick with the scenery of the ticks before
// already on screen.
TEST_F(Spielschleife, AStartTickBeginsThereWithTheSceneryInPlace) {
  int32_t ersterTick = -1, felsen = 0, ende = 0;
  int64_t ticks = 0;
  Spielen(Demo(4000), [&](const Tick& t) {
    if (t.n == 1) {
      ersterTick = LevelTick;
      for (int32_t i = 0; i <= Landschaft[3].Max; ++i)
        felsen += Landschaft[3].Objekte[i].Aktiv != 0 && Landschaft[3].Objekte[i].X < 700;
    }
    ticks = t.n;
    ende = LevelEnde;
  });
  EXPECT_EQ(ersterTick, 4001);
  EXPECT_GT(felsen, 0);
  EXPECT_EQ(ticks, kLaenge - 4000);
  EXPECT_EQ(ende, 2);
}

// The volume set in each tick, by the level tick it was set in (before the clock moved
// on). Full volume until the last 50 ticks, then 2 percent less a tick, rounded half to
// even; a frozen world holds the ramp and the clock.
TEST_F(Spielschleife, TheMusicFadesOverTheLastFiftyTicks) {
  std::map<int32_t, int> lautstaerke;
  int erste = -1;
  Spielen(Demo(4700), [&](const Tick& t) {
    if (t.n == 1) {
      erste = platform::music::Volume();
      MusikLautstaerke = 25;  // quarters of the ramp: halves to round
    } else {
      lautstaerke[LevelTick - 1] = platform::music::Volume();
    }
  });
  EXPECT_EQ(erste, 90);  // the level's music starts at full volume
  const std::vector<std::pair<int32_t, int>> soll = {
      {4702, 25}, {4749, 25}, {4750, 25}, {4751, 25}, {4752, 24}, {4753, 24}, {4754, 24}, {4755, 23},
      {4756, 22}, {4757, 22}, {4758, 22}, {4759, 21}, {4760, 20}, {4796, 2},  {4797, 2},  {4798, 2},
      {4799, 1}};
  for (const auto& [tick, wert] : soll) EXPECT_EQ(lautstaerke[tick], wert) << "tick " << tick;
  EXPECT_EQ(lautstaerke.rbegin()->first, 4799);
}

TEST_F(Spielschleife, AFrozenWorldHoldsTheClockTheRampAndTheShips) {
  std::vector<std::array<float, 3>> spur;  // level tick, volume, ship y
  headless_run::Options o = Demo(4740, 60, {kRunter});
  Spielen(o, [&](const Tick& t) {
    spur.push_back({static_cast<float>(LevelTick), static_cast<float>(platform::music::Volume()), Spieler[0].Y});
    // Ticks 21 to 30 frozen, as a running nova holds the world: a quiet kind whose count
    // never reaches one of its events.
    const bool angehalten = t.n >= 20 && t.n < 30;
    WeltAngehalten = angehalten ? VBTrue : VBFalse;
    Nova.NovaArt = -1;
    Nova.NovaZeit = angehalten ? 50 : 0;
  });
  ASSERT_EQ(spur.size(), 60u);
  for (size_t i = 20; i < 30; ++i) EXPECT_EQ(spur[i], spur[19]) << "frozen tick " << i + 1;
  EXPECT_EQ(spur[30][0], spur[19][0] + 1);  // the clock goes on where it stopped
  EXPECT_LT(spur[59][1], spur[30][1]);      // and so does the fade
  EXPECT_NE(spur[30][2], spur[19][2]);
}

TEST_F(Spielschleife, ThePlayAreaDarkensOverTheLastFiftyTicks) {
  std::map<int64_t, double> hell;
  uint32_t ecke = 1;
  int32_t schwarz = 0;
  Spielen(Demo(4700), [&](const Tick& t) {
    hell[t.n] = Helligkeit();
    if (LevelEnde != 2) return;
    ecke = Pixel(400, 300);
    schwarz = 0;
    // The panel, drawn after the darkening, reaches up to y 525.
    for (int y = 0; y < 525; y += 3)
      for (int x = 0; x < kSpielfeldBreite; x += 3) schwarz += Pixel(x, y) == 0;
  });
  EXPECT_EQ(ecke, 0u);
  EXPECT_EQ(schwarz, 267 * 175);  // the last frame's play area above the panel is black
  EXPECT_LT(hell[90], 0.3 * hell[45]);  // alpha 0.8 ten ticks before the end
  EXPECT_GT(hell[45], 0.5 * hell[20]);  // nothing darkens before the last 50 ticks
}

// A lost life restarts the level at its start with one life less: the score, the best
// combos and the first player's statistics stay, the ships come back armed, the
// satellite is lost, the ticker is emptied. The last life ends the game.
TEST_F(Spielschleife, ALostLifeRestartsTheLevel) {
  struct Fall {
    int32_t leben;  // lives when the ship dies
    bool neustart;
  };
  for (const Fall& f : {Fall{3, true}, Fall{1, true}, Fall{0, false}}) {
    SCOPED_TRACE(f.leben);
    int64_t ticks = 0, neustartBei = 0;
    int32_t tick = 0;
    SpielerDaten nachher;
    bool satellit = true, tor = false;
    int32_t meldungen = -2;
    Spielen(Demo(1000, 300), [&](const Tick& t) {
      ticks = t.n;
      if (t.n == 10) {
        SpielerDaten& s = Spieler[0];
        s.Leben = f.leben;
        s.Punkte = 12345;
        s.Abschuesse = 7;
        s.BesteComboBonus = 99;
        s.Schild = 0;
        s.Energie = -1;  // dies in the next tick
        Satellit.Da = VBTrue;
        AddMsg("vorher");
      }
      if (neustartBei == 0 && LevelTick < tick) {
        neustartBei = t.n;
        nachher = Spieler[0];
        satellit = Satellit.Da != VBFalse;
        tor = CheckpointTor.Triggered;
        meldungen = MessageHistoryMax();
      }
      tick = LevelTick;
    });
    if (!f.neustart) {
      EXPECT_EQ(neustartBei, 0);
      EXPECT_LT(ticks, 300);  // the game ended with the death
      continue;
    }
    ASSERT_GT(neustartBei, 100);  // after the death sequence
    EXPECT_EQ(nachher.Leben, f.leben - 1);
    EXPECT_EQ(nachher.Punkte, 12345);
    EXPECT_EQ(nachher.Abschuesse, 7);
    EXPECT_EQ(nachher.BesteComboBonus, 99);
    EXPECT_EQ(nachher.Tod, 0);
    EXPECT_FLOAT_EQ(nachher.Energie, nachher.EnergieMax);
    EXPECT_FLOAT_EQ(nachher.X, 100);
    EXPECT_FLOAT_EQ(nachher.Y, 260);
    EXPECT_FALSE(satellit);
    EXPECT_TRUE(tor);
    EXPECT_EQ(meldungen, -1);
    EXPECT_EQ(ticks, 300);
  }
}

// The pause key opens the pause screen; leaving the level there (down to its exit, then
// confirm: the keys the screen reads after the tick's) ends it.
TEST_F(Spielschleife, LosingEveryLifeAtOnceOrThePauseKeyEndsTheLevel) {
  const std::vector<headless_run::KeyScript> faelle = {{{kF11, kDrei}}, {{kEscape}, {}, {kRunter}, {kReturn}}};
  for (const headless_run::KeyScript& tasten : faelle) {
    headless_run::Options o = Demo(0, 100);
    o.keys.assign(30, {});
    o.keys.insert(o.keys.end(), tasten.begin(), tasten.end());
    int64_t ticks = 0;
    int32_t ende = -1;
    Spielen(o, [&](const Tick& t) {
      ticks = t.n;
      ende = LevelEnde;
    });
    EXPECT_EQ(ticks, 31) << tasten[0][0];  // the tick with the keys runs to its end
    EXPECT_EQ(ende, tasten[0][0] == kF11 ? 1 : 0);
    EXPECT_EQ(LevelEnde, 0);
  }
}

// A minimised full screen: the loop waits until the display is back, reloads every
// picture, pauses (left with the back key) and plays on.
TEST_F(Spielschleife, ALostDisplayIsWaitedForAndPlayGoesOn) {
  NachPauseBild = [] {
    if (headless::KeyReadsLeft() > 0) return;
    headless::QueueKeys({kEscape});
    headless::QueueKeys({});
  };
  uint64_t uhrVorher = 0, uhrNachher = 0;
  int64_t ticks = 0;
  headless_run::Options o = Demo(0, 40);
  o.userFolder = home.dataDir();  // where its log stays
  Spielen(o, [&](const Tick& t) {
    ticks = t.n;
    if (t.n == 1) DebugModus = true;
    if (t.n == 20) {
      uhrVorher = platform::TickCount();
      platform::ShowWindow(FensterHandle, platform::sw::Minimize);
      headless::At(uhrVorher + 500, [] { platform::ShowWindow(FensterHandle, platform::sw::Restore); });
    }
    if (t.n == 21) uhrNachher = platform::TickCount();
  });
  EXPECT_EQ(ticks, 40);
  EXPECT_GE(uhrNachher, uhrVorher + 500);
  const std::string log = testsupport::ReadText(home.dataDir() + "Debug.txt");
  EXPECT_NE(log.find("Alt-Tab"), std::string::npos);
  EXPECT_NE(log.find("Try to Reload Surfaces..."), std::string::npos);
}

// A step that fails for good ends the run with the error dialog naming the step.
TEST_F(Spielschleife, AFailingStepIsReportedWithItsNumber) {
  int64_t ticks = 0;
  platform::HDC dc = 0;
  Spielen(Demo(0, 40), [&](const Tick& t) {
    ticks = t.n;
    if (t.n != 10) return;
    AddMsg("Hallo");
    platform::GetDC(*BackBuffer, dc);  // the ticker cannot have the back buffer's text any more
  });
  EXPECT_EQ(ticks, 10);
  ASSERT_EQ(headless::Dialogs().size(), 1u);
  bool genannt = false;
  for (const auto& [label, text] : headless::Dialogs()[0].fields) genannt = genannt || text.find("Spielloop: 149") != std::string::npos;
  EXPECT_TRUE(genannt);
}

// F4: the frame statistics at (100, 530) and every enemy's slot and energy at it.
TEST_F(Spielschleife, TheDebugOverlayLabelsTheEnemies) {
  int zeile = -1, etikett = -1;
  Spielen(Demo(1540, 150), [&](const Tick& t) {
    if (t.n == 1) Showinfo = true;
    if (t.n < 3 || etikett >= 0) return;
    for (int32_t i = 0; i <= GegnerMax; ++i) {
      const Gegner& g = GegnerListe[i];
      if (g.Aktiv == 0 || g.X < 0 || g.X > 700 || g.Y < 0 || g.Y > 500) continue;
      etikett = Gruen(static_cast<int>(g.X), static_cast<int>(g.Y), static_cast<int>(g.X) + 60, static_cast<int>(g.Y) + 20);
      zeile = Gruen(100, 530, 400, 550);
      break;
    }
  });
  Showinfo = false;
  EXPECT_GT(zeile, 30);
  EXPECT_GT(etikett, 10);
}

// The headless program itself, twice with the same seed and keys: the same state every
// tick; another seed parts from it.
TEST_F(Spielschleife, TheSameSeedAndKeysGiveTheSameRun) {
  const std::string keys = home.home() + "keys.txt";
  testsupport::WriteText(keys, "# fire, weave\n100 S Up\n100 S Down\n100 Right S\n");
  auto lauf = [&](int seed) {
    return testsupport::HeadlessTickLines(std::string(HARVO_HEADLESS_EXE) + " -Skip -Level Level1 -Ticks 400 -Keys " +
                                          keys + " -Seed " + std::to_string(seed));
  };
  const std::vector<std::string> a = lauf(7), b = lauf(7), c = lauf(8);
  ASSERT_EQ(a.size(), 400u);
  EXPECT_EQ(a.front().rfind("1 1 0 ", 0), 0u) << a.front();
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

}  // namespace
