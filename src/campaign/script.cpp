#include "campaign/script.hpp"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "campaign/highscore.hpp"
#include "campaign/save_screen.hpp"
#include "campaign/upcalls.hpp"
#include "engine/display.hpp"
#include "engine/force.hpp"
#include "engine/text.hpp"
#include "platform/fs.hpp"
#include "platform/text.hpp"
#include "player/players.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"
#include "shell/screen.hpp"
#include "shell/timing.hpp"
#include "world/level.hpp"

namespace {

// No script comes near this; a larger file is taken for a damaged one.
constexpr uint64_t kDateiGrenze = uint64_t{16} << 20;

// The keywords in the order they are tested.
struct Schluesselwort {
  std::string_view wort;  // lower case; compared on its own length
  SkriptArt art;
  bool mitArgument;
};
constexpr std::array<Schluesselwort, 4> kSchluesselwoerter{{
    {"save", SkriptArt::Save, false},
    {"play", SkriptArt::Play, true},
    {"load", SkriptArt::Load, true},
    {"credits", SkriptArt::Credits, false},
}};

// "Loading" over the last frame, shown while the next video is opened. A display that
// cannot show it now only leaves the notice out.
void LadeHinweis() {
  if (!BackBuffer) return;
  try {
    DXCheck(platform::GetDC(*BackBuffer, TextDC));
    GdiSetFont(TextDC, "System", 18);
    if (Sprache == "R")
      GdiTextOut(Cyr("Загрузка"), 372, 490, TextDC, 0xFFFFFF, 0, false);
    else
      GdiTextOut("Loading", 376, 490, TextDC, 0xFFFFFF, 0, false);
    GdiDeleteFont(TextDC);
    platform::ReleaseDC(*BackBuffer, TextDC);
    TextDC = 0;
    Flip(false);
  } catch (const Err&) {
  }
}

// The back buffer black again after a video.
void Schwarz() {
  if (BackBuffer) BackBuffer->BltColorFill(&VollbildRect, 0);
}

// Both players' results (one with one player) into the high-score table; a result of the
// same game is entered only once.
void HighscoresEintragen() {
  for (int32_t p = 0; p <= LetzterSpielerIndex(); ++p)
    AddHighscore(Spieler[p].Name, Spieler[p].Punkte, Spieler[p].HighscoreNr);
}

// The level named in `LevelName` comes next.
bool LevelFolgt(const std::string& Bild) {
  SkriptStand.LadeBild = Bild;
  VeskPosSetup();
  return true;
}

// The steps of the lines, by `SkriptArt`; true when a level is to be played now.
bool Nichts(const std::string&) { return false; }

bool Speichern(const std::string&) {
  SaveGame();
  return false;
}

bool Video(const std::string& Argument) {
  LadeHinweis();
  upcall::PlayAVIFile(Argument, "Video.vkp");
  Schwarz();
  return false;
}

bool Laden(const std::string& Argument) {
  LadeZiel ziel = LadeZielVon(Argument);
  LevelName = std::move(ziel.Level);
  return LevelFolgt(ziel.Bild);
}

// The end of the campaign. The epilogue belongs to the second play-through and every
// later one, as does the second outro.
bool Abspann(const std::string&) {
  HighscoresEintragen();
  if (Durchgang > BesterDurchgang) BesterDurchgang = Durchgang;
  LadeHinweis();
  upcall::PlayAVIFile((BesterDurchgang >= 2 ? "Outro2" : "Outro") + Sprache + ".avi", "Video.vkp");
  Schwarz();
  LoadStandartSurfaces();
  upcall::ShowCredits();
  if (BesterDurchgang < 2) return false;
  LevelName = "Epilog";
  return LevelFolgt("");
}

using Schritt = bool (*)(const std::string& Argument);
constexpr std::array<Schritt, 5> kSchritte = {Nichts, Speichern, Video, Laden, Abspann};

// Why the script cannot run, in the game's language: it is missing, or it is there but
// cannot be read (too large for a script, or no file to read).
void SkriptFehler(bool vorhanden) {
  struct Texte {
    const char *D, *E, *R;
  };
  static constexpr Texte kFehlt{"Play.txt nicht gefunden", "Play.txt not found", "Play.txt не найден"};
  static constexpr Texte kUnlesbar{"Play.txt kann nicht gelesen werden", "Play.txt cannot be read",
                                   "Не удаётся прочитать Play.txt"};
  const Texte& t = vorhanden ? kUnlesbar : kFehlt;
  DebugLog(t.D);
  if (Sprache == "R")
    MsgBox(Cyr(t.R), mb::Critical, "", 1251);
  else
    MsgBox(Sprache == "D" ? t.D : t.E, mb::Critical);
}

// The script's line `SkriptZeile`, read afresh from the archive. False when the script
// has run out there; a script that cannot be read at all ends the program.
bool NaechsteZeile(std::string& Zeile) {
  const std::string ordner = Depack("Play.vkp", DatenPfad, false);
  const std::string datei = ordner + "Play.txt";
  std::vector<uint8_t> text;
  const bool gelesen = platform::fs::ReadAll(datei, text, kDateiGrenze);
  const bool vorhanden = gelesen || platform::fs::FileSize(datei) >= 0;
  KillDir(ordner);
  if (!gelesen) {
    SkriptFehler(vorhanden);
    Spielstatus = 10;
    return false;
  }
  return SkriptZeileLesen(text, SkriptStand.SkriptZeile, Zeile);
}

}  // namespace

