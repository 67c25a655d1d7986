#include "frontend/menu.hpp"

#include <array>

#include "campaign/game_loop_state.hpp"
#include "campaign/ogg.hpp"
#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects.hpp"
#include "frontend/hidden_show.hpp"
#include "frontend/logo.hpp"
#include "frontend/menu_pages.hpp"
#include "frontend/video.hpp"
#include "platform/device3d.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/particles.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

namespace {

constexpr int32_t kBildzeit = 18;  // milliseconds per menu frame

using Schritt = void (*)();

// --- Failures --------------------------------------------------------------------------

void SzeneBeenden() {
  if (D3DDevice && D3DDevice->InScene()) D3DDevice->EndScene();
}

// The display is back once the window shows again; every picture is given back.
void AnzeigeZurueck() {
  SzeneBeenden();
  AltTabpressed();
  while (!DisplayReady()) Wait(kBildzeit);
  RestoreAllSurfaces();
  ReloadSurfaces();
}

// Any other failure ends the run with the error dialog.
void Abbruch(const Err& e) {
  SzeneBeenden();
  if (!FensterModus) RestoreDisplayMode();
  Spielstatus = 10;
  CloseGameWindows();
  ShowDXError(e.Nummer, 2, "Menuloop", e.Beschreibung);
}

enum class Folge { Weiter, Neustart, Ende };

// Runs one step under the menu's failure handling.
Folge Geschuetzt(Schritt schritt) {
  try {
    schritt();
    return Folge::Weiter;
  } catch (const Err& e) {
    if (e.Nummer == platform::D3DERR_SCENE_NOT_IN_SCENE) return Folge::Weiter;
    if (e.Nummer == DDERR_SURFACELOST) {
      AnzeigeZurueck();
      return Folge::Neustart;
    }
    Abbruch(e);
    return Folge::Ende;
  }
}

// --- The set-up ------------------------------------------------------------------------

void Menuklaenge() {
  if (!SoundAn) return;
  Soundclear();
  LoadMenuSound();
}

void LaufBeginnen() {
  ResetMenuLauf();
  ResetAllPools();
  // The fire and beam keys confirm only while the first player's state is 0.
  Spieler[0].Status = 0;
  Schwerkraft = 0.2f;
  Overlay1 = false;
}

// The start-up sequence, on the program's first menu only; the menu then fades in from
// the bare hangar.
void Start() {
  if (MenuSeite != kSeiteStart) return;
  for (const StartSchritt& s : StartFolge()) {
    if (s.Video)
      PlayAVIFile(s.Datei, "");
    else
      ShowLogo("Logo.vkp", s.Datei, s.Duration, s.Fade, false, s.Praxelworks);
  }
  BlendAlpha = 1.0f;
  Abblenden = true;
  if (SurfaceGueltig(TexHangar, "MenuLoop")) InBlendTextur(*Surfaces[TexHangar].Surface, Surfaces[TexHangar].SrcRect);
}

void Hauptseite() {
  MenuSeite = kSeiteHaupt;
  MenuAuswahl = 0;
}

void MusikStarten() {
  if (!SoundAn) return;
  if (PlayOggFile(SoundPfad + "intro.ogg") != -1 && DebugModus) DebugLog("Intro.ogg not found");
  SetOggVolume(MusikLautstaerke);
}

void Spielerzahl() {
  LetzterSpieler = Menu.Spielerwahl;
  FrameSkipAn = false;
}

constexpr std::array<Schritt, 6> kVorbereitung{Menuklaenge, LaufBeginnen, Start, Hauptseite, MusikStarten,
                                               Spielerzahl};

// --- The frame -------------------------------------------------------------------------

void Anfang() {
  Rendern = true;
  ClearFrameRequests();
}

void Eingabe() { DInputPoll(); }

// The confirm pulse stops ten frames after the confirm that started it.
void Ruetteln() {
  int32_t& zeit = MenuLauf.Ruettelzeit;
  if (zeit >= 0 && --zeit == 0) ForceStop();
}

// In the menu the level clock counts the frames, for the pages' blinking and turning.
void Zaehlen() { ++LevelTick; }

void Szene() { RenderStart(); }

// True when the frozen hangar is an opaque picture of the screen's size (no colour key,
// no alpha channel): drawn at full strength over the screen it is then a plain copy.
bool FrozenDeckt() {
  if (!SurfaceGueltig(TexHangarFrozen, "MenuLoop")) return false;
  const SurfaceInfo& e = Surfaces[TexHangarFrozen];
  const RECT& r = e.SrcRect;
  return !e.Colorkey && e.Surface->Format() == BackBuffer->Format() && r.Left == 0 && r.Top == 0 &&
         r.Right == kBildschirmBreite && r.Bottom == kBildschirmHoehe;
}

// Black, then the hangar freezing over: the frozen picture rises over the plain one by
// 0.01 a frame from -1, so the first 100 frames show the plain hangar alone, and from
// the 200th on only the frozen one shows. The noise grows with it.
void Hangar() {
  float& fade = MenuLauf.HangarFade;
  if (fade >= 1.0f && FrozenDeckt()) {
    // Fully frozen, the picture covers the black and blends with nothing: it is copied,
    // which costs a fraction of the full-screen quad on every frame from here on.
    const SurfaceInfo& e = Surfaces[TexHangarFrozen];
    DXCheck(BackBuffer->BltFast(0, 0, *e.Surface, &e.SrcRect, platform::DDBLTFAST_WAIT));
  } else {
    SetUpColor(TexWeiss, 0, 0, 0, 1);
    SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
    Render(TexWeiss, false);
    SetUpRect(TexHangarFrozen, 0, 0, kBildschirmBreite, kBildschirmHoehe);
    if (fade < 1.0f) {
      ShowSprite(TexHangar, 0, 0, false);
      SetUpColor(TexHangarFrozen, 1, 1, 1, fade);
      fade = static_cast<float>(fade + 0.01);
      if (fade > 1.0f) fade = 1.0f;
    } else {
      SetUpColor(TexHangarFrozen, 1, 1, 1, 1);
    }
    Render(TexHangarFrozen, false);
  }
  Rauschen = fade * 0.025f;
}

void Logo() { ShowSprite(TexLogo, 200, 0, false); }

void Seite() { MenuSeiteZeigen(); }

void Gleiten() {
  MenuLauf.SpalteX += (MenuLauf.ZielX - MenuLauf.SpalteX) / 4;
  MenuLauf.SpalteY += (MenuLauf.ZielY - MenuLauf.SpalteY) / 4;
}

// 400, 299, 223, 166, 124, 92, 68, 50, 36, 26, 18, 12, 8, 5, 3, 1, 0.
void Schieben() {
  int32_t& schub = MenuLauf.Schub;
  if (schub > 0) schub = CLng(schub * 3 / 4.0 - 1);
}

void Funken() { MovePartikel(1); }
void Effektpartikel() { MoveBigPartikel(); }
void Ueberlagerungen() { OverlayEffekte(VollbildRect); }
void SzeneEnde() { RenderEnd(); }

// The music plays on: fed while it plays, started again once it has ended.
void Musik() {
  if (!SoundAn) return;
  if (OggIsPlaying() == 0) {
    if (PlayOggFile(SoundPfad + "intro.ogg") != -1 && DebugModus) DebugLog("No Intro.ogg Replay");
  } else {
    UpdateOgg();
  }
}

void Zeigen() {
  if (!FrameEnde(kBildzeit)) throw DXError(DDERR_SURFACELOST);
}

constexpr std::array<Schritt, 16> kBild{Anfang, Eingabe,        Ruetteln, Zaehlen, Szene,
                                        Hangar, Logo,           Seite,    Gleiten, Schieben,
                                        Funken, Effektpartikel, Ueberlagerungen, SzeneEnde, Musik,
                                        Zeigen};

}  // namespace

