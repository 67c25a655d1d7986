// The weather: how the rain count chooses between drops and sheets, what drops splash on
// (water, living and dead ships, scenery) and when they are drawn; when the weather mode
// runs, how its particles come back when they leave the screen, the rain sound, the
// pictures loaded on first use, and a reference frame of each.
#include "world/weather.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "lib/archive_writer.hpp"
#include "lib/media_writer.hpp"
#include "platform/fs.hpp"
#include "player/players_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/support.hpp"
#include "weather_support.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace {

using worlddraw::Pixel;

// A 256-pixel tile of round flakes (`dichte` of them), black around them.
uint32_t Flocken(int x, int y, int dichte, uint32_t farbe) {
  for (int k = 0; k < dichte; ++k) {
    uint32_t h = static_cast<uint32_t>(k + 1) * 0x9E3779B9u;
    h = (h ^ h >> 16) * 0x85EBCA6Bu;
    h = (h ^ h >> 13) * 0xC2B2AE35u;
    const int fx = static_cast<int>(h >> 24), fy = static_cast<int>(h >> 8 & 255);
    const int dx = std::min(std::abs(x - fx), 256 - std::abs(x - fx));
    const int dy = std::min(std::abs(y - fy), 256 - std::abs(y - fy));
    if (dx * dx + dy * dy <= 5) return farbe;
  }
  return 0xFF000000u;
}

// Streaks leaning left, as the sheets fall.
uint32_t Striche(int x, int y) {
  const int u = (x + y / 2) % 32, v = (y + x * 3) % 64;
  return u < 2 && v < 30 ? 0xFF8090B0u : 0xFF000000u;
}

int32_t Zahl(const std::vector<RegenTropfen>& t, bool (*wie)(const RegenTropfen&)) {
  int32_t n = 0;
  for (const RegenTropfen& d : t) n += wie(d);
  return n;
}

int32_t Spritzer() {
  int32_t n = 0;
  for (int32_t k = 0; k <= Partikel[0].Max; ++k) n += Partikel[0][k].Aktiv != 0;
  return n;
}

class Weather : public ::testing::Test {
 protected:
  testsupport::TempDataFolder daten;  // for the game's log
  void SetUp() override {
    testsupport::FreshState();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    TexBalken = worlddraw::Solid(16, 8, 0xFFFFFFFF, true);
    TexFeuer[0] = worlddraw::Picture(
        64, 64, true, false,
        [](int x, int y) {
          const float r = std::min(1.0f, std::hypot(x - 31.5f, y - 31.5f) / 32);
          return static_cast<uint32_t>((1 - r) * 255) << 24 | 0xFFC080u;
        },
        platform::PixelFormat::ARGB8888, true);
    SetRndState(4242);
    SoundAn = false;
    HintergrundModus = 1;
    Wasserstand = 0;
    Wetter = 0;
    WetterInit = true;
    Windphase = 0;
    LetzterSpieler = 0;
    for (int p = 0; p < 2; ++p) {
      Spieler[p] = SpielerDaten{};
      Spieler[p].X = 300 + 200.0f * p;
      Spieler[p].Y = -500;  // out of the rain
      Schiff[p].BoxLinks = 8, Schiff[p].BoxOben = 16, Schiff[p].BoxRechts = 56, Schiff[p].BoxUnten = 48;
    }
  }
  void TearDown() override {
    worlddraw::CloseDisplay();
    SpriteDefs.clear();
    RegenAnzahl = 0;
    testsupport::FreshState();
    SoundAn = true;
  }
  // The three weather pictures painted here, so nothing is loaded.
  static void Bilder() {
    for (int l = 0; l < 3; ++l) {
      TexWetter[l] = worlddraw::Picture(256, 256, true, true, [l](int x, int y) {
        return Flocken(x, y, 24 + 12 * l, l == 0 ? 0xFFFFFFFFu : 0xFFB0B8C8u);
      });
      SetUpColor(TexWetter[l], 1, 1, 1, 0.8f);
    }
  }
  // `n` ticks of the raindrops and the weather, as the game loop runs them.
  static void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      RenderStart();
      if (RegenAnzahl > 0) SpielRegen();
      SpielSchnee();
      RenderEnd();
    }
  }
  // One drop, alone in the array, placed where a case wants it.
  static void Tropfen(float x, float y, float sx, float sy) {
    RegenAnzahl = 0;
    Regentropfen.assign(1, RegenTropfen{x, y, sx, sy});
  }
};

}  // namespace

