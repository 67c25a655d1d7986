#include "world/background.hpp"

#include <array>
#include <cmath>
#include <cstdint>

#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr float kBreite = kBildschirmBreite;
constexpr float kHoehe = kBildschirmHoehe;
constexpr float kSpielHoehe = kSpielfeldHoehe;

// The five values of a point, by mode (see HintergrundPunkt).
enum StreifenWert { kTempo = 0, kFrei = 1, kRot = 2, kGruen = 3, kBlau = 4 };
enum KlecksWert { kSchritt = 0, kPhase = 1, kFrequenzX = 2, kFrequenzY = 3, kAlpha = 4 };

// A plain area of the screen in one colour, blended normally over what is there.
void Flaeche(float Left, float Top, float Right, float Bottom, float R, float G, float B, float A) {
  SetUpRect(TexWeiss, Left, Top, Right, Bottom);
  SetUpColor(TexWeiss, R, G, B, A);
  Render(TexWeiss, false);
}

// Picture `Nr` at its own size with its top-left corner at (x, y), in one colour.
void Bild(int32_t Nr, float x, float y, float R, float G, float B, float A) {
  SetUpXY(Nr, x, y);
  SetUpColor(Nr, R, G, B, A);
  Render(Nr, false);
}

bool Vorhanden(int32_t Nr) { return Nr >= 0 && Nr <= SurfacesMax() && Surfaces[Nr].Surface; }

void Schwarz() {
  const platform::Rect ganz = VollbildRect;
  BackBuffer->BltColorFill(&ganz, 0);  // errors of direct back-buffer calls are ignored
}

// The small picture just drawn in the screen's top-left corner goes into the blur texture,
// which is then stretched over the area: filtered, it becomes a smooth glow. Below 32
// bits the copy would only show banding, so the corner picture stays as it is.
void Weichzeichnen(float Bottom) {
  if (Farbtiefe <= 16 || !Vorhanden(TexBlur)) return;
  SurfaceInfo& blur = Surfaces[TexBlur];
  RenderEnd();
  const platform::Rect quelle = blur.SrcRect;
  blur.Surface->BltFast(0, 0, *BackBuffer, &quelle, platform::DDBLTFAST_NOCOLORKEY | platform::DDBLTFAST_WAIT);
  RenderStart();
  Filtern = true;
  SetUpRect(TexBlur, 0, 0, kBreite, Bottom);
  SetUpColor(TexBlur, 1, 1, 1, 1);
  Render(TexBlur, false);
}

// ---- Star streaks (modes 2 and 6) ------------------------------------------------------

void StreifenAnlegen(bool MitTempo) {
  for (int32_t i = 0; i < static_cast<int32_t>(HintergrundPunkte.size()); ++i) {
    HintergrundPunkt& p = HintergrundPunkte[i];
    p.X = static_cast<float>(Int(Rnd() * 800.0f));
    p.Y = static_cast<float>(Int(Rnd() * 550.0f) - 2);
    p.Wert[kFrei] = 0;
    // Four depth classes, 0.25 to 1; the last point is brighter still (clamped to white).
    const float grau = static_cast<float>(IDiv(i, 25)) / 4.0f + 0.25f;
    p.Wert[kRot] = p.Wert[kGruen] = p.Wert[kBlau] = grau;
    if (MitTempo) p.Wert[kTempo] = Rnd() * 10.0f + 0.1f;
  }
}

// Each streak fades out behind its point, longer the faster it flies; a point that has
// left on the left comes back on the right at a new height, white from then on.
void StreifenZiehen() {
  const bool zeichnen = Rendern && Vorhanden(TexBalken);
  for (HintergrundPunkt& p : HintergrundPunkte) {
    const float tempo = p.Wert[kTempo];
    if (zeichnen) {
      std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBalken].Vertex;
      const float rechts = p.X + 5 * tempo + 2;
      const int32_t voll = GetRGBA(p.Wert[kRot], p.Wert[kGruen], p.Wert[kBlau], 1);
      const int32_t leer = GetRGBA(p.Wert[kRot], p.Wert[kGruen], p.Wert[kBlau], 0);
      v[0].sx = p.X, v[0].sy = p.Y + 1, v[0].color = voll;
      v[1].sx = p.X, v[1].sy = p.Y - 1, v[1].color = voll;
      v[2].sx = rechts, v[2].sy = p.Y + 1, v[2].color = leer;
      v[3].sx = rechts, v[3].sy = p.Y - 1, v[3].color = leer;
      Render(TexBalken, false);
    }
    p.X -= tempo;
    if (p.X + 50 < 0) {
      p.X += 850;
      p.Y = static_cast<float>(Int(Rnd() * 550.0f) - 5);
      p.Wert[kRot] = p.Wert[kGruen] = p.Wert[kBlau] = 1;
    }
  }
}

