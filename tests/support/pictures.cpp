#include "support/pictures.hpp"

#include "engine/render.hpp"
#include "engine/surfaces.hpp"

namespace testsupport {

int32_t PaintedTexture(int w, int h, platform::PixelFormat format, bool key, const Painter& paint) {
  SurfaceInfo e;
  e.Surface = platform::Surface::Create(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = paint(x, y);
      e.Surface->SetPixel(x, y, platform::PackPixel(format, (c >> 16) & 255, (c >> 8) & 255, c & 255, c >> 24));
    }
  if (key) e.Surface->SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
  e.Width = static_cast<int16_t>(w);
  e.Height = static_cast<int16_t>(h);
  e.D3DSprite = true;
  e.Colorkey = key;
  e.SrcRect = {0, 0, w, h};
  Surfaces.push_back(e);
  SetUpGeom(SurfacesMax(), e.SrcRect, e.SrcRect, 1, 1, 1, 1, 0);
  return SurfacesMax();
}

}  // namespace testsupport