TEST_F(Weather, TheRainCountChoosesDropsOrSheets) {
  struct Fall {
    int32_t anzahl;
    int32_t tropfen;  // drops falling after one tick
    int32_t wetter;
  } faelle[] = {
      {0, 1, 0},    {1, 2, 0}, {499, 500, 0}, {500, 0, 3}, {100000, 0, 3}, {2147483647, 0, 3},
      {-1, 0, 0}, {-2147483647 - 1, 0, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.anzahl);
    RegenAnzahl = f.anzahl;
    ResetRaindrops();
    Wetter = 0;
    RenderStart();
    SpielRegen();
    RenderEnd();
    EXPECT_LE(Regentropfen.size(), 500u);
    EXPECT_EQ(Zahl(Regentropfen, [](const RegenTropfen& t) { return t.X != 0; }), f.tropfen);
    EXPECT_EQ(Wetter, f.wetter);
  }
  // A count raised after the drops were made moves only the drops there are.
  RegenAnzahl = 5;
  ResetRaindrops();
  RegenAnzahl = 499;
  Rendern = false;  // the drops alone
  SpielRegen();
  EXPECT_EQ(Zahl(Regentropfen, [](const RegenTropfen& t) { return t.X != 0; }), 6);
}

TEST_F(Weather, DropsSplashOnWaterShipsDeadOrAliveAndScenery) {
  struct Fall {
    const char* name;
    RegenTropfen tropfen;
    std::function<void()> setzen;
    int32_t spritzer;  // 7 when it splashed
    bool neu;          // restarted above the screen
  };
  auto wasser = [](int32_t w) { return [w] { Wasserstand = w; }; };
  auto schiff = [](int p, float x, float y, int32_t tod = 0, int32_t letzter = 0) {
    return [=] {
      Spieler[p].X = x;
      Spieler[p].Y = y;
      Spieler[p].Tod = tod;
      LetzterSpieler = letzter;
    };
  };
  auto nichts = [] {};
  // Ship at (300, 200): box 308..356 x 216..248.
  const std::vector<Fall> faelle = {
      {"falling freely", {400, 100, 0, 10}, nichts, 0, false},
      {"5 above the water at 100", {400, 435, 0, 10}, wasser(100), 0, false},
      {"into the water at 100", {400, 436, 0, 10}, wasser(100), 7, true},
      {"no water: the bottom edge less 5", {400, 536, 0, 10}, nichts, 7, true},
      {"out below the play area: no splash", {400, 541, 0, 10}, nichts, 0, true},
      {"out left", {0.2f, 100, -0.5f, 10}, nichts, 0, true},
      {"out right", {800, 100, 0.5f, 10}, nichts, 0, true},
      {"ship: above its box", {330, 190, 0, 10}, schiff(0, 300, 200), 0, false},
      {"ship: top of the box 15 below the drop's top", {330, 192, 0, 10}, schiff(0, 300, 200), 7, true},
      {"dead ship", {330, 192, 0, 10}, schiff(0, 300, 200, 60), 7, true},
      {"ship: right edge", {356, 220, 0, 10}, schiff(0, 300, 200), 7, true},
      {"ship: past the right edge", {356.5f, 220, 0, 10}, schiff(0, 300, 200), 0, false},
      {"ship: the left edge against x + drift", {308, 220, 0, 10}, schiff(0, 300, 200), 0, false},
      {"ship: drifting past the left edge", {308, 220, 0.5f, 10}, schiff(0, 300, 200), 7, true},
      {"second ship, two players", {330, 192, 0, 10}, schiff(1, 300, 200, 0, 1), 7, true},
      {"scenery below", {400, 280, 0.5f, 10}, [] { weathertest::Fels(0, weathertest::Block(50, 50), 380, 300); }, 7,
       true},
      {"scenery further down", {400, 270, 0.5f, 10}, [] { weathertest::Fels(0, weathertest::Block(50, 50), 380, 300); },
       0, false},
      {"background mode 0: restarted without sparks", {400, 536, 0, 10}, [] { HintergrundModus = 0; }, 0, true},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Wasserstand = 0;
    HintergrundModus = 1;
    LetzterSpieler = 0;
    for (int p = 0; p < 2; ++p) Spieler[p].Y = -500;
    Landschaft[3].Reset();
    Partikel[0].Reset();
    f.setzen();
    Tropfen(f.tropfen.X, f.tropfen.Y, f.tropfen.SX, f.tropfen.SY);
    RenderStart();
    SpielRegen();
    RenderEnd();
    EXPECT_EQ(Spritzer(), f.spritzer);
    const RegenTropfen& t = Regentropfen[0];
    EXPECT_EQ(t.Y == -15, f.neu) << t.Y;
    if (!f.neu) {
      EXPECT_EQ(std::vector<float>({t.X, t.Y}), std::vector<float>({f.tropfen.X + f.tropfen.SX, f.tropfen.Y + 10}));
    }
    for (int32_t k = 0; k <= Partikel[0].Max; ++k) {
      const PartikelDaten& p = Partikel[0][k];
      EXPECT_EQ(std::vector<float>({p.X, p.Y, p.DY}),
                std::vector<float>({f.tropfen.X + 2 * f.tropfen.SX, f.tropfen.Y + 10 + 9, -2}));
      EXPECT_TRUE(p.DX == -1 || p.DX == 0 || p.DX == 1);
    }
  }
  SpriteDefs.clear();
  Landschaft[3].Reset();
}

