#include "campaign/save_screen.hpp"

#include <array>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "campaign/ogg.hpp"
#include "campaign/panel.hpp"
#include "campaign/save_games.hpp"
#include "campaign/screen_errors.hpp"
#include "campaign/ticker.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/sprites.hpp"
#include "engine/text.hpp"
#include "platform/fs.hpp"
#include "player/players.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/background.hpp"
#include "world/pictures_state.hpp"

namespace {

constexpr int32_t kWeiss = 0xFFFFFF;
constexpr int32_t kGelb = 0x00FFFF;  // RGB(255, 255, 0) as GDI writes it
constexpr int32_t kSpalte = 7;       // slots per column
constexpr int32_t kEinblendBilder = 50;
constexpr const char* kMusik = "Save_Screen.ogg";

// A large text over the last picture after the choice, and where it stands.
struct Grosstext {
  const char* text;
  int16_t hoehe;
  int16_t x, y;
};

// The screen's texts in one language; Russian ones are written in UTF-8 here.
struct Sprachtexte {
  const char* titel;  // after the level's name, or alone
  bool titelMitLevel;
  const char* frage;
  const char* spielerVor;   // before the player's number
  const char* spielerNach;  // between the number and the score
  const char* platz;        // the place suffix: before the place ("" none) ...
  const char* platzNach;    // ... and after it
  const char* nichtSpeichern;
  Grosstext gespeichert;
  Grosstext nichtGespeichert;
};

constexpr std::array<Sprachtexte, 3> kTexte = {{
    {" geschafft!", true, "Spiel speichern? ", "Spieler ", ": ", " (HIGHSCORE: ", ". Platz!)", "Nicht speichern",
     {"Gespeichert", 150, 20, 150}, {"Nicht gespeichert", 110, 20, 170}},
    {" Cleared!", true, "Save Game? ", "Player ", ": ", " (HIGHSCORE: ", ". Place!)", "Don't Save",
     {"Saved", 300, 20, 120}, {"Not saved", 170, 20, 140}},
    {"Уровень расчищен!", false, "Сохранить игру? ", "", " игрок: ", "", "", "Не сохранено",
     {"Сохранено", 170, 20, 140}, {"Сохранение не удалось", 70, 20, 190}},
}};

const Sprachtexte& Wortlaut() { return kTexte[Sprache == "D" ? 0 : Sprache == "R" ? 2 : 1]; }
// A text of the table as the game writes it: Russian in Windows-1251.
std::string Text(const char* t) { return Sprache == "R" ? Cyr(t) : std::string(t); }

// Every text twice: a black shadow two pixels right and down, then the text.
void Schatten(const std::string& t, int32_t x, int32_t y, int32_t farbe) {
  GdiTextOut(t, static_cast<int16_t>(x + 2), static_cast<int16_t>(y + 2), TextDC, 0, 0, false);
  GdiTextOut(t, static_cast<int16_t>(x), static_cast<int16_t>(y), TextDC, farbe, 0, false);
}
void Schrift(int16_t hoehe) {
  GdiDeleteFont(TextDC);
  GdiSetFont(TextDC, "Arial", hoehe);
}

// ---- Entry -------------------------------------------------------------------------------

void Ergebnisse() {
  try {
    SaveScreen.Platz = AddPlayerHighscores();
  } catch (...) {
  }
}

void Slotliste() {
  SaveScreen.SlotText[0] = Text(Wortlaut().nichtSpeichern);
  try {
    if (!platform::fs::DirExists(SaveOrdner)) platform::fs::MakeDir(SaveOrdner);
    for (int32_t i = 1; i <= kSaveSlots; ++i) SaveScreen.SlotText[static_cast<size_t>(i)] = GetSaveLabel(i);
  } catch (...) {
  }
}

void Musikstart() {
  if (!SoundAn) return;
  if (PlayOggFile(SoundPfad + kMusik) != 0)
    SetOggVolume(MusikLautstaerke);
  else if (DebugModus)
    DebugLog("No Save_Screen.ogg");
}

void Eintreten() {
  ResetSaveScreen();
  Ergebnisse();
  Slotliste();
  HintergrundInit = true;
  LevelTick = 0;
  HintergrundModus = 4;
  Musikstart();
  Spieler[0].Status = 0;
  // The fire key of the level may still be down; it is not taken for a choice.
  SaveScreen.EnterGesperrt = TasteEingabe(0);
  SaveScreen.EscapeGesperrt = TasteEscape();
}

// ---- The steps of a pass ------------------------------------------------------------------

// A key that acts once per press: true on the pass it goes down.
bool Druck(bool unten, bool& latch) {
  const bool neu = unten && !latch;
  latch = unten;
  return neu;
}

// Escape and Enter: latched when pressed (a key held since the screen opened only once
// it has been let go); the loop ends on their release.
void Latch(bool unten, bool& gesperrt, bool& latch) {
  if (gesperrt && !unten) gesperrt = false;
  if (unten && !gesperrt) latch = true;
}

void Tasten() {
  SaveScreenDaten& s = SaveScreen;
  Latch(TasteEscape(), s.EscapeGesperrt, s.Escape);
  Latch(TasteEingabe(0), s.EnterGesperrt, s.Enter);
  if (Druck(TasteHoch(0), s.Hoch)) s.SlotAuswahl = SlotNachOben(s.SlotAuswahl);
  if (Druck(TasteRunter(0), s.Runter)) s.SlotAuswahl = SlotNachUnten(s.SlotAuswahl);
  if (Druck(TasteRechts(0), s.Rechts)) s.SlotAuswahl = SlotNachRechts(s.SlotAuswahl);
  if (Druck(TasteLinks(0), s.Links)) s.SlotAuswahl = SlotNachLinks(s.SlotAuswahl);
}

// The frame count and the logo, a quarter of the way in each pass.
void Zaehlen() {
  ++LevelTick;
  if (SaveScreen.LogoX < 0) SaveScreen.LogoX = CLng(SaveScreen.LogoX / 4.0);
}

void Hintergrund() {
  if (!Rendern) return;
  RenderStart();
  SpielMoveHintergrund();
  RenderEnd();
}

void Kopf(const Sprachtexte& t) {
  const std::string titel = t.titelMitLevel ? LevelName + t.titel : Text(t.titel);
  Schatten(titel, 50, 170, kWeiss);
  Schatten(Text(t.frage), 50, 280, kWeiss);
  Schrift(18);
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p) Schatten(SaveSpielerzeile(p), 50, 200 + 20 * p, kWeiss);
}

