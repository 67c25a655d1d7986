// Enemy shots: made by the generators (and shock waves by dying enemies), then once per
// frame animated, moved, culled, tested against the scenery and the ships, and drawn with
// their afterimages or ribbons.
#include <algorithm>
#include <array>
#include <cmath>

#include "engine/force.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "player/satellite_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/animations.hpp"
#include "world/collision.hpp"
#include "world/enemy_shots.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/routes.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/upcalls.hpp"

namespace {

constexpr int32_t Druckwelle = -1;  // the ID of a shock wave
constexpr int32_t SpurNeuester = SchussSpurPunkte - 1;
// The standard shot: two alternating 16 x 16 pictures, tinted red where a colour is needed.
constexpr int32_t StandardGroesse = 16;
constexpr int32_t StandardMitte = StandardGroesse / 2;

// What a shot looks like this frame.
struct Ansicht {
  int32_t Bild = -1;  // surface number, -1 none
  int32_t Breite = 0, Hoehe = 0;
  float R = 1, G = 1, B = 1;
};

// ---- Catalogue look-ups: a reference outside its catalogue finds nothing ----------------

const ErzeugerSalve* SalveVon(int32_t Nr, int32_t NRK) {
  if (Nr < 0 || Nr > ErzeugerTypenMax()) return nullptr;
  const ErzeugerTypDaten& d = ErzeugerTypen[static_cast<size_t>(Nr)];
  return NRK >= 0 && NRK <= d.SalvenMax() ? &d.Salven[static_cast<size_t>(NRK)] : nullptr;
}

const SchussTypDaten* TypVon(const ErzeugerSalve& e) {
  return e.SchussTyp >= 0 && e.SchussTyp <= SchussTypenMax() ? &SchussTypen[static_cast<size_t>(e.SchussTyp)]
                                                              : nullptr;
}

bool IstSpriteSchuss(const SchussTypDaten& t) { return t.Aussehen == 1; }

// The surface of frame `Frame` of sprite definition `Sprite`, -1 when there is none.
int32_t BildNr(int32_t Sprite, int32_t Frame) {
  if (Sprite < 0 || Sprite > SpriteDefsMax()) return -1;
  const SpriteDef& d = SpriteDefs[static_cast<size_t>(Sprite)];
  if (Frame < 0 || Frame > d.FramesMax()) return -1;
  const int32_t nr = d.Frames[static_cast<size_t>(Frame)].Surface;
  return nr >= 0 && nr <= SurfacesMax() ? nr : -1;
}

bool Textur(int32_t Bild) {
  return Bild >= 0 && Bild <= SurfacesMax() && Surfaces[static_cast<size_t>(Bild)].D3DSprite;
}

int32_t BreiteVon(const SurfaceInfo& b) { return b.SrcRect.Right - b.SrcRect.Left; }
int32_t HoeheVon(const SurfaceInfo& b) { return b.SrcRect.Bottom - b.SrcRect.Top; }

// The type's hit rectangle is given in the coordinates of the picture file; the frame's
// place in that file moves it onto the shot.
void BoxAufBild(GegnerSchussDaten& s, const SchussTypDaten& t, const SurfaceInfo& b) {
  s.BoxLeft = t.BoxLeft - b.SrcRect.Left;
  s.BoxTop = t.BoxTop - b.SrcRect.Top;
  s.BoxRight = t.BoxRight - b.SrcRect.Left;
  s.BoxBottom = t.BoxBottom - b.SrcRect.Top;
}

// The players a shot looks at: 0 .. `LetzterSpieler`, never past the two records.
int32_t LetzterZielSpieler() { return std::clamp(LetzterSpieler, 0, 1); }

// ---- The look of each kind of shot, one tick of its animation --------------------------

Ansicht StandardBild(GegnerSchussDaten& s, const SchussTypDaten&) {
  s.Frame = s.Frame != 0 ? 0 : 1;
  return {TexGSchuss[static_cast<size_t>(s.Frame)], StandardGroesse, StandardGroesse, 1.0f, 0.3f, 0.3f};
}

Ansicht SpriteBild(GegnerSchussDaten& s, const SchussTypDaten& t) {
  Ansicht a{-1, 0, 0, t.R, t.G, t.B};
  if (t.Sprite < 0 || t.Sprite > SpriteDefsMax()) return a;
  DoAni(t.Sprite, s.Frame, s.FrameZeit);
  a.Bild = BildNr(t.Sprite, s.Frame);
  if (a.Bild < 0) return a;
  const SurfaceInfo& b = Surfaces[static_cast<size_t>(a.Bild)];
  a.Breite = BreiteVon(b);
  a.Hoehe = HoeheVon(b);
  BoxAufBild(s, t, b);
  return a;
}

using BildSchritt = Ansicht (*)(GegnerSchussDaten&, const SchussTypDaten&);
constexpr std::array<BildSchritt, 2> Aussehen = {StandardBild, SpriteBild};

Ansicht BildDesFrames(GegnerSchussDaten& s, const SchussTypDaten& t) { return Aussehen[IstSpriteSchuss(t)](s, t); }

// ---- Making a shot ---------------------------------------------------------------------

// Where an aimed shot flies to: the middle of a ship, or for the ship with the satellite
// a random point of its 64 x 64 picture on the side the satellite does not cover.
void Zielpunkt(int32_t VeskNr, int32_t& zx, int32_t& zy) {
  const size_t p = VeskNr == 1 ? 1 : 0;
  const SpielerDaten& ziel = Spieler[p];
  if (Schiff[p].Schiffstyp() != 1) {
    zx = CLng(double{ziel.X} + 28);
    zy = CLng(double{ziel.Y} + 31);
    return;
  }
  zy = CLng(ziel.Y + Rnd() * 64.0f);
  switch (Satellit.Zustand) {
    case 1: zx = CLng(ziel.X); break;
    case 2: zx = CLng(double{ziel.X} + 64); break;
    default: zx = CLng(ziel.X + Rnd() * 64.0f); break;
  }
}

void Zielen(GegnerSchussDaten& s) {
  int32_t zx = 0, zy = 0;
  Zielpunkt(s.VeskNr, zx, zy);
  const double w = Winkel(static_cast<float>(zx - double{s.X}), static_cast<float>(zy - double{s.Y}));
  s.MX = static_cast<float>(std::cos(w) * s.Speed);
  s.MY = static_cast<float>(std::sin(w) * s.Speed);
}

// The picture's first frame is centred on the muzzle.
void Platzieren(GegnerSchussDaten& s, const SchussTypDaten& t, float iX, float iY) {
  if (!IstSpriteSchuss(t)) {
    s.X = iX - StandardMitte;
    s.Y = iY - StandardMitte;
    s.BoxLeft = s.BoxTop = 0;
    s.BoxRight = s.BoxBottom = StandardGroesse;
    return;
  }
  const int32_t bild = BildNr(t.Sprite, 0);
  int32_t w = 0, h = 0;
  s.BoxLeft = t.BoxLeft;
  s.BoxTop = t.BoxTop;
  s.BoxRight = t.BoxRight;
  s.BoxBottom = t.BoxBottom;
  if (bild >= 0) {
    const SurfaceInfo& b = Surfaces[static_cast<size_t>(bild)];
    w = BreiteVon(b);
    h = HoeheVon(b);
    BoxAufBild(s, t, b);
  }
  s.X = static_cast<float>(double{iX} - IDiv(w, 2));
  s.Y = static_cast<float>(double{iY} - IDiv(h, 2));
}

void NeuerSchuss(GegnerSchussDaten& s, const ErzeugerSalve& e, const SchussTypDaten& t, float iX, float iY) {
  if (SoundAn && t.Sound >= 0 && t.Sound <= LevelSoundsAnzahl())
    PlaySound(LevelSoundMap[static_cast<size_t>(t.Sound)], 0, 0, SoundLautstaerke);
  s.Ti = 0;
  std::fill_n(s.Vari.begin(), 6, 0.0f);
  s.SpurX.fill(-1);
  s.SpurY.fill(-1);
  s.SpurBild.fill(-1);
  s.Alpha = 0;
  // A negative fade-in is read as none: the shot must become visible.
  s.AlphaSchritt = t.Einblenden > 0 ? 1.0f / static_cast<float>(t.Einblenden + 1) : 1.0f;
  Platzieren(s, t, iX, iY);
  s.HP = e.HP;
  s.Speed = e.Speed;
  s.RoutePos = s.Frame = s.FrameZeit = 0;
  s.MX = s.MY = 0;
  if (e.Gezielt != VBFalse) {
    s.RouteNr = -1;
    Zielen(s);  // the direction is fixed now: the ship may move away
  } else {
    s.RouteNr = e.RouteNr;
  }
}

// ---- One frame of a shot, step by step -------------------------------------------------

// The ring grows by 4 pixels a frame; a ship inside it is pushed outwards, the harder the
// nearer it is to the centre.
void DruckwelleSchritt(int32_t k, GegnerSchussDaten& s) {
  const float R = static_cast<float>(s.Nr) * 4 + 32;
  for (int32_t p = 0; p <= LetzterZielSpieler(); ++p) {
    SpielerDaten& ziel = Spieler[static_cast<size_t>(p)];
    const SchiffDaten& schiff = Schiff[static_cast<size_t>(p)];
    const float cx = ziel.X + static_cast<float>(schiff.BoxLinks + schiff.BoxRechts) / 2;
    const float cy = ziel.Y + static_cast<float>(schiff.BoxOben + schiff.BoxUnten) / 2;
    const float dx = s.X - cx, dy = s.Y - cy;
    const float abstand2 = dx * dx + dy * dy;
    if (R * R <= abstand2) continue;
    const float druck = R - std::sqrt(abstand2);
    const int32_t a = CLng(WinkelInGrad(dx, dy));
    Spieler[static_cast<size_t>(p)].Energie -= 0.1f;
    AddForce(1, 1, p);
    ziel.DX = CosinusB(a) * druck / 5;
    ziel.DY = SinusB(a) * druck / 5;
  }
  // Counted up to the last step, not just to it: a wave whose last step is not above its
  // first still ends.
  if (++s.Nr >= s.NRK) KillGegnerS(k);
}

// Moves the shot. False when its route has ended: the shot is gone, and when its entry
// says so it has burst into a free-standing generator at its centre.
bool Fliegen(int32_t k, GegnerSchussDaten& s, const ErzeugerSalve& e, const Ansicht& a) {
  if (s.RouteNr < 0) {
    s.X += s.MX;
    s.Y += s.MY;
    return true;
  }
  RoutenObjekt o{RouteSchuss, 0,       s.RoutePos, s.RouteNr, s.X,  s.Y,      s.MX,      s.MY,
                 s.Ti,        s.Vari,  a.Breite,   a.Hoehe,   s.Speed, s.ID, 0, s.HP, s.VeskNr, SchussGVar};
  if (DoRoute(o) == 0) return true;
  if (e.Platzt == 1)
    AddGegnerSchussErzeuger(e.PlatztErzeuger, CLng(double{s.X} + IDiv(a.Breite, 2)),
                            CLng(double{s.Y} + IDiv(a.Hoehe, 2)), VBTrue, s.VeskNr);
  KillGegnerS(k);
  return false;
}

// A shot is kept while it lies within 50 pixels of the screen on the left and top (its
// own size further out) and up to x 850 and y 600. A routed shot may leave and come back
// unless its entry says otherwise.
bool AusserhalbDesSchirms(const GegnerSchussDaten& s, const ErzeugerSalve& e, const Ansicht& a) {
  if (s.RouteNr >= 0 && e.RandWeg == VBFalse) return false;
  const bool drin = s.X >= static_cast<float>(-a.Breite - 50) && s.X <= 850 &&
                    s.Y >= static_cast<float>(-a.Hoehe - 50) && s.Y <= 600;
  return !drin;
}

bool TrifftLandschaft(const GegnerSchussDaten& s, const SchussTypDaten& t) {
  if (t.DurchLandschaft != VBFalse) return false;
  return CheckColisionWithLandschaft3(CLng(double{s.X} + s.BoxLeft), CLng(double{s.Y} + s.BoxTop),
                                      CLng(double{s.X} + s.BoxRight), CLng(double{s.Y} + s.BoxBottom), -1);
}

// The part of a ship that shots hit: the body of its 64 x 64 frame.
bool UeberlapptSchiff(const GegnerSchussDaten& s, const SpielerDaten& ziel) {
  const double x = ziel.X, y = ziel.Y;
  return x + 60 > double{s.X} + s.BoxLeft && x + 5 < double{s.X} + s.BoxRight && y + 45 > double{s.Y} + s.BoxTop &&
         y + 20 < double{s.Y} + s.BoxBottom;
}

// Hits every living ship the shot overlaps. True when the shot is used up by a hit: it is
// gone. A piercing shot flies on, and so does one whose hit destroys the ship.
bool TrifftSchiffe(int32_t k, GegnerSchussDaten& s, const ErzeugerSalve& e, const Ansicht& a) {
  for (int32_t p = 0; p <= LetzterZielSpieler(); ++p) {
    const SpielerDaten& ziel = Spieler[static_cast<size_t>(p)];
    if (ziel.Tod != 0 || !UeberlapptSchiff(s, ziel)) continue;
    if (SoundAn) PlaySound(SndHit, 0, 0, SoundLautstaerke);
    AddForce(2, 15, p);
    Spieler[static_cast<size_t>(p)].Energie -= s.HP;
    if (a.Breite < 20 && a.Hoehe < 20)
      Add1BigPartikel(static_cast<float>(double{s.X} - IDiv(a.Breite, 2)),
                      static_cast<float>(double{s.Y} - IDiv(a.Hoehe, 2)), 0, 0, a.R, a.G, a.B, 16, 1, 5, 0, 0);
    else
      ++Erschuetterung;
    if (ziel.Energie >= 0 && e.Durchschlag == VBFalse) {
      KillGegnerS(k);
      return true;
    }
  }
  return false;
}

// Afterimages: the last 13 places and pictures move up by one each frame; five of them,
// 10, 8, 6, 4 and 2 frames old, are drawn fading out with their age.
void Nachbilder(GegnerSchussDaten& s, const SchussTypDaten& t, const Ansicht& a) {
  std::copy(s.SpurX.begin() + 1, s.SpurX.end(), s.SpurX.begin());
  std::copy(s.SpurY.begin() + 1, s.SpurY.end(), s.SpurY.begin());
  std::copy(s.SpurBild.begin() + 1, s.SpurBild.end(), s.SpurBild.begin());
  s.SpurX[SpurNeuester] = s.X;
  s.SpurY[SpurNeuester] = s.Y;
  // The standard shot's two pictures flicker; its afterimages keep to the first.
  s.SpurBild[SpurNeuester] = IstSpriteSchuss(t) ? a.Bild : TexGSchuss[0];
  if (!Rendern) return;
  for (int32_t p = 2; p <= 10; p += 2) {
    const int32_t bild = s.SpurBild[static_cast<size_t>(p)];
    if (bild < 0) continue;
    SetUpColor(bild, 1, 1, 1, static_cast<float>(p / 12.0 * s.Alpha));
    ShowSprite(bild, CLng(s.SpurX[static_cast<size_t>(p)]), CLng(s.SpurY[static_cast<size_t>(p)]), Textur(bild));
  }
}

void Spur(GegnerSchussDaten& s, const SchussTypDaten& t, const Ansicht& a) {
  if (t.Spur <= 0) return;
  if (t.Spur == 1 && Textur(a.Bild)) {
    Nachbilder(s, t, a);
    return;
  }
  // A ribbon through the last 13 centres, as high as the shot at its newest point.
  SchweifZeichnen(static_cast<float>(double{s.X} + IDiv(a.Breite, 2)),
                  static_cast<float>(double{s.Y} + IDiv(a.Hoehe, 2)), s.SpurX, s.SpurY, SpurNeuester,
                  static_cast<float>(a.Hoehe) / 2, a.R, a.G, a.B, t.Leuchten != VBFalse, true);
}

void Zeichnen(const GegnerSchussDaten& s, const SchussTypDaten& t, const Ansicht& a) {
  if (!Rendern || a.Bild < 0) return;
  if (!Textur(a.Bild)) {
    ShowSprite(a.Bild, CLng(s.X), CLng(s.Y), false);
    return;
  }
  if (IstSpriteSchuss(t) && t.Drehen != VBFalse) {
    const RECT ziel{CLng(s.X), CLng(s.Y), CLng(double{s.X} + a.Breite), CLng(double{s.Y} + a.Hoehe)};
    SetUpGeom(a.Bild, Surfaces[static_cast<size_t>(a.Bild)].SrcRect, ziel, 1, 1, 1, s.Alpha,
              CLng(WinkelInGrad(s.MX, s.MY)));
  } else {
    SetUpColor(a.Bild, 1, 1, 1, s.Alpha);
    SetUpXY(a.Bild, s.X, s.Y);
  }
  // Afterimages show the glow instead of the shot itself.
  Render(a.Bild, t.Spur != 1 && t.Leuchten != VBFalse);
}

void SchussSchritt(int32_t k) {
  GegnerSchussDaten& s = GegnerSchuesse[k];
  if (s.ID == Druckwelle) {
    DruckwelleSchritt(k, s);
    return;
  }
  if (s.ID < 0) return;
  const ErzeugerSalve* e = SalveVon(s.Nr, s.NRK);
  const SchussTypDaten* t = e ? TypVon(*e) : nullptr;
  if (t == nullptr) {
    KillGegnerS(k);
    return;
  }
  const Ansicht a = BildDesFrames(s, *t);
  s.Alpha = std::min(s.Alpha + s.AlphaSchritt, 1.0f);
  if (!Fliegen(k, s, *e, a)) return;
  if (AusserhalbDesSchirms(s, *e, a) || TrifftLandschaft(s, *t)) {
    KillGegnerS(k);
    return;
  }
  if (TrifftSchiffe(k, s, *e, a)) return;
  Spur(s, *t, a);
  Zeichnen(s, *t, a);
}

}  // namespace

