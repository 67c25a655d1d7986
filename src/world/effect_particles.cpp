// Effect particles: the short-lived visual effects of the game, one pool of 4001 records.
// Each tick a particle waits out its delay or moves and ages; then its kind changes and
// draws it, through one handler per kind. Only the drawing depends on the frame being
// drawn: sizes, positions and the random numbers of the lightning go on in skipped
// frames, so a skipped frame leaves the game where a drawn one would.
#include "world/effect_particles.hpp"

#include <array>
#include <cmath>
#include <cstdlib>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/animations.hpp"
#include "world/bubbles.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

// What is left of the particle's life: 1 when it was made, falling toward 0.
double Rest(const BigPartikelDaten& p) { return static_cast<double>(p.Dead) / p.DeadMax; }

// ---- drawing ----------------------------------------------------------------------------

// Picture `Bild` over the particle's square, tinted with its colour.
void Quad(int32_t Bild, const BigPartikelDaten& p, double Alpha, bool Additiv) {
  const double d = p.Durchmesser;
  SetUpRect(Bild, p.x, p.y, static_cast<float>(p.x + d), static_cast<float>(p.y + d));
  SetUpColor(Bild, p.R, p.G, p.B, static_cast<float>(Alpha));
  Render(Bild, Additiv);
}

// The same turned by `Winkel` whole degrees about the centre of the square, which is
// rounded to whole pixels first.
void QuadGedreht(int32_t Bild, const BigPartikelDaten& p, double Alpha, int32_t Winkel, bool Additiv) {
  if (!SurfaceGueltig(Bild, "MoveBigPartikel")) return;
  const double d = p.Durchmesser;
  const RECT ziel{CLng(p.x), CLng(p.y), CLng(p.x + d), CLng(p.y + d)};
  SetUpGeom(Bild, Surfaces[Bild].SrcRect, ziel, p.R, p.G, p.B, static_cast<float>(Alpha), Winkel);
  Render(Bild, Additiv);
}

// ---- per-tick changes -------------------------------------------------------------------

// The square grows by `Parameter` about its centre (shrinks for a negative one).
void Wachsen(BigPartikelDaten& p) {
  p.Durchmesser = CLng(p.Durchmesser + static_cast<double>(p.Parameter));
  p.x -= p.Parameter / 2.0f;
  p.y -= p.Parameter / 2.0f;
}

// The square grows by `Schritt` pixels a side about its centre. (A size given by a level
// near the end of the number range stays there rather than wrapping round.)
void Aufweiten(BigPartikelDaten& p, float Schritt) {
  p.x -= Schritt / 2.0f;
  p.y -= Schritt / 2.0f;
  p.Durchmesser = CLng(p.Durchmesser + static_cast<double>(Schritt));
}

// ---- the kinds --------------------------------------------------------------------------

using ArtHandler = void (*)(int32_t Nr, BigPartikelDaten& p);

// A flicker of lightning somewhere inside the box of width `Parameter` and height
// `Durchmesser`: top to bottom, left to right, or between two points.
void Blitzbox(int32_t, BigPartikelDaten& p) {
  const float P = p.Parameter;
  const double D = p.Durchmesser;
  float x1, y1, x2, y2;
  const float u = Rnd();
  if (u < 0.25f) {
    x1 = p.x + Rnd() * P;
    y1 = p.y;
    x2 = p.x + Rnd() * P;
    y2 = static_cast<float>(p.y + D);
  } else if (u > 0.75f) {
    x1 = p.x;
    y1 = static_cast<float>(p.y + Rnd() * D);
    x2 = p.x + P;
    y2 = static_cast<float>(p.y + Rnd() * D);
  } else {
    x1 = p.x + Rnd() * P;
    y1 = static_cast<float>(p.y + Rnd() * D);
    x2 = p.x + Rnd() * P;
    y2 = static_cast<float>(p.y + Rnd() * D);
  }
  Blitz(x1, y1, x2, y2, 8.0f, IDiv(p.Durchmesser, 10) + 1, 5.0f, p.R, p.G, p.B, std::nullopt, true);
  Filtern = true;
}

void Glut(int32_t, BigPartikelDaten& p) {
  if (Rendern) Quad(TexKreis2, p, 0.7 * Rest(p), false);
  Wachsen(p);
}

