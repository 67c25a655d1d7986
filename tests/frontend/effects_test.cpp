// The screen transitions: the cross-fade over twenty frames, the two overlays with their
// ramps and refills, the checkpoint flash, frames that are not drawn, Voodoo mode, the
// noise, and the screen-out with its sides, its escape and its failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

#include "campaign/checkpoints_state.hpp"
#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/dxerror_dialog.hpp"
#include "engine/input.hpp"
#include "engine/render.hpp"
#include "frontend/effects.hpp"
#include "platform/headless/headless.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "support/fresh_state.hpp"
#include "support/golden.hpp"
#include "support/pictures.hpp"
#include "world/pictures_state.hpp"

namespace headless = platform::headless;
using platform::PixelFormat;

namespace {

using Szene = std::function<uint32_t(int x, int y)>;  // 0xRRGGBB

// Two pictures to fade between, different everywhere: diagonal colour bands with a white
// disc, and a night sky in stripes with a yellow block.
uint32_t A(int x, int y) {
  if ((x - 250) * (x - 250) + (y - 300) * (y - 300) < 120 * 120) return 0xF0F0F0;
  const uint32_t baender[3] = {0xDC2828, 0x28C83C, 0x3250E6};
  return baender[((x + y) / 60) % 3];
}
uint32_t B(int x, int y) {
  if (x >= 500 && x < 700 && y >= 150 && y < 450) return 0xFADC1E;
  return (y / 25) % 2 ? 0x0A1446 : 0x1E326E;
}
Szene Farbe(uint32_t c) {
  return [c](int, int) { return c; };
}

void Male(const Szene& s) {
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const uint32_t c = s(x, y);
      BackBuffer->SetPixel(x, y, platform::PackPixel(PixelFormat::XRGB8888, c >> 16 & 255, c >> 8 & 255, c & 255));
    }
}

uint32_t Punkt(const platform::Surface& s, int x, int y) { return s.GetPixel(x, y) & 0xFFFFFF; }
uint32_t Punkt(int x, int y) { return Punkt(*BackBuffer, x, y); }

// `oben` at opacity `alpha` over `unten`, within two steps of the device's 8-bit blend.
::testing::AssertionResult Gemischt(uint32_t ist, uint32_t oben, uint32_t unten, float alpha) {
  for (int s = 0; s <= 16; s += 8) {
    const float soll = static_cast<float>(oben >> s & 255) * alpha + static_cast<float>(unten >> s & 255) * (1 - alpha);
    if (std::abs(static_cast<int>(soll + 0.5f) - static_cast<int>(ist >> s & 255)) > 2)
      return ::testing::AssertionFailure() << std::hex << ist << " is not " << oben << " at " << alpha << " over "
                                           << unten;
  }
  return ::testing::AssertionSuccess();
}

// Against a reference picture at a fifth of the size, each pixel the mean of its 5 x 5:
// small enough to keep, and still changed by any fault of geometry or blending.
::testing::AssertionResult WieReferenz(const std::string& name, const platform::Surface& bild) {
  platform::Surface klein(160, 120, PixelFormat::XRGB8888);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      uint32_t summe[3] = {};
      for (int v = 0; v < 25; ++v)
        for (int k = 0; k < 3; ++k) summe[k] += Punkt(bild, 5 * x + v % 5, 5 * y + v / 5) >> (16 - 8 * k) & 255;
      klein.SetPixel(x, y, platform::PackPixel(klein.Format(), (summe[0] + 12) / 25, (summe[1] + 12) / 25,
                                               (summe[2] + 12) / 25));
    }
  const std::string f =
      testsupport::CompareWithGoldenBmp("tests/frontend/golden/" + name + ".bmp", klein, {0, 0, 160, 120});
  return f.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << f;
}

const RECT kSpielfeld = SpielfeldRect;
const RECT kVollbild = VollbildRect;

