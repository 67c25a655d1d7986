// The death sequences: how long each kind lasts and when its parts burst, what the first
// frame stops, the wreck's pieces and what stops them, the area blast, the boss's clock
// jump, overlays, shields, power mode and warning clips, the box of a split or a beam
// kill, a split picture given back whole, and reference frames of a few kinds half-way
// through.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "campaign/game_loop_state.hpp"
#include "draw_support.hpp"
#include "enemy_support.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "lib/archive_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/headless/headless.hpp"
#include "player/beam_state.hpp"
#include "player/players_state.hpp"
#include "player/pods_state.hpp"
#include "player/satellite_state.hpp"
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
#include "world/pictures_state.hpp"
#include "world/radio_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/weather_state.hpp"

namespace {

using enemytest::Sprite;
using enemytest::Teil;
using enemytest::Tick;

class EnemyDeath : public ::testing::Test {
 protected:
  testsupport::TempDataFolder daten;  // for the game's log
  int32_t block = -1;     // 4 x 4 red, blitted
  int32_t gross = -1;     // 40 x 40, opaque but for a one-pixel rim
  int32_t truemmer = -1;  // a wreck sprite: three 8 x 8 frames

  void SetUp() override {
    platform::headless::Reset();
    testsupport::FreshState();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    Rendern = false;
    SoundAn = false;
    LetzterSpieler = 0;
    Schwerkraft = 0;
    TexKreis2 = worlddraw::Picture(16, 16, true, true, [](int x, int y) {
      const int d = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
      return d < 225 ? 0xFF000000u | static_cast<uint32_t>(255 - d) * 0x010100u : 0u;
    });
    TexWeiss = worlddraw::Solid(4, 4, 0xFFFFFFFF, true);
    TexBalken = worlddraw::Picture(
        16, 8, true, true, [](int, int y) { return 0xFF000000u | (255 - std::abs(2 * y - 7) * 30) * 0x010101u; });
    block = Sprite(worlddraw::Solid(4, 4, 0xFFFF0000));
    gross = Sprite(worlddraw::Picture(40, 40, false, true, [](int x, int y) {
      return x == 0 || y == 0 || x == 39 || y == 39 ? 0u : 0xFF2040A0u + 0x000400u * static_cast<uint32_t>(x);
    }));
    SpriteDefs.push_back(SpriteDef{});
    for (uint32_t farbe : {0xFFC0C0C0u, 0xFF808080u, 0xFFE0A060u}) {
      const int32_t nr =
          worlddraw::Picture(8, 8, false, true, [farbe](int x, int y) { return x + y < 12 ? farbe : 0u; });
      worlddraw::Randprofil(nr);
      SpriteDefs.back().Frames.push_back(SpriteFrame{.Surface = nr, .Zeit = 3});
    }
    truemmer = SpriteDefsMax();
    Routen = {Route{{RoutenBefehl{5, {1e6f}, {0.0f}}}}};  // the living wait
  }
  void TearDown() override {
    TexKreis2 = TexWeiss = TexBalken = -1;
    SndWarnung.fill(-1);
    Soundclear();
    worlddraw::CloseDisplay();
    FreeLevelCatalogues();
    ResetLandscape();
    Satellit = {};
    Schiff = {};
    Beam = {};
    LetzterSpieler = 0;
    Rendern = true;
    SoundAn = true;
    testsupport::FreshState();
  }

  // A dying enemy of kind `art` in slot `e`, its box 40 x 20 at (x, y), out of energy.
  static Gegner& Sterbend(int32_t e, int32_t art, float x, float y, std::vector<Feindkomponente> teile) {
    Gegner& g = enemytest::Feind(e, x, y, std::move(teile));
    g.Typ.HP = -1, g.Stirbt = VBTrue, g.TodArt = art;
    return g;
  }
};

}  // namespace

