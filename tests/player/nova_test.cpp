// The super nova: who may start one and what it costs, the shared key latch, when each
// kind strikes and ends (and that the ship stands where it started), what the end gives
// back to the enemies, the music and the sounds, and reference frames of two kinds half-way.
#include "player/nova.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "platform/headless/headless.hpp"
#include "player/players.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
#include "player/upcalls.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "ship_support.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/background.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/enemy_support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

using shiptest::Hold;

namespace {

std::vector<int32_t> gMusik;  // every music volume the nova asked for

// An enemy 32 x 32 centred on (cx, cy), worth 100 points.
Gegner& Ziel(int32_t e, float cx, float cy, float hp = 500) {
  Gegner& g = GegnerListe[e];
  g = Gegner{};
  g.Typ = GegnerTyp{.HP = hp, .Width = 32, .Height = 32, .Punkte = 100};
  g.X = cx - 16, g.Y = cy - 16, g.Aktiv = VBTrue;
  GegnerMax = std::max(GegnerMax, e);
  GegnerFrei = GegnerMax + 1;
  return g;
}

// When each watched enemy was first struck, how many blows it took, the nova's last tick
// (the first being tick 1), and whether the ship stood where it started in that tick (the
// strike run flies it away and back).
struct Verlauf {
  std::vector<int> treffer, schlaege;
  int letzter = 0;
  bool daheim = false;
};

// One player (two with `zwei`) of ship type 0 at (100, 200) with pod 0 at (120, 180) and
// the satellite at (300, 200); sound off and nothing drawn unless a test says so.
class SuperNova : public ::testing::Test {
 protected:
  testsupport::TempDataFolder daten;  // a sound the table lacks is logged

  void SetUp() override {
    platform::headless::Reset();
    Start();
  }
  void TearDown() override {
    shiptest::ReleaseAll();
    Rendern = true;
    testsupport::FreshState();
  }
  static void Start(bool zwei = false) {
    testsupport::FreshState();
    FillSinTables();
    LetzterSpieler = zwei ? 1 : 0;
    Rendern = SoundAn = false;
    Schiff = {};
    shiptest::StandardBlock(Schiff[0], 0);
    shiptest::StandardBlock(Schiff[1], 1);
    shiptest::BindKeys();
    VeskReset();
    VeskPosSetup();
    VeskInit(0), VeskInit(1);
    Spieler[0].X = 100, Spieler[0].Y = 200;
    Pods[0].X = 120, Pods[0].Y = 180;
    Satellit.X = 300, Satellit.Y = 200;
    HintergrundModus = 1;
    gMusik.clear();
    upcall::SetOggVolume = [](int32_t v) { gMusik.push_back(v); };
    SetRndState(4711);
  }
  // A nova of kind `art` from pod 0, the key held for its first tick only.
  static Verlauf Lauf(int32_t art, const std::vector<int32_t>& slots, int bis = 20000) {
    Pods[0].Waffe = art;
    Verlauf v{std::vector<int>(slots.size()), std::vector<int>(slots.size())};
    std::vector<float> hp;
    for (int32_t s : slots) hp.push_back(GegnerListe[s].Typ.HP);
    Hold(0, AktionSuperNova);
    for (int t = 1; t <= bis; ++t) {
      SpielNova();
      Hold(0, AktionSuperNova, false);
      for (size_t j = 0; j < slots.size(); ++j) {
        const Gegner& g = GegnerListe[slots[j]];
        const float jetzt = Wahr(g.Aktiv) ? g.Typ.HP : -std::numeric_limits<float>::infinity();
        if (jetzt >= hp[j]) continue;
        if (v.treffer[j] == 0) v.treffer[j] = t;
        ++v.schlaege[j], hp[j] = jetzt;
      }
      if (!WeltAngehalten) {
        v.letzter = t;
        v.daheim = Spieler[0].X == 100 && Spieler[0].Y == 200;
        break;
      }
    }
    return v;
  }
  static bool Wahr(int16_t f) { return f != VBFalse; }
};

}  // namespace

