// The satellite's special shots: glowing heads that drag a ribbon behind them and, once
// they have hit something or left, stay put while the ribbon shrinks away; and the laser,
// a line from the satellite to the first obstacle.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "campaign/game_loop_state.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/game_sounds_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace schuss {

namespace {

// The head: 16 wide, from 8 above the shot's y to 8 below.
constexpr Kasten kKopf{0, -8, 16, 8};

// How a ribbon kind looks and how long its ribbon takes to fade.
struct Bandart {
  Farbe Leuchten;      // ribbon and head
  Farbe Blitz;         // the flash where it ends
  int32_t Verblassen;  // ticks
  float Punkte;        // trail length N (N + 1 points)
};

constexpr Bandart kTorpedo{{1.0f, 0.1f, 0.2f}, {1.0f, 0.3f, 0.4f}, 24, 25};
constexpr Bandart kBumerang{{1.0f, 0.1f, 1.0f}, {1.0f, 0.3f, 1.0f}, 14, 15};
constexpr Bandart kSucher{{0.3f, 1.0f, 0.4f}, {0.3f, 1.0f, 0.4f}, 24, 5};
constexpr Farbe kBlau{0.2f, 0.1f, 1.0f};
constexpr Farbe kBlauBlitz{0.4f, 0.3f, 1.0f};

// The bouncing ribbon's length is its `Force`; it is held to the room every slot keeps,
// which is more than the satellite ever asks for.
float BlauPunkte(const SchussDaten& s) { return std::min(s.Force, static_cast<float>(kSchweifPunkte - 1)); }

int Vorzeichen(double v) { return (v > 0) - (v < 0); }

// The head has left the area it may fly in: right of `rechts` or below the play area, or
// wholly left of `links` or above the top.
bool Draussen(const SchussDaten& s, float links, float rechts) {
  return s.X > rechts || double{s.X} + kKopf.Rechts - kKopf.Links < links || s.Y > kSpielfeldHoehe ||
         double{s.Y} + kKopf.Unten - kKopf.Oben < 0;
}

// The ribbon behind a flying head.
void Schweif(SchussDaten& s, float N, const Farbe& c) { Band(s, s.X + 8, s.Y, N, c, 4); }

// The head is a blit: its tint stays on the picture's quad for the next one drawing it so.
void Kopf(const SchussDaten& s, const Farbe& c) {
  if (!Rendern) return;
  SetUpColor(TexKreis2, c.R, c.G, c.B, 1.0f);
  ShowSpriteRect(TexKreis2, s.X, s.Y - 8, s.X + 16, s.Y + 8, false);
}

// The shot is gone; its trail keeps its room for the next ribbon in the slot.
void Ende(int32_t Index, int32_t Nr, SchussDaten& s) {
  s.SchweifX.clear();
  s.SchweifY.clear();
  KillSchuss(Index, Nr);
}

// The head stops and its ribbon fades over `laenge` ticks. A ribbon with no fade to show
// ends at once (else, with its counter never positive, it would fly on for ever). True
// when it ended.
bool Verblasse(int32_t Index, int32_t Nr, SchussDaten& s, int32_t laenge) {
  if (laenge < 1) {
    Ende(Index, Nr, s);
    return true;
  }
  s.Zaehler = laenge;
  return false;
}

// A tick of the fade: the ribbon loses its oldest point, the head stays where it stopped.
void Verblassen(int32_t Index, int32_t Nr, SchussDaten& s, float N, const Farbe& c) {
  Band(s, -1, -1, N, c, 4);
  Kopf(s, c);
  s.Zaehler -= 1;
  if (s.Zaehler <= 0) Ende(Index, Nr, s);
}

// A flying head hits enemies with what damage it has left and stops at the scenery.
void Kopftreffer(SchussDaten& s, const Bandart& a) {
  const Rechteck kasten = Pixelkasten(s, kKopf);
  if (Verbraucht(s, kasten, true)) {
    s.Zaehler = a.Verblassen;
    Aufblitzen(a.Blitz, a.Verblassen, s.X, s.Y - 8);
    return;
  }
  if (!Wand(kasten)) return;
  s.Zaehler = a.Verblassen;
  Einschlagfunken(s);
  Aufblitzen(a.Blitz, a.Verblassen, s.X, s.Y - 8);
}

// A tick of a head that flies by its speed: once it has stopped, the fade; else the move
// and the ribbon, and then a head in its area (`links`..`rechts` across) is drawn and
// hits, one outside starts to fade. A wobbling head wobbles after its ribbon took the
// point.
void Fliegen(int32_t Index, int32_t Nr, SchussDaten& s, const Bandart& a, float links, float rechts,
             bool wackelt = false) {
  if (s.Zaehler >= 1) {
    Verblassen(Index, Nr, s, a.Punkte, a.Leuchten);
    return;
  }
  s.X += s.SX;
  s.Y += s.SY;
  Schweif(s, a.Punkte, a.Leuchten);
  if (wackelt) s.Y += 2 * SinusB(static_cast<int32_t>(int64_t{LevelTick} * 10 % 360));
  if (Draussen(s, links, rechts)) {
    s.Zaehler = a.Verblassen;
    return;
  }
  Kopf(s, a.Leuchten);
  Kopftreffer(s, a);
}

// ---- Red torpedo (kind 6) ---------------------------------------------------------------

// The height of the nearest target ahead, from the shot's y (0: none, or near enough to
// fly straight).
int32_t Hoehenziel(const SchussDaten& s) {
  int64_t best = 10000;
  const int vorn = Vorzeichen(s.SX);
  JedesZiel([&](const Ziel& z) {
    const int32_t dy = CLng(z.MitteY - s.Y);
    if (std::abs(int64_t{dy}) < std::abs(best) && Vorzeichen(double{z.Links} - s.X) == vorn) best = dy;
    return false;
  });
  if (best == 10000 || std::abs(best) < 4) return 0;
  return static_cast<int32_t>(best);
}

// ---- Blue bouncing ribbon (kind 7) ------------------------------------------------------

// The head has run into the scenery: it bounces off vertically, or, where that is blocked
// too (a corner), horizontally. After 40 bounces it starts to fade. True when it ended.
bool Abprallen(int32_t Index, int32_t Nr, SchussDaten& s) {
  Add1BigPartikel(s.X + 5, s.Y, 0, 0, 1, 1, 1, 6, 0, 14, 2, 4);
  s.SY = -s.SY;
  const Rechteck weiter{CLng(s.X), CLng(double{s.Y} - 8 + s.SY), CLng(double{s.X} + 16),
                        CLng(double{s.Y} + 8 + s.SY)};
  if (Wand(weiter)) {
    s.SY = -s.SY;
    s.SX = -s.SX;
    // Turned back against the scroll: the scenery it hit moves towards it.
    if (s.SX < 0) s.X -= Ebenen[3].Speed;
  }
  s.Zustand = CLng(static_cast<double>(s.Zustand) + 1);
  if (s.Zustand > 40) return Verblasse(Index, Nr, s, CLng(double{s.Force} - 1));
  return false;
}

// ---- Laser (kind 8) -----------------------------------------------------------------------

constexpr Farbe kLaserGelb{1.0f, 1.0f, 0.2f};

// Sparks flying back from where the beam ends, every fourth tick (every other one for a
// laser of no length).
void Laserfunken(const SchussDaten& s, bool rechts, int32_t e) {
  if (!(LevelTick % 4 == 0 || (LevelTick % 2 == 0 && s.Force == 0))) return;
  const int32_t a = CLng(rechts ? Rnd() * 90 - 45 : Rnd() * 90 + 135);
  const float c = CosinusB(a), n = SinusB(a);
  Add1BigPartikel(static_cast<float>(e - 10 - 15 * c), s.Y - 10 - 15 * n, -10 * c, -10 * n, kLaserGelb.R,
                  kLaserGelb.G, kLaserGelb.B, 20, CLng(Rnd() * 5), 10, 15, static_cast<float>(a));
}

}  // namespace