void Ring(int32_t, BigPartikelDaten& p) {
  if (Rendern) Quad(TexWave, p, 0.7 * Rest(p), false);
  Wachsen(p);
}

// A ring `Parameter` wide and `Durchmesser` high that opens out, downward twice as fast
// as sideways.
void BreiterRing(int32_t, BigPartikelDaten& p) {
  if (Rendern) {
    SetUpRect(TexWave, p.x, p.y, p.x + p.Parameter, static_cast<float>(p.y + static_cast<double>(p.Durchmesser)));
    SetUpColor(TexWave, p.R, p.G, p.B, static_cast<float>(Rest(p)));
    Render(TexWave, false);
  }
  p.Parameter += 4;
  p.Durchmesser = CLng(p.Durchmesser + 8.0);
  p.x -= 2;
  p.y -= 4;
}

void SchnellerStrich(int32_t, BigPartikelDaten& p) {
  if (Rendern) QuadGedreht(TexStrich, p, 0.2, CLng(p.Parameter), true);
  Aufweiten(p, 10);
}

// A streak that grows by 15 % a tick about its centre.
void WachsenderStrich(int32_t, BigPartikelDaten& p) {
  if (Rendern) QuadGedreht(TexStrich, p, 0.5 * Rest(p), CLng(p.Parameter), true);
  p.x = static_cast<float>(p.x + p.Durchmesser / 2.0);
  p.y = static_cast<float>(p.y + p.Durchmesser / 2.0);
  p.Durchmesser = CLng(p.Durchmesser * 1.15);
  p.x = static_cast<float>(p.x - p.Durchmesser / 2.0);
  p.y = static_cast<float>(p.y - p.Durchmesser / 2.0);
}

// A fire puff swells fast while it waits, slowly afterwards; it has grown before it shows.
void Feuer(int32_t, BigPartikelDaten& p) {
  Aufweiten(p, p.Still > 0 ? 4.0f : 1.0f);
  if (Rendern) Quad(TexFeuer[static_cast<size_t>(p.Art - 6)], p, Rest(p), true);
}

// Smoke darkens through its seven pictures as it ages and fades slowly at first.
void Rauch(int32_t, BigPartikelDaten& p) {
  if (Rendern) {
    const double t = Rest(p);
    const int32_t f = CLng(6 - 6 * t);
    if (f >= 0 && f <= 6) Quad(TexRauch[static_cast<size_t>(f)], p, std::pow(t, 0.25), false);
  }
  Wachsen(p);
}

// A lens: the square of the screen where the particle stood when its delay ended, copied
// into the picture `Bild` and drawn over the particle's square, widened by `Parameter` a
// side for every tick since. `UeberAllem` copies what the whole scene has drawn so far
// (the scene is ended for the copy); otherwise the copy is made in the middle of it.
void Linse(const BigPartikelDaten& p, int32_t Bild, bool UeberAllem) {
  if (!Rendern || p.Still != 0 || !BackBuffer || !SurfaceGueltig(Bild, "MoveBigPartikel")) return;
  SurfaceInfo& ziel = Surfaces[Bild];
  platform::Surface& textur = *ziel.Surface;
  const int32_t n = p.DeadMax - p.Dead;
  const int64_t L = CLng(p.x - static_cast<double>(p.SX) * n), T = CLng(p.y - static_cast<double>(p.SY) * n);
  const int64_t R = L + p.Durchmesser, B = T + p.Durchmesser;
  const bool ungestreckt = p.Durchmesser == ziel.Height;

  // Of a square that leaves the screen only the part on it is copied, to where it belongs
  // in the picture; the rest of the picture is black. A square wholly off the screen has
  // nothing to show.
  const bool etwas = R > 0 && B > 0 && L < BackBuffer->Width() && T < BackBuffer->Height() && R > L &&
                     L >= INT32_MIN && T >= INT32_MIN && R <= INT32_MAX && B <= INT32_MAX;
  const bool ganz = etwas && L >= 0 && T >= 0 && R <= BackBuffer->Width() && B <= BackBuffer->Height();

  if (UeberAllem) RenderEnd();
  if (etwas) {
    if (!ganz) DXCheck(textur.BltColorFill(nullptr, 0));
    const platform::Rect quelle{static_cast<int32_t>(L), static_cast<int32_t>(T), static_cast<int32_t>(R),
                                static_cast<int32_t>(B)};
    if (ungestreckt) {
      DXCheck(textur.BltFast(0, 0, *BackBuffer, &quelle, platform::DDBLTFAST_WAIT));
      if (p.Parameter == 0) Filtern = false;
    } else {
      const platform::Rect alles{0, 0, ziel.Width, ziel.Height};
      DXCheck(textur.Blt(&alles, BackBuffer.get(), &quelle, platform::DDBLT_WAIT));
    }
  }
  if (UeberAllem) {
    RenderStart();
    if (!ungestreckt) Filtern = true;
  }
  if (etwas) {
    const double w = static_cast<double>(n) * p.Parameter, d = p.Durchmesser;
    SetUpRect(Bild, static_cast<float>(p.x - w), static_cast<float>(p.y - w), static_cast<float>(p.x + d + w),
              static_cast<float>(p.y + d + w));
    SetUpTUTV(Bild, 0, 0, 1, 1);
    SetUpColor(Bild, p.R, p.G, p.B, static_cast<float>(Rest(p)));
    Render(Bild, false);
  }
  Filtern = true;
}

