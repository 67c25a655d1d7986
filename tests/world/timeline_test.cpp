// The level timeline: events on their tick in list order, lists out of order, the exit and
// the end, checkpoint gates by players, level sounds, events naming what the level lacks,
// and the catch-up of a level started later.
#include "world/timeline.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/sound.hpp"
#include "lib/media_writer.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/upcalls.hpp"

namespace {

struct Tor {
  int32_t x, y, hoehe;
  bool operator==(const Tor&) const = default;
};
std::vector<Tor> g_tore;

// The heights of the active enemies in slot order (the tests give each its own).
std::vector<int32_t> Feinde() {
  std::vector<int32_t> f;
  for (int32_t k = 0; k <= GegnerMax; ++k)
    if (GegnerListe[k].Aktiv) f.push_back(GegnerListe[k].AY);
  return f;
}

std::vector<float> TeileX(int32_t ebene) {
  std::vector<float> x;
  for (int32_t k = 0; k <= Landschaft[ebene].Max; ++k)
    if (Landschaft[ebene].Objekte[k].Aktiv) x.push_back(Landschaft[ebene].Objekte[k].X);
  return x;
}

class Timeline : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;
  decltype(upcall::SetCheckpoint) checkpoint_ = upcall::SetCheckpoint;

  void SetUp() override { Neu(); }
  void TearDown() override {
    upcall::SetCheckpoint = checkpoint_;
    Soundclear();
    FreeLevelCatalogues();
    DebugModus = false;
    LetzterSpieler = 0;
    testsupport::FreshState();
  }
  // A level of two templates, three routes and four sprites, its lists still empty.
  void Neu(int32_t start = 0) {
    testsupport::FreshState();
    DatenOrdner = home.home();
    GegnerTypen.assign(2, GegnerTyp{});
    GegnerTypen[1].Name = "B";
    Routen.assign(3, Route{});
    SpriteDefs.assign(4, SpriteDef{});
    for (LevelEbene& e : Ebenen) e = LevelEbene{};
    LevelTick = start;
    LevelLaenge = 100000;
    LevelEnde = 0;
    Spieler[0].Status = Spieler[1].Status = 0;
    g_tore.clear();
    upcall::SetCheckpoint = [](int32_t x, int32_t y, int32_t h) { g_tore.push_back({x, y, h}); };
  }
};

}  // namespace

TEST_F(Timeline, EventsFireOnTheirTickInListOrderAndEarlierOnesAreDropped) {
  struct Fall {
    const char* name;
    int32_t start;
    std::vector<int32_t> ticks;     // one enemy each, its height its place in the list + 1
    std::vector<int32_t> gefeuert;  // the heights of the enemies placed, in slot order
  } faelle[] = {
      {"tick 0, in list order", 0, {0, 0, 1, -5}, {1, 2, 3}},
      {"a tick after a later one is lost", 0, {5, 3, 7, 7, 6}, {1, 3, 4}},
      {"ticks before the start", 10, {4, 9, 10, 12}, {3, 4}},
  };
  for (const Fall& f : faelle) {
    Neu(f.start);
    for (size_t i = 0; i < f.ticks.size(); ++i)
      Ebenen[4].Ereignisse.push_back({f.ticks[i], 0, 0, 0, static_cast<int32_t>(i) + 1});
    for (int i = 0; i < 20; ++i) SpielTick();
    EXPECT_EQ(Feinde(), f.gefeuert) << f.name;
    EXPECT_EQ(Ebenen[4].Cursor, static_cast<int32_t>(f.ticks.size())) << f.name;
  }
}

