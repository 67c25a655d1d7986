// The orbit pods and their weapons: places, jumps and glides, the swing, guard pods,
// selection, damaged values; each weapon's volley and cadence, the laser, a seeded run
// that guards the order of the random numbers, and a reference frame.
#include "player/pods.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/firing.hpp"
#include "player/players.hpp"
#include "player/score_state.hpp"
#include "player/ship_control.hpp"
#include "player/shots_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "ship_support.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/enemy_shots.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"

using shiptest::Geschoss;
using shiptest::Geschosse;
using shiptest::Hold;

namespace {

constexpr int32_t kOhne = 0, kWaechter = -1;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct Ort {
  int32_t x, y;
  bool operator==(const Ort&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Ort& p) { return o << "(" << p.x << ", " << p.y << ")"; }

int32_t Funken() {
  int32_t n = 0;
  for (int32_t k = 0; k <= Partikel[1].Max; ++k) n += Partikel[1][k].Aktiv != VBFalse;
  return n;
}

// A one-player game of ship type 0, the ship still at (200, 200): its middle is (232,
// 218), so a pod's corner lies 16 left of its point on the ellipse round (232, 218).
// Nothing drawn, no sound, the main gun silent.
class PodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    Start();
  }
  void TearDown() override {
    shiptest::ReleaseAll();
    Rendern = true;
    SpriteDefs.clear();
    ErzeugerTypen.clear();
    testsupport::FreshState();
  }
  static void Start() {
    LetzterSpieler = 0;
    testsupport::FreshState();
    FillSinTables();
    Rendern = SoundAn = false;
    Schiff = {};
    shiptest::StandardBlock(Schiff[0], 0);
    shiptest::StandardBlock(Schiff[1], 1);
    shiptest::BindKeys();
    VeskReset();
    for (PodDaten& d : Pods) d.AnimFrame = d.AnimZeit = d.Hervorhebung = 0;  // a new game keeps them
    VeskPosSetup();
    VeskInit(0);
    Flieg(200, 200);
    Spieler[0].Waffenstufe = 0;
    SetRndState(4242);
  }
  static void Flieg(float x, float y) {
    Spieler[0].X = x;
    Spieler[0].Y = y;
    SpielerSpur[0].fill(Spieler[0]);
  }
  // As a pick-up arms a pod: ready at once.
  static void Ausstatten(int32_t j, int32_t waffe, int32_t stufe = 1, bool besitz = true) {
    Pods[j].Abklingzeit = 0;
    Pods[j].Waffe = waffe;
    Pods[j].Stufe = stufe;
    Pods[j].Besitz = VBBool(besitz);
  }
  static void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      SpielPartikelMove();
      SpielPartikel();
    }
  }
  static Ort Bei(int32_t j) { return {Pods[j].X, Pods[j].Y}; }
  static void Druecken(Aktion a) {
    Hold(0, a);
    SpielPartikelMove();
    Hold(0, a, false);
  }
};

}  // namespace

TEST_F(PodTest, EachSortSettlesAtItsPlace) {
  struct Fall {
    int32_t waffe[4];
    float winkel;
    Ort ort[4];
  } faelle[] = {
      {{0, 0, 0, 0}, 0, {{216, 196}, {216, 240}, {216, 176}, {216, 260}}},
      {{2, 4, 1, 6}, 0, {{216, 196}, {216, 240}, {256, 218}, {256, 218}}},
      {{2, 4, 1, 6}, 180, {{216, 196}, {216, 240}, {176, 218}, {176, 218}}},
  };
  for (const Fall& f : faelle) {
    Start();
    for (int32_t j = 0; j < 4; ++j) {
      Ausstatten(j, f.waffe[j]);
      Pods[j].Drehwinkel = f.winkel;
    }
    for (int n : {60, 1}) {  // settled means staying
      Frames(n);
      for (int32_t j = 0; j < 4; ++j)
        EXPECT_EQ(Bei(j), f.ort[j]) << "pod " << j << ", weapon " << f.waffe[j] << ", turned " << f.winkel;
    }
  }
}