// ---- Glow blobs (modes 4 and 5) --------------------------------------------------------

void KleckseAnlegen(float SchrittBasis, float SchrittBreite) {
  for (HintergrundPunkt& p : HintergrundPunkte) {
    p.Wert[kPhase] = Rnd() * 100.0f;
    p.Wert[kFrequenzX] = 2 * Rnd() - 1;
    p.Wert[kFrequenzY] = 2 * Rnd() - 1;
    p.Wert[kAlpha] = Rnd() / 10.0f;
    p.Wert[kSchritt] = Rnd() * SchrittBreite + SchrittBasis;
  }
}

// Every blob one phase step on along its Lissajous curve about the corner, within the
// given half extents.
void KleckseBewegen(float HalbeBreite, float HalbeHoehe) {
  for (HintergrundPunkt& p : HintergrundPunkte) {
    p.Wert[kPhase] += p.Wert[kSchritt];
    p.X = static_cast<float>(HalbeBreite * std::sin(static_cast<double>(p.Wert[kPhase] * p.Wert[kFrequenzX])));
    p.Y = static_cast<float>(HalbeHoehe * std::sin(static_cast<double>(p.Wert[kPhase] * p.Wert[kFrequenzY])));
  }
}

// Points are set up when asked for, in the way of the mode that asks.
template <class Anlegen>
void PunkteAufAnfrage(Anlegen anlegen) {
  if (!HintergrundInit) return;
  anlegen();
  HintergrundInit = false;
}

// ---- The modes -------------------------------------------------------------------------

void Bleichen() {
  if (Rendern) Flaeche(0, 0, kBreite, kHoehe, 1, 1, 1, 0.1f);
}

void Glut() {
  if (Rendern) Flaeche(0, 0, kBreite, kHoehe, 1, Rnd() / 2, 0, 0.1f);
}

void Nachleuchten() {
  if (!Rendern) return;
  if (Wetter == 2) {
    // Haze drifts the old frames to the left.
    const platform::Rect quelle{8, 0, kBildschirmBreite, kBildschirmHoehe};
    BackBuffer->BltFast(0, 0, *BackBuffer, &quelle, platform::DDBLTFAST_NOCOLORKEY);
  }
  Flaeche(0, 0, kBreite, kHoehe, 0, 0, 0, 0.1f);
}

// The level picture (800 pixels wide) follows layer 0; two copies side by side cover the
// screen while it is offset.
void Levelbild() {
  HintergrundX -= Ebenen[0].Speed;
  if (HintergrundX <= -kBreite) HintergrundX += kBreite;
  if (!Rendern) return;
  Schwarz();
  if (HintergrundX == 0) {
    ShowSprite(HintergrundBild, 0, 0, false);
  } else {
    ShowSprite(HintergrundBild, CLng(HintergrundX), 0, false);
    ShowSprite(HintergrundBild, CLng(HintergrundX + kBreite), 0, false);
  }
}

void Sternenglut() {
  PunkteAufAnfrage([] { StreifenAnlegen(true); });
  OverlayKopie = true;
  if (Rendern) {
    Filtern = true;
    Flaeche(0, 0, kBreite, kHoehe, 0, 0, 0, 1);
    const double t = static_cast<double>(GetTickCount());
    for (int32_t j = 0; j <= 9; ++j) {
      const float x = static_cast<float>(32 * std::cos(t / 100000 + 2304.0 * j));
      const float y = static_cast<float>(32 * std::sin(t / 100000 + 3120.0 * j));
      Bild(TexFeuer[0], x, y, CosinusB(CLng(t / 1000 + 643.0 * j)), CosinusB(CLng(t / 1000 + 9656.0 * j)),
           CosinusB(CLng(t / 1000 + 4743.0 * j)), 0.15f);
    }
    Weichzeichnen(kHoehe);
  }
  StreifenZiehen();
  Filtern = false;
}

