#include "engine/magnifier.hpp"

#include <algorithm>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "player/nova_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/pictures_state.hpp"

namespace {

namespace p3 = platform;

constexpr uint32_t kNichtWarten = 0x20;                   // DDBLTFAST_DONOTWAIT
constexpr int32_t kMaxTeile = 4096;                       // cells a side the strip can carry
constexpr float kHalbTexel = 1.0f / 512.0f;               // half a texel of the 256-pixel texture

// Sine and cosine of the whole degree nearest to `grad` (0..180 here), straight from the
// tables.
float S(double grad) { return SinTab[static_cast<size_t>(CLng(grad))]; }
float C(double grad) { return CosTab[static_cast<size_t>(CLng(grad))]; }

}  // namespace

void Lupe(float x1, float y1, float D, float Faktor, float Teile, bool Rein) {
  if (!Rendern) return;
  // A lens of no size or no cells has nothing to show.
  const int32_t n = CLng(Teile);
  if (!(D > 0) || n < 1 || n > kMaxTeile) return;
  if (!SurfaceGueltig(TexLupe, "Lupe")) return;
  p3::Surface& textur = *Surfaces[TexLupe].Surface;

  // The square to copy, one pixel more for the filter's last column and row unless the
  // lens is as large as the texture; cut to the play area and to the texture.
  int64_t L = CLng(x1), T = CLng(y1), R = CLng(x1 + D), B = CLng(y1 + D);
  if (D < 256) {
    ++R;
    ++B;
  }
  int64_t ox = 0, oy = 0;
  if (L < 0) {
    ox = -L;
    L = 0;
  }
  if (T < 0) {
    oy = -T;
    T = 0;
  }
  R = std::min({R, int64_t{kSpielfeldBreite}, L + textur.Width() - ox});
  B = std::min({B, int64_t{kSpielfeldHoehe}, T + textur.Height() - oy});
  if (R <= L || B <= T) return;

  const p3::Rect& ganz = Surfaces[TexLupe].SrcRect;
  DXCheck(textur.BltColorFill(&ganz, 0));
  RenderEnd();
  const p3::Rect kopie{static_cast<int32_t>(L), static_cast<int32_t>(T), static_cast<int32_t>(R),
                       static_cast<int32_t>(B)};
  DXCheck(textur.BltFast(static_cast<int32_t>(ox), static_cast<int32_t>(oy), *BackBuffer, &kopie, kNichtWarten));

  const size_t anzahl = 2 * static_cast<size_t>(n) + 3;
  std::vector<D3DTLVERTEX> v(anzahl, D3DTLVERTEX{0, 0, 0, 1, GetRGBA(1, 1, 1, 1), 0, 0, 0});
  RenderStart();
  p3::Device3D& d = *D3DDevice;
  DXCheck(d.SetTextureStageState(0, p3::D3DTSS_MAGFILTER, p3::D3DTFG_LINEAR));
  FilterAktiv = true;
  DXCheck(d.SetRenderState(p3::D3DRENDERSTATE_SRCBLEND, p3::D3DBLEND_SRCALPHA));
  DXCheck(d.SetRenderState(p3::D3DRENDERSTATE_DESTBLEND, p3::D3DBLEND_INVSRCALPHA));
  BlendModus = false;

  const float nf = static_cast<float>(n), zelle = D / nf;
  for (int32_t i = 0; i <= n; ++i) v[2 * i].sx = v[2 * i + 1].sx = x1 + zelle * static_cast<float>(i);
  // Texture coordinates of column i in row k (a grid line): the square maps onto the
  // copied pixels, displaced by products of sines that vanish on the border.
  auto koordinaten = [&](D3DTLVERTEX& e, int32_t i, int32_t k) {
    const double wi = 180.0 * i / n, wk = 180.0 * k / n;
    if (Rein) {
      const float verschub = Faktor * S(wi) * S(wk) * C(wi) * C(wk);
      e.tu = D / 257.0f / nf * static_cast<float>(i) + kHalbTexel - verschub;
      e.tv = D / 257.0f / nf * static_cast<float>(k) + kHalbTexel - verschub;
    } else {
      const float welle = S(wi) * Faktor * S(wk);
      e.tu = D / 256.0f / nf * static_cast<float>(i) + kHalbTexel - welle * CosinusB(CLng(720.0 * i / n));
      e.tv = D / 256.0f / nf * static_cast<float>(k) + kHalbTexel - welle * CosinusB(CLng(720.0 * k / n));
    }
  };
  for (int32_t j = 1; j <= n; ++j) {
    const float unten = y1 + zelle * static_cast<float>(j), oben = y1 + zelle * static_cast<float>(j - 1);
    for (int32_t i = 0; i <= n; ++i) {
      v[2 * i].sy = unten;
      v[2 * i + 1].sy = oben;
      koordinaten(v[2 * i], i, j);
      koordinaten(v[2 * i + 1], i, j - 1);
    }
    if (AktuelleTextur != TexLupe) {
      DXCheck(d.SetTexture(0, Surfaces[TexLupe].Surface));
      AktuelleTextur = TexLupe;
    }
    DXCheck(d.DrawPrimitive(p3::D3DPT_TRIANGLESTRIP, p3::D3DFVF_TLVERTEX, v.data(), 2 * n + 2, p3::D3DDP_WAIT));
  }

  if (!Rein && !WeltAngehalten && SurfaceGueltig(TexKreis2, "Lupe")) {
    const float oben = y1 + Faktor * Teile;
    SetUpRect(TexKreis2, x1, oben, x1 + D, oben + D);
    SetUpColor(TexKreis2, 1, 1, 1, 0.1f);
    Render(TexKreis2, true);
  }
}

void LupeAuftraegeZeichnen() {
  struct Leeren {
    ~Leeren() { LupeAuftraege.clear(); }
  } leeren;
  for (const LupeAuftrag& a : LupeAuftraege) Lupe(a.x1, a.y1, a.D, a.Faktor, 9, a.Rein == 1);
}

void MakeSomeNoise(float A) {
  if (!(A > 0)) return;
  if (!SurfaceGueltig(TexNoise, "MakeSomeNoise")) return;
  for (int32_t i = 0; i <= 3; ++i) {
    for (int32_t j = 0; j <= 2; ++j) {
      const RECT ziel{256 * i, 256 * j, 256 * (i + 1), 256 * (j + 1)};
      RECT quelle;
      quelle.Left = CLng(Rnd() * 255.0f);
      quelle.Top = CLng(Rnd() * 255.0f);
      // A window running backwards shows the noise mirrored.
      quelle.Right = quelle.Left + (Rnd() > 0.5f ? 255 : -255);
      quelle.Bottom = quelle.Top + (Rnd() > 0.5f ? 255 : -255);
      SetUpGeom(TexNoise, quelle, ziel, 1, 1, 1, A, 0);
      Render(TexNoise, false);
    }
  }
}