TEST_F(PodTest, FarPodsJumpCloseOnesGlideAndLagTheShip) {
  struct Fall {
    const char* name;
    int32_t j, waffe;
    Ort von;
    float dx, dy;  // the ship's move this frame
    Ort nach;
  } faelle[] = {
      // Pod 0's place is (216, 196), pod 3's (216, 260).
      {"120 away: a jump", 0, kOhne, {216, 316}, 0, 0, {216, 196}},
      {"119 away: a third plus one", 0, kOhne, {216, 315}, 0, 0, {216, 274}},
      {"armed, close: a snap", 0, 2, {216, 225}, 0, 0, {216, 196}},
      {"armed, 30 away: a glide", 0, 2, {216, 226}, 0, 0, {216, 215}},
      {"plain, close: a glide", 0, kOhne, {216, 225}, 0, 0, {216, 214}},
      // A step that passed the place from above is taken back; from below it stays.
      {"from below it passes", 0, kOhne, {214, 208}, 0, 0, {219, 203}},
      {"from above it stays", 0, kOhne, {218, 208}, 0, 0, {218, 203}},
      {"pod 0 lags a climb", 0, kOhne, {216, 225}, 0, -6, {216, 216}},
      {"pod 0 does not lag a dive", 0, kOhne, {216, 225}, 0, 6, {216, 214}},
      {"pod 3 lags a move left", 3, kOhne, {216, 231}, -6, 0, {227, 242}},
  };
  for (const Fall& f : faelle) {
    Start();
    for (int32_t j = 0; j < 4; ++j) Ausstatten(j, f.waffe, 1, j == f.j);
    Pods[f.j].X = f.von.x;
    Pods[f.j].Y = f.von.y;
    SpielerSpur[0][10].X -= f.dx;
    SpielerSpur[0][10].Y -= f.dy;
    SpielPartikelMove();
    EXPECT_EQ(Bei(f.j), f.nach) << f.name;
  }
}

TEST_F(PodTest, TheSwingTakes45FramesAndTheKeyReversesIt) {
  Ausstatten(2, 1);
  Ausstatten(3, 1);
  Frames(20);
  Druecken(AktionDrehen);
  struct Stand {
    int frame;
    Ort pod2, pod3;
  } stand[] = {{1, {256, 216}, {256, 220}},
               {22, {217, 196}, {217, 240}},  // over the top, under the bottom
               {44, {176, 216}, {176, 220}},
               {45, {176, 218}, {176, 218}},
               {60, {176, 218}, {176, 218}}};
  for (int frame = 1; const Stand& s : stand) {
    for (; frame < s.frame; ++frame) Frames(1);
    EXPECT_EQ(Pods[3].Drehwinkel, std::min(4.0f * s.frame, 180.0f));
    EXPECT_EQ(Bei(2), s.pod2) << s.frame;
    EXPECT_EQ(Bei(3), s.pod3) << s.frame;
  }
  Druecken(AktionDrehen);  // back
  Frames(9);
  Druecken(AktionDrehen);  // and forth again
  EXPECT_EQ(Pods[2].Drehwinkel, 144);
  // A held key turns once.
  Frames(1);
  Hold(0, AktionDrehen);
  Frames(5);
  EXPECT_EQ(Pods[2].Drehwinkel, 128);
  // Pods without a weapon stand still but take every turn.
  EXPECT_EQ(Pods[0].Drehwinkel, 0);
  EXPECT_EQ(Pods[0].Drehschritt, -4.0f);
}