TEST_F(Timeline, TheShipsLeaveAtLengthMinus150AndTheLevelEndsAtItsLength) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
  struct Fall {
    const char* name;
    int32_t start, laenge;
    int32_t ausflug, ende;  // the LevelTick at which each happened, -1 never
    int32_t sprung = -1;    // the clock set to this after the first tick, -1 not
  } faelle[] = {
      {"from the start", 0, 200, 50, 200},
      {"started after the exit tick: no exit", 60, 200, -1, 200},
      {"started after the end: done at the first tick", 201, 200, -1, 202},
      {"length 0", 0, 0, -1, 1},
      {"a negative length", 0, -5, -1, 1},
      {"the lowest length", 0, kMin, -1, 1},
      {"the clock set past the end", 0, 200, -1, 301, 300},
      {"the clock at its top", kMax, kMax, -1, kMin},
  };
  for (const Fall& f : faelle) {
    Neu(f.start);
    LevelLaenge = f.laenge;
    int32_t ausflug = -1, ende = -1;
    bool zuEnde = false;
    for (int i = 0; i < 400; ++i) {
      SpielTick();
      if (i == 0 && f.sprung >= 0) LevelTick = f.sprung;
      // Both records, also in a one-player game.
      if (ausflug < 0 && Spieler[0].Status == 1 && Spieler[1].Status == 1) ausflug = LevelTick;
      if (!zuEnde && LevelEnde == 2) {
        zuEnde = true;
        ende = LevelTick;
      }
    }
    EXPECT_EQ(ausflug, f.ausflug) << f.name;
    EXPECT_EQ(ende, f.ende) << f.name;
  }
}

TEST_F(Timeline, CheckpointGatesByNumberOfPlayers) {
  struct Fall {
    int32_t spieler, typ, p1;
    std::vector<Tor> tore;
  } faelle[] = {
      // x = CLng(-0.5 + 101 \ 2 + 800): the half rounds to the even 850.
      {0, 3, 101, {{850, 40, 101}}}, {1, 3, 101, {}}, {0, 7, 101, {}}, {1, 7, 101, {{850, 40, 101}}},
      {0, 3, -3, {{798, 40, -3}}},  // -3 \ 2 is -1: 798.5 rounds to 798
  };
  for (const Fall& f : faelle) {
    Neu();
    LetzterSpieler = f.spieler;
    Ebenen[2].Offset = -0.5f;
    Ebenen[2].Ereignisse = {{0, f.typ, f.p1, 0, 40}};
    SpielTick();
    EXPECT_EQ(g_tore, f.tore) << f.typ << " with " << f.spieler + 1 << " players, height " << f.p1;
  }
}

TEST_F(Timeline, LevelSoundsPlayAtTheVoiceVolumeLoopAndStop) {
  testsupport::TempDir app;
  std::filesystem::create_directories(app / "Data/Sound");
  testsupport::WriteBytes(app / "Data/Sound/L.wav", tools::EncodeWav16(std::vector<int16_t>(20000, 3000), 1, 44100));
  SoundPfad = app.path() + "Data\\Sound\\";
  LevelSoundMap = {LoadSound("", "L.wav", 0, 44100)};
  ASSERT_GE(LevelSoundMap[0], 0);
  SprachLautstaerke = -1234;
  const platform::audio::SoundBuffer& kopie = Sounds[LevelSoundMap[0]].Kopien[0];
  const uint32_t spielt = DSBSTATUS_PLAYING, schleife = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
  // P2: 1 loops, 2 stops, 0 plays once, 3 does nothing, 2 stops, 2 stops what does not play;
  // then the same with sound off: nothing, but the cursor passes.
  const std::vector<std::pair<int32_t, uint32_t>> schritte = {{1, schleife}, {2, 0}, {0, spielt}, {3, spielt},
                                                              {2, 0},        {2, 0}, {1, 0}};
  for (size_t t = 0; t < schritte.size(); ++t)
    Ebenen[4].Ereignisse.push_back({static_cast<int32_t>(t), 1, 0, schritte[t].first, 0});
  for (size_t t = 0; t < schritte.size(); ++t) {
    SoundAn = t < 6;
    SpielTick();
    EXPECT_EQ(kopie.GetStatus() & schleife, schritte[t].second) << t;
  }
  EXPECT_EQ(kopie.GetVolume(), -1234);
  EXPECT_EQ(Ebenen[4].Cursor, 7);
}