void Linse(int32_t, BigPartikelDaten& p) { Linse(p, TexBlur, false); }
void LinseUeberAllem(int32_t, BigPartikelDaten& p) { Linse(p, TexBlurB, true); }

// The picture of the wreck's current frame, -1 when the frame has none, or -2 when the
// sprite definition or the frame does not exist.
int32_t WrackBild(const BigPartikelDaten& p) {
  if (p.Durchmesser < 0 || p.Durchmesser > SpriteDefsMax()) return -2;
  const SpriteDef& s = SpriteDefs[static_cast<size_t>(p.Durchmesser)];
  const int32_t f = CLng(p.G);
  if (f < 0 || f > s.FramesMax()) return -2;
  const int32_t bild = s.Frames[static_cast<size_t>(f)].Surface;
  return bild >= 0 && bild <= SurfacesMax() && Surfaces[static_cast<size_t>(bild)].Surface ? bild : -1;
}

// A piece of a destroyed enemy: it turns, falls, smokes on every other tick and explodes
// in the last tick of its life.
void Wrack(int32_t Nr, BigPartikelDaten& p) {
  // A piece whose sprite definition or frame does not exist cannot be shown: it goes.
  if (WrackBild(p) == -2) {
    BigPartikel.Kill(Nr);
    return;
  }
  DoAni(p.Durchmesser, p.G, p.B);
  p.R = static_cast<float>(p.R - 0.6);
  const int32_t bild = WrackBild(p);
  if (bild == -2) {
    BigPartikel.Kill(Nr);
    return;
  }
  int32_t w = 0, h = 0;
  if (bild >= 0) {
    const RECT& q = Surfaces[static_cast<size_t>(bild)].SrcRect;
    w = CInt(int64_t{q.Right} - q.Left);
    h = CInt(int64_t{q.Bottom} - q.Top);
  }
  p.x += p.SX;
  p.y += p.SY;
  p.SY += Schwerkraft;

  if (p.Dead == 1) {
    AddExplosionsPartikel(p.x, p.y, p.x + static_cast<float>(w), p.y + static_cast<float>(h));
    if (SoundAn) PlaySound(SndExplosion[0], 0, 0, SoundLautstaerke);
  }
  if (p.Dead % 2 == 0 && HatPlatz(BigPartikel)) {
    const float r1 = Rnd(), r2 = Rnd();
    const int32_t s = CLng(p.Parameter);
    const float mx = p.x + static_cast<float>(w / 2), my = p.y + static_cast<float>(h / 2);
    Add1BigPartikel(static_cast<float>(mx - static_cast<double>(IDiv(s, 2))),
                    static_cast<float>(my - static_cast<double>(IDiv(s, 2))), 2 * r1 - 1, 2 * r2 - 1, 1, 1, 1, s, 0,
                    12, 10, 0);
  }

  if (!Rendern || bild < 0) return;
  const double t = Rest(p);
  if (SpriteDefs[static_cast<size_t>(p.Durchmesser)].D3DSprite != 0) {
    const RECT ziel{CLng(p.x), CLng(p.y), CLng(static_cast<double>(p.x) + w), CLng(static_cast<double>(p.y) + h)};
    SetUpGeom(bild, Surfaces[static_cast<size_t>(bild)].SrcRect, ziel, 1, 1, 1, static_cast<float>(2 * t), CLng(p.R));
    Render(bild, false);
  } else {
    // Drawn flat, it shrinks toward its centre instead of fading.
    const int32_t sx = IDiv(CLng(w - t * w), 2), sy = IDiv(CLng(h - t * h), 2);
    const double x = p.x, y = p.y;
    ShowSpriteRect(bild, static_cast<float>(x + sx), static_cast<float>(y + sy), static_cast<float>(x + w - sx),
                   static_cast<float>(y + h - sy), false);
  }
}

