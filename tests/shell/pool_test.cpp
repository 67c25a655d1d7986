#include <gtest/gtest.h>

#include <functional>

#include "campaign/ticker_state.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "shell/pool.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"

namespace {
struct Item {
  int32_t Wert = 0;
  int16_t Aktiv = 0;
};
}  // namespace

TEST(Pool, AddsFromTheHintAndRaisesTheHighest) {
  Pool<Item, 3> p;
  EXPECT_EQ(p.Add({7, 0}), 0);
  EXPECT_EQ(p.Add({8, 0}), 1);
  EXPECT_EQ(p.Frei, 2);
  EXPECT_EQ(p.Max, 1);
  EXPECT_EQ(p[1].Wert, 8);
  EXPECT_EQ(p[1].Aktiv, VBTrue);
}

TEST(Pool, FullPoolDropsSilently) {
  Pool<Item, 2> p;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.Add({i, 0}), i);
  EXPECT_EQ(p.Add({99, 0}), -1);
  EXPECT_EQ(p.Frei, 3);
  EXPECT_EQ(p.Max, 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p[i].Wert, i);
}

TEST(Pool, KillLowersTheHintAndTheSlotIsReused) {
  Pool<Item, 5> p;
  for (int i = 0; i < 4; ++i) p.Add({i, 0});
  p.Kill(1);
  EXPECT_EQ(p.Frei, 1);
  EXPECT_EQ(p.Max, 3);
  EXPECT_EQ(p.Add({42, 0}), 1);
  EXPECT_EQ(p.Frei, 2);
}

TEST(Pool, KillingTheHighestScansDown) {
  Pool<Item, 5> p;
  for (int i = 0; i < 5; ++i) p.Add({i, 0});
  p.Kill(2);
  p.Kill(3);
  p.Kill(4);
  EXPECT_EQ(p.Max, 1);
  EXPECT_EQ(p.Frei, 2);
}

TEST(Pool, KillingTheOnlyObjectEmptiesThePool) {
  Pool<Item, 5> p;
  p.Add({1, 0});
  p.Add({2, 0});
  p.Kill(0);
  p.Kill(1);
  EXPECT_EQ(p.Max, -1);
  EXPECT_EQ(p.Frei, 0);
  Pool<Item, 5> q;
  q.Add({1, 0});
  q.Add({1, 0});
  q.Kill(1);
  EXPECT_EQ(q.Max, 0);
  EXPECT_EQ(q.Frei, 1);  // the hint stays at the killed slot
}

TEST(Pool, ResetClearsEveryFlag) {
  Pool<Item, 4> p;
  for (int i = 0; i < 5; ++i) p.Add({i, 0});
  p.Reset();
  EXPECT_EQ(p.Frei, 0);
  EXPECT_EQ(p.Max, -1);
  for (const Item& it : p.Slot) EXPECT_EQ(it.Aktiv, 0);
}

TEST(Pool, LandscapeLayersFollowTheSameScheme) {
  LandschaftEbene e;
  e.Objekte.resize(3);
  EXPECT_EQ(e.Kapazitaet(), 2);
  for (int32_t k = 0; k < 3; ++k) EXPECT_EQ(e.Claim(), k);
  EXPECT_EQ(e.Claim(), -1);
  e.Kill(2);
  e.Kill(0);
  EXPECT_EQ(e.Max, 1);
  EXPECT_EQ(e.Frei, 0);
  e.Reset();
  EXPECT_EQ(e.Max, -1);
  for (const LandschaftObjekt& o : e.Objekte) EXPECT_EQ(o.Aktiv, 0);
  // A layer without items (layer 4) takes nothing and ignores kills.
  LandschaftEbene leer;
  EXPECT_EQ(leer.Kapazitaet(), -1);
  EXPECT_EQ(leer.Claim(), -1);
  leer.Kill(0);
  EXPECT_EQ(leer.Max, -1);
}

TEST(Pool, EveryStoredBoundIsItsListsSize) {
  Route route;
  GegnerTyp typ;
  SpriteDef sprite;
  AnimaTypDaten anima;
  AnimaTeilTyp teil;
  struct Case {
    const char* name;
    std::function<void(size_t)> resize;
    std::function<int32_t()> bound;
    int32_t offset;  // bound = entries - 1 - offset
  } cases[] = {
      {"BefehleMax", [&](size_t n) { route.Befehle.resize(n); }, [&] { return route.BefehleMax(); }, 0},
      {"KomponentenMax", [&](size_t n) { typ.Komponenten.resize(n); }, [&] { return typ.KomponentenMax(); }, 0},
      {"FramesMax", [&](size_t n) { sprite.Frames.resize(n); }, [&] { return sprite.FramesMax(); }, 0},
      {"TeileMax", [&](size_t n) { anima.Teile.resize(n); }, [&] { return anima.TeileMax(); }, 0},
      // The key list holds one spare key after the last.
      {"KeysMax", [&](size_t n) { teil.Keys.resize(n); }, [&] { return teil.KeysMax(); }, 1},
      {"AnimaTypenMax", [](size_t n) { AnimaTypen.resize(n); }, [] { return AnimaTypenMax(); }, 0},
      {"RoutenMax", [](size_t n) { Routen.resize(n); }, [] { return RoutenMax(); }, 0},
      {"LevelSoundsAnzahl", [](size_t n) { LevelSounds.resize(n); }, [] { return LevelSoundsAnzahl(); }, 0},
      {"MessageHistoryMax", [](size_t n) { MessageHistory.Zeilen.resize(n); }, [] { return MessageHistoryMax(); }, 0},
      {"SurfacesMax", [](size_t n) { Surfaces.resize(n); }, [] { return SurfacesMax(); }, 0},
      {"SoundsMax", [](size_t n) { Sounds.resize(n); }, [] { return SoundsMax(); }, 0},
  };
  for (const Case& c : cases) {
    for (size_t n : {0u, 1u, 7u}) {
      c.resize(n);
      EXPECT_EQ(c.bound(), static_cast<int32_t>(n) - 1 - c.offset) << c.name << " " << n;
    }
    c.resize(0);
  }
}
