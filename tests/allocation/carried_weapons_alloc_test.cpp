// The satellite, the drones and the horn allocate nothing in play: each ship type flies a
// few hundred ticks firing, launching, recalling and dropping rockets against an enemy
// that the satellite rams and the lightning strikes, with enemy shots to swallow.
#include <gtest/gtest.h>

#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "counting_new.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/surfaces.hpp"
#include "player/drones.hpp"
#include "player/firing.hpp"
#include "player/horn.hpp"
#include "player/players.hpp"
#include "player/satellite.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/level_data_state.hpp"

using alloccount::AllocationsDuring;

namespace {

constexpr int32_t kFeuer = 30, kPod = 31, kF11 = 87;

class CarriedWeapons : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::FreshState();
    FillSinTables();
    Rendern = false;
    SoundAn = false;
    KeyConfig.KeyMap(AktionSchießen, 0, 0) = kFeuer;
    KeyConfig.KeyMap(AktionPartikelWechsel, 0, 0) = kPod;
    // A solid 64 x 64 enemy ahead of the ship, tough enough to last.
    const int32_t nr = testsupport::PaintedPicture(64, 64, platform::PixelFormat::XRGB8888, true,
                                                   [](int, int) { return 0xFFFFFFFFu; });
    SurfaceInfo& e = Surfaces[nr];
    e.RandLinks.assign(65, 0);
    e.RandRechts.assign(65, 63);
    e.LetzteZeile = e.RandMaxX = 63;
    SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = nr}}});
    Gegner& g = GegnerListe[0];
    g.Typ = GegnerTyp{.Komponenten = {Feindkomponente{.HP = 1e6f, .Sprite = 0, .Lebt = VBTrue}}};
    g.X = 300;
    g.Y = 230;
    g.Aktiv = VBTrue;
    GegnerMax = 0;
    ErzeugerTypen.assign(1, ErzeugerTypDaten{.Salven = {ErzeugerSalve{}}});  // the enemy shots' entry
  }
  void TearDown() override {
    KeyState.fill(false);
    SpriteDefs.clear();
    ErzeugerTypen.clear();
    LevelTick = 0;
    testsupport::FreshState();
  }
};

}  // namespace

TEST_F(CarriedWeapons, SatelliteDronesAndHornAllocateNothing) {
  for (int32_t typ : {1, 2}) {
    SCOPED_TRACE(typ);
    Schiff[0].Typ = typ;
    VeskReset();
    VeskPosSetup();
    Drohnen.Kette.resize(6);  // at a new game: the room the chain keeps
    Satellit.Da = VBTrue;
    Satellit.Zustand = 1;
    Satellit.Stufe = 2;
    const float hp = GegnerListe[0].Typ.Komponenten[0].HP;
    const int64_t n = AllocationsDuring([] {
      for (int t = 0; t < 400; ++t) {
        LevelTick = t;
        Spieler[0].Y = static_cast<float>(240 + 30 * SinusB(t * 4));
        KeyState[kFeuer] = t % 100 < 80;
        KeyState[kPod] = t % 60 < 2;
        KeyState[kF11] = t % 50 < 2;
        Satellit.Spezialwaffe = (t / 80) % 5;
        if (t % 20 == 0) {
          GegnerSchussDaten& s = GegnerSchuesse[GegnerSchuesse.Claim()];
          s.ID = 0;
          s.X = Satellit.X + 24;
          s.Y = Satellit.Y + 24;
          s.BoxRight = s.BoxBottom = 16;
        }
        SpielDWeapons();
        SpielSchieß();
        SpielSateliet();
        SpielHupe();
        SpielMoveSchuss(0);
        SpielMoveSchuss(1);
      }
    });
    EXPECT_EQ(n, 0);
    EXPECT_LT(GegnerListe[0].Typ.Komponenten[0].HP, hp) << "the enemy was hit";
  }
  EXPECT_LT(Drohnen.Munition[0], 30) << "rockets were dropped";
}
