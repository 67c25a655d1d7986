// Firing: the cadence of the guns and secondary weapons, twin and single shots by ship
// type, level and power mode, what a released key, a dead ship, gun level 0 and the
// level-end flight leave, and the frame-row pace.
#include "player/firing.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/sound.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
#include "player/players_state.hpp"
#include "player/shots.hpp"
#include "run/variabeln.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "ship_support.hpp"
#include "support/fresh_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

// The fire key of key sets 0, 1 and 2.
constexpr int kFeuer[3] = {30, 31, 32};

using shiptest::Geschoss;
using shiptest::Geschosse;

// How many random numbers were drawn since `start` (up to a bound).
int Ziehungen(uint32_t start) {
  const uint32_t jetzt = RndState();
  SetRndState(start);
  int n = 0;
  while (RndState() != jetzt && n < 1000) {
    Rnd();
    ++n;
  }
  SetRndState(jetzt);
  return n;
}

class Firing : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    SoundAn = false;  // no sounds are loaded here
    Leeren();
  }
  void TearDown() override {
    KeyState.fill(false);
    LetzterSpieler = 0;
    testsupport::FreshState();
  }

  // Both ships alive at (100, 200) with gun level 1 in level flight; muzzles at x 50,
  // y 20 and 40 (twin) in every column; three frame rows.
  static void Leeren() {
    VariabelnLösch();
    LetzterSpieler = 0;
    KeyState.fill(false);
    for (int set = 0; set < 3; ++set) {
      KeyConfig.KeyMap(AktionSchießen, set, 0) = kFeuer[set];
      KeyConfig.KeyMap(AktionSchießen, set, 1) = 0;
    }
    for (int p = 0; p < 2; ++p) {
      Spieler[p] = SpielerDaten{};
      Spieler[p].X = 100;
      Spieler[p].Y = 200;
      Schiff[p] = SchiffDaten{};
      Schiff[p].MuendungX = 50;
      Schiff[p].MuendungY1.fill(20);
      Schiff[p].MuendungY2.fill(40);
      Schiff[p].Zeilen = 3;
    }
    ResetTrails();
    // The drone ship's escort has guns of its own, tested with the drones.
    Drohnen.Kette.clear();
    Feuer = FeuerStatus{};
    SetRndState(99);
  }
  static void Halten(int set, bool gedrueckt = true) { KeyState[kFeuer[set]] = gedrueckt; }
  // The ticks of `n` held ticks in which a shot of kind `art` was fired.
  static std::vector<int> Feuertakte(int n, int32_t art) {
    const auto zaehlen = [art] {
      int32_t k = 0;
      for (const Geschoss& g : Geschosse()) k += g.art == art;
      return k;
    };
    std::vector<int> takte;
    for (int t = 0; t < n; ++t) {
      const int32_t vorher = zaehlen();
      SpielSchieß();
      if (zaehlen() > vorher) takte.push_back(t);
    }
    return takte;
  }
};

}  // namespace

TEST_F(Firing, GunsAndSecondaryWeaponsKeepTheirCadenceAndPowerModeHalvesTheSecondary) {
  struct Case {
    int32_t typ, zweitwaffe, art;  // the kind whose shots are counted
    bool power;
    std::vector<int> takte;
  } cases[] = {
      {0, 0, 0, false, {0, 6, 12, 18, 24, 30}},  {0, 0, 0, true, {0, 6, 12, 18, 24, 30}},
      {1, 0, 1, false, {0, 12, 24}},             {1, 0, 1, true, {0, 12, 24}},
      {2, 0, -1, false, {0, 6, 12, 18, 24, 30}}, {0, 1, 11, false, {0, 100, 200}},
      {0, 1, 11, true, {0, 50, 100, 150, 200}},  {0, 2, 12, false, {0, 150}},
      {0, 2, 12, true, {0, 75, 150}},            {0, 3, 13, false, {0, 60, 120, 180}},
      {0, 3, 13, true, {0, 30, 60, 90, 120, 150, 180}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ship type " << c.typ << ", secondary " << c.zweitwaffe
                                    << (c.power ? ", power mode" : ""));
    Leeren();
    Schiff[0].Typ = c.typ;
    Spieler[0].Zweitwaffe = c.zweitwaffe;
    Beam[0].Powermodus = VBBool(c.power);
    Halten(0);
    EXPECT_EQ(Feuertakte(c.zweitwaffe ? 201 : 36, c.art), c.takte);
  }
}