class Effekte : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    testsupport::FreshState();
    FillSinTables();
    BackBuffer = platform::Surface::Create(800, 600, PixelFormat::XRGB8888);
    D3DDevice = platform::Device3D::Create(BackBuffer);
    LetzterTick = 0;
    CheckpointTor = CheckpointTorDaten();
    Bilder(false);
  }
  void TearDown() override {
    Surfaces.clear();
    D3DDevice.reset();
    BackBuffer.reset();
    testsupport::FreshState();
  }

  // The pictures as the standard loader makes them: the small overlay texture, the fade
  // texture (801 x 601 trimmed to the screen, or Voodoo mode's small one), the white quad
  // and the noise.
  static void Bilder(bool voodoo) {
    Surfaces.clear();
    VoodooModus = voodoo;
    auto bild = [](int w, int h, testsupport::Painter p) {
      return testsupport::PaintedPicture(w, h, PixelFormat::XRGB8888, false, p);
    };
    TexBlur = bild(64, 64, [](int, int) { return 0xFF808080u; });
    TexBlur2 = bild(voodoo ? 256 : 801, voodoo ? 256 : 601, [](int, int) { return 0xFF808080u; });
    if (!voodoo) SurfaceKorrektur(TexBlur2);
    TexWeiss = bild(8, 8, [](int, int) { return 0xFFFFFFFFu; });
    TexNoise = bild(256, 256, [](int x, int y) {
      uint32_t v = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
      v = (v ^ v >> 13) * 0x5BD1E995u;
      return 0xFF000000u | ((v ^ v >> 15) & 255) * 0x010101u;
    });
  }

  // One frame of a loop: last frame's requests cleared, the scene, what the frame asks
  // for, the overlay pass.
  static void Bild(const Szene& szene, const RECT& R2, const std::function<void()>& anfragen = {}) {
    ClearFrameRequests();
    if (Rendern) Male(szene);
    if (anfragen) anfragen();
    RenderStart();
    OverlayEffekte(R2);
    RenderEnd();
  }
  static uint64_t Quads() { return D3DDevice->DrawCalls(); }
  static const platform::Surface& Blendtextur() { return *Surfaces[TexBlur2].Surface; }
};

}  // namespace

TEST_F(Effekte, ACrossFadeFreezesItsFrameAndFadesItOutOverTwentyFrames) {
  Bild(A, kSpielfeld, Blenden);
  EXPECT_EQ(BlendAlpha, 1.0f);
  EXPECT_EQ(Punkt(100, 100), A(100, 100));  // nothing over the frozen frame itself
  EXPECT_EQ(Punkt(Blendtextur(), 799, 549), A(799, 549));
  EXPECT_EQ(Punkt(Blendtextur(), 10, 560), 0x808080u);  // only the play area is taken
  for (int k = 1; k <= 21; ++k) {
    SCOPED_TRACE(k);
    Bild(B, kSpielfeld);
    const float alpha = k < 20 ? 1.0f - 0.05f * k : 0.0f;
    EXPECT_NEAR(BlendAlpha, alpha, 1e-5);
    EXPECT_EQ(Abblenden, k < 20);
    for (auto [x, y] : {std::pair{250, 300}, {600, 300}, {30, 540}})
      EXPECT_TRUE(Gemischt(Punkt(x, y), A(x, y), B(x, y), alpha)) << x << "," << y;
    EXPECT_EQ(Punkt(250, 580), B(250, 580));  // the display strip is not faded
    if (k == 10) {
      EXPECT_TRUE(WieReferenz("crossfade_32", *BackBuffer));
    }
  }
  // Asked for again while running: that frame shows plain and is the new frozen one.
  Bild(A, kVollbild, Blenden);
  for (int k = 0; k < 5; ++k) Bild(B, kVollbild);
  Bild(Farbe(0xC86400), kVollbild, Blenden);
  EXPECT_EQ(BlendAlpha, 1.0f);
  EXPECT_EQ(Punkt(250, 300), 0xC86400u);
  Bild(B, kVollbild);
  EXPECT_TRUE(Gemischt(Punkt(250, 300), 0xC86400, B(250, 300), 0.95f));
}

TEST_F(Effekte, EachOverlayRampsUpToHalfShowsTheLastFrameAndGoesOutAgain) {
  struct Fall {
    const char* name;
    bool* flag;
    float* alpha;
    RECT R2;
  };
  for (const Fall& f : {Fall{"ghost", &Overlay1, &Overlay1Alpha, kSpielfeld},
                        Fall{"glow", &Overlay2, &Overlay2Alpha, kVollbild}}) {
    SCOPED_TRACE(f.name);
    // The last frame (A) went into the overlay texture; in this one the overlay shows it.
    ResetScreenEffects();
    Bild(A, f.R2, [] { BlurKopie = true; });
    *f.alpha = 0.475f;
    Bild(B, f.R2, [&] {
      *f.flag = true;
      OverlayKopie = false;
    });
    EXPECT_EQ(*f.alpha, 0.5f);
    EXPECT_TRUE(WieReferenz(std::string("overlay_") + f.name + "_32", *BackBuffer));

    ResetScreenEffects();
    *f.flag = true;
    int frames = 0;
    for (; *f.alpha < 0.5f && frames < 100; ++frames) Bild(A, f.R2);
    EXPECT_EQ(frames, 20);
    EXPECT_TRUE(BlurKopie);
    EXPECT_FALSE(OverlayKopie);

    // Off: one quad a frame for as long as it still shows.
    *f.flag = false;
    const uint64_t n = Quads();
    for (int k = 0; k < 12; ++k) Bild(A, f.R2);
    EXPECT_EQ(Quads() - n, 9u);
    EXPECT_EQ(*f.alpha, 0.0f);
    EXPECT_TRUE(OverlayKopie);
  }
}

