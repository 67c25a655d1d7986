// Shot generators and enemy shots allocate nothing while they run: a full pool of shots
// of every kind (aimed, routed and bursting, with afterimages and ribbons) and the
// generators that keep it full, for a few hundred frames.
#include <gtest/gtest.h>

#include "counting_new.hpp"
#include "engine/surfaces.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "world/enemy_shots.hpp"
#include "world/level_data_state.hpp"

TEST(NoAllocationWhileShooting, GeneratorsAndEnemyShots) {
  testsupport::FreshState();
  Surfaces.resize(1);
  Surfaces[0].SrcRect = {0, 0, 12, 8};
  SpriteDefs.assign(1, SpriteDef{.Frames = {SpriteFrame{.Surface = 0}}});
  Routen.assign(1, Route{.Befehle = {RoutenBefehl{5, {20}, {0}}}});  // waits 20 frames, then ends
  SchussTypen = {SchussTypDaten{.Spur = 1}, SchussTypDaten{.Aussehen = 1, .Sprite = 0, .Spur = 2}};
  ErzeugerSalve gezielt{.Anzahl = 1000, .Abstand = 0, .Gezielt = -1, .Speed = 3, .SchussTyp = 0};
  ErzeugerSalve platzt{.Anzahl = 1000, .Abstand = 1, .RouteNr = 0, .Platzt = 1, .PlatztErzeuger = 1, .SchussTyp = 1};
  ErzeugerTypen = {ErzeugerTypDaten{.Salven = {gezielt, platzt}},
                   ErzeugerTypDaten{.Salven = {ErzeugerSalve{.Anzahl = 2, .SchussTyp = 0}}}};
  Rendern = false;
  SoundAn = false;  // no sounds are loaded: playing one would only log its absence
  const int64_t n = alloccount::AllocationsDuring([] {
    for (int i = 0; i < 40; ++i) AddGegnerSchussErzeuger(0, 100 + 10 * i, 300, VBTrue, 0);
    for (int frame = 0; frame < 300; ++frame) {
      SpielGegnerSchussErzeugen();
      SpielMoveGegnerS();
    }
  });
  Rendern = true;
  SoundAn = true;
  EXPECT_EQ(n, 0);
  EXPECT_EQ(GegnerSchuesse.Max, GegnerSchuesse.Kapazitaet);
  FreeLevelCatalogues();
  Surfaces.clear();
  testsupport::FreshState();
}
