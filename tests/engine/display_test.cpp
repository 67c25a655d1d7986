// Display set-up and presentation on the headless backend: the back buffer's format in a
// window and in full screen, the colour factors, and frames as the window receives them.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/display.hpp"
#include "platform/headless/headless.hpp"
#include "run/program.hpp"
#include "shell/appdata.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/support.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

class Anzeige : public ::testing::Test {
 protected:
  testsupport::TempDir dir;

  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    DatenOrdner = dir.path();
    DebugModus = true;
  }
  void TearDown() override {
    ReleaseDisplay();
    platform::DestroyAllWindows();
    Form1 = Form3 = FensterHandle = 0;
  }

  // Opens the display as Init does: the game window, or the full-screen window.
  void Oeffne(bool fenster, int32_t tiefe) {
    FensterModus = fenster;
    Farbtiefe = tiefe;
    platform::WindowDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.visible = true;
    Form1 = platform::CreateWindow(desc, platform::DefWindowProc);
    FensterHandle = Form1;
    if (!fenster) {
      desc.fullscreen = true;
      Form3 = platform::CreateWindow(desc, platform::DefWindowProc);
      FensterHandle = Form3;
    }
    ASSERT_NO_THROW(InitWindow());
    ASSERT_TRUE(BackBuffer);
  }

  std::vector<std::string> Log() { return testsupport::SplitLines(testsupport::ReadText(dir / "Debug.txt")); }

  // The frame the window received equals the surface's pixels.
  static bool ZeigtGenau(const platform::Surface& s) {
    const headless::RecordedFrame& f = headless::LastFrame();
    if (f.width != s.Width() || f.height != s.Height() || f.bitsPerPixel != s.BytesPerPixel() * 8) return false;
    for (int y = 0; y < s.Height(); ++y)
      if (std::memcmp(f.pixels.data() + static_cast<size_t>(y) * f.pitch, s.Row(y),
                      static_cast<size_t>(s.Width()) * s.BytesPerPixel()) != 0)
        return false;
    return true;
  }
};

}  // namespace

TEST_F(Anzeige, WindowedOpensA32BitBackBufferAndLogsTheSteps) {
  headless::SetDesktopHeight(701);
  Oeffne(true, 16);
  EXPECT_EQ(BackBuffer->Format(), PixelFormat::XRGB8888);
  EXPECT_EQ(BackBuffer->Width(), 800);
  EXPECT_EQ(BackBuffer->Height(), 600);
  EXPECT_TRUE(BackBuffer->HasColorKey());
  EXPECT_EQ(BackBuffer->ColorKey(), 0u);
  EXPECT_FALSE(Primaer);
  EXPECT_EQ(BackBufferBitsPerPixel(), 32);
  platform::Rect r = platform::GetWindowRect(Form1);
  EXPECT_EQ(r.Right - r.Left, 800);
  EXPECT_EQ(r.Bottom - r.Top, 600);
  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0], "Window=True");
  EXPECT_EQ(log[1], "Frontsurface: Videomemory");
  EXPECT_EQ(log[2], "Backsurface: Videomemory + 3D-Device");
  EXPECT_EQ(log[3], "3D-Init OK");
  EXPECT_EQ(log[4], "---");
}

TEST_F(Anzeige, ASmallDesktopKeepsTheWindowSize) {
  headless::SetDesktopHeight(700);
  Oeffne(true, 32);
  platform::Rect r = platform::GetWindowRect(Form1);
  EXPECT_EQ(r.Right - r.Left, 640);
  EXPECT_EQ(r.Bottom - r.Top, 480);
}

TEST_F(Anzeige, FullScreenKeepsTheGamesColourDepth) {
  struct Fall {
    int32_t tiefe;
    PixelFormat format;
    uint32_t rot, gruen, blau;
  } faelle[] = {{16, PixelFormat::RGB565, 0xF800, 0x7E0, 0x1F}, {32, PixelFormat::XRGB8888, 0xFF0000, 0xFF00, 0xFF}};
  for (const Fall& c : faelle) {
    Oeffne(false, c.tiefe);
    EXPECT_EQ(BackBuffer->Format(), c.format);
    ASSERT_TRUE(Primaer);
    EXPECT_EQ(Primaer->Format(), c.format);
    EXPECT_TRUE(platform::IsFullscreen(Form3));
    EXPECT_EQ(BackBufferBitsPerPixel(), c.tiefe);
    uint32_t r, g, b;
    BackBufferMasks(r, g, b);
    EXPECT_EQ(r, c.rot);
    EXPECT_EQ(g, c.gruen);
    EXPECT_EQ(b, c.blau);
    EXPECT_EQ(BackBuffer->ForeColor(), 0x00FFFFu);  // yellow text
    EXPECT_TRUE(BackBuffer->FontTransparency());
    EXPECT_EQ(Log()[0], "Window=False");
    TearDown();
  }
}

