// Shot generators and enemy shots: salvo timing, muzzles, owners, bursts, aiming, removal
// at the screen's bounds, ship hits, shock waves, fade-in, afterimage opacities, and a
// reference frame of shots with afterimages and ribbons.
#include "world/enemy_shots.hpp"

#include <gtest/gtest.h>

#include <array>

#include <cmath>
#include <string>
#include <vector>

#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "world/enemies_state.hpp"
#include "world/pictures_state.hpp"
#include "world/upcalls.hpp"

namespace {

std::vector<std::pair<int32_t, float>> gTreffer;  // (player, damage) per hit

// One frame of the shots, noting the energy each ship lost; a ship left below 0 is then
// destroyed, as the ships' own step does later in the frame.
void ShotFrame() {
  std::array<float, 2> vorher{Spieler[0].Energie, Spieler[1].Energie};
  SpielMoveGegnerS();
  for (int32_t p = 0; p < 2; ++p) {
    SpielerDaten& s = Spieler[static_cast<size_t>(p)];
    if (s.Energie < vorher[static_cast<size_t>(p)]) gTreffer.emplace_back(p, vorher[static_cast<size_t>(p)] - s.Energie);
    if (s.Energie < 0) s.Tod = 1;
  }
}

ErzeugerSalve E(int32_t delay, int32_t n, int32_t abstand, int32_t typ = 0) {
  return {.Verzoegerung = delay, .Anzahl = n, .Abstand = abstand, .SchussTyp = typ};
}

// A surface-table entry without pixels: its rectangle and size are all the logic reads.
int32_t Flaeche(RECT src, int16_t w = 0, int16_t h = 0) {
  Surfaces.emplace_back();
  Surfaces.back().SrcRect = src;
  Surfaces.back().Width = w;
  Surfaces.back().Height = h;
  return SurfacesMax();
}
int32_t SpriteMit(std::vector<int32_t> bilder) {
  SpriteDef d;
  for (int32_t b : bilder) d.Frames.push_back(SpriteFrame{.Surface = b});
  SpriteDefs.push_back(d);
  return SpriteDefsMax();
}

class EnemyShots : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    FreeLevelCatalogues();
    Surfaces.clear();
    FillSinTables();
    SoundAn = false;
    Rendern = false;
    LetzterSpieler = 0;
    for (SpielerDaten& s : Spieler) s.X = s.Y = -1000;
    SchussTypen.assign(1, SchussTypDaten{});
    gTreffer.clear();
  }
  void TearDown() override {
    worlddraw::CloseDisplay();
    TexGSchuss = {-1, -1};
    Schiff = {};
    Satellit = {};
    FreeLevelCatalogues();
    Rendern = true;
    SoundAn = true;
    testsupport::FreshState();
  }
  // Generator definition 0 with these entries; every other catalogue entry stays.
  static void Definition(std::vector<ErzeugerSalve> salven, int16_t turm = 0) {
    ErzeugerTypen.assign(1, ErzeugerTypDaten{.Drehturm = turm, .Salven = std::move(salven)});
  }
  static GegnerSchussDaten& Schuss(int32_t k = 0) { return GegnerSchuesse[k]; }
  static bool Da(int32_t k = 0) { return GegnerSchuesse[k].Aktiv != VBFalse; }
};

}  // namespace

