// Nothing is allocated while a level runs: claiming and freeing the slots of every pool,
// placing enemies and animations from their templates, starting ribbon trails and
// emptying the pools for the next pass all reuse memory made at start-up or while the
// level loaded. Later steps of a level (whole ticks) join the table below.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "counting_new.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "player/beam.hpp"
#include "player/firing.hpp"
#include "player/players.hpp"
#include "player/players_state.hpp"
#include "player/score.hpp"
#include "player/score_state.hpp"
#include "player/ship_control.hpp"
#include "player/ship_death.hpp"
#include "player/shots.hpp"
#include "player/shots_state.hpp"
#include "run/variabeln.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/animations.hpp"
#include "world/background.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape.hpp"
#include "world/particles_state.hpp"
#include "world/pickups_state.hpp"
#include "world/pictures_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/timeline.hpp"
#include "world/weather_state.hpp"

using alloccount::AllocationsDuring;

namespace {

using Fillings = std::array<int32_t, 2>;

// Fills the pool to its last slot with `add`, frees every odd slot and then the even ones
// from the top (so both the first-free hint and the highest index move), fills it again
// and frees it once more. Returns how many slots each filling took.
template <class P, class Add>
Fillings FillEmptyRefill(P& pool, Add add) {
  Fillings filled{};
  for (int32_t& n : filled) {
    while (add(pool) >= 0) ++n;
    for (int32_t k = 1; k <= pool.Max; k += 2) pool.Kill(k);
    for (int32_t k = pool.Max; k >= 0; --k) pool.Kill(k);
  }
  return filled;
}

// A level as its loader leaves it: templates larger than an empty record holds.
void LoadLevel() {
  GegnerTyp gross;
  gross.Name = "A template whose name is far too long for a short string";
  gross.Komponenten.resize(12);
  GegnerTyp klein;
  klein.Name = "Small";
  klein.Komponenten.resize(1);
  GegnerTypen = {klein, gross};
  AnimaTypen.assign(2, AnimaTypDaten{});
  AnimaTypen[1].Teile.resize(7);
  ReserveEnemySlots();
  ReserveAnimationSlots();
  RegenAnzahl = 40;
  // Names longer than a string holds in place: the ships' trail copies them every tick.
  Spieler[0].Name = "The first player, whose name is rather long";
  Spieler[1].Name = "The second player, whose name is longer still";
}

// Two ships flying a few hundred ticks under held keys, ramming nothing, one of them
// destroyed and respawned at the other, pop-ups awarded, then both flying out of the
// level. Not drawn, and not heard (no sound is loaded here): the drawing has its own tests.
void FlyShips() {
  LetzterSpieler = 1;
  Rendern = false;
  SoundAn = false;
  for (int32_t set = 1; set <= 2; ++set)
    for (int32_t a = 0; a < 4; ++a) KeyConfig.KeyMap(a, set, 0) = 100 + 10 * set + a;
  for (int tick = 0; tick < 400; ++tick) {
    // Each player holds a different pair of directions, changing every 40 ticks.
    for (int32_t set = 1; set <= 2; ++set)
      for (int32_t a = 0; a < 4; ++a) KeyState[100 + 10 * set + a] = (tick / 40 + set + a) % 3 == 0;
    if (tick == 50) Spieler[1].Energie = -1;
    if (tick == 300) Spieler[0].Status = Spieler[1].Status = 1;
    SpielObjektAnimationen();
    SpielKeysVesk();
    SpielMoveVesk();
    AddPunkte(1500, 100, 100, -1, tick % 2);
    SpielMovePunkte();
    SpielFeindberücrung();
  }
  KeyState.fill(false);
  Rendern = true;
  SoundAn = true;
  LetzterSpieler = 0;
}

// Each ship type charging its beam in both modes and letting go: glows, flights across
// the screen with lightning and helix, the ring collapsing, a power mode running out and
// draining, with one ship under water. Not drawn: the drawing has its own tests.
void ChargeAndReleaseBeams() {
  const uint32_t zufall = RndState();  // the later tests' random sequence stays as it was
  Rendern = false;
  SoundAn = false;
  Wasserstand = 400;
  KeyConfig.KeyMap(AktionBeam, 0, 0) = 40;
  KeyConfig.KeyMap(AktionBeamWechsel, 0, 0) = 41;
  ForceModus = false;
  for (int32_t typ = 0; typ < 3; ++typ) {
    Schiff[0] = SchiffDaten{};
    Schiff[0].BoxOben = 17, Schiff[0].BoxRechts = 64, Schiff[0].BoxUnten = 54, Schiff[0].Typ = typ;
    Spieler[0].X = 100;
    Spieler[0].Y = 200;
    Spieler[0].Waffenstufe = 3;
    for (int32_t modus = 0; modus < 2; ++modus) {
      // The mode key switches when needed; the charge goes to full and is let go, and the
      // beam (or the power mode) runs to its end.
      for (int i = 0; i < 1700; ++i) {
        KeyState[41] = i == 0 && Beam[0].Modus != modus;
        KeyState[40] = i > 1 && i < 200;
        SpielBeam();
      }
      EXPECT_FALSE(Beam[0].Fliegt) << typ << " " << modus;
      EXPECT_EQ(Beam[0].AktivModus, modus);
    }
  }
  KeyState.fill(false);
  Wasserstand = 0;
  HintergrundModus = 1;
  Rendern = true;
  SoundAn = true;
  SetRndState(zufall);
}

class NoAllocationDuringPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    LoadLevel();
    VariabelnLösch();  // the level's first pass: the raindrops are made here
  }
  void TearDown() override {
    GegnerTypen.clear();
    AnimaTypen.clear();
    RegenAnzahl = 0;
    testsupport::FreshState();
  }
};

