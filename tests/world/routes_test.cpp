// The route language: terms and the variables they name, what every command does on a
// tiny route, movement, homing, control flow, the step cap and the bad operands a level
// may hold.
#include "world/routes.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/special_events_state.hpp"
#include "campaign/ticker_state.hpp"
#include "engine/force.hpp"
#include "engine/magnifier.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/fresh_state.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// Variable codes as route terms.
constexpr float Vi0 = 32755, Vi7 = 32748, G0 = 32770, G13 = 32783;
constexpr float CodeX = 32759, CodeY = 32758, CodeSpeed = 32757, CodeHP = 32768;
constexpr float ZielX = 32763, ZielY = 32762;

// A command with its A terms and, where given, its B terms (missing ones are 0).
RoutenBefehl Cmd(int32_t op, std::vector<float> a = {}, std::vector<float> b = {}) {
  b.resize(a.size(), 0.0f);
  return RoutenBefehl{op, std::move(a), std::move(b)};
}
RoutenBefehl Warte(float n = 100) { return Cmd(5, {n}); }
// GVar(k) := GVar(k) + 1: counts how often a place of a route runs.
RoutenBefehl Zaehle(int k = 0) { return Cmd(9, {G0 + k, G0 + k}, {0, 1}); }

class Routes : public ::testing::Test {
 protected:
  testsupport::TempDataFolder daten;  // for the game's log
  void SetUp() override {
    testsupport::FreshState();
    FreeLevelCatalogues();
    FillSinTables();
    LetzterSpieler = 0;
    TickerLeer = false;
    SpriteDefs.assign(1, SpriteDef{});
    SpriteDefs[0].Frames.resize(3);
    Gegner& g = Feind();
    g = Gegner{};
    g.Aktiv = VBTrue;
    g.Typ.Speed = 1;
    g.Typ.Width = 20;
    g.Typ.Height = 10;
    g.Typ.HP = 50;
    g.Typ.Komponenten.assign(2, Feindkomponente{.Lebt = VBTrue, .Speed = 1});
    Routen.assign(1, Route{});
  }
  void TearDown() override {
    FreeLevelCatalogues();
    Surfaces.clear();
    LetzterSpieler = 0;
    testsupport::FreshState();
  }

  static Gegner& Feind() { return GegnerListe.Slot[0]; }
  static void Route0(std::vector<RoutenBefehl> b) {
    Routen[0].Befehle = std::move(b);
    Feind().RouteNr = 0;
    Feind().RoutePos = 0;
  }
  // One frame of the enemy body in slot 0.
  static int16_t Frame() {
    RoutenObjekt o = GegnerRoute(0);
    return DoRoute(o);
  }
  static float Gv(int k) { return Feind().GVar[static_cast<size_t>(k)]; }
};

// ---- Terms ---------------------------------------------------------------------------

TEST_F(Routes, EveryTermCodeReadsItsVariableAndANegativeCodeItsNegation) {
  Gegner& g = Feind();
  g.X = 11, g.Y = 12, g.Typ.Width = 13, g.Typ.Height = 14, g.Typ.Speed = 15, g.AY = 16, g.LTick = 17, g.Typ.HP = 18;
  for (int i = 0; i < 8; ++i) g.Vari[i] = 100.0f + i;
  for (int i = 0; i < 14; ++i) g.GVar[i] = 200.0f + i;
  g.VeskNr = 1;
  LevelTick = 19;
  LetzterSpieler = 1;
  Spieler[1].X = 21, Spieler[1].Y = 22;
  Schiff[1].Typ = 2;
  struct Fall {
    float term, wert;
  } faelle[] = {
      {5, 5}, {0, 0}, {32747.5f, 32747.5f}, {32790, 32790}, {32784.5f, 32784.5f}, {32769.5f, 32769.5f},
      {32755.5f, 32755.5f},  // between the codes: constants
      {32755, 100}, {32752, 103}, {32748, 107}, {32748.4f, 107}, {32754.5f, 100},  // Vari, index rounded
      {32756, 19}, {32757, 15}, {32758, 12}, {32759, 11}, {32760, 16}, {32761, 17}, {32762, 22}, {32763, 21},
      {32764, 550}, {32765, 800}, {32766, -14}, {32767, -13}, {32768, 18}, {32769, 1},
      {32770, 200}, {32783, 213}, {32770.5f, 200}, {32771.5f, 202},  // GVar, index rounded half to even
      {32784, 2},
  };
  const RoutenObjekt o = GegnerRoute(0);
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.term);
    EXPECT_EQ(Var(f.term, o), f.wert);
    EXPECT_EQ(Var(-f.term, o), -f.wert);
    EXPECT_EQ(Var(f.term, g.X, g.Y, g.Typ.Width, g.Typ.Height, g.Typ.Speed, g.AY, g.LTick, g.Vari, g.Typ.HP, g.VeskNr,
                  g.GVar),
              f.wert);
  }
  // The other player, one player only, and a target player that does not exist.
  g.VeskNr = 0, LetzterSpieler = 0, Spieler[0].X = 5, Schiff[0].Typ = 1;
  EXPECT_EQ(Var(32784, o), 1);
  EXPECT_EQ(Var(-32763, o), -5);
  EXPECT_EQ(Var(32769, o), 0);
  for (int32_t vesk : {-1, 2}) {
    g.VeskNr = vesk;
    EXPECT_EQ(Var(32784, o) + Var(32763, o) + Var(32762, o), 0) << vesk;
  }
}

