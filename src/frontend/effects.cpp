#include "frontend/effects.hpp"

#include "campaign/checkpoints_state.hpp"
#include "campaign/game_loop_state.hpp"
#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "platform/device3d.hpp"
#include "run/program_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/picture_loading.hpp"
#include "world/pictures_state.hpp"

namespace {

namespace p = platform;

// The glow overlay reaches past the screen's edges, so it shows the last frame enlarged.
constexpr RECT kGlutRechteck{-50, -50, 850, 600};

constexpr int32_t kFadeOutBilder = 80;
constexpr int32_t kQuetschung = 16;  // pixels a squeezed side gains per frame

// The back buffer every copy reads; without a display there is nothing to copy.
p::Surface& Schirm() {
  if (!BackBuffer) throw DXError(p::DDERR_INVALIDOBJECT);
  return *BackBuffer;
}

// One step of an overlay's opacity: up by 0.025 to 0.5 while it is wanted, down by 0.05
// to 0 after.
void Rampe(float& alpha, bool an) {
  if (an) {
    alpha = static_cast<float>(alpha + 0.025);
    if (alpha >= 0.5f) alpha = 0.5f;
  } else if (alpha > 0) {
    alpha = static_cast<float>(alpha - 0.05);
  } else {
    alpha = 0;
  }
}

// One frame less of the cross-fade; at 0 it is over.
void BlendAlphaSenken() {
  BlendAlpha = static_cast<float>(BlendAlpha - 0.05);
  if (BlendAlpha <= 0) {
    BlendAlpha = 0;
    Abblenden = false;
  }
}

// The area `Bereich` of the back buffer stretched into the overlay texture.
void InOverlayTextur(const RECT& Bereich) {
  if (!SurfaceGueltig(TexBlur, "OverlayEffekte")) return;
  SurfaceInfo& e = Surfaces[TexBlur];
  DXCheck(e.Surface->Blt(&e.SrcRect, &Schirm(), &Bereich, p::DDBLT_WAIT));
}

// One overlay: its opacity steps, and while it shows the last frame lies over this one
// in `Ziel`, filled from this frame first when asked to.
void Overlay(float& alpha, bool an, const RECT& Ziel, const RECT& R2, bool additiv) {
  Rampe(alpha, an);
  if (!(alpha > 0)) return;
  if (OverlayKopie) InOverlayTextur(R2);
  SetUpGeom(TexBlur, EigenesRechteck(TexBlur), Ziel, 1, 1, 1, alpha, 0);
  Render(TexBlur, additiv);
  BlurKopie = true;
  OverlayKopie = false;
}

// The frozen frame over `Ziel` at opacity `alpha`. The fade texture holds the screen 1:1,
// so its part under `Ziel` is drawn; in Voodoo mode it holds it squeezed, whole.
void BlendTexturZeichnen(const RECT& Ziel, float alpha) {
  SetUpGeom(TexBlur2, VoodooModus ? EigenesRechteck(TexBlur2) : Ziel, Ziel, 1, 1, 1, alpha, 0);
  Render(TexBlur2, false);
}

// The screen-out's error handling, as the screen loops have it. A lost display is waited
// for and given back its pictures.
void AnzeigeZurueck() {
  AltTabpressed();
  while (!DisplayReady()) Wait(16);
  RestoreAllSurfaces();
  ReloadSurfaces();
}

// Any other failure ends the run with the error dialog.
void Abbruch(const Err& e) {
  if (D3DDevice && D3DDevice->InScene()) D3DDevice->EndScene();
  if (!FensterModus) RestoreDisplayMode();
  Spielstatus = 10;
  CloseGameWindows();
  ShowDXError(e.Nummer, 2, "Punkteabrechnung", e.Beschreibung);
}

// Runs one statement of the screen-out: a scene that is not open skips it, a lost
// display is waited for and the statement runs again. False after a failure that ends
// the run.
template <class F>
bool Schritt(F&& anweisung) {
  for (;;) {
    try {
      anweisung();
      return true;
    } catch (const Err& e) {
      if (e.Nummer == p::D3DERR_SCENE_NOT_IN_SCENE) return true;
      if (e.Nummer != DDERR_SURFACELOST) {
        Abbruch(e);
        return false;
      }
      AnzeigeZurueck();
    }
  }
}

// The rectangle the screen-out squeezes the picture into, 16 pixels in from the chosen
// side or sides.
RECT Quetschziel(int32_t Art) {
  RECT r = VollbildRect;
  if (Art == 0) {
    r.Top = kQuetschung;
    r.Bottom = kBildschirmHoehe - kQuetschung;
    return r;
  }
  switch (static_cast<int32_t>(Int(4.0 * Rnd()))) {
    case 0: r.Left = kQuetschung; break;
    case 1: r.Top = kQuetschung; break;
    case 2: r.Right = kBildschirmBreite - kQuetschung; break;
    default: r.Bottom = kBildschirmHoehe - kQuetschung; break;
  }
  return r;
}

}  // namespace