TEST_F(EnemyShots, SalvosFireAfterTheirDelayAtTheirIntervalAndTheGeneratorEndsWithTheLast) {
  struct Neu {
    int frame, eintrag, id;
    bool operator==(const Neu&) const = default;
  };
  struct Fall {
    const char* name;
    std::vector<ErzeugerSalve> salven;
    std::vector<Neu> schuesse;
    int ende;  // the frame the generator is gone after, 0 never
  } faelle[] = {
      {"three shots 5 apart", {E(0, 2, 5)}, {{1, 0, 0}, {6, 0, 1}, {11, 0, 2}}, 11},
      {"delay 3", {E(3, 0, 9)}, {{4, 0, 0}}, 4},
      {"interval 0 fires all at once", {E(0, 3, 0)}, {{1, 0, 0}, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}}, 1},
      {"the generator waits for its last entry", {E(0, 0, 0), E(2, 1, 3)}, {{1, 0, 0}, {3, 1, 1}, {6, 1, 2}}, 6},
      {"an entry without shots counts as used up", {E(0, -1, 0), E(1, 0, 0)}, {{2, 1, 0}}, 2},
      {"only entries without shots: it never ends", {E(0, -1, 0)}, {}, 0},
      {"no entries: it never ends", {}, {}, 0},
      {"a twelfth entry is never run", std::vector<ErzeugerSalve>(12, E(0, 0, 0)),
       {{1, 0, 0}, {1, 1, 1}, {1, 2, 2}, {1, 3, 3}, {1, 4, 4}, {1, 5, 5}, {1, 6, 6}, {1, 7, 7}, {1, 8, 8},
        {1, 9, 9}, {1, 10, 10}},
       1},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    ResetEnemyShots();
    Definition(f.salven);
    AddGegnerSchussErzeuger(0, 400, 300, VBTrue, 1);
    std::vector<Neu> schuesse;
    int ende = 0;
    for (int frame = 1; frame <= 20; ++frame) {
      const int32_t vorher = GegnerSchuesse.Max;
      SpielGegnerSchussErzeugen();
      for (int32_t k = vorher + 1; k <= GegnerSchuesse.Max; ++k)
        schuesse.push_back({frame, Schuss(k).NRK, Schuss(k).ID});
      if (ende == 0 && SchussErzeuger[0].Aktiv == VBFalse) ende = frame;
    }
    EXPECT_EQ(schuesse, f.schuesse);
    EXPECT_EQ(ende, f.ende);
  }
}

TEST_F(EnemyShots, AShotStartsAtItsMuzzleAndABoundGeneratorEndsWithItsComponent) {
  // A component 30 x 20 on screen (its picture 40 x 24) at (100, 50) + (10, 20).
  const int32_t sprite = SpriteMit({Flaeche({0, 0, 1, 1}), Flaeche({5, 7, 35, 27}, 40, 24)});
  Gegner& g = GegnerListe[2];
  g.Aktiv = VBTrue, g.X = 100, g.Y = 50;
  g.Typ.Komponenten.assign(2,
                           Feindkomponente{.OffsetX = 10, .OffsetY = 20, .Sprite = sprite, .AniA = 1, .Lebt = VBTrue});
  struct Fall {
    bool frei;
    int16_t turm;
    float winkel, mx, my;
  } faelle[] = {{true, -1, 90, 410, 295}, {false, 0, 90, 135, 75}, {false, -1, 0, 115, 75},
                {false, -1, 89.6f, 135, 63}, {false, -1, 180, 155, 75}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.winkel);
    ResetEnemyShots();
    ErzeugerSalve e = E(0, 1, 1);
    e.OffsetX = 10, e.OffsetY = -5;
    Definition({e}, f.turm);
    g.Typ.Komponenten[1].Drehung = f.winkel;
    g.Typ.Komponenten[1].Lebt = VBTrue;
    AddGegnerSchussErzeuger(0, f.frei ? 400 : 2, f.frei ? 300 : 1, VBBool(f.frei), 0);
    SpielGegnerSchussErzeugen();
    EXPECT_EQ(Schuss().X + 8, f.mx);  // the standard shot is centred on it
    EXPECT_EQ(Schuss().Y + 8, f.my);
    g.Typ.Komponenten[1].Lebt = VBFalse;  // only the free-standing one fires again
    SpielGegnerSchussErzeugen();
    EXPECT_EQ(GegnerSchuesse.Max, f.frei ? 1 : 0);
    EXPECT_EQ(SchussErzeuger.Max, -1);  // used up, or its component is gone
  }
  ResetEnemyShots();
  for (int i = 0; i < 52; ++i) AddGegnerSchussErzeuger(0, i, 0, VBTrue, 0);
  EXPECT_EQ(SchussErzeuger.Max, 50);
  EXPECT_EQ(SchussErzeuger[50].X, 50);
  // A definition that does not exist, a bound generator without an enemy slot.
  ResetEnemyShots();
  for (auto [nr, feind] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 101}})
    AddGegnerSchussErzeuger(nr, feind, 0, VBFalse, 0);
  EXPECT_EQ(SchussErzeuger.Max, -1);
}

