// The drones: the chain at rest and following a moving ship, the turn toward its target
// angle; the lightning's choice of target and what it never strikes; rockets until the
// supply is spent; the drone guns' cadence.
// Then a digest of every shot and of the satellite and drones over 600 scripted ticks per
// ship type, which keeps the order of the random numbers; and the chain drawn.
#include "player/drones.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/firing.hpp"
#include "player/players.hpp"
#include "player/satellite.hpp"
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

class Drones : public ::testing::Test {
 protected:
  void SetUp() override {
    shiptest::Anfang();
    Schiff[0].Typ = 2;
    VeskReset();
    VeskPosSetup();  // the ship at (100, 260), the drones at (116, 276)
    Drohnen.SchildAn = VBFalse;
    Drohnen.BlitzAn = VBFalse;
    LevelTick = 0;
    SetRndState(4242);
  }
  void TearDown() override { shiptest::Ende(); }
  static void Tick() {
    SpielDWeapons();
    ++LevelTick;
  }
};

}  // namespace

// ---- The chain ---------------------------------------------------------------------------

TEST_F(Drones, AtRestTheyKeepTheirPlaceAndTurnBackTowardZeroByOneDegree) {
  struct Fall {
    float vorher, nachher;
  } faelle[] = {
      {20, 19},  {0.5f, 360}, {350, 351}, {180, 179},  // halfway round it turns back the short way it finds first
      {359.5f, 360}, {0, 360}, {-30, 331}, {720, 360}, {1e9f, 281}, {NAN, 360},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.vorher);
    DrohnenDaten& d = Drohnen.Kette[0];
    const DrohnenDaten vorher = d;
    d.Winkel = f.vorher;
    Tick();
    EXPECT_EQ(d.Winkel, f.nachher);
    EXPECT_EQ(d.X, vorher.X);
    EXPECT_EQ(d.Y, vorher.Y);
    EXPECT_EQ(d.VerlaufX, vorher.VerlaufX);
  }
}

TEST_F(Drones, MovingTheyFollowTheirLeaderElevenStepsBehindAndFaceAgainstItsStep) {
  struct Fall {
    const char* name;
    float dx, dy;
    float winkel;  // of the first drone after 30 ticks
  } faelle[] = {
      {"right", 6, 0, 180}, {"left", -6, 0, 360}, {"down", 0, 6, 270}, {"up", 0, -6, 90},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetUp();
    // The leader point of tick k (k <= 0: where the ship stood).
    const auto leader = [&](int k) {
      const int s = k < 0 ? 0 : k;
      return std::make_pair(116 + f.dx * s, 276 + f.dy * s);
    };
    for (int k = 1; k <= 40; ++k) {
      Spieler[0].X += f.dx;
      Spieler[0].Y += f.dy;
      Tick();
      for (int d = 0; d < 2; ++d) {
        const auto [x, y] = leader(k - 11 - 10 * d);
        ASSERT_EQ(std::make_pair(Drohnen.Kette[d].X, Drohnen.Kette[d].Y), std::make_pair(x, y))
            << "drone " << d << ", tick " << k;
      }
      if (k == 30) {
        EXPECT_EQ(Drohnen.Kette[0].Winkel, f.winkel);
      }
    }
  }
}

// ---- Lightning ---------------------------------------------------------------------------

TEST_F(Drones, TheLightningStrikesTheNearestPartItMayWithinReach) {
  // Origin (164, 292): the ship's nose. A decoy that may be struck lies 150 to the right
  // in slot 1; the enemy of each case lies `abstand` away in slot 0, to the right or
  // straight up.
  enum Ziel { kKeins, kFall, kKoeder };
  enum Art { kSchlicht, kUnzerstoerbar, kStirbt, kFest, kOhneZeilen, kOhneBild, kOhneFrame, kZerstoert };
  struct Fall {
    const char* name;
    float abstand;
    Art art;
    Ziel ziel;
    bool oben = false, koeder = true, blitzAn = true;
  } faelle[] = {
      {"nearer than the decoy", 50, kSchlicht, kFall},
      {"an indestructible part", 50, kUnzerstoerbar, kKoeder},
      {"a dying enemy", 50, kStirbt, kKoeder},
      {"a solid enemy", 50, kFest, kKoeder},
      {"a picture without opaque rows", 50, kOhneZeilen, kKoeder},
      {"a frame without a picture", 50, kOhneBild, kKoeder},
      {"a frame that does not exist", 50, kOhneFrame, kKoeder},
      {"a destroyed part still draws the arc, and nothing is hit", 50, kZerstoert, kKeins},
      {"as far as the decoy: the earlier slot", 150, kSchlicht, kFall, true},
      {"a pixel farther than the decoy", 151, kSchlicht, kKoeder, true},
      {"169 pixels away", 169, kSchlicht, kFall, false, false},
      {"170 pixels away: out of reach", 170, kSchlicht, kKeins, false, false},
      {"lightning off", 50, kSchlicht, kKeins, false, true, false},
  };
  const int32_t block = shiptest::BlockSprite(20, 20);
  const int32_t flach = shiptest::BlockSprite(20, 1);
  SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = -1}}});
  const int32_t ohneBild = SpriteDefsMax();
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Drohnen.BlitzAn = VBBool(f.blitzAn);
    const int32_t sprite = f.art == kOhneZeilen ? flach : f.art == kOhneBild ? ohneBild : block;
    Gegner& g = f.oben ? shiptest::Enemy(0, sprite, 154, 282 - f.abstand, 1000)
                       : shiptest::Enemy(0, sprite, 154 + f.abstand, 282, 1000);
    Gegner& koeder = shiptest::Enemy(1, block, 304, 282, 1000);
    koeder.Aktiv = VBBool(f.koeder);
    Feindkomponente& k = g.Typ.Komponenten[0];
    k.Unzerstörbar = VBBool(f.art == kUnzerstoerbar);
    g.Stirbt = VBBool(f.art == kStirbt);
    g.Typ.Parameter[8] = f.art == kFest ? 1 : 0;
    if (f.art == kOhneFrame) k.AniA = 3;
    if (f.art == kZerstoert) k.Lebt = VBFalse;
    Tick();
    EXPECT_EQ(g.Typ.Komponenten[0].HP, f.ziel == kFall ? 990 : 1000);
    EXPECT_EQ(koeder.Typ.Komponenten[0].HP, f.ziel == kKoeder ? 990 : 1000);
  }
}