struct Step {
  std::string name;
  int32_t slots;  // per filling
  std::function<Fillings()> run;
};

}  // namespace

TEST_F(NoAllocationDuringPlay, FillingEmptyingAndRefillingEveryPool) {
  auto claim = [](auto& pool) { return pool.Claim(); };
  std::vector<Step> steps = {
      {"small particles 0", 1501, [&] { return FillEmptyRefill(Partikel[0], claim); }},
      {"small particles 1", 1501, [&] { return FillEmptyRefill(Partikel[1], claim); }},
      {"effect particles", 4001, [&] { return FillEmptyRefill(BigPartikel, claim); }},
      {"bubbles", 201, [&] { return FillEmptyRefill(Blasen, claim); }},
      {"enemy shots", 501, [&] { return FillEmptyRefill(GegnerSchuesse, claim); }},
      {"shot generators", 51, [&] { return FillEmptyRefill(SchussErzeuger, claim); }},
      {"pick-ups", 16, [&] { return FillEmptyRefill(SpezialObjekte, claim); }},
      {"score pop-ups", 101, [&] { return FillEmptyRefill(PunkteAnzeigen, claim); }},
      // An enemy copies its template whole into its slot, the larger and the smaller in turn.
      {"enemies", 101,
       [] {
         int32_t n = 0;
         return FillEmptyRefill(GegnerListe, [&](auto& pool) {
           // A placed enemy moves the hint past its slot; a full pool leaves it.
           const int32_t frei = pool.Frei;
           AddEnemy(GegnerTypen[++n % 2], 0, 0, 0, 800);
           return pool.Frei != frei ? pool.Frei - 1 : -1;
         });
       }},
      // An animation keeps the running state of each part of its definition, the larger
      // and the smaller in turn.
      {"animations", 301,
       [] {
         int32_t n = 0;
         return FillEmptyRefill(Animationen, [&](auto& pool) {
           const int32_t frei = pool.Frei;
           AddAnima(2, ++n % 2, 0);
           return pool.Frei != frei ? pool.Frei - 1 : -1;
         });
       }},
      // A ribbon shot sets up its trail when it starts.
      {"player shots 0", 1001,
       [] {
         return FillEmptyRefill(Schuesse[0], [](auto& pool) {
           const int32_t k = pool.Add(SchussDaten{});
           if (k >= 0) SchweifInit(pool[k].SchweifX, pool[k].SchweifY, 25);
           return k;
         });
       }},
      {"player shots 1", 1001, [&] { return FillEmptyRefill(Schuesse[1], claim); }},
      {"ships flying with keys held", 0,
       [] {
         FlyShips();
         return Fillings{};
       }},
      {"beams charged and released", 0,
       [] {
         ChargeAndReleaseBeams();
         return Fillings{};
       }},
      // After a lost life: every pool emptied, the raindrops made again.
      {"the pass reset", 0,
       [] {
         VariabelnLösch();
         return Fillings{};
       }},
  };
  for (int layer = 0; layer < 7; ++layer)
    steps.push_back({"landscape layer " + std::to_string(layer), LandschaftKapazitaet[layer] + 1,
                     [layer, claim] { return FillEmptyRefill(Landschaft[layer], claim); }});

  for (const Step& step : steps) {
    Fillings filled{};
    const int64_t n = AllocationsDuring([&] { filled = step.run(); });
    EXPECT_EQ(n, 0) << step.name;
    EXPECT_EQ(filled, (Fillings{step.slots, step.slots})) << step.name;
  }
  EXPECT_EQ(GegnerMax, -1);
  EXPECT_EQ(GegnerFrei, 0);
}

