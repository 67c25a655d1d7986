// Bombs, rockets, homing missiles and the beam's burst: they explode on the first enemy
// or scenery they touch, in a cloud of particles whose blast deals half their damage to
// whatever lies around. Homing missiles and burst shots steer for the nearest target.
#include <cmath>
#include <cstdint>

#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "player/players_state.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/game_sounds_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace schuss {

namespace {

constexpr Kasten kBombenKasten{7, 22, 57, 42};
constexpr Kasten kLenkKasten{7, 7, 25, 25};

// The rocket's box is its picture.
Kasten RaketenKasten() {
  const RECT q = Quelle(TexRakete);
  return {0, 0, static_cast<float>(q.Right), static_cast<float>(q.Bottom)};
}

// What the shot touched in this tick.
struct Kontakt {
  bool Da = false;     // it explodes
  bool Feind = false;  // an enemy, which returned `Rest`
  int32_t Rest = 0;
};

// An enemy was hit when the test gives back other than the damage offered (the shot's
// own damage stays as it is); otherwise the scenery may stop it.
Kontakt Beruehrung(const SchussDaten& s, const Rechteck& kasten) {
  const int32_t staerke = CLng(s.Stärke);
  const int32_t rest = Feindtreffer(kasten, staerke, true, s.VeskNr);
  if (rest != staerke) return {true, true, rest};
  return {Wand(kasten), false, 0};
}

// The explosion: a cloud of warm particles, the fire, the blast around it with half the
// damage, the bang; then the shot is gone. The bomb's cloud and blast lie around its
// picture's square, the others' around their box.
void Explodieren(int32_t Index, int32_t Nr, const SchussDaten& s, const Kasten& k, const Rechteck& kasten) {
  const bool bombe = s.Art == 11;
  const double x = s.X, y = s.Y;
  const Rechteck wolke = bombe ? Rechteck{CLng(x), CLng(y), CLng(x + 32), CLng(y + 32)} : kasten;
  const Rechteck druck = bombe ? Rechteck{CLng(x - 32), CLng(y - 32), CLng(x + 64), CLng(y + 64)}
                               : Rechteck{kasten.Left - 32, kasten.Top - 32, kasten.Right + 32, kasten.Bottom + 32};
  AddPartikel(1, 50, wolke.Left, wolke.Top, wolke.Right, wolke.Bottom, false);
  AddExplosionsPartikel(static_cast<float>(x + k.Links), static_cast<float>(y + k.Oben),
                        static_cast<float>(x + k.Rechts), static_cast<float>(y + k.Unten));
  Feindtreffer(druck, IDiv(CLng(s.Stärke), 2), true, s.VeskNr);
  Klang(SndExplosion[0]);
  KillSchuss(Index, Nr);
}

// After moving and drawing: explodes on contact. True when it did.
bool Einschlag(int32_t Index, int32_t Nr, const SchussDaten& s, const Kasten& k) {
  const Rechteck kasten = Pixelkasten(s, k);
  if (!Beruehrung(s, kasten).Da) return false;
  Explodieren(Index, Nr, s, k, kasten);
  return true;
}

// Moves the shot on; true when it has left the screen (and is gone).
bool Weiter(int32_t Index, int32_t Nr, SchussDaten& s, const Kasten& k) {
  s.X += s.SX;
  s.Y += s.SY;
  if (!Ausserhalb(s, k)) return false;
  KillSchuss(Index, Nr);
  return true;
}

// The picture `bild` turned by `winkel` degrees in its own size at the shot's place.
void Gedreht(int32_t bild, const SchussDaten& s, int32_t breite, int32_t hoehe, int32_t winkel) {
  const int32_t x = CLng(s.X), y = CLng(s.Y);
  TmpRect1 = {x, y, CLng(static_cast<double>(x) + breite), CLng(static_cast<double>(y) + hoehe)};
  SetUpGeom(bild, Quelle(bild), TmpRect1, 1, 1, 1, 1, winkel);
  Render(bild, false);
}

// ---- Steering (kinds 13 and 14) --------------------------------------------------------

struct Zielpunkt {
  bool Gefunden = false;
  double X = 0, Y = 0;
};

// Rounds half to even as CLng does, for 0 <= v < 2^51, without a call: the search below
// runs for every homing shot over every target in every tick.
inline int32_t Runden(double v) {
  constexpr double kRunden = 6755399441055744.0;  // 1.5 * 2^52
  return static_cast<int32_t>((v + kRunden) - kRunden);
}

// The nearest target's middle from (mx, my), distances rounded to whole pixels; of equally
// near ones the first. Nothing farther than 10000 pixels counts.
struct Naechstes {
  double mx, my;
  int32_t best = 10000;
  // Only what lies nearer than half a pixel beyond the best so far can round below it.
  double schwelle = (best + 0.5) * (best + 0.5);
  Zielpunkt p{};

