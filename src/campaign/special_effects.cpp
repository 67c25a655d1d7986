// The special events that are pure screen effects: each works on a copy of the frame
// being drawn, taken into the blur texture.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "campaign/special_events.hpp"
#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "platform/device3d.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/picture_loading.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

namespace p3 = platform;

// The glow and the thunderstorm light up a level's background; without one (mode 0)
// they only keep their clocks.
bool MitHintergrund() { return HintergrundModus != 0; }

// The effects draw their quads filtered; what follows them chooses again.
struct Gefiltert {
  Gefiltert() { Filtern = true; }
  ~Gefiltert() { Filtern = false; }
};

// The area `Bereich` of the back buffer stretched over the whole blur texture. The copy
// is made outside the scene, which begins again also when the copy fails (and then
// raises the failure), so the rest of the frame can still be drawn. The new scene has
// forgotten the filter.
void InBlurTextur(const RECT& Bereich) {
  RenderEnd();
  int32_t ergebnis = p3::DD_OK;
  if (!BackBuffer)
    ergebnis = p3::DDERR_INVALIDOBJECT;
  else if (SurfaceGueltig(TexBlur, "SpielSpezial"))
    ergebnis = Surfaces[TexBlur].Surface->Blt(&Surfaces[TexBlur].SrcRect, BackBuffer.get(), &Bereich, p3::DDBLT_WAIT);
  RenderStart();
  DXCheck(ergebnis);
}

// The copy, enlarged by `d` pixels on every side of `Bereich`, white at `alpha`, added.
void BlurZeichnen(const RECT& Bereich, int32_t d, float alpha) {
  const RECT ziel{Bereich.Left - d, Bereich.Top - d, Bereich.Right + d, Bereich.Bottom + d};
  SetUpGeom(TexBlur, EigenesRechteck(TexBlur), ziel, 1, 1, 1, alpha, 0);
  Render(TexBlur, true);
}

// The bar picture upright from the top of the play area to its bottom, between `links`
// and `rechts`: its bright middle runs down the centre, as a bolt's does.
void BalkenSenkrecht(float links, float rechts, float R, float G, float B, float A) {
  if (!SurfaceGueltig(TexBalken, "SpielSpezial")) return;
  std::array<D3DTLVERTEX, 4>& v = Surfaces[TexBalken].Vertex;
  const auto unten = static_cast<float>(kSpielfeldHoehe);
  v[0].sx = rechts;
  v[0].sy = 0;
  v[1].sx = links;
  v[1].sy = 0;
  v[2].sx = rechts;
  v[2].sy = unten;
  v[3].sx = links;
  v[3].sy = unten;
  SetUpColor(TexBalken, R, G, B, A);
  Render(TexBalken, false);
}

// ---- Type 3 -------------------------------------------------------------------------------

constexpr int32_t kBlitzBilder = 50;
constexpr float kBlitzChance = 0.005f;

// A strike begins: where, and two thunderclaps at a random pitch.
void Einschlag(SpezialStandDaten& s) {
  s.Zeit = 1;
  s.Wert2 = CLng(Rnd() * 800.0f);
  if (!SoundAn) return;
  const int32_t frequenz = CLng(Rnd() * 41100.0f + 10000.0f);
  for (int k = 0; k < 2; ++k) PlaySound(SndThunder, 0, 0, SoundLautstaerke, frequenz);
}

// One frame of a strike: the rest of the sky darkened, the bolt, and the whole picture
// glowing, brightest halfway.
void Blitzbild(SpezialStandDaten& s, bool zeichnen) {
  s.Wert1 = CLng(Rnd() * 10000.0f);  // a new shape every frame: the bolt flickers
  if (zeichnen) {
    const auto x = static_cast<float>(s.Wert2);
    BalkenSenkrecht(-x, x, 0, 0, 0, 0.8f);
    BalkenSenkrecht(x, 1600 - x, 0, 0, 0, 0.8f);
    Blitz(x, 0, x, kSpielfeldHoehe, 50, 5, 50, 0.7f, 0.7f, 0.7f, s.Wert1, false);
    Blitz(x, 0, x, kSpielfeldHoehe, 20, 5, 50, 1, 1, 1, s.Wert1, true);
    InBlurTextur(SpielfeldRect);
    Filtern = true;
    const auto alpha = static_cast<float>((25 - std::abs(s.Zeit - 25)) / 35.0);
    for (int32_t d = 0; d <= 100; d += 25) BlurZeichnen(SpielfeldRect, d, alpha);
    BlurKopie = true;
  }
  ++s.Zeit;
  if (s.Zeit >= kBlitzBilder) s.Zeit = 0;
}

// ---- Type 4 -------------------------------------------------------------------------------

constexpr int32_t kZellen = 20;                // grid cells a side
constexpr int32_t kStreifen = 2 * kZellen + 2;  // vertices of one row's strip
constexpr float kGitterBreite = kSpielfeldBreite, kGitterHoehe = kSpielfeldHoehe;

// One row of the distortion grid, set anew on every call; its room is kept.
std::array<D3DTLVERTEX, kStreifen + 1> ZerrGitter;

