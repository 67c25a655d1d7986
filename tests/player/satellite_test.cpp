// The satellite: launch from either dock to its parking strip, the height it follows, the
// swap when the ship flies past, recall and the presses that pull it closer, the docking
// window, ramming docked and in flight with its bounces, the shots it swallows; its
// weapons, burst by burst and special weapon by special weapon; and how it is drawn.
#include "player/satellite.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "platform/headless/headless.hpp"
#include "player/firing.hpp"
#include "player/players.hpp"
#include "player/shots.hpp"
#include "ship_support.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "weapon_support.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"

using shiptest::Geschoss;
using shiptest::Geschosse;

namespace {

class Satellite : public ::testing::Test {
 protected:
  void SetUp() override {
    shiptest::Anfang();
    Schiff[0].Typ = 1;
    Schiff[0].BoxOben = 17;
    Schiff[0].BoxRechts = 64;
    Schiff[0].BoxUnten = 54;
    Spieler[0].Waffenstufe = 1;
    Schiff_an(100, 260);
    Satellit = SatellitDaten{};
    Satellit.Da = VBTrue;
    Satellit.Zustand = 1;
    SatellitLauf.TasteFrei = true;
    Ebenen[3].Speed = 0;
    LevelTick = 1;
  }
  void TearDown() override { shiptest::Ende(); }

  // The ship at (x, y), its whole trail with it.
  static void Schiff_an(float x, float y) {
    Spieler[0].X = x;
    Spieler[0].Y = y;
    ResetTrails();
  }
  // One frame of the satellite, with the pod key held or not.
  static void Frame(bool taste = false) {
    shiptest::Hold(0, AktionPartikelWechsel, taste);
    SpielSateliet();
    ++LevelTick;
  }
  // A press: a frame with the key up, then one with it down.
  static void Druecken() {
    Frame(false);
    Frame(true);
  }
  static int32_t Partikel(int32_t art, int32_t leben) {
    int32_t n = 0;
    for (int32_t i = 0; i <= BigPartikel.Max; ++i)
      n += BigPartikel[i].Aktiv && BigPartikel[i].Art == art && BigPartikel[i].DeadMax == leben;
    return n;
  }
};

}  // namespace

// ---- Flight ------------------------------------------------------------------------------

TEST_F(Satellite, ALaunchSlowsByOneAFrameThenCreepsToItsParkingStripAndFollowsTheShipsHeight) {
  struct Fall {
    const char* name;
    int32_t dock;
    std::vector<float> xs;  // the first frames from the launch
    float parkt;
    int32_t zustand;
  } faelle[] = {
      {"from the front", 1, {380, 399, 417, 434, 450, 465, 479, 492, 504, 515, 525, 534, 542, 549, 555, 560, 564, 567,
                             564, 561, 558, 555, 552, 552}, 552, 3},
      {"from behind", 2, {220, 201, 183, 166, 150, 135, 121, 108, 96, 85, 75, 66, 58, 51, 45, 40, 36, 33,
                          36, 39, 42, 45, 48, 48}, 48, 4},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    Schiff_an(300, 260);
    Satellit.Zustand = f.dock;
    Frame();  // docked: it sits at the ship
    ASSERT_EQ(Satellit.X, f.dock == 1 ? 360 : 240);
    std::vector<float> xs;
    Frame(true);
    xs.push_back(Satellit.X);
    EXPECT_EQ(Satellit.Abklingzeit, 10);
    for (size_t i = 1; i < f.xs.size(); ++i) {
      Frame();
      xs.push_back(Satellit.X);
    }
    EXPECT_EQ(xs, f.xs);
    for (int i = 0; i < 50; ++i) Frame();
    EXPECT_EQ(Satellit.X, f.parkt);
    EXPECT_EQ(Satellit.Zustand, f.zustand);

    // The ship climbs by 40: the parked satellite follows at 2 pixels a frame.
    Schiff_an(300, 220);
    std::vector<float> ys;
    for (int i = 0; i < 22; ++i) {
      Frame();
      ys.push_back(Satellit.Y);
    }
    EXPECT_EQ(ys[0], 260);
    EXPECT_EQ(ys[1], 258);
    EXPECT_EQ(ys[20], 220);
    EXPECT_EQ(ys[21], 220);
    EXPECT_EQ(Satellit.X, f.parkt);
  }
}