// A thousand ticks of the timeline placing enemies and landscape items, the layers
// scrolling them off again, and the background moving its points.
TEST_F(NoAllocationDuringPlay, TimelineLandscapeAndBackgroundTicks) {
  Routen.assign(1, Route{});
  SpriteDefs.assign(1, SpriteDef{});
  for (int32_t t = 0; t < 1000; t += 5) {
    Ebenen[4].Ereignisse.push_back({t, 0, t % 2, 0, 100});
    Ebenen[1].Ereignisse.push_back({t, 0, 0, 0, 50});
    Ebenen[3].Ereignisse.push_back({t, 0, 0, 1, 300});
  }
  for (int32_t k : {1, 3}) Ebenen[k].Speed = 3;
  Rendern = false;
  LevelTick = 0;
  LevelLaenge = 2000;
  HintergrundInit = true;
  int32_t meisteFeinde = 0;
  const int64_t n = AllocationsDuring([&] {
    for (int i = 0; i < 1000; ++i) {
      HintergrundModus = i < 500 ? 6 : 1;
      SpielTick();
      SpielMoveHintergrund();
      for (int32_t k : {0, 1, 2, 3, 5, 6}) SpielMoveLandschaft(k);
      // Nothing moves the enemies here: they leave as the mover would free them.
      meisteFeinde = std::max(meisteFeinde, GegnerMax + 1);
      for (int32_t k = 0; k <= GegnerMax; ++k) GegnerListe.Kill(k);
    }
  });
  Rendern = true;
  for (LevelEbene& e : Ebenen) e = LevelEbene{};
  Routen.clear();
  SpriteDefs.clear();
  EXPECT_EQ(n, 0);
  EXPECT_EQ(meisteFeinde, 1);
  EXPECT_EQ(LevelTick, 1000);
}

