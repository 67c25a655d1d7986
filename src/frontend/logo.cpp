#include "frontend/logo.hpp"

#include <vector>

#include "campaign/game_loop_state.hpp"
#include "campaign/special_events.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects.hpp"
#include "frontend/logo_state.hpp"
#include "frontend/screen_guard.hpp"
#include "platform/device3d.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/pictures_state.hpp"

namespace {

namespace p = platform;

constexpr const char* kOrt = "ShowLogo";
constexpr int32_t kVerzerrtTicks = 90;  // the distortion runs while the tick is at most this
constexpr int32_t kVerzerrtZeit = 31;   // ms per tick of each phase
constexpr int32_t kLogoZeit = 25;
constexpr int32_t kSchrumpfZeit = 16;
constexpr int32_t kSchrumpfTicks = 50;  // the shrinking fade after the plain phase
constexpr int32_t kTeile = 20;
constexpr int32_t kBandOben = 90, kBandUnten = 510, kBandHoehe = 7;
constexpr RECT kSchrumpfZiel{16, 16, kBildschirmBreite - 16, kBildschirmHoehe - 16};

// The drawing steps write their lines until a frame has reached the screen once.
bool SchrittProtokoll = false;

void Protokoll(const char* zeile) {
  if (!SchrittProtokoll && DebugModus) DebugLog(zeile);
}

// The strip vertices of the distortion, kept between calls.
std::vector<p::TLVertex> Streifen;

struct Logo {
  int32_t Nr = -1;
  int32_t Klang = -1;
  float Alpha = 1.0f;
};

bool Weiter(int32_t tick, int32_t grenze) { return !TasteEscape() && tick <= grenze && Spielstatus != 10; }

bool Schritt(auto&& anweisung) { return ScreenStep(kOrt, anweisung); }

// A frame ends: shown when drawn, the rest of its time waited, the keys read.
bool Takt(int32_t Ti, bool FastFlip) {
  const bool gezeichnet = Rendern;
  if (!Schritt([&] {
        if (!FrameEnde(Ti, FastFlip)) throw DXError(DDERR_SURFACELOST);
      }))
    return false;
  if (gezeichnet) {
    Protokoll("Flip OK");
    SchrittProtokoll = true;
  }
  DInputPoll();
  ++LevelTick;
  return true;
}

void Schwarz(float alpha) {
  SetUpColor(TexWeiss, 0, 0, 0, alpha);
  Render(TexWeiss, false);
}

void LogoLaden(Logo& l, const std::string& Archiv, const std::string& Filename) {
  const std::string ordner = Depack(Archiv + "$" + Filename + ">", AppPfad, true);
  l.Nr = LoadSurface(ordner + Filename, false, std::nullopt, std::nullopt, std::nullopt, std::nullopt, true);
  KillDir(ordner);
  FrameSkipAn = true;
  Rendern = true;
  SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
}

// The whole picture of the logo into the fade texture.
void LogoInBlendTextur(const Logo& l) {
  if (!SurfaceGueltig(l.Nr, kOrt)) return;
  const SurfaceInfo& e = Surfaces[l.Nr];
  const RECT ganz{0, 0, e.Surface->Width(), e.Surface->Height()};
  InBlendTextur(*e.Surface, ganz);
}

// --- The distortion --------------------------------------------------------------------

struct Welle {
  int32_t a = 0, b = 0;
  int32_t Halten = 0;  // drawn frames left before the angles change
};

void WelleWechseln(Welle& w) {
  if (w.Halten <= 0) {
    w.a = static_cast<int32_t>(Int(Rnd() * 360));
    w.b = static_cast<int32_t>(Int(Rnd() * 360));
    w.Halten = CLng(Rnd() * 10 + 5);
  } else {
    --w.Halten;
  }
}

void Verzerrt(float A, float Faktor, float Faktor2, bool ABOne) {
  RenderVerzerrt(0, 0, kBildschirmBreite, kBildschirmHoehe, kTeile, 1, 1, 1, A, Faktor, Faktor2, TexBlur2, ABOne);
}

void VerzerrtesBild(Welle& w) {
  RenderStart();
  Protokoll("RenderStart OK");
  Schwarz(1.0f);
  Protokoll("RenderWei\xDF OK");
  WelleWechseln(w);
  Verzerrt(0.33f, SinTab[w.b] / 3, SinTab[w.a] / 2, false);
  Protokoll("Verzerrt OK");
  Verzerrt(0.33f, SinusB(w.b + LevelTick) / 4, SinusB(w.a + LevelTick) / 4, true);
  Verzerrt(0.33f, SinusB(2 * LevelTick), SinusB(2 * LevelTick), true);
  MakeSomeNoise(SinTab[(2 * LevelTick) % 360] / 4 + Rnd() * 0.3f);
  Protokoll("Noise OK");
  RenderEnd();
  Protokoll("RenderEnd OK");
}

// The finished picture torn into bands of seven rows, each moved right by its own amount.
void Baender() {
  const float amplitude = 50 - 50 * CosinusB(4 * LevelTick);
  for (int32_t y = kBandOben; y <= kBandUnten; y += kBandHoehe) {
    int32_t shift = CLng(amplitude * SinTab[CLng(y / 600.0 * 180) % 360]);
    shift = CLng(shift + Rnd() * 5);
    if (shift <= 2) continue;
    const RECT band{0, y, kBildschirmBreite - shift, y + kBandHoehe};
    DXCheck(BackBuffer->BltFast(shift, y, *BackBuffer, &band, 0));
  }
  Protokoll("Blt OK");
}

bool Verzerrung(Logo& l) {
  if (SoundAn) {
    l.Klang = LoadSound("Sound.vkp", "Logo.wav", 0, 44100);
    PlaySound(l.Klang, 0, 0, SoundLautstaerke);
  }
  LevelTick = 0;
  if (!Schritt([&] { LogoInBlendTextur(l); })) return false;
  Protokoll("CopySurfaces OK");
  Welle w;
  while (Weiter(LevelTick, kVerzerrtTicks)) {
    if (Rendern) {
      if (!Schritt([&] { VerzerrtesBild(w); })) return false;
      if (!Schritt([] { Baender(); })) return false;
    }
    if (!Takt(kVerzerrtZeit, true)) return false;
  }
  l.Alpha = 0;
  Rendern = true;
  SchrittProtokoll = false;
  return true;
}

// --- The plain logo ----------------------------------------------------------------------

void LogoBild(const Logo& l, bool Effekt) {
  Protokoll("Renderstart OK");
  RenderStart();
  Schwarz(1.0f);
  Protokoll("Render Wei\xDF OK");
  RenderEnd();
  Protokoll("Renderend OK");
  ShowSprite(l.Nr, 0, 0, false);
  Protokoll("Render Logo OK");
  RenderStart();
  if (Effekt) {
    SpezialStand.Aktiv = true;
    SpezialStand.Art = 4;
    SpielSpezial(1);
  }
  Schwarz(l.Alpha);
  RenderEnd();
}

bool Schlicht(Logo& l, int32_t Duration, int32_t Fade, bool Effekt) {
  const int32_t start = CLng(Rnd() * 10000);
  LevelTick = start;
  while (Weiter(LevelTick - start, Duration + Fade - 1)) {
    if (Rendern && !Schritt([&] { LogoBild(l, Effekt); })) return false;
    if (!Takt(kLogoZeit, false)) return false;
    if (LevelTick - start <= Fade) l.Alpha -= 1.0f / static_cast<float>(Fade);
  }
  LevelTick -= start;
  return true;
}

// --- The ending ----------------------------------------------------------------------------

void SchrumpfBild() {
  DXCheck(BackBuffer->Blt(&kSchrumpfZiel, BackBuffer.get(), &VollbildRect, p::DDBLT_WAIT));
  RenderStart();
  Schwarz(0.2f);
}

bool Schrumpfen(const Logo& l, int32_t Duration, int32_t Fade) {
  Overlay1 = false;
  Overlay2 = false;
  Rauschen = 0;
  if (!Schritt([&] {
        if (VoodooModus)
          LogoInBlendTextur(l);
        else
          InBlendTextur(*BackBuffer, VollbildRect);
      }))
    return false;
  Abblenden = true;
  BlendAlpha = 0.95f;
  while (Weiter(LevelTick, Duration + Fade + kSchrumpfTicks - 1)) {
    const bool zeichnen = Rendern;
    if (zeichnen && !Schritt([] { SchrumpfBild(); })) return false;
    if (!Schritt([] { OverlayEffekte(VollbildRect); })) return false;
    if (zeichnen && !Schritt([] { RenderEnd(); })) return false;
    if (!Takt(kSchrumpfZeit, false)) return false;
  }
  return true;
}

}  // namespace