TEST_F(Firing, EachShipTypeFiresItsKindTwinOrSingleWithItsDamage) {
  struct Case {
    const char* name;
    int32_t typ, stufe;
    bool power;
    int32_t spalte;
    bool gleicheMuendungen;  // in that column
    std::vector<Geschoss> schuesse;
    int32_t abklingzeit;
  } cases[] = {
      {"V-Tonator twin", 0, 1, false, 2, false, {{0, 0, 150, 233, 11, 0, 1, 60, 0}, {1, 0, 150, 213, 11, 0, 1, 60, 0}}, 6},
      {"V-Tonator level 3, power", 0, 3, true, 2, false,
       {{0, 0, 150, 233, 11, 0, 3, 200, 0}, {1, 0, 150, 213, 11, 0, 3, 200, 0}}, 6},
      {"V-Phyton twin level 2", 1, 2, false, 2, false,
       {{0, 1, 150, 233, 11, 0, 2, 170, 0}, {1, 1, 150, 213, 11, 0, 2, 170, 0}}, 12},
      {"V-Phyton single level 2, power", 1, 2, true, 2, true, {{1, 1, 150, 213, 11, 0, 2, 680, 0}}, 12},
      {"drone ship twin, 5 to the left", 2, 1, false, 2, false,
       {{0, -1, 145, 233, 11, 0, 1, 60, 0}, {1, -1, 145, 213, 11, 0, 1, 60, 0}}, 6},
      {"a tilted column with equal muzzles fires single", 0, 1, false, 0, true,
       {{1, 0, 150, 213, 11, 0, 1, 120, 0}}, 6},
      {"an unknown ship type fires nothing", 3, 1, false, 2, false, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    Schiff[0].Typ = c.typ;
    Spieler[0].Waffenstufe = c.stufe;
    Spieler[0].FrameSpalte = c.spalte;
    if (c.gleicheMuendungen) Schiff[0].MuendungY2[c.spalte] = Schiff[0].MuendungY1[c.spalte];
    Beam[0].Powermodus = VBBool(c.power);
    Halten(0);
    const uint32_t start = RndState();
    SpielSchieß();
    EXPECT_EQ(Geschosse(), c.schuesse);
    EXPECT_EQ(Spieler[0].Abklingzeit, c.abklingzeit);
    float summe = 0;
    for (const Geschoss& g : c.schuesse) summe += g.staerke;
    EXPECT_EQ(Spieler[0].Schaden, summe);
    // Eleven pairs of muzzle sparks of three random numbers each, also when the type
    // knows no gun.
    EXPECT_EQ(Ziehungen(start), 66);
  }
}

TEST_F(Firing, CooldownsFallWithoutTheKeyButNotForTheDeadOrTheNoGun) {
  struct Case {
    const char* name;
    bool taste;
    int32_t tod, status;
    int32_t abklingzeit, zweitAbklingzeit;  // after one tick from 5 and 7
  } cases[] = {
      {"key released", false, 0, 0, 4, 6},
      {"a dead ship", true, 1, 0, 5, 7},
      {"the level-end flight locks the key", true, 0, 1, 4, 6},
      {"cooling down with the key held", true, 0, 0, 4, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    Spieler[0].Tod = c.tod;
    Spieler[0].Status = c.status;
    Spieler[0].Zweitwaffe = 1;
    Spieler[0].Abklingzeit = 5;
    Spieler[0].ZweitAbklingzeit = 7;
    Halten(0, c.taste);
    const uint32_t start = RndState();
    SpielSchieß();
    EXPECT_EQ(Spieler[0].Abklingzeit, c.abklingzeit);
    EXPECT_EQ(Spieler[0].ZweitAbklingzeit, c.zweitAbklingzeit);
    EXPECT_TRUE(Geschosse().empty());
    EXPECT_EQ(Ziehungen(start), 0) << "no muzzle sparks";
  }

  // Gun level 0 silences the main gun (no sparks either), not the secondary weapon.
  Leeren();
  Spieler[0].Waffenstufe = 0;
  Spieler[0].Zweitwaffe = 1;
  Halten(0);
  const uint32_t start = RndState();
  SpielSchieß();
  EXPECT_EQ(Geschosse(), std::vector<Geschoss>({{0, 11, 116, 216, 0, 4, 0, 700, 0}}));
  EXPECT_EQ(Ziehungen(start), 0);
}

TEST_F(Firing, TheFrameRowMovesOnEverySecondHeldTickAndWraps) {
  struct Case {
    const char* name;
    int32_t zeilen;
    bool zwei;  // both players hold fire
    std::vector<int32_t> zeilen0, zeilen1;  // after each of six ticks
  } cases[] = {
      {"three rows", 3, false, {0, 1, 1, 2, 2, 0}, {0, 0, 0, 0, 0, 0}},
      {"no rows counts as one", 0, false, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
      {"both holding: the second player's row moves every tick", 3, true, {0, 0, 0, 0, 0, 0}, {1, 2, 0, 1, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Leeren();
    LetzterSpieler = c.zwei ? 1 : 0;
    for (int p = 0; p < 2; ++p) Schiff[p].Zeilen = c.zeilen;
    Halten(c.zwei ? 1 : 0);
    if (c.zwei) Halten(2);
    std::vector<int32_t> z0, z1;
    for (int t = 0; t < 6; ++t) {
      SpielSchieß();
      z0.push_back(Spieler[0].FrameZeile);
      z1.push_back(Spieler[1].FrameZeile);
    }
    EXPECT_EQ(z0, c.zeilen0);
    EXPECT_EQ(z1, c.zeilen1);
  }

  // A row past the table (from a damaged block) starts again at 0.
  Leeren();
  Spieler[0].FrameZeile = 7;
  Feuer.ZeilenTakt = 1;
  Halten(0);
  SpielSchieß();
  EXPECT_EQ(Spieler[0].FrameZeile, 0);
}