TEST_F(EnemyShots, ARoutedShotWhoseRouteEndsBurstsIntoAGeneratorAtItsCentre) {
  Routen.assign(1, Route{});  // ends at once
  const int32_t sprite = SpriteMit({Flaeche({0, 0, 10, 6})});
  SchussTypen.push_back(SchussTypDaten{.Aussehen = 1, .Sprite = sprite});
  for (int32_t platzt : {1, 0, 2}) {
    SCOPED_TRACE(platzt);
    ResetEnemyShots();
    ErzeugerSalve e = E(0, 0, 0, 1);
    e.RouteNr = 0, e.Platzt = platzt, e.PlatztErzeuger = 1;
    ErzeugerTypen = {ErzeugerTypDaten{.Salven = {e}}, ErzeugerTypDaten{.Salven = {E(0, 2, 0)}}};
    AddGegnerS(0, 0, 0, 100.5f, 200, 1);  // at (95.5, 197), its centre (100.5, 200)
    SpielMoveGegnerS();
    EXPECT_FALSE(Da());
    if (platzt != 1) {
      EXPECT_EQ(SchussErzeuger.Max, -1);
      continue;
    }
    ASSERT_EQ(SchussErzeuger.Max, 0);
    const SchussErzeugerDaten& z = SchussErzeuger[0];
    EXPECT_EQ(z.Nr, 1);
    EXPECT_EQ(z.FeindNR, -1);
    EXPECT_EQ(z.X, 100);  // rounded half to even
    EXPECT_EQ(z.Y, 200);
    EXPECT_EQ(z.VeskNr, 1);
    SpielGegnerSchussErzeugen();
    EXPECT_EQ(GegnerSchuesse.Max, 2);
    EXPECT_EQ(Schuss(2).X, 92);
  }
}

TEST_F(EnemyShots, AnAimedShotTakesItsDirectionWhenItIsMade) {
  ErzeugerSalve e = E(0, 0, 0);
  e.Gezielt = VBTrue, e.Speed = 5;
  Definition({e});
  // Ship type 0 is aimed at its middle; type 1 at a random height, and beside the
  // satellite in front (1), behind (2) or anywhere across (else).
  for (auto [typ, satellit] : {std::pair{0, 0}, {1, 1}, {1, 2}, {1, 3}}) {
    ResetEnemyShots();
    LetzterSpieler = 1;
    Spieler[1].X = 100, Spieler[1].Y = 269;
    Schiff[1].Typ = typ, Satellit.Zustand = satellit;
    SetRndState(4711);
    const float r1 = Rnd(), r2 = Rnd();
    SetRndState(4711);
    const float zy = typ == 0 ? 300 : static_cast<float>(CLng(269 + r1 * 64.0f));
    const float zx = typ == 0        ? 128
                     : satellit == 1 ? 100
                     : satellit == 2 ? 164
                                     : static_cast<float>(CLng(100 + r2 * 64.0f));
    AddGegnerS(0, 0, 0, 400, 300, 1);
    GegnerSchussDaten& s = Schuss();
    EXPECT_EQ(std::pair(s.X, s.Y), std::pair(392.0f, 292.0f));
    EXPECT_NEAR(std::hypot(s.MX, s.MY), 5, 1e-4);
    EXPECT_NEAR(std::atan2(s.MY, s.MX), std::atan2(zy - 292, zx - 392), 1e-5) << typ << satellit;
    const float mx = s.MX, my = s.MY;
    Spieler[1].X = 700, Spieler[1].Y = 0;
    SpielMoveGegnerS();
    EXPECT_EQ(std::pair(s.MX, s.MY), std::pair(mx, my));
    EXPECT_EQ(s.X, 392 + mx);
  }
}

