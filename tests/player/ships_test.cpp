// The ships: set-up for a game, a level and a life; movement under the keys (step, water,
// tilt, inertia, bounds, the scenery's push, the way out); contact, death and the one- and
// two-player outcomes; the debug keys; and how a ship is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/render.hpp"
#include "frontend/effects_state.hpp"
#include "platform/bytes.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
#include "player/players.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "player/ship_control.hpp"
#include "player/ship_death.hpp"
#include "ship_support.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "weapon_support.hpp"
#include "world/enemies_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

using shiptest::Hold;
using shiptest::StandardBlock;

namespace {

class Ships : public ::testing::Test {
 protected:
  testsupport::TempDataFolder daten;  // a sound the table lacks is logged

  void SetUp() override {
    platform::headless::Reset();
    Start(0);
  }
  void TearDown() override {
    shiptest::ReleaseAll();
    LetzterSpieler = 0;
    Rendern = true;
    SpriteDefs.clear();
    Surfaces.clear();
    Ebenen[3].Speed = 0;
    Wasserstand = 0;
    Traegheit = true;
    ResetShipControl();
    testsupport::FreshState();
  }

  // A new game of `letzter` + 1 players of types 0 and 1, at the level's start, armed, the
  // shields already run out, nothing drawn.
  void Start(int32_t letzter) {
    testsupport::FreshState();
    LetzterSpieler = letzter;
    VeskReset();
    ResetAllPools();
    ResetShipControl();
    Rendern = false;
    StandardBlock(Schiff[0], 0);
    StandardBlock(Schiff[1], 1);
    shiptest::BindKeys();
    Ebenen[3].Speed = 0;
    Wasserstand = 0;
    Traegheit = true;
    LevelEnde = 0;
    BlendStart = false;
    VeskReset();
    VeskPosSetup();
    VeskInit(0);
    VeskInit(1);
    ResetTrails();
    Spieler[0].Schild = Spieler[1].Schild = 0;
  }
  // Key set of player p.
  static int32_t Set(int32_t p) { return p + LetzterSpieler; }
  // Frames of the movement step with the keys of `tasten` held by player 0 (R L U D).
  static void Fly(const std::string& tasten, int frames = 1) {
    Hold(Set(0), AktionRechts, tasten.find('R') != std::string::npos);
    Hold(Set(0), AktionLinks, tasten.find('L') != std::string::npos);
    Hold(Set(0), AktionHoch, tasten.find('U') != std::string::npos);
    Hold(Set(0), AktionRunter, tasten.find('D') != std::string::npos);
    for (int i = 0; i < frames; ++i) SpielKeysVesk();
  }
};

}  // namespace

// ---- Set-up -----------------------------------------------------------------------------

TEST_F(Ships, ANewGameALevelAndALife) {
  struct Fall {
    const char* name;
    int32_t letzter;
    int32_t typ0;  // the first player's ship type
    int32_t leben;
    float y0, y1;
    int32_t podY;  // every pod's y
  } faelle[] = {
      {"one player", 0, 0, 3, 260, 324, 262},
      {"two players", 1, 0, 6, 228, 292, 230},
      {"one player of type 1: the pods wait at the unused record", 0, 1, 3, 260, 324, 326},
      {"two players, the first of type 1: the second carries the pods", 1, 1, 6, 228, 292, 294},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    LetzterSpieler = f.letzter;
    Schiff[0].Typ = f.typ0;
    Spieler[0].Punkte = 1234;
    ExtraLebenSchwelle = 12;
    BesterDurchgang = 4;
    Pods[3].Besitz = VBTrue;
    Drohnen.Kette.resize(5);
    VeskReset();
    VeskPosSetup();
    EXPECT_EQ(Spieler[0].Leben, f.leben);
    EXPECT_EQ(Spieler[1].Leben, f.leben);
    EXPECT_EQ(Spieler[0].Punkte, 0);
    EXPECT_EQ(Spieler[1].X, 100.0f);
    EXPECT_EQ(Spieler[0].Y, f.y0);
    EXPECT_EQ(Spieler[1].Y, f.y1);
    EXPECT_EQ(ExtraLebenSchwelle, 3);
    EXPECT_EQ(Durchgang, 5);
    for (const PodDaten& pod : Pods) EXPECT_EQ(pod.X * 1000 + pod.Y, 100 * 1000 + f.podY);
    EXPECT_EQ(Pods[3].Besitz, 0);
    ASSERT_EQ(Drohnen.DrohnenMax(), 1);
    EXPECT_EQ(Drohnen.Kette[1].VerlaufY[10], f.y0 + 16);
  }
  // A life: alive, full energy and a shield; score, lives and weapons stay.
  SpielerDaten& s = Spieler[0];
  s.Energie = -3;
  s.Leben = 2;
  s.EnergieMax = 120;
  s.Tod = 57;
  s.Punkte = 4200;
  s.Waffenstufe = 3;
  VeskInit(0);
  EXPECT_EQ(std::vector<float>({float(s.Tod), s.Energie, float(s.Schild), float(s.Punkte), float(s.Leben),
                                float(s.Waffenstufe)}),
            std::vector<float>({0, 120, 100, 4200, 2, 3}));
  // The play-through count cannot pass the largest number.
  BesterDurchgang = std::numeric_limits<int32_t>::max();
  VeskReset();
  EXPECT_EQ(Durchgang, std::numeric_limits<int32_t>::max());
}