void RoterTorpedo(int32_t Index, int32_t Nr, SchussDaten& s) {
  if (s.Zustand == 0) {
    s.Zustand = 1;
    s.Zaehler = 0;
    SchweifInit(s.SchweifX, s.SchweifY, kTorpedo.Punkte);
  } else {
    s.SY = static_cast<float>(4 * Vorzeichen(Hoehenziel(s)));
  }
  // Fired from a satellite outside power mode it wobbles.
  Fliegen(Index, Nr, s, kTorpedo, 0, kSpielfeldBreite, s.Force == 1);
}

void BlauesBand(int32_t Index, int32_t Nr, SchussDaten& s) {
  const float n = BlauPunkte(s);
  if (s.Zustand == 0) {
    s.Zaehler = 0;
    SchweifInit(s.SchweifX, s.SchweifY, n);
    s.Zustand = 1;
  }
  if (s.Zaehler >= 1) {
    Verblassen(Index, Nr, s, n, kBlau);
    return;
  }
  // Two half steps, so that it bounces off thin walls instead of passing them.
  for (int halb = 0; halb < 2; ++halb) {
    s.X += s.SX / 2;
    s.Y += s.SY / 2;
    if (Wand(Pixelkasten(s, kKopf)) && Abprallen(Index, Nr, s)) return;
  }
  Schweif(s, n, kBlau);
  if (Draussen(s, 0, kSpielfeldBreite)) {
    Verblasse(Index, Nr, s, CLng(double{s.Force} - 1));
    return;
  }
  Kopf(s, kBlau);
  // The scenery makes it bounce, never ends it; only a spent head stops.
  if (Verbraucht(s, Pixelkasten(s, kKopf), true)) {
    Aufblitzen(kBlauBlitz, CLng(double{s.Force} + 1), s.X, s.Y - 8);
    Verblasse(Index, Nr, s, CLng(double{s.Force} - 1));
  }
}