TEST_F(PodTest, GuardPodsCircleRamAndSwallowBlockableShots) {
  for (int32_t j = 0; j < 4; ++j) Ausstatten(j, kWaechter, 0);
  PodDrehung = 352 - 80;
  Frames(10);
  const Ort orbit[4] = {{216, 176}, {216, 260}, {268, 218}, {164, 218}};  // 52 x 42 round the middle
  for (int runde = 0; runde < 2; ++runde) {
    SpielPartikelMove();
    EXPECT_EQ(PodDrehung, 0);
    for (int32_t j = 0; j < 4; ++j) EXPECT_EQ(Bei(j), orbit[j]) << "pod " << j;
    for (int i = 1; i < 45; ++i) SpielPartikelMove();
  }
  EXPECT_EQ(Pods[0].Abklingzeit, 352);
  // Through the scenery it keeps its orbit, two sparks a frame.
  shiptest::Rock(0, shiptest::BlockSprite(40, 40), 196, 150);
  SpielPartikelMove();
  EXPECT_EQ(Bei(0), orbit[0]);
  EXPECT_EQ(Funken(), 2);

  struct Fall {
    int32_t waffe, id, nrk;  // the shot's counter (-1 a shock wave) and salvo entry
    float x;                 // its 8 x 8 box at (x, 180); the pod covers 216..248
    bool geschluckt;
  } faelle[] = {{kWaechter, 3, 0, 209, true},  {kWaechter, 3, 0, 208, false},  {kWaechter, 3, 0, 248, false},
                {kWaechter, 3, 1, 230, false}, {kWaechter, -1, 0, 230, false}, {kWaechter, 3, 7, 230, false},
                {kOhne, 3, 0, 230, false}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.waffe << ", " << f.id << ", " << f.nrk << ", " << f.x);
    Start();
    ErzeugerTypen.assign(1, ErzeugerTypDaten{.Salven = {ErzeugerSalve{}, ErzeugerSalve{.Unblockbar = VBTrue}}});
    Ausstatten(0, f.waffe);
    Pods[0].X = 216;
    Pods[0].Y = 176;
    shiptest::Enemy(0, shiptest::BlockSprite(32, 32), 230, 170, 1000);
    const int32_t k = GegnerSchuesse.Add(GegnerSchussDaten{
        .X = f.x, .Y = 180, .HP = 1200.4f, .ID = f.id, .Nr = 0, .NRK = f.nrk, .BoxRight = 8, .BoxBottom = 8});
    for (int i = 0; i < 3; ++i) SpielPartikel();
    EXPECT_EQ(GegnerListe[0].Typ.Komponenten[0].HP, f.waffe == kWaechter ? 850 : 1000);
    EXPECT_EQ(GegnerSchuesse[k].Aktiv == VBFalse, f.geschluckt);
    EXPECT_EQ(Spieler[0].Punkte, f.geschluckt ? 1200 : 0);
    EXPECT_EQ(PunkteAnzeigen.Max, f.geschluckt ? 0 : -1);
    if (f.geschluckt) {
      EXPECT_EQ(PunkteAnzeigen[0].X, 232);  // at the pod's middle
    }
  }
}

TEST_F(PodTest, TheSelectionRunsThroughTheOwnedPods) {
  struct Fall {
    bool besitz[4];
    int32_t von;
    std::vector<int32_t> folge;
  } faelle[] = {
      {{true, true, false, false}, 0, {1, 0, 1}},  {{false, true, false, true}, -1, {1, 3, 1}},
      {{true, true, true, true}, 2, {3, 0, 1, 2}}, {{false, false, false, false}, 2, {-1, -1}},
      {{true, true, false, false}, 7, {11, 15}},  // damaged: four steps, no further
      {{true, true, false, false}, -5, {-1, 0}},   {{true, false, false, false}, kMax, {kMax}},
  };
  for (const Fall& f : faelle) {
    Start();
    for (int32_t j = 0; j < 4; ++j) Pods[j].Besitz = VBBool(f.besitz[j]);
    Spieler[0].Pod = f.von;
    for (int32_t erwartet : f.folge) {
      for (PodDaten& d : Pods) d.Hervorhebung = 0;
      NextPartikel(0);
      EXPECT_EQ(Spieler[0].Pod, erwartet) << "from " << f.von;
      for (int32_t j = 0; j < 4; ++j) EXPECT_EQ(Pods[j].Hervorhebung, j == erwartet ? 50 : 0);
    }
  }

  // The carrier's own key set, once per press; pods without a living type-0 carrier rest.
  struct Traeger {
    int32_t letzter, typ0, typ1, tod1, traeger;
    bool gesteuert;
  } traeger[] = {{0, 0, 1, 0, 0, true},  {1, 0, 1, 40, 0, true}, {1, 1, 0, 0, 1, true},
                 {1, 1, 1, 0, 1, false}, {0, 1, 0, 0, 0, false}, {1, 1, 0, 40, 1, false}};
  for (const Traeger& t : traeger) {
    SCOPED_TRACE(testing::Message() << t.letzter << t.typ0 << t.typ1 << t.tod1);
    Start();
    LetzterSpieler = t.letzter;
    Schiff[0].Typ = t.typ0;
    Schiff[1].Typ = t.typ1;
    Spieler[1].Tod = t.tod1;
    EXPECT_EQ(PodBesitzer(), t.traeger);
    Hold((t.traeger + t.letzter + 1) % 3, AktionPartikelWechsel);  // another set
    Hold(t.traeger + t.letzter, AktionPartikelWechsel);
    Frames(40);
    EXPECT_EQ(Spieler[t.traeger].Pod, t.gesteuert ? 1 : 0);
    EXPECT_EQ(Bei(0) == (Ort{CLng(Spieler[t.traeger].X) + 16, CLng(Spieler[t.traeger].Y) - 4}), t.gesteuert);
    shiptest::ReleaseAll();
    LetzterSpieler = 0;
  }
}

