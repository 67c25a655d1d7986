// Special events: which half of a frame runs which type, the fly-in frame by frame (its
// sounds, shake, white veil, shots and the checkpoint it leaves), the key prompt, the
// engines, the jump to the end, the burning ship along the level clock, the thunderstorm's
// strikes, where the screen effects draw, reference frames of the glow, the storm and the
// wobble, the record's bytes, and the demo levels that start events.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "campaign/checkpoints.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/special_events.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "headless/run.hpp"
#include "platform/bytes.hpp"
#include "platform/headless/headless.hpp"
#include "player/nova_state.hpp"
#include "player/players_state.hpp"
#include "player/shots_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "support/sounds.hpp"
#include "support/support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles_state.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

using testsupport::Plays;

// A dusk sky with a moon above a dark, striped ground: structure for the effects to show.
uint32_t Szene(int x, int y) {
  if ((x - 420) * (x - 420) + (y - 130) * (y - 130) < 50 * 50) return 0xF0E8C0;
  if (y < 330) return static_cast<uint32_t>(30 + y / 4) << 16 | static_cast<uint32_t>(20 + y / 8) << 8 | 90;
  return (x / 40 + y / 40) % 2 ? 0x302018 : 0x483020;
}
void Malen() {
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const uint32_t c = Szene(x, y);
      BackBuffer->SetPixel(x, y, platform::PackPixel(PixelFormat::XRGB8888, c >> 16 & 255, c >> 8 & 255, c & 255));
    }
}
void Schwarz() { BackBuffer->BltColorFill(&VollbildRect, 0); }
uint32_t Grau(int x, int y) { return testsupport::BackBufferPixel(x, y) & 0xFF; }

// One frame as the game loop runs the event: behind the world, then over it.
void Bild(const std::function<void()>& grund = Schwarz) {
  if (Rendern) {
    grund();
    RenderStart();
  }
  SpielSpezial(0);
  SpielSpezial(1);
  if (Rendern) RenderEnd();
}

int32_t Effektteilchen() {
  int32_t n = 0;
  for (const BigPartikelDaten& p : BigPartikel.Slot) n += p.Aktiv != 0;
  return n;
}

// The key names asked for, one call a line: (first binding, second binding).
std::vector<std::pair<int32_t, int32_t>> g_gefragt;

class Spezial : public ::testing::Test {
 protected:
  testsupport::IsolatedHome home;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    testsupport::OpenDisplay(PixelFormat::XRGB8888);
    auto bild = [](int w, int h, bool key, testsupport::Painter p) {
      return testsupport::PaintedPicture(w, h, PixelFormat::XRGB8888, key, p);
    };
    TexWeiss = bild(8, 8, false, [](int, int) { return 0xFFFFFFFFu; });
    TexBlur = bild(64, 64, false, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 4) << 8 | y * 4; });
    // The bar: bright in its middle rows, black (clear) at its edges.
    TexBalken = bild(32, 32, true, [](int, int y) {
      const uint32_t v = static_cast<uint32_t>(255 - (y - 16) * (y - 16) - (y - 16) * (y - 16) / 2);
      return 0xFF000000u | (y == 0 || y == 31 ? 0 : v * 0x010101u);
    });
    SndSpeed = testsupport::CountingSound();
    SndThunder = testsupport::CountingSound();
    SndYellow2 = testsupport::CountingSound();
    SndExplosion = {testsupport::CountingSound(), testsupport::CountingSound(), testsupport::CountingSound()};
    HintergrundModus = 1;
    LetzterSpieler = 0;
    for (SpielerDaten& sp : Spieler) sp = SpielerDaten{};  // the fresh state keeps the ships
    LevelTick = 0;
    LevelLaenge = 5000;
    g_gefragt.clear();
    upcall::GetKeyText = [](int32_t a, int32_t b) {
      g_gefragt.emplace_back(a, b);
      return std::string("Space");
    };
    SetRndState(4711);
  }
  void TearDown() override {
    upcall::GetKeyText = [](int32_t, int32_t) { return std::string(); };
    SndSpeed = SndThunder = SndYellow2 = -1;
    SndExplosion = {-1, -1, -1};
    Sounds.clear();
    testsupport::CloseDisplay();
    LevelTick = LevelLaenge = 0;
    HintergrundModus = 1;
    testsupport::FreshState();
  }
  static void Starte(int32_t art, int32_t wert1 = 0) {
    SpezialStand = SpezialStandDaten{};
    SpezialStand.Aktiv = true;
    SpezialStand.Art = art;
    SpezialStand.Wert1 = wert1;
  }
};

