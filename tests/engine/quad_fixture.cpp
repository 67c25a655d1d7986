#include "quad_fixture.hpp"

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "player/nova_state.hpp"
#include "run/program.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/pictures_state.hpp"

namespace quadtest {

void OeffneAnzeige(platform::PixelFormat format) {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, format);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  Rendern = true;
  Antizeitverschiebung = false;
  Filtern = FilterAktiv = BlendModus = false;
  AktuelleTextur = -1;
  TexBalken = TexKreis2 = TexNoise = TexWeiss = TexLupe = -1;
}

void SchliesseAnzeige() {
  Surfaces.clear();
  D3DDevice.reset();
  BackBuffer.reset();
}

int32_t NeuesBild(int w, int h, platform::PixelFormat format, bool key, const Maler& maler) {
  return testsupport::PaintedPicture(w, h, format, key, maler);
}

int32_t NeuesBild(int w, int h, bool key, const Maler& maler) {
  return NeuesBild(w, h, BackBuffer->Format(), key, maler);
}

uint32_t Muster(int x, int y, int w, int h) {
  const int dx = 2 * x + 1 - w, dy = 2 * y + 1 - h;
  const int r2 = dx * dx + dy * dy, aussen = w < h ? w : h;
  if (r2 < aussen * aussen / 16) return 0;                       // the hole
  if (x == 0 || y == 0 || x == w - 1 || y == h - 1) return 0;   // the keyed border
  const uint32_t r = static_cast<uint32_t>(40 + 200 * x / (w - 1));
  const uint32_t g = static_cast<uint32_t>(40 + 200 * y / (h - 1));
  const uint32_t b = static_cast<uint32_t>((x * 37 + y * 91) & 255) | 1;
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

uint32_t Farbe(int x, int y) {
  uint8_t r, g, b, a;
  platform::UnpackPixel(BackBuffer->Format(), BackBuffer->GetPixel(x, y), r, g, b, a);
  return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

std::vector<platform::raster::Loops> Breiten() {
  std::vector<platform::raster::Loops> b = {platform::raster::Loops::Plain};
  if (platform::raster::WidestLoops() >= platform::raster::Loops::Sse2) b.push_back(platform::raster::Loops::Sse2);
  if (platform::raster::WidestLoops() >= platform::raster::Loops::Avx2) b.push_back(platform::raster::Loops::Avx2);
  return b;
}

void QuadTest::SetUp() { OeffneAnzeige(Format()); }
void QuadTest::TearDown() { SchliesseAnzeige(); }
platform::PixelFormat QuadTest::Format() const {
  return GetParam() == 16 ? platform::PixelFormat::RGB565 : platform::PixelFormat::XRGB8888;
}

}  // namespace quadtest
