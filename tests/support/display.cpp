#include "support/display.hpp"

#include <filesystem>

#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"

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

void UseDemoData(const std::string& dataDir) {
  AppPfad = platform::fs::ProgramFolder();
  DatenPfad = AppPfad;
  SoundPfad = AppPfad + "Data/Sound/";
  DatenOrdner = dataDir;
  std::filesystem::create_directories(DatenOrdner);
}

void OpenGameWindow() {
  FensterModus = true;
  platform::WindowDesc desc;
  desc.width = 800;
  desc.height = 600;
  desc.visible = true;
  Form1 = FensterHandle = platform::CreateWindow(desc, platform::DefWindowProc);
  InitWindow();
}

void CloseGameWindow() {
  SurfaceClear();
  Soundclear();
  ReleaseDisplay();
  platform::DestroyAllWindows();
  Form1 = Form3 = FensterHandle = 0;
}

void StartWithDemoData(const std::string& dataDir) {
  platform::headless::Reset();
  FreshState();
  SetConfigDefaults();
  FillSinTables();
  UseDemoData(dataDir);
  OpenGameWindow();
}

}  // namespace testsupport