TEST_F(Spezial, EachTypeRunsInItsHalfOfTheFrame) {
  // A type that set itself up has cleared its request; the wobble has no set-up and
  // shows in the overlay flag.
  struct Fall {
    int32_t art, index;
    bool laeuft;
  } faelle[] = {{0, 1, true},  {0, 0, false}, {1, 1, true},  {1, 0, false}, {2, 0, true},  {2, 1, false},
                {3, 0, true},  {3, 1, false}, {4, 1, true},  {4, 0, false}, {5, 1, true},  {5, 0, false},
                {6, 1, true},  {6, 0, false}, {7, 1, true},  {7, 0, false}, {8, 1, false}, {-1, 1, false}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << "type " << f.art << " index " << f.index);
    Starte(f.art);
    Overlay1 = false;
    RenderStart();
    SpielSpezial(f.index);
    RenderEnd();
    EXPECT_EQ(f.art == 4 ? Overlay1 : !SpezialStand.Neustart, f.laeuft);
  }
  // No event, or a frozen world: nothing moves.
  for (const bool eingefroren : {false, true}) {
    Starte(1);
    SpezialStand.Aktiv = eingefroren;
    WeltAngehalten = eingefroren ? -1 : 0;
    SpielSpezial(1);
    EXPECT_TRUE(SpezialStand.Neustart);
    EXPECT_EQ(SpezialStand.Zeit, 0);
  }
  WeltAngehalten = 0;
}

// With one player and with two.
class SpezialEinflug : public Spezial, public ::testing::WithParamInterface<int32_t> {};

TEST_P(SpezialEinflug, RisesRoarsEntersAndHandsOver) {
  const int32_t spieler = GetParam();
  LetzterSpieler = spieler;
  for (int g = 0; g < 2; ++g)
    for (int32_t k : {0, 5}) Schuesse[g][k].Aktiv = VBTrue, Schuesse[g].Max = 5;
  Starte(0);
  std::vector<std::pair<int, int>> klaenge;  // (frame, plays)
  std::vector<uint32_t> schleier;           // the veil's grey at (600, 100), frame by frame
  int letztesBild = 0;
  for (int bild = 1; SpezialStand.Aktiv && bild <= 300; ++bild) {
    Erschuetterung = 0;
    Bild();
    if (const int n = Plays(SndSpeed)) klaenge.emplace_back(bild, n);
    if (Erschuetterung == 15) klaenge.emplace_back(bild, -1);
    schleier.push_back(Grau(600, 100));
    letztesBild = bild;
    if (bild == 1) {
      EXPECT_EQ(SchussMax(0), -1);
      EXPECT_EQ(Schuesse[1][5].Aktiv, VBFalse) << "a live shot beyond slot 0 survived";
      EXPECT_EQ(SpielerSpur[static_cast<size_t>(spieler)][10].X, -64);
      EXPECT_EQ(Spieler[static_cast<size_t>(spieler)].Y, (4 - spieler) * 200 - 10);
    }
    if (bild < 200) {
      EXPECT_EQ(Spieler[0].Status, 5) << bild;
    }
  }
  // Each ship roars (two copies) and shakes the screen as it passes y 400: 40 frames
  // in from 800, 20 from 600.
  std::vector<std::pair<int, int>> soll = {{40, 2}, {40, -1}};
  if (spieler == 1) soll.insert(soll.begin(), {{20, 2}, {20, -1}});
  EXPECT_EQ(klaenge, soll);
  EXPECT_EQ(letztesBild, 201);  // 200 frames of flight, then the hand-over
  EXPECT_EQ(std::vector<uint32_t>(schleier.begin(), schleier.begin() + 11),
            (std::vector<uint32_t>{255, 229, 204, 178, 153, 128, 102, 77, 51, 26, 0}));
  EXPECT_EQ(std::vector<uint32_t>(schleier.end() - 11, schleier.end()),
            (std::vector<uint32_t>{0, 51, 77, 102, 128, 153, 178, 204, 229, 255, 255}));
  EXPECT_TRUE(BlendStart && Abblenden);
  for (int32_t p = 0; p <= spieler; ++p) {
    EXPECT_EQ(Spieler[p].Status, 0);
    EXPECT_EQ(Spieler[p].Winkel, 0);
    EXPECT_FLOAT_EQ(Spieler[p].X, CosTab[2] * 170 - 70);
    EXPECT_EQ(Spieler[p].Y, 260 + 32 * (2 * p - spieler));
  }
  // The fly-in's end is the checkpoint a lost life goes back to.
  const SpielerDaten dort = Spieler[0];
  Spieler[0].X = 500;
  LoadCheckpoint();
  EXPECT_EQ(Spieler[0].X, dort.X);
  EXPECT_EQ(Spieler[0].Status, 0);
}
INSTANTIATE_TEST_SUITE_P(EinUndZwei, SpezialEinflug, ::testing::Values(0, 1));