TEST_F(EnemyDeath, EachKindLastsItsFramesBurstsItsPartsAndStopsItsGeneratorsAtOnce) {
  struct Case {
    const char* name;
    int32_t art, teile;
    std::vector<int> bursts;  // frames on which player one's destroyed parts rise
    int ende;                 // the frame that frees the slot; 0: never
    std::function<void(Gegner&)> nachErstem = nullptr;
  } cases[] = {
      {"0 frozen: stands until the nova lets go", 0, 2, {}, 0},
      {"1 split", 1, 2, {30}, 30},
      {"2 sparkling", 2, 2, {40}, 40},
      {"3 wreck: pieces flying clear last 160 frames",
       3,
       2,
       {},
       160,
       [](Gegner& g) {
         for (WrackTeil& p : g.WrackTeile) p.Richtung = 180;
       }},
      {"4 boss: the parts burst on frame 500, it goes on 570", 4, 2, {500}, 570},
      {"5 area blast", 5, 2, {15}, 15},
      {"6 beam kill", 6, 2, {51}, 51},
      {"7 break-up of three parts: at 1, 11 and 21, gone on 22",
       7,
       3,
       {1, 11, 21},
       22,
       [](Gegner& g) {
         EXPECT_TRUE(g.Typ.Komponenten[0].Lebt && g.Typ.Komponenten[1].Lebt && !g.Typ.Komponenten[2].Lebt);
       }},
  };
  LevelLaenge = 5000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    SchussErzeuger.Reset();
    std::vector<Feindkomponente> teile;
    for (int j = 0; j < c.teile; ++j) teile.push_back(Teil(block, 10.0f * j));
    Gegner& g = Sterbend(0, c.art, 300, 200, teile);
    g.Typ.Parameter[3] = truemmer + 1;
    SchussErzeuger[SchussErzeuger.Claim()].FeindNR = 0;
    SchussErzeuger[SchussErzeuger.Claim()].FeindNR = 1;  // another enemy's
    Spieler[0].Abschuesse = 0;
    std::vector<int> bursts;
    int ende = 0;
    for (int f = 1; f <= 600 && ende == 0; ++f) {
      const int32_t vorher = Spieler[0].Abschuesse;
      Tick();
      if (Spieler[0].Abschuesse != vorher) bursts.push_back(f);
      if (g.Aktiv == 0) ende = f;
      if (f == 1) {
        EXPECT_EQ(SchussErzeuger[0].Aktiv != 0, c.art == 0);
        EXPECT_NE(SchussErzeuger[1].Aktiv, 0);
        if (c.nachErstem) c.nachErstem(g);
      }
    }
    EXPECT_EQ(bursts, c.bursts);
    EXPECT_EQ(ende, c.ende);
  }
}