// Three hundred ticks of a ship holding fire with its main gun and a bomb, beside flames,
// splinter shots, splitters, ribbons, lasers, rockets and homing shots, all moved in both
// groups until they leave, go out, split, fade or explode at an enemy that does not die
// and a rock. A bouncing ribbon longer than any other trail keeps to the room its slot has.
TEST_F(NoAllocationDuringPlay, FiringAndMovingShots) {
  const int32_t bild =
      testsupport::PaintedPicture(20, 20, platform::PixelFormat::XRGB8888, true, [](int, int) { return ~0u; });
  SurfaceInfo& S = Surfaces[bild];
  S.RandLinks.assign(21, 0);
  S.RandRechts.assign(21, 19);
  S.RandLinks[20] = S.RandRechts[20] = -1;
  S.ErsteZeile = 0, S.LetzteZeile = 19, S.RandMinX = 0, S.RandMaxX = 19;
  SpriteDefs = {SpriteDef{.Frames = {SpriteFrame{.Surface = bild}}}};
  Feindkomponente teil{.HP = 1e9f, .Sprite = 0, .Lebt = VBTrue};
  Gegner& ziel = GegnerListe[GegnerListe.Claim()];
  ziel.Typ = GegnerTyp{.Komponenten = {teil, teil}, .HP = 1e9f};
  ziel.Typ.Komponenten[1].OffsetY = 40;
  ziel.X = 520, ziel.Y = 220;
  Landschaft[3].Objekte[0] = LandschaftObjekt{.X = 420, .Y = 330, .Sprite = 0, .Aktiv = VBTrue};
  Landschaft[3].Max = 0;
  Schwerkraft = 1;
  auto pcm = std::make_shared<platform::audio::Pcm>();
  pcm->samples.assign(400, 0);
  pcm->channels = 1;
  pcm->rate = 22050;
  pcm->blockAlign = 2;
  for (int32_t* nr : {&SndNormal[0], &SndBomb, &SndExplosion[0], &SndVPhyGreen}) {
    Sounds.emplace_back().Kopien.emplace_back(pcm);
    *nr = SoundsMax();
    // The mixer makes room in its list of playing voices as the first sounds start.
    PlaySound(*nr, 0, 0);
  }
  KeyConfig.KeyMap(AktionSchießen, 0, 0) = 30;
  KeyState[30] = true;
  Spieler[0].X = 100;
  Spieler[0].Y = 200;
  Spieler[0].Waffenstufe = 3;
  Spieler[0].Zweitwaffe = 1;
  Schiff[0] = SchiffDaten{};
  Schiff[0].MuendungX = 50;
  Schiff[0].MuendungY1.fill(20);
  Schiff[0].MuendungY2.fill(40);
  Schiff[0].Zeilen = 3;
  Rendern = false;
  int32_t meiste = 0;
  const int64_t n = AllocationsDuring([&] {
    for (int i = 0; i < 300; ++i) {
      SpielSchieß();
      if (i % 10 == 0) {
        AddSchuss(0, 3, 300, 100, 2, 0, 1, 5, 0);
        AddSchuss(1, 4, 300, 200, 9, 1, 2, 50, 0);
        AddSchuss(1, 5, 300, 300, 3, 0, 1, 80, 0);
        for (int32_t art = 6; art <= 14; ++art) {
          const bool laser = art == 8;
          AddSchuss(laser ? 0 : 1, art, 300, static_cast<float>(150 + 15 * (art - 6)), laser ? 1.0f : 9.0f,
                    art == 7 ? 4.0f : 0.0f, art == 7 ? 40.0f : 5.0f, 500, 0);
        }
      }
      SpielMoveSchuss(0);
      SpielMoveSchuss(1);
      meiste = std::max({meiste, Schuesse[0].Max, Schuesse[1].Max});
    }
  });
  Rendern = true;
  KeyState.fill(false);
  SndNormal[0] = SndBomb = SndExplosion[0] = SndVPhyGreen = -1;
  Schiff[0] = SchiffDaten{};
  Schwerkraft = 0;
  SpriteDefs.clear();
  EXPECT_EQ(n, 0);
  EXPECT_GT(meiste, 20);
  EXPECT_LT(ziel.Typ.Komponenten[0].HP, 1e9f);
}