  bool operator()(const Ziel& z) {
    const double dx = z.MitteX - mx, dy = z.MitteY - my;
    const double q = dx * dx + dy * dy;
    if (q < schwelle) {
      const int32_t d = Runden(std::sqrt(q));
      if (d < best) {
        best = d;
        schwelle = (best + 0.5) * (best + 0.5);
        p = {true, z.MitteX, z.MitteY};
      }
    }
    return false;
  }
};

// A heading in whole degrees brought into 1..360.
int32_t Kurs(int64_t winkel) { return static_cast<int32_t>(((winkel - 1) % 360 + 360) % 360 + 1); }

// The heading (`Zaehler`) turned from the middle (mx, my) towards point `p` by at most 10
// degrees, the shorter way round.
int64_t Gedrehter(const SchussDaten& s, float mx, float my, const Zielpunkt& p) {
  int64_t a = CLng(WinkelInGrad(static_cast<float>(mx - p.X), static_cast<float>(my - p.Y)) - 360);
  const int64_t kurs = s.Zaehler;
  // The turn of the wanted heading nearest the present one; of two as near, the lower.
  if (kurs > a + 180) a += 360 * ((kurs - a - 180 + 359) / 360);
  const int64_t d = a - kurs;
  if (d < 1) return kurs - a > 10 ? kurs - 10 : a;
  if (d >= 11) return kurs + 10;
  return a;
}

// Finds the nearest target and turns towards it; without one the heading stays. Either
// way the heading is kept within 1..360, which the sine tables take alike.
Zielpunkt Lenken(SchussDaten& s, float mx, float my) {
  const Zielpunkt p = JedesZiel(Naechstes{mx, my}).p;
  s.Zaehler = Kurs(p.Gefunden ? Gedrehter(s, mx, my, p) : s.Zaehler);
  return p;
}

constexpr Farbe kSalvenBlau{0, 0, 1.0f};

// A burst shot that hit with damage to spare raises a running combo.
void SalvenCombo(const SchussDaten& s, int32_t rest) {
  if (s.VeskNr < 0 || s.VeskNr >= static_cast<int32_t>(ComboFaktor.size())) return;
  const auto v = static_cast<size_t>(s.VeskNr);
  if (!(ComboFaktor[v] > 1.0f) || rest <= 0) return;
  ComboFaktor[v] = static_cast<float>(double{ComboFaktor[v]} + 0.1);
  ComboTreffer[v] = CLng(static_cast<double>(ComboTreffer[v]) + 1);
}

}  // namespace

void Bombe(int32_t Index, int32_t Nr, SchussDaten& s) {
  s.SY += Schwerkraft / 4;
  // It noses down towards 90 degrees by a fortieth of what is left.
  if (s.Zaehler < 90) s.Zaehler = CLng((90.0 - s.Zaehler) / 40 + s.Zaehler);
  if (Weiter(Index, Nr, s, kBombenKasten)) return;
  if (Rendern) Gedreht(TexBombe, s, 32, 32, s.Zaehler);
  Einschlag(Index, Nr, s, kBombenKasten);
}