TEST_F(Satellite, TheShipFlyingPastTurnsTheParkedSatelliteRound) {
  Satellit.Zustand = 3;
  Satellit.X = 550;
  Satellit.Y = 100;
  struct Schritt {
    float schiffX, schiffY;
    int frames;
    int32_t zustand;
    float x;
  } schritte[] = {
      {500, 100 + 200, 1, 3, 550},  // still behind it
      {560, 300, 1, 4, 550},        // past it: it turns round
      {560, 300, 1, 4, 547},        // and heads for the near strip at 3 a frame
      {560, 300, 200, 4, 52},
      {0, 100, 1, 3, 52},  // past it the other way, too far below to dock
      {0, 100, 1, 3, 55},
  };
  for (const Schritt& s : schritte) {
    Schiff_an(s.schiffX, s.schiffY);
    for (int i = 0; i < s.frames; ++i) Frame();
    EXPECT_EQ(Satellit.Zustand, s.zustand) << s.schiffX;
    EXPECT_EQ(Satellit.X, s.x) << s.schiffX;
  }
}

TEST_F(Satellite, RecalledItHeadsBackAt12ThenHomesAt3AndDocksInFront) {
  SndForceOn = shiptest::Klang();
  SoundAn = true;
  Satellit.Zustand = 3;
  Satellit.X = 550;
  Satellit.Y = 260;
  Frame(true);
  EXPECT_EQ(Satellit.Zustand, 5);
  std::vector<float> xs = {Satellit.X};
  for (int i = 0; i < 10; ++i) {
    Frame();
    xs.push_back(Satellit.X);
  }
  EXPECT_EQ(xs, std::vector<float>({538, 527, 517, 508, 500, 493, 487, 482, 478, 475, 472}));
  int frames = 11;
  uint32_t start = 0;
  while (Satellit.Zustand == 5 && frames < 1000) {
    EXPECT_FALSE(shiptest::Spielt(SndForceOn));
    start = RndState();
    Frame();
    ++frames;
  }
  EXPECT_EQ(frames, 111);
  EXPECT_TRUE(shiptest::Spielt(SndForceOn));
  const uint32_t danach = RndState();
  SetRndState(start);
  for (int i = 0; i < 84; ++i) Rnd();
  EXPECT_EQ(RndState(), danach) << "four numbers for each of 21 sparks";
  EXPECT_EQ(Satellit.Zustand, 1);
  EXPECT_EQ(Satellit.X, 172);
  EXPECT_EQ(Partikel(1, 10), 21);  // the sparks
  EXPECT_EQ(Partikel(3, 10), 1);   // the flash
  Frame();
  EXPECT_EQ(Satellit.X, 160);
  EXPECT_EQ(Satellit.Y, 260);
}

TEST_F(Satellite, OnlyFromTheThirdPressWhileRecalledDoesEachPressPullItCloser) {
  struct Fall {
    int32_t rufe;  // presses while recalled so far
    float x, y, sx, sy;
  } faelle[] = {
      {0, 400, 200, -3, 3},   // the first press: it homes as before
      {1, 400, 200, -3, 3},   // the second
      {2, 385, 215, -9, 9},   // the third: 5 closer and 10 a frame on each axis
      {7, 385, 215, -9, 9},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.rufe);
    Satellit.Zustand = 5;
    Satellit.X = 400;
    Satellit.Y = 200;
    Satellit.SX = Satellit.SY = 0;
    SatellitLauf.Rufe = f.rufe;
    SatellitLauf.TasteFrei = true;
    Frame(true);
    EXPECT_EQ(std::vector<float>({Satellit.X, Satellit.Y, Satellit.SX, Satellit.SY}),
              std::vector<float>({f.x, f.y, f.sx, f.sy}));
  }
}

TEST_F(Satellite, ItDocksWithin15PixelsOfTheShipsHeightAndWithin74OnEitherSide) {
  struct Fall {
    float x, y;
    int32_t zustand;
  } faelle[] = {
      {200, 260, 1}, {273, 260, 1}, {274, 260, 5}, {199, 260, 2}, {127, 260, 2}, {126, 260, 5},
      {200, 245, 5}, {200, 246, 1}, {200, 274, 1}, {200, 275, 5}, {199.5f, 260, 2},
  };
  Schiff_an(200, 260);
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.x << ", " << f.y);
    Satellit.Zustand = 5;
    Satellit.X = f.x;
    Satellit.Y = f.y;
    Satellit.SX = Satellit.SY = 0;
    Frame();
    EXPECT_EQ(Satellit.Zustand, f.zustand);
  }
}