TEST_F(SuperNova, StartsOnlyWhenThePlayerMayAndPays) {
  struct Fall {
    const char* name;
    std::function<void()> vorher;
    bool startet;
  } faelle[] = {
      {"pod 0 selected", [] {}, true},
      {"no pod selected", [] { Spieler[0].Pod = -1; }, false},
      {"a selected pod past the four", [] { Spieler[0].Pod = 7; }, false},
      {"satellite ship with its satellite", [] { Schiff[0].Typ = 1, Satellit.Da = VBTrue; }, true},
      {"satellite ship without it", [] { Schiff[0].Typ = 1, Satellit.Da = VBFalse; }, false},
      {"drone ship, paying nothing", [] { Schiff[0].Typ = 2, Spieler[0].Pod = -1; }, true},
      {"ship destroyed", [] { Spieler[0].Tod = 3; }, false},
      {"key still latched", [] { Nova.NovaTasteGehalten = VBTrue; }, false},
      {"world already frozen", [] { WeltAngehalten = VBTrue; }, false},
      {"first player flying out", [] { Spieler[0].Status = 1; }, false},
      {"a boss going down", [] { Ziel(5, 400, 300).Stirbt = VBTrue, GegnerListe[5].TodArt = 4; }, false},
  };
  for (const Fall& f : faelle) {
    Start();
    Pods[0].Waffe = 3;
    f.vorher();
    const bool warFrei = !WeltAngehalten;
    GegnerSchuesse.Claim(), GegnerSchuesse.Claim();
    Hold(0, AktionSuperNova);
    SpielNova();
    EXPECT_EQ(warFrei && WeltAngehalten, f.startet) << f.name;
    EXPECT_EQ(GegnerSchuesse.Max, f.startet ? -1 : 1) << f.name;
    if (!f.startet) continue;
    EXPECT_LE(HintergrundModus, 0) << f.name;  // what the kind shows meanwhile
    EXPECT_EQ(Nova.NovaAltWert, 1) << f.name;
    EXPECT_EQ(Nova.NovaX, 100) << f.name;
  }
  // What each ship type pays, and the kind that follows from it.
  Start();
  Pods[0].Waffe = 3;
  Hold(0, AktionSuperNova);
  SpielNova();
  EXPECT_EQ(Nova.NovaArt, 3);
  EXPECT_EQ(Nova.NovaPod, 0);
  EXPECT_FALSE(Wahr(Pods[0].Besitz));
  EXPECT_EQ(Spieler[0].Pod, 1);  // the next pod is selected
  Start();
  Schiff[0].Typ = 1, Satellit.Da = VBTrue;
  Hold(0, AktionSuperNova);
  SpielNova();
  EXPECT_FALSE(Wahr(Satellit.Da));
  EXPECT_EQ(Nova.NovaPod, -1);
  EXPECT_GE(Nova.NovaArt, 6);
  EXPECT_LE(Nova.NovaArt, 8);
}

TEST_F(SuperNova, TheDroneShipRepeatsThePassesLastNova) {
  Nova.NovaArt = 4;
  Schiff[0].Typ = 2;
  Hold(0, AktionSuperNova);
  SpielNova();
  EXPECT_EQ(Nova.NovaArt, 4);
  ResetNova();  // a new pass
  EXPECT_EQ(Nova.NovaArt, 0);
}

