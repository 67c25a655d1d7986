#include "engine/render.hpp"

#include <cstddef>

#include "engine/display.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"

namespace {

namespace p3 = platform;

constexpr int32_t kTrue = -1;  // TRUE as the game passes it

// The entries' vertices go to the device as they are.
static_assert(sizeof(D3DTLVERTEX) == sizeof(p3::TLVertex));
static_assert(offsetof(D3DTLVERTEX, color) == offsetof(p3::TLVertex, color));
static_assert(offsetof(D3DTLVERTEX, tu) == offsetof(p3::TLVertex, tu));

p3::Device3D& Geraet() {
  if (!D3DDevice) throw DXError(p3::DDERR_INVALIDOBJECT);
  return *D3DDevice;
}

void RS(p3::Device3D& d, int32_t state, int32_t value) { DXCheck(d.SetRenderState(state, value)); }
void TSS(p3::Device3D& d, int32_t type, int32_t value) { DXCheck(d.SetTextureStageState(0, type, value)); }

void Mischung(p3::Device3D& d, bool ABOne) {
  RS(d, p3::D3DRENDERSTATE_SRCBLEND, p3::D3DBLEND_SRCALPHA);
  RS(d, p3::D3DRENDERSTATE_DESTBLEND, ABOne ? AdditivZiel : p3::D3DBLEND_INVSRCALPHA);
  BlendModus = ABOne;
}

void Vergroesserung(p3::Device3D& d) {
  TSS(d, p3::D3DTSS_MAGFILTER, Filtern ? p3::D3DTFG_LINEAR : p3::D3DTFG_POINT);
  FilterAktiv = Filtern;
}

void Textur(p3::Device3D& d, int32_t SurfIndex) {
  DXCheck(d.SetTexture(0, Surfaces[SurfIndex].Surface));
  AktuelleTextur = SurfIndex;
}

// The four corners of a quad that spans the rectangle, in the vertex order of the quad.
void Ecken(std::array<D3DTLVERTEX, 4>& v, float Left, float Top, float Right, float Bottom) {
  v[0].sx = Left;
  v[0].sy = Bottom;
  v[1].sx = Left;
  v[1].sy = Top;
  v[2].sx = Right;
  v[2].sy = Bottom;
  v[3].sx = Right;
  v[3].sy = Top;
}

// Whole degrees plus a quarter turn, without overflowing the integer.
int32_t PlusViertel(int32_t AngleG) { return static_cast<int32_t>((int64_t{AngleG} + 90) % 360); }

}  // namespace

void SetUpXY(int32_t SurfIndex, float x, float y) {
  if (!SurfaceGueltig(SurfIndex, "SetUpXY")) return;
  SurfaceInfo& e = Surfaces[SurfIndex];
  const float w = static_cast<float>(e.SrcRect.Right - e.SrcRect.Left);
  const float h = static_cast<float>(e.SrcRect.Bottom - e.SrcRect.Top);
  Ecken(e.Vertex, x, y, x + w, y + h);
}

void SetUpRect(int32_t SurfIndex, float Left, float Top, float Right, float Bottom) {
  if (!SurfaceGueltig(SurfIndex, "SetUpRect")) return;
  Ecken(Surfaces[SurfIndex].Vertex, Left, Top, Right, Bottom);
}

void SetUpTUTV(int32_t SurfIndex, float TU1, float TV1, float TU2, float TV2) {
  if (!SurfaceGueltig(SurfIndex, "SetUpTUTV")) return;
  std::array<D3DTLVERTEX, 4>& v = Surfaces[SurfIndex].Vertex;
  v[0].tu = TU1;
  v[0].tv = TV2;
  v[1].tu = TU1;
  v[1].tv = TV1;
  v[2].tu = TU2;
  v[2].tv = TV2;
  v[3].tu = TU2;
  v[3].tv = TV1;
}

void SetUpColor(int32_t SurfIndex, float R, float G, float B, float A) {
  if (!SurfaceGueltig(SurfIndex, "SetUpColor")) return;
  const int32_t farbe = GetRGBA(R, G, B, A);
  for (D3DTLVERTEX& v : Surfaces[SurfIndex].Vertex) v.color = farbe;
}

