#include "campaign/game_loop.hpp"

#include <array>
#include <cstdio>
#include <string>

#include "campaign/checkpoints.hpp"
#include "campaign/continue_screen.hpp"
#include "campaign/loop_step.hpp"
#include "campaign/mosaic.hpp"
#include "campaign/ogg.hpp"
#include "campaign/panel.hpp"
#include "campaign/pause_screen.hpp"
#include "campaign/screen_errors.hpp"
#include "campaign/special_events.hpp"
#include "campaign/ticker.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/effects_state.hpp"
#include "platform/clock.hpp"
#include "platform/window.hpp"
#include "player/beam.hpp"
#include "player/drones.hpp"
#include "player/firing.hpp"
#include "player/horn.hpp"
#include "player/nova.hpp"
#include "player/players.hpp"
#include "player/pods.hpp"
#include "player/satellite.hpp"
#include "player/score.hpp"
#include "player/ship_control.hpp"
#include "player/ship_death.hpp"
#include "player/shots.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/animations.hpp"
#include "world/background.hpp"
#include "world/bubbles.hpp"
#include "world/effect_particles.hpp"
#include "world/enemies.hpp"
#include "world/enemy_shots.hpp"
#include "world/landscape.hpp"
#include "world/level_data_state.hpp"
#include "world/particles.hpp"
#include "world/pickups.hpp"
#include "world/pictures_state.hpp"
#include "world/radio.hpp"
#include "world/timeline.hpp"
#include "world/water.hpp"
#include "world/weather.hpp"