void Rakete(int32_t Index, int32_t Nr, SchussDaten& s) {
  const Kasten k = RaketenKasten();
  if (s.Zaehler < 16) {
    // Launched, it drifts for a moment before the motor fires.
    s.Zaehler += 1;
  } else {
    for (int n = 0; n < 2; ++n) {
      const float hoehe = Rnd() * k.Unten, sy = 2 * Rnd() - 1, gruen = Rnd();
      Add1Partikel(0, s.X, s.Y + hoehe, -1.0f, sy, 1.0f, gruen, 0.2f, 2, 10);
    }
    if (s.SX < 20) s.SX += 0.5f;
    s.SY = 0;
  }
  if (Weiter(Index, Nr, s, k)) return;
  if (Rendern) ShowSprite(TexRakete, CLng(s.X), CLng(s.Y), false);
  Einschlag(Index, Nr, s, k);
}

void Lenkrakete(int32_t Index, int32_t Nr, SchussDaten& s) {
  if (s.Zustand == 0) {
    s.Zustand = CLng(std::sqrt(double{s.SX} * s.SX + double{s.SY} * s.SY));
    s.Zaehler = CLng(s.Force);
  }
  const float mx = s.X + 16, my = s.Y + 16;
  const Zielpunkt p = Lenken(s, mx, my);
  if (p.Gefunden)
    Linie(mx, my, static_cast<float>(p.X), static_cast<float>(p.Y), 5, 0.2f, 1, 0.2f, 0.2f, 0.2f, 1, 0.2f, 0.2f,
          false);
  s.SX = static_cast<float>(s.Zustand) * CosinusB(s.Zaehler);
  s.SY = static_cast<float>(s.Zustand) * SinusB(s.Zaehler);
  const float rx = -s.SX / 6 - 0.5f + Rnd(), ry = -s.SY / 6 - 0.5f + Rnd(), gruen = Rnd();
  Add1BigPartikel(mx - 5 - 2 * s.SX, my - 5 - 2 * s.SY, rx, ry, 1.0f, gruen, 0.2f, 7, 0, 10, 1, 0);
  if (Weiter(Index, Nr, s, kLenkKasten)) return;
  if (Rendern) {
    const RECT q = Quelle(TexRakete2);
    Gedreht(TexRakete2, s, q.Right - q.Left, q.Bottom - q.Top, s.Zaehler);
  }
  Einschlag(Index, Nr, s, kLenkKasten);
}

void Strahlsalve(int32_t Index, int32_t Nr, SchussDaten& s) {
  if (s.Zustand == 0) {
    s.Zustand = 1;
    s.Zaehler = CLng(s.Force);
    SchweifInit(s.SchweifX, s.SchweifY, 10);
  }
  const float mx = s.X + 16, my = s.Y + 16;
  Lenken(s, mx, my);
  s.SX = 15 * CosinusB(s.Zaehler);
  s.SY = 15 * SinusB(s.Zaehler);
  Band(s, mx, my, 10, kSalvenBlau, 8);
  if (Weiter(Index, Nr, s, kLenkKasten)) return;
  if (Rendern) {
    SetUpRect(TexKreis2, s.X, s.Y, s.X + 32, s.Y + 32);
    SetUpColor(TexKreis2, 0, 0, 1.0f, 1.0f);
    Render(TexKreis2, true);
    SetUpColor(TexKreis2, 1, 1, 1, 1);
    Render(TexKreis2, true);
  }
  const Rechteck kasten = Pixelkasten(s, kLenkKasten);
  const Kontakt k = Beruehrung(s, kasten);
  if (!k.Da) return;
  if (k.Feind) SalvenCombo(s, k.Rest);
  Explodieren(Index, Nr, s, kLenkKasten, kasten);
}

}  // namespace schuss
