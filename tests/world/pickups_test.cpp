// Pick-ups: which ship takes which kind with one and two players, the power-ups' effects,
// where pod weapons and guard pods go with the automatic arrangement, the sixteen slots,
// the drift, and a row of them drawn.
#include "world/pickups.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>
#include <vector>

#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pictures_state.hpp"
#include "world/upcalls.hpp"

using worlddraw::Pixel;

namespace {

// The points credited: (points, x, y, rise, player).
std::vector<std::tuple<int32_t, float, float, float, int32_t>> gPunkte;
std::vector<int32_t> gNext;  // the players whose next pod was selected

// The players credited, in order.
std::vector<int32_t> Gutschriften() {
  std::vector<int32_t> p;
  for (const auto& g : gPunkte) p.push_back(std::get<4>(g));
  return p;
}

class Pickups : public worlddraw::LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    Neu();
  }
  void TearDown() override {
    TexExtra.fill(-1);
    TexPow.fill(-1);
    TexBlur = -1;
    LayerTest::TearDown();
  }
  // A fresh state: two ships of type 0 away from the pick-ups, no sound, and every
  // picture white at half strength, so two draws over one another show brighter.
  static void Neu() {
    testsupport::FreshState();
    SoundAn = false;
    gPunkte.clear();
    gNext.clear();
    upcall::AddPunkte = [](int32_t n, float x, float y, float sy, int32_t p) { gPunkte.emplace_back(n, x, y, sy, p); };
    upcall::NextPartikel = [](int32_t p) { gNext.push_back(p); };
    const int32_t halb = worlddraw::Solid(64, 64, 0xFFFFFFFF, true);
    SetUpColor(halb, 1, 1, 1, 0.5f);
    TexExtra.fill(halb);
    TexPow.fill(halb);
    for (int p = 0; p < 2; ++p) {
      Schiff[p].BoxLinks = Schiff[p].BoxOben = 16;
      Schiff[p].BoxRechts = Schiff[p].BoxUnten = 48;
      Platz(p, false);
    }
  }
  // Ship p over the pick-up at (100, 100), or well away from it.
  static void Platz(int p, bool dran) {
    Spieler[p].X = dran ? 100.0f : 500.0f;
    Spieler[p].Y = dran ? 100.0f : 100.0f + 200.0f * p;
  }
  static void Neu(int32_t art, float p1, float p2 = 0, float x = 100, float mx = 0) {
    float my = 0;
    AddSpezialObjekt(art, x, 100, mx, my, p1, p2);
  }
  // One tick, drawn; how often the pick-up at (100, 100) was drawn.
  static int Tick() {
    BackBuffer->BltColorFill(nullptr, 0);
    RenderStart();
    SpielMoveSpezialObjekt();
    RenderEnd();
    const uint32_t g = Pixel(132, 132) & 0xFF;
    return g == 0 ? 0 : g < 0xA0 ? 1 : 2;
  }
};

}  // namespace