void ZweiterRing(int32_t, BigPartikelDaten& p) {
  if (Rendern) QuadGedreht(TexWave2, p, 0.7 * Rest(p), CLng(p.Parameter), false);
  Aufweiten(p, 8);
}

// Every sparkle turns with the level clock, four degrees a tick.
void Glitzer(int32_t, BigPartikelDaten& p) {
  if (Rendern) QuadGedreht(TexGlitzer, p, Rest(p), Mod(LevelTick, 90) * 4, true);
  Wachsen(p);
}

void VerblassenderStrich(int32_t, BigPartikelDaten& p) {
  if (Rendern && p.Still == 0) QuadGedreht(TexStrich, p, Rest(p), CLng(p.Parameter), true);
}

void HelleGlut(int32_t, BigPartikelDaten& p) {
  if (Rendern) Quad(TexKreis2, p, 0.7 * Rest(p), true);
  Wachsen(p);
}

constexpr std::array<ArtHandler, 18> kArten = {
    Blitzbox,     // 0
    Glut,         // 1
    Ring,         // 2
    BreiterRing,  // 3
    SchnellerStrich,   // 4
    WachsenderStrich,  // 5
    Feuer, Feuer, Feuer, Feuer,  // 6..9
    Rauch,                 // 10
    Linse,                 // 11
    Wrack,                 // 12
    ZweiterRing,           // 13
    Glitzer,               // 14
    VerblassenderStrich,   // 15
    HelleGlut,             // 16
    LinseUeberAllem,       // 17
};

}  // namespace

void Add1BigPartikel(float x, float y, float SX, float SY, float R, float G, float B, int32_t Durchmesser,
                     int32_t Still, int32_t Dead, int32_t Art, float Parameter) {
  const int32_t k = BigPartikel.Claim();
  if (k < 0) return;
  BigPartikelDaten& p = BigPartikel[k];
  p.x = x;
  p.y = y;
  p.SX = SX;
  p.SY = SY;
  p.R = R;
  p.G = G;
  p.B = B;
  p.Alpha = 1.0f;
  p.Durchmesser = Durchmesser;
  p.Still = Still;
  p.Dead = p.DeadMax = Dead;
  p.Art = Art;
  p.Parameter = Parameter;
}

void Add1BigPartikel(const NeuerBigPartikel& p) {
  Add1BigPartikel(p.x, p.y, p.SX, p.SY, p.R, p.G, p.B, p.Durchmesser, p.Still, p.Dead, p.Art, p.Parameter);
}

void AddBigPartikel(float x1, float y1, float x2, float y2, float R, float G, float B, int32_t D, int32_t Still,
                    int32_t Dead) {
  // Puffs of no size would be countless.
  if (D < 1) return;
  const float breite = x2 - x1, hoehe = y2 - y1;
  const int64_t n = int64_t{CLng(static_cast<double>(breite) / D * hoehe / D * 3)} + 1;
  const int32_t h = D / 2, q = h / 2;
  for (int64_t k = 0; k <= n && HatPlatz(BigPartikel); ++k) {
    const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd(), r4 = Rnd(), r5 = Rnd();
    const float x = static_cast<float>((static_cast<double>(breite) - h) * r1 + x1 - q);
    const float y = static_cast<float>((static_cast<double>(hoehe) - h) * r2 + y1 - q);
    const int32_t art = CLng(Int(r5 * 4.0f) + 6);
    Add1BigPartikel(x, y, 2 * r3 - 1, 2 * r4 - 1, R, G, B, 2 * h, Still, Dead, art, 0);
  }
}