TEST_F(Spezial, TheEntryBurnsOneFlameMoreForEveryTenFramesLeft) {
  // Frames left -> particles of one ship: the exhaust and n + 1 flames, n = frames / 10
  // rounded half to even.
  const std::pair<int32_t, int32_t> faelle[] = {{44, 6}, {35, 6}, {25, 4}, {15, 4}, {5, 2}, {4, 2}, {1, 2}};
  Rendern = false;  // the last frames' veil needs a scene
  for (const auto& [zeit, teilchen] : faelle) {
    Starte(0);
    SpezialStand.Neustart = false;
    SpezialStand.Zeit = zeit + 1;
    const int32_t vorher = Effektteilchen();
    SpielSpezial(1);
    EXPECT_EQ(Effektteilchen() - vorher, teilchen) << zeit;
  }
}

TEST_F(Spezial, TheKeyPromptCountsEveryFrameAndWritesOnlyDrawnOnes) {
  Sprache = "E";
  for (int s = 0; s < 3; ++s) KeyConfig.KeyMap(4, s, 0) = 31 + s, KeyConfig.KeyMap(4, s, 1) = 57;
  Starte(1, 4);
  std::vector<int32_t> grau;
  int geschrieben = 0;
  for (int bild = 1; bild <= 301; ++bild) {
    Rendern = bild % 2 == 1;
    Bild();
    grau.push_back(SpezialStand.Wert2);
    geschrieben += Rendern && Grau(20, 485) > 0;
    if (bild == 300) {
      EXPECT_TRUE(SpezialStand.Aktiv);
    }
  }
  Rendern = true;
  EXPECT_FALSE(SpezialStand.Aktiv);
  EXPECT_EQ(geschrieben, 150);  // every drawn frame: its grey is above 0
  const std::pair<int, int32_t> stufen[] = {{1, 4}, {62, 248}, {63, 248}, {237, 248}, {238, 248}, {239, 244}, {300, 0}};
  for (const auto& [zeit, wert] : stufen) EXPECT_EQ(grau[static_cast<size_t>(zeit - 1)], wert) << zeit;
  EXPECT_EQ(g_gefragt.front(), (std::pair<int32_t, int32_t>{31, 57}));

  // Two players: the second and third key set, a line each.
  LetzterSpieler = 1;
  Starte(1, 4);
  g_gefragt.clear();
  for (int bild = 0; bild < 30; ++bild) Bild();
  using Bindungen = std::vector<std::pair<int32_t, int32_t>>;
  EXPECT_EQ(Bindungen(g_gefragt.end() - 2, g_gefragt.end()), (Bindungen{{32, 57}, {33, 57}}));
  EXPECT_GT(Grau(20, 395), 0);

  // An action the game does not have writes nothing, for its whole time; an unknown
  // language keeps the last prompt.
  Starte(1, 10);
  for (int bild = 0; bild < 30; ++bild) Bild();
  EXPECT_EQ(Grau(20, 485), 0u);
  std::vector<uint32_t> zeilen[2];
  for (const char* sprache : {"D", "X"}) {
    Sprache = sprache;
    Starte(1, 4);
    for (int bild = 0; bild < 100; ++bild) Bild();
    for (int x = 0; x < 400; ++x) zeilen[sprache[0] == 'X'].push_back(testsupport::BackBufferPixel(x, 485));
  }
  EXPECT_EQ(zeilen[0], zeilen[1]);
}

