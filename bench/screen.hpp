#pragma once
// The screen of the benchmarks that draw full frames: a fresh state, an 800 x 600 XRGB8888
// back buffer with its device, and a patterned picture maker for the textures they need.
#include <cstdint>

#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "shell/angles.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/pictures_state.hpp"

namespace bench {

// A picture of w x h in a grey cross-hatch, entered in the surface table; its number.
inline int32_t MusterBild(int w, int h) {
  return testsupport::PaintedPicture(w, h, platform::PixelFormat::XRGB8888, false, [](int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>((x * 7) ^ (y * 13)) * 0x010101u;
  });
}

// A fresh state drawing into an 800 x 600 XRGB8888 back buffer.
inline void Schirm() {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
}

}  // namespace bench