TEST_F(Anzeige, MaskFactorsAndPacking) {
  struct Fall {
    uint32_t mask;
    int32_t div, mul;
  } faelle[] = {{0xF800, 8, 2048}, {0x7E0, 4, 32}, {0x1F, 8, 1}, {0x7C00, 8, 1024}, {0xFF0000, 1, 65536},
                {0xFF00, 1, 256},  {0xFF, 1, 1}};
  for (const Fall& c : faelle) {
    int32_t div = 0, mul = 0;
    GetMaskFactors(c.mask, div, mul);
    EXPECT_EQ(div, c.div) << std::hex << c.mask;
    EXPECT_EQ(mul, c.mul) << std::hex << c.mask;
  }
  FarbFaktoren = {FarbFaktor{2048, 8}, FarbFaktor{32, 4}, FarbFaktor{1, 8}};
  EXPECT_EQ(DDRGB(255, 255, 255), 0xFFFF);
  EXPECT_EQ(DDRGB(8, 4, 8), 0x0821);
  FarbFaktoren = {FarbFaktor{65536, 1}, FarbFaktor{256, 1}, FarbFaktor{1, 1}};
  EXPECT_EQ(DDRGB(1, 2, 3), 0x010203);
}

TEST_F(Anzeige, TheInvertingBlitWorksAndTouchesOnePixel) {
  for (int32_t tiefe : {16, 32}) {
    Oeffne(false, tiefe);
    BackBuffer->BltColorFill(nullptr, 0);
    EXPECT_TRUE(CheckRopSupport(*BackBuffer, platform::DSTINVERT));
    EXPECT_EQ(BackBuffer->GetPixel(0, 0), platform::PackPixel(BackBuffer->Format(), 255, 255, 255));
    EXPECT_EQ(BackBuffer->GetPixel(1, 0), 0u);
    EXPECT_FALSE(CheckRopSupport(*BackBuffer, 0x00EE0086));
    TearDown();
  }
}

TEST_F(Anzeige, DisplayReadyUnlessMinimisedOrQuitting) {
  Oeffne(true, 32);
  EXPECT_TRUE(DisplayReady());
  platform::ShowWindow(Form1, platform::sw::Minimize);
  EXPECT_FALSE(DisplayReady());
  Spielstatus = 10;
  EXPECT_TRUE(DisplayReady());
}

TEST_F(Anzeige, AFlippedFrameIsTheBackBuffer) {
  for (int32_t tiefe : {16, 32}) {
    Oeffne(false, tiefe);
    const PixelFormat f = BackBuffer->Format();
    // Fill, blit a keyed picture, flip: the window shows exactly those pixels.
    BackBuffer->BltColorFill(nullptr, platform::PackPixel(f, 0, 0, 128));
    platform::Surface bild(3, 2, f);
    bild.SetPixel(0, 0, platform::PackPixel(f, 255, 0, 0));
    bild.SetPixel(2, 1, platform::PackPixel(f, 0, 255, 0));
    bild.SetColorKey(platform::DDCKEY_SRCBLT, 0, 0);
    BackBuffer->BltFast(10, 20, bild, nullptr, platform::DDBLTFAST_SRCCOLORKEY);
    platform::Surface erwartet = *BackBuffer;
    Flip(true);
    EXPECT_TRUE(ZeigtGenau(erwartet));
    EXPECT_EQ(headless::LastFrame().bitsPerPixel, tiefe);
    const auto& px = headless::LastFrame().pixels;
    const int bpp = tiefe / 8, pitch = headless::LastFrame().pitch;
    uint32_t rot = 0, blau = 0;
    std::memcpy(&rot, px.data() + 20 * pitch + 10 * bpp, bpp);
    std::memcpy(&blau, px.data() + 20 * pitch + 11 * bpp, bpp);
    EXPECT_EQ(rot, platform::PackPixel(f, 255, 0, 0));
    EXPECT_EQ(blau, platform::PackPixel(f, 0, 0, 128));
    // A fast flip keeps the back buffer; a page flip exchanges the pages.
    EXPECT_EQ(BackBuffer->GetPixel(10, 20), rot);
    BackBuffer->BltColorFill(nullptr, platform::PackPixel(f, 255, 255, 255));
    Flip(false);
    EXPECT_EQ(BackBuffer->GetPixel(10, 20), rot);
    EXPECT_EQ(Primaer->GetPixel(10, 20), platform::PackPixel(f, 255, 255, 255));
    EXPECT_TRUE(ZeigtGenau(*Primaer));
    TearDown();
  }
}