namespace {

// When a step of the tick runs: in every tick, only while the world moves (a super nova
// freezes it), or only in a tick that is drawn.
enum class Wann : uint8_t { Immer, Welt, Bild };

// One step of the tick: the number an unexpected error reports, when it runs, and what
// it does.
struct Schritt {
  int32_t Nummer;
  Wann Lauf;
  void (*Tun)();
};

// The step number of the running step, for the error report; the music's first start
// comes at full volume, every later one fades in.
int32_t g_schritt = 0;
bool g_ersterMusikstart = true;

// ---- The steps that are more than one call ---------------------------------------------

void MusikStarten(const char* fehltext) {
  if (PlayOggFile(SoundPfad + MusikDatei) != -1 && DebugModus) DebugLog(fehltext + MusikDatei);
  MusikFade = g_ersterMusikstart ? 100 : 0;
  g_ersterMusikstart = false;
  MusikFadeSchritt = 5;
}

// The volume set in a tick is the ramp value of the tick before; the last 50 ticks of the
// level fade the music out.
void Musikrampe() {
  if (!SoundAn) return;
  SetOggVolume(CLng(MusikLautstaerke * (MusikFade / 100.0)));
  MusikFade += MusikFadeSchritt;
  if (MusikFade <= 0) {
    MusikFade = 0;
    MusikFadeSchritt = 0;
  } else if (MusikFade >= 100) {
    MusikFade = 100;
    MusikFadeSchritt = 0;
  }
  if (int64_t{LevelTick} >= int64_t{LevelLaenge} - 50) MusikFadeSchritt = -2;
}

// Music that has run out (or never started) starts again; the ramp goes on as it was.
void MusikWeiter() {
  if (!SoundAn) return;
  if (OggIsPlaying() != 0) {
    UpdateOgg();
  } else if (PlayOggFile(SoundPfad + MusikDatei) != -1 && DebugModus) {
    DebugLog("Can not Replay " + MusikDatei);
  }
}

// Over the last 50 ticks the play area goes dark in 50 even steps.
void Endverdunkelung() {
  const int64_t rest = int64_t{LevelLaenge} - LevelTick;
  if (rest >= 50 || !Rendern) return;
  const float alpha = static_cast<float>((50.0 - static_cast<double>(rest)) / 50.0);
  SetUpRect(TexWeiss, 0, 0, kSpielfeldBreite, kSpielfeldHoehe);
  SetUpColor(TexWeiss, 0, 0, 0, alpha);
  Render(TexWeiss, false);
}

// A Single as the debug line shows it: at most seven significant digits.
const char* Zahltext(float wert) {
  static char puffer[32];
  std::snprintf(puffer, sizeof puffer, "%.7G", static_cast<double>(wert));
  return puffer;
}

// F4: the frame statistics and, at every enemy well inside the screen, its slot and
// energy.
void Infoanzeige() {
  if (!Showinfo) return;
  AufBackBuffer("Arial", 18, [] {
    GdiTextOut(DebugZeile, 100, 530, TextDC, kInfoGruen, 1, true);
    for (int32_t i = 0; i <= GegnerMax; ++i) {
      const Gegner& g = GegnerListe[i];
      if (g.Aktiv == VBFalse || !(g.X > -150 && g.X < 800 && g.Y > -150 && g.Y < 550)) continue;
      GdiTextOut(std::to_string(i) + " - " + Zahltext(g.Typ.HP), static_cast<int16_t>(CLng(g.X)),
                 static_cast<int16_t>(CLng(g.Y)), TextDC, kInfoGruen, 1, true);
    }
  });
}

// A frame with no background picture, or with F3's flip timing, is copied to the screen
// and keeps its contents.
void Zeigen() { Flip(HintergrundModus <= 0 || Antizeitverschiebung); }

void Warten() { Wait(16); }

void Mosaikbild() {
  if (LevelEnde == 1) NewPictureToLoadingscreen();
}

// A pause key held, the window out of focus, or a lost display open the pause screen;
// keys held there do not act in the next tick.
void Pausentest() {
  const bool taste = TasteEscape();
  if (!taste && platform::GetFocus() == FensterHandle && !PauseAnfordern) return;
  Pause();
  PauseAnfordern = false;
  DInputPoll();
}

// ---- The tick ----------------------------------------------------------------------------

// A step that passes a layer, a group or a half: `Tun` with `Wert`.
template <void (*Tun)(int32_t), int32_t Wert>
void Mit() {
  Tun(Wert);
}
void Regen() {
  if (RegenAnzahl > 0) SpielRegen();
}
void Overlays() { upcall::OverlayEffekte(SpielfeldRect); }

constexpr Wann I = Wann::Immer, W = Wann::Welt, B = Wann::Bild;

// The steps of one tick in their order. The world's and the ships' own steps skip their
// drawing in a tick that is not drawn; only the scene, the text and the flip are left
// out here.
constexpr std::array<Schritt, 58> kTick = {{
    {0, I, DInputPoll},
    {0, I, SpielObjektAnimationen},
    {1, W, Musikrampe},
    {1, W, SpielTick},
    {2, B, RenderStart},
    {3, I, SpielMoveHintergrund},
    {4, W, Mit<SpielMoveLandschaft, 0>},
    {5, W, Mit<SpielMoveAnimation, 0>},
    {5, W, Mit<SpielSpezial, 0>},
    {6, W, Mit<SpielMoveLandschaft, 1>},
    {7, W, Mit<SpielMoveAnimation, 1>},
    {8, W, Mit<SpielMoveLandschaft, 2>},
    {9, W, Mit<SpielMoveAnimation, 2>},
    {10, W, Mit<SpielMoveLandschaft, 5>},
    {11, W, Mit<SpielMoveAnimation, 5>},
    {12, W, Mit<SpielCheckpoint, 0>},
    {13, W, SpielKeysVesk},
    {14, I, SpielPartikelMove},
    {114, I, SpielDWeapons},
    {15, W, SpielSchieß},
    {16, W, Mit<SpielMoveSchuss, 0>},
    {17, I, Mit<MovePartikel, 0>},
    {18, W, SpielMoveSpezialObjekt},
    {19, I, SpielMoveVesk},
    {20, I, SpielMoveEnemy},
    {21, I, SpielMoveBlase},
    {22, W, Mit<SpielMoveAnimation, 4>},
    {23, W, Mit<SpielMoveLandschaft, 3>},
    {24, I, SpielPartikel},
    {25, W, Mit<SpielMoveSchuss, 1>},
    {26, W, Mit<SpielMoveAnimation, 3>},
    {27, W, SpielGegnerSchussErzeugen},
    {28, W, SpielBeam},
    {29, I, SpielNova},
    {30, I, Mit<MovePartikel, 1>},
    {31, I, MoveBigPartikel},
    {32, W, SpielMoveGegnerS},
    {33, I, SpielSateliet},
    {34, I, SpielMovePunkte},
    {35, I, SpielHupe},
    {36, W, Regen},
    {37, W, LupeAuftraegeZeichnen},  // a frozen world keeps the lenses for the tick after
    {38, W, Mit<SpielCheckpoint, 1>},
    {39, W, Mit<SpielMoveLandschaft, 6>},
    {40, W, Mit<SpielMoveAnimation, 6>},
    {41, W, SpielWasser},
    {42, W, SpielSchnee},
    {60, I, Mit<SpielSpezial, 1>},
    {43, I, SpielErschücterung},
    {44, W, SpielFeindberücrung},
    {144, I, Overlays},
    {144, W, Endverdunkelung},
    {45, I, SpielDisplay},
    {47, B, RenderEnd},
    {49, B, Infoanzeige},
    {149, B, ShowMSGS},
    {50, B, Zeigen},
    {151, I, DoForce},
}};
// The steps after the flip: the music, the wait, the mosaic tile and the pause test.
constexpr std::array<Schritt, 4> kTickEnde = {{
    {51, I, MusikWeiter},
    {51, I, Warten},
    {52, I, Mosaikbild},
    {53, I, Pausentest},
}};

bool Laeuft(Wann w) {
  switch (w) {
    case Wann::Welt:
      return WeltAngehalten == VBFalse;
    case Wann::Bild:
      return Rendern;
    case Wann::Immer:
      break;
  }
  return true;
}

// The display went away (a minimised full screen): wait until it is back, bring every
// picture back and pause at the end of the tick.
void AnzeigeVerloren() {
  AnzeigeAbwarten();
  PauseAnfordern = true;
}

// Anything else ends the run: the error is shown with the step that raised it. Whatever
// fails from here on is ignored.
void Absturz(const Err& e) {
  try {
    if (!FensterModus) RestoreDisplayMode();
    Spielstatus = 10;
    CloseGameWindows();
    ShowDXError(e.Nummer, 2, "Spielloop: " + std::to_string(g_schritt), e.Beschreibung);
  } catch (...) {
  }
}

// Runs the steps of `schritte`; a failed step is abandoned and the next one runs. False
// when an error ended the run.
template <size_t N>
bool Ausfuehren(const std::array<Schritt, N>& schritte) {
  for (const Schritt& s : schritte) {
    g_schritt = s.Nummer;
    if (!Laeuft(s.Lauf)) continue;
    if (!LoopSchritt(s.Tun, AnzeigeVerloren, Absturz)) return false;
  }
  return true;
}

bool EinTick() {
  ClearFrameRequests();
  Rauschen = RauschenBasis;
  if (!Ausfuehren(kTick) || !Ausfuehren(kTickEnde)) return false;
  if (NachTick) NachTick();
  return true;
}

// ---- Passes and restarts ------------------------------------------------------------------

void Durchgangsstart() {
  FrameSkipAn = true;
  Rendern = true;
  PauseAnfordern = false;
  LetzterTick = GetTickCount();
}

// The last life is gone: the continue screen gives 4 lives (7 with two players), of
// which the restart takes one, a third of the scores and the music fading in. False when
// the players do not go on.
bool Weitermachen() {
  FunkStatus.Aktiv = VBFalse;
  KillFunktionsSound();
  if (!Continue()) {
    if (Spielstatus != 10) Spielstatus = 9;
    return false;
  }
  Spieler[0].Leben = LetzterSpieler == 1 ? 7 : 4;
  Spieler[0].Punkte = IDiv(Spieler[0].Punkte, 3);
  if (LetzterSpieler == 1) Spieler[1].Punkte = IDiv(Spieler[1].Punkte, 3);
  ExtraLebenSchwelle = 3;
  if (SoundAn) MusikStarten("Can not Replay ");
  return true;
}

// Back to the last checkpoint with one life less. The lives, the scores, the best combos
// and the first player's statistics survive; the ships come back re-armed, the satellite
// is lost.
void Neustart() {
  const SpielerDaten a = Spieler[0];
  const int32_t punkte1 = Spieler[1].Punkte, combo1 = Spieler[1].BesteComboTreffer,
                bonus1 = Spieler[1].BesteComboBonus;
  ResetAllPools();
  LoadCheckpoint();
  CheckpointTor.Triggered = true;
  CheckpointTor.Alpha = 0.6f;
  CheckpointTor.AlphaStep = -0.02f;
  VeskInit(0);
  VeskInit(1);
  SpielerDaten& s0 = Spieler[0];
  s0.Leben = a.Leben - 1;
  s0.Schaden = a.Schaden;
  s0.Abschuesse = a.Abschuesse;
  s0.Punkte = a.Punkte;
  s0.BesteComboTreffer = a.BesteComboTreffer;
  s0.BesteComboBonus = a.BesteComboBonus;
  Spieler[1].Punkte = punkte1;
  Spieler[1].BesteComboTreffer = combo1;
  Spieler[1].BesteComboBonus = bonus1;
  Satellit.Da = VBFalse;
  if (LevelTick == 0) HintergrundInit = true;
  SaveCheckpoint(0);
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) SpielVeskWiedergeburt(p, Spieler[p].X, Spieler[p].Y);
}

