#include "campaign/continue_screen.hpp"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "campaign/highscore.hpp"
#include "campaign/loop_step.hpp"
#include "campaign/ogg.hpp"
#include "campaign/ticker.hpp"
#include "engine/display.hpp"
#include "engine/dxerror.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "engine/text.hpp"
#include "frontend/effects_state.hpp"
#include "platform/device3d.hpp"
#include "platform/window.hpp"
#include "player/players.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pictures_state.hpp"

namespace {

namespace p = platform;

constexpr int32_t kFrameMs = 40;
constexpr int32_t kZaehlerStart = 9;
constexpr int32_t kSchrittTicks = 28;  // frames of one count step
constexpr int32_t kZurueckTicks = 9;   // a held back key makes each frame count ten
constexpr int32_t kJitterTicks = 15;   // the new digit shakes for this many frames
constexpr int32_t kSchwarzFrames = 15;
constexpr int32_t kSchwarz = 0, kWeiss = 0xFFFFFF;

// One call of the screen: the players' places, the frozen frame, the count, and the
// rectangles of the tube collapse after it ran out.
struct Schirm {
  std::array<int32_t, 2> Platz{kKeinHighscorePlatz, kKeinHighscorePlatz};
  p::SurfacePtr Standbild;
  int32_t Zaehler = kZaehlerStart;
  int32_t Ticks = 0;
  bool Abgelaufen = false;
  bool Ergebnis = false;
  int32_t Riss = 0;  // the row of the tear line
  // Confirm acts when its key goes down: a key still held from the game (the fire key)
  // must be let go first.
  bool BestaetigungFrei = false;
  RECT Bild = VollbildRect;          // the shrinking picture
  RECT Linie{400, 300, 400, 300};    // the glowing line it leaves
  bool GespeichertFrameSkip = false;
};

using Schritt = void (*)(Schirm&);

p::Surface& Rueckpuffer() {
  if (!BackBuffer) throw DXError(p::DDERR_INVALIDOBJECT);
  return *BackBuffer;
}

void Vollbild(float R, float G, float B, float A, bool additiv) {
  SetUpColor(TexWeiss, R, G, B, A);
  SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
  Render(TexWeiss, additiv);
}

// ---- Entry -------------------------------------------------------------------------------------

// The results go into the table first, whatever the answer will be.
void Eintragen(Schirm& s) { s.Platz = AddPlayerHighscores(); }

// The last game picture, darkened, is kept as the frozen frame.
void Einfrieren(Schirm& s) {
  p::Surface& schirm = Rueckpuffer();
  s.Standbild = p::Surface::Create(kBildschirmBreite, kBildschirmHoehe, schirm.Format());
  if (!s.Standbild) throw DXError(p::DDERR_OUTOFMEMORY);
  RenderStart();
  Vollbild(0, 0, 0, 0.3f, false);
  RenderEnd();
  DXCheck(s.Standbild->BltFast(0, 0, schirm, &VollbildRect, p::DDBLTFAST_WAIT));
}

void Ruhe(Schirm&) { ForceStop(); }

void Musik(Schirm&) {
  if (!SoundAn) return;
  StopOgg();
  if (PlayOggFile(SoundPfad + "Continue.ogg") != -1 && DebugModus) DebugLog("No Continue.ogg");
  SetOggVolume(MusikLautstaerke);
}

void Vorbereiten(Schirm& s) {
  s.GespeichertFrameSkip = FrameSkipAn;
  FrameSkipAn = true;
  Rendern = true;
}

constexpr std::array<Schritt, 5> kEintritt = {Eintragen, Einfrieren, Ruhe, Musik, Vorbereiten};

// ---- The count ----------------------------------------------------------------------------------

void Standbild(Schirm& s) {
  if (!Rendern) return;
  if (!s.Standbild) throw DXError(p::DDERR_INVALIDOBJECT);
  DXCheck(Rueckpuffer().BltFast(0, 0, *s.Standbild, &VollbildRect, p::DDBLTFAST_WAIT));
  RenderStart();
}

// Television noise: now and then a faint flicker, always white specks, sometimes a line.
void Rauschen(Schirm&) {
  if (!Rendern) return;
  if (Rnd() > 0.9) Vollbild(0, 0, 0, 0.1f, false);
  SetUpColor(TexWeiss, 1, 1, 1, 0.8f);
  for (int i = 0; i <= 100; ++i) {
    const float x = static_cast<float>(CLng(Rnd() * 800.0)), y = static_cast<float>(CLng(Rnd() * 600.0));
    SetUpRect(TexWeiss, x, y, x + 2, y + 2);
    Render(TexWeiss, true);
  }
  for (int i = 0; i < 3; ++i) {
    if (!(Rnd() > 0.7)) continue;
    const float x = static_cast<float>(CLng(Rnd() * 791.0));
    SetUpRect(TexWeiss, x, 0, x + 1, kBildschirmHoehe);
    Render(TexWeiss, true);
  }
}

// Only while the game window has the focus.
void Tasten(Schirm& s) {
  if (p::GetFocus() != FensterHandle) return;
  if (!TasteEingabe(0)) {
    s.BestaetigungFrei = true;
  } else if (s.BestaetigungFrei) {
    Spielstatus = 1;
    s.Ergebnis = true;
  }
  if (TasteZurück(0)) s.Ticks += kZurueckTicks;
}

void Zaehlen(Schirm& s) {
  if (++s.Ticks < kSchrittTicks) return;
  s.Ticks = 0;
  if (--s.Zaehler <= 0) s.Abgelaufen = true;
}

// Black behind white, so the text reads over any picture.
void Schattiert(const std::string& text, int32_t x, int32_t y, std::initializer_list<std::array<int32_t, 2>> schatten) {
  for (const auto& [dx, dy] : schatten)
    GdiTextOut(text, static_cast<int16_t>(x + dx), static_cast<int16_t>(y + dy), TextDC, kSchwarz, 0, false);
  GdiTextOut(text, static_cast<int16_t>(x), static_cast<int16_t>(y), TextDC, kWeiss, 0, false);
}

std::string Platzzeile(int32_t i, int32_t platz) {
  const std::string& name = Spieler[i].Name;
  const std::string zahl = std::to_string(platz);
  return Sprache == "D" ? name + " landet auf Platz " + zahl + "!" : name + " ranked at place " + zahl + "!";
}

// "Continue" and the count beside it, its new digit shaking; below, the places won.
void Text(Schirm& s) {
  if (!Rendern) return;
  RenderEnd();
  AufBackBuffer("Orbit-B BT", 128, [&] {
    Schattiert("Continue", 80, 200, {{-2, -2}, {2, 2}});
    const int32_t y = s.Ticks < kJitterTicks ? CLng(200 + Rnd() * 20.0 - 10) : 200;
    Schattiert(std::to_string(s.Zaehler), 620, y, {{-2, -2}, {2, 2}});
  });
  for (int32_t i = 0; i <= LetzterSpielerIndex(); ++i) {
    if (s.Platz[i] >= kKeinHighscorePlatz) continue;
    AufBackBuffer("Arial", 24, [&] {
      const std::string zeile = Platzzeile(i, s.Platz[i]);
      float w = 0, h = 0;
      GdiTextSize(TextDC, zeile, w, h);
      Schattiert(zeile, 400 - IDiv(w, 2), 490 + 20 * i, {{-1, -1}});
    });
  }
}

// Row `y` of the screen moved `dx` to the right; nothing of a row outside the screen.
void Zeile(int32_t y, int32_t dx) {
  if (y < 0 || y >= kBildschirmHoehe) return;
  const RECT r{0, y, kBildschirmBreite - dx, y + 1};
  DXCheck(Rueckpuffer().BltFast(dx, y, Rueckpuffer(), &r, p::DDBLTFAST_WAIT));
}

// A tear line runs down the picture and now and then shifts its rows sideways.
void Riss(Schirm& s) {
  if (!Rendern) return;
  s.Riss = CLng(s.Riss + Rnd() * 4.0);
  if (s.Riss > kBildschirmHoehe - 1) s.Riss = Mod(s.Riss, 598) + 1;
  if (!(Rnd() > 0.9)) return;
  Zeile(s.Riss - 1, 7);
  Zeile(s.Riss + 1, 7);
  Zeile(s.Riss, 15);
}

constexpr std::array<Schritt, 6> kZaehlung = {Standbild, Rauschen, Tasten, Zaehlen, Text, Riss};

// ---- The tube switched off ---------------------------------------------------------------------

// The back buffer is not cleared: what earlier frames left fades by 15 % a frame.
void Abdunkeln(Schirm&) {
  if (!Rendern) return;
  RenderStart();
  Vollbild(0, 0, 0, 0.15f, false);
}

// The picture shrinks to the centre in 50 frames, leaves a glowing line that widens in 7,
// then 15 black frames.
void Zusammenfall(Schirm& s) {
  RECT& b = s.Bild;
  RECT& l = s.Linie;
  if (b.Left < 400) {
    b = {b.Left + 8, b.Top + 6, b.Right - 8, b.Bottom - 6};
    if (Rendern) {
      if (!s.Standbild) throw DXError(p::DDERR_INVALIDOBJECT);
      DXCheck(Rueckpuffer().Blt(&b, s.Standbild.get(), nullptr, p::DDBLT_WAIT));
      RenderEnd();
    }
    l = {400, 300, 400, 300};
  } else if (l.Left >= -150) {
    s.Ticks = 0;
    l = {l.Left - 80, l.Top - 2, l.Right + 80, l.Bottom + 2};
    if (Rendern) {
      SetUpColor(TexKreis2, 1, 1, 1, 1);
      SetUpRect(TexKreis2, static_cast<float>(l.Left), static_cast<float>(l.Top), static_cast<float>(l.Right),
                static_cast<float>(l.Bottom));
      Render(TexKreis2, false);
      RenderEnd();
    }
  } else {
    if (Rendern) RenderEnd();
    if (++s.Ticks >= kSchwarzFrames) {
      s.Ergebnis = false;
      Spielstatus = 1;
    }
  }
}

constexpr std::array<Schritt, 2> kAblauf = {Abdunkeln, Zusammenfall};

// ---- Every frame -------------------------------------------------------------------------------

void Eingabe(Schirm&) { DInputPoll(); }

// The picture under a filtered, enlarged copy of itself whose opacity flickers.
void Unschaerfe(Schirm&) {
  if (!Rendern) return;
  RenderStart();
  Filtern = true;
  if (SurfaceGueltig(TexBlur, "Continue")) {
    SurfaceInfo& e = Surfaces[TexBlur];
    DXCheck(e.Surface->Blt(&e.SrcRect, &Rueckpuffer(), &VollbildRect, p::DDBLT_WAIT));
    const float a = static_cast<float>(Rnd() / 2.0 + 0.1);
    SetUpGeom(TexBlur, e.SrcRect, VollbildRect, 1, 1, 1, a, 0);
    Render(TexBlur, false);
  }
  RenderEnd();
}

void MusikWeiter(Schirm&) {
  if (Rendern && SoundAn) UpdateOgg();
}

void AnzeigeZurueck() {
  AltTabpressed();
  while (!DisplayReady()) Wait(kFrameMs);
  RestoreAllSurfaces();
  ReloadSurfaces();
}

// Presented by a copy, which keeps the back buffer: the next frames build on it.
void Frameende(Schirm&) {
  if (!FrameEnde(kFrameMs, true)) AnzeigeZurueck();
}

constexpr std::array<Schritt, 1> kAnfang = {Eingabe};
constexpr std::array<Schritt, 3> kEnde = {Unschaerfe, MusikWeiter, Frameende};

// ---- Failures ---------------------------------------------------------------------------------

// Anything but a lost display ends the run with the error dialog; whatever fails in
// doing so is let go.
void Abbruch(const Err& e) {
  try {
    if (D3DDevice && D3DDevice->InScene()) D3DDevice->EndScene();
    if (!FensterModus) RestoreDisplayMode();
    Spielstatus = 10;
    CloseGameWindows();
    ShowDXError(e.Nummer, 2, "Continue", e.Beschreibung);
  } catch (...) {
  }
}

// Runs the steps in order. A step that fails with a scene error is left and the next one
// runs; a lost display is waited for, given back its pictures, and the next step runs.
// False when another failure ended the run.
template <size_t N>
bool Ausfuehren(const std::array<Schritt, N>& schritte, Schirm& s) {
  for (Schritt tun : schritte)
    if (!LoopSchritt([&] { tun(s); }, AnzeigeZurueck, Abbruch)) return false;
  return true;
}

bool EinFrame(Schirm& s) {
  return Ausfuehren(kAnfang, s) && (s.Abgelaufen ? Ausfuehren(kAblauf, s) : Ausfuehren(kZaehlung, s)) &&
         Ausfuehren(kEnde, s);
}

void Austritt(const Schirm& s) {
  FrameSkipAn = s.GespeichertFrameSkip;
  OverlayKopie = true;
  if (SoundAn) {
    StopOgg();
    if (s.Ergebnis) PlaySound(SndSpeech, 0, std::nullopt, SprachLautstaerke);
  }
  if (Spielstatus != 10) Spielstatus = 0;
}

}  // namespace

bool Continue() {
  Schirm s;
  s.GespeichertFrameSkip = FrameSkipAn;
  if (Ausfuehren(kEintritt, s))
    while (Spielstatus == 0)
      if (!EinFrame(s)) break;
  try {
    Austritt(s);
  } catch (const Err& e) {
    Abbruch(e);
  }
  return s.Ergebnis && Spielstatus != 10;
}