void InBlendTextur(platform::Surface& Quelle, const RECT& Bereich) {
  if (!SurfaceGueltig(TexBlur2, "InBlendTextur")) return;
  SurfaceInfo& e = Surfaces[TexBlur2];
  if (VoodooModus)
    DXCheck(e.Surface->Blt(&e.SrcRect, &Quelle, &Bereich, p::DDBLT_WAIT));
  else
    DXCheck(e.Surface->BltFast(0, 0, Quelle, &Bereich, p::DDBLTFAST_WAIT));
}

void OverlayEffekte(const RECT& R2) {
  Filtern = true;
  if (Rendern) {
    Overlay(Overlay2Alpha, Overlay2, kGlutRechteck, R2, true);
    Overlay(Overlay1Alpha, Overlay1, R2, R2, false);
    // Without an overlay the texture follows every frame, so one that comes on starts
    // from the current picture.
    if (!Overlay1 && !Overlay2) OverlayKopie = true;
  }
  if (!VoodooModus) Filtern = false;

  if (Abblenden) {
    // The frame that asked for the fade is frozen at the end of this pass; the next
    // frames show it.
    if (BlendAlpha == 0) {
      BlendAlpha = 1.0f;
    } else {
      BlendAlphaSenken();
      if (Rendern) BlendTexturZeichnen(R2, BlendAlpha);
    }
  }

  // The checkpoint flash waits for the frame it freezes.
  CheckpointTorDaten& tor = CheckpointTor;
  if (tor.Triggered && tor.AlphaStep != 0 && !BlendStart) {
    tor.Alpha += tor.AlphaStep;
    if (tor.Alpha <= 0) {
      tor.Alpha = 0;
      tor.AlphaStep = 0;
    }
    if (Rendern) BlendTexturZeichnen(R2, tor.Alpha);
  }
  Filtern = false;

  // Taken after the overlays, so an overlay that stays on feeds back on itself.
  if (BlurKopie && Rendern) InOverlayTextur(R2);
  if (BlendStart) InBlendTextur(Schirm(), R2);
  if (Rendern) MakeSomeNoise(Rauschen);
}

void FadeOut(int32_t Art, bool CheckEsc) {
  if (!Schritt([] { InBlendTextur(Schirm(), VollbildRect); })) return;
  Abblenden = true;
  BlendAlpha = 0.95f;
  const RECT ziel = Quetschziel(Art);

  LevelTick = 0;
  SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
  while (LevelTick < kFadeOutBilder && Spielstatus != 10) {
    const bool zeichnen = Rendern;
    if (zeichnen) {
      // The picture shrinks into the target and the uncovered edge keeps its old pixels;
      // then everything darkens by a fifth.
      if (!Schritt([&] { DXCheck(Schirm().Blt(&ziel, &Schirm(), &VollbildRect, p::DDBLT_WAIT)); })) return;
      if (!Schritt([] { RenderStart(); })) return;
      SetUpColor(TexWeiss, 0, 0, 0, 0.2f);
      if (!Schritt([] { Render(TexWeiss, false); })) return;
    }
    BlendAlphaSenken();
    if (zeichnen) {
      if (!Schritt([&] { BlendTexturZeichnen(ziel, BlendAlpha); })) return;
      if (!Schritt([] { RenderEnd(); })) return;
    }
    if (!Schritt([] {
          if (!FrameEnde(16)) throw DXError(DDERR_SURFACELOST);
        }))
      return;
    DInputPoll();
    if (CheckEsc && TasteEscape()) break;
    ++LevelTick;
  }
}
