#include "world/landscape.hpp"

#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/level_data_state.hpp"
#include "world/weather_state.hpp"

namespace {

bool GueltigeEbene(int32_t Index) { return Index >= 0 && Index < static_cast<int32_t>(Landschaft.size()); }

// The layer's scroll position: the position moved on by the speed keeps only its fraction
// above the whole pixel below it, negated, so it lies in (-1, 0]. Whole pixels are in the
// items' own x; items, pick-ups and gates placed this tick start from this offset.
void Scrollen(LevelEbene& e) {
  const float p = e.Offset - e.Speed;
  e.Offset = -(p - static_cast<float>(Int(p)));
}

}  // namespace

int32_t LandschaftBild(int32_t Sprite) {
  if (Sprite < 0 || Sprite > SpriteDefsMax()) return -1;
  const SpriteDef& s = SpriteDefs[Sprite];
  if (s.AniA < 0 || s.AniA > s.FramesMax()) return -1;
  return s.Frames[s.AniA].Surface;
}

void AddLandschaft(int32_t Index, int32_t Objekt, int32_t y, int32_t x, int32_t Z) {
  if (!GueltigeEbene(Index)) return;
  LandschaftEbene& l = Landschaft[Index];
  int32_t start = l.Frei;
  if (Z > 0) start = l.Max + Z;
  if (Z < 0) start = 0;
  for (int32_t k = start < 0 ? 0 : start; k <= l.Kapazitaet(); ++k) {
    LandschaftObjekt& o = l.Objekte[k];
    if (o.Aktiv != VBFalse) continue;
    o.Sprite = Objekt;
    o.Aktiv = VBTrue;
    o.DY = 0;
    o.DX = -Ebenen[Index].Speed;
    o.X = Ebenen[Index].Offset + static_cast<float>(x);
    o.Y = static_cast<float>(y);
    if (k > l.Max) l.Max = k;
    // An item placed above or below the others leaves the hint alone: the gaps below it
    // are still free.
    if (Z == 0) l.Frei = k + 1;
    return;
  }
}

void SpielMoveLandschaft(int32_t Index) {
  if (!GueltigeEbene(Index)) return;
  Scrollen(Ebenen[Index]);
  LandschaftEbene& l = Landschaft[Index];
  const bool zeichnen = Rendern && (Index == 3 || HintergrundModus >= 1);
  const int32_t bis = l.Max;
  for (int32_t k = 0; k <= bis; ++k) {
    LandschaftObjekt& o = l.Objekte[k];
    if (o.Aktiv == VBFalse) continue;
    o.X += o.DX;
    o.Y += o.DY;
    // An item whose picture does not exist has no width: it leaves as soon as its x is
    // below 0 and draws nothing on the way.
    const int32_t bild = LandschaftBild(o.Sprite);
    const SurfaceInfo* s = bild >= 0 && bild <= SurfacesMax() ? &Surfaces[bild] : nullptr;
    const int32_t w = s ? s->SrcRect.Right - s->SrcRect.Left : 0;
    if (o.X + static_cast<float>(w) < 0) {
      KillLandschaft(Index, k);
      continue;
    }
    if (zeichnen && s) ShowSprite(bild, CLng(Int(o.X)), CLng(Int(o.Y)), SpriteDefs[o.Sprite].D3DSprite != VBFalse);
  }
}

void KillLandschaft(int32_t Index, int32_t Nr) {
  if (!GueltigeEbene(Index)) return;
  Landschaft[Index].Kill(Nr);
}