void ShowLogo(const std::string& Archiv, const std::string& Filename, int32_t Duration, int32_t Fade, bool Effekt,
              bool Praxelworks) {
  Logo l;
  LogoLaden(l, Archiv, Filename);
  // Every phase tests the pause key and the quit first, so after either the rest pass
  // through without drawing.
  bool ok = !Praxelworks || Verzerrung(l);
  ok = ok && Schlicht(l, Duration, Fade, Effekt);
  if (ok && Praxelworks) {
    FadeOut(0, true);
    if (SoundAn) StopSound(l.Klang);
  } else if (ok) {
    Schrumpfen(l, Duration, Fade);
  }
  RemoveLastSurface(true);
}

void RenderVerzerrt(float x1, float y1, float x2, float y2, int32_t Teile, float R, float G, float B, float A,
                    float Faktor, float Faktor2, int32_t Surface, bool ABOne) {
  if (Teile < 1 || !SurfaceGueltig(Surface, "RenderVerzerrt")) return;
  if (!D3DDevice) throw DXError(p::DDERR_INVALIDOBJECT);
  p::Device3D& d = *D3DDevice;
  if (ABOne != BlendModus) {
    DXCheck(d.SetRenderState(p::D3DRENDERSTATE_SRCBLEND, p::D3DBLEND_SRCALPHA));
    DXCheck(d.SetRenderState(p::D3DRENDERSTATE_DESTBLEND, ABOne ? AdditivZiel : p::D3DBLEND_INVSRCALPHA));
    BlendModus = ABOne;
  }
  const uint32_t farbe = static_cast<uint32_t>(GetRGBA(R, G, B, A));
  Streifen.assign(static_cast<size_t>(2 * Teile + 3), p::TLVertex{0, 0, 0, 1.0f, farbe, 0, 0, 0});
  FilterAktiv = true;

  const double breite = static_cast<double>(x2) / Teile, hoehe = static_cast<double>(y2) / Teile;
  for (int32_t i = 0; i <= Teile; ++i) {
    Streifen[2 * i].sx = Streifen[2 * i + 1].sx = static_cast<float>(x1 + i * breite);
  }
  // Displacement weight of grid point (i, k): zero on the border and the middle lines.
  auto s = [Teile](int32_t k) { return SinTab[CLng(k * 180.0 / Teile) % 360]; };
  auto c = [Teile](int32_t k) { return CosTab[CLng(k * 180.0 / Teile) % 360]; };
  auto w = [&](int32_t i, int32_t k) { return s(i) * s(k) * c(i) * c(k); };
  for (int32_t j = 1; j <= Teile; ++j) {
    for (int32_t i = 0; i <= Teile; ++i) {
      p::TLVertex& unten = Streifen[2 * i];
      p::TLVertex& oben = Streifen[2 * i + 1];
      unten.sy = static_cast<float>(y1 + j * hoehe);
      oben.sy = static_cast<float>(y1 + (j - 1) * hoehe);
      const float u = static_cast<float>(i) / Teile;
      unten.tu = u - Faktor * w(i, j);
      unten.tv = static_cast<float>(j) / Teile - Faktor2 * w(i, j);
      oben.tu = u - Faktor * w(i, j - 1);
      oben.tv = static_cast<float>(j - 1) / Teile - Faktor2 * w(i, j - 1);
    }
    if (AktuelleTextur != Surface) {
      DXCheck(d.SetTexture(0, Surfaces[Surface].Surface));
      AktuelleTextur = Surface;
    }
    DXCheck(d.DrawPrimitive(p::D3DPT_TRIANGLESTRIP, p::D3DFVF_TLVERTEX, Streifen.data(), 2 * Teile + 2, 0));
  }
}

void DropEffektTerminate() {
  DropEffekt.Bild1.reset();
  DropEffekt.Bild2.reset();
  DropEffekt.Bereit = false;
}
