// The device's states and scenes; the pixels are drawn by the rasteriser.
#include "platform/device3d.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "platform/band_queue.hpp"
#include "platform/rasteriser.hpp"

namespace platform {
namespace {

bool TargetFormatOk(const Surface& s) {
  return s.Format() == PixelFormat::XRGB8888 || s.Format() == PixelFormat::RGB565;
}

constexpr int kMaxStrip = 1 << 16;  // vertices per call

}  // namespace

Device3D::Device3D(const SurfacePtr& target) : target_(target) {
  // What the device draws into is drawn in bands, the blits into it with it.
  if (target_) {
    target_->SetBandDrawn(true);
    bands::Prepare();
  }
}

std::shared_ptr<Device3D> Device3D::Create(const SurfacePtr& target, int32_t* error) {
  int32_t result = D3D_OK;
  if (!target)
    result = DDERR_INVALIDPARAMS;
  else if (!TargetFormatOk(*target))
    result = DDERR_INVALIDPIXELFORMAT;
  if (error) *error = result;
  if (result != D3D_OK) return nullptr;
  return std::make_shared<Device3D>(target);
}

int32_t Device3D::BeginScene() {
  if (inScene_) return D3DERR_SCENE_IN_SCENE;
  inScene_ = true;
  return D3D_OK;
}

int32_t Device3D::EndScene() {
  if (!inScene_) return D3DERR_SCENE_NOT_IN_SCENE;
  inScene_ = false;
  // The frame is drawn: nothing is gained by waiting longer.
  bands::RunPending();
  return D3D_OK;
}

int32_t Device3D::SetRenderTarget(const SurfacePtr& target) {
  ++stateCalls_;
  if (!target) return DDERR_INVALIDPARAMS;
  if (!TargetFormatOk(*target)) return DDERR_INVALIDPIXELFORMAT;
  target_ = target;
  target_->SetBandDrawn(true);
  bands::Prepare();
  return D3D_OK;
}

int32_t Device3D::SetRenderState(int32_t state, int32_t value) {
  ++stateCalls_;
  switch (state) {
    case D3DRENDERSTATE_ANTIALIAS:
      if (value != 0) return DDERR_INVALIDPARAMS;  // no antialiasing
      antialias_ = value;
      return D3D_OK;
    case D3DRENDERSTATE_ZENABLE:
      if (value != 0) return DDERR_INVALIDPARAMS;  // no depth buffer
      zEnable_ = value;
      return D3D_OK;
    case D3DRENDERSTATE_CLIPPLANEENABLE:
      if (value != 0) return DDERR_INVALIDPARAMS;  // no user clip planes
      clipPlanes_ = value;
      return D3D_OK;
    case D3DRENDERSTATE_SRCBLEND:
      if (value != D3DBLEND_ONE && value != D3DBLEND_SRCALPHA) return D3DERR_UNSUPPORTEDFACTORVALUE;
      srcBlend_ = value;
      return D3D_OK;
    case D3DRENDERSTATE_DESTBLEND:
      if (value != D3DBLEND_ZERO && value != D3DBLEND_ONE && value != D3DBLEND_INVSRCALPHA &&
          value != D3DBLEND_DESTALPHA)
        return D3DERR_UNSUPPORTEDFACTORVALUE;
      destBlend_ = value;
      return D3D_OK;
    case D3DRENDERSTATE_CULLMODE:
      if (value < D3DCULL_NONE || value > D3DCULL_CCW) return DDERR_INVALIDPARAMS;
      cullMode_ = value;
      return D3D_OK;
    case D3DRENDERSTATE_ALPHABLENDENABLE: alphaBlend_ = value != 0; return D3D_OK;
    case D3DRENDERSTATE_COLORKEYENABLE: colorKey_ = value != 0; return D3D_OK;
    case D3DRENDERSTATE_COLORKEYBLENDENABLE: colorKeyBlend_ = value != 0; return D3D_OK;
    default: return DDERR_INVALIDPARAMS;
  }
}

int32_t Device3D::GetRenderState(int32_t state, int32_t& value) const {
  switch (state) {
    case D3DRENDERSTATE_ANTIALIAS: value = antialias_; break;
    case D3DRENDERSTATE_ZENABLE: value = zEnable_; break;
    case D3DRENDERSTATE_CLIPPLANEENABLE: value = clipPlanes_; break;
    case D3DRENDERSTATE_SRCBLEND: value = srcBlend_; break;
    case D3DRENDERSTATE_DESTBLEND: value = destBlend_; break;
    case D3DRENDERSTATE_CULLMODE: value = cullMode_; break;
    case D3DRENDERSTATE_ALPHABLENDENABLE: value = alphaBlend_; break;
    case D3DRENDERSTATE_COLORKEYENABLE: value = colorKey_; break;
    case D3DRENDERSTATE_COLORKEYBLENDENABLE: value = colorKeyBlend_; break;
    default: return DDERR_INVALIDPARAMS;
  }
  return D3D_OK;
}

int32_t Device3D::SetTextureStageState(int32_t stage, int32_t type, int32_t value) {
  ++stateCalls_;
  if (stage != 0) return DDERR_INVALIDPARAMS;
  switch (type) {
    case D3DTSS_COLOROP:
      if (value != D3DTOP_MODULATE && value != D3DTOP_SELECTARG1) return D3DERR_UNSUPPORTEDCOLOROPERATION;
      colorOp_ = value;
      return D3D_OK;
    case D3DTSS_ALPHAOP:
      if (value != D3DTOP_MODULATE && value != D3DTOP_SELECTARG1) return D3DERR_UNSUPPORTEDALPHAOPERATION;
      alphaOp_ = value;
      return D3D_OK;
    case D3DTSS_ADDRESS:
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV:
      if (value != D3DTADDRESS_WRAP) return DDERR_INVALIDPARAMS;
      return D3D_OK;
    case D3DTSS_MAGFILTER:
      if (value != D3DTFG_POINT && value != D3DTFG_LINEAR) return D3DERR_UNSUPPORTEDTEXTUREFILTER;
      magFilter_ = value;
      return D3D_OK;
    case D3DTSS_MINFILTER:
      if (value != D3DTFN_POINT) return D3DERR_UNSUPPORTEDTEXTUREFILTER;
      minFilter_ = value;
      return D3D_OK;
    case D3DTSS_MIPFILTER:
      // Textures have no mip-maps: no filter and point filtering both mean the top level.
      if (value != D3DTFP_NONE && value != D3DTFP_POINT) return D3DERR_UNSUPPORTEDTEXTUREFILTER;
      mipFilter_ = value;
      return D3D_OK;
    default: return DDERR_INVALIDPARAMS;
  }
}

int32_t Device3D::GetTextureStageState(int32_t stage, int32_t type, int32_t& value) const {
  if (stage != 0) return DDERR_INVALIDPARAMS;
  switch (type) {
    case D3DTSS_COLOROP: value = colorOp_; break;
    case D3DTSS_ALPHAOP: value = alphaOp_; break;
    case D3DTSS_ADDRESS:
    case D3DTSS_ADDRESSU:
    case D3DTSS_ADDRESSV: value = D3DTADDRESS_WRAP; break;
    case D3DTSS_MAGFILTER: value = magFilter_; break;
    case D3DTSS_MINFILTER: value = minFilter_; break;
    case D3DTSS_MIPFILTER: value = mipFilter_; break;
    default: return DDERR_INVALIDPARAMS;
  }
  return D3D_OK;
}

int32_t Device3D::SetTexture(int32_t stage, const SurfacePtr& texture) {
  ++stateCalls_;
  if (stage != 0) return DDERR_INVALIDPARAMS;
  texture_ = texture;
  return D3D_OK;
}

namespace {

// A strip as the band record keeps it: its vertices follow.
struct StripDraw {
  raster::Params p;
  int32_t cullMode = D3DCULL_NONE, count = 0;
  const TLVertex* Vertices() const { return reinterpret_cast<const TLVertex*>(this + 1); }
};

void StripRows(const void* draw, int32_t from, int32_t to) {
  const StripDraw& s = *static_cast<const StripDraw*>(draw);
  raster::Params p = s.p;
  p.rowFrom = from;
  p.rowTo = to;
  raster::DrawStrip(p, s.Vertices(), s.count, s.cullMode);
}

// The rows a strip may reach and about how many pixels it covers, from the positions of
// its vertices (read from the caller's records, which share only the layout).
struct Umriss {
  int32_t top = 0, bottom = 0;
  int64_t pixels = 0;
};
Umriss UmrissOf(const void* vertices, int32_t count, const Surface& target) {
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  bool any = false;
  for (int32_t i = 0; i < count; ++i) {
    float xy[2];
    std::memcpy(xy, static_cast<const uint8_t*>(vertices) + sizeof(TLVertex) * static_cast<size_t>(i), sizeof xy);
    const float x = xy[0], y = xy[1];
    if (!(x == x) || !(y == y)) continue;  // NaN: its triangles draw nothing
    x0 = any ? std::min(x0, x) : x, x1 = any ? std::max(x1, x) : x;
    y0 = any ? std::min(y0, y) : y, y1 = any ? std::max(y1, y) : y;
    any = true;
  }
  if (!any) return {};
  const double w = target.Width(), h = target.Height();
  const double top = std::clamp(std::floor(static_cast<double>(y0)), 0.0, h);
  const double bottom = std::clamp(std::ceil(static_cast<double>(y1)) + 1, 0.0, h);
  const double breite = std::clamp(static_cast<double>(x1), 0.0, w) - std::clamp(static_cast<double>(x0), 0.0, w);
  return {static_cast<int32_t>(top), static_cast<int32_t>(bottom), static_cast<int64_t>((bottom - top) * breite)};
}

}  // namespace

int32_t Device3D::DrawPrimitive(int32_t type, uint32_t fvf, const void* vertices, int32_t count, uint32_t) {
  if (!inScene_) return D3DERR_SCENE_NOT_IN_SCENE;
  if (type != D3DPT_TRIANGLESTRIP) return D3DERR_INVALIDPRIMITIVETYPE;
  if (fvf != D3DFVF_TLVERTEX) return D3DERR_INVALIDVERTEXFORMAT;
  if (!vertices || count < 0 || count > kMaxStrip) return DDERR_INVALIDPARAMS;
  if (target_->IsLocked() || (texture_ && texture_->IsLocked())) return DDERR_SURFACEBUSY;

  raster::Params p;
  p.target = target_.get();
  p.texture = texture_.get();
  p.colorKey = colorKey_;
  p.magLinear = magFilter_ == D3DTFG_LINEAR;
  if (!alphaBlend_ || (srcBlend_ == D3DBLEND_ONE && destBlend_ == D3DBLEND_ZERO)) {
    p.blend = raster::Blend::Replace;
  } else if (srcBlend_ == D3DBLEND_SRCALPHA && destBlend_ == D3DBLEND_INVSRCALPHA) {
    p.blend = raster::Blend::Normal;
  } else if (srcBlend_ == D3DBLEND_SRCALPHA && (destBlend_ == D3DBLEND_ONE || destBlend_ == D3DBLEND_DESTALPHA)) {
    // The target has no alpha bits: its alpha reads as one.
    p.blend = raster::Blend::Add;
  } else {
    return D3DERR_CONFLICTINGRENDERSTATE;
  }
  ++drawCalls_;
  if (count < 3) return D3D_OK;

  // The vertices are copied out (the caller's records only need the same layout), and
  // the stage's operations applied to their colours: SELECTARG1 takes the texture alone.
  uint32_t setzen = 0;
  if (texture_ && colorOp_ == D3DTOP_SELECTARG1) setzen |= 0x00FFFFFFu;
  if (texture_ && alphaOp_ == D3DTOP_SELECTARG1) setzen |= 0xFF000000u;
  const auto* quelle = static_cast<const TLVertex*>(vertices);
  bool anyAlpha = false;
  for (int32_t i = 0; i < count && !anyAlpha; ++i) {
    uint32_t farbe;
    std::memcpy(&farbe, reinterpret_cast<const uint8_t*>(quelle + i) + offsetof(TLVertex, color), 4);
    anyAlpha = ((farbe | setzen) >> 24) != 0;
  }
  // Every blend weighs the source by its alpha: a strip without any draws nothing.
  if (!anyAlpha && p.blend != raster::Blend::Replace) return D3D_OK;

  // With bands the strip goes into the record, else into a copy of our own. A texture
  // that is the target itself is read as it is drawn: that cannot wait.
  const size_t bytes = sizeof(TLVertex) * static_cast<size_t>(count);
  const bool aufzeichnen = bands::Records(*target_) && texture_ != target_;
  TLVertex local[64];
  TLVertex* vs = local;
  std::unique_ptr<TLVertex[]> big;
  if (aufzeichnen) {
    const Umriss u = UmrissOf(vertices, count, *target_);
    StripDraw* d = bands::Record(*target_, texture_.get(), u.top, u.bottom, u.pixels, StripRows,
                                 StripDraw{p, cullMode_, count}, bytes);
    vs = const_cast<TLVertex*>(d->Vertices());
  } else {
    target_->SettleWrite();
    if (texture_) texture_->SettleRead();
    if (count > 64) {
      big.reset(new TLVertex[static_cast<size_t>(count)]);
      vs = big.get();
    }
  }
  std::memcpy(vs, vertices, bytes);
  for (int32_t i = 0; i < count; ++i) vs[i].color |= setzen;
  if (!aufzeichnen) raster::DrawStrip(p, vs, count, cullMode_);
  return D3D_OK;
}

}  // namespace platform