// ---- Ramming -----------------------------------------------------------------------------

TEST_F(Satellite, RammingHalvesTheEnergyDownToItsFloorAndFreeFramesRechargeItToItsCeiling) {
  struct Fall {
    const char* name;
    int32_t zustand, stufe, energie;
    bool unzerstoerbar;
    std::vector<int32_t> kurve;  // five frames of contact, then nine free
    float schaden;
  } faelle[] = {
      {"docked, gun level 1", 1, 1, 200, false, {100, 50, 30, 30, 30, 55, 80, 105, 130, 155, 180, 205, 230, 250}, 410},
      {"docked, gun level 2", 1, 2, 300, false, {150, 75, 40, 40, 40, 65, 90, 115, 140, 165, 190, 215, 240, 265}, 605},
      {"launched, gun level 2", 3, 2, 200, false, {100, 50, 45, 45, 45, 70, 95, 120, 145, 170, 195, 220, 245, 250},
       440},
      {"docked against an indestructible part", 1, 1, 200, true,
       {100, 50, 30, 30, 30, 55, 80, 105, 130, 155, 180, 205, 230, 250}, 0},
  };
  const int32_t block = shiptest::BlockSprite(300, 300);
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Satellit.Zustand = f.zustand;
    Satellit.X = 550;
    Satellit.Y = 260;
    Satellit.SX = Satellit.SY = 0;
    Satellit.Rammenergie = f.energie;
    Spieler[0].Waffenstufe = f.stufe;
    Schiff_an(f.zustand == 1 ? 490 : 100, 260);
    Gegner& g = shiptest::Enemy(0, block, 420, 130, 1e6f);
    g.Typ.Komponenten[0].Unzerstörbar = VBBool(f.unzerstoerbar);
    std::vector<int32_t> kurve;
    for (int i = 0; i < 14; ++i) {
      if (i == 5) g.Aktiv = VBFalse;
      Frame();
      kurve.push_back(Satellit.Rammenergie);
      if (i < 5) {
        EXPECT_EQ(SatellitLauf.Getroffen, !f.unzerstoerbar) << i;
      }
    }
    EXPECT_EQ(kurve, f.kurve);
    EXPECT_EQ(1e6f - g.Typ.Komponenten[0].HP, f.schaden);
  }
}

TEST_F(Satellite, StuckInAnEnemyInFlightItBouncesOffWithHalfTheEnemysMotion) {
  struct Fall {
    const char* name;
    bool fest, unzerstoerbar;
    float mx, my;
    float x, y, sx, sy;  // after the frame
    int32_t ringe;
  } faelle[] = {
      {"a still enemy: straight for the ship", false, false, 0, 0, 545, 260, -4, 0, 1},
      {"a moving enemy carries it along", false, false, 6, -4, 555, 256, 4, -3, 1},
      {"an indestructible part of a solid enemy, pushed sideways only", true, true, 6, 0, 545, 260, -4, 0, 0},
      {"a solid enemy's part that can be damaged", true, false, 6, 0, 555, 260, 4, 0, 1},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    SpriteDefs.clear();
    const int32_t block = shiptest::BlockSprite(300, 300);
    LevelTick = 3;  // no ring from the scenery test
    Satellit.Zustand = 3;
    Satellit.X = 550;
    Satellit.Y = 260;
    Satellit.Rammenergie = 100;
    Gegner& g = shiptest::Enemy(0, block, 420, 130, 1e6f);
    g.Typ.Parameter[8] = f.fest ? 1 : 0;
    g.Typ.Komponenten[0].Unzerstörbar = VBBool(f.unzerstoerbar);
    g.MX = f.mx;
    g.MY = f.my;
    Frame();
    EXPECT_EQ(std::vector<float>({Satellit.X, Satellit.Y, Satellit.SX, Satellit.SY}),
              std::vector<float>({f.x, f.y, f.sx, f.sy}));
    EXPECT_EQ(Partikel(2, 12), f.ringe);
  }
}