TEST_F(Ships, ARecordIsStoredInItsFieldOrder) {
  SpielerDaten s;
  s.X = 1.5f;
  s.Punkte = 0x01020304;
  s.Status = 3;
  s.Name = "Ab";
  s.HighscoreNr = 9;
  std::vector<uint8_t> d;
  platform::ByteWriter out(d);
  Felder(out, s);
  // 26 numbers of four bytes, the name with its 16-bit length, the tag.
  ASSERT_EQ(d.size(), 26u * 4 + 2 + 2 + 4);
  EXPECT_EQ(std::vector<uint8_t>(d.begin(), d.begin() + 4), (std::vector<uint8_t>{0, 0, 0xC0, 0x3F}));
  EXPECT_EQ(std::vector<uint8_t>(d.begin() + 60, d.begin() + 64), (std::vector<uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(d[92], 3);
  EXPECT_EQ(std::vector<uint8_t>(d.begin() + 104, d.end()), (std::vector<uint8_t>{2, 0, 'A', 'b', 9, 0, 0, 0}));
  SpielerDaten zurueck;
  platform::ByteReader in(d);
  Felder(in, zurueck);
  EXPECT_TRUE(in.Ok());
  EXPECT_EQ(zurueck.Name, "Ab");
  EXPECT_EQ(zurueck.Punkte, s.Punkte);
}

// ---- Movement ---------------------------------------------------------------------------

TEST_F(Ships, TheStepByWaterPowerModeAndTheScreensEdges) {
  struct Fall {
    const char* name;
    int32_t wasser;
    float x, y;
    bool power;
    float speed;
    std::string tasten;
    float ex, ey;
  } faelle[] = {
      {"dry", 0, 100, 260, false, 6, "R", 106, 260},
      {"hit box above the surface", 200, 100, 333, false, 6, "R", 106, 333},  // top 350, the surface 350
      {"hit box below the surface", 200, 100, 334, false, 6, "R", 103, 334},
      {"the power mode swims", 200, 100, 334, true, 6, "R", 106, 334},
      {"water up to the top slows everywhere", 550, 100, -17, false, 6, "R", 103, -17},
      {"never slower than 1", 200, 100, 334, false, 2, "R", 101, 334},
      {"speed rounded half to even", 0, 100, 260, false, 2.5f, "R", 102, 260},
      {"speed rounded half to even, up", 0, 100, 260, false, 3.5f, "R", 104, 260},
      {"the right edge", 0, 734, 300, false, 6, "R", 736, 300},
      {"the left edge", 0, 3, 300, false, 6, "L", 0, 300},
      {"the top", 0, 300, -14, false, 6, "U", 300, -17},
      {"the bottom of the play area", 0, 300, 494, false, 6, "D", 300, 496},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Wasserstand = f.wasser;
    Spieler[0].X = f.x;
    Spieler[0].Y = f.y;
    Spieler[0].Speed = f.speed;
    Beam[0].Powermodus = f.power ? VBTrue : VBFalse;
    Fly(f.tasten);
    EXPECT_EQ(Spieler[0].X, f.ex);
    EXPECT_EQ(Spieler[0].Y, f.ey);
  }
}

TEST_F(Ships, TheShipTiltsWhileUpOrDownIsHeldAndLevelsOut) {
  struct Fall {
    const char* name;
    std::string tasten;  // per frame: U up, D down, . neither
    std::string spalten;
  } faelle[] = {
      {"held up, released", "UUUUUUU.........", "1111110111111112"},
      {"held down, released", "DDDDDDD.........", "3333334333333332"},
      {"a tap", "U....", "11112"},
      // Easing off leaves the timer at -1 for a frame; a key held from then on still leans.
      {"down held just as it levels out", "UUUUUUU........DDDDDDD", "1111110111111112222223"},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Start(0);
    std::string spalten;
    for (char c : f.tasten) {
      Fly(c == 'U' ? "U" : c == 'D' ? "D" : "");
      spalten += static_cast<char>('0' + Spieler[0].FrameSpalte);
    }
    EXPECT_EQ(spalten, f.spalten);
  }
}

TEST_F(Ships, InertiaAfterTenPresses) {
  struct Fall {
    const char* name;
    std::string tasten;
    int frames;
    bool traegheit;
    std::string danach;  // keys of the frames after the run
    int gleitet;         // frames in which the released ship still moves
  } faelle[] = {
      {"ten frames to the right", "R", 10, true, "", 12},
      {"nine are not enough", "R", 9, true, "", 0},
      {"five diagonal frames are ten presses", "RU", 5, true, "", 12},
      {"without the inertia option", "R", 10, false, "", 0},
      {"left and right together move nothing", "LR", 10, true, "", 0},
      {"left and right together stop a glide", "R", 10, true, "..B", 2},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Start(0);
    Traegheit = f.traegheit;
    Spieler[0].X = 200;
    Fly(f.tasten, f.frames);
    int gleitet = 0;
    for (int i = 0; i < 30; ++i) {
      const float x = Spieler[0].X;
      Fly(i < static_cast<int>(f.danach.size()) && f.danach[i] == 'B' ? "LR" : "");
      if (Spieler[0].X != x) ++gleitet;
    }
    EXPECT_EQ(gleitet, f.gleitet);
  }
  // The glide keeps 85 % of the movement per frame: 6, then 5.1, 4.335 ...
  Start(0);
  Spieler[0].X = 200;
  Fly("R", 10);
  Fly("", 2);
  EXPECT_FLOAT_EQ(Spieler[0].X, 260 + 5.1f + 4.335f);
}

TEST_F(Ships, TheScenerysPushAndAWayOutOfIt) {
  const int32_t block = shiptest::BlockSprite(40, 200);
  Ebenen[3].Speed = 2;
  // The rock lies 2 pixels right of the hit box: the scroll carries it into the ship.
  shiptest::Rock(0, block, 365, 150);
  Spieler[0].X = 300;
  Fly("");
  EXPECT_EQ(Spieler[0].X, 298.0f);
  // Flown into a rock, the ship goes back on the axis that frees it.
  Ebenen[3].Speed = 0;
  Spieler[0].X = 300;
  Spieler[0].Y = 260;
  Fly("RD");
  EXPECT_EQ(Spieler[0].X, 300.0f);
  EXPECT_EQ(Spieler[0].Y, 266.0f);
  EXPECT_EQ(Spieler[0].Tod, 0);
}

TEST_F(Ships, PushedOffTheLeftEdgeTheShipIsCrushedAndOnlyItsOwnStepEnds) {
  for (int32_t schild : {0, 50}) {
    SCOPED_TRACE(schild);
    Start(1);
    Ebenen[3].Speed = 3;
    shiptest::Rock(0, shiptest::BlockSprite(40, 300), 65, 0);
    Spieler[0].X = 1;
    Spieler[0].Y = 100;
    Spieler[0].Schild = schild;
    Spieler[1].X = 300;
    Spieler[1].Y = 400;
    Hold(Set(1), AktionRechts);
    SpielKeysVesk();
    EXPECT_EQ(Spieler[0].X, -2.0f);
    EXPECT_EQ(Spieler[0].Tod, schild > 0 ? 0 : 1);
    SpielKeysVesk();
    EXPECT_EQ(Spieler[1].X, 312.0f);  // the second ship still flies
  }
}

TEST_F(Ships, TheWayOutSteersToTheExitLine) {
  struct Fall {
    int32_t d;  // the ship's centre below the line
    float dy;
    int32_t spalte;
  } faelle[] = {
      {250, -10, 0}, {201, -10, 0}, {200, -5, 0}, {101, -5, 0}, {100, -3, 1}, {21, -3, 1}, {20, -2, 1},
      {11, -2, 1},   {10, -1, 1},   {1, -1, 1},   {-1, 1, 3},   {-10, 1, 3},  {-11, 2, 3}, {-20, 2, 3},
      {-21, 3, 3},   {-100, 3, 3},  {-101, 5, 4}, {-200, 5, 4}, {-201, 10, 4}, {-243, 10, 4},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.d);
    Spieler[0].Status = 2;
    Spieler[0].X = 400;
    Spieler[0].Y = static_cast<float>(243 + f.d);
    Fly("RU");  // the keys do nothing now
    EXPECT_EQ(Spieler[0].Y, static_cast<float>(243 + f.d) + f.dy);
    EXPECT_EQ(Spieler[0].FrameSpalte, f.spalte);
    EXPECT_EQ(Spieler[0].X, 400.0f);
    EXPECT_EQ(Spieler[0].Status, 2);
  }
}

TEST_F(Ships, OnTheExitLineTheShipFlashesAndLeaves) {
  Spieler[0].Status = 1;
  Spieler[0].X = 300;
  Spieler[0].Y = 243.5f;  // the centre rounds onto the line
  Spieler[0].FrameSpalte = 4;
  Fly("");
  EXPECT_EQ(Spieler[0].Schild, 500);
  EXPECT_TRUE(SpurAn);
  EXPECT_EQ(Spieler[0].Status, 3);
  EXPECT_EQ(Spieler[0].FrameSpalte, 2);
  EXPECT_EQ(Spieler[0].X, 300.0f);
  Fly("L", 3);
  EXPECT_EQ(Spieler[0].X, 345.0f);
  // A special sequence holds the ship where it is.
  Spieler[0].Status = 5;
  Fly("R");
  EXPECT_EQ(Spieler[0].X, 345.0f);
}

// ---- Contact and death -------------------------------------------------------------------

TEST_F(Ships, ContactTheShieldAndTheScenery) {
  struct Fall {
    const char* name;
    int32_t schild;
    float vorher, energie;  // energy at the frame's start and now
    float feindHP;          // 0: no enemy there
    bool fels;              // a rock under the ship
    float energieDanach;
    int32_t tod;
    float feindHPDanach;
    int32_t wackeln;
  } faelle[] = {
      {"nothing there", 0, 100, 100, 0, false, 100, 0, 0, 0},
      {"15 damage per touch, 2 energy each", 0, 100, 100, 45, false, 94, 0, 0, 4},
      {"destroyed as the energy drops below 0", 0, 5, 5, 1000, false, -1, 1, 955, 4},
      {"energy that shots took below 0 ends the ship", 0, 10, -3, 0, false, -3, 1, 0, 0},
      {"no more than the maximum", 0, 100, 150, 0, false, 100, 0, 0, 0},
      {"the scenery destroys", 0, 100, 100, 0, true, 100, 1, 0, 0},
      {"a shield touches nothing", 50, 100, 100, 1000, true, 100, 0, 1000, 0},
      {"a shield undoes the frame's gain", 5, 50, 80, 0, false, 50, 0, 0, 0},
      {"and its loss", 1, 50, 20, 0, false, 50, 0, 0, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Start(0);
    Spieler[0].X = 300;
    Spieler[0].Y = 260;
    Spieler[0].Schild = f.schild;
    SpielerSpur[0][10].Energie = f.vorher;
    Spieler[0].Energie = f.energie;
    if (f.feindHP > 0) shiptest::Enemy(0, shiptest::BlockSprite(32, 32), 340, 280, f.feindHP);
    if (f.fels) shiptest::Rock(0, shiptest::BlockSprite(20, 20), 310, 290);
    Erschuetterung = 0;
    SpielFeindberücrung();
    EXPECT_EQ(Spieler[0].Energie, f.energieDanach);
    EXPECT_EQ(Spieler[0].Tod, f.tod);
    EXPECT_EQ(Spieler[0].Schild, f.schild > 0 ? f.schild - 1 : 0);
    if (f.feindHP > 0) {
      EXPECT_EQ(GegnerListe[0].Typ.Komponenten[0].HP, f.feindHPDanach);
    }
    EXPECT_EQ(Erschuetterung, f.wackeln);
  }
  // Left of the screen the ship is put back on it first.
  Start(0);
  Spieler[0].X = -7;
  SpielFeindberücrung();
  EXPECT_EQ(Spieler[0].X, 0.0f);
}

TEST_F(Ships, OnePlayerTheLevelRestartsNinetyNineFramesAfterTheDeath) {
  for (int32_t leben : {2, 0}) {
    SCOPED_TRACE(leben);
    Start(0);
    Spieler[0].Leben = leben;
    Spieler[0].Energie = -1;
    MusikFadeSchritt = 5;
    SpielFeindberücrung();
    ASSERT_EQ(Spieler[0].Tod, 1);
    int frame = 0;
    while (LevelEnde == 0 && frame < 200) {
      ++frame;
      SpielFeindberücrung();
    }
    EXPECT_EQ(frame, 99);
    EXPECT_TRUE(BlendStart);
    EXPECT_EQ(MusikFadeSchritt, leben > 0 ? 5 : -1);
    EXPECT_EQ(Spieler[0].Leben, leben);
  }
}

TEST_F(Ships, ADestroyedShipsSatellite) {
  struct Fall {
    const char* name;
    int32_t letzter, typ;
    bool boss;
    int32_t stufe, zustand;
    bool da;
    int32_t zustandDanach, stufeDanach;
  } faelle[] = {
      {"one player: it goes too", 0, 1, false, 2, 1, false, 1, 2},
      {"two players: released from the front", 1, 1, false, 1, 1, true, 3, 0},
      {"two players: released while recalled", 1, 1, false, 1, 5, true, 3, 0},
      {"two players: released from behind", 1, 1, false, 2, 2, true, 4, 0},
      {"two players: flying on its own", 1, 1, false, 1, 4, true, 4, 0},
      {"two players, a boss came: it goes", 1, 1, true, 2, 1, false, 1, 2},
      {"two players, no level: it goes", 1, 1, false, 0, 1, false, 1, 0},
      {"the drone ship has none to lose", 0, 2, false, 1, 1, true, 1, 1},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Start(f.letzter);
    Schiff[0].Typ = f.typ;
    SonderGegnerDa = f.boss;
    Satellit = SatellitDaten{.Stufe = f.stufe, .Da = VBTrue, .Zustand = f.zustand};
    KillVesk(0);
    EXPECT_EQ(Spieler[0].Tod, 1);
    EXPECT_EQ(Satellit.Da != 0, f.da);
    EXPECT_EQ(Satellit.Zustand, f.zustandDanach);
    EXPECT_EQ(Satellit.Stufe, f.stufeDanach);
  }
}

namespace {

// Ship `p` destroyed now, and `frames` frames of the death step after that.
void StirbUndWarte(int32_t p, int frames) {
  Spieler[p].Energie = -1;
  SpielFeindberücrung();
  ASSERT_EQ(Spieler[p].Tod, 1);
  for (int i = 0; i < frames; ++i) SpielFeindberücrung();
}

}  // namespace

TEST_F(Ships, TwoPlayersARespawnAtThePartnerOrWhereTheShipDied) {
  for (bool blockiert : {false, true}) {
    SCOPED_TRACE(blockiert);
    Start(1);
    Spieler[0].Leben = 3;
    Spieler[0].X = 150;
    Spieler[0].Y = 100;
    Spieler[1].X = 400;
    Spieler[1].Y = 300;
    Spieler[1].Schild = 1000;  // a rock does not end the partner
    if (blockiert) shiptest::Rock(0, shiptest::BlockSprite(30, 30), 420, 330);
    Beam[0] = BeamStatus{.PowerZeit = 33, .Ladung = 100, .Fliegt = VBTrue, .Powermodus = VBTrue};
    StirbUndWarte(0, 98);
    EXPECT_EQ(Spieler[0].Tod, 99);
    WasserKlangLaeuft = true;
    SpielFeindberücrung();
    EXPECT_FALSE(WasserKlangLaeuft);  // the splash went off with the game sounds
    EXPECT_EQ(Spieler[0].Tod, 0);
    EXPECT_EQ(Spieler[0].Leben, 2);
    EXPECT_EQ(Spieler[0].Schild, 100);
    EXPECT_EQ(Spieler[0].X, blockiert ? 150.0f : 400.0f);
    EXPECT_EQ(Spieler[0].Y, blockiert ? 100.0f : 300.0f);
    EXPECT_EQ(SpielerSpur[0][0].X, Spieler[0].X);
    EXPECT_EQ(Beam[0].Ladung + Beam[0].Fliegt + Beam[0].Powermodus + Beam[0].PowerZeit, 0.0f);
    EXPECT_EQ(LevelEnde, 0);
  }
}

TEST_F(Ships, TwoPlayersTheRespawnSearchDrawsXThenYAndGivesUpAtTheCap) {
  for (int32_t frei : {500, 800}) {  // the scenery leaves a strip free from this x on
    SCOPED_TRACE(frei);
    Start(1);
    shiptest::Rock(0, shiptest::BlockSprite(frei, 600), 0, 0);
    Spieler[0].X = Spieler[0].Y = 10;
    Spieler[1].X = 20;
    Spieler[1].Y = 30;
    Spieler[1].Schild = 100000;
    StirbUndWarte(0, 98);
    SetRndState(4711);
    SpielFeindberücrung();
    const uint32_t nachher = RndState();

    // The same draws, x first, until a spot whose hit box clears the scenery; none found,
    // the partner's spot.
    SetRndState(4711);
    float x = 20, y = 30;
    for (int zug = 0; zug < kWiedergeburtVersuche; ++zug) {
      const float rx = Rnd(), ry = Rnd();
      if (CLng(736 * rx) >= frei) {
        x = 736 * rx;
        y = 486 * ry;
        break;
      }
    }
    EXPECT_EQ(Spieler[0].X, x);
    EXPECT_EQ(Spieler[0].Y, y);
    for (int i = 0; i < 36; ++i) Rnd();  // the respawn effect's delays
    EXPECT_EQ(RndState(), nachher);
  }
}

TEST_F(Ships, TwoPlayersWithoutLivesOrOnceABossCameBothShipsGoDown) {
  struct Fall {
    const char* name;
    int32_t leben;
    bool boss;
    bool letztesLeben;  // the pool's last life is spent on a respawn first
    int32_t fade;
  } faelle[] = {
      {"the pool is empty", 0, false, false, -1},
      {"the last life was taken by a respawn", 1, false, true, -1},
      {"a boss was placed in this pass", 4, true, false, 5},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Start(1);
    Spieler[0].Leben = f.leben;
    SonderGegnerDa = f.boss;
    MusikFadeSchritt = 5;
    if (f.letztesLeben) {
      StirbUndWarte(0, 99);
      ASSERT_EQ(Spieler[0].Leben, 0);
      Spieler[0].Schild = 0;
    }
    StirbUndWarte(1, 0);
    // The next frame takes the partner down with it.
    SpielFeindberücrung();
    EXPECT_EQ(Spieler[0].Tod, 1);
    EXPECT_EQ(Spieler[1].Tod, 100);
    int frame = 0;
    while (LevelEnde == 0 && frame < 200) {
      ++frame;
      SpielFeindberücrung();
    }
    EXPECT_EQ(frame, 99);
    EXPECT_EQ(MusikFadeSchritt, f.fade);
    EXPECT_EQ(Spieler[0].Leben, f.letztesLeben ? 0 : f.leben);
    SonderGegnerDa = false;
  }
}

TEST_F(Ships, TheDebugKeys) {
  struct Fall {
    const char* name;
    std::vector<int32_t> tasten;
    int32_t schild, punkte, tick, ende, leben;
  } faelle[] = {
      {"F11 and 2: a shield (run once already)", {87, 3}, 199, 0, 10, 0, 3},
      {"F11 and 1: the level's end", {87, 2}, 0, 0, 849, 0, 3},
      {"F11 and 3: the last life lost", {87, 4}, 0, 900, 10, 1, 0},
      {"2 alone", {3}, 0, 900, 10, 0, 3},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Start(0);
    LevelLaenge = 1000;
    LevelTick = 10;
    Spieler[0].Punkte = 900;
    for (int32_t t : f.tasten) KeyState[t] = true;
    SpielFeindberücrung();
    EXPECT_EQ(std::vector<int32_t>({Spieler[0].Schild, Spieler[0].Punkte, LevelTick, LevelEnde, Spieler[0].Leben}),
              std::vector<int32_t>({f.schild, f.punkte, f.tick, f.ende, f.leben}));
  }
}

// ---- Drawing ----------------------------------------------------------------------------

namespace {

int32_t gSchiffsbild[3][15];

// The glow, the bar and a hull per ship type, column and row: an arrow pointing right,
// tinted by type, leaning with its column, a lighter band per row.
void Schiffsbilder() {
  TexKreis2 = shiptest::Glow(64);
  TexBalken = shiptest::Bar();
  const uint32_t farbe[3] = {0x3070E0, 0xE05040, 0x40C060};
  for (int typ = 0; typ < 3; ++typ) {
    for (int zeile = 0; zeile < 3; ++zeile)
      for (int spalte = 0; spalte < 5; ++spalte) {
        const int32_t nr = shiptest::Picture(64, 64, [=](int x, int y) -> uint32_t {
          const int mitte = 36 + (spalte - 2) * 3 + (x - 8) * (spalte - 2) / 16;
          const int halb = (56 - x) / 3;
          if (x < 8 || x > 56 || std::abs(y - mitte) > halb) return 0;
          const bool band = std::abs(x - 20 - 8 * zeile) < 3;
          return 0xFF000000u | (band ? 0xF0F0F0u : farbe[typ]);
        });
        gSchiffsbild[typ][zeile * 5 + spalte] = nr;
      }
  }
}

}  // namespace

class ShipDrawing : public Ships {
 protected:
  void SetUp() override {
    Ships::SetUp();
    testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
    SpriteDefs.clear();
    Schiffsbilder();
    Rendern = true;
    SetRndState(777);
  }
  void TearDown() override {
    TexKreis2 = TexBalken = -1;
    testsupport::CloseDisplay();
    Ships::TearDown();
  }
  // Player 0 flies ship type `typ` at (x, y), with a trail of its last steps `abstand`
  // pixels apart to the left.
  void Stelle(int32_t typ, float x, float y, float abstand) {
    Schiff[0].Bilder = {};
    for (int i = 0; i < 15; ++i) Schiff[0].Bilder[i] = gSchiffsbild[typ][i];
    Schiff[0].Typ = typ;
    Spieler[0].X = x;
    Spieler[0].Y = y;
    for (int k = 0; k <= 10; ++k) {
      SpielerSpur[0][k] = Spieler[0];
      SpielerSpur[0][k].X = x - abstand * static_cast<float>(10 - k);
      SpielerSpur[0][k].FrameSpalte = k % 5;
    }
  }
};

TEST_F(ShipDrawing, TheShieldBlinksInItsLastTenFrames) {
  struct Fall {
    int32_t schild;
    int32_t winkel;
    bool sichtbar;
  } faelle[] = {{100, 0, true},  {12, 0, true},  {11, 0, true}, {10, 0, false}, {9, 0, true},
                {8, 0, false},   {3, 0, true},   {2, 0, false}, {1, 0, true},   {0, 0, false},
                {100, 270, false}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.schild);
    BackBuffer->BltColorFill(nullptr, 0);
    Stelle(0, 300, 200, 0);
    Spieler[0].Schild = f.schild;
    Spieler[0].Winkel = f.winkel;
    RenderStart();
    SpielMoveVesk();
    RenderEnd();
    // Left of the hull only the shield's glows reach.
    EXPECT_EQ(testsupport::BackBufferPixel(288, 232) != 0, f.sichtbar);
    EXPECT_EQ(SchildSichtbar(f.schild), f.sichtbar || f.winkel != 0);
  }
}

TEST_F(ShipDrawing, TheThreeShipTypesWithTrailAndShield) {
  SpurAn = true;
  LevelTick = 2;
  RenderStart();
  struct Fall {
    int32_t typ;
    float y;
    int32_t zeile;
    float energie, vorher;  // now and in the oldest trail step
    int32_t schild;
  } schiffe[] = {{0, 15, 0, 100, 100, 50}, {1, 105, 0, 60, 70, 50}, {2, 195, 2, 80, 80, 9}};
  for (const Fall& s : schiffe) {
    Stelle(s.typ, 200, s.y, 8);
    Spieler[0].FrameZeile = s.zeile;
    Spieler[0].Energie = s.energie;
    SpielerSpur[0][0].Energie = s.vorher;
    Spieler[0].Schild = s.schild;
    Beam[0].Ladung = s.typ == 2 ? 165.0f : 0;  // full charge blinks blue
    SpielMoveVesk();
  }
  RenderEnd();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/ships_32.bmp", *BackBuffer, {100, 0, 300, 280}),
            "");
}
