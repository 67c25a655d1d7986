#include "campaign/pause_screen.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "campaign/highscore.hpp"
#include "campaign/mosaic.hpp"
#include "campaign/ogg.hpp"
#include "campaign/save_games.hpp"
#include "campaign/screen_errors.hpp"
#include "campaign/ticker.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "engine/text.hpp"
#include "frontend/effects_state.hpp"
#include "platform/bmp.hpp"
#include "platform/window.hpp"
#include "player/players.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "run/variabeln_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/loading_screen.hpp"
#include "world/picture_loading.hpp"
#include "world/pictures_state.hpp"
#include "world/radio_state.hpp"
#include "world/weather_state.hpp"

namespace {

namespace p = platform;

// The monitor: the game picture at half its size.
constexpr RECT kMonitor{288, 77, 688, 377};
constexpr int32_t kMonitorHoehe = 300;
// The play area, which the fade back into the game takes.
constexpr RECT kSpielbild{0, 0, kSpielfeldBreite, kSpielfeldHoehe};
constexpr int32_t kZeilenBreite = 530;
constexpr int32_t kGruen = 64 | (255 << 8) | (64 << 16);
constexpr int32_t kDunkelgruen = 16 | (64 << 8) | (16 << 16);
constexpr int32_t kWeiss = 0xFFFFFF;

p::Surface& Schirm() {
  if (!BackBuffer) throw DXError(p::DDERR_INVALIDOBJECT);
  return *BackBuffer;
}

// ---- Pictures ------------------------------------------------------------------------------

p::SurfacePtr Bildschirmdatei(const std::string& datei, p::PixelFormat format) {
  p::BmpImage b;
  if (!p::LoadBmpImage(datei, b) || b.width != kBildschirmBreite || b.height != kBildschirmHoehe) return nullptr;
  return p::SurfaceFromImage(b, format);
}

// A lost display has been waited for: the monitor's picture comes back from the file
// written at the pause. The frame picture is kept: our pictures outlive a lost display,
// and loading it again would leave a second entry in the surface table after the exit.
void NachVerlust() {
  SetNormalPriority();
  PauseStand.Schnappschuss.reset();
  PauseStand.Schnappschuss = PausenbildNachVerlust(AnzeigeFormat());
}

// Runs one statement of the screen: a lost display is waited for, the pictures are made
// anew and the statement runs again. False once an error has ended the run.
template <class F>
bool Anweisung(F&& f) {
  while (!PauseStand.Abbruch) {
    switch (SchirmAnweisung("Pause", f)) {
      case Ausgang::Weiter:
        return true;
      case Ausgang::Ende:
        PauseStand.Abbruch = true;
        break;
      case Ausgang::Verloren:
        NachVerlust();
        break;
    }
  }
  return false;
}

// ---- Entry ---------------------------------------------------------------------------------

// The voice's copy that played last.
p::audio::SoundBuffer* Stimme() {
  const int32_t nr = FunkStatus.Sound;
  if (nr <= 0 || nr > SoundsMax()) return nullptr;
  SoundEntry& e = Sounds[static_cast<size_t>(nr)];
  if (e.Zeiger < 0 || static_cast<size_t>(e.Zeiger) >= e.Kopien.size()) return nullptr;
  return &e.Kopien[static_cast<size_t>(e.Zeiger)];
}

void Stille() {
  if (!SoundAn) return;
  SpielSoundOFF();
  ResetWater();  // after the pause a ship still in the surface starts the splash sound again
  if (FunkStatus.Sound > 0) {
    if (const p::audio::SoundBuffer* k = Stimme()) {
      PauseStand.StimmePosition = k->GetCurrentPosition();
      PauseStand.StimmeLief = (k->GetStatus() & DSBSTATUS_PLAYING) != 0;
    }
    StopSound(FunkStatus.Sound);
  }
  SetOggVolume(0);
  PlaySound(SndPause, 0, std::nullopt, SoundLautstaerke);
}

void RuhigStellen() {
  SetNormalPriority();
  PauseStand.Kraft = ForceWert;
  ForceStop();
}

float Textbreite(const std::string& t) {
  float w = 0, h = 0;
  GdiTextSize(TextDC, t, w, h);
  return w;
}

void Verlauf() {
  AufBackBuffer("Arial", 18, [] { PauseStand.Historie = PauseHistorie(MessageHistory.Zeilen, Textbreite); });
}

// The frame picture from the pause archive, drawn by colour-keyed blits; the archive is
// remembered so that the exit drops both again. Not while the display is away.
void Rahmen() {
  if (!DisplayReady()) return;
  const std::string ordner = Depack("Pause.vkp", AppPfad, true);
  PauseStand.Entpackt = true;
  PauseStand.Rahmen = LoadSurface(ordner + "Pausescreen.bmp", false, std::nullopt, std::nullopt, std::nullopt,
                                  std::nullopt, true);
  KillDir(ordner);
}

void Schnappschuss() {
  p::SurfacePtr s = p::Surface::Create(kBildschirmBreite, kBildschirmHoehe, Schirm().Format());
  if (!s) throw err::KeinSpeicher();
  DXCheck(s->BltFast(0, 0, Schirm(), nullptr, p::DDBLTFAST_WAIT));
  PauseStand.Schnappschuss = s;
  NewPictureToLoadingscreen();
}

// Written under a temporary name: a damaged file would show after a display loss.
void Bildschirmfoto() {
  if (!p::SaveBmp24(DatenOrdner + kScreenshot, *PauseStand.Schnappschuss))
    DebugLogWennAn("Screenshot.bmp konnte nicht geschrieben werden");
}

// The fade texture holds the game picture: the screen fades in over it.
void Einblenden() {
  if (SurfaceGueltig(TexBlur2, "Pause")) {
    SurfaceInfo& e = Surfaces[static_cast<size_t>(TexBlur2)];
    DXCheck(e.Surface->Blt(&e.SrcRect, &Schirm(), &VollbildRect, p::DDBLT_WAIT));
  }
  Abblenden = true;
  BlendAlpha = 1.0f;
}

// The key that opened the screen (and a fire key held with it) must be let go first.
void Loslassen() {
  while ((TasteZurück(0) || TasteEingabe(0)) && Spielstatus != 10) {
    MyDoEvents();
    DInputPoll();
  }
}

using Schritt = void (*)();
constexpr std::array<Schritt, 8> kEintritt = {Stille,     RuhigStellen, Verlauf,    Rahmen,
                                              Schnappschuss, Bildschirmfoto, Einblenden, Loslassen};

// ---- The frame -----------------------------------------------------------------------------

bool Fokus() { return p::GetFocus() == FensterHandle; }

bool Zuende() { return (Fokus() && (TasteZurück(0) || TasteEingabe(0))) || Spielstatus == 10; }

// Keys count only while the game window has the focus; without it the game steps back.
void Wahl() {
  PauseDaten& s = PauseStand;
  if (Fokus()) {
    if (s.NiedrigePrioritaet) {
      s.NiedrigePrioritaet = false;
      SetNormalPriority();
    }
    if (TasteHoch(0)) s.Auswahl = 0;
    if (TasteRunter(0)) s.Auswahl = 1;
  } else if (!s.NiedrigePrioritaet) {
    s.NiedrigePrioritaet = true;
    SetLowPriority();
  }
}

// The music stays halted: it is not fed, and silent.
void Musik() {
  if (SoundAn) SetOggVolume(0);
}

void Monitor() {
  RenderStart();
  Filtern = true;
  DXCheck(Schirm().BltColorFill(nullptr, 0));
  if (PauseStand.Schnappschuss)
    DXCheck(Schirm().Blt(&kMonitor, PauseStand.Schnappschuss.get(), nullptr, p::DDBLT_WAIT));
}

void Balken(float oben, float unten) {
  SetUpRect(TexBalken, static_cast<float>(kMonitor.Left), oben, static_cast<float>(kMonitor.Right), unten);
  SetUpColor(TexBalken, 1, 1, 1, 0.1f);
  Render(TexBalken, true);
}

// The scan line moves down a row a frame; while none runs a disturbance may start in
// the middle of the picture.
void Scanlinie() {
  PauseDaten& s = PauseStand;
  if (++s.Scan > kMonitorHoehe) s.Scan = 1;
  if (s.Stoerung != 0) return;
  if (s.Scan > 20 && s.Scan < 235 && Rnd() < 0.02f) s.Stoerung = 1;
  const int32_t y = s.Scan + kMonitor.Top;
  const RECT zeile{kMonitor.Left, y, kMonitor.Right - 2, y + 1};
  DXCheck(Schirm().BltFast(kMonitor.Left + 2, y, Schirm(), &zeile, p::DDBLTFAST_WAIT));
  Balken(static_cast<float>(y - 1), static_cast<float>(y + 2));
}

// Rows `von` to `bis` of the snapshot (twice the monitor's scale) into the monitor's rows
// `oben` to `unten`.
void Band(int32_t oben, int32_t unten, int32_t von, int32_t bis) {
  const RECT ziel{kMonitor.Left, oben, kMonitor.Right, unten};
  const RECT quelle{0, von, kBildschirmBreite, bis};
  DXCheck(Schirm().Blt(&ziel, PauseStand.Schnappschuss.get(), &quelle, p::DDBLT_WAIT));
}

// A disturbance runs 45 frames: the rows round the scan line swell into a band, white
// and black dots fly, and in its second half bright lines and dark flickers cross the
// monitor.
void Stoerung() {
  PauseDaten& s = PauseStand;
  if (s.Stoerung == 0) return;
  const int32_t d = s.Stoerung, y = s.Scan + kMonitor.Top;
  const double c = CosinusB(5 * d);
  const int32_t h = CLng(static_cast<double>(SinTab[static_cast<size_t>(d)]) * std::abs(c / 2 + 0.5) * 12 + 3);
  s.Band = h;
  if (s.Schnappschuss) {
    Band(y - 20, y - h, 2 * (s.Scan - 20), 2 * (s.Scan - 2));
    Band(y + h, y + 20, 2 * (s.Scan + 2), 2 * (s.Scan + 20));
    Band(y - h, y + h, 2 * (s.Scan - 2), 2 * (s.Scan + 2));
  }
  Balken(static_cast<float>(y - h), static_cast<float>(y + h));
  const int32_t breite = IDiv(d, 45);
  for (int32_t i = 0; i < h; ++i) {
    const int32_t x = static_cast<int32_t>(Int(398.0 * Rnd())) + kMonitor.Left;
    const int32_t py = static_cast<int32_t>(Int(300.0 * Rnd())) + kMonitor.Top;
    const RECT punkt{x, py, x + breite + 1, py + 1};
    DXCheck(Schirm().BltColorFill(&punkt, Rnd() < 0.7f ? static_cast<uint32_t>(GrauTabelle[255]) : 0u));
  }
  for (int32_t k = 2; k <= breite; ++k) {
    const auto x = static_cast<float>(kMonitor.Left + CLng(400.0 * Rnd()));
    Linie(x, static_cast<float>(kMonitor.Top), x, static_cast<float>(kMonitor.Bottom), 3, 1, 1, 1, 0.1f, 1, 1, 1,
          0.1f, true);
    SetUpColor(TexWeiss, 0, 0, 0, Rnd() / 4);
    SetUpRect(TexWeiss, static_cast<float>(kMonitor.Left), static_cast<float>(kMonitor.Top),
              static_cast<float>(kMonitor.Right), static_cast<float>(kMonitor.Bottom));
    Render(TexWeiss, false);
  }
  s.Stoerung += 4;
  if (s.Stoerung >= 180) s.Stoerung = 0;
}

void RahmenZeichnen() {
  RenderEnd();
  if (PauseStand.Rahmen > 0) ShowSprite(PauseStand.Rahmen, 0, 0, false);
}

// The menu entry chosen is the larger one; there is no other highlight.
void Beschriftung() {
  const int32_t wahl = PauseStand.Auswahl;
  AufBackBuffer("Arial", static_cast<int16_t>(26 - 5 * wahl), [wahl] {
    const bool ru = Sprache == "R";
    GdiTextOut(ru ? Cyr("Продолжить") : Sprache == "E" ? "RESUME" : "WEITER", 118, 89, TextDC, kWeiss, 0, false);
    GdiDeleteFont(TextDC);
    GdiSetFont(TextDC, "Arial", static_cast<int16_t>(21 + 5 * wahl));
    GdiTextOut(ru ? Cyr("Выход") : "EXIT", 118, 120, TextDC, kWeiss, 0, false);
    GdiDeleteFont(TextDC);
    GdiSetFont(TextDC, "Arial", 20);
    const std::string titel = PauseTitel();
    GdiTextOut(titel, 118, 33, TextDC, kDunkelgruen, 0, false);
    GdiTextOut(titel, 122, 37, TextDC, kDunkelgruen, 0, false);
    GdiTextOut(titel, 120, 35, TextDC, kGruen, 0, false);
    GdiDeleteFont(TextDC);
    GdiSetFont(TextDC, "Arial", 18);
    for (int32_t i = 0; i < kPauseHistorie; ++i)
      GdiTextOut(PauseStand.Historie[static_cast<size_t>(i)], 135, static_cast<int16_t>(412 + 20 * i), TextDC,
                 kGruen, 0, false);
  });
}

// The frozen game picture fades out over the first frames.
void Blende() {
  RenderStart();
  if (Abblenden && BlendAlpha != 0) {
    BlendAlpha = static_cast<float>(BlendAlpha - 0.05);
    if (BlendAlpha <= 0) {
      BlendAlpha = 0;
      Abblenden = false;
    }
    SetUpGeom(TexBlur2, EigenesRechteck(TexBlur2), VollbildRect, 1, 1, 1, BlendAlpha, 0);
    Render(TexBlur2, false);
  } else if (Abblenden) {
    BlendAlpha = 1.0f;
  }
  RenderEnd();
}

void Zeigen() {
  if (!FrameEnde(16, true)) throw DXError(DDERR_SURFACELOST);
}

void Beobachten() {
  if (NachPauseBild) NachPauseBild();
}

constexpr std::array<Schritt, 11> kBild = {DInputPoll, Wahl,         Musik,  Monitor, Scanlinie, Stoerung,
                                           RahmenZeichnen, Beschriftung, Blende, Zeigen,  Beobachten};

// ---- Exit ----------------------------------------------------------------------------------

// The last pause picture goes into the fade texture: the game's overlay pass fades it
// out over the resumed game.
void Ausblenden() {
  BlendAlpha = 1.0f;
  Abblenden = true;
  TmpRect1 = kSpielbild;
  if (!SurfaceGueltig(TexBlur2, "Pause")) return;
  SurfaceInfo& e = Surfaces[static_cast<size_t>(TexBlur2)];
  if (VoodooModus)
    DXCheck(e.Surface->Blt(&e.SrcRect, &Schirm(), &TmpRect1, p::DDBLT_WAIT));
  else
    DXCheck(e.Surface->BltFast(0, 0, Schirm(), &TmpRect1, p::DDBLTFAST_WAIT));
}

// The surface table and the list of unpacked archives as before the screen.
void Aufraeumen() {
  PauseStand.Schnappschuss.reset();
  if (PauseStand.Rahmen > 0)
    RemoveLastSurface(true);
  else if (PauseStand.Entpackt && EntpackListe.size() > 1)
    EntpackListe.pop_back();
}

void Weiterspielen() {
  if (!SoundAn) return;
  SetOggVolume(MusikLautstaerke);
  PlaySound(SndPause, 0, std::nullopt, SoundLautstaerke);
  if (FunkStatus.Sound <= 0 || !PauseStand.StimmeLief) return;
  PlaySound(FunkStatus.Sound, 0, 0.0);
  if (p::audio::SoundBuffer* k = Stimme()) k->SetCurrentPosition(PauseStand.StimmePosition);
}

void Verlassen() {
  if (PauseStand.Abbruch) {
    Aufraeumen();
    return;
  }
  const bool raus = TasteEingabe(0) && PauseStand.Auswahl == 1;
  if (raus) {
    for (int32_t i = 0; i <= LetzterSpielerIndex(); ++i) {
      const SpielerDaten& s = Spieler[static_cast<size_t>(i)];
      AddHighscore(s.Name, s.Punkte, s.HighscoreNr);
    }
    // A quit asked for meanwhile stands.
    if (Spielstatus != 10) Spielstatus = 9;
  }
  Anweisung(Ausblenden);
  Aufraeumen();
  while (TasteZurück(0) && Spielstatus != 10) {
    MyDoEvents();
    DInputPoll();
  }
  if (!raus && Spielstatus != 10) Weiterspielen();
  SetHighPriority();
  ForceStart(PauseStand.Kraft[0], 0);
  ForceStart(PauseStand.Kraft[1], 1);
}

// Splits `text` at its blanks: the part that fits a line (what is left after the words
// taken off the front) and the words taken off, each with one blank after it.
struct Umbruch {
  std::string kopf, rest;
};
Umbruch Umbrechen(const std::string& text, const std::function<float(const std::string&)>& Breite) {
  Umbruch u{"", text};
  size_t genommen = 0;
  while (Breite(u.rest) > kZeilenBreite && TrimBlanks(u.rest).find(' ') != std::string::npos) {
    size_t ende = text.find(' ', genommen);
    if (ende == std::string::npos) ende = text.size();
    u.kopf += text.substr(genommen, ende - genommen) + " ";
    genommen = std::min(ende + 1, text.size());
    u.rest = TrimBlanks(std::string_view(text).substr(genommen));
  }
  // One word alone wider than a line: as much of it as fits.
  while (u.rest.size() > 1 && Breite(u.rest) > kZeilenBreite) u.rest.pop_back();
  return u;
}

}  // namespace