// The drone ship spends no pod: a kind that sets out from the spent pod sets out from the
// ship, not from pod 0's old place beside the other start.
TEST_F(SuperNova, WithNoPodSpentTheNovaSetsOutFromTheShip) {
  struct Fall {
    const char* name;
    int32_t typ, art;
    float x, y;  // where the pod flash's ring opens
  } faelle[] = {
      {"pod ship, at the pod it spends", 0, 0, 80, 325},
      {"drone ship, guard pod kind", 2, -1, 370, 100},
      {"drone ship, shock wave", 2, 0, 370, 100},
      {"drone ship, lightning", 2, 1, 370, 100},
      {"drone ship, fire trails", 2, 2, 370, 100},
      {"drone ship, one after another", 2, 3, 370, 100},
      {"drone ship, tearing", 2, 4, 370, 100},
      {"drone ship, homing shots", 2, 5, 370, 100},
  };
  for (const Fall& f : faelle) {
    Start();
    Spieler[0].X = 370, Spieler[0].Y = 100;
    Pods[0].X = 80, Pods[0].Y = 325, Pods[0].Waffe = f.art;
    Schiff[0].Typ = f.typ;
    Nova.NovaPod = 0;  // what an earlier nova of the pass left
    Nova.NovaArt = f.art;
    Hold(0, AktionSuperNova);
    SpielNova();
    ASSERT_TRUE(WeltAngehalten) << f.name;
    const auto made = BigPartikel.Slots().first(static_cast<size_t>(BigPartikel.Max + 1));
    const auto ring = std::find_if(made.begin(), made.end(),
                                   [](const BigPartikelDaten& p) { return p.Art == 2 && p.Durchmesser == 32; });
    ASSERT_NE(ring, made.end()) << f.name;
    EXPECT_EQ(ring->x, f.x) << f.name;
    EXPECT_EQ(ring->y, f.y) << f.name;
  }
  // The shock wave's delays count from the ship's centre: 80 pixels away, 80 \ 4 + 10.
  Start();
  Spieler[0].X = 370, Spieler[0].Y = 100;
  Pods[0].X = 80, Pods[0].Y = 325;
  Schiff[0].Typ = 2;
  Ziel(0, 466, 116);
  const Verlauf v = Lauf(0, {0});
  EXPECT_EQ(v.treffer, std::vector<int>{30});
}

// Held down, the key starts one nova; another needs a release, or, with two players, the
// other player's key being up, which clears the shared latch in the same tick.
TEST_F(SuperNova, TheKeyLatchIsSharedByBothPlayers) {
  struct Fall {
    const char* name;
    bool zwei, loslassen;
    int novae;
  } faelle[] = {{"one player holding", false, false, 1},
                {"one player pressing again", false, true, 2},
                {"two players, the second not holding", true, false, 2}};
  for (const Fall& f : faelle) {
    Start(f.zwei);
    Pods[1].Besitz = VBTrue;  // a second pod to spend
    Hold(f.zwei ? 1 : 0, AktionSuperNova);
    int novae = 0;
    for (int t = 0; t < 400; ++t) {
      const bool vorher = WeltAngehalten;
      if (f.loslassen && !WeltAngehalten) Hold(f.zwei ? 1 : 0, AktionSuperNova, t % 2 == 0);
      SpielNova();
      novae += !vorher && WeltAngehalten;
    }
    EXPECT_EQ(novae, f.novae) << f.name;
  }
}