void SetUpGeom(int32_t SurfIndex, const RECT& src, const RECT& dest, float R, float G, float B, float A,
               int32_t AngleG) {
  if (!SurfaceGueltig(SurfIndex, "SetUpGeom")) return;
  SurfaceInfo& e = Surfaces[SurfIndex];
  // A picture made one pixel smaller than it was loaded may have no width left: the
  // texture coordinates then divide by one.
  const float W = static_cast<float>(e.Width >= 1 ? e.Width : 1);
  const float H = static_cast<float>(e.Height >= 1 ? e.Height : 1);
  const int32_t farbe = GetRGBA(R, G, B, A);

  float x[4] = {static_cast<float>(dest.Left), static_cast<float>(dest.Left), static_cast<float>(dest.Right),
                static_cast<float>(dest.Right)};
  float y[4] = {static_cast<float>(dest.Bottom), static_cast<float>(dest.Top), static_cast<float>(dest.Bottom),
                static_cast<float>(dest.Top)};
  if (AngleG != 0) {
    const float cx = static_cast<float>(int64_t{dest.Right} - dest.Left - 1) / 2.0f + static_cast<float>(dest.Left);
    const float cy = static_cast<float>(int64_t{dest.Bottom} - dest.Top - 1) / 2.0f + static_cast<float>(dest.Top);
    const float c = SinusB(PlusViertel(AngleG)), s = CosinusB(PlusViertel(AngleG));
    for (int i = 0; i < 4; ++i) {
      const float dx = x[i] - cx, dy = y[i] - cy;
      x[i] = dy * s + dx * c + cx;
      y[i] = dy * c + cy - dx * s;
    }
  }
  const int32_t tu[4] = {src.Left, src.Left, src.Right, src.Right};
  const int32_t tv[4] = {src.Bottom, src.Top, src.Bottom, src.Top};
  for (int i = 0; i < 4; ++i)
    e.Vertex[i] = {x[i], y[i], 0.0f, 1.0f, farbe, 1, static_cast<float>(tu[i]) / W, static_cast<float>(tv[i]) / H};
}

void RenderStart() {
  p3::Device3D& d = Geraet();
  DXCheck(d.BeginScene());
  RS(d, p3::D3DRENDERSTATE_ALPHABLENDENABLE, kTrue);
  RS(d, p3::D3DRENDERSTATE_COLORKEYENABLE, kTrue);
  RS(d, p3::D3DRENDERSTATE_COLORKEYBLENDENABLE, kTrue);
  RS(d, p3::D3DRENDERSTATE_SRCBLEND, p3::D3DBLEND_SRCALPHA);
  RS(d, p3::D3DRENDERSTATE_DESTBLEND, p3::D3DBLEND_INVSRCALPHA);
  RS(d, p3::D3DRENDERSTATE_CULLMODE, p3::D3DCULL_NONE);
  RS(d, p3::D3DRENDERSTATE_ANTIALIAS, 0);
  RS(d, p3::D3DRENDERSTATE_CLIPPLANEENABLE, 0);
  RS(d, p3::D3DRENDERSTATE_ZENABLE, 0);
  BlendModus = false;
  AktuelleTextur = -1;
  TSS(d, p3::D3DTSS_ALPHAOP, p3::D3DTOP_MODULATE);
  TSS(d, p3::D3DTSS_MIPFILTER, p3::D3DTFP_POINT);
  TSS(d, p3::D3DTSS_MAGFILTER, p3::D3DTFG_POINT);
  Filtern = false;
  FilterAktiv = false;
  DXCheck(d.SetRenderTarget(BackBuffer));
}

void Render(int32_t SurfIndex, bool ABOne) {
  if (!SurfaceGueltig(SurfIndex, "Render")) return;
  p3::Device3D& d = Geraet();
  if (Antizeitverschiebung) {
    Mischung(d, ABOne);
    TSS(d, p3::D3DTSS_ALPHAOP, p3::D3DTOP_MODULATE);
    Vergroesserung(d);
    Textur(d, SurfIndex);
    TSS(d, p3::D3DTSS_MIPFILTER, p3::D3DTFP_POINT);
  } else {
    if (ABOne != BlendModus) Mischung(d, ABOne);
    if (Filtern != FilterAktiv) Vergroesserung(d);
    if (AktuelleTextur != SurfIndex) Textur(d, SurfIndex);
  }
  DXCheck(d.DrawPrimitive(p3::D3DPT_TRIANGLESTRIP, p3::D3DFVF_TLVERTEX, Surfaces[SurfIndex].Vertex.data(), 4, 0));
}

void RenderEnd() {
  p3::Device3D& d = Geraet();
  RS(d, p3::D3DRENDERSTATE_COLORKEYBLENDENABLE, 0);
  RS(d, p3::D3DRENDERSTATE_COLORKEYENABLE, 0);
  RS(d, p3::D3DRENDERSTATE_ALPHABLENDENABLE, 0);
  DXCheck(d.EndScene());
}