TEST_F(Routes, AssignmentsWriteOnlyTheWritableCodes) {
  Gegner& g = Feind();
  g.VeskNr = 1;
  struct Fall {
    const char* name;
    float ziel;
    std::function<float()> feld;
    bool geschrieben;
  } faelle[] = {
      {"GVar 0", G0, [] { return Gv(0); }, true},
      {"GVar 13, sign ignored", -G13, [] { return Gv(13); }, true},
      {"Vari 0", Vi0, [&] { return g.Vari[0]; }, true},
      {"Vari 7, rounded code", Vi7 + 0.4f, [&] { return g.Vari[7]; }, true},
      {"energy", CodeHP, [&] { return g.Typ.HP; }, true},
      {"target ship x", ZielX, [] { return Spieler[1].X; }, true},
      {"target ship y", ZielY, [] { return Spieler[1].Y; }, true},
      {"own x", CodeX, [&] { return g.X; }, false},
      {"own y", CodeY, [&] { return g.Y; }, false},
      {"speed", CodeSpeed, [&] { return g.Typ.Speed; }, false},
      {"a constant", 5, [&] { return g.X; }, false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    const float vorher = f.feld();
    Route0({Cmd(9, {f.ziel, 77}), Warte()});
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(g.RoutePos, 1);
    EXPECT_EQ(f.feld(), f.geschrieben ? 77.0f : vorher);
  }
}

// ---- Commands on tiny routes ---------------------------------------------------------

// Every command that does not end the frame, followed by a long wait: the call runs it
// and stops on the wait. The check sees what it changed.
TEST_F(Routes, EachContinuingCommandDoesItsWorkAndGoesOn) {
  Gegner& g = Feind();
  struct Fall {
    const char* name;
    RoutenBefehl befehl;
    std::function<void()> vorher;
    std::function<bool()> pruefe;
  } faelle[] = {
      {"6 speed", Cmd(6, {7}), [] {}, [&] { return g.Typ.Speed == 7; }},
      {"7 frame held", Cmd(7, {1, 2}), [] {}, [&] { return g.Typ.Komponenten[1].AniA == 2 && g.Typ.Komponenten[1].TiA == -1; }},
      {"7 animation on", Cmd(7, {1, -1}), [&] { g.Typ.Komponenten[1].TiA = -1; }, [&] { return g.Typ.Komponenten[1].TiA == 0; }},
      {"7 frame the sprite lacks", Cmd(7, {1, 3}), [] {}, [&] { return g.Typ.Komponenten[1].TiA == 0 && g.Typ.Komponenten[1].AniA == 0; }},
      {"10 random 1..6", Cmd(10, {G0, 6}), [] { RndReset(); },
       [] { RndReset(); return Gv(0) == static_cast<float>(Int(Rnd() * 6.0f + 1.0f)) && Gv(0) >= 1 && Gv(0) <= 6; }},
      {"11 label", Cmd(11, {4}), [] {}, [] { return true; }},
      {"15 endif", Cmd(15), [] {}, [] { return true; }},
      {"20 quotient", Cmd(20, {G0, 7, 2}), [] {}, [] { return Gv(0) == 3.5f; }},
      {"20 by zero leaves the target", Cmd(20, {G0, 7, 0}), [] { Feind().GVar[0] = 9; }, [] { return Gv(0) == 9; }},
      {"21 product", Cmd(21, {G0, 7, -2}), [] {}, [] { return Gv(0) == -14; }},
      {"22 polar step", Cmd(22, {G0, G0 + 1, 90.4f}), [&] { g.Typ.Speed = 2; },
       [] { return Gv(0) == CosinusB(90) * 2 && Gv(1) == SinusB(90) * 2; }},
      {"23 direction", Cmd(23, {G0, 3, -4}), [] {}, [] { return Gv(0) == WinkelInGrad(3, -4); }},
      {"24 layer speed", Cmd(24, {3.9f, 2.5f}), [] {}, [] { return Ebenen[3].Speed == 2.5f; }},
      {"24 no such layer", Cmd(24, {7, 2.5f}), [] {}, [] {
         for (const LevelEbene& e : Ebenen) if (e.Speed != 0) return false;
         return true; }},
      {"25 landscape speed", Cmd(25, {3, 1.5f}), [] { Landschaft[3].Max = 1; },
       [] { return Ebenen[3].Speed == 1.5f && Landschaft[3].Objekte[0].DX == -1.5f && Landschaft[3].Objekte[1].DX == -1.5f &&
                   Landschaft[3].Objekte[2].DX == 0; }},
      {"26 magnifier", Cmd(26, {1, 2, 3, 4, 1.4f}), [] {}, [] {
         return LupeAuftraegeMax() == 0 && LupeAuftraege[0].x1 == 1 && LupeAuftraege[0].y1 == 2 &&
                LupeAuftraege[0].D == 3 && LupeAuftraege[0].Faktor == 4 && LupeAuftraege[0].Rein == 1; }},
      {"27 alpha", Cmd(27, {0, 0, 0.25f}), [] {}, [&] { return g.Typ.Komponenten[0].A == 0.25f; }},
      {"27 blue", Cmd(27, {1, 3, 0.5f}), [] {}, [&] { return g.Typ.Komponenten[1].B == 0.5f; }},
      {"27 angle below 0", Cmd(27, {1, 4, -30}), [] {}, [&] { return g.Typ.Komponenten[1].Drehung == 330; }},
      {"27 angle above 359", Cmd(27, {1, 4, 725}), [] {}, [&] { return g.Typ.Komponenten[1].Drehung == 5; }},
      {"27 other property", Cmd(27, {1, 5, 9}), [] {}, [&] { return g.Typ.Komponenten[1] == Feindkomponente{.Lebt = VBTrue, .Speed = 1}; }},
      {"28 rounded down", Cmd(28, {G0, -2.5f}), [] {}, [] { return Gv(0) == -3; }},
      {"31 shake", Cmd(31, {12}), [] {}, [] { return Erschuetterung == 12; }},
      {"31 negative shake", Cmd(31, {-1}), [] { Erschuetterung = 4; }, [] { return Erschuetterung == 4; }},
      {"32 nothing", Cmd(32, {1, 2}), [] {}, [] { return true; }},
      {"40 length", Cmd(40, {G0, 3, -4}), [] {}, [] { return Gv(0) == 5; }},
      {"41 noise capped at 1", Cmd(41, {0.5f}), [] { Rauschen = 0.8f; }, [] { return Rauschen == 1; }},
      {"41 noise floored at 0", Cmd(41, {-0.5f}), [] { Rauschen = 0.2f; }, [] { return Rauschen == 0; }},
      {"42 special event", Cmd(42, {3, 1, 2.5f, -3, 4.5f}), [] { SpezialStand.Neustart = false; },
       [] { return SpezialStand.Aktiv && SpezialStand.Neustart && SpezialStand.Art == 3 &&
                   SpezialStand.Wert1 == 1 && SpezialStand.Wert2 == 2 && SpezialStand.Wert3 == -3 &&
                   SpezialStand.Wert4 == 4; }},
      {"43 target player", Cmd(43, {1}), [] { LetzterSpieler = 1; }, [&] { return g.VeskNr == 1; }},
      {"43 a player not playing", Cmd(43, {5}), [&] { g.VeskNr = 1; }, [&] { return g.VeskNr == 0; }},
      // Commands whose services are drawn elsewhere: they run and the route goes on.
      {"8 generator", Cmd(8, {0, 0}), [] {}, [] { return true; }},
      {"19 animation", Cmd(19, {0, 1, 2}), [] {}, [] { return true; }},
      {"33 effect particle", Cmd(33, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), [] {}, [] { return true; }},
      {"34 lightning", Cmd(34, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1}), [] {}, [] { return true; }},
      {"37 bubble", Cmd(37, {1, 2, 3}), [] {}, [] { return true; }},
      {"38 radio", Cmd(38, {0}), [] {}, [] { return true; }},
      {"39 animation on a layer", Cmd(39, {0, 1, 2, 3}), [] {}, [] { return true; }},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    f.vorher();
    Route0({f.befehl, Warte()});
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(g.RoutePos, 1);
    EXPECT_EQ(g.Ti, 1) << "the wait ran in the same call";
    EXPECT_TRUE(f.pruefe());
  }
}