TEST_F(Anzeige, AMinimisedWindowRaisesSurfaceLost) {
  Oeffne(true, 32);
  BackBuffer->BltColorFill(nullptr, 0x336699);
  Flip(false);
  EXPECT_TRUE(ZeigtGenau(*BackBuffer));
  int vorher = headless::LastFrame().count;
  platform::ShowWindow(Form1, platform::sw::Minimize);
  try {
    Flip(false);
    ADD_FAILURE() << "no error";
  } catch (const Err& e) {
    EXPECT_EQ(e.Nummer, DDERR_SURFACELOST);
  }
  EXPECT_EQ(headless::LastFrame().count, vorher + 1);  // the frame was still handed over
  TearDown();

  // Full screen: the fast flip copies and then fails, the page flip fails at once.
  Oeffne(false, 32);
  platform::ShowWindow(Form3, platform::sw::Minimize);
  vorher = headless::LastFrame().count;
  EXPECT_THROW(Flip(true), Err);
  EXPECT_EQ(headless::LastFrame().count, vorher + 1);
  EXPECT_THROW(Flip(false), Err);
  EXPECT_EQ(headless::LastFrame().count, vorher + 1);
  Spielstatus = 10;
  EXPECT_NO_THROW(Flip(true));
}

TEST_F(Anzeige, AFrameEndPresentsWhatWasDrawnAndWaitsForTheFramesEnd) {
  struct Fall {
    const char* was;
    bool fenster, minimiert, frameSkip, rendern, fast;
    bool gezeigt;
    int bilder;  // frames handed to the window
  } faelle[] = {
      {"windowed", true, false, false, true, false, true, 1},
      {"minimised window: handed over, then lost", true, true, false, true, false, false, 1},
      {"full screen, fast flip: copied, then lost", false, true, false, true, true, false, 1},
      {"full screen page flip on a lost display", false, true, false, true, false, false, 0},
      {"a frame the game loop skipped", true, false, true, false, false, true, 0},
      {"a menu frame after the game loop skipped one", true, false, false, false, false, true, 1},
  };
  for (const Fall& c : faelle) {
    SCOPED_TRACE(c.was);
    Oeffne(c.fenster, 32);
    if (c.minimiert) platform::ShowWindow(c.fenster ? Form1 : Form3, platform::sw::Minimize);
    FrameSkipAn = c.frameSkip;
    Rendern = c.rendern;
    headless::SetClock(1000);
    LetzterTick = 1000;
    const int vorher = headless::LastFrame().count;
    EXPECT_EQ(FrameEnde(16, c.fast), c.gezeigt);
    EXPECT_EQ(headless::LastFrame().count, vorher + c.bilder);
    EXPECT_EQ(GetTickCount(), 1016);
    TearDown();
  }
  FrameSkipAn = false;
  Rendern = true;
}

TEST_F(Anzeige, AFrameEndPassesEveryOtherFailureOn) {
  Oeffne(false, 32);
  platform::LockedRect gesperrt;
  ASSERT_EQ(Primaer->Lock(nullptr, gesperrt), platform::DD_OK);
  try {
    FrameEnde(16, true);
    ADD_FAILURE() << "no error";
  } catch (const Err& e) {
    EXPECT_EQ(e.Nummer, platform::DDERR_SURFACEBUSY);
  }
  Primaer->Unlock();
}