bool Eigener(const HighscoreEintrag& e) {
  return e.Tag == Spieler[0].HighscoreNr || (LetzterSpieler == 1 && e.Tag == Spieler[1].HighscoreNr);
}

// The table is read unscrambled and scrambled again at once.
void Bestenliste() {
  HighscoreCrypt();
  const std::array<HighscoreEintrag, kHighscorePlaetze> tabelle = Highscore;
  HighscoreCrypt();
  for (int32_t i = 1; i <= kHighscorePlaetze; ++i) {
    const HighscoreEintrag& e = tabelle[static_cast<size_t>(i - 1)];
    const int32_t farbe = Eigener(e) ? kGelb : kWeiss;
    const int32_t y = 20 * i - 10;
    Schatten(std::to_string(i) + ". " + HighscoreName(e), 460, y, farbe);
    const std::string punkte = std::to_string(e.Score);
    float w = 0, h = 0;
    GdiTextSize(TextDC, punkte, w, h);
    Schatten(punkte, CLng(788.0 - w), y, farbe);
  }
}

void Slots() {
  const int32_t wahl = SaveScreen.SlotAuswahl;
  Schrift(wahl == 0 ? 18 : 16);
  Schatten(SaveScreen.SlotText[0], 50, 310, wahl == 0 ? kGelb : kWeiss);
  for (int32_t c = 0; c < 3; ++c)
    for (int32_t r = 1; r <= kSpalte; ++r) {
      const int32_t i = kSpalte * c + r;
      Schrift(i == wahl ? 17 : 16);
      Schatten(SaveScreen.SlotText[static_cast<size_t>(i)], 50 + 230 * c, 315 + 20 * r, i == wahl ? kGelb : kWeiss);
    }
}

void Beschriftung() {
  if (!Rendern) return;
  AufBackBuffer("Arial", 24, [] {
    Kopf(Wortlaut());
    Bestenliste();
    Slots();
  });
}

