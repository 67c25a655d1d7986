// Particles allocate nothing: creating them, moving them and drawing every kind (the
// lightning, the screen lenses and the wrecks among them) reuses the pools and the
// drawing's own buffers from the first frame on.
#include <gtest/gtest.h>

#include "counting_new.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/surfaces.hpp"
#include "platform/device3d.hpp"
#include "shell/angles.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/pictures.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

using alloccount::AllocationsDuring;

namespace {

int32_t Weisses(int w, int h) {
  return testsupport::PaintedPicture(w, h, platform::PixelFormat::XRGB8888, false, [](int, int) { return 0xFFFFFFu; });
}

// Explosions, rings of sparks, bubbles and one particle of every effect kind, then a
// tick of everything, drawn.
void Runde(int runde) {
  const float x = static_cast<float>(100 + 37 * (runde % 10));
  AddExplosionsPartikel(x, 300, x + 90, 380);
  AddPartikel(0, 40, 10, 10, 700, 500, runde % 2 == 0);
  AddCircle(1, 20, 1, 400, 300, 90);
  Add1Partikel(1, 50, 50, 1, 1, 1, 1, 1, 2, 5);
  for (int32_t art = 0; art <= 17; ++art)
    Add1BigPartikel(x + 3 * art, 200, 1, 0.5f, 1, art == 12 ? 0 : 1, 1, art == 12 ? 0 : 40, art % 3, 6, art, 2);
  AddBlase(x, 400, 8);
  RenderStart();
  MovePartikel(0);
  SpielMoveBlase();
  MovePartikel(1);
  MoveBigPartikel();
  RenderEnd();
}

}  // namespace

TEST(ParticlesAllocateNothing, EveryKindMovedAndDrawn) {
  testsupport::FreshState();
  FillSinTables();
  BackBuffer = platform::Surface::Create(800, 600, platform::PixelFormat::XRGB8888);
  D3DDevice = platform::Device3D::Create(BackBuffer);
  Rendern = true;
  Wasserstand = 300;
  SoundAn = false;
  TexWeiss = TexKreis2 = TexWave = TexWave2 = TexStrich = TexGlitzer = TexBalken = TexBlase = Weisses(16, 16);
  for (int32_t& t : TexFeuer) t = Weisses(16, 16);
  for (int32_t& t : TexRauch) t = Weisses(16, 16);
  TexBlur = Weisses(40, 40);
  TexBlurB = Weisses(32, 32);
  SpriteDefs.resize(1);
  SpriteDefs[0].D3DSprite = VBTrue;
  SpriteDefs[0].Frames.resize(1);
  SpriteDefs[0].Frames[0].Surface = Weisses(20, 12);

  // The first rounds set up what drawing keeps (the blitter's stretch tables grow to the
  // largest lens once the delayed ones show).
  for (int runde = 0; runde < 5; ++runde) Runde(runde);
  const int64_t n = AllocationsDuring([] {
    for (int runde = 5; runde < 25; ++runde) Runde(runde);
  });
  EXPECT_EQ(n, 0);
  EXPECT_GT(BigPartikelMax, 0);

  SpriteDefs.clear();
  Wasserstand = 0;
  testsupport::FreshState();
  D3DDevice.reset();
  BackBuffer.reset();
}