TEST_F(SuperNova, EachKindStrikesAndEndsOnItsTick) {
  // Centres (300, 400) and (600, 100); the pod's centre is (136, 196).
  struct Fall {
    const char* name;
    int32_t art;
    std::vector<int32_t> slots;
    std::vector<int> treffer, schlaege;
    int letzter;
  } faelle[] = {
      {"guard pod", -1, {0, 3}, {35, 35}, {1, 1}, 71},
      {"guard pod, nothing there", -1, {}, {}, {}, 55},
      {"shock wave", 0, {0, 3}, {75, 128}, {1, 1}, 139},
      {"shock wave, nothing there", 0, {}, {}, {}, 101},
      {"lightning", 1, {0, 3}, {165, 165}, {1, 1}, 201},
      {"fire trails", 2, {0, 3}, {192, 192}, {1, 1}, 228},
      {"one after another", 3, {0, 3}, {50, 55}, {1, 1}, 106},
      {"one after another, nothing there", 3, {}, {}, {}, 51},
      {"tearing", 4, {0, 3}, {165, 165}, {1, 1}, 201},
      {"satellite hunt", 6, {0, 3}, {15, 30}, {1, 1}, 70},
      {"satellite hunt, nothing there", 6, {}, {}, {}, 31},
      {"black hole", 7, {0, 3}, {181, 181}, {1, 1}, 251},
      {"strike run", 8, {0, 3}, {13, 25}, {1, 1}, 49},
      {"strike run, nothing there", 8, {}, {}, {}, 31},
      {"homing shots", 5, {0, 3}, {68, 88}, {1, 1}, 138},
      {"homing shots, kind 9", 9, {0, 3}, {68, 88}, {1, 1}, 138},
      {"homing shots, nothing there", 5, {}, {}, {}, 51},
  };
  for (const Fall& f : faelle) {
    Start();
    if (!f.slots.empty()) Ziel(0, 300, 400), Ziel(3, 600, 100);
    const Verlauf v = Lauf(f.art, f.slots);
    EXPECT_EQ(v.treffer, f.treffer) << f.name;
    EXPECT_EQ(v.schlaege, f.schlaege) << f.name;
    EXPECT_EQ(v.letzter, f.letzter) << f.name;
    EXPECT_TRUE(v.daheim) << f.name;
  }
}

TEST_F(SuperNova, EdgeTargets) {
  struct Fall {
    const char* name;
    int32_t art;
    float cx, cy, hp;
    int treffer, schlaege, letzter;
  } faelle[] = {
      {"the one homing target", 5, 300, 400, 500, 68, 1, 118},
      {"a homing target in the corner still flies a tick", 5, 2, 2, 500, 7, 1, 57},
      {"a strong target struck on every step of its sweep", 8, 80, 300, 200000, 11, 9, 40},
      {"a target right of the sweep's end", 8, 936, 300, 500, 0, 0, 40},
      {"a strong target under the blow survives it", 4, 300, 300, 20000, 165, 1, 201},
  };
  for (const Fall& f : faelle) {
    Start();
    Ziel(0, f.cx, f.cy, f.hp);
    const Verlauf v = Lauf(f.art, {0});
    EXPECT_EQ(v.treffer, std::vector<int>{f.treffer}) << f.name;
    EXPECT_EQ(v.schlaege, std::vector<int>{f.schlaege}) << f.name;
    EXPECT_EQ(v.letzter, f.letzter) << f.name;
    EXPECT_TRUE(v.daheim) << f.name;
  }
}

// A destroyed enemy of the later kinds finishes its death; a survivor, one the nova may
// not touch and one that was dying already come back as they were.
TEST_F(SuperNova, TheEndReleasesOnlyItsOwnMarks) {
  struct Fall {
    int32_t art, tod;  // the death a destroyed target plays; 0: it is gone
  } faelle[] = {{6, 1}, {8, 1}, {9, 2}, {4, 0}};
  for (const Fall& f : faelle) {
    Start();
    Ziel(0, 300, 400);
    Ziel(1, 850, 300, 50000);
    Ziel(2, 500, 200).Typ.Parameter[6] = 1;
    Gegner& sterbend = Ziel(3, 200, 200);
    sterbend.Stirbt = VBTrue, sterbend.TodArt = 3, sterbend.TodZeit = 7;
    Pods[0].Waffe = f.art;
    Hold(0, AktionSuperNova);
    SpielNova();
    Hold(0, AktionSuperNova, false);
    const int32_t marken[] = {GegnerListe[0].TodArt, GegnerListe[1].TodArt, GegnerListe[2].TodArt,
                              GegnerListe[3].TodArt};
    EXPECT_EQ(std::vector<int32_t>(std::begin(marken), std::end(marken)), (std::vector<int32_t>{0, 0, -1, -1}));
    while (WeltAngehalten) SpielNova();
    const Gegner &zerstoert = GegnerListe[0], &stark = GegnerListe[1], &immun = GegnerListe[2];
    EXPECT_EQ(Wahr(zerstoert.Aktiv), f.tod != 0) << f.art;
    EXPECT_TRUE(f.tod == 0 || (Wahr(zerstoert.Stirbt) && zerstoert.TodArt == f.tod)) << f.art;
    EXPECT_TRUE(!Wahr(stark.Stirbt) && stark.TodArt == 0 && stark.Typ.HP == 40000) << f.art;
    EXPECT_TRUE(!Wahr(immun.Stirbt) && immun.TodArt == 0 && immun.Typ.HP == 500) << f.art;
    EXPECT_TRUE(Wahr(sterbend.Stirbt) && sterbend.TodArt == 3 && sterbend.TodZeit == 7) << f.art;
    EXPECT_EQ(sterbend.Typ.HP, 500) << f.art;
    EXPECT_EQ(Spieler[0].Punkte, 100) << f.art;  // the one destroyed target
  }
}