TEST_F(EnemyShots, AShotLeavesAtTheScreensBoundsARoutedOneOnlyWhenItsEntrySaysSo) {
  Routen.assign(1, Route{.Befehle = {RoutenBefehl{5, {1000}, {0}}}});  // waits
  struct Fall {
    float x, y;
    int32_t route;
    int16_t randWeg;
    bool bleibt;
  } faelle[] = {
      {850, 300, -1, 0, true},  {851, 300, -1, 0, false}, {-66, 300, -1, 0, true},    // 16 wide
      {-66.5f, 300, -1, 0, false}, {100, 600, -1, 0, true}, {100, 600.5f, -1, 0, false}, {100, -66, -1, 0, true},
      {100, -67, -1, 0, false}, {2000, -900, 0, 0, true}, {851, 300, 0, -1, false},  {850, 300, 0, -1, true},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.x << ", " << f.y << " route " << f.route);
    ResetEnemyShots();
    ErzeugerSalve e = E(0, 0, 0);
    e.RouteNr = f.route, e.RandWeg = f.randWeg;
    Definition({e});
    AddGegnerS(0, 0, 0, 0, 0, 0);
    Schuss().X = f.x, Schuss().Y = f.y;
    SpielMoveGegnerS();
    EXPECT_EQ(Da(), f.bleibt);
  }
}

TEST_F(EnemyShots, AShotHitsLivingShipsAndIsUsedUpUnlessItPiercesOrTheShipIsDestroyed) {
  const int32_t gross = SpriteMit({Flaeche({0, 0, 24, 24})});
  SchussTypen.push_back(SchussTypDaten{.BoxRight = 24, .BoxBottom = 24, .Aussehen = 1, .Sprite = gross});
  // Both ships at (300, 300): their bodies are (305, 320) to (360, 345).
  struct Fall {
    const char* name;
    float x, y;
    int16_t durch;
    int32_t energie, tod, typ;
    std::vector<int32_t> treffer;  // the ships hit in three frames, in order
    bool bleibt;
  } faelle[] = {
      {"used up by the first ship", 320, 325, 0, 100, 0, 0, {0}, false},
      {"piercing", 320, 325, -1, 100, 0, 0, {0, 1, 0, 1, 0, 1}, true},
      {"destroying both ships", 320, 325, 0, 5, 0, 0, {0, 1}, true},
      {"at destroyed ships", 320, 325, 0, 100, 1, 0, {}, true},
      {"touching on the right", 360, 325, 0, 100, 0, 0, {}, true},
      {"touching on the top", 320, 304, 0, 100, 0, 0, {}, true},
      {"big: it shakes the screen", 320, 325, 0, 100, 0, 1, {0}, false},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    ResetEnemyShots();
    gTreffer.clear();
    Erschuetterung = 0;
    LetzterSpieler = 1;
    for (SpielerDaten& s : Spieler) s.X = 300, s.Y = 300, s.Energie = static_cast<float>(f.energie), s.Tod = f.tod;
    ErzeugerSalve e = E(0, 0, 0, f.typ);
    e.HP = 10, e.Durchschlag = f.durch;
    Definition({e});
    AddGegnerS(0, 0, 0, 0, 0, 0);
    Schuss().X = f.x, Schuss().Y = f.y;
    for (int i = 0; i < 3; ++i) ShotFrame();
    std::vector<std::pair<int32_t, float>> soll;
    for (int32_t p : f.treffer) soll.emplace_back(p, 10.0f);
    EXPECT_EQ(gTreffer, soll);
    EXPECT_EQ(Da(), f.bleibt);
    EXPECT_EQ(Erschuetterung, f.typ);  // a shot 20 pixels or more shakes, a smaller one flashes
  }
}