// The fade-in from black over the first frames, the logo, the panel.
void Vordergrund() {
  if (!Rendern) return;
  RenderStart();
  const float a = 1.0f - static_cast<float>(LevelTick) / kEinblendBilder;
  if (a > 0) {
    SetUpColor(TexWeiss, 0, 0, 0, a);
    SetUpRect(TexWeiss, 0, 0, kBildschirmBreite, kBildschirmHoehe);
    Render(TexWeiss, false);
  }
  ShowSprite(TexLogo, SaveScreen.LogoX + 10, 10, false);
  SpielDisplay();
  RenderEnd();
}

void Zeigen() {
  if (!FrameEnde(16, HintergrundModus < 1 || Antizeitverschiebung)) AnzeigeAbwarten();
}

// The music goes round as long as the screen is up.
void Musik() {
  if (!SoundAn) return;
  if (OggIsPlaying() != 0)
    UpdateOgg();
  else if (PlayOggFile(SoundPfad + kMusik) == 0 && DebugModus)
    DebugLog("Can not Replay Save_Screen.ogg");
}

using Schritt = void (*)();
constexpr std::array<Schritt, 10> kDurchlauf = {
    Tasten, Zaehlen, Hintergrund, Beschriftung, ShowMSGS, Vordergrund, Zeigen, Musik, DInputPoll, [] {
      if (NachSaveScreenBild) NachSaveScreenBild();
    }};

bool Verlassen() {
  const SaveScreenDaten& s = SaveScreen;
  return (s.Escape && !TasteEscape()) || (s.Enter && !TasteEingabe(0)) || Spielstatus == 10;
}

// ---- Exit --------------------------------------------------------------------------------

void Grossschrift(const Grosstext& g) {
  AufBackBuffer("Arial", g.hoehe, [&] { Schatten(Text(g.text), g.x, g.y, kWeiss); });
}

// The chosen slot is written and the result shown over the last picture; the sound
// only when it was saved. Nothing here may stop the screen from ending.
void Speichern() {
  SaveScreen.Gespeichert = SaveGameSlot(SaveScreen.SlotAuswahl);
  const Sprachtexte& t = Wortlaut();
  try {
    Grossschrift(SaveScreen.Gespeichert ? t.gespeichert : t.nichtGespeichert);
  } catch (...) {
  }
  if (!SaveScreen.Gespeichert || !SoundAn) return;
  // While quitting the sound table gives 0, which is another sound's number.
  const int32_t nr = LoadSound("Sound.vkp", "Save.wav", 0, 44100);
  if (nr >= 0 && Spielstatus != 10) PlaySound(nr, 0, 0.0, SoundLautstaerke);
}

}  // namespace

std::string SaveSpielerzeile(int32_t p) {
  const Sprachtexte& t = Wortlaut();
  const size_t i = p == 1 ? 1 : 0;
  std::string zeile = Text(t.spielerVor) + std::to_string(i + 1) + Text(t.spielerNach) + std::to_string(Spieler[i].Punkte);
  const int32_t platz = SaveScreen.Platz[i];
  if (*t.platz && platz < kKeinHighscorePlatz) zeile += t.platz + std::to_string(platz) + t.platzNach;
  return zeile;
}

int32_t SlotNachOben(int32_t Auswahl) { return Auswahl <= 0 ? kSaveSlots : Auswahl - 1; }
int32_t SlotNachUnten(int32_t Auswahl) { return Auswahl >= kSaveSlots ? 0 : Auswahl + 1; }
int32_t SlotNachRechts(int32_t Auswahl) {
  if (Auswahl <= 0) return Auswahl;
  return Auswahl + kSpalte > kSaveSlots ? Auswahl + kSpalte - kSaveSlots : Auswahl + kSpalte;
}
int32_t SlotNachLinks(int32_t Auswahl) {
  if (Auswahl <= 0) return Auswahl;
  return Auswahl - kSpalte < 1 ? Auswahl - kSpalte + kSaveSlots : Auswahl - kSpalte;
}

void SaveGame() {
  Eintreten();
  while (!Verlassen()) {
    for (Schritt s : kDurchlauf)
      if (SchirmAnweisung("Punkteabrechnung", s) == Ausgang::Ende) break;
  }
  if (SoundAn) StopOgg();
  if (SaveScreen.Enter && SaveScreen.SlotAuswahl >= 1) Speichern();
  upcall::FadeOut(0, false);
}
