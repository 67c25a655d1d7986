#include "support/display.hpp"

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"

namespace testsupport {

void OpenDisplay(platform::PixelFormat format) {
  FillSinTables();
  Surfaces.clear();
  BackBuffer = platform::Surface::Create(800, 600, format);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  Farbtiefe = format == platform::PixelFormat::RGB565 ? 16 : 32;
  Rendern = true;
  Antizeitverschiebung = false;
  Filtern = FilterAktiv = BlendModus = false;
  AktuelleTextur = -1;
}

void CloseDisplay() {
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
  Farbtiefe = 32;
}

uint32_t BackBufferPixel(int x, int y) {
  uint8_t r, g, b, a;
  platform::UnpackPixel(BackBuffer->Format(), BackBuffer->GetPixel(x, y), r, g, b, a);
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

}  // namespace testsupport