// What one nova kept of a dying enemy is not handed to an enemy placed in that slot
// while a later nova runs.
TEST_F(SuperNova, AnEnemyPlacedMeanwhileKeepsItsOwnState) {
  Pods[1].Besitz = VBTrue;
  Ziel(0, 300, 400);
  Gegner& sterbend = Ziel(6, 200, 200);
  sterbend.Stirbt = VBTrue, sterbend.TodArt = 3;
  Lauf(4, {});
  ASSERT_TRUE(Wahr(GegnerListe[6].Stirbt));
  GegnerListe[6] = Gegner{};  // its wreck is gone
  GegnerMax = 0;
  Pods[1].Waffe = 4;
  Hold(0, AktionSuperNova);
  SpielNova();
  Hold(0, AktionSuperNova, false);
  Ziel(6, 500, 300, 50000);  // placed while the world stands still; it outlasts the blow
  while (WeltAngehalten) SpielNova();
  EXPECT_TRUE(Wahr(GegnerListe[6].Aktiv));
  EXPECT_FALSE(Wahr(GegnerListe[6].Stirbt));
  EXPECT_EQ(GegnerListe[6].TodArt, 0);
}

TEST_F(SuperNova, TheEndGivesBackBackgroundMusicAndChargeVolumes) {
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(400, 0), pcm->channels = 1, pcm->rate = 22050, pcm->blockAlign = 2;
  for (int32_t& nr : SndCharge) {
    Sounds.emplace_back().Kopien.emplace_back(pcm);
    Sounds.back().Kopien.emplace_back(pcm);
    nr = SoundsMax();
    for (auto& kopie : Sounds.back().Kopien) kopie.SetVolume(-4000);
  }
  SoundAn = true;
  MusikLautstaerke = 73;
  HintergrundModus = 5;
  WasserKlangLaeuft = true;
  Lauf(3, {});  // kind 3 turns the background to -1 meanwhile
  EXPECT_FALSE(WasserKlangLaeuft);  // the splash went off with the game sounds
  EXPECT_EQ(gMusik, (std::vector<int32_t>{7, 73}));
  EXPECT_EQ(HintergrundModus, 5);
  EXPECT_FALSE(Overlay1);
  for (int32_t nr : SndCharge)
    for (auto& kopie : Sounds[nr].Kopien) EXPECT_EQ(kopie.GetVolume(), SoundLautstaerke);
  SndCharge = {-1, -1};
}

// Undrawn, the black hole neither jolts the screen nor switches an overlay; at 70 it still
// clears every effect particle and strikes.
TEST_F(SuperNova, TheBlackHoleUndrawnStillWipesAndStrikes) {
  Ziel(0, 300, 300);
  Pods[0].Waffe = 7;
  Hold(0, AktionSuperNova);
  for (int t = 1; t <= 181; ++t) {
    if (t == 180) BigPartikel[3000] = BigPartikelDaten{.Dead = 99, .DeadMax = 99, .Aktiv = VBTrue, .Art = 1};
    SpielNova();
    if (t < 181) {
      ASSERT_EQ(Erschuetterung, 0) << t;
    }
  }
  EXPECT_EQ(Erschuetterung, 5);
  EXPECT_FALSE(Overlay1 || Overlay2);
  EXPECT_FALSE(Wahr(BigPartikel[3000].Aktiv));
  EXPECT_FALSE(Wahr(GegnerListe[0].Aktiv));
}

