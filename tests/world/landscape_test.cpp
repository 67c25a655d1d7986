// Landscape items: where an item goes by Z, the layer's sub-pixel scroll, items leaving at
// the left edge, the drawing order, and which layers are drawn when.
#include "world/landscape.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "draw_support.hpp"
#include "engine/render.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "world/weather_state.hpp"

using worlddraw::Pixel;

namespace {

std::set<int32_t> Aktive(int32_t ebene) {
  std::set<int32_t> a;
  for (int32_t k = 0; k <= Landschaft[ebene].Kapazitaet(); ++k)
    if (Landschaft[ebene].Objekte[k].Aktiv) a.insert(k);
  return a;
}

class Landscape : public worlddraw::LayerTest {
 protected:
  // A sprite of one frame: a picture `w` x `h` in one colour (none for a colour of 0).
  int32_t Sprite(uint32_t argb, bool quad = false, int w = 40, int h = 40) {
    SpriteDef s;
    s.D3DSprite = quad ? VBTrue : VBFalse;
    s.Frames = {SpriteFrame{.Bild = "x.bmp", .Surface = argb ? worlddraw::Solid(w, h, argb, quad) : -1}};
    SpriteDefs.push_back(s);
    return UBound(SpriteDefs);
  }
};

}  // namespace

TEST_F(Landscape, WhereAnItemGoesByZ) {
  struct Fall {
    const char* name;
    int32_t ebene;
    std::set<int32_t> aktiv;
    int32_t frei, z;
    int32_t slot, freiDanach, maxDanach;  // slot -1: none taken
  } faelle[] = {
      {"Z 0 takes the hint's slot", 2, {0, 1, 2}, 3, 0, 3, 4, 3},
      {"Z 0 skips an occupied slot at the hint", 2, {0, 1, 2, 3}, 1, 0, 4, 5, 4},
      {"Z 2 goes two above the top and leaves the hint", 2, {0, 1}, 2, 2, 3, 2, 3},
      {"Z -1 fills the lowest gap", 2, {0, 2, 3}, 4, -1, 1, 4, 3},
      {"Z -5 on an empty layer takes slot 0", 2, {}, 0, -5, 0, 0, 0},
      {"Z 3 above the capacity finds nothing", 2, {19}, 0, 3, -1, 0, 19},
      {"Z 0 with the hint past the capacity finds nothing", 6, {0}, 16, 0, -1, 16, 0},
      {"a full layer drops the item", 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0, 0, -1, 0, 10},
      {"layer 4 holds no items", 4, {}, 0, 0, -1, 0, -1},
  };
  for (const Fall& f : faelle) {
    testsupport::FreshState();
    LandschaftEbene& l = Landschaft[f.ebene];
    for (int32_t k : f.aktiv) l.Objekte[k].Aktiv = VBTrue;
    l.Frei = f.frei;
    l.Max = f.aktiv.empty() ? -1 : *f.aktiv.rbegin();
    Ebenen[f.ebene].Speed = 3;
    Ebenen[f.ebene].Offset = -0.25f;
    AddLandschaft(f.ebene, 2, 70, 800, f.z);
    std::set<int32_t> erwartet = f.aktiv;
    if (f.slot >= 0) erwartet.insert(f.slot);
    EXPECT_EQ(Aktive(f.ebene), erwartet) << f.name;
    EXPECT_EQ(l.Frei, f.freiDanach) << f.name;
    EXPECT_EQ(l.Max, f.maxDanach) << f.name;
    if (f.slot < 0) continue;
    const LandschaftObjekt& o = l.Objekte[f.slot];
    EXPECT_EQ(std::vector<float>({o.X, o.Y, o.DX, o.DY}), std::vector<float>({799.75f, 70, -3, 0})) << f.name;
    EXPECT_EQ(o.Sprite, 2) << f.name;
  }
}

TEST_F(Landscape, TheScrollPositionStaysWithinOnePixel) {
  const std::vector<std::pair<float, std::vector<float>>> faelle = {
      {1.5f, {-0.5f, 0, -0.5f, 0}}, {0.25f, {-0.75f, 0, -0.75f, 0}}, {-0.25f, {-0.25f, 0, -0.25f, 0}}};
  for (const auto& [speed, positionen] : faelle) {
    Ebenen[5] = LevelEbene{.Speed = speed};
    std::vector<float> p;
    for (size_t i = 0; i < positionen.size(); ++i) {
      SpielMoveLandschaft(5);
      p.push_back(Ebenen[5].Offset);
    }
    EXPECT_EQ(p, positionen) << speed;
  }
}