TEST_F(Timeline, EventsNamingWhatTheLevelLacksAreSkippedWithALogLine) {
  DebugModus = true;
  Ebenen[4].Ereignisse = {{0, 0, 2, 0, 1},  {0, 0, -1, 0, 2}, {0, 0, 0, 3, 3},  // template 2, -1, route 3
                          {0, 1, 0, 0, 0},  {0, 2, 0, 0, 0},                    // no level sound, no message
                          {0, 0, 1, 2, 150}};
  Ebenen[2].Ereignisse = {{0, 0, 4, 0, 10}, {0, 1, 0, 0, 10}, {0, 0, 3, 0, 10}};  // sprite 4, animation 0
  SpielTick();
  ASSERT_EQ(Feinde(), std::vector<int32_t>{150});
  const Gegner& g = GegnerListe[0];
  EXPECT_EQ(std::tie(g.Typ.Name, g.RouteNr, g.LTick, g.X, g.Y),
            std::make_tuple(std::string("B"), 2, 0, 800.0f, 150.0f));
  EXPECT_EQ(TeileX(2), std::vector<float>{800});
  EXPECT_EQ(Ebenen[4].Cursor + Ebenen[2].Cursor, 9);
  const std::vector<std::string> log = testsupport::SplitLines(testsupport::ReadText(home.home() + "Debug.txt"));
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.ends_with("event skipped"); }),
            7);
}

TEST_F(Timeline, TheCatchUpPlacesTheItemsStillOnScreen) {
  struct Fall {
    const char* name;
    int32_t start;
    float speed;
    std::vector<int32_t> ticks;  // landscape items of layer 1 (type 1 at tick 300: an animation)
    std::vector<float> x;        // where the items stand
    int32_t cursor;
  } faelle[] = {
      {"a start at 0 only zeroes the scroll position", 0, 2, {0, 10}, {}, 0},
      {"-Tick 500 at 2 pixels: from tick 50", 500, 2, {40, 100, 300, 499, 500, 600}, {0, 798}, 4},
      {"3 pixels per tick: from tick 200", 500, 3, {100, 199, 200, 499, 500}, {-100, 797}, 4},
      {"a negative speed replays nothing", 500, -1, {100, 499}, {}, 0},
      {"no speed replays nothing", 500, 0, {100, 499}, {}, 0},
      {"out of order in the past", 500, 2, {450, 300, 480}, {700, 760}, 3},
      // Still at the right edge; the replay jumps from event to event, not over 2^31 ticks.
      {"a tiny speed", 500, 1e-30f, {-2000000000, 10, 499, 500}, {800, 800, 800}, 3},
  };
  for (const Fall& f : faelle) {
    Neu(f.start);
    for (int32_t k : {1, 4}) {
      Ebenen[k].Speed = f.speed;
      Ebenen[k].Offset = -0.5f;
      // Replayed items take Z 0 whatever P2 says; nothing but landscape items is replayed.
      for (int32_t t : f.ticks) Ebenen[k].Ereignisse.push_back({t, t == 300, 0, 5, 0});
    }
    SpielPastTicks();
    EXPECT_EQ(TeileX(1), f.x) << f.name;
    EXPECT_EQ(Landschaft[1].Max, static_cast<int32_t>(f.x.size()) - 1) << f.name;
    EXPECT_TRUE(Feinde().empty()) << f.name;
    EXPECT_EQ(Ebenen[1].Cursor, f.cursor) << f.name;
    EXPECT_EQ(Ebenen[4].Cursor, f.cursor) << f.name;
    EXPECT_EQ(Ebenen[1].Offset, 0) << f.name;
  }
}
