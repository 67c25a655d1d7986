#pragma once
// Enemies for the tests of their tick and their deaths: placed straight into the pool and
// moved one tick at a time.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "draw_support.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "shell/timing.hpp"
#include "world/enemies.hpp"

namespace enemytest {

// A sprite definition of one frame showing picture `nr` (hit-flash copy `blitz`), drawn as
// a quad when `quad`; the picture gets the opaque-edge profile of its pixels.
inline int32_t Sprite(int32_t nr, int32_t blitz = -1, bool quad = false) {
  worlddraw::Randprofil(nr);
  SpriteDefs.push_back(
      SpriteDef{.D3DSprite = VBBool(quad), .Frames = {SpriteFrame{.Surface = nr, .SurfaceBlitz = blitz}}});
  return SpriteDefsMax();
}

// A part showing sprite definition `sprite` at (ox, oy) from its enemy: alive, energy 100,
// worth 1000 points, untinted and opaque, with no shot generator.
inline Feindkomponente Teil(int32_t sprite, float ox = 0, float oy = 0) {
  Feindkomponente k{.OffsetX = ox, .OffsetY = oy, .HP = 100, .Erzeuger = KeinErzeuger, .Sprite = sprite};
  k.R = k.G = k.B = k.A = 1, k.Lebt = VBTrue, k.Punkte = 1000;
  return k;
}

// An active enemy in slot `e` with its top left at (x, y): a 40 x 20 box, energy 50, worth
// 1000 points, route 0; the pool's hints follow.
inline Gegner& Feind(int32_t e, float x, float y, std::vector<Feindkomponente> teile) {
  Gegner& g = GegnerListe[e];
  g = Gegner{};
  g.Typ = GegnerTyp{.Komponenten = std::move(teile), .HP = 50, .Width = 40, .Height = 20, .Punkte = 1000};
  g.X = x, g.Y = y, g.Aktiv = VBTrue;
  GegnerMax = std::max(GegnerMax, e);
  GegnerFrei = GegnerMax + 1;
  return g;
}

// One tick of the enemies; a drawn one into a black back buffer inside a scene.
inline void Tick() {
  if (!Rendern) return SpielMoveEnemy();
  BackBuffer->BltColorFill(nullptr, 0);
  RenderStart();
  SpielMoveEnemy();
  RenderEnd();
}

}  // namespace enemytest
