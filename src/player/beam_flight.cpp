// The attack half of the beam: each ship type's glow while it charges, and its beam in
// flight with its hits, its helix and its end.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "player/beam.hpp"
#include "player/players_state.hpp"
#include "player/shots.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

using namespace beam;

namespace {

constexpr Farbe kWeiss{1, 1, 1};
constexpr Farbe kHelixFarbe{0.7f, 0.4f, 1.0f};
constexpr Farbe kFlammenFarbe{1.0f, 0.4f, 0.2f};
constexpr float kRand = 800;               // a beam past this x has left the screen
constexpr int32_t kDrohnenAbzug = 2100;    // what the drone ship's beam holds back from each offer
constexpr int32_t kSchimmerStart = -100;   // the drone ship's beam has just stopped
// Hit tests of one frame at most: each hit that leaves damage over destroys a part, but a
// level whose enemies spawn more of themselves as they die must not hold the frame for ever.
constexpr int32_t kMaxTests = 10000;
// Bolt segments at most: a beam across the whole screen has 45.
constexpr int32_t kMaxSegmente = 60;

bool Voll(float Ladung) { return Ladung == kBeamVoll; }

// Whole-degree angles as the sine table takes them, without overflowing far out.
int32_t Grad(int64_t winkel) { return static_cast<int32_t>(winkel % 360); }

float Stufenanteil(int32_t L, double Grund) { return static_cast<float>(L * 0.2 + Grund); }

// The beam's colour at gun level `L`.
Farbe Leuchtfarbe(int32_t L) { return {0.7f, Stufenanteil(L, 0.4), 1.0f}; }

// One flying beam and the values its frame works with.
struct Flug {
  int32_t p;
  BeamStatus& B;
  int32_t L;
  bool voll;