// ---- Enemy shots -------------------------------------------------------------------------

TEST_F(Satellite, ItSwallowsTheStoppableEnemyShotsInsideItsBoxForTheirPoints) {
  ErzeugerTypen.assign(1, ErzeugerTypDaten{.Salven = {ErzeugerSalve{}, ErzeugerSalve{.Unblockbar = VBTrue}}});
  struct Fall {
    const char* name;
    int32_t id, salve;
    float x, y;
    bool geschluckt;
  } faelle[] = {
      {"inside", 0, 0, 332, 232, true},
      {"touching the right edge", 5, 0, 348, 232, false},
      {"a pixel inside the right edge", 5, 0, 347, 232, true},
      {"touching the left edge", 5, 0, 300, 232, false},
      {"a pixel inside the left edge", 5, 0, 301, 232, true},
      {"touching the bottom", 5, 0, 332, 248, false},
      {"touching the top", 5, 0, 332, 200, false},
      {"unblockable", 0, 1, 332, 232, false},
      {"a shock wave", -1, 0, 332, 232, false},
  };
  Schiff_an(240, 200);  // docked in front: the satellite at (300, 200), its box 316..348
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    GegnerSchuesse.Reset();
    BigPartikel.Reset();
    Spieler[0].Punkte = 0;
    GegnerSchussDaten& s = GegnerSchuesse[GegnerSchuesse.Claim()];
    s.ID = f.id;
    s.NRK = f.salve;
    s.X = f.x;
    s.Y = f.y;
    s.BoxRight = s.BoxBottom = 16;
    s.HP = 250.5f;
    Frame();
    EXPECT_EQ(s.Aktiv == VBFalse, f.geschluckt);
    EXPECT_EQ(Spieler[0].Punkte, f.geschluckt ? 250 : 0);
    EXPECT_EQ(Partikel(2, 20), f.geschluckt ? 1 : 0);
  }
}

TEST_F(Satellite, ItRunsOnlyWhenPresentAndItsOwnerFliesTheVPhytonWhetherAliveOrNot) {
  struct Fall {
    const char* name;
    int32_t letzter, typ0, typ1, tod;
    bool da;
    int32_t besitzer;  // -1: it does not run
  } faelle[] = {
      {"one player", 0, 1, 0, 0, true, 0},
      {"one player, destroyed", 0, 1, 0, 50, true, 0},
      {"not present", 0, 1, 0, 0, false, -1},
      {"one player of another type", 0, 0, 1, 0, true, -1},
      {"two players, the second flies it", 1, 0, 1, 0, true, 1},
      {"two players, the first flies it", 1, 1, 0, 0, true, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    LetzterSpieler = f.letzter;
    Schiff[0].Typ = f.typ0;
    Schiff[1].Typ = f.typ1;
    Spieler[0].X = 100, Spieler[1].X = 300;
    for (SpielerDaten& s : Spieler) s.Tod = f.tod;
    Satellit.Da = VBBool(f.da);
    Satellit.Zustand = 1;
    Satellit.X = 0;
    SpielSateliet();
    EXPECT_EQ(Satellit.X, f.besitzer < 0 ? 0 : Spieler[f.besitzer].X + 60);
  }
}

TEST_F(Satellite, ADamagedFrameStartsOverAndADamagedLevelIsNotDrawn) {
  struct Fall {
    int32_t frame, zeit, stufe;
    int32_t frameDanach;
  } faelle[] = {{6, 3, 0, 0}, {6, 2, 0, 6}, {9, 0, 0, 0}, {-4, 0, 2, 0}, {3, 0, 7, 3}, {3, 0, -1, 3}};
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  TexKreis2 = shiptest::Picture(64, 64, [](int, int) { return 0xFFFFFFFFu; });
  for (int32_t& t : TexSatellit) t = shiptest::Picture(64, 64, [](int, int) { return 0xFF808080u; });
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.frame << " " << f.stufe);
    BackBuffer->BltColorFill(nullptr, 0);
    Satellit.AnimFrame = f.frame;
    Satellit.AnimZeit = f.zeit;
    Satellit.Stufe = f.stufe;
    RenderStart();
    SpielSateliet();
    RenderEnd();
    EXPECT_EQ(Satellit.AnimFrame, f.frameDanach);
    EXPECT_EQ(testsupport::BackBufferPixel(192, 292) != 0, f.stufe >= 0 && f.stufe <= 2);
  }
  TexKreis2 = -1;
  TexSatellit.fill(-1);
  testsupport::CloseDisplay();
}