TEST_F(Landscape, AnItemLeavesWhenItsRightEdgePassesTheLeftEdge) {
  Rendern = false;
  const int32_t breit = Sprite(0xFFFF0000, false, 100, 20), ohneBild = Sprite(0);
  Ebenen[1].Speed = 4;
  AddLandschaft(1, breit, 50, 800, 0);
  AddLandschaft(1, ohneBild, 80, 900, 0);  // no width: leaves as soon as x is below 0
  AddLandschaft(1, 99, 80, 900, 0);        // no such sprite: the same
  std::vector<int> weg;                    // the tick each slot was freed
  for (int tick = 1; tick <= 300 && Landschaft[1].Max >= 0; ++tick) {
    SpielMoveLandschaft(1);
    while (weg.size() < 3 && !Landschaft[1].Objekte[weg.size()].Aktiv) weg.push_back(tick);
  }
  // At x = -100 the wide item's right edge is at 0 and it stays; at -104 it goes.
  EXPECT_EQ(weg, (std::vector<int>{226, 226, 226}));
  EXPECT_EQ(Landschaft[1].Objekte[0].X, -104);
  EXPECT_EQ(Landschaft[1].Max, -1);
  EXPECT_EQ(Landschaft[1].Frei, 0);
}

TEST_F(Landscape, ItemsAreDrawnInSlotOrderSoZDecidesWhatIsOnTop) {
  const int32_t rot = Sprite(0xFFFF0000), blau = Sprite(0xFF0000FF), gruen = Sprite(0xFF00FF00),
                gelb = Sprite(0xFFFFFF00), weiss = Sprite(0xFFFFFFFF);
  AddLandschaft(3, rot, 100, 100, 0);    // slot 0
  AddLandschaft(3, blau, 100, 110, 0);   // slot 1
  AddLandschaft(3, gruen, 100, 120, 1);  // slot 2: above all
  SpielMoveLandschaft(3);
  KillLandschaft(3, 0);
  AddLandschaft(3, gelb, 100, 100, -1);  // into the gap at slot 0: below the others
  AddLandschaft(3, weiss, 100, 130, 0);  // the hint stayed at 0, which is taken: slot 3
  SpielMoveLandschaft(3);
  std::vector<uint32_t> farben;
  for (int x : {105, 115, 125, 135}) farben.push_back(Pixel(x, 120));
  EXPECT_EQ(farben, (std::vector<uint32_t>{0xFFFF00, 0x0000FF, 0x00FF00, 0xFFFFFF}));
}

TEST_F(Landscape, WhichLayersAreDrawnAndWhere) {
  struct Fall {
    int32_t ebene, modus;
    bool rendern, quad, gezeichnet;
  } faelle[] = {
      {3, 0, true, false, true},   {1, 0, true, false, false}, {1, 1, true, false, true},
      {6, -2, true, false, false}, {5, 4, true, true, true},   {3, 1, false, false, false},
  };
  for (const Fall& f : faelle) {
    worlddraw::CloseDisplay();
    worlddraw::OpenDisplay(platform::PixelFormat::XRGB8888);
    SpriteDefs.clear();
    Landschaft[f.ebene].Reset();
    Ebenen[f.ebene] = LevelEbene{.Speed = 0.5f};
    HintergrundModus = f.modus;
    Rendern = f.rendern;
    AddLandschaft(f.ebene, Sprite(0xFF00FF00, f.quad), 200, 300, 0);
    RenderStart();
    SpielMoveLandschaft(f.ebene);
    RenderEnd();
    // Moved in every case; drawn at the whole pixel below its x, 299 to 338.
    EXPECT_EQ(Landschaft[f.ebene].Objekte[0].X, 299.5f) << f.ebene << " over " << f.modus;
    const uint32_t gruen = f.gezeichnet ? 0x00FF00 : 0;
    EXPECT_EQ((std::vector<uint32_t>{Pixel(298, 210), Pixel(299, 210), Pixel(338, 210), Pixel(339, 210)}),
              (std::vector<uint32_t>{0, gruen, gruen, 0}))
        << f.ebene << " over " << f.modus;
  }
}