TEST_F(Pickups, WhichShipTakesWhichKind) {
  struct Fall {
    const char* name;
    int32_t letzter, typ0, typ1, art;
    float p1;
    int dran, tot;  // bit p: ship p touches it, is dead
    bool angelegt;
    std::vector<int32_t> punkte;
    int bilder;
  } faelle[] = {
      {"one pod ship takes a pod weapon", 0, 0, 0, 0, 2, 1, 0, true, {0}, 0},
      {"one pod ship is offered no satellite", 0, 0, 0, 4, 0, 1, 0, false, {}, 0},
      {"one satellite ship is offered no pod weapon", 0, 1, 0, 0, 0, 1, 0, false, {}, 0},
      {"one satellite ship is offered no new pod", 0, 1, 0, 3, 0, 1, 0, false, {}, 0},
      {"one satellite ship takes speed", 0, 1, 0, 3, 2, 1, 0, true, {0}, 0},
      {"one satellite ship takes a satellite", 0, 1, 0, 4, 1, 1, 0, true, {0}, 0},
      {"the drone ship flies through a pod weapon", 0, 2, 0, 0, 0, 1, 0, true, {}, 1},
      {"the drone ship cannot use a new pod: not drawn", 0, 2, 0, 3, 0, 1, 0, true, {}, 0},
      {"a dead ship takes nothing", 0, 0, 0, 0, 0, 1, 1, true, {}, 1},
      {"power-up 12 does nothing and hides while touched", 0, 0, 0, 3, 12, 1, 0, true, {}, 0},
      {"power-up 12 out of reach shows", 0, 0, 0, 3, 12, 0, 0, true, {}, 1},
      {"a guard pod for a ship without selected pod hides", 0, 0, 0, 3, 1, 1, 0, true, {}, 0},
      {"the satellite ship over a pod weapon: drawn for each ship", 1, 0, 1, 0, 0, 2, 0, true, {}, 2},
      {"taken by one ship, drawn by the other's visit", 1, 0, 1, 0, 0, 1, 0, true, {0}, 1},
      {"both ships share one power-up", 1, 0, 1, 3, 5, 3, 0, true, {0, 1}, 0},
      {"a satellite only for the satellite ship", 1, 0, 1, 4, 0, 3, 0, true, {1}, 1},
      {"a new pod: the satellite ship passes unseen", 1, 0, 1, 3, 0, 3, 0, true, {0}, 0},
      {"two players: the dead second ship draws it", 1, 0, 0, 3, 5, 3, 2, true, {0}, 1},
      {"kind 1 never moves, shows or is taken", 0, 0, 0, 1, 0, 1, 0, true, {}, 0},
  };
  for (const Fall& f : faelle) {
    Neu();
    LetzterSpieler = f.letzter;
    Schiff[0].Typ = f.typ0;
    Schiff[1].Typ = f.typ1;
    Spieler[0].Pod = f.art == 3 && f.p1 == 1 ? -1 : 0;
    for (int p = 0; p < 2; ++p) {
      Platz(p, (f.dran >> p) & 1);
      Spieler[p].Tod = (f.tot >> p) & 1;
    }
    Neu(f.art, f.p1);
    EXPECT_EQ(SpezialObjekte.Max, f.angelegt ? 0 : -1) << f.name;
    EXPECT_EQ(Tick(), f.bilder) << f.name;
    EXPECT_EQ(Gutschriften(), f.punkte) << f.name;
    EXPECT_EQ(SpezialObjekte[0].Aktiv, VBBool(f.angelegt && f.punkte.empty())) << f.name;
  }
}

