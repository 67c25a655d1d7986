#include "world/animations.hpp"

#include <algorithm>
#include <array>

#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/level_data_state.hpp"
#include "world/weather_state.hpp"

namespace {

bool GueltigeEbene(int32_t Index) { return Index >= 0 && Index < static_cast<int32_t>(Ebenen.size()); }

// ---- Sprite-frame sequences ------------------------------------------------------------

// A frame named by one character is no picture but a loop point.
bool Schleifenmarke(const SpriteFrame& f) { return f.Bild.size() == 1; }

// The frame a counter stands on: Singles count in whole frames, rounded as an index is.
int32_t FrameNr(int32_t a) { return a; }
int32_t FrameNr(float a) { return CLng(a); }

template <class Zahl>
void Weiterschalten(int32_t O, Zahl& AniA, Zahl& TiA) {
  if (TiA < 0) return;  // held
  if (O < 0 || O > SpriteDefsMax()) return;
  const std::vector<SpriteFrame>& frames = SpriteDefs[static_cast<size_t>(O)].Frames;
  const int32_t letzter = UBound(frames);
  if (letzter < 0) return;
  auto frame = [&](Zahl a) -> const SpriteFrame& { return frames[static_cast<size_t>(FrameNr(a))]; };
  // A frame that the sequence does not have (a route or a key asked for one past the end)
  // starts the sequence over rather than reading beyond it.
  if (FrameNr(AniA) < 0 || FrameNr(AniA) > letzter) {
    AniA = 0;
    TiA = 0;
    return;
  }
  TiA += 1;
  if (TiA < frame(AniA).Zeit) return;
  TiA = 0;
  AniA += 1;
  if (AniA > letzter || FrameNr(AniA) > letzter) {
    AniA = 0;
    return;
  }
  if (!Schleifenmarke(frame(AniA))) return;
  // Back to the frame after the previous marker, or to frame 0 when there is none.
  do {
    AniA -= 1;
  } while (AniA > 0 && !Schleifenmarke(frame(AniA)));
  if (AniA > 0)
    AniA += 1;
  else
    AniA = 0;
}

// ---- How a part travels to its next key ------------------------------------------------

using Bewegung = void (*)(AnimaTeil& p, const AnimaKeyframe& k, const AnimaKeyframe& n, int32_t t);

void Stehen(AnimaTeil&, const AnimaKeyframe&, const AnimaKeyframe&, int32_t) {}

void Gerade(AnimaTeil& p, const AnimaKeyframe& k, const AnimaKeyframe&, int32_t) {
  p.PosX += k.SpeedX;
  p.PosY += k.SpeedY;
}

// Never past the target in the direction of travel, so a speed that does not divide the
// distance still ends exactly on it.
float Anhalten(float pos, float speed, float ziel) { return speed > 0 ? std::min(pos, ziel) : std::max(pos, ziel); }

void BisZumZiel(AnimaTeil& p, const AnimaKeyframe& k, const AnimaKeyframe& n, int32_t t) {
  Gerade(p, k, n, t);
  p.PosX = Anhalten(p.PosX, k.SpeedX, n.PosX);
  p.PosY = Anhalten(p.PosY, k.SpeedY, n.PosY);
}

// `t` ticks after the key's start the step has grown by t accelerations.
void Beschleunigt(AnimaTeil& p, const AnimaKeyframe& k, const AnimaKeyframe&, int32_t t) {
  p.PosX = static_cast<float>(p.PosX + (k.SpeedX + t * static_cast<double>(k.BeschlX)));
  p.PosY = static_cast<float>(p.PosY + (k.SpeedY + t * static_cast<double>(k.BeschlY)));
}

// By the movement kind of the key being approached: 1 straight, 2 straight and stop on
// it, 3 accelerated; anything else stands still.
constexpr std::array<Bewegung, 4> kBewegungen = {Stehen, Gerade, BisZumZiel, Beschleunigt};

Bewegung BewegungNach(const AnimaKeyframe& n) {
  return n.Bewegung >= 0 && n.Bewegung < static_cast<int32_t>(kBewegungen.size()) ? kBewegungen[n.Bewegung]
                                                                                   : Stehen;
}

// ---- One part, one tick ------------------------------------------------------------------

void KeyUebernehmen(AnimaTeil& p, const AnimaKeyframe& k) {
  p.PosX = k.PosX;
  p.PosY = k.PosY;
  p.R = k.R;
  p.G = k.G;
  p.B = k.B;
  p.A = k.A;
  p.ZoomX = k.ZoomX;
  p.ZoomY = k.ZoomY;
  p.Drehwinkel = static_cast<float>(k.Winkel);
  if (k.Frame >= 0) p.Bild = k.Frame;
}

void Zwischenschritt(AnimaTeil& p, const AnimaTeilTyp& typ, int32_t Tick) {
  const AnimaKeyframe& k = typ.Keys[static_cast<size_t>(p.Schritt)];
  p.A += k.DA;
  p.R += k.DR;
  p.G += k.DG;
  p.B += k.DB;
  p.Drehwinkel += k.DWinkel;
  // The last key of a list without its spare has nothing to travel to.
  if (p.Schritt < UBound(typ.Keys)) {
    const AnimaKeyframe& n = typ.Keys[static_cast<size_t>(p.Schritt) + 1];
    BewegungNach(n)(p, k, n, Tick - k.Tick);
  }
  p.ZoomX += k.DZoomX;
  p.ZoomY += k.DZoomY;
  if (k.Frame < 0) DoAni(typ.Sprite, p.Bild, p.BildZeit);
}

// Brings the part to tick `Tick`; returns its current key, or nullptr for a part whose
// definition holds no key at all.
const AnimaKeyframe* TeilBewegen(AnimaTeil& p, const AnimaTeilTyp& typ, int32_t Tick) {
  const int32_t letzter = UBound(typ.Keys);
  if (letzter < 0) return nullptr;
  if (p.Schritt < 0 || p.Schritt > letzter) p.Schritt = 0;
  while (p.Schritt < letzter && Tick >= typ.Keys[static_cast<size_t>(p.Schritt) + 1].Tick) ++p.Schritt;
  const AnimaKeyframe& k = typ.Keys[static_cast<size_t>(p.Schritt)];
  if (Tick == k.Tick)
    KeyUebernehmen(p, k);
  else
    Zwischenschritt(p, typ, Tick);
  p.Sichtbar = k.Sichtbar;
  return &k;
}

// Scaled about the picture's centre: the unscaled picture would stand at (x, y).
struct Flaeche {
  double Left, Top, Right, Bottom;
};

Flaeche Skaliert(float x, float y, const AnimaTeil& p, int32_t w, int32_t h) {
  const double left = x - (p.ZoomX - 1.0f) * static_cast<double>(w) / 2;
  const double top = y - (p.ZoomY - 1.0f) * static_cast<double>(h) / 2;
  return {left, top, left + w * static_cast<double>(p.ZoomX), top + h * static_cast<double>(p.ZoomY)};
}

void AlsQuad(int32_t nr, const AnimaTeil& p, const Flaeche& f, int32_t w, int32_t h, bool additiv) {
  if (p.ZoomX != 1 || p.ZoomY != 1) Filtern = true;
  if (p.Drehwinkel == 0) {
    SetUpColor(nr, p.R, p.G, p.B, p.A);
    SetUpRect(nr, static_cast<float>(f.Left), static_cast<float>(f.Top), static_cast<float>(f.Right),
              static_cast<float>(f.Bottom));
  } else {
    // A turned quad is laid on whole pixels.
    const int32_t left = CLng(f.Left), top = CLng(f.Top);
    const RECT ziel{left, top, CLng(left + w * static_cast<double>(p.ZoomX)),
                    CLng(top + h * static_cast<double>(p.ZoomY))};
    SetUpGeom(nr, Surfaces[static_cast<size_t>(nr)].SrcRect, ziel, p.R, p.G, p.B, p.A, CLng(p.Drehwinkel));
  }
  Render(nr, additiv);
  Filtern = false;
}

void TeilZeichnen(const AnimaDaten& a, const AnimaTeil& p, const AnimaKeyframe& k, int32_t sprite) {
  if (sprite < 0 || sprite > SpriteDefsMax()) return;
  const SpriteDef& s = SpriteDefs[static_cast<size_t>(sprite)];
  if (p.Bild < 0 || p.Bild > s.FramesMax()) return;
  const int32_t nr = s.Frames[static_cast<size_t>(p.Bild)].Surface;
  if (nr < 0 || nr > SurfacesMax()) return;  // a frame without a picture
  const RECT& src = Surfaces[static_cast<size_t>(nr)].SrcRect;
  const int32_t w = src.Right - src.Left, h = src.Bottom - src.Top;
  const float x = a.X + p.PosX, y = a.Y + p.PosY;
  const Flaeche f = Skaliert(x, y, p, w, h);
  if (s.D3DSprite != VBFalse) {
    AlsQuad(nr, p, f, w, h, k.Additiv != VBFalse);
  } else if (p.ZoomX == 1 && p.ZoomY == 1) {
    // Blits know no tint, opacity or angle.
    ShowSprite(nr, CLng(Int(x)), CLng(Int(y)), false);
  } else {
    ShowSpriteRect(nr, static_cast<float>(f.Left), static_cast<float>(f.Top), static_cast<float>(f.Right),
                   static_cast<float>(f.Bottom), false);
  }
}

// ---- One animation, one tick ---------------------------------------------------------------

// Advances (and draws) animation `i`; false when it has ended.
bool AnimationSchritt(int32_t i, bool zeichnen) {
  AnimaDaten& a = Animationen[i];
  if (a.Typ < 0 || a.Typ > AnimaTypenMax()) return false;
  const AnimaTypDaten& d = AnimaTypen[static_cast<size_t>(a.Typ)];
  if (d.Scrollt != VBFalse) a.X -= Ebenen[static_cast<size_t>(a.Ebene)].Speed;

  const size_t teile = std::min(a.Teile.size(), d.Teile.size());
  for (size_t t = 0; t < teile; ++t) {
    AnimaTeil& p = a.Teile[t];
    const AnimaTeilTyp& typ = d.Teile[t];
    const AnimaKeyframe* k = TeilBewegen(p, typ, a.Tick);
    if (k && zeichnen && p.Sichtbar != VBFalse) TeilZeichnen(a, p, *k, typ.Sprite);
  }

  a.Tick += 1;
  if (a.Tick > d.Periode) {
    if (d.Schleife == VBFalse) return false;
    // The parts keep their values until their first key applies again.
    a.Tick = 0;
    for (AnimaTeil& p : a.Teile) p.Schritt = 0;
  }
  return !(d.Scrollt != VBFalse && a.X < -static_cast<float>(d.RandRechts));
}

}  // namespace