TEST_F(PodTest, PicturesStepTowardTheirSortAndDamagedValuesStayInBounds) {
  struct Fall {
    int32_t waffe, bild, anim, frames, danach;
  } faelle[] = {
      {kOhne, 0, 0, 55, 11}, {kWaechter, 11, 0, 10, 13}, {2, 5, 5, 1, 0},       // the armed cycle runs on from 5 to 0
      {2, 4, 5, 1, 3},       {kOhne, 99, 0, 1, 0},       {kOhne, -4, 0, 1, 0},  // drawn as the first
  };
  for (const Fall& f : faelle) {
    Start();
    Rendern = true;
    Ausstatten(0, f.waffe);
    Pods[0].Bild = f.bild;
    Pods[0].AnimFrame = f.anim;
    Pods[0].AnimZeit = 4;
    for (int i = 0; i < f.frames; ++i) SpielPartikel();
    EXPECT_EQ(Pods[0].Bild, f.danach) << f.waffe << ", " << f.bild << ", " << f.frames;
  }

  Start();
  Ausstatten(0, 2);
  Ausstatten(2, 2);
  Pods[0].Abklingzeit = std::numeric_limits<int32_t>::min();
  Pods[0].AnimZeit = kMax;
  Pods[0].AnimFrame = -3;
  Pods[2].Drehwinkel = 900;
  Pods[2].X = kMax;
  PodDrehung = kMax;
  Frames(1);
  EXPECT_EQ(Pods[0].Abklingzeit, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(Pods[0].AnimZeit, 0);
  EXPECT_EQ(Pods[0].AnimFrame, 0);
  EXPECT_EQ(Bei(2), (Ort{176, 218}));
  EXPECT_EQ(PodDrehung, Mod(static_cast<double>(kMax) + 8, 360));
  PodDrehung = -7;
  Frames(1);
  EXPECT_EQ(PodDrehung, 1);
}

// ---- Pod weapons ---------------------------------------------------------------------------

namespace {

class PodWeaponTest : public PodTest {
 protected:
  // Pod 0 alone, armed and ready at (300, 200), facing forward or back.
  static void Bereit(int32_t waffe, int32_t stufe, bool rechts, int32_t x = 300) {
    Start();
    for (int32_t j = 0; j < 4; ++j) Ausstatten(j, j == 0 ? waffe : kOhne, stufe, j == 0);
    Pods[0].X = x;
    Pods[0].Y = 200;
    Pods[0].Drehwinkel = rechts ? 0.0f : 180.0f;
  }
  // The ticks of `n` with fire held in which a pod fired, the firing step and later the
  // pods' own step running as in the game loop.
  static std::vector<int> Feuertakte(int n) {
    Hold(0, AktionSchießen);
    std::vector<int> takte;
    for (int t = 0; t < n; ++t) {
      Schuesse[1].Reset();
      SpielSchieß();
      if (!Geschosse().empty() || Feuer.PodLaser) takte.push_back(t);
      SpielPartikel();
    }
    return takte;
  }
};

}  // namespace

TEST_F(PodWeaponTest, EachWeaponsVolley) {
  using G = Geschoss;
  const auto faecher = [](std::vector<std::array<float, 2>> v) {
    std::vector<G> g{{1, 1, 300, 208, -8, 0, 0, 120, 0}};
    for (auto [sx, sy] : v)
      g.insert(g.end(), {{1, 1, 300, 208, sx, sy, 0, 20, 0}, {1, 1, 300, 208, sx, -sy, 0, 20, 0}});
    return g;
  };
  struct Fall {
    int32_t waffe, stufe, m;
    bool rechts;
    std::vector<G> schuesse;
    int32_t abklingzeit;
    bool gefeuert;
  } faelle[] = {
      {2,
       1,
       1,
       true,
       {{1, 1, 327, 208, 8, 0, 0, 40, 0}, {1, 1, 327, 208, 7, 2, 0, 20, 0}, {1, 1, 327, 208, 7, -2, 0, 20, 0}},
       13,
       false},
      {2, 3, 2, false, faecher({{-7, 2}, {-7.5, 1}, {-6, 3}, {-6.5, 4.5}, {-5, 4}, {-4, 5}}), 13, false},
      {4, 2, 1, true, {{1, 4, 327, 208, 10, 0, 2, 40, 0}}, 14, true},
      {5, 3, 2, false, {{1, 5, 300, 199, -5, 0, 4, 80, 0}}, 28, false},
      {2, 0, 1, true, {}, 0, false},  // level 0
      {kWaechter, 3, 1, true, {}, 0, false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << "weapon " << f.waffe << " level " << f.stufe << " m " << f.m);
    Bereit(f.waffe, f.stufe, f.rechts);
    bool gefeuert = false;
    PodWaffen(0, f.m, gefeuert);
    EXPECT_EQ(Geschosse(), f.schuesse);
    EXPECT_EQ(Pods[0].Abklingzeit, f.abklingzeit);
    EXPECT_EQ(gefeuert, f.gefeuert);
  }

  // The stream and the scatter guns draw one number a shot, in order.
  for (int32_t waffe : {3, 7}) {
    Bereit(waffe, 3, false);
    SetRndState(17);
    const float r1 = Rnd(), r2 = Rnd();
    const std::vector<G> erwartet =
        waffe == 3 ? std::vector<G>{{1, 3, 300, 215, -7, 2 * r1 - 1, 8, 18, 0}}
                   : std::vector<G>{
                         {1, 1, 300, 208, -8 * SinusB(CLng(170 * r1 + 5)), 8 * CosinusB(CLng(170 * r1 + 5)), 0, 80, 0},
                         {1, 1, 300, 208, -8 * SinusB(CLng(170 * r2 + 5)), 8 * CosinusB(CLng(170 * r2 + 5)), 0, 80, 0}};
    SetRndState(17);
    bool gefeuert = false;
    PodWaffen(0, 2, gefeuert);
    EXPECT_EQ(Geschosse(), erwartet);
    EXPECT_EQ(Pods[0].Abklingzeit, waffe == 3 ? 3 : 1);
  }
}

TEST_F(PodWeaponTest, WhileFireIsHeldAPodFiresEveryHalfItsCooldown) {
  const std::vector<int> jeder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const std::vector<int> zweiter = {0, 2, 4, 6, 8, 10, 12, 14};
  struct Fall {
    int32_t waffe, stufe, m;
    std::vector<int> takte;
  } faelle[] = {{2, 1, 1, {0, 7, 14}}, {3, 1, 1, zweiter}, {4, 1, 1, {0, 7, 14}}, {5, 1, 1, {0, 15}},
                {5, 1, 2, {0, 14}},    {6, 3, 1, zweiter}, {6, 3, 2, jeder},      {7, 1, 1, {0, 3, 6, 9, 12, 15}},
                {1, 1, 1, jeder},      {2, 0, 1, {}}};
  for (const Fall& f : faelle) {
    Bereit(f.waffe, f.stufe, true);
    Beam[0].Powermodus = VBBool(f.m == 2);
    EXPECT_EQ(Feuertakte(16), f.takte) << "weapon " << f.waffe << " level " << f.stufe << " m " << f.m;
  }

  // Released, the cooldown runs on below 0: the pod fires at once when fire comes back.
  Bereit(2, 1, true);
  Feuertakte(1);
  shiptest::ReleaseAll();
  for (int i = 0; i < 40; ++i) SpielPartikel();
  EXPECT_EQ(Pods[0].Abklingzeit, 12 - 40);
  EXPECT_EQ(Feuertakte(1), std::vector<int>{0});
  // A turning pod holds fire.
  for (float winkel : {4.0f, 90.0f, 179.5f}) {
    Bereit(2, 1, true);
    Pods[0].Drehwinkel = winkel;
    EXPECT_TRUE(Feuertakte(3).empty()) << winkel;
  }
  // Pods facing opposite ways fire their own ways in one tick, owned or not.
  Bereit(4, 1, true);
  Ausstatten(1, 4, 1, false);
  Pods[1].X = 100;
  Pods[1].Y = 300;
  Pods[1].Drehwinkel = 180;
  bool gefeuert = false;
  PodWaffen(0, 1, gefeuert);
  EXPECT_EQ(Geschosse(),
            (std::vector<Geschoss>{{1, 4, 327, 208, 10, 0, 1, 25, 0}, {1, 4, 100, 308, -10, 0, 1, 25, 0}}));
}

TEST_F(PodWeaponTest, TheLaserStrikesTheFirstPartBeforeAnObstacleOrLightsTheRow) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  const auto leuchtet = [](int x) {  // near the row: the bolt's joints scatter
    for (int y = 185; y <= 245; ++y)
      if (testsupport::BackBufferPixel(x, y) != 0) return true;
    return false;
  };
  struct Fall {
    const char* name;
    bool rechts;
    int32_t podX, stufe, m;
    float felsX, feindX, feindY;   // felsX -1: no rock
    float hp;                      // the enemy's after the tick
    int32_t funken, hell, dunkel;  // a column the bolts reach and one they do not
  } faelle[] = {
      {"nothing in the way", true, 300, 2, 1, -1, 400, 300, 1000, 0, 790, 320},
      {"nothing in the way, back", false, 300, 2, 1, -1, 100, 300, 1000, 0, 5, 330},
      {"an enemy on the row", true, 300, 2, 1, 500, 400, 200, 986, 2, 370, 450},
      {"in power mode", true, 300, 3, 2, 500, 400, 200, 962, 2, 370, 450},
      {"an enemy behind a rock", true, 300, 2, 1, 500, 540, 200, 1000, 2, 450, 600},
      {"an enemy on the row, back", false, 300, 1, 1, 90, 150, 200, 991, 2, 250, 120},
      // Ahead of the ship facing back: a negative segment count, one straight bolt.
      {"an enemy far ahead of the ship", false, 700, 1, 1, -1, 600, 200, 991, 2, 660, 560},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Bereit(1, f.stufe, f.rechts, f.podX);
    Rendern = true;
    TexBalken = shiptest::Picture(16, 8, [](int, int) { return 0xFFFFFFFFu; });
    const int32_t block = shiptest::BlockSprite(32, 32);
    BackBuffer->BltColorFill(nullptr, 0);
    if (f.felsX >= 0) shiptest::Rock(0, block, f.felsX, 200);
    shiptest::Enemy(0, block, f.feindX, f.feindY, 1000);
    bool gefeuert = false;
    RenderStart();
    PodWaffen(0, f.m, gefeuert);
    RenderEnd();
    EXPECT_TRUE(Feuer.PodLaser);
    EXPECT_EQ(Pods[0].Abklingzeit, 0);
    EXPECT_EQ(GegnerListe[0].Typ.Komponenten[0].HP, f.hp);
    EXPECT_EQ(Funken(), f.funken);
    EXPECT_TRUE(leuchtet(f.hell));
    EXPECT_FALSE(leuchtet(f.dunkel));
  }
  TexBalken = -1;
  testsupport::CloseDisplay();
}

