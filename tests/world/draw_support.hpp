#pragma once
// Drawing in the world's tests: a headless 800 x 600 back buffer with its 3D device, and
// pictures painted by code straight into the surface table.
#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/surface.hpp"
#include "support/pictures.hpp"

namespace worlddraw {

// 0xAARRGGBB of pixel (x, y) of a picture being painted.
using Maler = testsupport::Painter;

// A back buffer of `format` (XRGB8888 or RGB565, starting black) with its device, an
// empty surface table, the sine tables and a drawn frame (`Rendern`); `Farbtiefe` follows
// the format.
void OpenDisplay(platform::PixelFormat format);
void CloseDisplay();

// A picture `w` x `h` painted by `maler` as a new surface-table entry, with its quad set up
// white and unscaled at (0, 0). A texture (`quad`) is drawn as a quad, otherwise by blits;
// `key` makes black transparent. Plain pictures take the back buffer's format.
int32_t Picture(int w, int h, bool quad, bool key, const Maler& maler,
                platform::PixelFormat format = platform::PixelFormat::XRGB8888, bool ownFormat = false);
// One colour all over.
int32_t Solid(int w, int h, uint32_t argb, bool quad = false);
// Gives surface-table entry `nr` the opaque-edge profile of its pixels (black is clear),
// as the loader would.
void Randprofil(int32_t nr);

// A test of what the scrolling layers draw: it starts from the fresh state with a 32-bit
// display, still layers and the level's background picture showing, and leaves the
// display and the level's catalogues emptied.
class LayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The back buffer's pixel (x, y) as 0xRRGGBB.
uint32_t Pixel(int x, int y);
// The whole back buffer as 0xRRGGBB values, to tell whether anything was drawn.
std::vector<uint32_t> Frame();

}  // namespace worlddraw