std::vector<StartSchritt> StartFolge() {
  std::vector<StartSchritt> folge;
  if (VideoAn)
    folge.push_back({true, "Logo.avi", 0, 0, false});
  else
    folge.push_back({false, "Logo_brightfold.bmp", 50, 30, false});
  folge.push_back({false, "Logo_praxelworks.bmp", 42, 30, true});
  folge.push_back({false, "Logo_umbrix.bmp", 40, 30, false});
  folge.push_back({false, "Logo_tessaline.bmp", 40, 30, false});
  folge.push_back({true, "intro" + Sprache + ".avi", 0, 0, false});
  return folge;
}

void MenuVorbereiten() {
  for (Schritt s : kVorbereitung)
    if (Geschuetzt(s) == Folge::Ende) return;
}

void MenuBild() {
  for (size_t i = 0; i < kBild.size();) {
    switch (Geschuetzt(kBild[i])) {
      case Folge::Weiter:
        ++i;
        break;
      case Folge::Neustart:  // the display is back: the frame starts again
        i = 0;
        break;
      case Folge::Ende:
        return;
    }
  }
}

void MenuAbschluss() {
  if (SoundAn) StopOgg();
  ForceStop();
  if (Spielstatus == 1) FadeOut(1, false);
  if (Spielstatus == 9) {
    // The pause key that ended the menu must be up before the program ends.
    SetNormalPriority();
    while (TasteEscape() && Spielstatus != 10) {
      Wait(kBildzeit);
      DInputPoll();
    }
    Spielstatus = 10;
  }
  if (Spielstatus == 8) {
    Spielstatus = 0;
    Justanothereffect();
    Spielstatus = 10;
  }
  if (Spielstatus < 10) Spielstatus = 0;
}

void MenuLoop() {
  MenuVorbereiten();
  while (Spielstatus == 0) MenuBild();
  MenuAbschluss();
}