// 600 ticks under a script of keys with every pod weapon, guard pods last: each shot made,
// each pod's place and the random sequence after each tick go into one digest, which
// changes when anything draws its random numbers in another order.
TEST_F(PodWeaponTest, ASeededRunKeepsItsShots) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  Start();
  TexBalken = shiptest::Picture(16, 8, [](int, int) { return 0xFFFFFFFFu; });
  Rendern = true;
  const int32_t block = shiptest::BlockSprite(32, 32);
  shiptest::Rock(0, block, 520, 150);
  shiptest::Enemy(0, block, 420, 160, 1e9f);
  Spieler[0].Waffenstufe = 1;
  Flieg(200, 150);
  const int32_t ausstattung[2][4][2] = {{{2, 3}, {1, 2}, {6, 3}, {3, 2}}, {{4, 2}, {5, 1}, {7, 1}, {kWaechter, 0}}};

  uint64_t digest = 1469598103934665603ull;
  const auto mischen = [&](const void* p, size_t n) {
    for (size_t i = 0; i < n; ++i) digest = (digest ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
  };
  std::array<int32_t, 6> arten{};  // shots of kinds 0..5
  int32_t laser = 0;
  for (int t = 0; t < 600; ++t) {
    if (t % 300 == 0)
      for (int32_t j = 0; j < 4; ++j) Ausstatten(j, ausstattung[t / 300][j][0], ausstattung[t / 300][j][1]);
    Beam[0].Powermodus = VBBool(t >= 350 && t < 450);
    Hold(0, AktionSchießen, (t / 40) % 3 != 2);
    Hold(0, AktionDrehen, (t >= 100 && t < 103) || (t >= 170 && t < 172) || (t >= 320 && t < 322));
    Hold(0, AktionPartikelWechsel, t >= 50 && t < 53);
    Hold(0, AktionHoch, t >= 130 && t < 160);
    Hold(0, AktionRunter, t >= 200 && t < 260);
    Hold(0, AktionRechts, t >= 400 && t < 430);
    Hold(0, AktionLinks, t >= 430 && t < 470);
    RenderStart();
    SpielKeysVesk();
    SpielPartikelMove();
    SpielSchieß();
    for (const Geschoss& g : Geschosse()) {
      mischen(&g, sizeof g);
      if (g.art >= 0 && g.art < 6) ++arten[static_cast<size_t>(g.art)];
    }
    laser += Feuer.PodLaser;
    Schuesse[0].Reset();
    Schuesse[1].Reset();
    SpielPartikel();
    RenderEnd();
    Partikel[0].Reset();
    Partikel[1].Reset();
    for (const PodDaten& d : Pods) mischen(&d, 4 * sizeof(int32_t));  // cooldown, level, x, y
    const uint32_t zustand = RndState();
    mischen(&zustand, sizeof zustand);
  }
  EXPECT_EQ(arten, (std::array<int32_t, 6>{70, 461, 0, 83, 26, 14}));
  EXPECT_EQ(laser, 166);
  EXPECT_EQ(digest, 1950341830730085499u);
  TexBalken = -1;
  testsupport::CloseDisplay();
}