void DoAni(int32_t O, int32_t& AniA, int32_t& TiA) { Weiterschalten(O, AniA, TiA); }
void DoAni(int32_t O, float& AniA, float& TiA) { Weiterschalten(O, AniA, TiA); }

void AddAnima(int32_t Index, int32_t AnimationID, int32_t y, std::optional<double> x) {
  if (!GueltigeEbene(Index) || AnimationID < 0 || AnimationID > AnimaTypenMax()) return;
  const int32_t nr = Animationen.Claim();
  if (nr < 0) return;
  AnimaDaten& a = Animationen[nr];
  const AnimaTypDaten& d = AnimaTypen[static_cast<size_t>(AnimationID)];
  a.Typ = AnimationID;
  a.Ebene = Index;
  a.Tick = 0;
  a.X = 0;
  a.Y = 0;
  if (d.Scrollt != VBFalse) {
    a.X = Ebenen[static_cast<size_t>(Index)].Offset + static_cast<float>(kBildschirmBreite);
    a.Y = static_cast<float>(y);
  }
  if (x) {
    a.X = static_cast<float>(*x);
    a.Y = static_cast<float>(y);
  }
  // Every part invisible on key 0; the slot's room was made while the level loaded.
  a.Teile.assign(d.Teile.size(), AnimaTeil{});
}

void KillAnimation(int32_t Nr) {
  if (Nr < 0 || Nr > Animationen.Kapazitaet) return;
  Animationen[Nr].Teile.clear();
  Animationen.Kill(Nr);
}

void SpielMoveAnimation(int32_t Index) {
  if (!GueltigeEbene(Index)) return;
  // The backdrop layers are drawn only over a background; the front layer always.
  const bool zeichnen = Rendern && (HintergrundModus > 0 || Index == 4);
  const int32_t bis = AnimaMax;
  for (int32_t i = 0; i <= bis; ++i) {
    const AnimaDaten& a = Animationen[i];
    if (a.Aktiv == VBFalse || a.Ebene != Index) continue;
    if (!AnimationSchritt(i, zeichnen)) KillAnimation(i);
  }
}