SkriptSchritt ErkenneZeile(const std::string& Zeile) {
  for (const Schluesselwort& k : kSchluesselwoerter) {
    if (LCase(std::string_view(Zeile).substr(0, k.wort.size())) != k.wort) continue;
    return {k.art, k.mitArgument ? TrimBlanks(std::string_view(Zeile).substr(k.wort.size())) : std::string()};
  }
  return {};
}

LadeZiel LadeZielVon(const std::string& Argument) {
  // A missing field comes as one blank, which the trimming takes away.
  return {GetField(Argument, 1, ","), TrimBlanks(GetField(Argument, 2, ","))};
}

bool SkriptZeileLesen(std::span<const uint8_t> Text, int32_t Nummer, std::string& Zeile) {
  if (Nummer < 0) return false;
  size_t i = 0;
  for (int32_t n = 0; i < Text.size(); ++n) {
    size_t ende = i;
    while (ende < Text.size() && Text[ende] != '\r' && Text[ende] != '\n') ++ende;
    const size_t anfang = i;
    i = ende;
    if (i < Text.size() && Text[i] == '\r') ++i;
    if (i < Text.size() && Text[i] == '\n') ++i;
    if (n < Nummer) continue;
    // The file's end right after the line: the last line, which never runs.
    if (i >= Text.size()) return false;
    Zeile.assign(reinterpret_cast<const char*>(Text.data() + anfang), ende - anfang);
    return true;
  }
  return false;
}

bool LevelSkript() {
  ForceStop();
  if (Spielstatus == 10) return false;
  if (Spielstatus == 9) {
    Spielstatus = 0;
    return false;
  }
  if (SkriptStand.SkriptZeile == 0) VeskReset();
  if (SkriptStand.EinzelLevel) {
    SkriptStand.EinzelLevel = false;
    SkriptStand.SkriptZeile = kSkriptEnde;
    return LevelFolgt("");
  }
  for (;;) {
    if (Spielstatus == 10 || SkriptStand.SkriptZeile >= kSkriptEnde) return false;
    std::string zeile;
    const bool laeuft = NaechsteZeile(zeile);
    // From here the position names the line after this one, also for a save game
    // written by this line.
    ++SkriptStand.SkriptZeile;
    if (!laeuft) {
      if (Spielstatus != 10) HighscoresEintragen();
      return false;
    }
    const SkriptSchritt schritt = ErkenneZeile(zeile);
    if (kSchritte[static_cast<size_t>(schritt.Art)](schritt.Argument)) return true;
  }
}