TEST_F(Routes, PlaceSetsXThenYWhichMayReadTheNewX) {
  Route0({Cmd(0, {10, CodeX}, {0, 1}), Cmd(6, {3})});
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Feind().X, 10);
  EXPECT_EQ(Feind().Y, 11);
  EXPECT_EQ(Feind().RoutePos, 1);
  EXPECT_EQ(Feind().Typ.Speed, 1) << "placing ends the frame";
}

TEST_F(Routes, TheLevelVariablesGrowOnWriteAndReadZeroOutside) {
  Route0({Cmd(17, {5, 7.4f}), Cmd(18, {5, G0}), Cmd(18, {9, Vi0}), Cmd(17, {-1, 3}), Cmd(17, {65536, 3}),
          Cmd(17, {2.5f, 8}), Cmd(18, {2, CodeHP}), Warte()});
  Feind().Vari[0] = 4;
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(RoutenVariablen, (std::vector<float>{0, 0, 8, 0, 0, 7}));
  EXPECT_EQ(Gv(0), 7);
  EXPECT_EQ(Feind().Vari[0], 0) << "G(9) lies outside and reads 0";
  EXPECT_EQ(Feind().Typ.HP, 50) << "G is read into own and shared variables only";
}

TEST_F(Routes, SoundCommandsPlayAndStopLevelSoundsAtTheVoiceVolume) {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(4000, 100), pcm->channels = 1, pcm->rate = 44100, pcm->blockAlign = 2;
  for (int i = 0; i < 2; ++i) {
    Sounds.emplace_back();
    Sounds.back().Kopien.emplace_back(pcm);
  }
  LevelSoundMap = {1, 0};
  SprachLautstaerke = -300;
  const auto status = [](int nr) { return Sounds[nr].Kopien[0].GetStatus(); };
  Route0({Cmd(29, {0, 1}), Cmd(29, {1, 0.5f}), Cmd(29, {2, 1}), Cmd(29, {-1, 1}), Warte()});
  Frame();
  EXPECT_EQ(status(1), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(status(0), DSBSTATUS_PLAYING);
  EXPECT_EQ(Sounds[1].Kopien[0].GetVolume(), -300);
  Route0({Cmd(30, {0}), Cmd(30, {5}), Warte()});
  Frame();
  EXPECT_EQ(status(1), 0u);
  EXPECT_EQ(status(0), DSBSTATUS_PLAYING);
  SoundAn = false;
  Route0({Cmd(29, {0, 1}), Cmd(30, {1}), Warte()});
  Frame();
  EXPECT_EQ(status(1), 0u);
  EXPECT_EQ(status(0), DSBSTATUS_PLAYING);
  Soundclear();
}

// ---- Movement ------------------------------------------------------------------------

TEST_F(Routes, MovesFlyAndArriveFrameByFrame) {
  struct Fall {
    const char* name;
    RoutenBefehl befehl;
    float speed;
    std::vector<float> xs;  // x after each frame
    int16_t letztes;        // result of the last frame
    int32_t pos;            // RoutePos after it
    float speedDanach;
  } faelle[] = {
      {"1 arrives, snaps and ends the route", Cmd(1, {10, 0}), 4, {4, 8, 10}, -1, 0, 4},
      {"2 arrives and goes on next frame", Cmd(2, {10, 0}), 4, {4, 8, 10}, 0, 1, 4},
      {"2 at speed 0 to the left arrives at once", Cmd(2, {-5, -5}), 0, {-5}, 0, 1, 0},
      {"2 at speed 0 to the right stalls", Cmd(2, {5, 0}), 0, {0, 0, 0, 0}, 0, 0, 0},
      {"3 slows down until its speed runs out", Cmd(3, {100, 0, -1}), 4, {4, 7, 9, 10}, 0, 1, 0},
      {"3 from rest takes a start impulse", Cmd(3, {100, 0, 2}), 0, {2, 6, 12}, 0, 0, 8},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Route0({f.befehl, Cmd(6, {99})});
    Feind().Typ.Speed = f.speed;
    int16_t r = 0;
    for (size_t i = 0; i < f.xs.size(); ++i) {
      r = Frame();
      EXPECT_EQ(Feind().X, f.xs[i]) << "frame " << i;
      if (i + 1 < f.xs.size()) {
        EXPECT_EQ(r, 0);
      }
    }
    EXPECT_EQ(r, f.letztes);
    EXPECT_EQ(Feind().RoutePos, f.pos);
    EXPECT_EQ(Feind().Typ.Speed, f.speedDanach) << "the next command waits for the next frame";
    if (f.pos == 1) {
      EXPECT_EQ(Feind().MX, 0);
    }
  }
}

TEST_F(Routes, ASingleStepEndsTheFrameOnlyOnItsFirstRun) {
  Route0({Cmd(4, {3, 0}), Cmd(6, {5}), Warte()});
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Feind().X, 3);
  EXPECT_EQ(Feind().RoutePos, 0);
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Feind().X, 3);
  EXPECT_EQ(Feind().Typ.Speed, 5) << "the second run goes on in the same call";
  EXPECT_EQ(Feind().MX, 0);

  Route0({Cmd(4, {0, 0}), Cmd(6, {5}), Warte()});
  Feind().Typ.Speed = 1;
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Feind().RoutePos, 1);
  EXPECT_EQ(Feind().Typ.Speed, 1) << "a step of nothing still ends the frame";
}