// ---- Reference frames ------------------------------------------------------------------

namespace {

uint32_t Grau(float v) {
  const auto g = static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f);
  return 0xFF000000u | g << 16 | g << 8 | g;
}

// The pictures a nova and its particles draw with, and three enemies to freeze.
void Bilder() {
  TexKreis2 = worlddraw::Picture(64, 64, true, true, [](int x, int y) {
    const float r = std::hypot(x - 31.5f, y - 31.5f) / 32;
    return Grau(r >= 1 ? 0 : 1 - r * r);
  });
  TexBalken = worlddraw::Picture(16, 8, true, true, [](int, int y) { return Grau(1 - std::abs(2 * y - 7) / 8.0f); });
  TexWeiss = worlddraw::Solid(4, 4, 0xFFFFFFFF, true);
  TexWave = worlddraw::Picture(32, 32, true, true, [](int x, int y) {
    return std::abs(std::hypot(x - 15.5f, y - 15.5f) - 13) < 2 ? 0xFFFFFFFFu : 0u;
  });
  TexStrich = worlddraw::Picture(32, 8, true, true, [](int x, int) { return Grau(x / 32.0f); });
  auto wolke = [](uint32_t farbe) {
    return worlddraw::Picture(16, 16, true, true,
                              [farbe](int x, int y) { return std::hypot(x - 7.5f, y - 7.5f) < 7 ? farbe : 0u; });
  };
  for (int32_t& t : TexFeuer) t = wolke(0xFFC06020u);
  for (int32_t& t : TexRauch) t = wolke(0xFF606060u);
  const int32_t rumpf = enemytest::Sprite(worlddraw::Picture(32, 32, false, true, [](int x, int y) {
    return std::abs(x - 16) + std::abs(y - 16) < 15 ? 0xFF30A050u + 0x0400u * static_cast<uint32_t>(y) : 0u;
  }));
  for (int32_t e = 0; e < 3; ++e) {
    Gegner& g = enemytest::Feind(e, 150.0f + 220 * e, 120.0f + 130 * e, {enemytest::Teil(rumpf)});
    g.Typ.Width = g.Typ.Height = 32;
  }
  GegnerListe[2].Typ.HP = 50000;
}

// Ticks of a nova of kind `art`, each drawn whole: the background, the enemies, the nova
// and the effect particles.
void Zeichnen(int32_t art, int ticks) {
  Pods[0].Waffe = art;
  Rendern = true;
  Hold(0, AktionSuperNova);
  for (int t = 0; t < ticks; ++t) {
    RenderStart();
    SpielMoveHintergrund();
    if (t > 0) SpielMoveEnemy();  // from the first tick on the nova holds the enemies still
    SpielNova();
    MoveBigPartikel();
    RenderEnd();
  }
}

}  // namespace

TEST_F(SuperNova, ReferenceFramesHalfWay) {
  struct Fall {
    const char* datei;
    int32_t art;
    int ticks;
  } faelle[] = {{"tests/player/golden/nova_fire_trails_32.bmp", 2, 70},
                {"tests/player/golden/nova_black_hole_32.bmp", 7, 150}};
  for (const Fall& f : faelle) {
    Start();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    Bilder();
    Zeichnen(f.art, f.ticks);
    EXPECT_EQ(testsupport::CompareWithGoldenBmp(f.datei, *BackBuffer, {0, 0, 800, 550}), "") << f.art;
    SpriteDefs.clear();
    TexKreis2 = TexBalken = TexWeiss = TexWave = TexStrich = -1;
    TexFeuer.fill(-1), TexRauch.fill(-1);
    worlddraw::CloseDisplay();
  }
}
