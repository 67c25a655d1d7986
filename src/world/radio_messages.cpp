// A radio message plays page by page. Each page of a line of its text block holds four
// fields: the speaker code ("0" shows nothing, "1" the static only, anything else the
// portrait in the static), the voice clip in the level's voice archive, the page's time in
// milliseconds and the ticker text. A page without time ends the message.
#include <algorithm>
#include <cstdint>
#include <string>

#include "campaign/ticker_state.hpp"
#include "engine/display.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/surfaces.hpp"
#include "platform/window.hpp"
#include "run/program_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/level_data_state.hpp"
#include "world/pictures_state.hpp"
#include "world/radio.hpp"

namespace {

constexpr int32_t kTickMs = 16;
constexpr int32_t kPortraitX = 20, kPortraitY = 542;
constexpr RECT kRauschenZiel{5, 542, 84, 592};
constexpr int32_t kBlende = 20;  // ticks the static fades in and out
constexpr int32_t kSprecherFrames = 32;
constexpr int32_t kFrameTakt = 5;  // ticks per portrait frame

// The running message, or nullptr when its number is none of this level's.
Funkmeldung* Meldung() {
  if (FunkStatus.Meldung < 0 || FunkStatus.Meldung > FunkmeldungenMax()) return nullptr;
  return &Funkmeldungen[static_cast<size_t>(FunkStatus.Meldung)];
}

// The lines of the message's text block. A block without lines reads as one empty line,
// so such a message shows its one empty page and ends.
int32_t AnzahlZeilen(const Funkmeldung& m) {
  if (m.FunkTextIndex < 0 || m.FunkTextIndex > FunkTexteMax()) return 1;
  return std::max<int32_t>(FunkTexte[static_cast<size_t>(m.FunkTextIndex)].ZeilenMax() + 1, 1);
}

// The line chosen for this play; nullptr when the block lacks it.
const std::string* GewaehlteZeile(const Funkmeldung& m) {
  if (m.FunkTextIndex < 0 || m.FunkTextIndex > FunkTexteMax()) return nullptr;
  const FunkText& block = FunkTexte[static_cast<size_t>(m.FunkTextIndex)];
  if (FunkStatus.Zeile < 0 || FunkStatus.Zeile > block.ZeilenMax()) return nullptr;
  return &block.Zeilen[static_cast<size_t>(FunkStatus.Zeile)];
}

// Field `n` (from 1) of the line; a field the line lacks reads as empty.
std::string Feld(const std::string& zeile, int64_t n) {
  if (n < 1 || n > INT32_MAX) return "";
  return TrimBlanks(GetField(zeile, static_cast<int32_t>(n), ";"));
}

void Timer2Setzen(bool an) {
  Timer2.Enabled = an;
  if (an)
    platform::SetTimer(Form1, kFunkTimer, Timer2.Interval);
  else
    platform::KillTimer(Form1, kFunkTimer);
}

// A limited message counts one finished play.
void Gespielt(int32_t Nr, int32_t MaxAnzahl) {
  if (MaxAnzahl == 0) return;
  bool da = false;
  for (FunktionEintrag& e : FunktionDaten) {
    if (e.Nr != Nr) continue;
    da = true;
    if (e.Anzahl < MaxAnzahl) e.Anzahl += 1;
  }
  if (!da) FunktionDaten.push_back({.Anzahl = 1, .Nr = Nr});
}

void Seitenwechsel(Funkmeldung& m) {
  KillFunktionsSound();
  if (FunkStatus.Seite == 0) {
    // One line of the block is chosen at random for the whole play.
    FunkStatus.SprecherFrame = CLng(Rnd() * 31.0f);
    FunkStatus.FrameZeit = 0;
    FunkStatus.Zeile = static_cast<int32_t>(Int(Rnd() * static_cast<double>(AnzahlZeilen(m))));
  }
  FunkStatus.Seite += 1;
  const std::string* zeile = GewaehlteZeile(m);
  const std::string leer;
  const std::string& z = zeile ? *zeile : leer;
  const int64_t k = FunkStatus.Seite;
  m.Sprecher = Feld(z, 4 * k - 3);
  AddMsg(Feld(z, 4 * k));
  const int32_t laenge = IDiv(Val(Feld(z, 4 * k - 1)), kTickMs);
  FunkStatus.SeitenLaenge = laenge;
  FunkStatus.RestTicks = laenge;
  // No further page, a time under one tick, or one below zero: the message is over.
  if (laenge <= 0) {
    FunkStatus.Aktiv = VBFalse;
    Gespielt(FunkStatus.Meldung, m.MaxAnzahl);
  } else if (SoundAn) {
    Timer2Setzen(true);
  }
}

// The static over the portrait's corner: a random piece of the noise picture, mirrored
// at random.
void Rauschen(float alpha) {
  RECT q;
  q.Left = CLng(Rnd() * 255.0f);
  q.Top = CLng(Rnd() * 255.0f);
  q.Right = q.Left + (static_cast<int32_t>(Int(2.0f * Rnd())) * 2 - 1) * 255;
  q.Bottom = q.Top + (static_cast<int32_t>(Int(2.0f * Rnd())) * 2 - 1) * 255;
  SetUpGeom(TexNoise, q, kRauschenZiel, 1, 1, 1, alpha, 0);
  Render(TexNoise, false);
}

// The speaker's portrait; one tick in ten the picture slips: a band of it is stretched
// over the whole frame, straight onto the back buffer.
void Portrait() {
  const int32_t nr = TexFunkFrame[static_cast<size_t>(FunkStatus.SprecherFrame)];
  if (Rnd() >= 0.1) {
    ShowSprite(nr, kPortraitX, kPortraitY, false);
    return;
  }
  const int32_t r = CLng(Rnd() * 20.0f);
  if (!SurfaceGueltig(nr, "SpielFunkmeldung")) return;
  const SurfaceInfo& e = Surfaces[static_cast<size_t>(nr)];
  RECT q = e.SrcRect;
  q.Top = r;
  q.Bottom -= r;
  const RECT ziel{kPortraitX, kPortraitY, kPortraitX + e.Width, kPortraitY + e.Height};
  BackBuffer->Blt(&ziel, e.Surface.get(), &q, 0);  // a failed glitch shows nothing
}

void LaufendeSeite(const Funkmeldung& m) {
  FunkStatus.RestTicks -= 1;
  FunkStatus.FrameZeit -= 1;
  if (FunkStatus.FrameZeit <= 0) {
    FunkStatus.FrameZeit = kFrameTakt;
    FunkStatus.SprecherFrame += 1;
  }
  if (FunkStatus.SprecherFrame < 0 || FunkStatus.SprecherFrame >= kSprecherFrames) FunkStatus.SprecherFrame = 0;
  if (m.Sprecher == "0" || !Rendern) return;
  // Ticks from the nearer end of the page: the static fades in and out over 20 of them.
  const int32_t t = std::min(FunkStatus.RestTicks, FunkStatus.SeitenLaenge - FunkStatus.RestTicks);
  if (t >= kBlende) {
    if (m.Sprecher != "1") Portrait();
    Rauschen(static_cast<float>(70 - std::min(t, 55)) / 50.0f);
  } else {
    Rauschen(static_cast<float>(t) / static_cast<float>(kBlende));
  }
}

}  // namespace

