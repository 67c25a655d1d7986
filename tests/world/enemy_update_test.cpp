// The enemies' tick: freeing a slot, routes ending, energy running out, the components'
// routes, direction frames, fire modes, crushing and ramming, aiming, the hit flash, the
// dying, the order of the pass, and a reference frame of a few enemies.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "draw_support.hpp"
#include "enemy_support.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "lib/media_writer.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"

using worlddraw::Pixel;

namespace {

constexpr float G0 = 32770;
RoutenBefehl Cmd(int32_t op, std::vector<float> a) {
  std::vector<float> b(a.size(), 0.0f);
  return RoutenBefehl{op, std::move(a), std::move(b)};
}
// Routes: stay put; end at once; note the part's size in GVar(0), GVar(1); step 5 right.
enum : int32_t { kBleibt, kEndet, kMisst, kSchritt };
constexpr uint32_t kRot = 0xFF0000;

class EnemyStep : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::TempDataFolder daten;  // clearing the sound table is logged
  int32_t block = -1, kerbe = -1, acht = -1;  // sprite definitions

  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    Rendern = false;
    const RoutenBefehl warte = Cmd(5, {1e6f});
    Routen = {Route{{warte}}, Route{}, Route{{Cmd(9, {G0, -32767}), Cmd(9, {G0 + 1, -32766}), warte}},
              Route{{Cmd(4, {5, 0}), warte}}};
    block = Sprite(worlddraw::Solid(4, 4, 0xFFFF0000));
    kerbe = Sprite(worlddraw::Picture(6, 5, false, true, [](int x, int y) { return x < 4 && y < 3 ? ~0u : 0u; }));
    SpriteDefs.push_back(SpriteDef{.Frames = std::vector<SpriteFrame>(8)});
    acht = SpriteDefsMax();
    GegnerTypen = {GegnerTyp{.Width = 4, .Height = 2}};  // what launches and crushes release
    AppPfad = dir.path();
    SoundPfad = AppPfad + "Data\\Sound\\";
    std::filesystem::create_directories(dir / "Data/Sound");
    testsupport::WriteBytes(dir / "Data/Sound/Bumm.wav", tools::EncodeWav16(std::vector<int16_t>(2000, 900), 1, 44100));
  }
  void TearDown() override {
    for (int32_t* k : Klangnummern()) *k = -1;
    Soundclear();
    worlddraw::CloseDisplay();
    FreeLevelCatalogues();
    LetzterSpieler = 0;
    Rendern = true;
    testsupport::FreshState();
  }

  static int32_t Sprite(int32_t nr, int32_t blitz = -1, bool quad = false) {
    return enemytest::Sprite(nr, blitz, quad);
  }
  static Feindkomponente Teil(int32_t sprite, float ox = 0, float oy = 0) { return enemytest::Teil(sprite, ox, oy); }
  // A part that launches its enemy's `Parameter`(7) under fire mode `modus`.
  Feindkomponente Werfer(int32_t modus) const {
    Feindkomponente k = Teil(block);
    k.Erzeuger = -1;
    k.FeuerModus = modus;
    return k;
  }
  static Gegner& Feind(int32_t e, float x, float y, std::vector<Feindkomponente> teile, int32_t route = kBleibt,
                       int32_t startKind = kEndet * 1000) {
    Gegner& g = enemytest::Feind(e, x, y, std::move(teile));
    g.Typ.Parameter[7] = startKind;
    g.RouteNr = route;
    return g;
  }
  static void Tick() { enemytest::Tick(); }
  static std::vector<int32_t*> Klangnummern() {
    return {&SndExplosion[0], &SndExplosion[1], &SndExplosion[2], &SndSpalt};
  }
  static void LadeKlaenge() {
    Soundclear();
    for (int32_t* k : Klangnummern()) *k = LoadSound("", "Bumm.wav", 0, 44100);
  }
  // Which of SndExplosion(0..2), SndSpalt (0..3) play.
  static std::vector<int> Klaenge() {
    std::vector<int> an;
    for (int i = 0; i < 4; ++i)
      if (Sounds[*Klangnummern()[i]].Kopien[0].GetStatus() & DSBSTATUS_PLAYING) an.push_back(i);
    return an;
  }
  // An empty pool and scenery but for one rock of the block picture at (x, y).
  void NurFels(float x, float y) const {
    ResetEnemies();
    ResetLandscape();
    Landschaft[3].Objekte[0] = LandschaftObjekt{.X = x, .Y = y, .Sprite = block, .Aktiv = VBTrue};
    Landschaft[3].Max = 0;
  }
  static int32_t Aktive() {
    int32_t n = 0;
    for (const Gegner& g : GegnerListe.Slot) n += g.Aktiv != 0;
    return n;
  }
};

}  // namespace