TEST_F(Routes, AWaitStaysItsFramesOnTheCommand) {
  for (float n : {0.0f, 1.0f, 5.0f}) {
    SCOPED_TRACE(n);
    SetUp();
    Route0({Warte(n), Warte()});
    int frames = 0;
    do {
      EXPECT_EQ(Frame(), 0);
      ++frames;
    } while (Feind().RoutePos == 0 && frames < 10);
    EXPECT_EQ(frames, std::max(1, static_cast<int>(n)));
    EXPECT_EQ(Feind().Ti, 0);
  }
}

TEST_F(Routes, OnlyRawShipCodesInAMakeAMoveHoming) {
  struct Fall {
    const char* name;
    RoutenBefehl befehl;
    bool folgt;
  } faelle[] = {
      {"ship x and y in A", Cmd(2, {ZielX, ZielY}), true},
      {"ship y in A only", Cmd(2, {G0, ZielY}), true},
      {"codes in B", Cmd(2, {0, 0}, {ZielX, ZielY}), false},
      {"negated codes", Cmd(2, {-ZielX, -ZielY}, {200, 0}), false},
      {"codes inside a variable", Cmd(2, {G0, G0 + 1}), false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Spieler[0].X = 100, Spieler[0].Y = 0;
    Feind().GVar[0] = 100;
    Route0({f.befehl});
    Feind().Typ.Speed = 1;
    Frame();
    EXPECT_FLOAT_EQ(Feind().X, 1);
    // The ship (and the variables) move straight below the enemy.
    Spieler[0].X = 1, Spieler[0].Y = 100;
    Feind().GVar[0] = 1, Feind().GVar[1] = 100;
    Frame();
    EXPECT_NEAR(Feind().X, f.folgt ? 1 : 2, 1e-5);
    EXPECT_NEAR(Feind().Y, f.folgt ? 1 : 0, 1e-5);
  }
}

// ---- Control flow --------------------------------------------------------------------

TEST_F(Routes, IfComparesByItsOperatorTerm) {
  struct Fall {
    float links, op, rechts;
    bool wahr;
  } faelle[] = {
      {1, -2, 2, true},  {2, -2, 2, false}, {2, -1, 2, true},  {3, -1, 2, false}, {2, 0, 2, true},
      {3, 0, 2, false},  {2, 1, 2, true},   {1, 1, 2, false},  {3, 2, 2, true},   {2, 2, 2, false},
      {3, 3, 2, false},  {3, 1.5f, 2, false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.links << " " << f.op << " " << f.rechts);
    SetUp();
    Route0({Cmd(13, {f.links, f.op, f.rechts}), Cmd(9, {G0, 1}), Cmd(14), Cmd(9, {G0, 2}), Cmd(15), Warte()});
    Feind().MX = 3;
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gv(0), f.wahr ? 1 : 2);
    EXPECT_EQ(Feind().MX, 0) << "the operands were held in the motion fields";
    EXPECT_EQ(Feind().RoutePos, 5);
  }
}