void SpielFunkmeldung() {
  if (FunkStatus.Aktiv == VBFalse) return;
  Funkmeldung* m = Meldung();
  if (!m) {
    FunkStatus.Aktiv = VBFalse;
    return;
  }
  if (FunkStatus.RestTicks <= 0)
    Seitenwechsel(*m);
  else
    LaufendeSeite(*m);
}

void Form1_Timer2_Timer() {
  const bool scharf = Timer2.Enabled;
  Timer2Setzen(false);  // one event per page
  // Disarmed since (a new level, a stopped clip) or the message gone: nothing to play.
  if (!scharf || !SoundAn || FunkStatus.Aktiv == VBFalse) return;
  const Funkmeldung* m = Meldung();
  const std::string* zeile = m ? GewaehlteZeile(*m) : nullptr;
  if (!zeile) return;
  const std::string clip = Feld(*zeile, 4 * int64_t{FunkStatus.Seite} - 2);
  if (clip.empty()) return;  // a page without a voice
  FunkStatus.Sound = LoadSound(LevelName + ".vfp", clip, 0, 44100);
  if (FunkStatus.Sound != 0) PlaySound(FunkStatus.Sound, 0, std::nullopt, SprachLautstaerke);
}

void KillFunktionsSound() {
  // A clip still waiting to load would come too late for its page (or its level).
  Timer2Setzen(false);
  if (!SoundAn || FunkStatus.Sound <= 0) return;
  const int32_t nr = FunkStatus.Sound;
  FunkStatus.Sound = 0;
  if (nr > SoundsMax()) return;
  StopSound(nr);
  // The clip's own entry goes; the table shrinks only when the clip is its last entry,
  // so a sound loaded after the clip (a boss warning) keeps its number.
  SoundEntry& e = Sounds[static_cast<size_t>(nr)];
  for (platform::audio::SoundBuffer& kopie : e.Kopien) kopie.Release();
  e.Kopien.clear();
  if (nr == SoundsMax()) Sounds.pop_back();
}
