#pragma once
// A headless display for the drawing tests: a back buffer with its 3D device.
#include <cstdint>
#include <string>

#include "platform/surface.hpp"

namespace testsupport {

// An 800 x 600 back buffer of `format` (XRGB8888 or RGB565, starting black) with its
// device, an empty surface table, the sine tables and a drawn frame (`Rendern`);
// `Farbtiefe` follows the format.
void OpenDisplay(platform::PixelFormat format);
// The surface table emptied, the device and back buffer gone, the depth back at 32.
void CloseDisplay();
// The back buffer's pixel (x, y) as 0xRRGGBB.
uint32_t BackBufferPixel(int x, int y);

// The demo data beside the test program, as the program's folders name it (`AppPfad`,
// `DatenPfad`, `SoundPfad`), and the per-user folder `dataDir`, made when it is missing.
void UseDemoData(const std::string& dataDir);
// The program's own display in a visible 800 x 600 game window, as a windowed start
// opens it (`Form1`, `FensterHandle`).
void OpenGameWindow();
// The surface and sound tables emptied, the display and every window gone.
void CloseGameWindow();
// A game started afresh in a game window: the headless platform back at its start, the
// fresh state with the configuration's defaults and the sine tables, the demo data as
// `UseDemoData` names it, and `OpenGameWindow`.
void StartWithDemoData(const std::string& dataDir);

}  // namespace testsupport