// After a pass: true when a lost life restarts the level, false when the loop ends.
bool NachDemDurchgang() {
  FrameSkipAn = false;
  SpielSoundOFF();
  if (Spielstatus != 0 || LevelEnde != 1) return false;
  LevelEnde = 0;
  if (Spieler[0].Leben == 0 && !Weitermachen()) return false;
  if (Spieler[0].Leben <= 0) return false;
  Neustart();
  return true;
}

void Einrichten() {
  TmpRect1 = {540, 422, 796, 540};
  ResetAllPools();
  LevelTick = StartTick;
  g_ersterMusikstart = true;
  DebugLogWennAn("---Spielstart: " + LevelName);
  SpielPastTicks();
  SaveCheckpoint(0);
  if (SoundAn) MusikStarten("Can not play ");
}

void Ende() {
  KillCheckpoint();
  if (SoundAn) StopOgg();
  LevelEnde = 0;
}

}  // namespace

void SpielLoop() {
  try {
    Einrichten();
    do {
      Durchgangsstart();
      while (LevelEnde == 0 && Spielstatus == 0)
        if (!EinTick()) return;
    } while (NachDemDurchgang());
    Ende();
  } catch (const Err& e) {
    // Outside the steps of a tick (the set-up, a restart) nothing can be skipped.
    Absturz(e);
  }
}