TEST_F(Spezial, TheSequencesSetThemselvesUp) {
  LevelTick = 90;
  Spieler[0].X = Spieler[1].X = 300;
  Spieler[0].Schild = 50;
  Starte(5, 7);
  SpielSpezial(1);
  EXPECT_EQ(SpezialStand.Zeit, 500);
  EXPECT_EQ(SpezialStand.Wert1, 0);
  EXPECT_EQ(Spieler[0].Status, 5);
  EXPECT_EQ(Spieler[0].Schild, 0);
  EXPECT_EQ(Spieler[1].Status, 0) << "one player: the second record is left alone";
  EXPECT_FLOAT_EQ(Spieler[0].X, 299.5f);  // swaying with the level clock
  EXPECT_EQ(Effektteilchen(), 6);

  // The jump to the end holds both records, with one player too; a level shorter than
  // any clock saturates.
  for (const int32_t laenge : {5000, INT32_MIN}) {
    Spieler[1].Status = 0;
    LevelLaenge = laenge;
    Starte(6);
    Overlay1 = Overlay2 = false;
    SpielSpezial(1);
    EXPECT_EQ(LevelTick, laenge == 5000 ? 4700 : INT32_MIN);
    EXPECT_TRUE(Spieler[1].Status == 5 && Overlay1 && Overlay2);
  }

  // The burning ship starts its fire loop once.
  for (const bool laeuft : {false, true}) {
    Starte(7);
    if (laeuft) Sounds[static_cast<size_t>(SndYellow2)].Kopien[0].Play(platform::audio::kPlayLooping);
    Plays(SndYellow2);
    SpielSpezial(1);
    EXPECT_EQ(Plays(SndYellow2), laeuft ? 0 : 1);
  }
}

TEST_F(Spezial, TheBurningShipFollowsTheLevelClock) {
  struct Fall {
    int32_t tick;
    bool ton;
    std::function<bool()> pruefe;
  } faelle[] = {
      {200, false, [] { return Plays(SndThunder) == 1; }},  // the thunder needs no sound switch
      {230, true, [] { return Rauschen == 0.6f; }},
      {250, true, [] { return Rauschen == 0.2f; }},
      {500, true, [] { return Erschuetterung == 100; }},
      {900, true, [] { return Plays(SndExplosion[0]) + Plays(SndExplosion[1]) + Plays(SndExplosion[2]) >= 3; }},
      {100, true, [] { return Spieler[0].Energie == 99.9f && Erschuetterung == 1 && Spieler[1].Energie == 100; }},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.tick);
    Starte(7);
    SpezialStand.Neustart = false;
    SoundAn = f.ton;
    LevelTick = f.tick;
    Rauschen = 0;
    Erschuetterung = 0;
    Spieler[0].X = 100;
    Spieler[0].Energie = Spieler[1].Energie = 100;
    SpielSpezial(1);
    EXPECT_TRUE(f.pruefe());
  }
  // Between ticks 600 and 690 the picture tears downwards.
  for (const int32_t tick : {650, 700}) {
    LevelTick = tick;
    Malen();
    SpielSpezial(1);
    int gerissen = 0;
    for (int x = 0; x < 800; ++x) gerissen += testsupport::BackBufferPixel(x, 331) != Szene(x, 331);
    EXPECT_EQ(gerissen > 0, tick == 650) << tick;
  }
}

TEST_F(Spezial, AStrikeLastsFiftyFramesAndThundersWithoutABackground) {
  HintergrundModus = 0;
  Starte(3);
  int bild = 0;
  while (SpezialStand.Zeit == 0 && bild < 5000) ++bild, Bild();
  ASSERT_EQ(SpezialStand.Zeit, 1) << "no strike in " << bild << " frames";
  EXPECT_EQ(Plays(SndThunder), 2);
  const int32_t frequenz = Sounds[static_cast<size_t>(SndThunder)].Kopien[1].GetFrequency();
  EXPECT_TRUE(frequenz >= 10000 && frequenz <= 51100) << frequenz;
  std::vector<int32_t> samen;
  for (int k = 1; k < 50; ++k) {
    Bild();
    samen.push_back(SpezialStand.Wert1);
  }
  EXPECT_EQ(SpezialStand.Zeit, 0);
  EXPECT_NE(samen[0], samen[1]);
  EXPECT_EQ(Plays(SndThunder), 0);
  for (int x = 0; x < 800; x += 7) ASSERT_EQ(testsupport::BackBufferPixel(x, 275), 0u) << "drawn without a background";
}