TEST_F(EnemyShots, AShockWaveGrowsPushesShipsOutwardsAndEnds) {
  Schiff[0].BoxLinks = 10, Schiff[0].BoxOben = 20, Schiff[0].BoxRechts = 50, Schiff[0].BoxUnten = 40;
  Spieler[0].X = 520, Spieler[0].Y = 270;  // the box's centre 50 pixels right of the wave
  // Radii 32, 36, ... : from 52 on the ring reaches the ship, 0.1 energy a frame.
  struct Fall {
    int32_t nrk;
    int frames, stoesse;
  } faelle[] = {{20, 15, 10}, {4, 3, 0}, {1, 1, 0}, {0, 1, 0}};
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.nrk);
    ResetEnemyShots();
    gTreffer.clear();
    Spieler[0].DX = 0;
    AddGegnerS(-1, 0, c.nrk, 500, 300, 0);
    int f = 0;
    while (Da() && f < 100) {
      ShotFrame();
      const float r = static_cast<float>(32 + 4 * f++);
      EXPECT_FLOAT_EQ(Spieler[0].DX, r > 50 ? (r - 50) / 5 : 0);
    }
    EXPECT_EQ(f, c.frames);
    EXPECT_EQ(static_cast<int>(gTreffer.size()), c.stoesse);
    for (auto [p, schaden] : gTreffer) EXPECT_NEAR(schaden, 0.1f, 1e-5);
  }
}

TEST_F(EnemyShots, AShotFadesInAndItsAfterimagesFadeWithAge) {
  for (auto [einblenden, alphas] : {std::pair{0, std::vector<float>{1}}, {3, {0.25f, 0.5f, 0.75f, 1}},
                                    {1, {0.5f, 1}}, {-3, {1}}}) {
    ResetEnemyShots();
    SchussTypen[0].Einblenden = einblenden;
    Definition({E(0, 0, 0)});
    AddGegnerS(0, 0, 0, 100, 100, 0);
    for (float a : alphas) {
      SpielMoveGegnerS();
      EXPECT_EQ(Schuss().Alpha, a) << einblenden;
    }
  }
  worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
  TexGSchuss[0] = worlddraw::Solid(16, 16, 0xFFFFFFFF, true);
  TexGSchuss[1] = worlddraw::Solid(16, 16, 0xFFFF0000, true);
  for (auto [einblenden, rendern] : {std::pair{0, true}, {23, true}, {0, false}}) {
    SCOPED_TRACE(einblenden);
    ResetEnemyShots();
    SchussTypen[0] = SchussTypDaten{.Spur = 1, .Einblenden = einblenden};
    Definition({E(0, 0, 0)});
    AddGegnerS(0, 0, 0, 108, 108, 0);  // at (100, 100), 20 pixels right each frame
    Schuss().MX = 20;
    for (int i = 0; i < 12; ++i) {
      BackBuffer->BltColorFill(nullptr, 0);
      Rendern = rendern;
      RenderStart();
      SpielMoveGegnerS();
      RenderEnd();
    }
    // The afterimage k frames old is at 100 + 20 (12 - k); its opacity is (12 - k) / 12
    // of the shot's.
    const float alpha = Schuss().Alpha;
    for (int alt = 2; alt <= 10; alt += 2) {
      const int x = 100 + 20 * (12 - alt);
      EXPECT_EQ(Schuss().SpurX[static_cast<size_t>(12 - alt)], x);
      const uint32_t grau = worlddraw::Pixel(x + 8, 108);
      EXPECT_NEAR(grau & 255, rendern ? 255 * alpha * static_cast<float>(12 - alt) / 12 : 0, 1.5) << alt;
      EXPECT_EQ(grau, (grau & 255) * 0x010101u) << alt;
      EXPECT_EQ(worlddraw::Pixel(x - 2, 108), 0u);
    }
  }
}

