#include "player/shots.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/enemies_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"

namespace schuss {

Rechteck Pixelkasten(const SchussDaten& s, const Kasten& k) {
  return {CLng(double{s.X} + k.Links), CLng(double{s.Y} + k.Oben), CLng(double{s.X} + k.Rechts),
          CLng(double{s.Y} + k.Unten)};
}

bool Ausserhalb(const SchussDaten& s, const Kasten& k) {
  return s.X > kSpielfeldBreite || double{s.X} + k.Rechts - k.Links < 0 || s.Y > kSpielfeldHoehe ||
         double{s.Y} + k.Unten - k.Oben < 0;
}

namespace detail {

namespace {

// The template value `Parameter`(8): not 0 makes an enemy solid, scenery rather than a target.
constexpr size_t kFestWert = 8;

std::array<Ziel, kZielPlatz> zielPlatz;
int32_t zielAnzahl = 0;
bool zieleAktuell = false;
bool zielUeberlauf = false;

bool Wahr(int16_t flag) { return flag != VBFalse; }

// What the enemy pool offers as targets, in order, until `f` returns true.
template <class F>
void Kandidaten(F&& f) {
  const int32_t letzter = std::min(GegnerMax, GegnerListe.Kapazitaet);
  for (int32_t e = 0; e <= letzter; ++e) {
    const Gegner& g = GegnerListe[e];
    if (!Wahr(g.Aktiv) || Wahr(g.Stirbt) || g.Typ.Parameter[kFestWert] != 0) continue;
    for (const Feindkomponente& k : g.Typ.Komponenten) {
      if (!Wahr(k.Lebt) || Wahr(k.Unzerstörbar)) continue;
      const SurfaceInfo* S = FrameBild(k.Sprite, k.AniA);
      // A frame without a picture, or a picture with nothing opaque, is nothing to aim at.
      if (!S || (S->RandMinX == 0 && S->RandMaxX == 1)) continue;
      const float links = g.X + k.OffsetX, oben = g.Y + k.OffsetY;
      const RECT& q = S->SrcRect;
      const Ziel z{links, oben, double{links} + IDiv(static_cast<double>(q.Right) - q.Left, 2),
                   double{oben} + IDiv(static_cast<double>(q.Bottom) - q.Top, 2)};
      if (f(z)) return;
    }
  }
}

}  // namespace

Zielliste AktuelleZiele() {
  if (!zieleAktuell) {
    zielAnzahl = 0;
    zielUeberlauf = false;
    Kandidaten([](const Ziel& z) {
      if (zielAnzahl == kZielPlatz) {
        zielUeberlauf = true;
        return true;
      }
      zielPlatz[static_cast<size_t>(zielAnzahl++)] = z;
      return false;
    });
    zieleAktuell = true;
  }
  return {std::span<const Ziel>(zielPlatz.data(), static_cast<size_t>(zielAnzahl)), zielUeberlauf};
}

void ZieleAusDemPool(bool (*f)(void*, const Ziel&), void* kontext) {
  Kandidaten([&](const Ziel& z) { return f(kontext, z); });
}

// The enemies may have changed: gather the targets again when next asked.
void ZieleVeraltet() { zieleAktuell = false; }

}  // namespace detail

int32_t Feindtreffer(const Rechteck& r, int32_t Energie, bool Funken, int32_t VeskNr) {
  int32_t feind = -1;
  bool unzerstoerbar = false;
  const int32_t rest = CheckColisionWithEnemy(r.Left, r.Top, r.Right, r.Bottom, Energie, Funken, false, -1, feind,
                                              unzerstoerbar, VeskNr);
  // A touched enemy may have lost a part, died or left followers behind.
  if (feind != -1) detail::ZieleVeraltet();
  return rest;
}

bool Verbraucht(SchussDaten& s, const Rechteck& r, bool Funken) {
  s.Stärke = static_cast<float>(Feindtreffer(r, CLng(s.Stärke), Funken, s.VeskNr));
  return s.Stärke == 0;
}

RECT Quelle(int32_t Bild) {
  if (Bild < 0 || Bild > SurfacesMax()) return {};
  return Surfaces[Bild].SrcRect;
}

void Klang(int32_t Nr) {
  if (SoundAn) PlaySound(Nr, 0, 0, SoundLautstaerke);
}

void Band(SchussDaten& s, float px, float py, float N, const Farbe& c, float Kern) {
  SchweifZeichnen(px, py, s.SchweifX, s.SchweifY, N, 8, c.R, c.G, c.B, true, true);
  SchweifZeichnen(px, py, s.SchweifX, s.SchweifY, N, Kern, 1, 1, 1, true, false);
}

bool Wand(const Rechteck& r) { return CheckColisionWithLandschaft3(r.Left, r.Top, r.Right, r.Bottom, -1); }

void Einschlagfunken(const SchussDaten& s) {
  AddPartikel(1, 1, CLng(double{s.X} - 3), CLng(double{s.Y} - 3), CLng(double{s.X} + 18), CLng(double{s.Y} + 18),
              true);
}

void Aufblitzen(const Farbe& f, int32_t Leben, float x, float y) {
  Add1BigPartikel(x, y, 0, 0, f.R, f.G, f.B, 16, 0, Leben, 1, 0);
}

}  // namespace schuss

