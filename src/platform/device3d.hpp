#pragma once
// The 3D device: draws triangle strips of transformed-and-lit vertices with a texture into
// a target surface (the back buffer), on the CPU, following Direct3D 7's rules so the
// pictures come out as the game was made to look:
//   - pixel centres lie at integer coordinates, vertex positions are snapped to 1/256 of a
//     pixel and the edges are walked in exact integer arithmetic with the top-left fill
//     rule, so the two triangles of a quad (and neighbouring quads) never both draw, nor
//     both miss, a pixel on their shared edge;
//   - texture coordinates and colours are interpolated affinely (rhw is always 1);
//   - texel centres lie at half-texel positions; point sampling takes the texel under the
//     sample, linear filtering weighs the four around it; coordinates wrap;
//   - magnification uses the MAGFILTER state, minification always samples points;
//   - with colour keying on, a texel whose value equals the texture's colour key becomes
//     transparent black before it is filtered; the key is tested on the texel as it is
//     now (the game copies pictures into textures between frames);
//   - stage 0 multiplies the texel by the vertex colour (MODULATE), then the pixel is
//     blended with 8-bit integer arithmetic: source factor SRCALPHA, destination factor
//     INVSRCALPHA (normal) or ONE / DESTALPHA (additive: the target has no alpha bits, so
//     the destination alpha reads as one), saturating at 255, and stored by truncation to
//     the target's 5-6-5 or 8-8-8 format.
// Only the states the game sets are supported; anything else is refused with a result
// code, as are scene errors (drawing or ending outside a scene, beginning inside one).
#include <cstdint>
#include <memory>

#include "platform/surface.hpp"

namespace platform {

// Result codes.
constexpr int32_t D3D_OK = 0;
constexpr int32_t D3DERR_INVALID_DEVICE = static_cast<int32_t>(0x887602C1u);
constexpr int32_t D3DERR_INVALIDPRIMITIVETYPE = static_cast<int32_t>(0x887602E0u);
constexpr int32_t D3DERR_SCENE_IN_SCENE = static_cast<int32_t>(0x887602F8u);
constexpr int32_t D3DERR_SCENE_NOT_IN_SCENE = static_cast<int32_t>(0x887602F9u);
constexpr int32_t D3DERR_INVALIDVERTEXFORMAT = static_cast<int32_t>(0x88760800u);
constexpr int32_t D3DERR_UNSUPPORTEDCOLOROPERATION = static_cast<int32_t>(0x88760819u);
constexpr int32_t D3DERR_UNSUPPORTEDALPHAOPERATION = static_cast<int32_t>(0x8876081Bu);
constexpr int32_t D3DERR_UNSUPPORTEDFACTORVALUE = static_cast<int32_t>(0x8876081Fu);
constexpr int32_t D3DERR_CONFLICTINGRENDERSTATE = static_cast<int32_t>(0x88760821u);
constexpr int32_t D3DERR_UNSUPPORTEDTEXTUREFILTER = static_cast<int32_t>(0x88760822u);

// Render states.
constexpr int32_t D3DRENDERSTATE_ANTIALIAS = 2;
constexpr int32_t D3DRENDERSTATE_ZENABLE = 7;
constexpr int32_t D3DRENDERSTATE_SRCBLEND = 19;
constexpr int32_t D3DRENDERSTATE_DESTBLEND = 20;
constexpr int32_t D3DRENDERSTATE_CULLMODE = 22;
constexpr int32_t D3DRENDERSTATE_ALPHABLENDENABLE = 27;
constexpr int32_t D3DRENDERSTATE_COLORKEYENABLE = 41;
constexpr int32_t D3DRENDERSTATE_COLORKEYBLENDENABLE = 144;
constexpr int32_t D3DRENDERSTATE_CLIPPLANEENABLE = 152;

// Blend factors.
constexpr int32_t D3DBLEND_ZERO = 1, D3DBLEND_ONE = 2, D3DBLEND_SRCALPHA = 5, D3DBLEND_INVSRCALPHA = 6,
                  D3DBLEND_DESTALPHA = 7;
// Cull modes.
constexpr int32_t D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3;

// Texture-stage states and their values.
constexpr int32_t D3DTSS_COLOROP = 1, D3DTSS_ALPHAOP = 4, D3DTSS_ADDRESS = 12, D3DTSS_ADDRESSU = 13,
                  D3DTSS_ADDRESSV = 14, D3DTSS_MAGFILTER = 16, D3DTSS_MINFILTER = 17, D3DTSS_MIPFILTER = 18;
constexpr int32_t D3DTOP_SELECTARG1 = 2, D3DTOP_MODULATE = 4;
constexpr int32_t D3DTADDRESS_WRAP = 1;
constexpr int32_t D3DTFG_POINT = 1, D3DTFG_LINEAR = 2;  // magnification
constexpr int32_t D3DTFN_POINT = 1;                     // minification
constexpr int32_t D3DTFP_NONE = 1, D3DTFP_POINT = 2;    // mip-maps (the game has none)

// Primitives and vertices.
constexpr int32_t D3DPT_TRIANGLESTRIP = 5;
// Position with reciprocal w, diffuse and specular colour, one texture coordinate pair.
constexpr uint32_t D3DFVF_TLVERTEX = 0x1C4;
constexpr uint32_t D3DDP_WAIT = 1;

// One vertex of the D3DFVF_TLVERTEX format, 32 bytes in this order.
struct TLVertex {
  float sx, sy, sz, rhw;
  uint32_t color, specular;  // 0xAARRGGBB
  float tu, tv;
};
static_assert(sizeof(TLVertex) == 32);

class Device3D {
 public:
  // A device drawing into `target` (32-bit XRGB or 16-bit 5-6-5). nullptr, with the
  // reason in `error`, for another format.
  static std::shared_ptr<Device3D> Create(const SurfacePtr& target, int32_t* error = nullptr);