// ---- Rockets and guns --------------------------------------------------------------------

TEST_F(Drones, AHeldPodKeyDropsARocketEveryNineTicksUntilThirtyAreSpent) {
  SndRocketlaunch = shiptest::Klang();
  SoundAn = true;
  shiptest::Hold(0, AktionPartikelWechsel);
  std::vector<int> takte;
  for (int t = 0; t < 400; ++t) {
    Schuesse[0].Reset();
    Tick();
    const std::vector<Geschoss> v = Geschosse();
    if (v.empty()) continue;
    takte.push_back(t);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(std::vector<float>({static_cast<float>(v[0].art), v[0].x, v[0].y, v[0].sx, v[0].force, v[0].staerke}),
              std::vector<float>({12, 118, 299, 0, 0, 1500}));
    EXPECT_TRUE(v[0].sy >= 0.5f && v[0].sy < 2.5f) << v[0].sy;
  }
  std::vector<int> erwartet;
  for (int i = 0; i < 30; ++i) erwartet.push_back(9 * i);
  EXPECT_EQ(takte, erwartet);
  EXPECT_EQ(Drohnen.Munition[0], 0);
  EXPECT_EQ(Drohnen.Munition[1], 4) << "the second slot is never selected";
  EXPECT_TRUE(shiptest::Spielt(SndRocketlaunch));
}

TEST_F(Drones, EachDroneGunFiresEveryEighthTickWhereItsDroneFaces) {
  Spieler[0].Waffenstufe = 3;
  Drohnen.Kette[0].Winkel = 90;
  Drohnen.Kette[1].Winkel = 180;
  Drohnen.Kette[1].X = 200;
  Drohnen.Kette[1].Abklingzeit = 3;
  std::vector<std::pair<int, Geschoss>> schuesse;
  for (int t = 0; t < 20; ++t) {
    Schuesse[1].Reset();
    bool gefeuert = false;
    DrohnenWaffen(0, 2, gefeuert);
    EXPECT_FALSE(gefeuert);
    for (const Geschoss& g : Geschosse()) schuesse.emplace_back(t, g);
  }
  const Geschoss unten{1, 0, 124, 284, 9 * CosinusB(90), 9 * SinusB(90), 1, 110, 0},
      links{1, 0, 208, 284, 9 * CosinusB(180), 9 * SinusB(180), 1, 110, 0};
  EXPECT_EQ(schuesse, (std::vector<std::pair<int, Geschoss>>(
                          {{0, unten}, {3, links}, {8, unten}, {11, links}, {16, unten}, {19, links}})));
}

// ---- The digest --------------------------------------------------------------------------

namespace {

struct Digest {
  uint64_t h = 1469598103934665603ull;
  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
  }
  template <class T>
  void Add(T v) {
    Bytes(&v, sizeof v);
  }
};

// One scripted tick: the ship weaves; fire is held but for a pause; the pod key is pressed
// at 450 (launch or rockets) and 520 (recall or rockets) and held from 570; the power mode
// runs from 250 to 350; the docked satellite changes its weapon every 70 ticks and its
// level every 60; every 30 ticks a blockable enemy shot appears beside the satellite.
void Drehbuch(int t) {
  SpielerDaten& s = Spieler[0];
  s.X = static_cast<float>(150 + 20 * SinusB(t * 2));
  s.Y = static_cast<float>(250 + 20 * CosinusB(t * 3));
  for (int k = 0; k < 10; ++k) SpielerSpur[0][k] = SpielerSpur[0][k + 1];
  SpielerSpur[0][10] = s;
  shiptest::Hold(0, AktionSchießen, t < 430 || t >= 440);
  shiptest::Hold(0, AktionPartikelWechsel, (t >= 450 && t < 453) || (t >= 520 && t < 523) || t >= 570);
  Beam[0].Powermodus = VBBool(t >= 250 && t < 350);
  Satellit.Spezialwaffe = t < 100 ? 0 : ((t - 100) / 70) % 5;
  Satellit.Stufe = (t / 60) % 3;
  if (t % 30 == 0) {
    GegnerSchussDaten& g = GegnerSchuesse[GegnerSchuesse.Claim()];
    g.ID = 0;
    g.X = Satellit.X + 20;
    g.Y = Satellit.Y + 20;
    g.BoxRight = g.BoxBottom = 16;
    g.HP = 10;
  }
  LevelTick = t;
}