// The three Ifs hold their operands in the motion fields and leave both at 0, whatever
// they find, so that a move after them picks its direction anew.
TEST_F(Routes, EveryKindOfIfLeavesTheMotionAtZero) {
  struct Fall {
    const char* name;
    RoutenBefehl befehl;
    float zweig;  // 1 when the branch ran
  } faelle[] = {
      {"If, true", Cmd(13, {1, 0, 1}), 1},
      {"If, false", Cmd(13, {1, 0, 2}), 0},
      {"If landscape, nothing there", Cmd(16, {0, 0}), 0},
      {"If component gone, it lives", Cmd(44, {1}), 0},
      {"If component gone, it is gone", Cmd(44, {0}), 1},
      {"If component gone, one the enemy lacks", Cmd(44, {2}), 1},
      {"If component gone, an index below the list", Cmd(44, {-1}), 1},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Feind().Typ.Komponenten[0].Lebt = VBFalse;
    Route0({f.befehl, Zaehle(), Cmd(15), Warte()});
    Feind().MX = 3, Feind().MY = -4;
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gv(0), f.zweig);
    EXPECT_TRUE(Feind().MX == 0 && Feind().MY == 0);
  }
  // A shot has no components: its If on one is passed over too.
  int32_t pos = 0, vesk = 0;
  float x = 0, y = 0, mx = 3, my = -4, ti = 0, speed = 1, hp = 3;
  std::array<float, 8> vari{};
  std::array<float, 14> gvar{};
  Route0({Cmd(44, {0}), Cmd(15), Warte()});
  EXPECT_EQ(DoRoute(RouteSchuss, 0, pos, 0, x, y, mx, my, ti, vari, 8, 8, speed, 5, 0, hp, vesk, gvar), 0);
  EXPECT_EQ(pos, 2);
  EXPECT_TRUE(mx == 0 && my == 0);
}