void AddExplosionsPartikel(float x1, float y1, float x2, float y2) {
  const float breite = x2 - x1, hoehe = y2 - y1;
  const bool klein = (breite + hoehe) / 2.0f <= 64.0f;
  const int32_t S = klein ? 6 : 20, L = klein ? 16 : 36;
  const int64_t n = int64_t{CLng(breite / 64.0f * hoehe / 64.0f * 2.0f)} + 1;
  // The centre of a 64-pixel puff in the middle of the rectangle.
  const int32_t cx = CLng(x1 + static_cast<double>(IDiv(CLng(breite - 64.0f), 2)));
  const int32_t cy = CLng(y1 + static_cast<double>(IDiv(CLng(hoehe - 64.0f), 2)));
  auto punkt = [&](int32_t& px, int32_t& py) {
    px = CLng((breite - 64.0f) * Rnd() + x1);
    py = CLng((hoehe - 64.0f) * Rnd() + y1);
  };

  if (Wetter != 1) {
    for (int64_t i = 1; i <= n && HatPlatz(BigPartikel); ++i) {
      int32_t px, py;
      punkt(px, py);
      // Fire near the centre flies apart faster than at the edge.
      const int32_t dx = std::abs(cx - px), dy = std::abs(cy - py);
      double f;
      if (dx < dy)
        f = cy == static_cast<double>(y1) ? 1.0 : 1.0 - dy / (cy - static_cast<double>(y1));
      else
        f = cx == static_cast<double>(x1) ? 1.0 : 1.0 - dx / (cx - static_cast<double>(x1));
      const float r1 = Rnd(), r2 = Rnd(), r3 = Rnd(), r4 = Rnd();
      Add1BigPartikel(static_cast<float>(px), static_cast<float>(py), static_cast<float>((2 * r1 - 1) * f),
                      static_cast<float>((2 * r2 - 1) * f), 1.0f, static_cast<float>(0.4 + 0.2 * r3),
                      static_cast<float>(0.3 + 0.2 * r4), 64, S, L - 5, 1, 0);
    }
    AddBigPartikel(x1, y1, x2, y2, 0.9f, 0.42f, 0.25f, 64, S, L);
  } else {
    // In the snow, trails of white puffs that leave one after another, and violet fire.
    for (int64_t i = 1; i <= 5 * n && HatPlatz(BigPartikel); ++i) {
      int32_t px, py;
      punkt(px, py);
      const float sx = Rnd() * 8.0f - 4.0f, sy = Rnd() * 8.0f - 4.0f;
      for (int32_t still = 0; still <= 6; still += 2)
        Add1BigPartikel(static_cast<float>(px + 8), static_cast<float>(py + 8), sx, sy, 1, 1, 1, 32, still, L - 5,
                        10, 0);
    }
    AddBigPartikel(x1, y1, x2, y2, 0.45f, 0.3f, 0.9f, 64, S, L);
  }

  if (IDiv(CLng(hoehe), 2) + static_cast<double>(y1) > 550 - Wasserstand) {
    for (int64_t k = 0; k <= n && HatPlatz(Blasen); ++k) {
      const int32_t s = CLng(Rnd() * 10.0f + 8.0f);
      const float ra = Rnd(), rb = Rnd();
      AddBlase(static_cast<float>(static_cast<double>(breite * ra + x1) - IDiv(s, 2)),
               static_cast<float>(static_cast<double>(hoehe * rb + y1) - IDiv(s, 2)), s);
    }
  }
}

void MoveBigPartikel() {
  Filtern = true;
  const int32_t bis = BigPartikel.Max;
  for (int32_t i = 0; i <= bis; ++i) {
    BigPartikelDaten& p = BigPartikel[i];
    if (p.Aktiv == VBFalse) continue;
    if (p.Still > 0) {
      --p.Still;
    } else {
      p.x += p.SX;
      p.y += p.SY;
      --p.Dead;
    }
    if (p.Dead <= 0) {
      BigPartikel.Kill(i);
      continue;
    }
    // A kind the game does not have lives out its life unseen.
    if (p.Art >= 0 && p.Art < static_cast<int32_t>(kArten.size())) kArten[static_cast<size_t>(p.Art)](i, p);
  }
  Filtern = false;
}