uint64_t Verlauf(int32_t typ) {
  shiptest::Ende();
  shiptest::Anfang();
  Schiff[0] = SchiffDaten{};
  Schiff[0].Typ = typ;
  Schiff[0].BoxOben = 17;
  Schiff[0].BoxRechts = 64;
  Schiff[0].BoxUnten = 54;
  Schiff[0].MuendungX = 50;
  Schiff[0].MuendungY1.fill(20);
  Schiff[0].MuendungY2.fill(40);
  Schiff[0].Zeilen = 3;
  VeskReset();
  VeskPosSetup();
  ResetTrails();
  Drohnen.Kette.resize(4);
  Satellit = SatellitDaten{};
  Satellit.Da = VBTrue;
  Satellit.Zustand = 5;
  Satellit.X = -64;
  Satellit.Y = 260;
  Spieler[0].Waffenstufe = 2;
  ErzeugerTypen.assign(1, ErzeugerTypDaten{.Salven = {ErzeugerSalve{}}});  // the enemy shots' entry
  const int32_t block = shiptest::BlockSprite(64, 64);
  shiptest::Enemy(0, block, 0, 220, 1e6f);  // behind the ship, where the satellite parks
  shiptest::Enemy(1, block, 330, 230, 1e6f);  // ahead, within the lightning's reach
  SetRndState(20240607);

  Digest d;
  for (int t = 0; t < 600; ++t) {
    Drehbuch(t);
    SpielDWeapons();
    SpielSchieß();
    SpielSateliet();
    for (const Geschoss& g : Geschosse()) d.Add(g);
    d.Add(Satellit.X), d.Add(Satellit.Y), d.Add(Satellit.Zustand), d.Add(Satellit.Rammenergie);
    for (const DrohnenDaten& k : Drohnen.Kette) d.Add(k.X), d.Add(k.Y), d.Add(k.Winkel);
    d.Add(RndState());
    Schuesse[0].Reset();
    Schuesse[1].Reset();
    Partikel[0].Reset();
    Partikel[1].Reset();
    BigPartikel.Reset();
  }
  shiptest::ReleaseAll();
  return d.h;
}

}  // namespace

// The recorded digests: a change in what is fired, in what order, or in how many random
// numbers each step draws shows here.
TEST_F(Drones, SixHundredScriptedTicksFireTheRecordedShots) {
  struct Fall {
    int32_t typ;
    uint64_t digest;
  } faelle[] = {{1, 8582084083082459501ull}, {2, 15850269642011370561ull}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.typ);
    EXPECT_EQ(Verlauf(f.typ), f.digest);
  }
}

// ---- Drawing -----------------------------------------------------------------------------

// Five drones trail a ship that has weaved its way right; the orbs circle it and the
// lightning reaches for an enemy ahead.
TEST_F(Drones, TheChainWithItsLightningMatchesTheReferenceFrame) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  Rendern = false;
  TexKreis2 = shiptest::Glow(64);
  TexBalken = shiptest::Bar();
  for (int32_t i = 0; i < 10; ++i)
    TexDrohnenWaffe[static_cast<size_t>(i)] = shiptest::Picture(32, 32, [=](int x, int y) -> uint32_t {
      const float r = shiptest::Kreis(x, y, 32);
      if (r >= 1) return 0;
      const double a = std::atan2(y - 15.5, x - 15.5) * 180 / 3.14159265 + 180;
      return std::fabs(a - i * 36) < 20 ? 0xFFFFFFFFu : 0xFF30A050u;
    });
  const int32_t block = shiptest::BlockSprite(40, 40);
  shiptest::Enemy(0, block, 520, 240, 1e9f);
  Drohnen.Kette.resize(5);
  Drohnen.SchildAn = VBTrue;
  Drohnen.BlitzAn = VBTrue;
  for (int t = 0; t <= 70; ++t) {
    Spieler[0].X = static_cast<float>(60 + 5 * t);
    Spieler[0].Y = static_cast<float>(230 + 70 * SinusB(t * 6));
    Rendern = t == 70;
    if (Rendern) RenderStart();
    Tick();
  }
  RenderEnd();
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/drones_32.bmp", *BackBuffer, {0, 120, 640, 400}),
            "");
  TexKreis2 = TexBalken = -1;
  TexDrohnenWaffe.fill(-1);
  testsupport::CloseDisplay();
}