using namespace schuss;

namespace {

RECT AlsRect(const Rechteck& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// Whole-degree angles as the sine table takes them, without overflowing far out.
int32_t Grad(int64_t winkel) { return static_cast<int32_t>(winkel % 360); }

// ---- Plain bullets (kinds -2, -1, 0, 1) -----------------------------------------------

constexpr Kasten kKugelKasten{0, 0, 16, 16};

// Flash colours by kind + 2.
constexpr std::array<Farbe, 4> kKugelFarben = {{
    {1.0f, 1.0f, 0.0f},  // -2, the drone ship's shield orbs
    {0.4f, 1.0f, 0.4f},  // -1, the drone ship's gun
    {0.6f, 0.8f, 1.0f},  // 0
    {1.0f, 0.3f, 0.3f},  // 1
}};

// Smoke behind a bullet of a gun above level 1, tinted redder with the level.
void Rauchspur(const SchussDaten& s) {
  if (!(s.Force > 1)) return;
  const float sx = 2 * Rnd() - 1;
  const float sy = s.SY == 0 ? 0.0f : 2 * Rnd() - 1;
  Add1BigPartikel(s.X, s.Y, sx, sy, static_cast<float>(s.Force * 0.3), 0.2f, 1.0f, 16, 0, 6, 1, 0);
}

void KugelZeichnen(const SchussDaten& s, const Rechteck& kasten) {
  const int32_t bild = TexBallschuss[s.Art >= 0 ? s.Art : 1 - s.Art];
  const int32_t winkel = CLng(WinkelInGrad(-s.SX, -s.SY));
  // A ball of kind 1 is round: it is never turned.
  if (s.Art != 1 && winkel != 0) {
    SetUpGeom(bild, Quelle(bild), AlsRect(kasten), 1, 1, 1, 1, winkel);
    Render(bild, false);
  } else {
    ShowSprite(bild, CLng(s.X), CLng(s.Y), true);
  }
}

void Kugel(int32_t Index, int32_t Nr, SchussDaten& s) {
  const Farbe& farbe = kKugelFarben[s.Art + 2];
  Rauchspur(s);
  s.X += s.SX;
  s.Y += s.SY;
  if (Ausserhalb(s, kKugelKasten)) {
    KillSchuss(Index, Nr);
    return;
  }
  const Rechteck kasten = Pixelkasten(s, kKugelKasten);
  if (Rendern) KugelZeichnen(s, kasten);
  if (Verbraucht(s, kasten, true)) {
    Aufblitzen(farbe, 9, s.X, s.Y);
    KillSchuss(Index, Nr);
    return;
  }
  if (!Wand(kasten)) return;
  KillSchuss(Index, Nr);
  Einschlagfunken(s);
  Aufblitzen(farbe, 9, s.X, s.Y);
}

// ---- Flame (kind 3) ---------------------------------------------------------------------

// A flame lives 20 steps of `Force`. One whose step rounds to nothing would never get
// there (and cannot be divided by), and one whose counter has stopped at the end of the
// number range neither: both go out at once.
bool Erloschen(const SchussDaten& s) {
  const int32_t schritt = CLng(s.Force);
  if (schritt == 0 || s.Zaehler == INT32_MAX || s.Zaehler == INT32_MIN) return true;
  return IDiv(s.Zaehler, schritt) >= 20;
}

void Flamme(int32_t Index, int32_t Nr, SchussDaten& s) {
  const int32_t r = IDiv(static_cast<double>(s.Zaehler) + 10, 2);
  const double links = double{s.X} - r, oben = double{s.Y} - r, rechts = double{s.X} + r, unten = double{s.Y} + r;
  if (Rendern) {
    const auto k = static_cast<size_t>(Int(Rnd() * 4));
    const double hell = 1 - std::fabs(s.SY);
    const auto rechteck = [&](int32_t bild) {
      SetUpRect(bild, static_cast<float>(links), static_cast<float>(oben), static_cast<float>(rechts),
                static_cast<float>(unten));
    };
    rechteck(TexFeuer[0]);
    SetUpColor(TexFeuer[0], 1.0f, static_cast<float>(hell / 4 + 0.5), static_cast<float>(hell / 6 + 0.1), 0.7f);
    Render(TexFeuer[0], false);
    rechteck(TexFeuer[k]);
    SetUpColor(TexFeuer[k], 1.0f, 0.4f, 0.3f, 1.0f);
    Render(TexFeuer[k], true);
  }
  s.X += s.SX;
  s.Y += s.SY;
  s.Zaehler = CLng(static_cast<double>(s.Zaehler) + s.Force);
  if (Erloschen(s)) {
    KillSchuss(Index, Nr);
    return;
  }
  // The flame burns whatever it overlaps with its whole strength, every tick.
  Feindtreffer({CLng(links), CLng(oben), CLng(rechts), CLng(unten)}, CLng(s.Stärke), false, s.VeskNr);
}

// ---- Splinter shot (kind 4) -------------------------------------------------------------

constexpr Farbe kSplitterFarbe{1.0f, 0.3f, 0.3f};

// Two splinters of the next generation from where the shot was before this tick: across
// its path both bounce back, along a slanted one one bounces each way.
void Splitterpaar(int32_t Index, const SchussDaten& s) {
  const float x = s.X - s.SX, y = s.Y - s.SY;
  const float force = s.Force - 1, staerke = s.Force * 20;
  for (int n = 0; n < 2; ++n) {
    const float i = static_cast<float>(Int(3 * Rnd()));
    const float j = static_cast<float>(Int(3 * Rnd()));
    float sx, sy;
    if (s.SY != 0) {
      sx = (n == 0 ? s.SX : -s.SX) + i - 1;
      sy = (n == 0 ? -s.SY : s.SY) + j - 1;
    } else {
      sx = -s.SX + i - 1;
      sy = n == 0 ? -j - 5 : j + 5;
    }
    AddSchuss(Index, 4, x, y, sx, sy, force, staerke, s.VeskNr);
  }
}

void Splittergeschoss(int32_t Index, int32_t Nr, SchussDaten& s) {
  s.X += s.SX;
  s.Y += s.SY;
  if (Ausserhalb(s, kKugelKasten)) {
    KillSchuss(Index, Nr);
    return;
  }
  // The higher the generation, the larger the ball.
  if (Rendern) {
    const float rand = 4 * s.Force;
    ShowSpriteRect(TexBallschuss[1], s.X - rand, s.Y - rand, s.X + 16 + rand, s.Y + 16 + rand, true);
  }
  const Rechteck kasten = Pixelkasten(s, kKugelKasten);
  if (Verbraucht(s, kasten, true)) {
    Add1BigPartikel(s.X, s.Y, 0, 0, 1.0f, 0.5f, 0.5f, 16, 9, 9, 1, 0);
  } else if (Wand(kasten)) {
    Einschlagfunken(s);
    Aufblitzen(kSplitterFarbe, 9, s.X, s.Y);
  } else {
    return;
  }
  if (s.Force > 0) Splitterpaar(Index, s);
  KillSchuss(Index, Nr);
}

// ---- Spinning splitter (kind 5) -----------------------------------------------------------

constexpr Farbe kAbprallerFarbe{0.8f, 0.6f, 1.0f};

// Three children at the end of a splitter's life, 120 degrees apart, always in the late
// group. The parent is freed between the second and the third, so that in the late
// group the third may take its slot. Only a positive generation splits: a count that
// never reaches 0 going down would split for ever.
void Aufspalten(int32_t Index, int32_t Nr, const SchussDaten& s) {
  const float x = s.X, y = s.Y, force = s.Force - 1, staerke = s.Stärke;
  const int32_t vesk = s.VeskNr, winkel = s.Zustand;
  for (int n = 0; n < 3; ++n) {
    if (n == 2) KillSchuss(Index, Nr);
    const int32_t a = Grad(int64_t{winkel} + 120 * n);
    AddSchuss(1, 5, x, y, 5 * SinusB(a), 5 * CosinusB(a), force, staerke, vesk);
  }
}

void Abpraller(int32_t Index, int32_t Nr, SchussDaten& s) {
  if (s.Zustand == 0) s.Zaehler = CLng(Rnd() * 12 + 15);
  const bool gross = s.Force > 0;
  const int32_t bild = TexAbpraller[gross ? 1 : 0];
  const Kasten k = gross ? Kasten{7, 7, 25, 25} : Kasten{9, 9, 23, 23};
  s.X += s.SX;
  s.Y += s.SY;
  s.Zaehler = CLng(static_cast<double>(s.Zaehler) - 1);
  s.Zustand = CLng(static_cast<double>(s.Zustand) + 10);

  if (s.Zaehler <= 0) {
    if (gross) {
      Aufspalten(Index, Nr, s);
    } else {
      KillSchuss(Index, Nr);
    }
    return;
  }
  if (Rendern) {
    const RECT ziel{CLng(s.X), CLng(s.Y), CLng(double{s.X} + 32), CLng(double{s.Y} + 32)};
    // The big one spins; the last generation fades out over its last 15 ticks.
    if (gross) {
      SetUpGeom(bild, Quelle(bild), ziel, 1, 1, 1, 1, Grad(s.Zustand));
    } else {
      SetUpGeom(bild, Quelle(bild), ziel, 1, 1, 1, static_cast<float>(std::min(s.Zaehler, 15)) / 15, 0);
    }
    Render(bild, false);
  }
  const Rechteck kasten = Pixelkasten(s, k);
  if (Verbraucht(s, kasten, true)) {
    Aufblitzen(kAbprallerFarbe, 9, s.X + 8, s.Y + 8);
    KillSchuss(Index, Nr);
    return;
  }
  if (!Wand(kasten)) return;
  KillSchuss(Index, Nr);
  AddPartikel(1, 1, CLng(double{s.X} + 5), CLng(double{s.Y} + 5), CLng(double{s.X} + 26), CLng(double{s.Y} + 26),
              true);
  Aufblitzen(kAbprallerFarbe, 9, s.X + 8, s.Y + 8);
}

// ---- The kinds ----------------------------------------------------------------------------

// A kind this game does not know (or not yet) leaves at once.
void Unbekannt(int32_t Index, int32_t Nr, SchussDaten&) { KillSchuss(Index, Nr); }

constexpr int32_t kErsteArt = -2;
constexpr std::array<Schritt, 17> kArten = {
    Kugel,            // -2
    Kugel,            // -1
    Kugel,            // 0
    Kugel,            // 1
    Unbekannt,        // 2
    Flamme,           // 3
    Splittergeschoss, // 4
    Abpraller,        // 5
    RoterTorpedo,     // 6 red ribbon torpedo
    BlauesBand,       // 7 bouncing blue ribbon
    Laser,            // 8 laser line
    Bumerang,         // 9 boomerang
    GruenerSucher,    // 10 green seeker
    Bombe,            // 11 bomb
    Rakete,           // 12 rocket
    Lenkrakete,       // 13 homing missile
    Strahlsalve,      // 14 beam burst
};

Schritt SchrittDerArt(int32_t Art) {
  const int64_t i = int64_t{Art} - kErsteArt;
  if (i < 0 || i >= static_cast<int64_t>(kArten.size())) return Unbekannt;
  return kArten[static_cast<size_t>(i)];
}

bool Gruppe(int32_t Index) { return Index >= 0 && Index < static_cast<int32_t>(Schuesse.size()); }

}  // namespace

void AddSchuss(int32_t Index, int32_t Art, float x, float y, float SX, float SY, float Force, float Stärke,
               int32_t VeskNr) {
  if (!Gruppe(Index)) return;
  const int32_t k = Schuesse[Index].Claim();
  if (k < 0) return;
  // Field by field: the slot's trail keeps its room.
  SchussDaten& s = Schuesse[Index][k];
  s.Art = Art;
  s.X = x;
  s.Y = y;
  s.SX = SX;
  s.SY = SY;
  s.Force = Force;
  s.Stärke = Stärke;
  s.Zaehler = 0;
  s.Zustand = 0;
  s.VeskNr = VeskNr;
  // Every shot counts on the first record, whoever fired it.
  Spieler[0].Schaden = CLng(static_cast<double>(Spieler[0].Schaden) + Stärke);
}

void KillSchuss(int32_t Index, int32_t Nr) {
  if (Gruppe(Index)) Schuesse[Index].Kill(Nr);
}

void SpielMoveSchuss(int32_t Index) {
  if (!Gruppe(Index)) return;
  const Trefferdurchgang durchgang;  // every shot tests the enemies and the scenery
  auto& gruppe = Schuesse[Index];
  // The enemies have moved since the last step.
  detail::ZieleVeraltet();
  const int32_t letzter = std::min(gruppe.Max, gruppe.Kapazitaet);
  for (int32_t nr = 0; nr <= letzter; ++nr) {
    SchussDaten& s = gruppe[nr];
    if (s.Aktiv == VBFalse) continue;
    SchrittDerArt(s.Art)(Index, nr, s);
  }
}