// ---- Weapons -----------------------------------------------------------------------------

namespace {

class SatelliteWeapons : public Satellite {
 protected:
  void SetUp() override {
    Satellite::SetUp();
    SndNormal[0] = shiptest::Klang();
    SndVPhytonBlue = shiptest::Klang();
    SndVPhytonRed = shiptest::Klang();
    SndVPhyGreen = shiptest::Klang();
    SndVPhyViolett = shiptest::Klang();
    SoundAn = true;
    Spieler[0].Waffenstufe = 2;
  }
  // Which of the weapon sounds plays, -1 none.
  static int32_t Klang() {
    int32_t nr = -1;
    for (int32_t k : {SndNormal[0], SndVPhytonBlue, SndVPhytonRed, SndVPhyGreen, SndVPhyViolett})
      if (shiptest::Spielt(k)) nr = k;
    return nr;
  }
  // The satellite at (300, 200) in `zustand`, cooled down, at level `s`, firing once
  // with damage factor `m`.
  static void Feuern(int32_t zustand, int32_t waffe, int32_t s, int32_t m) {
    Schuesse[0].Reset();
    Schuesse[1].Reset();
    for (SoundEntry& e : Sounds) e.Kopien[0].Stop();
    Feuer = FeuerStatus{};
    Satellit.Zustand = zustand;
    Satellit.X = 300;
    Satellit.Y = 200;
    Satellit.Abklingzeit = 0;
    Satellit.Spezialwaffe = waffe;
    Satellit.Stufe = s;
    bool gefeuert = false;
    SatellitWaffen(0, m, gefeuert);
    EXPECT_FALSE(gefeuert);
  }
};

// A shot of the docked satellite as the table writes it: from its centre (332, 232),
// `dy` lower, flying right.
struct Spezial {
  int32_t gruppe, art;
  float dy, sx, sy, force, staerke;
};

}  // namespace

