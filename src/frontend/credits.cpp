#include "frontend/credits.hpp"

#include "campaign/game_loop_state.hpp"
#include "campaign/ogg.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects.hpp"
#include "frontend/screen_guard.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/effect_particles.hpp"
#include "world/pictures_state.hpp"

namespace {

namespace p = platform;

constexpr const char* kOrt = "ShowLogo";
constexpr int32_t kZeit = 25;          // ms per tick: the picture rises a pixel a tick
constexpr int32_t kAbtastTakt = 3;     // rows are sampled every third tick
constexpr int32_t kSpalte = 6;         // every sixth column of a sampled row
constexpr int32_t kFunke = 60;         // sparkle diameter
constexpr int32_t kFunkenArt = 14;     // effect particle that grows by its parameter
constexpr int32_t kAbtastZeilen[2] = {3, kBildschirmHoehe};  // the screen rows sampled
constexpr float kZufallsFunke = 0.1f;  // chance of an orange sparkle per tick

bool Schritt(auto&& anweisung) { return ScreenStep(kOrt, anweisung); }

struct Abspann {
  int32_t Nr = -1;
  int32_t w = 0, h = 0;
  int32_t Links() const { return kBildschirmBreite / 2 - w / 2; }
};

void Laden(Abspann& a) {
  ResetAllPools();
  const std::string ordner = Depack("Logo.vkp$Credits.bmp>", AppPfad, true);
  a.Nr = LoadSurface(ordner + "Credits.bmp", false, std::nullopt, std::nullopt, std::nullopt, std::nullopt, true);
  KillDir(ordner);
  if (a.Nr >= 0 && a.Nr <= SurfacesMax()) {
    a.w = Surfaces[a.Nr].Width;
    a.h = Surfaces[a.Nr].Height;
  }
  FrameSkipAn = true;
  Rendern = true;
  SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
  SetUpColor(TexWeiss, 0, 0, 0, 1.0f);
  SetUpColor(TexBalken, 0, 0, 0, 1.0f);
  if (SoundAn) {
    if (PlayOggFile(SoundPfad + "Enhaced Credits.ogg") != -1 && DebugModus) DebugLog("Enhaced Credits.ogg not found");
    SetOggVolume(MusikLautstaerke);
  }
  LevelTick = 0;
}

// Blue decides: more than half of the blue range at either depth. The pixel's size comes
// from the picture itself, so a row is never read past its end.
bool Hell(const uint8_t* pixel, int32_t bytesProPixel) {
  if (bytesProPixel == 4) return pixel[0] > 127;
  return (pixel[0] & 31) > 15;
}

// The bright pixels of the picture row under screen row `n` burst into sparkles there.
void Funken(const Abspann& a, int32_t n) {
  const int32_t r = LevelTick + n - kBildschirmHoehe;
  if (r < 0 || r >= a.h) return;
  p::Surface& bild = *Surfaces[a.Nr].Surface;
  const RECT zeile{0, r, a.w, r + 1};
  p::LockedRect l;
  DXCheck(bild.Lock(&zeile, l, p::DDLOCK_WAIT | p::DDLOCK_NOSYSLOCK));
  const int32_t bpp = bild.BytesPerPixel();
  for (int32_t x = 0; x < l.width; x += kSpalte)
    if (Hell(l.bits + static_cast<size_t>(x) * bpp, bpp))
      Add1BigPartikel(static_cast<float>(a.Links() + x - kFunke / 2), static_cast<float>(n - kFunke / 2), 0, 0, 1, 1,
                      1, kFunke, 3, 12, kFunkenArt, 0);
  DXCheck(bild.Unlock());
}

void Bild(const Abspann& a) {
  RenderStart();
  Render(TexWeiss, false);
  ShowSprite(a.Nr, a.Links(), kBildschirmHoehe - LevelTick, false);
  if (LevelTick % kAbtastTakt == 0 && SurfaceGueltig(a.Nr, kOrt))
    for (int32_t n : kAbtastZeilen) Funken(a, n);
}

void ZufallsFunke() {
  if (!(Rnd() < kZufallsFunke)) return;
  const float u = Rnd(), v = Rnd(), q = Rnd();
  Add1BigPartikel(u * kBildschirmBreite, v * kBildschirmHoehe, 0, 0, 1.0f, 0.7f, 0.2f, 0, 8, 20, kFunkenArt, q * 10);
}

void Balken() {
  SetUpRect(TexBalken, 0, -50, kBildschirmBreite, 50);
  Render(TexBalken, false);
  SetUpRect(TexBalken, 0, kBildschirmHoehe - 50, kBildschirmBreite, kBildschirmHoehe + 50);
  Render(TexBalken, false);
  OverlayEffekte(VollbildRect);
  RenderEnd();
}

// One tick of the scroll; false after a failure that ends the run.
bool Tick(const Abspann& a) {
  const bool zeichnen = Rendern;
  if (zeichnen && !Schritt([&] { Bild(a); })) return false;
  ZufallsFunke();
  if (!Schritt([] { MoveBigPartikel(); })) return false;
  if (zeichnen && !Schritt([] { Balken(); })) return false;
  if (!Schritt([] {
        if (!FrameEnde(kZeit, true)) throw DXError(DDERR_SURFACELOST);
      }))
    return false;
  if (zeichnen && SoundAn) UpdateOgg();
  DInputPoll();
  ++LevelTick;
  return true;
}

void MusikAusblenden() {
  if (!SoundAn) return;
  for (int32_t v = MusikLautstaerke; v >= 0 && Spielstatus != 10; --v) {
    Wait(2);
    SetOggVolume(v);
  }
  StopOgg();
}

}  // namespace

void ShowCredits() {
  Abspann a;
  Laden(a);
  while (!TasteEscape() && LevelTick <= a.h + kBildschirmHoehe && Spielstatus != 10)
    if (!Tick(a)) break;
  FadeOut(1, false);
  RemoveLastSurface(true);
  MusikAusblenden();
}