TEST_F(Spezial, TheScreenEffectsDrawOnlyInDrawnFramesAndTheSkyEffectsOverABackground) {
  struct Fall {
    int32_t art, hintergrund;
    bool rendern, zeichnet;
  } faelle[] = {{2, 1, true, true},  {2, 0, true, false}, {2, 1, false, false}, {3, 1, true, true},
                {3, -2, true, true}, {3, 0, true, false}, {4, 0, true, true},   {4, 1, false, false}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << "type " << f.art << " mode " << f.hintergrund << " drawn " << f.rendern);
    Starte(f.art);
    SpezialStand.Neustart = false;
    SpezialStand.Zeit = f.art == 2 ? 60 : 0;  // the glow's first frames are too faint to show
    HintergrundModus = f.hintergrund;
    Malen();
    Rendern = f.rendern;
    Bild([] {});
    Rendern = true;
    int anders = 0;
    for (int y = 0; y < 550; y += 11)
      for (int x = 0; x < 800; x += 13) anders += testsupport::BackBufferPixel(x, y) != Szene(x, y);
    EXPECT_EQ(anders > 0, f.zeichnet);
    if (f.art == 2) {
      EXPECT_EQ(SpezialStand.Zeit, 61);  // its clock runs in any case
    }
  }
  // The glow grows for 100 frames and stays.
  Starte(2);
  Rendern = false;
  for (int k = 0; k < 150; ++k) SpielSpezial(0);
  EXPECT_EQ(SpezialStand.Zeit, 100);
}

TEST_F(Spezial, ScreenEffectsAndThePromptMatchTheirReferenceFrames) {
  struct Fall {
    const char* name;
    int32_t art, zeit;
    RECT bereich;
  } faelle[] = {{"glow", 2, 99, {240, 20, 560, 260}},
                {"storm_dark", 3, 0, {240, 200, 560, 440}},
                {"storm_strike", 3, 25, {260, 150, 580, 390}},
                {"wobble", 4, 0, {240, 100, 560, 340}},
                {"prompt", 1, 50, {0, 420, 320, 540}}};  // grey 204 over its shadow
  Sprache = "E";
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    SetRndState(99);  // the storm's darkening frame must not start a strike
    Starte(f.art);
    SpezialStand.Neustart = false;
    SpezialStand.Zeit = f.zeit;
    SpezialStand.Wert2 = 420;
    LevelTick = 157;
    Bild(Malen);
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/campaign/golden/special_" + std::string(f.name) + "_32.bmp",
                                                *BackBuffer, f.bereich),
              "");
  }
}

TEST_F(Spezial, TheRecordIsTwentyEightBytesInFieldOrder) {
  SpezialStandDaten s{true, 3, 1, -2, 3, 4, 0x01020304, false};
  std::vector<uint8_t> bytes;
  platform::ByteWriter w(bytes);
  Felder(w, s);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0xFF, 0xFF, 3, 0, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0,
                                         4, 0, 0, 0, 4, 3, 2, 1, 0, 0}));
  SpezialStandDaten gelesen;
  platform::ByteReader r(bytes);
  Felder(r, gelesen);
  EXPECT_TRUE(r.Ok() && r.Remaining() == 0);
  EXPECT_TRUE(gelesen.Aktiv && !gelesen.Neustart && gelesen.Wert2 == -2 && gelesen.Zeit == 0x01020304);
}

// The demo data: the second level opens with the fly-in and shows a key prompt soon
// after; each event level starts its event, and the jump level leaps to its last ticks.
TEST(SpezialDemo, TheDemoLevelsStartTheirEvents) {
  testsupport::IsolatedHome home;
  headless_run::Options o;
  o.level = "Level2";
  o.seed = 5;
  o.ticks = 450;
  std::vector<int32_t> status;
  SpezialStandDaten ereignis;
  ASSERT_EQ(headless_run::Run(o,
                              [&](const headless_run::Tick& t) {
                                status.push_back(Spieler[0].Status);
                                if (t.n == 225) {
                                  EXPECT_NEAR(Spieler[0].Y, 260, 40) << "flown on from its place";
                                }
                                if (t.n == 450) ereignis = SpezialStand;
                              }),
            0);
  ASSERT_EQ(status.size(), 450u);
  EXPECT_EQ(status[100], 5);
  EXPECT_EQ(status[225], 0);
  EXPECT_TRUE(ereignis.Aktiv && ereignis.Art == 1) << "no key prompt";
  for (int32_t n = 1; n <= 7; ++n) {
    o.level = "Event" + std::to_string(n);
    o.ticks = 30;
    int32_t rest = 0;  // ticks left in the level at tick 20
    ereignis = {};
    ASSERT_EQ(headless_run::Run(o,
                                [&](const headless_run::Tick& t) {
                                  if (t.n != 20) return;
                                  ereignis = SpezialStand;
                                  rest = LevelLaenge - LevelTick;
                                }),
              0)
        << o.level;
    EXPECT_TRUE(ereignis.Aktiv && ereignis.Art == n) << o.level;
    EXPECT_EQ(rest <= 300, n == 6) << o.level << ": " << rest << " ticks left";
  }
  testsupport::FreshState();
}

}  // namespace
