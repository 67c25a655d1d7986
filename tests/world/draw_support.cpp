#include "draw_support.hpp"

#include <algorithm>

#include "engine/display.hpp"
#include "engine/surfaces.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/display.hpp"
#include "support/pictures.hpp"
#include "world/level_data_state.hpp"
#include "world/weather_state.hpp"

namespace worlddraw {

void OpenDisplay(platform::PixelFormat format) { testsupport::OpenDisplay(format); }

void CloseDisplay() { testsupport::CloseDisplay(); }

int32_t Picture(int w, int h, bool quad, bool key, const Maler& maler, platform::PixelFormat format, bool ownFormat) {
  const int32_t nr = testsupport::PaintedPicture(w, h, ownFormat ? format : BackBuffer->Format(), key, maler);
  Surfaces[nr].D3DSprite = quad;
  return nr;
}

int32_t Solid(int w, int h, uint32_t argb, bool quad) {
  return Picture(w, h, quad, true, [argb](int, int) { return argb; });
}

void Randprofil(int32_t nr) {
  SurfaceInfo& S = Surfaces[nr];
  S.RandLinks.assign(S.Height + 1, -1);
  S.RandRechts.assign(S.Height + 1, -1);
  S.ErsteZeile = S.Height, S.LetzteZeile = 0, S.RandMinX = S.Width, S.RandMaxX = 0;
  for (int y = 0; y < S.Height; ++y)
    for (int x = 0; x < S.Width; ++x) {
      if ((S.Surface->GetPixel(x, y) & 0xFFFFFF) == 0) continue;
      if (S.RandLinks[y] < 0) S.RandLinks[y] = x;
      S.RandRechts[y] = x;
      S.ErsteZeile = std::min(S.ErsteZeile, y), S.LetzteZeile = std::max(S.LetzteZeile, y);
      S.RandMinX = std::min(S.RandMinX, x), S.RandMaxX = std::max(S.RandMaxX, x);
    }
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

uint32_t Pixel(int x, int y) { return testsupport::BackBufferPixel(x, y); }

std::vector<uint32_t> Frame() {
  std::vector<uint32_t> f;
  f.reserve(800 * 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) f.push_back(Pixel(x, y));
  return f;
}

}  // namespace worlddraw
