#include "draw_support.hpp"

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/level_data_state.hpp"
#include "world/weather_state.hpp"

namespace worlddraw {

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

int32_t Picture(int w, int h, bool quad, bool key, const Maler& maler, platform::PixelFormat format, bool ownFormat) {
  const int32_t nr = testsupport::PaintedPicture(w, h, ownFormat ? format : BackBuffer->Format(), key, maler);
  Surfaces[nr].D3DSprite = quad;
  return nr;
}

int32_t Solid(int w, int h, uint32_t argb, bool quad) {
  return Picture(w, h, quad, true, [argb](int, int) { return argb; });
}

void LayerTest::SetUp() {
  testsupport::FreshState();
  OpenDisplay(platform::PixelFormat::XRGB8888);
  for (LevelEbene& e : Ebenen) e = LevelEbene{};
  HintergrundModus = 1;
}

void LayerTest::TearDown() {
  CloseDisplay();
  FreeLevelCatalogues();
  testsupport::FreshState();
}

uint32_t Pixel(int x, int y) {
  uint8_t r, g, b, a;
  platform::UnpackPixel(BackBuffer->Format(), BackBuffer->GetPixel(x, y), r, g, b, a);
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

std::vector<uint32_t> Frame() {
  std::vector<uint32_t> f;
  f.reserve(800 * 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) f.push_back(Pixel(x, y));
  return f;
}

}  // namespace worlddraw
