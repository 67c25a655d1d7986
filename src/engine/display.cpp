#include "engine/display.hpp"

#include <vector>

#include "platform/window.hpp"
#include "shell/config.hpp"
#include "shell/program.hpp"
#include "shell/timing.hpp"

namespace {
// Until the surfaces arrive the back buffer is one black frame.
std::vector<uint32_t> g_backBuffer;
}  // namespace

bool InitWindow() {
  g_backBuffer.assign(800 * 600, 0);
  if (FensterModus && GetDesktopHeight() > 700) {
    // The window's 640 x 480 client area grows to the 800 x 600 of the display.
    platform::Rect r = platform::GetWindowRect(FensterHandle);
    int w = r.Right - r.Left, h = r.Bottom - r.Top;
    platform::MoveWindow(FensterHandle, r.Left - (800 - w) / 2, r.Top - (600 - h) / 2, w + 160, h + 120);
  }
  return platform::WindowHasDisplay(FensterHandle);
}

void ReleaseDisplay() { g_backBuffer.clear(); }

int32_t BackBufferBitsPerPixel() { return 32; }

void BackBufferMasks(uint32_t& red, uint32_t& green, uint32_t& blue) {
  red = 0xFF0000;
  green = 0x00FF00;
  blue = 0x0000FF;
}

bool CheckRopSupport(int32_t) { return true; }

void GetMaskFactors(uint32_t Mask, int32_t& Div, int32_t& Mul) {
  int shift = 0, bits = 0;
  while (Mask != 0 && (Mask & 1u) == 0) {
    Mask >>= 1;
    ++shift;
  }
  while (Mask & 1u) {
    Mask >>= 1;
    ++bits;
  }
  Div = bits >= 8 ? 1 : (1 << (8 - bits));
  Mul = 1 << shift;
}

int32_t DDRGB(int32_t R, int32_t G, int32_t B) {
  return (R / FarbFaktoren[0].Div) * FarbFaktoren[0].Mul + (G / FarbFaktoren[1].Div) * FarbFaktoren[1].Mul +
         (B / FarbFaktoren[2].Div) * FarbFaktoren[2].Mul;
}

bool DisplayReady() {
  bool minimised = platform::IsIconic(FensterHandle);
  return !(minimised && Spielstatus != 10);
}

void Flip(bool) {
  if (g_backBuffer.empty()) return;
  platform::PresentFrame(FensterHandle, {g_backBuffer.data(), 800, 600, 800 * 4, 32});
}