TEST_F(Effekte, AnOverlayGoingOutIsRefilledFromTheCurrentFrameFromItsSecondFrameOn) {
  Overlay1 = true;
  for (int k = 0; k < 25; ++k) Bild(Farbe(0xC80000), kVollbild);
  Overlay1 = false;
  Bild(Farbe(0x0000C8), kVollbild);  // the texture still holds the last red frame
  EXPECT_TRUE(Gemischt(Punkt(400, 300), 0xC80000, 0x0000C8, 0.45f));
  Bild(Farbe(0x0000C8), kVollbild);
  EXPECT_TRUE(Gemischt(Punkt(400, 300), 0x0000C8, 0x0000C8, 0.4f));
}

TEST_F(Effekte, TheCheckpointFlashWaitsForItsFrameAndFadesOut) {
  struct Fall {
    const char* name;
    float alpha, schritt;
    int sichtbar;  // frames it shows after the frozen one
  };
  for (const Fall& f : {Fall{"gate taken", 1.0f, -0.05f, 19}, Fall{"restart", 0.6f, -0.02f, 30}}) {
    SCOPED_TRACE(f.name);
    CheckpointTor = {.Triggered = true, .Alpha = f.alpha, .AlphaStep = f.schritt};
    Bild(A, kSpielfeld, [] { BlendStart = true; });
    EXPECT_EQ(CheckpointTor.Alpha, f.alpha);  // held back in the frame that freezes
    EXPECT_EQ(Punkt(400, 300), A(400, 300));
    int sichtbar = 0;
    for (int k = 1; CheckpointTor.AlphaStep != 0 && k < 100; ++k) {
      Bild(B, kSpielfeld);
      EXPECT_TRUE(Gemischt(Punkt(250, 300), A(250, 300), B(250, 300), CheckpointTor.Alpha)) << k;
      sichtbar += CheckpointTor.Alpha > 0;
    }
    EXPECT_EQ(sichtbar, f.sichtbar);
    const uint64_t n = Quads();
    Bild(B, kSpielfeld);
    EXPECT_EQ(Quads(), n);  // over: nothing drawn
  }
}

TEST_F(Effekte, ASkippedFrameKeepsTheOverlaysButRunsTheFadeAndStillFreezes) {
  Overlay1 = Overlay2 = true;
  for (int k = 0; k < 4; ++k) Bild(A, kVollbild);
  Bild(A, kVollbild, Blenden);
  Bild(B, kVollbild);
  CheckpointTor = {.Triggered = true, .Alpha = 1.0f, .AlphaStep = -0.05f};
  const float geist = Overlay1Alpha, glut = Overlay2Alpha;
  Rauschen = 0.5f;
  const uint32_t zufall = RndState();

  Rendern = false;
  const uint64_t n = Quads();
  Male(A);  // what the back buffer holds is what a freeze takes
  Bild(A, kVollbild, [] { BlendStart = true; });
  EXPECT_EQ(Quads(), n);
  EXPECT_EQ(Overlay1Alpha, geist);
  EXPECT_EQ(Overlay2Alpha, glut);
  EXPECT_NEAR(BlendAlpha, 0.9f, 1e-6);
  EXPECT_EQ(CheckpointTor.Alpha, 1.0f);  // the freeze holds the flash back
  EXPECT_EQ(RndState(), zufall);         // no noise
  EXPECT_EQ(Punkt(Blendtextur(), 600, 300), A(600, 300));
  Bild(A, kVollbild);
  EXPECT_NEAR(CheckpointTor.Alpha, 0.95f, 1e-6);
  Rendern = true;
}

TEST_F(Effekte, InVoodooModeTheFadeTextureHoldsTheScreenSqueezedAndIsDrawnFiltered) {
  Bilder(true);
  Bild(A, kVollbild, Blenden);
  for (auto [u, v] : {std::pair{0, 0}, {80, 96}, {255, 255}})  // nearest pixels, 800 x 600 into 256 x 256
    EXPECT_EQ(Punkt(Blendtextur(), u, v), A(u * 800 / 256, v * 600 / 256)) << u << "," << v;
  Bild(B, kVollbild);
  EXPECT_TRUE(FilterAktiv);  // only in this mode is the fade quad filtered
  EXPECT_TRUE(Gemischt(Punkt(250, 300), A(250, 300), B(250, 300), 0.95f));
}