TEST_F(Weather, DropsAreDrawnOnDrawnFramesInBackgroundModes1AndUp) {
  struct Fall {
    bool rendern;
    int32_t modus;
    bool sichtbar;
  } faelle[] = {{true, 1, true}, {true, 6, true}, {false, 1, false}, {true, 0, false}, {true, -1, false}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << f.modus << (f.rendern ? " drawn" : " skipped"));
    BackBuffer->BltColorFill(nullptr, 0);
    Tropfen(400, 100, 0, 10);
    Rendern = f.rendern;
    HintergrundModus = f.modus;
    RenderStart();
    SpielRegen();
    RenderEnd();
    Rendern = true;
    EXPECT_EQ(Regentropfen[0].Y, 110);  // it falls all the same
    // A 4 x 19 streak of white at a fifth: 51 on black.
    EXPECT_EQ(Pixel(400, 120), f.sichtbar ? 0x333333u : 0u);
    EXPECT_EQ(Pixel(400, 108), 0u);
    EXPECT_EQ(Pixel(405, 120), 0u);
  }
}

TEST_F(Weather, TheWeatherRunsOnlyInAModeAndOverABackgroundOfMode1OrMore) {
  struct Fall {
    int32_t wetter, modus;
    bool wind, teile;
  } faelle[] = {
      {0, 1, false, false}, {1, 0, false, false}, {1, -2, false, false}, {-1, 1, false, false},
      {1, 1, true, true},   {2, 6, true, true},   {3, 2, true, true},    {4, 1, true, false},
  };
  Bilder();
  for (const Fall& f : faelle) {
    SCOPED_TRACE(testing::Message() << "weather " << f.wetter << " over " << f.modus);
    Wetter = f.wetter;
    HintergrundModus = f.modus;
    WetterInit = true;
    WetterTeile.fill({1, 2, 3, 4});
    const float phase = Windphase;
    Ticks(1);
    EXPECT_EQ(Windphase != phase, f.wind);
    EXPECT_EQ(WetterTeile[0].X != 1, f.teile);
    EXPECT_EQ(WetterInit, !f.teile);
  }
}

TEST_F(Weather, ParticlesLeavingTheScreenComeBackOnTheOtherSide) {
  Bilder();
  struct Fall {
    const char* name;
    int32_t wetter;
    int k;  // 3 * j + l
    WetterTeil vorher;
    std::function<WetterTeil(float w)> nachher;
  } faelle[] = {
      {"snow below the screen returns one screen up in its column", 1, 3 * 7 + 1, {100, 770, 9, 9},
       [](float w) { return WetterTeil{512 - 2 - w, 770 - 1024 + 4.5f, -2, 4.5f}; }},
      {"haze past its left edge comes in on the right", 2, 3 * 4 + 2, {-341, 100, -7, 0}, nullptr},
      {"sheet at 1024 wraps left", 3, 3 * 2, {1024, 10, -7, 7},
       [](float) { return WetterTeil{1024 - 1280 - 7, 17, -7, 7}; }},
      {"sheet below the screen returns up with its speed", 3, 3 * 2 + 1, {100, 768, 0, 0},
       [](float w) { return WetterTeil{100 - 3 - w, 768 - 1024 + 9, -3, 9}; }},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    Wetter = f.wetter;
    WetterInit = false;
    WetterTeile[static_cast<size_t>(f.k)] = f.vorher;
    Ticks(1);
    const WetterTeil& t = WetterTeile[static_cast<size_t>(f.k)];
    if (f.nachher) {
      const WetterTeil e = f.nachher(SinusB(CLng(Windphase)));
      EXPECT_EQ(std::vector<float>({t.X, t.Y, t.SX, t.SY}), std::vector<float>({e.X, e.Y, e.SX, e.SY}));
    } else {
      EXPECT_EQ(t.X, 800 + t.SX);
      EXPECT_TRUE(t.SX > -15 && t.SX <= -5);
    }
  }
}

TEST_F(Weather, RainSheetsKeepTheRainSoundLooping) {
  Bilder();
  SndRain = weathertest::Klang();
  struct Schritt {
    const char* name;
    bool an;
    std::function<void()> vorher;
    bool klang;
  } schritte[] = {
      {"sound off", false, [] {}, false},
      {"sound on: it starts", true, [] {}, true},
      {"it keeps going", true, [] {}, true},
      {"stopped from outside, it starts again", true, [] { StopSound(SndRain); }, true},
      {"played once by something else, it loops again", true, [] { PlaySound(SndRain, 0, 0); }, true},
  };
  Wetter = 3;
  for (const Schritt& s : schritte) {
    SCOPED_TRACE(s.name);
    SoundAn = s.an;
    s.vorher();
    Ticks(1);
    EXPECT_EQ(weathertest::Schleife(SndRain), s.klang);
  }
  Soundclear();
  SndRain = -1;
}