// Sine and cosine of the whole degree nearest to `grad`, from the tables.
float S(double grad) { return SinusB(CLng(grad)); }
float C(double grad) { return CosinusB(CLng(grad)); }

// The texture coordinates of grid column `i` on grid line `k` for the swing (A, B): the
// copy bulges inside and stays pinned to the border, where the sines vanish.
void Verzerrt(D3DTLVERTEX& e, int32_t i, int32_t k, float A, float B) {
  const double wi = 180.0 * i / kZellen, wk = 180.0 * k / kZellen;
  const float a = S(wi), ca = C(wi), b = S(wk), cb = C(wk), c = C(720.0 * k / kZellen);
  const auto n = static_cast<float>(kZellen);
  e.tu = kGitterBreite / 257.0f / n * static_cast<float>(i) + 1.0f / 512.0f - a * A * b * ca * cb;
  e.tv = kGitterHoehe / 256.0f / n * static_cast<float>(k) + 1.0f / 512.0f - a * B * b * c;
}

// Linear magnification and normal blending straight on the device, noted in the
// renderer's cache.
void GitterZustand(p3::Device3D& d) {
  DXCheck(d.SetTextureStageState(0, p3::D3DTSS_MAGFILTER, p3::D3DTFG_LINEAR));
  FilterAktiv = true;
  DXCheck(d.SetRenderState(p3::D3DRENDERSTATE_SRCBLEND, p3::D3DBLEND_SRCALPHA));
  DXCheck(d.SetRenderState(p3::D3DRENDERSTATE_DESTBLEND, p3::D3DBLEND_INVSRCALPHA));
  BlendModus = false;
}

}  // namespace

void spezial::Glut(SpezialStandDaten& s) {
  if (s.Neustart) {
    s.Neustart = false;
    s.Zeit = 0;
  }
  if (s.Zeit < 100) ++s.Zeit;
  if (!Rendern || !MitHintergrund()) return;
  constexpr RECT kObereHaelfte{0, 0, kSpielfeldBreite, 275};
  InBlurTextur(kObereHaelfte);
  Gefiltert filter;
  const auto alpha = static_cast<float>(s.Zeit / 1000.0);
  for (int32_t d = 0; d <= 100; d += 5) BlurZeichnen(kObereHaelfte, d, alpha);
  BlurKopie = true;
}

void spezial::GewitterHinten(SpezialStandDaten& s) {
  if (s.Neustart) {
    s.Neustart = false;
    s.Zeit = 0;
  }
  const bool zeichnen = Rendern && MitHintergrund();
  Gefiltert filter;
  // Between strikes the sky is half dark; the frame that starts a strike is its first.
  if (s.Zeit <= 0) {
    s.Zeit = 0;
    if (zeichnen) Schleier(0, 0, 0, 0.5f);
    if (Rnd() < kBlitzChance) Einschlag(s);
  } else {
    Blitzbild(s, zeichnen);
  }
}

void spezial::GewitterVorn(SpezialStandDaten& s) {
  if (s.Neustart || s.Zeit <= 0 || !Rendern || !MitHintergrund()) return;
  Gefiltert filter;
  const auto x = static_cast<float>(s.Wert2);
  BalkenSenkrecht(x - 400, x + 400, 1, 1, 1, 0.3f);
}

void spezial::Wabern(SpezialStandDaten&) {
  if (!Rendern) return;
  // The swing follows the level clock, slowly.
  const auto A = static_cast<float>(2.0 * std::sin(LevelTick / 100.0));
  const auto B = static_cast<float>(std::sin(LevelTick / 80.0));
  InBlurTextur(SpielfeldRect);
  if (!SurfaceGueltig(TexBlur, "SpielSpezial")) return;
  p3::Device3D& d = *D3DDevice;

  const int32_t farbe = GetRGBA(1, 1, 1, 0.3f);
  ZerrGitter.fill(D3DTLVERTEX{0, 0, 0, 1, farbe, 0, 0, 0});
  GitterZustand(d);
  const float zelleX = kGitterBreite / kZellen, zelleY = kGitterHoehe / kZellen;
  for (int32_t i = 0; i <= kZellen; ++i) ZerrGitter[2 * i].sx = ZerrGitter[2 * i + 1].sx = zelleX * static_cast<float>(i);
  for (int32_t j = 1; j <= kZellen; ++j) {
    for (int32_t i = 0; i <= kZellen; ++i) {
      ZerrGitter[2 * i].sy = zelleY * static_cast<float>(j);
      ZerrGitter[2 * i + 1].sy = zelleY * static_cast<float>(j - 1);
      Verzerrt(ZerrGitter[2 * i], i, j, A, B);
      Verzerrt(ZerrGitter[2 * i + 1], i, j - 1, A, B);
    }
    if (AktuelleTextur != TexBlur) {
      DXCheck(d.SetTexture(0, Surfaces[TexBlur].Surface));
      AktuelleTextur = TexBlur;
    }
    DXCheck(d.DrawPrimitive(p3::D3DPT_TRIANGLESTRIP, p3::D3DFVF_TLVERTEX, ZerrGitter.data(), kStreifen, p3::D3DDP_WAIT));
  }
  BlurKopie = true;
  Overlay1 = true;
}