void Laser(int32_t Index, int32_t Nr, SchussDaten& s) {
  float alpha = 1.0f;
  if (s.Zustand == 0) {
    s.Zustand = 1;
    s.Zaehler = CLng(s.Force);
  } else {
    alpha = static_cast<float>(s.Zaehler / 75.0 + 0.15);
  }
  const bool rechts = s.SX == 1.0f;
  const int32_t x = CLng(s.X), y = CLng(s.Y);
  const int32_t e = rechts ? CheckWhereColisionRight(x, y, kSpielfeldBreite, y) : CheckWhereColisionLeft(0, y, x, y);
  const bool frei = rechts ? e >= kSpielfeldBreite : e < 0;
  // From the satellite to the obstacle or the screen's edge.
  float x1 = s.X, x2 = static_cast<float>(e);
  if (frei && rechts) x2 = static_cast<float>(kSpielfeldBreite);
  if (frei && !rechts) {
    x1 = 0;
    x2 = s.X;
  }
  const Farbe& g = kLaserGelb;
  Linie(x1, s.Y, x2, s.Y, 6, g.R, g.G, g.B, alpha, g.R, g.G, g.B, alpha, false);
  if (static_cast<double>(s.Zaehler) == s.Force) Linie(x1, s.Y, x2, s.Y, 3, 1, 1, 1, 1, 1, 1, 1, 1, true);
  // A beam that meets nothing only shines; one that does burns there every tick.
  if (!frei) {
    Laserfunken(s, rechts, e);
    if (Rendern) {
      SetUpColor(TexKreis2, g.R, g.G, g.B, alpha);
      SetUpRect(TexKreis2, static_cast<float>(e - 8), s.Y - 8, static_cast<float>(e + 8), s.Y + 8);
      Render(TexKreis2, false);
    }
    const Rechteck strahl = rechts ? Rechteck{x, y, e + 1, CLng(double{s.Y} + 1)}
                                   : Rechteck{e - 1, y, x, CLng(double{s.Y} + 1)};
    Feindtreffer(strahl, CLng(s.Stärke), false, s.VeskNr);
  }
  s.Zaehler -= 1;
  if (s.Zaehler <= 0) KillSchuss(Index, Nr);
}

void Bumerang(int32_t Index, int32_t Nr, SchussDaten& s) {
  if (s.Zustand == 0) {
    s.Zaehler = 0;
    SchweifInit(s.SchweifX, s.SchweifY, kBumerang.Punkte);
  }
  // At its turning tick it comes back at twice the speed, level.
  if (double{s.Force} == s.Zustand) {
    s.SX = -2 * s.SX;
    s.SY = 0;
    s.X -= s.SX;
  }
  s.Zustand = CLng(static_cast<double>(s.Zustand) + 1);
  // It may swing out beyond both sides of the screen before it turns.
  Fliegen(Index, Nr, s, kBumerang, -120, 952);
}

void GruenerSucher(int32_t Index, int32_t Nr, SchussDaten& s) {
  if (s.Zustand == 0) {
    s.Zustand = 1;
    s.Zaehler = 0;
    SchweifInit(s.SchweifX, s.SchweifY, kSucher.Punkte);
  } else if (s.SX != 0) {
    // Right above or below a target it turns onto it, and a new seeker carries on.
    std::optional<Ziel> ziel;
    JedesZiel([&](const Ziel& z) {
      if (z.MitteX - 20 <= s.X && s.X <= z.MitteX) ziel = z;
      return ziel.has_value();
    });
    if (ziel) {
      s.SY = ziel->Oben >= s.Y ? 15.0f : -15.0f;
      if (s.Force > 0) {
        AddSchuss(1, 10, s.X + s.SX, s.Y, s.SX, 0, s.Force - 1, s.Stärke, s.VeskNr);
        Klang(SndVPhyGreen);
      }
      s.SX = 0;
      for (float parameter : {4.0f, 6.0f})
        Add1BigPartikel(s.X, s.Y, 0, 0, kSucher.Leuchten.R, kSucher.Leuchten.G, kSucher.Leuchten.B, 0, 0, 18, 2, parameter);
    }
  }
  Fliegen(Index, Nr, s, kSucher, 0, kSpielfeldBreite);
}

}  // namespace schuss