TEST_F(EnemyShots, ShotsWithAfterimagesAndRibbonsMatchTheirReferenceFrame) {
  worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
  Rendern = true;
  auto grau = [](float v) {
    const uint32_t g = static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f);
    return 0xFF000000u | g << 16 | g << 8 | g;
  };
  // A round glow of colour (r, g, b) filling a w x h picture.
  auto glut = [](int w, int h, float r, float g, float b) {
    return [=](int x, int y) {
      const float dx = (x + 0.5f - w / 2.0f) / (w / 2.0f), dy = (y + 0.5f - h / 2.0f) / (h / 2.0f);
      const float v = std::max(0.0f, 1 - dx * dx - dy * dy);
      auto k = [v](float c) { return static_cast<uint32_t>(std::min(1.0f, c * v + v * v * 0.6f) * 255); };
      return 0xFF000000u | k(r) << 16 | k(g) << 8 | k(b);
    };
  };
  TexBalken = worlddraw::Picture(16, 8, true, true, [&](int, int y) { return grau(1 - std::abs(2 * y - 7) / 8.0f); });
  TexGSchuss[0] = worlddraw::Picture(16, 16, true, true, glut(16, 16, 1.0f, 0.35f, 0.15f));
  TexGSchuss[1] = worlddraw::Picture(16, 16, true, true, glut(16, 16, 1.0f, 0.7f, 0.4f));
  const int32_t bolzen = SpriteMit({worlddraw::Picture(24, 8, true, true, glut(24, 8, 0.3f, 0.8f, 1.0f))});
  const int32_t raute = SpriteMit({worlddraw::Picture(12, 12, false, true, [](int x, int y) {
    return std::abs(x - 5.5f) + std::abs(y - 5.5f) < 6 ? 0xFF60FF60u : 0xFF000000u;
  })});
  SchussTypen = {
      SchussTypDaten{.Spur = 1},  // the standard shot with afterimages
      SchussTypDaten{.Leuchten = -1, .Aussehen = 1, .Sprite = bolzen, .Spur = 2, .Drehen = -1, .R = 0.3f, .G = 0.8f,
                     .B = 1.0f},  // a turned bolt with a glowing ribbon
      SchussTypDaten{.Aussehen = 1, .Sprite = raute, .Spur = 1, .R = 0.4f, .G = 1.0f, .B = 0.4f},  // a blit: ribbon
      SchussTypDaten{.Leuchten = -1, .Aussehen = 1, .Sprite = bolzen, .Spur = 1, .Einblenden = 8},  // fading in
  };
  std::vector<ErzeugerSalve> salven;
  for (int32_t t = 0; t < 4; ++t) salven.push_back(E(0, 0, 0, t));
  salven[0].Gezielt = salven[1].Gezielt = VBTrue;
  salven[0].Speed = 16, salven[1].Speed = 18;
  Definition(salven);
  Spieler[0].X = 20, Spieler[0].Y = 120;  // aimed at (48, 151)
  AddGegnerS(0, 0, 0, 380, 30, 0);
  AddGegnerS(1, 0, 1, 380, 100, 0);
  AddGegnerS(2, 0, 2, 380, 60, 0);
  Schuss(2).MX = -15, Schuss(2).MY = 2;
  AddGegnerS(3, 0, 3, 380, 180, 0);
  Schuss(3).MX = -17;
  for (int i = 0; i < 14; ++i) {
    BackBuffer->BltColorFill(nullptr, 0);
    RenderStart();
    SpielMoveGegnerS();
    RenderEnd();
  }
  EXPECT_EQ(GegnerSchuesse.Max, 3);
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/enemy_shots_trails_32.bmp", *BackBuffer,
                                              {0, 0, 400, 200}),
            "");
}