TEST_F(Pickups, PowerUpsAndSatellites) {
  using Werte = std::tuple<float, int32_t, float, int32_t, int32_t, int32_t, int32_t, int32_t>;
  auto werte = [](int p) {
    const SpielerDaten& s = Spieler[p];
    return Werte{s.Speed, s.Waffenstufe, s.Energie, s.Schild, s.Zweitwaffe, s.ZweitAbklingzeit,
                 Spieler[1 - p].Waffenstufe, Satellit.Da};
  };
  struct Fall {
    int32_t art;
    float p1;
    Werte danach;  // of the taker, player 1, whose partner starts at gun level 3
  } faelle[] = {
      {3, 2, {7, 1, 100, 100, 0, 9, 3, 0}},   {3, 3, {5, 1, 100, 100, 0, 9, 3, 0}},
      {3, 4, {6, 2, 100, 100, 0, 9, 3, 0}},   {3, 5, {6, 1, 150, 100, 0, 9, 3, 0}},
      {3, 6, {6, 1, 100, 200, 0, 9, 3, 0}},   {3, 7, {6, 1, 100, 100, 1, 0, 3, 0}},
      {3, 8, {6, 1, 100, 100, 2, 0, 3, 0}},   {3, 9, {6, 1, 100, 100, 3, 0, 3, 0}},
      {3, 2.5f, {6, 1, 100, 100, 0, 9, 3, 0}}, {4, 2.5f, {6, 1, 100, 100, 0, 9, 3, -1}},
  };
  for (const Fall& f : faelle) {
    Neu();
    LetzterSpieler = 1;
    Schiff[1].Typ = 1;
    Platz(1, true);
    Spieler[1].ZweitAbklingzeit = 9;
    Spieler[0].Waffenstufe = 3;
    Neu(f.art, f.p1);
    Tick();
    EXPECT_EQ(werte(1), f.danach) << f.art << " " << f.p1;
  }
  // A new satellite homes in from the left; one already there only gains a level, up to 2.
  EXPECT_EQ(std::make_tuple(Satellit.X, Satellit.Y, Satellit.Zustand, Satellit.Stufe, Satellit.Spezialwaffe,
                            Satellit.Abklingzeit),
            std::make_tuple(-64.0f, 100.0f, 5, 0, 2, 1));
  Satellit.Zustand = 1;
  for (int32_t stufe : {1, 2, 2}) {
    Neu(4, 3);
    Tick();
    EXPECT_EQ(std::make_tuple(Satellit.Stufe, Satellit.Zustand, Satellit.Spezialwaffe), std::make_tuple(stufe, 1, 3));
  }
}

TEST_F(Pickups, WherePodWeaponsAndGuardPodsGo) {
  struct Pod {
    bool besitz;
    int32_t waffe, stufe;
  };
  using Satz = std::array<Pod, 4>;
  const Satz neu = {{{true, 0, 0}, {true, 0, 0}, {false, -1, 0}, {false, -1, 0}}};
  const Satz voll = {{{true, 0, 0}, {true, 0, 0}, {true, 0, 0}, {true, 0, 0}}};
  const Satz gemischt = {{{true, 0, 0}, {true, 3, 3}, {true, 5, 1}, {true, 0, 0}}};
  const Satz gleich = {{{true, 0, 0}, {true, 3, 1}, {true, 5, 1}, {true, 3, 2}}};
  const Satz bewaffnet = {{{true, 4, 1}, {true, 3, 3}, {true, 5, 1}, {true, 6, 1}}};
  struct Fall {
    const char* name;
    bool auto_;
    float p1;  // pod weapon p1 + 1; -1 a guard pod
    Satz vorher;
    int32_t pod;  // selected before
    int32_t gewaehlt, waffe, stufe;
  } faelle[] = {
      {"new game: the unarmed pods, 0 before 1", true, 2, neu, 1, 0, 3, 1},
      {"no weapons yet: pod 2", true, 2, voll, 0, 2, 3, 1},
      {"the lowest pod with the weapon below level 3", true, 2, gleich, 0, 1, 3, 2},
      {"a full pod is passed over: 3 before 0", true, 2, gemischt, 1, 3, 3, 1},
      {"nowhere free: the selection stays and is replaced", true, 2, bewaffnet, 2, 2, 3, 1},
      {"by hand: the selected pod, same weapon up a level", false, 2, gleich, 3, 3, 3, 3},
      {"by hand: level 3 stays", false, 2, gemischt, 1, 1, 3, 3},
      {"guard, no weapons: pod 3 over pod 2", true, -1, voll, 1, 3, -1, 0},
      {"guard, no weapons, only 0 and 1 owned: stays", true, -1, neu, 1, 1, -1, 0},
      {"guard among weapons: the lowest unarmed pod", true, -1, gemischt, 2, 0, -1, 0},
      {"guard among weapons: unowned pods count", true, -1, {{{true, 4, 1}, {true, 3, 1}, {false, 0, 0}, {true, 0, 0}}},
       1, 2, -1, 0},
  };
  for (const Fall& f : faelle) {
    Neu();
    AutoAnordnung = f.auto_;
    Platz(0, true);
    for (int j = 0; j < 4; ++j)
      Pods[j] = {.Abklingzeit = 7, .Stufe = f.vorher[j].stufe, .Besitz = VBBool(f.vorher[j].besitz),
                 .Waffe = f.vorher[j].waffe};
    Spieler[0].Pod = f.pod;
    f.p1 < 0 ? Neu(3, 1) : Neu(0, f.p1);
    Tick();
    ASSERT_EQ(Gutschriften(), std::vector<int32_t>{0}) << f.name;
    const PodDaten& d = Pods[f.gewaehlt];
    EXPECT_EQ(std::make_tuple(Spieler[0].Pod, d.Waffe, d.Stufe, d.Abklingzeit),
              std::make_tuple(f.gewaehlt, f.waffe, f.stufe, f.p1 < 0 ? 7 : 0))
        << f.name;
    EXPECT_EQ(gNext.size(), f.auto_ ? 1u : 0u) << f.name;
  }
}