TEST_F(EnemyStep, KillEnemyStopsItsGeneratorsBlanksTheSlotAndMovesTheHints) {
  struct Case {
    const char* name;
    std::vector<int32_t> aktiv;
    int32_t nr, max, frei;
    bool gestoppt;
  } cases[] = {
      {"the highest: the bound falls past the free slots", {0, 3, 7}, 7, 3, 7, true},
      {"a lower one: only the hint moves", {0, 3, 7}, 3, 7, 3, true},
      {"the last one empties the pool", {5}, 5, -1, 5, true},
      {"below the pool: nothing (free-standing generators stay)", {0}, -1, 0, 1, false},
      {"above the pool: nothing", {0}, 101, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    SchussErzeuger.Reset();
    for (int32_t e : c.aktiv) Feind(e, 1, 2, {Teil(block), Teil(block)}).Typ.Name = "A long name of a fighter";
    for (int32_t owner : {c.nr, 99, -1, c.nr}) SchussErzeuger[SchussErzeuger.Claim()].FeindNR = owner;
    const bool imPool = c.nr >= 0 && c.nr <= 100;
    const size_t platz = imPool ? GegnerListe[c.nr].Typ.Komponenten.capacity() : 0;
    KillEnemy(c.nr);
    EXPECT_EQ(GegnerMax, c.max);
    EXPECT_EQ(GegnerFrei, c.frei);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(SchussErzeuger[s].Aktiv != 0, !c.gestoppt || s == 1 || s == 2) << s;
    if (!imPool) continue;
    const Gegner& g = GegnerListe[c.nr];
    EXPECT_TRUE(g.Aktiv == 0 && g.Stirbt == 0 && g.X == 0 && g.RouteNr == 0 && g.Typ.Name.empty());
    EXPECT_TRUE(g.Typ.Komponenten.empty());
    EXPECT_EQ(g.Typ.Komponenten.capacity(), platz);
  }
}

TEST_F(EnemyStep, AnEnemyWhoseRouteEndsLeavesQuietlyAndBreaksPowerModeCombos) {
  struct Case {
    const char* name;
    int32_t p8, p14;
    bool power0, power1, reset0, reset1;
  } cases[] = {
      {"a player in power mode loses the combo", 0, 0, true, false, true, false},
      {"both players count, whatever the player count", 0, 0, true, true, true, true},
      {"parameter 8 spares it", 1, 0, true, true, false, false},
      {"parameter 14 spares it", 0, 1, true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    LadeKlaenge();
    const bool power[2] = {c.power0, c.power1};
    for (int p = 0; p < 2; ++p)
      Beam[p].Powermodus = VBBool(power[p]), ComboFaktor[p] = 2.5f, ComboTreffer[p] = 7, ComboBonus[p] = 900;
    Gegner& g = Feind(0, 100, 100, {Werfer(7)}, kEndet);
    g.Typ.Parameter[8] = c.p8, g.Typ.Parameter[14] = c.p14;
    Tick();
    EXPECT_EQ(GegnerMax, -1);  // gone, and its part never fired
    EXPECT_TRUE(Klaenge().empty());
    const bool reset[2] = {c.reset0, c.reset1};
    for (int p = 0; p < 2; ++p) {
      EXPECT_EQ(ComboFaktor[p], reset[p] ? 1.0f : 2.5f) << p;
      EXPECT_EQ(ComboTreffer[p] + ComboBonus[p], reset[p] ? 0 : 907) << p;
    }
  }
  Beam = {};
}

TEST_F(EnemyStep, OutOfEnergyItBurstsOrBeginsItsDeathButReleasesNoChildren) {
  struct Case {
    const char* name;
    float hp;
    int32_t punkte, p3, p15;
    int32_t max, todArt;  // max: 1 when its part launched, 0 when it stays, -1 when gone
    std::vector<int> klaenge;
  } cases[] = {
      {"energy 0 still lives", 0, 1499, 0, 0, 1, 0, {}},
      {"below 0 it bursts and is gone", -0.5f, 1499, 0, 0, -1, 0, {1}},
      {"from 1500 points the big sound", -1, 1500, 0, 0, -1, 0, {2}},
      {"a wreck begins, and no part fires", -1, 1499, 1, 0, 0, 3, {1}},
      {"a break-up begins", -1, 1499, 1, 1, 0, 7, {3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    LadeKlaenge();
    Gegner& g = Feind(0, 100, 100, {Werfer(7)});
    g.Typ.HP = c.hp, g.Typ.Punkte = c.punkte, g.TodZeit = 9;
    g.Typ.Parameter[3] = c.p3, g.Typ.Parameter[15] = c.p15, g.Typ.Parameter[9] = kEndet * 1000 + 2;
    Tick();
    EXPECT_EQ(GegnerMax, c.max);
    EXPECT_EQ(g.TodArt, c.todArt);
    EXPECT_EQ(g.Stirbt != 0, c.todArt != 0);
    if (c.todArt == 3) {
      EXPECT_EQ(g.TodZeit, 0);
    }
    EXPECT_EQ(Klaenge(), c.klaenge);
  }
}

// An enemy whose energy runs out in its own step is seen once more where it stands; only
// the living go on: their parts move, fire and are crushed.
TEST_F(EnemyStep, AnEnemyBeginningToDieInItsStepIsStillSeenButNoLongerActs) {
  struct Case {
    const char* name;
    float hp;
    int32_t p3, p15;
    bool lebt;       // still in the pool after the tick, and then dying of this kind
    int32_t todArt;
  } cases[] = {
      {"living: it launches, and the rock crushes it before its last part", 10, 0, 0, false, 0},
      {"a wreck begins: every part drawn, nothing else", -1, 1, 0, true, 3},
      {"a break-up begins: every part drawn, nothing else", -1, 0, 1, true, 7},
  };
  Rendern = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The rock lies under part 1; part 2 steps right by its own route, after the rock.
    NurFels(110, 100);
    LadeKlaenge();
    Feindkomponente wandert = Teil(block, 20);
    wandert.RouteAn = VBTrue, wandert.RouteNr = kSchritt;
    Feindkomponente werfer = Werfer(7);
    werfer.TrefferBlitz = 2;
    Gegner& g = Feind(0, 100, 100, {werfer, Teil(block, 10), wandert});
    g.Typ.HP = c.hp, g.Typ.Parameter[0] = 1, g.Typ.Parameter[3] = c.p3, g.Typ.Parameter[15] = c.p15;
    Tick();
    EXPECT_EQ(g.Aktiv != 0, c.lebt);
    EXPECT_EQ(Aktive(), 1);  // the dying one, or what the living one launched
    EXPECT_EQ(Pixel(101, 101), kRot);
    EXPECT_EQ(Pixel(121, 101), c.lebt ? kRot : 0u);
    if (!c.lebt) continue;
    EXPECT_EQ(g.TodArt, c.todArt);
    EXPECT_EQ(Pixel(111, 101), kRot);
    EXPECT_EQ(g.Typ.Komponenten[2].OffsetX, 20);
    EXPECT_EQ(g.Typ.Komponenten[0].TrefferBlitz, 1);  // the flash counts down as it shows
  }
}

TEST_F(EnemyStep, APartsOwnRouteRunsOnItsOpaqueSizeAndOnlyThenIsItsEnergyTested) {
  struct Case {
    const char* name;
    int16_t routeAn;
    int32_t route;
    float hp;
    bool lebt;
    std::vector<int> klaenge;
  } cases[] = {
      {"without a route its energy is the hit test's", VBFalse, kEndet, -5, true, {}},
      {"with a route, below 0 it bursts", VBTrue, kMisst, -5, false, {1}},
      {"energy 0 lives on", VBTrue, kMisst, 0, true, {}},
      {"a finished route: gone without a sound", VBTrue, kEndet, 10, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    LadeKlaenge();
    Feindkomponente k = Teil(kerbe);
    k.RouteAn = c.routeAn, k.RouteNr = c.route, k.HP = c.hp, k.Punkte = 100;
    Gegner& g = Feind(0, 100, 100, {k});
    Tick();
    EXPECT_EQ(g.Typ.Komponenten[0].Lebt != 0, c.lebt);
    EXPECT_EQ(Klaenge(), c.klaenge);
    // The 6 x 5 picture is opaque up to column 3 and row 2.
    if (c.route == kMisst) {
      EXPECT_TRUE(g.GVar[0] == 3 && g.GVar[1] == 2);
    }
  }
}

TEST_F(EnemyStep, DirectionFramesFollowTheBodysMovement) {
  struct Case {
    float mx, my;
    int32_t frame;
  } cases[] = {{-3, 0, 6}, {0, 5, 4},   {3, -3, 1}, {1, -4, 0}, {4, 2, 3},
               {6, 2, 2},  {-2, -4, 7}, {-3, 4, 5}, {0, -5, 0}, {0, 0, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mx << ", " << c.my);
    Feindkomponente k = Teil(acht);
    k.AniA = 5, k.TiA = 3;
    Gegner& g = Feind(0, 100, 100, {k});
    g.Typ.Parameter[2] = 1, g.MX = c.mx, g.MY = c.my;
    Tick();
    EXPECT_EQ(g.Typ.Komponenten[0].AniA, c.frame);
    EXPECT_EQ(g.Typ.Komponenten[0].TiA, -10);
  }
}

TEST_F(EnemyStep, FireModesFireByChanceOrByCount) {
  struct Case {
    int32_t modus, spieler;
    double p;                 // the chance per frame; 0 for the counted modes
    std::vector<int> feuert;  // the frames a counted mode fires on
  } cases[] = {{1, 0, 0.002, {}},
               {2, 0, 0.005, {}},
               {3, 0, 0.02, {}},
               {1, 1, 0.007, {}},
               {2, 1, 0.010, {}},
               {3, 1, 0.025, {}},
               {4, 0, 0, {25, 50, 75, 100, 125, 150, 175, 200}},
               {5, 0, 0, {50, 100, 150, 200}},
               {6, 0, 0, {100, 200}},
               {7, 0, 0, {1}},
               {0, 0, 0, {}},
               {8, 0, 0, {}}};
  for (Case c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.modus << ", players " << c.spieler + 1);
    const int frames = c.p > 0 ? 3000 : 200;
    if (c.p > 0) {
      // Each launch places an enemy, which draws one number of its own.
      SetRndState(99);
      for (int f = 1; f <= frames; ++f)
        if (Rnd() < c.p) c.feuert.push_back(f), Rnd();
    }
    ResetEnemies();
    LetzterSpieler = c.spieler;
    SetRndState(99);
    Feind(0, 100, 100, {Werfer(c.modus)});
    std::vector<int> feuert;
    // A launched enemy's route ends on its first tick, so what lives besides the launcher
    // was launched in this tick.
    for (int f = 1; f <= frames; ++f) {
      Tick();
      if (Aktive() > 1) feuert.push_back(f);
    }
    EXPECT_EQ(feuert, c.feuert);
  }
}

TEST_F(EnemyStep, ALaunchedEnemyIsCentredOnItsPartAndStartsAtTheCurrentTick) {
  LevelTick = 77;
  Feindkomponente k = Werfer(7);
  k.Sprite = kerbe;  // 6 x 5
  Feind(0, 100.4f, 50, {k}, kBleibt, 3 * 1000);
  Tick();
  const Gegner& kind = GegnerListe[1];
  EXPECT_TRUE(kind.Aktiv != 0 && kind.RouteNr == 3 && kind.LTick == 77);
  EXPECT_EQ(kind.X, 101);  // 100.4 + 3 - 2, rounded
  EXPECT_EQ(kind.Y, 51);   // 50 + 2 - 1
}

TEST_F(EnemyStep, TheSolidSceneryCrushesAPartAndTheEnemyGoesWithItsChildrenLeft) {
  struct Case {
    const char* name;
    int32_t p0;
    float felsX;
    bool zerquetscht;
  } cases[] = {
      {"touching the rock", 1, 102, true}, {"not minding rocks", 0, 102, false}, {"clear of it", 1, 104, false}};
  Rendern = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NurFels(c.felsX, 200);
    LadeKlaenge();
    // Part 1 lies on the rock's rows; the children come out at the enemy's centre.
    Gegner& g = Feind(0, 100, 190, {Teil(block), Teil(block, 0, 10), Teil(block, 0, 20)});
    g.Typ.Parameter[0] = c.p0, g.Typ.Parameter[9] = kEndet * 1000 + 1;
    Tick();
    EXPECT_EQ(g.Aktiv == 0, c.zerquetscht);
    EXPECT_EQ(Pixel(101, 191), kRot);
    EXPECT_EQ(Pixel(101, 211), c.zerquetscht ? 0u : kRot);  // parts after the crushed one are not drawn
    EXPECT_EQ(Aktive(), c.zerquetscht ? 2 : 1);
    if (c.zerquetscht) {
      EXPECT_TRUE(GegnerListe[1].X == 118 && GegnerListe[2].Y == 199);
      EXPECT_EQ(Klaenge(), std::vector<int>{2});
    }
  }
}

TEST_F(EnemyStep, ARammerSpendsItsEnergyOnWhatItStrikes) {
  struct Case {
    const char* name;
    int32_t p1;
    float hp, opferHP;
    bool lebt;
    float hpNach, opferNach;
  } cases[] = {
      {"its energy goes into the part struck", 1, 30, 100, false, 0, 70},
      {"what is left over is its energy", 1, 30, 10, true, 20, -20},
      {"the inset keeps it clear", 2, 30, 100, true, 30, 100},
      {"untouched, a fraction is rounded away", 2, 10.4f, 100, true, 10, 100},
      {"at energy 0 it is crushed untouched", 2, 0, 100, false, 0, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    Gegner& g = Feind(0, 100, 100, {Teil(block)});
    g.Typ.HP = c.hp, g.Typ.Parameter[1] = c.p1;
    Gegner& opfer = Feind(1, 102, 100, {Teil(block), Teil(block, 300)});
    opfer.Typ.Komponenten[0].HP = c.opferHP;
    Tick();
    EXPECT_EQ(g.Aktiv != 0, c.lebt);
    if (c.lebt) {
      EXPECT_EQ(g.Typ.HP, c.hpNach);
    }
    EXPECT_EQ(opfer.Typ.Komponenten[0].HP, c.opferNach);
  }
}

TEST_F(EnemyStep, ATurretTurnsToTheCentreOfItsTargetShipsHitBox) {
  ErzeugerTypen = {ErzeugerTypDaten{.Drehturm = VBTrue}, ErzeugerTypDaten{}};
  struct Case {
    const char* name;
    int32_t erzeuger, vesk;
    float sx, sy;
    int32_t box;  // the hit box from (box, box) to (3 box, 3 box)
    float drehung;
  } cases[] = {
      {"to the right", 0, 0, 200, 102, 0, 180},
      {"to the box's centre", 0, 0, 90, 90, 10, 225},
      {"player two's ship", 0, 1, 102, 202, 0, 270},
      {"no turret: left alone", 1, 0, 200, 102, 0, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Spieler[0] = Spieler[1] = SpielerDaten{};
    Spieler[c.vesk].X = c.sx, Spieler[c.vesk].Y = c.sy;
    Schiff[c.vesk].BoxLinks = Schiff[c.vesk].BoxOben = c.box;
    Schiff[c.vesk].BoxRechts = Schiff[c.vesk].BoxUnten = 3 * c.box;
    Feindkomponente k = Teil(block);  // its centre at (102, 102)
    k.Erzeuger = c.erzeuger, k.Drehung = 33;
    Gegner& g = Feind(0, 100, 100, {k});
    g.VeskNr = c.vesk;
    Tick();
    EXPECT_EQ(g.Typ.Komponenten[0].Drehung, c.drehung);
  }
  Schiff = {};
}

TEST_F(EnemyStep, TheDyingStandFrozenWaitUnseenOrPlayTheirDeathToTheEnd) {
  struct Case {
    const char* name;
    int32_t art, todZeit, spieler;
    bool power, bleibt, sichtbar;
    int32_t abschuesse, beben;
  } cases[] = {
      {"frozen by the nova: drawn where it stands", 0, 4, 0, false, true, true, 0, 0},
      {"the nova's mark: unseen", -1, 4, 0, false, true, false, 0, 0},
      {"another kind outside them: unseen", 8, 4, 0, false, true, false, 0, 0},
      {"a wreck without pieces: its parts burst before, it goes", 3, 4, 0, false, false, false, 0, 0},
      {"split, last frame: the halves apart, two living parts burst and shake", 1, 29, 0, false, false, false, 2, 6},
      {"beam kill, last frame: a lone player in power mode: no shake", 6, 50, 0, true, false, true, 2, 0},
      {"sparkling, last frame: two players: it shakes", 2, 39, 1, true, false, true, 2, 6},
  };
  Rendern = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    LetzterSpieler = c.spieler;
    Beam[0].Powermodus = VBBool(c.power);
    Spieler[0].Abschuesse = 0, Erschuetterung = 0;
    Gegner& g = Feind(0, 100, 100, {Werfer(7), Teil(block, 10), Teil(block, 20)}, kSchritt);
    g.Typ.Komponenten[2].Lebt = VBFalse;
    g.Stirbt = VBTrue, g.TodArt = c.art, g.TodZeit = c.todZeit;
    Tick();
    EXPECT_EQ(g.Aktiv != 0, c.bleibt);
    EXPECT_EQ(Pixel(101, 101), c.sichtbar ? kRot : 0u);
    if (c.bleibt) {  // no route, no launch
      EXPECT_TRUE(g.X == 100 && g.TodZeit == c.todZeit && GegnerMax == 0);
    }
    EXPECT_EQ(Spieler[0].Abschuesse, c.abschuesse);
    EXPECT_EQ(Erschuetterung, c.beben);
  }
  Beam = {};
}

TEST_F(EnemyStep, AFewEnemiesMatchTheirReferenceFrame) {
  Rendern = true;
  // A hull with a cockpit, two pods and a gun; the flash copies are the colours inverted.
  auto hull = [](int x, int y) -> uint32_t {
    if ((x - 12) * (x - 12) / 4 + (y - 6) * (y - 6) * 2 > 40) return 0;
    return x > 16 && y < 6 ? 0xFF60C0FF : 0xFF000000u | (0x50 + 4 * x) << 16 | (0x60 + 6 * y) << 8 | 0x40;
  };
  auto pod = [](int x, int y) -> uint32_t { return (x - 4) * (x - 4) + (y - 4) * (y - 4) < 14 ? 0xFFE0A020 : 0; };
  auto gun = [](int x, int y) -> uint32_t { return y >= 2 && y < 6 ? 0xFFB0B0B0 - 0x080808 * x : 0; };
  auto inv = [](auto f) {
    return [f](int x, int y) {
      const uint32_t c = f(x, y);
      return c ? c ^ 0x00FFFFFF : 0u;
    };
  };
  const int32_t rumpf =
      Sprite(worlddraw::Picture(24, 12, false, true, hull), worlddraw::Picture(24, 12, false, true, inv(hull)));
  const int32_t kapsel =
      Sprite(worlddraw::Picture(8, 8, false, true, pod), worlddraw::Picture(8, 8, false, true, inv(pod)));
  const int32_t rohr = Sprite(worlddraw::Picture(16, 8, true, true, gun), -1, true);
  const int32_t glas = Sprite(worlddraw::Picture(24, 12, true, true, hull), -1, true);
  auto schiff = [&](int32_t e, float x, float y, int32_t koerper, int32_t blitz) -> Gegner& {
    std::vector<Feindkomponente> t = {Teil(koerper, 0, 8), Teil(kapsel, 4, 0), Teil(kapsel, 4, 20), Teil(rohr, 22, 10)};
    t[3].R = 1, t[3].G = 0.6f, t[3].B = 0.6f, t[3].Drehung = 30 * e;
    for (Feindkomponente& k : t) k.TrefferBlitz = blitz;
    return Feind(e, x, y, t);
  };
  schiff(0, 20, 20, rumpf, 0);
  schiff(1, 90, 40.6f, glas, 0).Typ.Komponenten[0].A = 0.6f;
  // Hit: blits show their flash copies, except an undamageable one (the upper pod), and
  // quads are added once more, undamageable (the glass hull) or not.
  Gegner& blitzt = schiff(2, 160, 20, rumpf, 2);
  blitzt.Typ.Komponenten[1].Unzerstörbar = VBTrue;
  schiff(3, 230, 40, glas, 2).Typ.Komponenten[0].Unzerstörbar = VBTrue;
  schiff(4, 20, 80, rumpf, 2).Stirbt = VBTrue;  // frozen by the nova: no flash
  Tick();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/enemy_fleet_32.bmp", *BackBuffer, {0, 0, 300, 120}),
            "");
  // The flash counts down in frames that are not drawn too.
  Rendern = false;
  Tick();
  EXPECT_EQ(blitzt.Typ.Komponenten[0].TrefferBlitz, 0);
}