TEST_F(Weather, PicturesAreLoadedOnFirstUseFromTheGameArchive) {
  testsupport::TempDir app;
  AppPfad = app.path();
  std::filesystem::create_directories(app / "Data");
  std::vector<tools::ArchiveMember> m;
  for (const char* name : {"Schnee1.bmp", "Schnee2.bmp", "Schnee3.bmp", "Regen1.bmp", "Other.bmp"}) {
    tools::Image bild(32, 32, 0x102030);
    bild.at(5, 5) = 0xFFFFFF;
    m.push_back({name, tools::EncodeBmp24(bild)});
  }
  testsupport::WriteBytes(app / "Data/Spiel.vkp", tools::PackArchive(m));
  struct Fall {
    int32_t wetter;
    std::array<const char*, 3> namen;
    uint32_t alpha;
  } faelle[] = {
      {1, {"SCHNEE1.BMP", "SCHNEE2.BMP", "SCHNEE3.BMP"}, 204},
      {3, {"REGEN1.BMP", "REGEN1.BMP", "REGEN1.BMP"}, 102},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.wetter);
    TexWetter.fill(-1);
    Wetter = f.wetter;
    WetterInit = true;
    Ticks(1);
    for (int k = 0; k < 3; ++k) {
      ASSERT_GE(TexWetter[k], 0);
      const SurfaceInfo& s = Surfaces[static_cast<size_t>(TexWetter[k])];
      EXPECT_TRUE(s.Name.ends_with(f.namen[k])) << s.Name;
      EXPECT_TRUE(s.D3DSprite);
      EXPECT_EQ(static_cast<uint32_t>(s.Vertex[0].color) >> 24, f.alpha);
    }
    // Loaded once: asked again, the pictures stay what they are.
    const int32_t eintraege = SurfacesMax();
    WetterInit = true;
    Ticks(1);
    EXPECT_EQ(SurfacesMax(), eintraege);
    EXPECT_FALSE(std::filesystem::exists(GetTempFolder() + "Harvo/Spiel.vkpdir"));
  }
  // The demo data's tiles: 256 pixels square, so that the 256-pixel grid joins them.
  // (The unpack folder is the same, so the pictures loaded above would be found by name.)
  AppPfad = platform::fs::ProgramFolder();
  for (int32_t wetter : {1, 3}) {
    Surfaces.clear();
    TexWetter.fill(-1);
    Wetter = wetter;
    WetterInit = true;
    Ticks(1);
    for (int32_t nr : TexWetter) {
      ASSERT_GE(nr, 0);
      EXPECT_EQ(std::vector<int>({Surfaces[nr].Width, Surfaces[nr].Height}), std::vector<int>({256, 256})) << wetter;
    }
  }
  AppPfad.clear();
}

TEST_F(Weather, ModesMatchTheirReferenceFrames) {
  struct Fall {
    const char* name;
    int32_t wetter, regen, ticks;
  } faelle[] = {{"snow", 1, 0, 40}, {"haze", 2, 0, 40}, {"rain_sheets", 3, 0, 40}, {"raindrops", 0, 300, 40}};
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.name);
    worlddraw::CloseDisplay();
    testsupport::FreshState();
    SetUp();
    for (int l = 0; l < 3; ++l) {
      TexWetter[l] = worlddraw::Picture(256, 256, true, true, [l, &f](int x, int y) {
        return f.wetter == 3 ? Striche(x + 40 * l, y) : Flocken(x, y, 24 + 12 * l, l == 0 ? 0xFFFFFFFFu : 0xFFB0B8C8u);
      });
      SetUpColor(TexWetter[l], 1, 1, 1, f.wetter == 3 ? 0.4f : 0.8f);
    }
    Wetter = f.wetter;
    RegenAnzahl = f.regen;
    ResetRaindrops();
    Wasserstand = 120;
    for (int i = 0; i < f.ticks; ++i) {
      // A dark evening sky under the weather, drawn anew each frame.
      for (int y = 0; y < 600; y += 50) {
        const platform::Rect r{0, y, 800, y + 50};
        BackBuffer->BltColorFill(&r, platform::PackPixel(BackBuffer->Format(), 10, 16 + y / 20, 40 + y / 10));
      }
      Ticks(1);
    }
    EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/world/golden/weather_" + std::string(f.name) + "_32.bmp",
                                                *BackBuffer, {200, 250, 400, 400}),
              "");
  }
}