TEST_F(Routes, NestedIfsFindTheirOwnElseAndEndIf) {
  const RoutenBefehl wahr = Cmd(13, {1, 0, 1}), falsch = Cmd(13, {1, 0, 2});
  struct Fall {
    const char* name;
    std::vector<RoutenBefehl> route;
    std::vector<float> g;  // GVar(0..2) afterwards
  } faelle[] = {
      {"false outer If skips an inner If-Else-EndIf to its own Else",
       {falsch, wahr, Zaehle(0), Cmd(14), Zaehle(0), Cmd(15), Cmd(14), Zaehle(1), Cmd(15), Zaehle(2), Warte()},
       {0, 1, 1}},
      {"true outer, false inner If: the inner Else runs, the outer Else is skipped",
       {wahr, falsch, Zaehle(0), Cmd(14), Zaehle(1), Cmd(15), Cmd(14), Zaehle(0), Cmd(15), Zaehle(2), Warte()},
       {0, 1, 1}},
      {"false If without Else resumes after its EndIf", {falsch, Zaehle(0), Cmd(15), Zaehle(2), Warte()}, {0, 0, 1}},
      {"an Else directly before an EndIf", {wahr, Zaehle(1), Cmd(14), Cmd(15), Zaehle(2), Warte()}, {0, 1, 1}},
      {"Ifs of the other kinds count for the nesting",
       {falsch, Cmd(44, {0}), Zaehle(0), Cmd(15), Cmd(16, {0, 0}), Cmd(15), Cmd(14), Zaehle(1), Cmd(15), Warte()},
       {0, 1, 0}},
      {"loops do not count for an If", {falsch, Cmd(35, {Vi0, 1, 2, 1}), Cmd(15), Zaehle(2), Warte()}, {0, 0, 1}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Route0(f.route);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Feind().RoutePos, static_cast<int32_t>(f.route.size()) - 1);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Gv(k), f.g[k]) << k;
  }
}

TEST_F(Routes, AnIfWithoutItsEndEndsTheRoute) {
  for (auto route : {std::vector<RoutenBefehl>{Cmd(13, {1, 0, 2}), Zaehle(), Zaehle()},
                     std::vector<RoutenBefehl>{Cmd(13, {1, 0, 1}), Cmd(14), Zaehle()},
                     std::vector<RoutenBefehl>{Zaehle(), Cmd(13, {1, 0, 2})}, std::vector<RoutenBefehl>{Cmd(14)}}) {
    SetUp();
    Route0(route);
    EXPECT_EQ(Frame(), -1);
    EXPECT_EQ(Feind().RoutePos, static_cast<int32_t>(route.size()));
  }
}

TEST_F(Routes, ForLoopsRunTheirBodyAndLeaveTheVariableBeyondTheEnd) {
  struct Fall {
    const char* name;
    float von, bis, schritt;
    float laeufe, danach;
  } faelle[] = {{"upwards", 1, 3, 1, 3, 4}, {"downwards", 3, 1, -1, 3, 0}, {"by two", 0, 5, 2, 3, 6},
                {"from 5 to 5 counting down runs once", 5, 5, -1, 1, 4}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Route0({Cmd(35, {Vi0, f.von, f.bis, f.schritt}), Zaehle(), Warte(1), Cmd(36), Zaehle(1), Warte()});
    for (int i = 0; i < 20 && Gv(1) == 0; ++i) EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gv(0), f.laeufe);
    EXPECT_EQ(Feind().Vari[0], f.danach);
    EXPECT_EQ(Feind().RoutePos, 5);
  }
}

TEST_F(Routes, LoopsNestAndFromTwoToTwoNeverEnds) {
  Route0({Cmd(35, {Vi0, 1, 3, 1}), Cmd(35, {Vi0 - 1, 1, 2, 1}), Zaehle(), Cmd(36), Cmd(36), Warte()});
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Gv(0), 6);
  EXPECT_EQ(Feind().RoutePos, 5);

  Feind().GVar = {};
  Route0({Cmd(35, {Vi0, 2, 2, 1}), Zaehle(), Warte(1), Cmd(36), Zaehle(1)});
  for (int i = 0; i < 50; ++i) EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Gv(0), 50);
  EXPECT_EQ(Gv(1), 0);

  Feind().GVar = {};
  Route0({Cmd(36), Zaehle(), Warte()});
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Gv(0), 1) << "a Next as the first command goes on";
}

TEST_F(Routes, GotoFindsTheFirstMatchingLabelOrWaits) {
  struct Fall {
    const char* name;
    float ziel, labelVariable;
    int32_t pos;                  // RoutePos after the call
    std::array<float, 3> zaehler;  // which parts of the route ran
  } faelle[] = {
      {"first of two equal labels", 1, 2, 8, {0, 0, 1}},
      {"the target is rounded", 0.6f, 2, 8, {0, 0, 1}},
      {"a label given by a variable", 2, 2, 8, {0, 1, 1}},
      {"a label of 2.5 is never matched", 2.5f, 2, 8, {0, 1, 1}},
      {"a label of 2.5 is never matched, not even alone", 2.5f, 7, 0, {0, 0, 0}},
      {"missing label: wait on the go-to", 9, 2, 0, {0, 0, 0}},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Feind().GVar[3] = f.labelVariable;
    Route0({Cmd(12, {f.ziel}), Cmd(11, {2.5f}), Zaehle(0), Cmd(11, {G0 + 3}), Zaehle(1), Cmd(11, {1}), Zaehle(2),
            Cmd(11, {1}), Warte()});
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Feind().RoutePos, f.pos);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Gv(k), f.zaehler[k]) << k;
  }
}