  int32_t BeginScene();  // D3DERR_SCENE_IN_SCENE when a scene is open already
  int32_t EndScene();    // D3DERR_SCENE_NOT_IN_SCENE when none is open
  bool InScene() const { return inScene_; }

  int32_t SetRenderTarget(const SurfacePtr& target);
  const SurfacePtr& RenderTarget() const { return target_; }

  // TRUE may be given as any non-zero value (the game passes -1).
  int32_t SetRenderState(int32_t state, int32_t value);
  int32_t GetRenderState(int32_t state, int32_t& value) const;
  int32_t SetTextureStageState(int32_t stage, int32_t type, int32_t value);
  int32_t GetTextureStageState(int32_t stage, int32_t type, int32_t& value) const;
  // The texture of stage 0 (the only stage); nullptr draws the vertex colours alone.
  int32_t SetTexture(int32_t stage, const SurfacePtr& texture);
  const SurfacePtr& Texture() const { return texture_; }

  // Draws `count` vertices (`fvf` D3DFVF_TLVERTEX, 32 bytes each, from `vertices`) as a
  // triangle strip: triangles (0, 1, 2), (1, 2, 3), ... Parts outside the target are cut
  // off. Fewer than three vertices draw nothing.
  int32_t DrawPrimitive(int32_t type, uint32_t fvf, const void* vertices, int32_t count, uint32_t flags);

  // Counters for tests and measurements: calls that set a state (render, texture-stage,
  // texture, target), and strips drawn.
  uint64_t StateCalls() const { return stateCalls_; }
  uint64_t DrawCalls() const { return drawCalls_; }

  explicit Device3D(const SurfacePtr& target);

 private:
  SurfacePtr target_;
  SurfacePtr texture_;
  bool inScene_ = false;
  // Render states (Direct3D's defaults for a device without depth buffer).
  int32_t antialias_ = 0, zEnable_ = 0, srcBlend_ = D3DBLEND_ONE, destBlend_ = D3DBLEND_ZERO;
  int32_t cullMode_ = D3DCULL_CCW, clipPlanes_ = 0;
  bool alphaBlend_ = false, colorKey_ = false, colorKeyBlend_ = false;
  // Stage 0.
  int32_t colorOp_ = D3DTOP_MODULATE, alphaOp_ = D3DTOP_SELECTARG1;
  int32_t magFilter_ = D3DTFG_POINT, minFilter_ = D3DTFN_POINT, mipFilter_ = D3DTFP_NONE;
  uint64_t stateCalls_ = 0, drawCalls_ = 0;
};

using Device3DPtr = std::shared_ptr<Device3D>;

}  // namespace platform
