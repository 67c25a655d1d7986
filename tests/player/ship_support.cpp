#include "ship_support.hpp"

#include <algorithm>

#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/surfaces.hpp"
#include "player/shots_state.hpp"
#include "shell/config.hpp"
#include "support/pictures.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"

namespace shiptest {

namespace {
// Key set s, action a: a key code of its own among the keyboard's.
int32_t Code(int32_t set, int32_t a) { return 100 + 10 * set + a; }
}  // namespace

void StandardBlock(SchiffDaten& b, int32_t typ) {
  b.BoxLinks = 0;
  b.BoxOben = 17;
  b.BoxRechts = 64;
  b.BoxUnten = 54;
  b.Typ = typ;
  b.Zeilen = 1;
}

int32_t Picture(int w, int h, const std::function<uint32_t(int, int)>& painter) {
  const platform::PixelFormat format = BackBuffer ? BackBuffer->Format() : platform::PixelFormat::XRGB8888;
  return testsupport::PaintedPicture(w, h, format, true, painter);
}

int32_t BlockSprite(int w, int h) {
  const int32_t nr =
      testsupport::PaintedPicture(w, h, platform::PixelFormat::XRGB8888, true, [](int, int) { return 0xFFFFFFFFu; });
  SurfaceInfo& e = Surfaces[nr];
  e.RandLinks.assign(static_cast<size_t>(h) + 1, 0);
  e.RandRechts.assign(static_cast<size_t>(h) + 1, w - 1);
  e.RandLinks[h] = e.RandRechts[h] = -1;
  e.ErsteZeile = 0;
  e.LetzteZeile = h - 1;
  e.RandMinX = 0;
  e.RandMaxX = w - 1;
  SpriteDefs.push_back(SpriteDef{.Frames = {SpriteFrame{.Surface = nr}}});
  return SpriteDefsMax();
}

void Rock(int32_t i, int32_t sprite, float x, float y) {
  LandschaftEbene& ebene = Landschaft[3];
  ebene.Objekte[i] = LandschaftObjekt{.X = x, .Y = y, .Sprite = sprite, .Aktiv = VBTrue};
  ebene.Max = std::max(ebene.Max, i);
}

Gegner& Enemy(int32_t e, int32_t sprite, float x, float y, float hp) {
  Gegner& g = GegnerListe[e];
  g = Gegner{};
  g.Typ = GegnerTyp{.Komponenten = {Feindkomponente{.HP = hp, .Sprite = sprite, .Lebt = VBTrue, .Punkte = 10}},
                    .HP = 1000,
                    .Width = 32,
                    .Height = 32,
                    .Punkte = 100};
  g.X = x;
  g.Y = y;
  g.Aktiv = VBTrue;
  GegnerMax = std::max(GegnerMax, e);
  return g;
}

void BindKeys() {
  KeyConfig = KeyConfigDaten{};
  for (int32_t set = 0; set < 3; ++set)
    for (int32_t a = 0; a < 10; ++a) KeyConfig.KeyMap(a, set, 0) = Code(set, a);
  ReleaseAll();
}

void Hold(int32_t set, Aktion a, bool down) { KeyState[Code(set, a)] = down; }

void ReleaseAll() { KeyState.fill(false); }

std::ostream& operator<<(std::ostream& o, const Geschoss& g) {
  return o << "{group " << g.gruppe << ", kind " << g.art << ", (" << g.x << ", " << g.y << "), (" << g.sx << ", "
           << g.sy << "), force " << g.force << ", damage " << g.staerke << ", player " << g.vesk << "}";
}

std::vector<Geschoss> Geschosse() {
  std::vector<Geschoss> v;
  for (int32_t g = 0; g < 2; ++g)
    for (int32_t k = 0; k <= SchussMax(g); ++k) {
      const SchussDaten& s = Schuesse[g][k];
      if (s.Aktiv) v.push_back({g, s.Art, s.X, s.Y, s.SX, s.SY, s.Force, s.Stärke, s.VeskNr});
    }
  return v;
}

}  // namespace shiptest