  float w() const { return B.Breite; }
  int32_t h() const { return IDiv(CLng(B.Breite), 2); }
  int32_t q() const { return IDiv(CLng(B.Breite), 4); }
  // The hit rectangle: from 24 behind the head to a width ahead of it.
  Rechteck H() const {
    return {CLng(double{B.X} - 24), CLng(double{B.Y} - h()), CLng(double{B.X} + B.Breite), CLng(double{B.Y} + h())};
  }
  void Ende() {
    B.Fliegt = VBFalse;
    B.Ladung = B.LadungAbschuss = 0;
  }
};

// ---- Screen copies for the drone ship's lenses ------------------------------------------

// Copies the screen rectangle `r` stretched into picture `Bild` (as large as `TexBlurB`).
// Of a rectangle partly off the screen only the part on it is copied, where it belongs,
// and the rest of the picture is black. False when nothing was copied: an empty or
// inverted rectangle, one wholly off the screen, or a copy the blitter refused.
bool Bildschirmkopie(const Rechteck& r, int32_t Bild) {
  if (!BackBuffer || !SurfaceGueltig(Bild, "SpielBeam") || !SurfaceGueltig(TexBlurB, "SpielBeam")) return false;
  if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
  const int32_t breite = BackBuffer->Width(), hoehe = BackBuffer->Height();
  if (r.Right <= 0 || r.Bottom <= 0 || r.Left >= breite || r.Top >= hoehe) return false;
  platform::Surface& ziel = *Surfaces[Bild].Surface;
  const platform::Rect alles{0, 0, Surfaces[TexBlurB].Width, Surfaces[TexBlurB].Height};
  const bool ganz = r.Left >= 0 && r.Top >= 0 && r.Right <= breite && r.Bottom <= hoehe;
  if (!ganz && ziel.BltColorFill(&alles, 0) != platform::DD_OK) return false;
  const platform::Rect quelle{r.Left, r.Top, r.Right, r.Bottom};
  return ziel.Blt(&alles, BackBuffer.get(), &quelle, platform::DDBLT_WAIT) == platform::DD_OK;
}

// Masks the copy in `TexBlurB` into a disc with a rim; without the mask it stays square.
void Rundmaske() {
  if (!SurfaceGueltig(TexKreis3, "SpielBeam")) return;
  const SurfaceInfo& maske = Surfaces[TexKreis3];
  Surfaces[TexBlurB].Surface->BltFast(0, 0, *maske.Surface, &maske.SrcRect,
                                      platform::DDBLTFAST_SRCCOLORKEY | platform::DDBLTFAST_WAIT);
}

// The scene is ended for a copy of the back buffer and begun again, which forgets the
// filter the lens wants.
template <class Kopien>
void AusserhalbDerSzene(Kopien kopien) {
  RenderEnd();
  kopien();
  RenderStart();
  Filtern = true;
}

// The strip behind the drone ship's beam head.
Rechteck Streifen(const Flug& f) {
  const BeamStatus& B = f.B;
  return {CLng(double{B.StartX} + f.h() - f.q()), CLng(double{B.Y} - f.q()), CLng(double{B.X} - f.h() + f.q()),
          CLng(double{B.Y} + f.q())};
}

// ---- Charge glow ----------------------------------------------------------------------------

// The glow's rectangle: it grows from the nose with the charge.
Rechteck Glutrechteck(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  const SchiffDaten& b = Schiff[p];
  const int32_t c = CLng(Beam[p].Ladung);
  const double mitte = double{s.Y} + b.BoxOben + IDiv(b.BoxUnten - b.BoxOben, 2);
  return {CLng(double{s.X} + b.BoxRechts - 4), CLng(mitte - IDiv(c, 6)), CLng(IDiv(c, 3) + b.BoxRechts + double{s.X} - 4),
          CLng(IDiv(c, 6) + mitte)};
}

// "V-Tonator": a blue glow at the nose turning white at the end, a sweep running along the
// ship, and streaks turning at random.
void Glut0(int32_t p, Rechteck g) {
  const SpielerDaten& s = Spieler[p];
  const SchiffDaten& b = Schiff[p];
  const BeamStatus& B = Beam[p];
  const float gruen = Stufenanteil(s.Waffenstufe, 0.2);
  Viereck(TexKreis2, g.Left, g.Top, g.Right, g.Bottom, {0.6f, gruen, 1.0f}, 1, false);
  if (B.Ladung > 150) Viereck(TexKreis2, g.Left, g.Top, g.Right, g.Bottom, kWeiss, (B.Ladung - 150) / 25, false);
  if (!Voll(B.Ladung)) {
    const int32_t c = CLng(B.Ladung);
    const int32_t k = IDiv(c, 32) + 1;
    const int32_t schritt = CLng(32.0 / k);
    const double x = double{s.X} + b.BoxLinks + static_cast<double>(Mod(c, schritt)) * k * 2;
    struct Welle {
      float A;
      int32_t VonX, Rand;
    };
    constexpr std::array<Welle, 3> kWellen = {{{0.2f, -8, 11}, {0.4f, -4, 8}, {0.6f, 0, 5}}};
    for (const Welle& w : kWellen)
      Viereck(TexWave, x + w.VonX, double{s.Y} + b.BoxOben - w.Rand, x + 10, double{s.Y} + b.BoxUnten + w.Rand,
              {0.9f, gruen, 1.0f}, w.A, false);
  }
  g = {g.Left - 5, g.Top - 5, g.Right + 7, g.Bottom + 7};
  const RECT ziel{g.Left, g.Top, g.Right, g.Bottom};
  const RECT strich = SurfaceGueltig(TexStrich, "SpielBeam") ? Surfaces[TexStrich].SrcRect : RECT{};
  for (int32_t i = 0; i < 4; ++i) {
    SetUpGeom(TexStrich, strich, ziel, 1.0f, gruen, 1.0f, 0.3f, CLng(Rnd() * 90.0 + 90 * i));
    Render(TexStrich, false);
  }
}

// "V-Phyton": streams of effect particles at the nose and the middle of the ship, and at
// the very end bursts above and below it in turn.
void Glut1(int32_t p, Rechteck) {
  const SpielerDaten& s = Spieler[p];
  const float ladung = Beam[p].Ladung;
  {
    const float y = s.Y + 24 + Rnd() * 8;
    const float sx = Rnd() * 2 - 10, sy = Rnd() * 4 - 2;
    const float r = Rnd(), g = Rnd(), b = Rnd();
    const int32_t dead = CLng(Rnd() * 2.0 + 15);
    Add1BigPartikel(s.X + 64, y, sx, sy, r, g, b, 8, 0, dead, 1, ladung / 33);
  }
  {
    const int32_t dead = CLng(Rnd() * 2.0 + 5);
    Add1BigPartikel(s.X + 32, s.Y + 32, 0, 0, 0.1f, 0.1f, 1.0f, 1, CLng(double{ladung} / 16), dead, 4, Rnd() * 360);
  }
  if (ladung >= 160) {
    const bool gerade = LevelTick % 2 == 0;
    Add1BigPartikel(s.X + 20, s.Y + (gerade ? 20 : 40), -4, gerade ? -5 : 5, 0.1f, 0.1f, 1.0f, 4, 0,
                    CLng(Rnd() * 2.0 + 15), 1, 10);
  }
}

// At full charge the drone ship shimmers in two ghost images of its current frame.
void Geisterbilder(int32_t p) {
  const SpielerDaten& s = Spieler[p];
  const int64_t feld = int64_t{s.FrameZeile} * 5 + s.FrameSpalte;
  if (feld < 0 || feld >= static_cast<int64_t>(Schiff[p].Bilder.size())) return;
  const int32_t bild = Schiff[p].Bilder[static_cast<size_t>(feld)];
  if (!SurfaceGueltig(bild, "SpielBeam")) return;
  const int64_t t = LevelTick;
  SetUpColor(bild, 1, 1, 1, 0.2f);
  SetUpXY(bild, s.X + 2 * SinusB(Grad(2 * t)), s.Y + 2 * CosinusB(Grad(4 * t)));
  Render(bild, false);
  SetUpXY(bild, s.X - 2 * SinusB(Grad(5 * t)), s.Y - 2 * CosinusB(Grad(6 * t)));
  Render(bild, false);
}

// The drone ship: a magnifying orb ahead of the nose over rising screen noise.
void Glut2(int32_t p, Rechteck) {
  const SpielerDaten& s = Spieler[p];
  const float ladung = Beam[p].Ladung;
  Rauschen = static_cast<float>(double{Rauschen} + double{ladung} * 0.05 / 165);
  const double cx = double{s.X} + 96, cy = double{s.Y} + 32;
  const int32_t rho = CLng(double{ladung} * 27 / 165 + 5);
  {
    const float r = Rnd(), g = Rnd(), b = Rnd();
    Add1BigPartikel(static_cast<float>(cx - rho), static_cast<float>(cy - rho), 0, 0, r, g, b, 2 * rho, 1, 1, 0,
                    static_cast<float>(2 * rho));
  }
  Filtern = true;
  // What lies behind the orb, three quarters of its size, is drawn over the whole of it.
  bool kopiert = false;
  AusserhalbDerSzene([&] {
    kopiert = Bildschirmkopie({CLng(cx - 0.75 * rho), CLng(cy - 0.75 * rho), CLng(cx + 0.75 * rho),
                               CLng(cy + 0.75 * rho)},
                              TexBlurB);
    if (kopiert) Rundmaske();
  });
  if (kopiert) {
    SetUpTUTV(TexBlurB, 0, 0, 1, 1);
    Viereck(TexBlurB, cx - rho, cy - rho, cx + rho, cy + rho, kWeiss, 1, false);
  }
  Viereck(TexKreis2, cx - rho, cy - rho, cx + rho, cy + rho, kWeiss, 0.3f, true);
  if (Voll(ladung)) Geisterbilder(p);
  Filtern = false;
}

using Glut = void (*)(int32_t p, Rechteck g);
constexpr std::array<Glut, 3> kGluten = {Glut0, Glut1, Glut2};

// ---- Flight, what the ship types share ----------------------------------------------------

// The four strands of the helix wind about a full beam, two narrow and two wide.
void Helix(const Flug& f) {
  struct Strang {
    double A, f;
  };
  constexpr std::array<Strang, 4> kStraenge = {{{30, 0.8}, {-30, 0.8}, {60, 0.5}, {-60, 0.5}}};
  const BeamStatus& B = f.B;
  const float halb = B.Breite / 2;
  if (Rendern) SetUpColor(TexKreis2, kHelixFarbe.R, kHelixFarbe.G, kHelixFarbe.B, 1);
  for (size_t i = 0; i < kStraenge.size(); ++i) {
    const Strang& s = kStraenge[i];
    const float px = B.X;
    const auto py = static_cast<float>(B.Y + s.A * SinusB(CLng((double{B.X} - B.StartX) * s.f)));
    BeamSpur& spur = BeamVerlauf.BeamSchweif[i];
    SchweifZeichnen(px, py, std::span<float>(spur.X), std::span<float>(spur.Y), 15, halb, kHelixFarbe.R,
                    kHelixFarbe.G, kHelixFarbe.B, true, true);
    if (!Rendern) continue;
    SetUpRect(TexKreis2, px - halb, py - halb, px + halb, py + halb);
    Render(TexKreis2, false);
    Render(TexKreis2, true);
  }
}

bool Wand(const Flug& f) {
  const Rechteck r = f.H();
  return CheckColisionWithLandschaft3(r.Left, r.Top, r.Right, r.Bottom, -1);
}

void Landschaftstreffer(const Flug& f) {
  const BeamStatus& B = f.B;
  const Farbe c = Leuchtfarbe(f.L);
  Add1BigPartikel(B.X, B.Y - f.h(), 0, 0, c.R, c.G, c.B, CLng(f.w()), 0, 10, 1, 0);
}

// The flash where the beam was absorbed, and sparks, or flames where a part that takes no
// damage stopped it.
void Absorption(const Flug& f) {
  const BeamStatus& B = f.B;
  const Farbe c = Leuchtfarbe(f.L);
  const float h = static_cast<float>(f.h());
  Add1BigPartikel(B.X, B.Y - h, 0, 0, c.R, c.G, c.B, CLng(f.w()), 1, 10, 1, 0);
  const int32_t n = IDiv(CLng(B.LadungAbschuss), 5) + 1;
  const bool typ0 = Schiff[f.p].Typ == 0;
  for (int32_t i = 0; i < n; ++i) {
    if (!BeamVerlauf.Unzerstoerbar) {
      const float sx = Rnd() * 5 - 4, sy = Rnd() * 6 - 3;
      Add1BigPartikel(B.X + h, B.Y, sx, sy, c.R, c.G, c.B, 8, 0, 23, 1, 0);
      continue;
    }
    const float sx = Rnd() * 2 - 8, sy = Rnd() * 6 - 3, winkel = Rnd() * 360;
    const Farbe& o = kFlammenFarbe;
    if (typ0) {
      Add1BigPartikel(B.X + h, B.Y - 16, sx, sy, o.R, o.G, o.B, 32, 0, 13, 5, winkel);
    } else {
      Add1BigPartikel(B.X + h + 20, B.Y - 8, sx, sy, o.R, o.G, o.B, 16, 0, 23, 5, winkel);
    }
  }
}

// The enemy tests of a frame with the offer `E`. While they run the player's combo counts
// one hit more. A result equal to the offer is a miss and ends the tests; 0 is absorption;
// anything else a hit that raises the combo and goes on with what is left. The drone ship
// counts 0 as a hit too (`NullTrifft`). `Treffer` takes each hit's left-over. True when the
// beam ends absorbed.
template <class Treffer>
bool Feindtests(const Flug& f, int32_t E, bool NullTrifft, Treffer treffer) {
  const Rechteck r = f.H();
  BeamVerlaufDaten& v = BeamVerlauf;
  bool absorbiert = false;
  ++ComboTreffer[f.p];
  for (int32_t n = 0; n < kMaxTests; ++n) {
    int32_t feind = -1;
    v.Unzerstoerbar = false;
    v.Rest = CheckColisionWithEnemy(r.Left, r.Top, r.Right, r.Bottom, E, true, f.voll, -1, feind, v.Unzerstoerbar,
                                    f.p);
    if (v.Rest == E) break;
    absorbiert = v.Rest == 0;
    if (absorbiert && !NullTrifft) break;
    ComboFaktor[f.p] = static_cast<float>(double{ComboFaktor[f.p]} + 0.5);
    ++ComboTreffer[f.p];
    treffer(v.Rest);
    if (absorbiert) break;
    E = v.Rest;
  }
  --ComboTreffer[f.p];
  return absorbiert;
}

// Bubbles rise from a beam under water.
void Blasen(const Flug& f) {
  if (f.H().Top <= kSpielfeldHoehe - Wasserstand) return;
  AddBlase(f.B.X - 3, f.B.Y - 3, CLng(Rnd() * 5.0 + 3));
}

// The sparkle at the head of a full beam of gun level 3.
void Funkelkopf(const Flug& f) {
  const int32_t w = CLng(f.w());
  Add1BigPartikel(f.B.X + 12, f.B.Y - f.h(), -2, 0, 0.3f, Stufenanteil(f.L, 0.2), 1.0f, w, 0, 15, 2,
                  static_cast<float>(IDiv(w, 3)));
}

// The smoke ball over a full beam's head, in colour (r, g, b).
void Rauchball(const Flug& f, float r, float g, float b) {
  const int32_t dead = CLng(Rnd() * 2.0 + 15);
  Add1BigPartikel(f.B.X, f.B.Y - f.w(), 0, 0, r, g, b, CLng(2.0 * f.w()), 5, dead, 4, Rnd() * 360);
}

// What the V-Phyton's and the drone ship's beams share at the head: a smoke ball at full
// charge (blue, or of random colours when `bunt`), the sparkle, the helix and bubbles. True
// when the beam has passed the screen's edge: it ends there, and the combo with it.
bool Kopf(Flug& f, bool bunt) {
  BeamStatus& B = f.B;
  if (f.voll) {
    float r = 0.1f, g = 0.1f, b = 1.0f;
    if (bunt) r = Rnd(), g = Rnd(), b = Rnd();
    Rauchball(f, r, g, b);
  }
  if (f.voll && f.L >= 3) Funkelkopf(f);
  if (f.voll && f.L >= 2) Helix(f);
  Blasen(f);
  if (!(B.X > kRand)) return false;
  B.Fliegt = VBFalse;
  ComboAus(f.p);
  B.X += 20;
  return true;
}

// ---- "V-Tonator" ----------------------------------------------------------------------------

void Flug0(Flug& f) {
  BeamStatus& B = f.B;
  B.X += 24;
  const int32_t h = f.h();
  const Farbe c = Leuchtfarbe(f.L);
  if (f.voll) Add1BigPartikel(B.X + 12, B.Y - h, -2, 0, 1, c.G, 1, CLng(f.w()), 0, 15, 3, static_cast<float>(h));
  if (Rendern) Strahlkoerper(f.p, 1);
  if (f.L >= 2) {
    const int32_t segmente = std::clamp(IDiv(CLng(double{B.X} - B.StartX), 18), 0, kMaxSegmente);
    for (int32_t n = IDiv(CLng(B.LadungAbschuss), 60); n > 0; --n)
      Blitz(B.StartX, B.StartY, B.X + h, B.StartY, static_cast<float>(f.q()), segmente, 10, kHelixFarbe.R,
            kHelixFarbe.G, kHelixFarbe.B, std::nullopt, true);
  }
  if (f.voll && f.L >= 3) Helix(f);
  if (B.X > kRand) {
    B.Nachleuchten = 10;
    B.Fliegt = VBFalse;
    return;
  }
  if (Rendern) Viereck(TexKreis2, CLng(B.X), CLng(double{B.Y} - h), CLng(double{B.X} + B.Breite),
                       CLng(double{B.Y} + h), c, 1, false);
  if (!f.voll && Wand(f)) {
    B.Fliegt = VBFalse;
    B.Nachleuchten = 10;
    Landschaftstreffer(f);
  }
  // The beam narrows as it loses damage, as its width at the release follows the charge.
  const bool absorbiert = Feindtests(f, B.Schaden, false, [&](int32_t rest) {
    B.Schaden = rest;
    const int32_t breite = IDiv(std::pow(static_cast<double>(rest), 1.0 / double{1.6f}), 3);
    B.Breite = static_cast<float>(std::min(breite, 55));
  });
  if (!absorbiert) return;
  B.Fliegt = VBFalse;
  B.Nachleuchten = 10;
  Absorption(f);
}

// ---- "V-Phyton" -------------------------------------------------------------------------------

// No bar: the beam is the smoke and sparkle its head leaves.
void Flug1(Flug& f) {
  BeamStatus& B = f.B;
  const int32_t h = f.h();
  AddBigPartikel(B.X, B.Y - h, B.X + B.Breite, B.Y + h, 0.2f, 0.2f, 1.0f, 32, CLng(double{B.LadungAbschuss} / 16),
                 CLng(Rnd() * 2.0 + 5));
  if (Kopf(f, false)) return;
  if (!f.voll && Wand(f)) {
    B.Fliegt = VBFalse;
    ComboAus(f.p);
    Landschaftstreffer(f);
  }
  if (Feindtests(f, B.Schaden, false, [&](int32_t rest) { B.Schaden = rest; })) {
    B.Nachleuchten = 10;
    B.Fliegt = VBFalse;
    Absorption(f);
    ComboAus(f.p);
  }
  B.X += 20;
}

// ---- The drone ship -----------------------------------------------------------------------

// The lens bar: the strip behind the head shows through the beam stretched to its height,
// and the head magnifies what lies ahead of it.
void Linsenbalken(const Flug& f) {
  const BeamStatus& B = f.B;
  const double x = B.X, y = B.Y, h = f.h(), q = f.q();
  bool kopf = false, streifen = false;
  AusserhalbDerSzene([&] {
    kopf = Bildschirmkopie({CLng(x + h - q), CLng(y - q), CLng(x + h + q), CLng(y + q)}, TexBlurB);
    if (kopf) Rundmaske();
    streifen = Bildschirmkopie(Streifen(f), TexBlur);
  });
  if (streifen) Viereck(TexBlur, B.StartX, y - h, x, y + h, kWeiss, 1, false);
  Viereck(TexBalken, B.StartX, y - h, x, y + h, kWeiss, 0.3f, true);
  if (kopf) {
    SetUpTUTV(TexBlurB, 0, 0, 1, 1);
    Viereck(TexBlurB, x, y - h, x + B.Breite, y + h, kWeiss, 1, false);
  }
  Viereck(TexKreis2, x, y - h, x + B.Breite, y + h, kWeiss, 0.3f, true);
  OverlayKopie = true;
}

// Travelling: it offers 2100 less than it carries, and any hit stops it.
void Reise2(Flug& f) {
  BeamStatus& B = f.B;
  if (Rendern) Linsenbalken(f);
  if (Kopf(f, true)) return;
  if (Wand(f)) {
    B.Nachleuchten = kSchimmerStart;
    Landschaftstreffer(f);
  }
  // A beam carrying less than it holds back offers a negative amount: an enemy under it
  // takes nothing and answers 0, which stops the beam with its damage at 2100.
  const int32_t angebot = CLng(static_cast<double>(B.Schaden) - kDrohnenAbzug);
  if (Feindtests(f, angebot, true, [&](int32_t rest) {
        B.Nachleuchten = kSchimmerStart;
        B.Schaden = CLng(static_cast<double>(rest) + kDrohnenAbzug);
      }))
    Absorption(f);
  B.X += 20;
}

// Stopped: a full beam bursts into eight shots fanning back; the beam shimmers out over
// 100 frames, or as many as it is wide below full charge.
void Schimmer(Flug& f) {
  BeamStatus& B = f.B;
  if (B.Nachleuchten == kSchimmerStart) {
    if (f.voll) {
      for (size_t a = 110; a <= 250; a += 20)
        AddSchuss(1, 14, B.X, B.Y, CosTab[a] * 20, SinTab[a] * 20, static_cast<float>(a),
                  static_cast<float>(IDiv(B.Schaden, 7)), f.p);
    } else {
      B.Nachleuchten = -CLng(Int(B.Breite));
    }
    const float x = B.X + static_cast<float>(f.h()) - 32, y = B.Y - 32;
    const int32_t dead = CLng(f.w());
    Add1BigPartikel(x, y, 0, 0, 1, 1, 1, 64, 0, dead, 17, 1.0f);
    Add1BigPartikel(x, y, 0, 0, 1, 1, 1, 64, 0, dead, 16, 1.0f);
  }
  if (Rendern) {
    bool kopiert = false;
    AusserhalbDerSzene([&] { kopiert = Bildschirmkopie(Streifen(f), TexBlur); });
    const float a = -static_cast<float>(B.Nachleuchten);
    const double y = B.Y, h = f.h();
    if (kopiert) Viereck(TexBlur, B.StartX, y - h, B.X, y + h, kWeiss, a / 100, false);
    Viereck(TexBalken, B.StartX, y - h, B.X, y + h, kWeiss, a / 300, true);
    OverlayKopie = true;
  }
  if (++B.Nachleuchten == 0) {
    B.Fliegt = VBFalse;
    ComboAus(f.p);
  }
}

void Flug2(Flug& f) {
  Filtern = true;
  if (f.B.Nachleuchten >= 0) {
    Reise2(f);
  } else {
    Schimmer(f);
  }
}

using Strahl = void (*)(Flug& f);
constexpr std::array<Strahl, 3> kStrahlen = {Flug0, Flug1, Flug2};

bool BekannterTyp(int32_t p) { return Schiff[p].Typ >= 0 && Schiff[p].Typ < static_cast<int32_t>(kStrahlen.size()); }

}  // namespace