TEST_F(SatelliteWeapons, EverySpecialWeaponFiresByLevelAndPowerModeFromEitherDock) {
  enum Snd { kKein, kBlau, kRot, kGruen, kViolett };
  struct Fall {
    int32_t waffe, s, m;
    std::vector<Spezial> schuesse;
    int32_t abklingzeit;
    Snd klang;
    bool laser = false;
  } faelle[] = {
      // 0: blue bouncing ribbons.
      {0, 0, 1, {}, 70, kKein},
      {0, 0, 2, {{1, 7, 0, 11, 5, 10, 350}, {1, 7, 0, 11, -5, 10, 350}}, 70, kBlau},
      {0, 1, 1, {{1, 7, 0, 16, 0, 5, 700}, {1, 7, 0, 8, 8, 10, 650}, {1, 7, 0, 8, -8, 10, 650}}, 70, kBlau},
      {0, 1, 2,
       {{1, 7, 0, 11, 5, 10, 500}, {1, 7, 0, 11, -5, 10, 500}, {1, 7, 0, 16, 0, 5, 1400}, {1, 7, 0, 8, 8, 10, 650},
        {1, 7, 0, 8, -8, 10, 650}},
       70, kBlau},
      {0, 2, 1, {{1, 7, 0, 16, 0, 15, 900}, {1, 7, 0, 8, 8, 20, 850}, {1, 7, 0, 8, -8, 20, 850}}, 70, kBlau},
      {0, 2, 2,
       {{1, 7, 0, 11, 5, 10, 650}, {1, 7, 0, 11, -5, 10, 650}, {1, 7, 0, 16, 0, 15, 1800}, {1, 7, 0, 8, 8, 20, 850},
        {1, 7, 0, 8, -8, 20, 850}},
       70, kBlau},
      // 1: red torpedoes by m + s.
      {1, 0, 1, {}, 0, kKein},
      {1, 0, 2, {{1, 6, 0, 10, 0, 1, 750}}, 60, kRot},
      {1, 1, 1, {{1, 6, 0, 10, 0, 0, 750}}, 60, kRot},
      {1, 1, 2, {{1, 6, -16, 10, 0, 1, 750}, {1, 6, 16, 10, 0, 1, 750}}, 60, kRot},
      {1, 2, 1, {{1, 6, -16, 10, 0, 0, 750}, {1, 6, 16, 10, 0, 0, 750}}, 60, kRot},
      {1, 2, 2, {{1, 6, -16, 10, 0, 1, 700}, {1, 6, 16, 10, 0, 1, 700}, {1, 6, 0, 10, 0, 1, 1200}}, 60, kRot},
      {1, 3, 2, {}, 0, kRot},  // a sum past 4 fires nothing but still sounds
      // 2: the laser.
      {2, 0, 1, {}, 0, kKein},
      {2, 0, 2, {{0, 8, 0, 1, 0, 0, 6}}, 0, kKein, true},
      {2, 1, 1, {{0, 8, 0, 1, 0, 0, 12}}, 1, kKein, true},
      {2, 1, 2, {{0, 8, 0, 1, 0, 0, 10}}, 1, kKein, true},
      {2, 2, 1, {{0, 8, 0, 1, 0, 20, 4}}, 1, kKein, true},
      {2, 2, 2, {{0, 8, 0, 1, 0, 40, 2}}, 1, kKein, true},
      // 3: the green seeker.
      {3, 0, 1, {}, 0, kKein},
      {3, 0, 2, {{1, 10, 0, 10, 0, 1, 380}}, 20, kGruen},
      {3, 1, 1, {{1, 10, 0, 10, 0, 1, 380}}, 20, kGruen},
      {3, 1, 2, {{1, 10, 0, 10, 0, 2, 380}}, 20, kGruen},
      {3, 2, 1, {{1, 10, 0, 10, 0, 2, 380}}, 20, kGruen},
      {3, 2, 2, {{1, 10, 0, 10, 0, 3, 380}}, 20, kGruen},
      // 4: boomerangs by m + s.
      {4, 0, 1, {}, 0, kKein},
      {4, 0, 2, {{1, 9, 0, 7, 5, 5, 580}, {1, 9, 0, 7, -5, 5, 580}}, 50, kViolett},
      {4, 1, 1, {{1, 9, 0, 7, 5, 5, 580}, {1, 9, 0, 7, -5, 5, 580}}, 50, kViolett},
      {4, 1, 2,
       {{1, 9, 0, 8, 5, 10, 580}, {1, 9, 0, 8, -5, 10, 580}, {1, 9, 0, 7, 5, 5, 580}, {1, 9, 0, 7, -5, 5, 580}},
       50, kViolett},
      {4, 2, 1,
       {{1, 9, 0, 8, 5, 10, 580}, {1, 9, 0, 8, -5, 10, 580}, {1, 9, 0, 7, 5, 5, 580}, {1, 9, 0, 7, -5, 5, 580}},
       50, kViolett},
      {4, 2, 2,
       {{1, 9, 0, 8, 5, 10, 580}, {1, 9, 0, 8, -5, 10, 580}, {1, 9, 0, 9, 5, 7, 1100}, {1, 9, 0, 9, -5, 7, 1100},
        {1, 9, 0, 7, 5, 5, 580}, {1, 9, 0, 7, -5, 5, 580}},
       50, kViolett},
      // A weapon outside 0..4 does nothing.
      {5, 2, 2, {}, 0, kKein},
  };
  const int32_t klaenge[] = {-1, SndVPhytonBlue, SndVPhytonRed, SndVPhyGreen, SndVPhyViolett};
  for (const Fall& f : faelle) {
    for (int32_t dock : {1, 2}) {
      SCOPED_TRACE(testing::Message() << "weapon " << f.waffe << ", level " << f.s << ", m " << f.m << ", dock "
                                      << dock);
      const float dir = dock == 1 ? 1.0f : -1.0f;
      Feuern(dock, f.waffe, f.s, f.m);
      std::vector<Geschoss> erwartet;
      for (const Spezial& s : f.schuesse)
        erwartet.push_back({s.gruppe, s.art, 332, 232 + s.dy, s.sx * dir, s.sy, s.force, s.staerke, 0});
      // Within a group the shots keep their order; the laser alone flies in group 0.
      EXPECT_EQ(Geschosse(), erwartet);
      EXPECT_EQ(Satellit.Abklingzeit, f.abklingzeit);
      EXPECT_EQ(Klang(), klaenge[f.klang]);
      EXPECT_EQ(Feuer.SatellitLaser, f.laser);
    }
  }
}