TEST_F(PodTest, PlainArmedAndGuardPodsAroundAShip) {
  testsupport::OpenDisplay(platform::PixelFormat::XRGB8888);
  // 0..5 the armed pod, barrel right, a notch turning with the frame; 11 plain, 13 guard.
  for (int32_t n = 0; n <= 13; ++n)
    TexPartikel[n] = shiptest::Picture(32, 32, [n](int x, int y) -> uint32_t {
      const float dx = static_cast<float>(x) - 15.5f, dy = static_cast<float>(y) - 15.5f, r = std::hypot(dx, dy);
      if (n <= 5) {
        const float a = std::atan2(dy, dx) * 57.29578f + 180.0f;
        if (x >= 16 && std::abs(dy) < 2.5f) return 0xFFF0F0F0u;
        if (r < 11 && r > 6 && std::abs(a - 60.0f * static_cast<float>(n) - 30.0f) < 12) return 0xFF402000u;
        return r < 11 ? 0xFFE08020u : 0;
      }
      if (n == 13) return r < 15 && (std::abs(dx) < 2 || std::abs(dy) < 2 || (r > 9 && r < 12)) ? 0xFF30D0F0u : 0;
      return r < 9 ? 0xFF909098u - 0x080808u * static_cast<uint32_t>(n - 6) : 0;
    });
  const int32_t schiff = shiptest::Picture(64, 64, [](int x, int y) -> uint32_t {
    return x >= 8 && x <= 56 && std::abs(y - 36) <= (56 - x) / 3 ? 0xFF3070E0u : 0;
  });
  struct Szene {
    float y;
    int32_t waffe[4];
    int frames;
  } szenen[] = {
      {40, {kOhne, kOhne, kOhne, kOhne}, 60}, {210, {2, 4, 1, 6}, 60}, {380, {kOhne, kOhne, kWaechter, kWaechter}, 66}};
  BackBuffer->BltColorFill(nullptr, 0);
  for (const Szene& s : szenen) {
    Rendern = false;
    Flieg(100, s.y);
    for (int32_t j = 0; j < 4; ++j) {
      Ausstatten(j, s.waffe[j]);
      Pods[j].Drehwinkel = Pods[j].Drehschritt = 0;
      Pods[j].Bild = 11;
    }
    Frames(s.frames);
    const bool bewaffnet = s.waffe[0] > 0;
    if (bewaffnet) {
      Druecken(AktionDrehen);
      Frames(9);  // turned 40 of 180
    }
    Pods[1].Hervorhebung = bewaffnet ? 0 : 21;  // selected, fading from green
    Rendern = true;
    RenderStart();
    SetUpXY(schiff, Spieler[0].X, Spieler[0].Y);
    Render(schiff, false);
    SpielPartikel();
    RenderEnd();
  }
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/player/golden/pods_32.bmp", *BackBuffer, {40, 0, 300, 540}), "");
  for (int32_t& t : TexPartikel) t = -1;
  testsupport::CloseDisplay();
}