TEST_F(EnemyDeath, AWreckEndsInTheFirstFrameWithNoPieceLeftDrawnOrNot) {
  struct Case {
    const char* name;
    int32_t wrack;  // Parameter(3)
    float y, schwere;
    bool rendern;
    int ende;
  } cases[] = {
      {"falling past the bottom on frame 2", 1, 510, 40, true, 2},
      {"the same in frames not drawn", 1, 510, 40, false, 2},
      {"an unknown wreck sprite gives no pieces", 99, 100, 0, true, 1},
      {"a sprite without frames gives none", 2, 100, 0, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    Rendern = c.rendern;
    Schwerkraft = c.schwere;
    Gegner& g = Sterbend(0, 3, 300, c.y, {Teil(block)});
    g.Typ.Parameter[3] = c.wrack == 1 ? truemmer + 1 : c.wrack == 2 ? block + 1 : c.wrack;
    if (c.wrack == 2) SpriteDefs[block].Frames.clear();
    int ende = 0;
    for (int f = 1; f <= 200 && ende == 0; ++f) {
      Tick();
      if (f == 1) {
        EXPECT_EQ(g.Typ.Komponenten[0].Lebt, 0);  // the enemy's own picture is gone at once
      }
      if (g.Aktiv == 0) ende = f;
    }
    EXPECT_EQ(ende, c.ende);
  }
}

TEST_F(EnemyDeath, AWreckPieceExplodesOnTheFirstThingItStrikes) {
  struct Case {
    const char* name;
    bool fels;
    int32_t spieler;        // LetzterSpieler
    bool schiff0, schiff1;  // the ships lie on the piece's way
    bool satellit, satellitDa;
    int32_t podWaffe;
    int16_t podBesitz;
    bool explodiert;
    float energie0, energie1;
  } cases[] = {
      {"nothing in the way: it flies on", false, 1, false, false, false, false, 0, 0, false, 100, 100},
      {"the scenery stops it and spares the ship", true, 0, true, false, false, false, 0, 0, true, 100, 100},
      {"a ship: it loses a tenth", false, 0, true, false, false, false, 0, 0, true, 99.9f, 100},
      {"two ships: only the first is hurt", false, 1, true, true, false, false, 0, 0, true, 99.9f, 100},
      {"player two's ship in a one-player game is not there", false, 0, false, true, false, false, 0, 0, false, 100,
       100},
      {"the satellite", false, 0, false, false, true, true, 0, 0, true, 100, 100},
      {"a satellite that is not there", false, 0, false, false, true, false, 0, 0, false, 100, 100},
      {"an owned guard pod", false, 0, false, false, false, false, -1, VBTrue, true, 100, 100},
      {"a guard pod nobody owns", false, 0, false, false, false, false, -1, VBFalse, false, 100, 100},
      {"an armed pod lets it pass", false, 0, false, false, false, false, 3, VBTrue, false, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    ResetLandscape();
    Pods = {};
    LetzterSpieler = c.spieler;
    // The box's centre is (220, 210); straight down, frame 2 puts the piece's 8 x 8 picture
    // at (220, 220).
    Gegner& g = Sterbend(0, 3, 200, 200, {Teil(block)});
    g.Typ.Parameter[3] = truemmer + 1;
    Tick();
    g.WrackTeile.fill(WrackTeil{});
    g.WrackTeile[0] = WrackTeil{.Richtung = 90, .Frame = 0, .FrameZeit = 0};
    if (c.fels) {
      Landschaft[3].Objekte[0] = LandschaftObjekt{.X = 223, .Y = 223, .Sprite = block, .Aktiv = VBTrue};
      Landschaft[3].Max = 0;
    }
    const bool weg[2] = {c.schiff0, c.schiff1};
    for (int p = 0; p < 2; ++p) {
      Spieler[p].Energie = 100;
      Schiff[p].BoxLinks = Schiff[p].BoxOben = 0, Schiff[p].BoxRechts = Schiff[p].BoxUnten = 10;
      Spieler[p].X = Spieler[p].Y = weg[p] ? 222.0f : 600.0f;
    }
    Satellit.X = Satellit.Y = c.satellit ? 200.0f : 600.0f;
    Satellit.Da = VBBool(c.satellitDa);
    Pods[2] = PodDaten{.X = 218, .Y = 218, .Besitz = c.podBesitz, .Waffe = c.podWaffe};
    Tick();
    EXPECT_EQ(g.WrackTeile[0].Richtung == 0, c.explodiert);
    EXPECT_FLOAT_EQ(Spieler[0].Energie, c.energie0);
    EXPECT_FLOAT_EQ(Spieler[1].Energie, c.energie1);
  }
}

TEST_F(EnemyDeath, TheAreaBlastHurtsShipsAndEnemiesInItsRadius) {
  struct Case {
    const char* name;
    int32_t wert;  // Parameter(11)
    float schiffX;
    int32_t tod;
    float energie, opferHP0, opferHP1;
  } cases[] = {
      // 30052: radius 5, ten damage to ships, 3 to enemies; the first part struck has 2
      // left, so 1 goes on into the next.
      {"30052: ships lose 10, the damage goes on through a part", 30052, 280, 0, 90, 99, -1},
      {"a ship clear of the radius", 30052, 350, 0, 100, 99, -1},
      {"a ship that is not alive", 30052, 280, 1, 100, 99, -1},
      {"ship damage digit 1 spares the ships", 30051, 280, 0, 100, 99, -1},
      {"digit 0 too", 30050, 280, 0, 100, 99, -1},
      {"no enemy damage", 52, 280, 0, 90, 100, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    Gegner& g = Sterbend(0, 5, 300, 200, {Teil(block)});
    g.Typ.Parameter[11] = c.wert;
    // The blast reaches from (295, 195) to (345, 225); the ship's box from (x + 5, y + 20).
    Spieler[0].X = c.schiffX, Spieler[0].Y = 190, Spieler[0].Energie = 100, Spieler[0].Tod = c.tod;
    Gegner& opfer = Sterbend(1, 0, 342, 210, {Teil(block), Teil(block)});
    opfer.Stirbt = VBFalse, opfer.Typ.HP = 50;
    opfer.Typ.Komponenten[1].HP = 2;
    for (int f = 1; f <= 15; ++f) {
      EXPECT_NE(g.Aktiv, 0) << f;
      Tick();
    }
    EXPECT_EQ(g.Aktiv, 0);
    EXPECT_FLOAT_EQ(Spieler[0].Energie, c.energie);
    EXPECT_FLOAT_EQ(opfer.Typ.Komponenten[0].HP, c.opferHP0);
    EXPECT_FLOAT_EQ(opfer.Typ.Komponenten[1].HP, c.opferHP1);
  }
}

TEST_F(EnemyDeath, ABossDarkensTheBackdropShieldsTheShipsAndMovesTheLevelToItsEnd) {
  struct Stand {
    int frame;
    bool overlay1, overlay2;
    int32_t hintergrund, levelTick;
  } staende[] = {
      {1, false, false, 3, 100},   {2, false, false, 0, 100},    {170, false, false, 0, 100},
      {171, true, false, 0, 100},  {261, false, false, 0, 100},  {291, true, true, 0, 100},
      {341, false, false, 0, 100}, {499, false, false, 0, 100},  {500, false, false, 3, 100},
      {519, false, false, 3, 100}, {520, false, false, 3, 4849}, {569, false, false, 3, 4849},
  };
  HintergrundModus = 3;
  LevelLaenge = 5000;
  LevelTick = 100;
  Gegner& g = Sterbend(0, 4, 300, 200, {Teil(block)});
  size_t n = 0;
  for (int f = 1; f <= 570; ++f) {
    Tick();
    if (f == 1) {
      EXPECT_TRUE(Spieler[0].Schild == 600 && Spieler[1].Schild == 600);
    }
    if (n < std::size(staende) && staende[n].frame == f) {
      const Stand& s = staende[n++];
      SCOPED_TRACE(testing::Message() << "frame " << f);
      EXPECT_EQ(Overlay1, s.overlay1);
      EXPECT_EQ(Overlay2, s.overlay2);
      EXPECT_EQ(HintergrundModus, s.hintergrund);
      EXPECT_EQ(LevelTick, s.levelTick);
      EXPECT_NE(g.Aktiv, 0);
    }
  }
  EXPECT_EQ(n, std::size(staende));
  EXPECT_EQ(g.Aktiv, 0);
  EXPECT_EQ(Erschuetterung, 70 + 3);  // the collapse, and the one part's burst
}

TEST_F(EnemyDeath, ABossEndsALonePlayersPowerModeOnItsFirstFrame) {
  struct Case {
    int32_t spieler;
    bool power, endet;
  } cases[] = {{0, true, true}, {1, true, false}, {0, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "players " << c.spieler + 1 << ", power mode " << c.power);
    ResetEnemies();
    LetzterSpieler = c.spieler;
    HintergrundModus = 0;  // the power mode has hidden the backdrop
    Beam[0] =
        BeamStatus{.PowerZeit = 120, .Ladung = 165, .Schaden = 2, .Fliegt = VBTrue, .Powermodus = VBBool(c.power)};
    Sterbend(0, 4, 300, 200, {Teil(block)});
    Tick();
    EXPECT_EQ(Beam[0].Powermodus != 0, c.power && !c.endet);
    EXPECT_EQ(Beam[0].PowerZeit, c.endet ? 500 : 120);
    EXPECT_EQ(Beam[0].Ladung, c.endet ? 0 : 165);
    EXPECT_NE(Beam[0].Fliegt, 0);  // the beam's own pass ends it
    // Put back on frame 1, saved and hidden again on frame 2.
    EXPECT_EQ(HintergrundModus, c.endet ? 2 : 0);
    Tick();
    EXPECT_EQ(HintergrundModus, 0);
    EXPECT_EQ(GegnerListe[0].Vari[0], c.endet ? 2 : 0);
  }
}

TEST_F(EnemyDeath, EveryBossDeathLoadsItsWarningClipsAfreshBesideAVoiceClip) {
  testsupport::TempDir dir;
  std::filesystem::create_directories(dir / "Data/Sound");
  std::vector<tools::ArchiveMember> clips;
  for (int n = 1; n <= 7; ++n)
    clips.push_back({"EndgegnerW" + std::to_string(n) + ".wav",
                     tools::EncodeWav16(std::vector<int16_t>(4000, static_cast<int16_t>(500 * n)), 1, 44100)});
  testsupport::WriteBytes(dir / "Data/Sound.vkp", tools::PackArchive(clips));
  testsupport::WriteBytes(dir / "Data/Sound/Funk.wav", tools::EncodeWav16(std::vector<int16_t>(8000, 700), 1, 44100));
  AppPfad = dir.path();
  SoundPfad = AppPfad + "Data\\Sound\\";
  auto spielt = [](int32_t nr) {
    int kopien = 0;
    for (auto& k : Sounds[static_cast<size_t>(nr)].Kopien) kopien += (k.GetStatus() & DSBSTATUS_PLAYING) != 0;
    return kopien;
  };

  SoundAn = false;
  Sterbend(0, 4, 300, 200, {Teil(block)});
  Tick();
  EXPECT_EQ(SoundsMax(), -1);  // no sound, no clips
  EXPECT_EQ(SndWarnung[4], -1);

  SoundAn = true;
  ResetEnemies();
  FunkStatus.Sound = LoadSound("", "Funk.wav", 0, 44100);  // a radio message speaks
  PlaySound(FunkStatus.Sound, 0, 0);
  for (int boss = 0; boss < 2; ++boss) {
    SCOPED_TRACE(testing::Message() << "boss " << boss + 1);
    const std::array<int32_t, 7> vorher = SndWarnung;
    Sterbend(boss, 4, 300, 200, {Teil(block)});
    Tick();
    for (int n = 0; n < 7; ++n) {
      EXPECT_EQ(SndWarnung[n], 1 + 7 * boss + n);
      EXPECT_EQ(Sounds[SndWarnung[n]].Name, "ENDGEGNERW" + std::to_string(n + 1) + ".WAV");
      EXPECT_EQ(Sounds[SndWarnung[n]].Kopien.size(), 3u);
    }
    EXPECT_EQ(spielt(SndWarnung[4]), 2);  // the rumble, two copies looped
    if (boss == 1) {
      EXPECT_EQ(spielt(vorher[4]), 0);  // the first boss's rumble no longer loops unheld
    }
    EXPECT_EQ(Sounds[FunkStatus.Sound].Name, "FUNK.WAV");
    EXPECT_EQ(spielt(FunkStatus.Sound), 1);
  }
  FunkStatus = {};
}

TEST_F(EnemyDeath, ASplitOrABeamKillFramesTheOpaqueBoxOfItsLivingParts) {
  struct Case {
    const char* name;
    int32_t art;
    int32_t teile;  // 0, or both: the large picture and the block; 1: the block is dead
    int32_t breite;
    std::array<float, 4> box;
  } cases[] = {
      // The 40 x 40 picture is opaque from (1, 1) to (38, 38), the block from (0, 0) to (3, 3).
      {"split: around both parts", 1, 2, 40, {101, 95, 52, 43}},
      {"beam kill: the same", 6, 2, 40, {101, 95, 52, 43}},
      {"a dead part does not count", 6, 1, 40, {101, 101, 37, 37}},
      {"no part left: the enemy's own box", 1, 0, 40, {100, 100, 40, 20}},
      {"no width: a line, and the streaks still end", 6, 0, 0, {100, 100, 0, 20}},
  };
  Rendern = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetEnemies();
    std::vector<Feindkomponente> teile;
    if (c.teile > 0) teile = {Teil(gross, 0, 0), Teil(block, 50, -5)};
    if (c.teile == 1) teile[1].Lebt = VBFalse;
    Gegner& g = Sterbend(0, c.art, 100, 100, teile);
    g.Typ.Width = c.breite;
    g.MX = 3, g.MY = -2;
    Tick();
    EXPECT_EQ((std::array<float, 4>{g.Vari[0], g.Vari[1], g.Vari[2], g.Vari[3]}), c.box);
    EXPECT_EQ(g.MX == 0 && g.MY == 0, c.art == 1);  // a split enemy stops where it is
    for (int f = 2; f <= 51 && g.Aktiv != 0; ++f) Tick();
    EXPECT_EQ(g.Aktiv, 0);
  }
}

TEST_F(EnemyDeath, ASplitPartsPictureIsGivenBackWholeToOtherEnemies) {
  Rendern = true;
  constexpr uint32_t kGruen = 0x30C030, kBlau = 0x3030C0;
  const int32_t quad =
      Sprite(worlddraw::Picture(16, 10, true, true, [](int, int y) { return 0xFF000000u | (y < 5 ? kGruen : kBlau); }),
             -1, true);
  const SurfaceInfo& S = Surfaces[SpriteDefs[quad].Frames[0].Surface];
  const RECT rect = S.SrcRect;
  const auto ecken = S.Vertex;
  Sterbend(0, 1, 100, 100, {Teil(quad), Teil(block, 20)});
  for (int f = 0; f < 5; ++f) Tick();
  EXPECT_TRUE(S.SrcRect.Left == rect.Left && S.SrcRect.Top == rect.Top && S.SrcRect.Right == rect.Right &&
              S.SrcRect.Bottom == rect.Bottom);
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(S.Vertex[v].tu, ecken[v].tu) << v;
    EXPECT_EQ(S.Vertex[v].tv, ecken[v].tv) << v;
  }
  // Drawn beside it, a frozen enemy with that picture shows all of it, top and bottom.
  Sterbend(1, 0, 300, 100, {Teil(quad)});
  Tick();
  EXPECT_EQ(worlddraw::Pixel(302, 101), kGruen);
  EXPECT_EQ(worlddraw::Pixel(302, 108), kBlau);
}

TEST_F(EnemyDeath, AFewDeathsHalfWayMatchTheirReferenceFrames) {
  // A hull with a cockpit, drawn as a blit and as a tinted quad.
  auto hull = [](int x, int y) -> uint32_t {
    if ((x - 24) * (x - 24) / 4 + (y - 12) * (y - 12) * 2 > 160) return 0;
    return x > 32 && y < 12 ? 0xFF60C0FF : 0xFF000000u | (0x50 + 3 * x) << 16 | (0x50 + 5 * y) << 8 | 0x40;
  };
  const int32_t rumpf = Sprite(worlddraw::Picture(48, 24, false, true, hull));
  const int32_t glas = Sprite(worlddraw::Picture(48, 24, true, true, hull), -1, true);
  struct Case {
    const char* datei;
    int32_t art, frames;
  } cases[] = {
      {"tests/world/golden/death_split_32.bmp", 1, 12},
      {"tests/world/golden/death_wreck_32.bmp", 3, 14},
      {"tests/world/golden/death_beam_kill_32.bmp", 6, 42},
      {"tests/world/golden/death_boss_flash_32.bmp", 4, 6},
  };
  Rendern = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.datei);
    ResetEnemies();
    SetRndState(77);
    std::vector<Feindkomponente> teile = {Teil(rumpf, 0, 10), Teil(glas, 60, 0), Teil(block, 50, 22)};
    teile[1].R = 1, teile[1].G = 0.5f, teile[1].B = 0.7f, teile[1].A = 0.8f;
    Gegner& g = Sterbend(0, c.art, 360, 280, teile);
    g.Typ.Width = 110, g.Typ.Height = 34;
    g.Typ.Parameter[3] = truemmer + 1;
    for (int f = 0; f < c.frames; ++f) Tick();
    EXPECT_EQ(testsupport::CompareWithGoldenBmp(c.datei, *BackBuffer, {250, 180, 570, 420}), "");
  }
}