namespace beam {

void Strahlkoerper(int32_t p, float A) {
  const BeamStatus& B = Beam[p];
  const int32_t h = IDiv(CLng(B.Breite), 2);
  const double oben = double{B.StartY} - h - 2, unten = double{B.StartY} + h + 2;
  const Farbe c = Leuchtfarbe(Spieler[p].Waffenstufe);
  Viereck(TexBalken, double{B.StartX} + 15, oben, double{B.X} + h, unten, c, A, false);
  Viereck(TexBalkenE, B.StartX, oben, double{B.StartX} + 15, unten, c, A, false);
}

void Ladeleuchten(int32_t p) {
  const Rechteck g = Glutrechteck(p);
  if (g.Top > kSpielfeldHoehe - Wasserstand && Rnd() < 0.4f) {
    const float x = static_cast<float>(g.Right - g.Left) * Rnd() + static_cast<float>(g.Left) - 6;
    const float y = static_cast<float>(g.Bottom - g.Top) * Rnd() + static_cast<float>(g.Top) - 6;
    AddBlase(x, y, CLng(Rnd() * 5.0 + 3));
  }
  if (!Rendern || !BekannterTyp(p)) return;
  kGluten[static_cast<size_t>(Schiff[p].Typ)](p, g);
}

void Strahlflug(int32_t p) {
  Flug f{p, Beam[p], Spieler[p].Waffenstufe, Voll(Beam[p].LadungAbschuss)};
  // A charge below 10 makes no beam; neither does a ship type the game does not know.
  if (f.B.LadungAbschuss < 10 || !BekannterTyp(p)) {
    f.Ende();
    return;
  }
  kStrahlen[static_cast<size_t>(Schiff[p].Typ)](f);
}

}  // namespace beam