void Schnee() {
  if (!Rendern) return;
  Flaeche(0, 0, kBreite, kSpielHoehe, 0.6f, 0.6f, 0.68f, 0.5f);
  Wetter = 1;
}

void Kreise() {
  PunkteAufAnfrage([] { KleckseAnlegen(0, 0.05f); });
  OverlayKopie = true;
  KleckseBewegen(32, 32);
  if (!Rendern) return;
  Filtern = true;
  Flaeche(0, 0, kBreite, kHoehe, 0, 0, 0, 1);
  for (const HintergrundPunkt& p : HintergrundPunkte) Bild(TexKreis2, p.X, p.Y, 1, 0, 0, p.Wert[kAlpha]);
  Weichzeichnen(kHoehe);
  Filtern = false;
}

// The band's opacity: none at the start, full from the middle of the level on (the colour
// packing clamps above 1). A level without a length shows it full.
float BandAlpha() {
  if (LevelLaenge <= 0) return 1;
  return static_cast<float>(2.0 * LevelTick / LevelLaenge);
}

void Plasma() {
  PunkteAufAnfrage([] { KleckseAnlegen(0.04f, 0.02f); });
  OverlayKopie = true;
  Wetter = 2;
  const bool blur = Vorhanden(TexBlur);
  const int32_t w = blur ? Surfaces[TexBlur].Width : 0, h = blur ? Surfaces[TexBlur].Height : 0;
  KleckseBewegen(static_cast<float>(IDiv(w, 2)), static_cast<float>(IDiv(h, 2)));
  if (!Rendern) return;
  Filtern = true;
  if (Farbtiefe == 16) {
    Flaeche(0, 0, kBreite, kSpielHoehe, 0.42f, 0.53f, 0.7f, 1);
  } else {
    Flaeche(0, 0, 64, 64, 0.1f, 0.2f, 0.6f, 1);
    for (const HintergrundPunkt& p : HintergrundPunkte) Bild(TexFeuer[0], p.X, p.Y, 1, 1, 1, p.Wert[kAlpha]);
    Weichzeichnen(kSpielHoehe);
  }
  const float t = static_cast<float>(LevelTick);
  SetUpRect(TexBalken, 0, 200 - t / 10, kBreite, t / 10 + 900);
  SetUpColor(TexBalken, 1, 0.5f, 0.25f, BandAlpha());
  Render(TexBalken, false);
  Filtern = false;
}

// The streaks start slowly and reach 8, 10, 12 or 14 pixels per tick by depth class.
void Sternenflug() {
  PunkteAufAnfrage([] { StreifenAnlegen(false); });
  const int32_t s = IDiv(static_cast<double>(LevelTick) - 50, 4);
  for (int32_t i = 0; i < static_cast<int32_t>(HintergrundPunkte.size()); ++i) {
    const int32_t hoechstens = IDiv(i, 25) * 2 + 8;
    HintergrundPunkte[i].Wert[kTempo] = static_cast<float>(s < 1 ? 1 : s > hoechstens ? hoechstens : s);
  }
  if (Rendern) Schwarz();
  StreifenZiehen();
}

using Modus = void (*)();
constexpr int32_t kErsterModus = -2;
constexpr std::array<Modus, 9> kModi = {Bleichen, Glut,   Nachleuchten, Levelbild,  Sternenglut,
                                        Schnee,   Kreise, Plasma,       Sternenflug};

}  // namespace

void SpielMoveHintergrund() {
  const int64_t i = int64_t{HintergrundModus} - kErsterModus;
  if (i >= 0 && i < static_cast<int64_t>(kModi.size())) kModi[static_cast<size_t>(i)]();
}