TEST_F(Pickups, NewPodsAndNoSelectedPod) {
  Platz(0, true);
  Spieler[0].X = 101.5f;
  Pods[0].Drehwinkel = 30;
  Pods[0].Drehschritt = 4;
  Pods[2].Besitz = VBTrue;
  Neu(3, 0);
  Tick();
  EXPECT_EQ(std::make_tuple(Pods[3].Besitz, Pods[3].Waffe, Pods[3].X, Pods[3].Y, Pods[3].Drehwinkel,
                            Pods[3].Drehschritt),
            std::make_tuple(VBTrue, 0, 86, 100, 150.0f, -4.0f));
  EXPECT_TRUE(gNext.empty());
  // All four owned: the points alone, and a ship without a selected pod gets one.
  Spieler[0].Pod = -1;
  const auto pods = Pods;
  Neu(3, 0);
  Tick();
  EXPECT_EQ(gNext, std::vector<int32_t>{0});
  // A pod weapon for a ship without a selected pod, or with one a damaged save names.
  for (int32_t pod : {-1, 4}) {
    Spieler[0].Pod = pod;
    Neu(0, 2);
    Tick();
  }
  EXPECT_EQ(Gutschriften(), (std::vector<int32_t>{0, 0, 0, 0}));
  for (int j = 0; j < 4; ++j)
    EXPECT_EQ(std::make_pair(Pods[j].Waffe, Pods[j].Stufe), std::make_pair(pods[j].Waffe, pods[j].Stufe));
}

TEST_F(Pickups, SixteenSlotsDriftAndSpin) {
  Rendern = false;
  Spieler[0].Y = 400;  // out of their way
  for (int i = 0; i < 17; ++i) Neu(3, 5, 0, 800, -2);
  EXPECT_EQ(std::make_pair(SpezialObjekte.Max, SpezialObjekte.Frei), std::make_pair(15, 16));
  KillSpezialObjekt(4);
  Neu(3, 6, 0, 800, -2);
  EXPECT_EQ(std::make_tuple(SpezialObjekte[4].Parameter1, SpezialObjekte.Frei), std::make_tuple(6.0f, 5));
  std::vector<int32_t> frames;
  for (int t = 0; t < 432; ++t) {
    SpielMoveSpezialObjekt();
    if (t < 19) frames.push_back(SpezialObjekte[0].Frame);
  }
  EXPECT_EQ(frames, (std::vector<int32_t>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 0, 0}));
  EXPECT_EQ(std::make_pair(SpezialObjekte[0].X, SpezialObjekte.Max), std::make_pair(-64.0f, 15));
  SpielMoveSpezialObjekt();  // x -66: gone
  EXPECT_EQ(std::make_pair(SpezialObjekte.Max, SpezialObjekte.Frei), std::make_pair(-1, 0));
  // The blur window leaves once its whole width is past the edge, and asks for its copy
  // only on drawn frames.
  Neu(2, 40, 30, -39, -1);
  SpielMoveSpezialObjekt();
  EXPECT_EQ(std::make_pair(SpezialObjekte.Max, BlurKopie), std::make_pair(0, false));
  Rendern = true;
  SpielMoveSpezialObjekt();
  EXPECT_EQ(SpezialObjekte.Max, -1);
}

