// The device's states and scenes; the pixels are drawn by the rasteriser.
#include "platform/device3d.hpp"

#include <cstring>

#include "platform/rasteriser.hpp"

namespace platform {
namespace {

bool TargetFormatOk(const Surface& s) {
  return s.Format() == PixelFormat::XRGB8888 || s.Format() == PixelFormat::RGB565;
}

constexpr int kMaxStrip = 1 << 16;  // vertices per call

}  // namespace

Device3D::Device3D(const SurfacePtr& target) : target_(target) {}

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
  return D3D_OK;
}

int32_t Device3D::SetRenderTarget(const SurfacePtr& target) {
  ++stateCalls_;
  if (!target) return DDERR_INVALIDPARAMS;
  if (!TargetFormatOk(*target)) return DDERR_INVALIDPIXELFORMAT;
  target_ = target;
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
  TLVertex local[64];
  TLVertex* vs = local;
  std::unique_ptr<TLVertex[]> big;
  if (count > 64) {
    big.reset(new TLVertex[static_cast<size_t>(count)]);
    vs = big.get();
  }
  std::memcpy(vs, vertices, sizeof(TLVertex) * static_cast<size_t>(count));
  bool anyAlpha = false;
  for (int32_t i = 0; i < count; ++i) {
    if (texture_ && colorOp_ == D3DTOP_SELECTARG1) vs[i].color |= 0x00FFFFFFu;
    if (texture_ && alphaOp_ == D3DTOP_SELECTARG1) vs[i].color |= 0xFF000000u;
    anyAlpha = anyAlpha || (vs[i].color >> 24) != 0;
  }
  // Every blend weighs the source by its alpha: a strip without any draws nothing.
  if (!anyAlpha && p.blend != raster::Blend::Replace) return D3D_OK;

  if (count == 4 && cullMode_ == D3DCULL_NONE && raster::DrawAxisQuad(p, vs)) return D3D_OK;
  for (int32_t i = 0; i + 2 < count; ++i) {
    const TLVertex &a = vs[i], &b = vs[i + 1], &c = vs[i + 2];
    if (cullMode_ != D3DCULL_NONE) {
      // Clockwise on the screen (y down) has a positive cross product; every second
      // triangle of a strip runs the other way round.
      const double cross = (static_cast<double>(b.sx) - a.sx) * (static_cast<double>(c.sy) - a.sy) -
                           (static_cast<double>(c.sx) - a.sx) * (static_cast<double>(b.sy) - a.sy);
      const bool clockwise = (i % 2 == 0) ? cross > 0 : cross < 0;
      if ((cullMode_ == D3DCULL_CW && clockwise) || (cullMode_ == D3DCULL_CCW && !clockwise)) continue;
    }
    raster::DrawTriangle(p, a, b, c);
  }
  return D3D_OK;
}

}  // namespace platform