TEST_F(Effekte, TheNoiseOverTheFrame) {
  Rauschen = 0.35f;
  RndReset();
  Bild(B, kVollbild);
  // At full size, where four windows of the noise meet.
  EXPECT_EQ(testsupport::CompareWithGoldenBmp("tests/frontend/golden/noise_32.bmp", *BackBuffer, {180, 180, 380, 330}),
            "");
}

// The screen-out runs on the headless clock: each of its frames lasts 16 ms.
TEST_F(Effekte, TheScreenOutRunsEightyFramesUnlessEscapeOrTheRunsEndStopsIt) {
  DInputInit();
  KeyConfig.PauseKey = {1, 0, 0};
  struct Fall {
    const char* name;
    bool checkEsc, escape, ende;
    int32_t tick, frames;
  };
  std::optional<platform::Surface> mitte;
  for (const Fall& f : {Fall{"plain", false, false, false, 80, 80}, Fall{"escape not looked at", false, true, false, 80, 80},
                        Fall{"escape ends it after the first frame", true, true, false, 0, 1},
                        Fall{"the run ends: set-up only", false, false, true, 0, 0}}) {
    SCOPED_TRACE(f.name);
    headless::Reset();
    LetzterTick = 0;
    Spielstatus = f.ende ? 10 : 0;
    if (f.escape) headless::QueueKeys({1}, 200);
    Male(A);
    headless::At(16 * 5 + 1, [&] { mitte.emplace(*BackBuffer); });
    FadeOut(0, f.checkEsc);
    EXPECT_EQ(LevelTick, f.tick);
    EXPECT_EQ(GetTickCount(), 16 * f.frames);
    EXPECT_EQ(Abblenden, f.frames < 19);
    EXPECT_EQ(Punkt(Blendtextur(), 250, 300), A(250, 300));
    if (f.frames == 80) {
      EXPECT_LE(Punkt(400, 300), 0x020202u);  // dark, as far as the 8-bit blend goes
      EXPECT_TRUE(WieReferenz("fadeout_32", *mitte));
    }
  }
  Spielstatus = 0;
}

TEST_F(Effekte, TheScreenOutSqueezesFromTopAndBottomOrFromOneRandomSide) {
  // After the first frame the uncovered edge holds the old picture darkened by a fifth;
  // the rest has the frozen copy nearly opaque over it.
  DInputInit();
  KeyConfig.PauseKey = {1, 0, 0};
  std::optional<platform::Surface> bild;
  // False when the screen-out ended before its first frame was shown.
  auto erstesBild = [&](int32_t art) {
    headless::Reset();
    LetzterTick = 0;
    Male(Farbe(0xC8C8C8));
    bild.reset();
    headless::At(1, [&] { bild.emplace(*BackBuffer); });
    headless::QueueKeys({1}, 5);  // one frame is all it takes
    FadeOut(art, true);
    return bild.has_value();
  };
  const std::pair<int, int> raender[4] = {{5, 300}, {400, 5}, {795, 300}, {400, 595}};  // left, top, right, bottom
  auto gequetscht = [&](int s) { return (Punkt(*bild, raender[s].first, raender[s].second) & 255) <= 165; };

  ASSERT_TRUE(erstesBild(0));
  EXPECT_TRUE(gequetscht(1) && gequetscht(3) && !gequetscht(0) && !gequetscht(2));
  EXPECT_NEAR(static_cast<int>(Punkt(*bild, 400, 300) & 255), 196, 2);
  bool gesehen[4] = {};
  for (uint32_t saat = 1; saat < 200 && !(gesehen[0] && gesehen[1] && gesehen[2] && gesehen[3]); ++saat) {
    SetRndState(saat * 2654435761u);
    const int seite = static_cast<int>(Int(4.0 * Rnd()));
    SetRndState(saat * 2654435761u);
    ASSERT_TRUE(erstesBild(1)) << "seed " << saat;
    for (int s = 0; s < 4; ++s) EXPECT_EQ(gequetscht(s), s == seite) << "side " << s << ", seed " << saat;
    gesehen[seite] = true;
  }
  EXPECT_TRUE(gesehen[0] && gesehen[1] && gesehen[2] && gesehen[3]);
}

TEST_F(Effekte, AFailureInTheScreenOutEndsTheRunWithTheErrorDialog) {
  DXErrDispFRM = DXErrDispForm();
  D3DDevice.reset();
  FadeOut(0, false);
  EXPECT_EQ(Spielstatus, 10);
  EXPECT_EQ(GetTickCount(), 0);  // not one frame
  ASSERT_EQ(headless::Dialogs().size(), 1u);
  EXPECT_EQ(DXErrDispFRM.ErrorID, "DDERR_INVALIDOBJECT");
  EXPECT_NE(DXErrDispFRM.MSDescription.find("Punkteabrechnung"), std::string::npos);
  DXErrDispFRM = DXErrDispForm();
}