// Enemies flying through, their parts wiggling on their own routes, turning to a ship,
// ramming each other, launching enemies that leave at once, bursting, wrecked or frozen,
// and one dying each kind of death to its end, drawn on every other tick: the enemy step
// allocates nothing. Sound is off, so the boss's warning clips (a load, which adds to the
// sound table) are not part of the count.
TEST_F(NoAllocationDuringPlay, EnemyTicks) {
  BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  const int32_t bild =
      testsupport::PaintedPicture(8, 8, platform::PixelFormat::XRGB8888, true, [](int, int) { return ~0u; });
  SurfaceInfo& S = Surfaces[bild];
  S.RandLinks.assign(9, 0);
  S.RandRechts.assign(9, 7);
  S.RandLinks[8] = S.RandRechts[8] = -1;
  S.ErsteZeile = 0, S.LetzteZeile = 7, S.RandMinX = 0, S.RandMaxX = 7;
  SpriteDefs = {SpriteDef{.Frames = {SpriteFrame{.Surface = bild, .SurfaceBlitz = bild}}},
                SpriteDef{.D3DSprite = VBTrue, .Frames = {SpriteFrame{.Surface = bild}}}};
  auto cmd = [](int32_t op, std::vector<float> a) { return RoutenBefehl{op, a, std::vector<float>(a.size())}; };
  Routen = {Route{{cmd(6, {3}), cmd(1, {-50, 32760})}},
            Route{{cmd(11, {0}), cmd(4, {0, 1}), cmd(4, {0, -1}), cmd(12, {0})}}, Route{}};
  ErzeugerTypen = {ErzeugerTypDaten{.Drehturm = VBTrue}};
  Feindkomponente teil{.R = 1, .G = 1, .B = 1, .A = 1, .HP = 100, .Erzeuger = KeinErzeuger, .Lebt = VBTrue,
                       .TrefferBlitz = 3};
  GegnerTyp flieger{.Komponenten = {teil, teil, teil}, .HP = 500, .Width = 30, .Height = 10};
  flieger.Komponenten[1] = {.OffsetX = 10, .RouteAn = VBTrue, .RouteNr = 1, .A = 1, .Drehung = 20, .HP = 100,
                            .Erzeuger = 0, .FeuerModus = 4, .Sprite = 1, .Lebt = VBTrue};
  flieger.Komponenten[2].OffsetX = 20, flieger.Komponenten[2].Erzeuger = -1, flieger.Komponenten[2].FeuerModus = 5;
  flieger.Parameter[1] = 1;        // rams what it meets
  flieger.Parameter[7] = 2 * 1000 + 3;  // launches a small one that leaves at once
  GegnerTyp platzt = flieger, wrack = flieger;
  platzt.HP = wrack.HP = -1;
  wrack.Parameter[3] = 1;
  GegnerTypen = {flieger, platzt, wrack, GegnerTyp{.Komponenten = {teil}, .Width = 8, .Height = 8}};
  ReserveEnemySlots();
  SoundAn = false;
  TexBalken = TexWeiss = TexKreis2 = bild;  // streaks, flashes and glows
  constexpr std::array<int32_t, 7> kArten = {4, 1, 2, 3, 5, 6, 7};  // the boss's is the longest
  int32_t sterbende = 0;
  int32_t meisteFeinde = 0;
  const int64_t n = AllocationsDuring([&] {
    for (int i = 0; i < 600; ++i) {
      if (i % 7 == 0) AddEnemy(GegnerTypen[i % 21 == 0 ? 1 + (i / 21) % 2 : 0], 0, 0, 20 + (i * 37) % 500, 800);
      if (i == 300) GegnerListe[GegnerMax].Stirbt = VBTrue;  // frozen where it is
      if (i > 0 && i % 10 == 0 && i <= 70) {
        Gegner& g = GegnerListe[GegnerMax];
        g.Stirbt = VBTrue, g.TodArt = kArten[static_cast<size_t>(sterbende++)], g.TodZeit = 0;
        g.Typ.Parameter[3] = 1, g.Typ.Parameter[11] = 30052;
      }
      Rendern = i % 2 == 0;
      if (Rendern) RenderStart();
      SpielMoveEnemy();
      if (Rendern) RenderEnd();
      meisteFeinde = std::max(meisteFeinde, GegnerMax + 1);
    }
  });
  const bool bossZuEnde = LevelTick == LevelLaenge - 151;
  SoundAn = true;
  Rendern = true;
  TexBalken = TexWeiss = TexKreis2 = -1;
  ResetScreenEffects();
  HintergrundModus = 1;
  LevelTick = 0;
  Routen.clear();
  SpriteDefs.clear();
  ErzeugerTypen.clear();
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
  EXPECT_EQ(n, 0);
  EXPECT_GT(meisteFeinde, 20);
  EXPECT_EQ(sterbende, 7);
  EXPECT_TRUE(bossZuEnde);
}
