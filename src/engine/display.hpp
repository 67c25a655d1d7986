#pragma once
// The 800 x 600 display of the game window: the back buffer every drawing procedure draws
// on, its presentation once per frame, and the colour factors of its pixel format.
//
// Failures: a DirectX operation that fails inside a drawing or presenting procedure
// raises the game's run-time error `Err` with the DirectX result as its number, and the
// long loops catch it as any other: DDERR_SURFACELOST means "the display is gone for now"
// (the window is minimised), anything else is fatal. `Flip` raises DDERR_SURFACELOST;
// pictures drawn by the CPU are never really lost, so `RestoreAllSurfaces` and the other
// restore calls have nothing to do.
#include <array>
#include <cstdint>
#include <string>

#include "platform/device3d.hpp"
#include "platform/surface.hpp"
#include "shell/err.hpp"

// Multiplier and divisor per colour channel R, G, B of the back buffer's pixel format.
struct FarbFaktor {
  int32_t Mul = 1;
  int32_t Div = 1;
};
inline std::array<FarbFaktor, 3> FarbFaktoren;
// The blitter performs the inverting raster operation (it always does here).
inline bool HardwareInvert = false;

// The visible page in full screen (page flips exchange it with the back buffer); in a
// window the window itself is the screen and this stays empty.
inline platform::SurfacePtr Primaer;
// The 800 x 600 surface every drawing procedure draws on.
inline platform::SurfacePtr BackBuffer;
// The 3D device that draws the textured quads into `BackBuffer`, for the display's life.
inline platform::Device3DPtr D3DDevice;
// The blit-effects record whose raster operation is set before a raster-operation blit.
inline platform::BltFx BlitEffekte;

constexpr int32_t DDERR_SURFACELOST = platform::DDERR_SURFACELOST;
// The undefined failure: what the window system refused has no DirectX number of its own.
constexpr int32_t DDERR_GENERIC = static_cast<int32_t>(0x80004005u);

// A failed DirectX operation as the error its caller's handler sees: the result is the
// number; the description is the system's text, where it has one.
inline Err DXError(int32_t Nummer, std::string Beschreibung = "Automation error") {
  return {Nummer, std::move(Beschreibung)};
}
// Raises the result of an operation unless it is DD_OK.
void DXCheck(int32_t result);

// Opens the display on `FensterHandle`: windowed (32 bits) or full screen (the desktop's
// full screen with the picture letterboxed, at the `Farbtiefe` of the settings: 16 or 32).
// A back buffer or device that cannot be made shows the DirectX error dialog and ends
// the program. A display that is set up but cannot show frames raises DDERR_GENERIC
// with the window system's reason (the caller's failure path).
void InitWindow();
// Releases the display objects (the shut-down).
void ReleaseDisplay();
// Bits per pixel of the back buffer: 16 or 32.
int32_t BackBufferBitsPerPixel();
// Bit masks of the back buffer's red, green and blue channels.
void BackBufferMasks(uint32_t& red, uint32_t& green, uint32_t& blue);
// True when a raster-operation blit with `Rop` onto `Surface` succeeds.
bool CheckRopSupport(platform::Surface& Surface, int32_t Rop);
// Divisor and multiplier that pack an 8-bit channel into `Mask`.
void GetMaskFactors(uint32_t Mask, int32_t& Div, int32_t& Mul);
// A colour (components 0..255) in the back buffer's pixel format.
int32_t DDRGB(int32_t R, int32_t G, int32_t B);
// The display may be drawn to and presented (always while quitting).
bool DisplayReady();
// Presents the back buffer. Raises DXError(DDERR_SURFACELOST) when the window is
// minimised (windowed) or the display is not ready (full screen).
void Flip(bool FastFlip);
// The end of a frame in every loop: presents the frame when it was drawn (`Flip`) and
// waits for the rest of its `Ti` milliseconds (`Wait`). A lost display (a minimised
// window) has nothing to show: the frame is dropped and the result is false, for a loop
// that reacts to it; any other failure reaches the loop's handler.
bool FrameEnde(int32_t Ti, bool FastFlip = false);

// The window was switched away from: logged, and the process runs at a lower priority.
void AltTabpressed();
// Restores every surface after a loss; nothing is ever lost here.
void RestoreAllSurfaces();
// Gives the desktop back its own display before a message box in full screen.
void RestoreDisplayMode();