std::array<std::string, kPauseHistorie> PauseHistorie(const std::vector<std::string>& Zeilen,
                                                      const std::function<float(const std::string&)>& Breite) {
  std::array<std::string, kPauseHistorie> z;
  int32_t zeile = kPauseHistorie - 1;
  for (auto it = Zeilen.rbegin(); it != Zeilen.rend() && zeile >= 0; ++it) {
    std::string text = TrimBlanks(*it);
    if (text.empty()) {
      if (zeile < kPauseHistorie - 1 && !z[static_cast<size_t>(zeile + 1)].empty()) z[static_cast<size_t>(zeile--)].clear();
      continue;
    }
    // The tail of a long text goes lowest; what was taken off its front is wrapped again
    // on the line above.
    while (zeile >= 0) {
      Umbruch u = Umbrechen(text, Breite);
      z[static_cast<size_t>(zeile--)] = std::move(u.rest);
      if (u.kopf.empty()) break;
      text = std::move(u.kopf);
    }
  }
  return z;
}

std::string PauseTitel() {
  std::string titel = Sprache == "R" ? LevelTeil(LevelName, true) : LevelName;
  titel += " (" + Spieler[0].Name;
  if (LetzterSpieler == 1) titel += " & " + Spieler[1].Name;
  return titel + ")";
}

p::SurfacePtr PausenbildNachVerlust(p::PixelFormat format) {
  for (const char* datei : {kScreenshot, kMosaikDatei})
    if (p::SurfacePtr s = Bildschirmdatei(DatenOrdner + datei, format)) return s;
  return p::Surface::Create(kBildschirmBreite, kBildschirmHoehe, format);
}

void Pause() {
  ResetPauseScreen();
  for (Schritt s : kEintritt)
    if (!Anweisung(s)) break;
  while (!PauseStand.Abbruch && !Zuende())
    for (Schritt s : kBild)
      if (!Anweisung(s)) break;
  Verlassen();
}