TEST_F(SatelliteWeapons, ALaunchedSatelliteFiresBurstsThatSpreadWithItsLevel) {
  struct Kugel {
    float sx, sy, staerke;
  };
  struct Fall {
    int32_t s, m;
    std::vector<Kugel> kugeln;
  } faelle[] = {
      {0, 1, {{11, 0, 120}}},
      {0, 2, {{11, 0, 240}}},
      {1, 1, {{9, -4, 120}, {9, 4, 120}}},
      {1, 2, {{9, -4, 240}, {9, 4, 240}, {11, 0, 240}}},
      {2, 1, {{11, 0, 120}, {6, -6, 120}, {6, 6, 120}, {0, -11, 120}, {0, 11, 120}}},
      {2, 2,
       {{11, 0, 240}, {6, -6, 120}, {6, 6, 120}, {0, -11, 120}, {0, 11, 120}, {9, -4, 120}, {9, 4, 120}, {4, -9, 120},
        {4, 9, 120}}},
      {3, 2, {}},
  };
  for (const Fall& f : faelle) {
    for (int32_t zustand : {3, 4, 5}) {
      SCOPED_TRACE(testing::Message() << "level " << f.s << ", m " << f.m << ", state " << zustand);
      Feuern(zustand, 1, f.s, f.m);
      std::vector<Geschoss> erwartet;
      for (const Kugel& k : f.kugeln) erwartet.push_back({1, 0, 332, 228, k.sx, k.sy, 2, k.staerke, 0});
      EXPECT_EQ(Geschosse(), erwartet);
      EXPECT_EQ(Satellit.Abklingzeit, 12);
      EXPECT_EQ(Klang(), SndNormal[0]);
    }
  }
}

// ---- Drawing -----------------------------------------------------------------------------

// Docked at level 0 in front of the ship, launched at level 1, and launched at level 2
// flashing red as it rams an enemy. Each picture shows its level by its colour and its
// frame by a notch.
TEST_F(Satellite, DockedAndLaunchedWithTheirGlowMatchTheReferenceFrame) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  TexKreis2 = shiptest::Glow(64);
  const uint32_t farbe[3] = {0xFFC04040, 0xFF9040C0, 0xFF4060E0};
  for (int32_t frame = 0; frame < 8; ++frame)
    for (int32_t stufe = 0; stufe < 3; ++stufe)
      TexSatellit[static_cast<size_t>(frame * 3 + stufe)] = shiptest::Picture(64, 64, [=](int x, int y) -> uint32_t {
        const float r = std::hypot(x + 0.5f - 32, y + 0.5f - 32) / 20;
        if (r >= 1) return 0;
        const double a = std::atan2(y - 31.5, x - 31.5) * 180 / 3.14159265 + 180;
        if (r > 0.6f && std::fabs(a - frame * 45) < 12) return 0xFFFFFFFF;
        return farbe[stufe];
      });
  const int32_t block = shiptest::BlockSprite(100, 100);
  shiptest::Enemy(0, block, 560, 20, 1e6f);
  Rendern = true;
  LevelTick = 37;
  RenderStart();
  struct Fall {
    int32_t zustand, stufe, frame;
    float x, y;
  } faelle[] = {{1, 0, 2, 0, 0}, {3, 1, 4, 300, 40}, {3, 2, 5, 580, 40}};
  Schiff_an(40, 40);
  for (const Fall& f : faelle) {
    Satellit.Zustand = f.zustand;
    Satellit.Stufe = f.stufe;
    Satellit.AnimFrame = f.frame;
    Satellit.X = f.x;
    Satellit.Y = f.y;
    Satellit.Rammenergie = 100;
    SpielSateliet();
  }
  RenderEnd();
  EXPECT_EQ(
      testsupport::CompareWithGoldenBmp("tests/player/golden/satellite_32.bmp", *BackBuffer, {60, 0, 700, 160}), "");
  TexKreis2 = -1;
  TexSatellit.fill(-1);
  testsupport::CloseDisplay();
}