// ---- Limits and bad operands ----------------------------------------------------------

TEST_F(Routes, ACallRunsAtMost9999Commands) {
  Route0({Cmd(11, {0}), Zaehle(), Cmd(12, {0})});
  EXPECT_EQ(Frame(), -1);
  EXPECT_EQ(Gv(0), 4999) << "the label, then 4999 times counting and going back";
  EXPECT_EQ(Feind().RoutePos, 1) << "the position stays where the cap found it";
}

TEST_F(Routes, ALowerCapCutsTheLoopSooner) {
  struct Fall {
    int32_t grenze;
    float gezaehlt;
    int32_t pos;
  } faelle[] = {{2, 0, 1}, {3, 1, 2}, {4, 1, 1}, {500, 249, 1}, {501, 250, 2}, {RoutenSchrittgrenze, 4999, 1}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.grenze);
    SetUp();
    Route0({Cmd(11, {0}), Zaehle(), Cmd(12, {0})});
    const int64_t vorher = RoutenSchritte;
    RoutenObjekt o = GegnerRoute(0);
    EXPECT_EQ(DoRoute(o, f.grenze), -1);
    EXPECT_EQ(RoutenSchritte - vorher, f.grenze - 1);
    EXPECT_EQ(Gv(0), f.gezaehlt);
    EXPECT_EQ(Feind().RoutePos, f.pos);
  }
}

TEST_F(Routes, RoutesThatCannotRunEndWithOrWithoutAMessage) {
  struct Fall {
    const char* name;
    int32_t routeNr, pos, befehl;
    int16_t ergebnis;
    size_t meldungen;
    int32_t posDanach;
  } faelle[] = {{"negative route", -1, 0, 6, -1, 2, 0},  {"route above the table", 1, 0, 6, -1, 2, 0},
                {"past the last command", 0, 1, 6, -1, 0, 1}, {"negative position", 0, -1, 6, -1, 0, -1},
                {"opcode 45 stalls", 0, 0, 45, 0, 0, 0}, {"opcode -1 stalls", 0, 0, -1, 0, 0, 0}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Route0({Cmd(f.befehl, {9})});
    Feind().RouteNr = f.routeNr;
    Feind().RoutePos = f.pos;
    EXPECT_EQ(Frame(), f.ergebnis);
    EXPECT_EQ(Frame(), f.ergebnis);
    EXPECT_EQ(Feind().RoutePos, f.posDanach);
    EXPECT_EQ(Feind().Typ.Speed, 1);
    EXPECT_EQ(MessageHistory.Zeilen.size(), f.meldungen);
    if (f.meldungen) {
      EXPECT_EQ(MessageHistory.Zeilen.back(), "Falsche Route f\xFCr Feindkomponente");
    }
  }
}

TEST_F(Routes, MissingTermsReadZero) {
  Route0({Cmd(6), Cmd(9, {G0}), Cmd(40, {G0 + 1}), Cmd(33), Cmd(34), Cmd(26), Warte()});
  Feind().GVar[0] = Feind().GVar[1] = 5;
  EXPECT_EQ(Frame(), 0);
  EXPECT_EQ(Feind().Typ.Speed, 0);
  EXPECT_EQ(Gv(0), 0);
  EXPECT_EQ(Gv(1), 0);
  EXPECT_EQ(Feind().RoutePos, 6);
}

// Component indices outside the enemy, and every enemy command in a shot's route, are
// passed over: nothing of enemy slot 0 changes.
TEST_F(Routes, EnemyCommandsOutsideTheEnemyChangeNothing) {
  const Gegner vorher = Feind();
  const auto gleich = [&] {
    const Gegner& g = Feind();
    return g.Typ == vorher.Typ && g.VeskNr == vorher.VeskNr && g.X == vorher.X;
  };
  const std::vector<RoutenBefehl> befehle = {Cmd(7, {2, 1}),  Cmd(7, {-1, 1}),  Cmd(27, {2, 0, 0.5f}),
                                             Cmd(27, {-1, 4, 9}), Cmd(8, {2, 0}), Cmd(8, {-1, 0})};
  for (const RoutenBefehl& b : befehle) {
    SCOPED_TRACE(b.Befehl);
    Route0({b, Cmd(44, {2}), Zaehle(), Warte()});
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Gv(0), 1) << "an If on a component the enemy lacks is passed over";
    Feind().GVar[0] = 0;
    EXPECT_TRUE(gleich());
  }

  // A shot: its own fields, enemy slot 0 untouched.
  int32_t pos = 0, vesk = 0;
  float x = 0, y = 0, mx = 0, my = 0, ti = 0, speed = 1, hp = 3;
  std::array<float, 8> vari{};
  std::array<float, 14> gvar{};
  LetzterSpieler = 1;
  Route0({Cmd(7, {0, 1}), Cmd(27, {0, 0, 0.5f}), Cmd(43, {1}), Cmd(8, {0, 0}), Cmd(8, {0, -1}), Cmd(44, {0}),
          Cmd(9, {G0, 4}), Cmd(9, {CodeHP, 8}), Warte()});
  EXPECT_EQ(DoRoute(RouteSchuss, 0, pos, 0, x, y, mx, my, ti, vari, 8, 8, speed, 5, 0, hp, vesk, gvar), 0);
  EXPECT_EQ(pos, 8);
  EXPECT_EQ(gvar[0], 4);
  EXPECT_EQ(hp, 8);
  EXPECT_EQ(Gv(0), 0);
  EXPECT_TRUE(gleich());
}

