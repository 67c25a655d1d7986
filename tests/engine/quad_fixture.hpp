#pragma once
// Shared set-up of the quad tests: an 800 x 600 back buffer with its 3D device, and
// pictures drawn by code straight into the surface table.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include <vector>

#include "engine/surfaces.hpp"
#include "platform/rasteriser.hpp"
#include "platform/surface.hpp"

namespace quadtest {

// A colour as 0xAARRGGBB for a pixel (x, y) of a picture being made.
using Maler = std::function<uint32_t(int x, int y)>;

// Opens a back buffer of `format` (XRGB8888 or RGB565) with its device, empties the
// surface table and sets the sine tables, `Rendern` and the renderer's switches to their
// start values. The back buffer starts black.
void OeffneAnzeige(platform::PixelFormat format);
void SchliesseAnzeige();

// A picture `w` x `h` in `format`, painted by `maler`, as a new surface-table entry (a
// texture; with `key` black is transparent) with its quad set up unscaled at (0, 0).
int32_t NeuesBild(int w, int h, platform::PixelFormat format, bool key, const Maler& maler);
// The same in the back buffer's format (the format pictures are loaded in).
int32_t NeuesBild(int w, int h, bool key, const Maler& maler);

// A test picture: a colour wheel of distinct colours with a black (keyed) border ring and
// a black hole in the middle, so keying, orientation and filtering all show.
uint32_t Muster(int x, int y, int w, int h);

// The back buffer's pixel at (x, y) as 0xRRGGBB (16-bit pixels widened).
uint32_t Farbe(int x, int y);

// The widths of inner loops to draw a reference picture with: the plain loops and every
// vectorised width this machine has (they must all give the same picture).
std::vector<platform::raster::Loops> Breiten();

// Fixture for the engine's drawing tests, parameterised by the back buffer's bits.
class QuadTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override;
  void TearDown() override;
  platform::PixelFormat Format() const;
};

}  // namespace quadtest