void AddGegnerS(int32_t ID, int32_t Nr, int32_t NRK, float iX, float iY, int32_t VeskNr) {
  // Of the negative IDs only the shock wave means anything.
  if (ID < Druckwelle) return;
  const ErzeugerSalve* e = nullptr;
  const SchussTypDaten* t = nullptr;
  if (ID >= 0) {
    e = SalveVon(Nr, NRK);
    t = e ? TypVon(*e) : nullptr;
    if (t == nullptr) return;
  }
  const int32_t k = GegnerSchuesse.Claim();
  if (k < 0) return;
  GegnerSchussDaten& s = GegnerSchuesse[k];
  s.ID = ID;
  s.Nr = Nr;
  s.NRK = NRK;
  s.VeskNr = VeskNr;
  if (ID >= 0) {
    NeuerSchuss(s, *e, *t, iX, iY);
    return;
  }
  s.X = iX;
  s.Y = iY;
  s.NRK = NRK - IDiv(NRK, 4);
  AddForce(2, 30, VeskNr);
}

void SpielMoveGegnerS() {
  const Trefferdurchgang durchgang;  // every shot tests the scenery
  for (int32_t k = 0; k <= GegnerSchuesse.Max; ++k)
    if (GegnerSchuesse[k].Aktiv != VBFalse) SchussSchritt(k);
}

void KillGegnerS(int32_t Index) { GegnerSchuesse.Kill(Index); }

bool GegnerSchussBlockbar(int32_t Index) {
  if (Index < 0 || Index > GegnerSchuesse.Kapazitaet) return false;
  const GegnerSchussDaten& s = GegnerSchuesse[Index];
  if (s.Aktiv == VBFalse || s.ID < 0) return false;
  const ErzeugerSalve* e = SalveVon(s.Nr, s.NRK);
  return e != nullptr && e->Unblockbar == VBFalse;
}
