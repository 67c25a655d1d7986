#include "engine/display.hpp"

#include "engine/dxerror.hpp"
#include "platform/window.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/process_end.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"

namespace {

constexpr int32_t kBreite = kBildschirmBreite, kHoehe = kBildschirmHoehe;

// The one rendering device: the textured-quad rasteriser that draws into the back buffer.
constexpr const char* kGeraetGuid = "{2D3C0A17-8B1E-4F62-9A35-6C0E4B7D1F90}";
constexpr const char* kGeraetName = "Harvo CPU device";
constexpr const char* kGeraetBeschreibung = "textured triangles drawn by the CPU into the back buffer";


std::string Fehlermeldung() {
  if (Sprache == "D") return "Keine kompaktible 3d Karte vorhanden.";
  if (Sprache == "R") return Cyr("Несовместимая видео карта") + "\"";
  return "No compatible graphics card available.";
}

[[noreturn]] void Fatal(int32_t nummer, const std::string& meldung) {
  ShowDXError(nummer, 2, meldung);
  EndProcess(1);
}

// The device bound to the back buffer; it draws into 32-bit XRGB and 16-bit 5-6-5.
void ErzeugeGeraet(const std::string& meldung) {
  int32_t fehler = platform::D3D_OK;
  D3DDevice = platform::Device3D::Create(BackBuffer, &fehler);
  if (!D3DDevice) Fatal(fehler, meldung);
}

// Full screen: the display is ours only while its window is not minimised.
int32_t TestCooperativeLevel() {
  if (!FensterModus && platform::IsIconic(FensterHandle)) return platform::DDERR_NOEXCLUSIVEMODE;
  return platform::DD_OK;
}

void Zeige(platform::Surface& s) {
  platform::PresentFrame(FensterHandle, {s.Row(0), s.Width(), s.Height(), s.Pitch(), s.BytesPerPixel() * 8});
}

}  // namespace

void DXCheck(int32_t result) {
  if (result != platform::DD_OK) throw DXError(result);
}

void InitWindow() {
  const std::string meldung = Fehlermeldung();
  D3DDevice.reset();
  Primaer.reset();
  BackBuffer.reset();
  DebugLogWennAn(std::string("Window=") + BoolText(FensterModus));

  if (FensterModus) {
    if (GetDesktopHeight() > 700) {
      // The window's 640 x 480 client area grows to the 800 x 600 of the display.
      platform::Rect r = platform::GetWindowRect(FensterHandle);
      int32_t w = r.Right - r.Left, h = r.Bottom - r.Top;
      platform::MoveWindow(FensterHandle, r.Left - (kBreite - w) / 2, r.Top - (kHoehe - h) / 2, w + 160, h + 120);
    }
    // In a window the screen is the window itself: the frame is handed to it by Flip.
    DebugLogWennAn("Frontsurface: Videomemory");
    BackBuffer = platform::Surface::Create(kBreite, kHoehe, platform::PixelFormat::XRGB8888);
    if (!BackBuffer) Fatal(platform::DDERR_OUTOFMEMORY, meldung + " (Window-1)");
    DebugLogWennAn("Backsurface: Videomemory + 3D-Device");
    BackBuffer->SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
    ErzeugeGeraet(meldung + " (Window-2)");
  } else {
    // The desktop's full screen; the game keeps its own colour depth and the backend
    // scales the 800 x 600 picture onto the screen with black bars.
    platform::SetFullscreen(FensterHandle, true);
    const platform::PixelFormat format =
        Farbtiefe == 16 ? platform::PixelFormat::RGB565 : platform::PixelFormat::XRGB8888;
    Primaer = platform::Surface::Create(kBreite, kHoehe, format);
    DebugLogWennAn("Frontsurface: Videomemory");
    if (Primaer) BackBuffer = platform::Surface::Create(kBreite, kHoehe, format);
    if (!BackBuffer) Fatal(platform::DDERR_OUTOFMEMORY, meldung + " (Window-1)");
    DebugLogWennAn("Backsurface: Videomemory + 3D-Device");
    BackBuffer->SetForeColor(0x00FFFF);  // yellow as a GDI colour (0x00BBGGRR)
    BackBuffer->SetFontTransparency(true);
    ErzeugeGeraet(meldung + " (Fullscreen-2)");
  }

  DebugLogWennAn("3D-Init OK");
  DebugLogWennAn("---");
  DebugLogWennAn(std::string(kGeraetGuid) + " " + kGeraetName + " - " + kGeraetBeschreibung);
  if (!platform::PreparePresent(FensterHandle)) throw DXError(DDERR_GENERIC, platform::WindowSystemError());
}

void ReleaseDisplay() {
  D3DDevice.reset();
  BackBuffer.reset();
  Primaer.reset();
}

int32_t BackBufferBitsPerPixel() { return BackBuffer ? BackBuffer->GetSurfaceDesc().bitsPerPixel : 0; }

void BackBufferMasks(uint32_t& red, uint32_t& green, uint32_t& blue) {
  platform::SurfaceDesc d = BackBuffer ? BackBuffer->GetSurfaceDesc() : platform::SurfaceDesc{};
  red = d.redMask;
  green = d.greenMask;
  blue = d.blueMask;
}

bool CheckRopSupport(platform::Surface& Surface, int32_t Rop) {
  platform::SurfacePtr eins = platform::Surface::Create(1, 1, Surface.Format());
  if (!eins) return false;
  BlitEffekte.rop = Rop;
  platform::Rect r{0, 0, 1, 1};
  return Surface.Blt(&r, eins.get(), &r, platform::DDBLT_WAIT | platform::DDBLT_ROP, &BlitEffekte) == platform::DD_OK;
}

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
  int32_t r = TestCooperativeLevel();
  bool minimised = platform::IsIconic(Form1);
  return !((r != platform::DD_OK || minimised) && Spielstatus != 10);
}

void Flip(bool FastFlip) {
  if (!BackBuffer) return;
  if (FensterModus) {
    // The window shows the frame scaled to its drawing area.
    Zeige(*BackBuffer);
    if (platform::IsIconic(Form1)) throw DXError(DDERR_SURFACELOST);
    return;
  }
  if (!Primaer) return;
  if (FastFlip) {
    // A copy: the back buffer keeps the frame.
    DXCheck(Primaer->BltFast(0, 0, *BackBuffer, nullptr, platform::DDBLTFAST_WAIT));
    Zeige(*Primaer);
    if (!DisplayReady()) throw DXError(DDERR_SURFACELOST);
    return;
  }
  // A page flip: the pages change places, and a display that is not ours fails it.
  if (TestCooperativeLevel() != platform::DD_OK) throw DXError(DDERR_SURFACELOST);
  platform::Surface::SwapPixels(*Primaer, *BackBuffer);
  Zeige(*Primaer);
}

bool FrameEnde(int32_t Ti, bool FastFlip) {
  bool gezeigt = true;
  // Without frame skipping every frame is drawn, whatever the last skipping loop left.
  if (Rendern || !FrameSkipAn) {
    try {
      Flip(FastFlip);
    } catch (const Err& e) {
      if (e.Nummer != DDERR_SURFACELOST) throw;
      gezeigt = false;
    }
  }
  Wait(Ti);
  return gezeigt;
}

void AltTabpressed() {
  DebugLogWennAn("Alt-Tab");
  SetLowPriority();
}

void RestoreAllSurfaces() {}

void RestoreDisplayMode() {
  if (!FensterModus && FensterHandle) platform::SetFullscreen(FensterHandle, false);
}