TEST_F(Pickups, EveryCollectionSoundsAndScores) {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(4000, 100), pcm->channels = 1, pcm->rate = 44100, pcm->blockAlign = 2;
  for (int i = 0; i < 2; ++i) Sounds.emplace_back().Kopien.emplace_back(pcm);
  SndExtra = 0;
  SndSpeed = 1;
  SoundAn = true;
  Platz(0, true);
  for (float p1 : {3.0f, 6.0f}) {
    Neu(3, p1, 0, 100.25f);
    Tick();
  }
  EXPECT_EQ(std::make_pair(Sounds[0].Kopien[0].GetStatus(), Sounds[1].Kopien[0].GetStatus()),
            std::make_pair(DSBSTATUS_PLAYING, DSBSTATUS_PLAYING));
  EXPECT_EQ(gPunkte, (std::vector<std::tuple<int32_t, float, float, float, int32_t>>(2, {1000, 132.25f, 132, -1, 0})));
  Sounds.clear();
}

// A row of pick-ups: two frames of a pod weapon, pod weapons 6 and 7, a power-up, a
// satellite, one whose picture lies past the table (not drawn), and a blur window. Each
// picture tells its table and index by its colour and bars.
TEST_F(Pickups, ARowOfPickUpsMatchesItsReferenceFrame) {
  auto bild = [](uint32_t farbe, int i) {
    return worlddraw::Picture(64, 64, true, true, [=](int x, int y) -> uint32_t {
      const int dx = x - 32, dy = y - 32;
      if (dx * dx + dy * dy > 30 * 30) return 0;
      if (y > 40 && y < 48 && x > 8 && x < 56 && (x - 8) / 4 < i % 12 && (x - 8) % 4 != 3) return 0xFFFFFFFF;
      return dx * dx + dy * dy > 22 * 22 ? farbe : 0xFF202020 + static_cast<uint32_t>(i) * 0x000303;
    });
  };
  for (int i = 0; i < 60; ++i) {
    TexExtra[i] = bild(i % 2 ? 0xFF40A0FF : 0xFFFFA040, i / 2);
    TexPow[i] = bild(0xFF60FF60, i);
  }
  Schiff[0].Typ = 2;  // nothing refused, nothing taken
  TexBlur = worlddraw::Picture(32, 32, true, false,
                               [](int x, int y) { return (x / 8 + y / 8) % 2 ? 0xFF8040C0u : 0xFF204060u; });
  float my = 0;
  const std::array<std::tuple<int32_t, float, float>, 8> reihe = {
      {{0, 0, 0}, {0, 1, 0}, {0, 5, 0}, {0, 6, 0}, {3, 7, 0}, {4, 2, 0}, {0, 30, 0}, {2, 80, 50}}};
  for (size_t i = 0; i < reihe.size(); ++i)
    AddSpezialObjekt(std::get<0>(reihe[i]), 10.0f + 70.0f * i, 20.4f + 2 * i, 0, my, std::get<1>(reihe[i]),
                     std::get<2>(reihe[i]));
  Rendern = false;
  for (int t = 0; t < 3; ++t) SpielMoveSpezialObjekt();  // frame 1 for every pick-up
  Rendern = true;
  Tick();
  EXPECT_EQ(Pixel(10 + 70 * 6 + 32, 20 + 12 + 32), 0u) << "an index past the table draws nothing";
  EXPECT_TRUE(BlurKopie);
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/pickups_row_32.bmp", *BackBuffer, {0, 0, 640, 110}),
            "");
}