TEST_F(Routes, AComponentMovesItsOffsetAndSharesTheEnemysVariables) {
  Gegner& g = Feind();
  g.X = 100, g.VeskNr = 1;
  Feindkomponente& k = g.Typ.Komponenten[1];
  k.RouteNr = 0, k.OffsetX = 5, k.Speed = 2;
  Route0({Cmd(9, {G0, 32760}), Cmd(9, {Vi0, 32767}), Cmd(16, {0, 0}), Zaehle(2), Cmd(15), Cmd(1, {9, 0})});
  RoutenObjekt o = KomponentenRoute(0, 1, 30, 40);
  EXPECT_EQ(DoRoute(o), 0);
  EXPECT_EQ(Gv(0), 1) << "a component's AY is its index";
  EXPECT_EQ(k.Vari[0], -30);
  EXPECT_EQ(g.Vari[0], 0);
  EXPECT_EQ(Gv(2), 0) << "no landscape here: the false branch";
  EXPECT_EQ(k.OffsetX, 7);
  EXPECT_EQ(g.X, 100);
  EXPECT_EQ(k.RoutePos, 5);
  EXPECT_EQ(DoRoute(o), -1);
  EXPECT_EQ(k.OffsetX, 9);
}

// The child and the generator go through services built elsewhere; while they are still
// stand-ins these checks have nothing to see.
TEST_F(Routes, ChildrenAreCentredOnTheirComponentOrOnTheObject) {
  AddEnemy(GegnerTyp{}, 0, 0, 0, 0);
  if (GegnerMax < 0) GTEST_SKIP() << "placing enemies is not built yet";
  struct Fall {
    float komponente;
    int32_t x, y;
  } faelle[] = {{1, 100 + 5 + 8 - 5, 50 + 2 + 3 - 3}, {-1, 100 + 10 - 5, 50 + 5 - 3}, {7, 100 + 10 - 5, 50 + 5 - 3}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.komponente);
    SetUp();
    GegnerTypen.assign(3, GegnerTyp{.Width = 10, .Height = 6});
    Gegner& g = Feind();
    g.X = 100, g.Y = 50, g.Typ.Parameter[7] = 4002;  // template 2 on route 4
    g.Typ.Komponenten[1].OffsetX = 5, g.Typ.Komponenten[1].OffsetY = 2;
    Surfaces.resize(1);
    Surfaces[0].SrcRect = {2, 3, 18, 10};  // 16 by 7
    SpriteDefs[0].Frames[0].Surface = 0;
    LevelTick = 33;
    Route0({Cmd(8, {f.komponente, -1}), Warte()});
    Frame();
    ASSERT_EQ(GegnerMax, 1);
    const Gegner& kind = GegnerListe.Slot[1];
    EXPECT_EQ(kind.X, f.x);
    EXPECT_EQ(kind.Y, f.y);
    EXPECT_EQ(kind.RouteNr, 4);
    EXPECT_EQ(kind.LTick, 33);
  }
}

TEST_F(Routes, AGeneratorStartsOnlyOnAComponentOfTheEnemy) {
  ErzeugerTypen.assign(2, ErzeugerTypDaten{});
  AddGegnerSchussErzeuger(0, 0, 0, VBFalse, 0);
  if (SchussErzeuger.Max < 0) GTEST_SKIP() << "shot generators are not built yet";
  SetUp();
  ErzeugerTypen.assign(2, ErzeugerTypDaten{});
  Feind().VeskNr = 1;
  Route0({Cmd(8, {1, 1}), Cmd(8, {2, 1}), Cmd(8, {1, 2}), Warte()});
  Frame();
  ASSERT_EQ(SchussErzeuger.Max, 0);
  const SchussErzeugerDaten& e = SchussErzeuger.Slot[0];
  EXPECT_EQ(e.Nr, 1);
  EXPECT_EQ(e.FeindNR, 0);
  EXPECT_EQ(e.FeindNRKomponente, 1);
  EXPECT_EQ(e.VeskNr, 1);
}

}  // namespace
