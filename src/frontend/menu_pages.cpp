// The page table of the menu, what the pages share, and the main, new-game, load and
// options pages.
#include "frontend/menu_pages.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "campaign/highscore.hpp"
#include "campaign/save_games.hpp"
#include "campaign/script_state.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "frontend/effects_state.hpp"
#include "platform/bytes.hpp"
#include "platform/codepage.hpp"
#include "platform/fs.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/config.hpp"
#include "shell/msgbox.hpp"

namespace {

// A text of a page in the three languages, as the game stores them (Windows-1252 for
// German and English, Windows-1251 for Russian).
struct Texte {
  std::string D, E, R;
  Texte(const char* d, const char* e, const char* r) : D(platform::Utf8ToCp1252(d)), E(e), R(Cyr(r)) {}
  const std::string& Gewaehlt() const { return MenuSprache(D, E, R); }
};

// The keys of the hidden combination on the main page, held together: H, V and S.
constexpr std::array<int32_t, 3> kGeheimeTasten{35, 47, 31};

// The save slots and the lines of the load page that show them.
constexpr int32_t kSlots = 21;
constexpr int32_t kErsteSlotZeile = 3;
constexpr int32_t kLadenZurueck = 25;

// The graphic page's title and entries 0..`letzter` from the page's texts.
void Spaltentexte(std::span<const Texte> texte, int32_t letzter) {
  for (int32_t i = 0; i <= letzter + 1; ++i) MenuText[static_cast<size_t>(i)] = texte[static_cast<size_t>(i)].Gewaehlt();
  MenuLetzter = letzter;
}

const Texte& LadenTitel() {
  static const Texte t{"Spiel laden", "Load Game", "Загрузить"};
  return t;
}
const Texte& LadenZurueck() {
  static const Texte t{"Zurück", "Back", "Назад"};
  return t;
}

void Spaltenziel(float x, float y) {
  MenuLauf.ZielX = x;
  MenuLauf.ZielY = y;
}

void Zeile(int32_t i, const std::string& text, int16_t farbe) {
  MenuLauf.Text.Zeile[static_cast<size_t>(i)] = text;
  MenuLauf.Text.Farbe[static_cast<size_t>(i)] = farbe;
}

// Lines 0..9 of the high-score page: place, ". " and the 16-character name, read from
// the table unscrambled for the moment.
void HighscoreZeilen() {
  HighscoreCrypt();
  for (int32_t p = 1; p <= kHighscorePlaetze; ++p)
    Zeile(p - 1, std::to_string(p) + ". " + HighscoreName(Highscore[static_cast<size_t>(p - 1)]), 0);
  HighscoreCrypt();
}

// Opens a page with a cross-fade and the confirm sound.
void Wechsel(int32_t seite) {
  MenuTon();
  Blenden();
  MenuSeite = seite;
}

// --- The main page -------------------------------------------------------------------

const std::array<Texte, 6>& HauptTexte() {
  static const std::array<Texte, 6> t = {{{"MENÜ", "MENU", "Меню"},
                                          {"Neu", "NEW", "Новая"},
                                          {"Laden", "LOAD", "Загрузить"},
                                          {"Optionen", "OPTIONS", "Настройки"},
                                          {"Highscore", "SCORE", "Рекорды"},
                                          {"Exit", "EXIT", "Выход"}}};
  return t;
}

void HauptEintrag() {
  switch (MenuAuswahl) {
    case 0:  // a new campaign from the script's first line
      Wechsel(kSeiteNeu);
      SkriptStand.SkriptZeile = 0;
      SkriptStand.EinzelLevel = false;
      break;
    case 1:
      Wechsel(kSeiteLaden);
      MenuLauf.Schub = 400;
      LadeSeiteAufbauen();
      break;
    case 2:
      Wechsel(kSeiteOptionen);
      MenuAuswahl = 0;
      break;
    case 3:
      Wechsel(kSeiteHighscore);
      HighscoreZeilen();
      MenuLauf.Schub = 400;
      break;
    case 4:  // leave the program, without a cross-fade
      MenuTon();
      Spielstatus = 9;
      break;
    default:
      break;
  }
}

bool GeheimeTastenGehalten() {
  for (int32_t k : kGeheimeTasten)
    if (!KeyState[static_cast<size_t>(k)]) return false;
  return true;
}

// --- The new-game page -----------------------------------------------------------------

const std::array<Texte, 4>& NeuTexte() {
  static const std::array<Texte, 4> t = {{{"NEU", "NEW", "Новая"},
                                          {"1 Spieler", "1 PLAYER", "1 игрок\""},
                                          {"2 Spieler", "2 PLAYER", "2 игрока"},
                                          {"Zurück", "BACK", "Назад"}}};
  return t;
}

// The player count chosen, on to the ship select.
void SpielerGewaehlt(int32_t wahl) {
  MenuSeite = kSeiteSchiff;
  Menu.Spielerwahl = wahl;
  LetzterSpieler = wahl;
  MenuLauf.Schub = 400;
}

void NeuEintrag() {
  switch (MenuAuswahl) {
    case 0:
      MenuTon();
      Blenden();
      SpielerGewaehlt(0);
      break;
    case 1:  // the second player joins without a cross-fade
      MenuTon();
      SpielerGewaehlt(1);
      MenuAuswahl = 0;
      break;
    case 2:
      Wechsel(kSeiteHaupt);
      MenuAuswahl = 0;
      break;
    default:
      break;
  }
}

// --- The load page ---------------------------------------------------------------------

void LadenEintrag() {
  const int32_t a = MenuLauf.Text.Auswahl;
  if (a >= kErsteSlotZeile && a < kErsteSlotZeile + kSlots) {
    LoadGame(a - (kErsteSlotZeile - 1));
    // A load that failed has ended the run already.
    if (Spielstatus == 0) Spielstatus = 1;
    MenuSeite = kSeiteHaupt;
  } else if (a == kLadenZurueck) {
    Wechsel(kSeiteHaupt);
  }
}

// The line of slot `s`: its label, "---" for a missing slot, and for a slot that cannot
// be read what could be read, not selectable. A slot whose label reads is offered only
// when the game would load it: choosing one it refuses would end the program.
void SlotZeile(int32_t s) {
  const std::string datei = SaveSlotDatei(s);
  const int32_t zeile = s + kErsteSlotZeile - 1;
  if (!platform::fs::FileExists(datei)) {
    Zeile(zeile, "---", 0);
    return;
  }
  std::vector<uint8_t> bytes;
  SlotLabel label;
  // The label lies at the start; its sizes are read and checked, the rest is not read.
  if (platform::fs::ReadStart(datei, bytes, 12 + 2 * static_cast<size_t>(kSaveLabelMax))) label = LiesSlotLabel(bytes);
  const bool waehlbar = label.Stand == SlotLabel::Gelesen && SlotLadbar(s);
  Zeile(zeile, label.Text, waehlbar ? -1 : 0);
}

// --- The options page ------------------------------------------------------------------

// Bonus levels are offered once a play-through has been completed.
bool MitBonus() { return BesterDurchgang > 0; }

const std::array<Texte, 6>& OptionenTexte() {
  static const std::array<Texte, 6> t = {{{"OPTIONEN", "OPTIONS", "Настройки"},
                                          {"Grundeins.", "GAME", "Игра\""},
                                          {"Lautstärke", "SOUND", "Звуки"},
                                          {"Tastenkon.", "KEYS", "Клавиши"},
                                          {"Bonus", "BONUS", "Бонус"},
                                          {"Zurück", "BACK", "Назад"}}};
  return t;
}

// A text page of the options: its slide offset, the first option line selected.
void Optionsseite(int32_t seite, int32_t schub) {
  Wechsel(seite);
  MenuLauf.Schub = schub;
  MenuLauf.Text.Auswahl = 3;
}

void OptionenEintrag() {
  if (MenuAuswahl == 0) {
    Optionsseite(kSeiteSpiel, 460);
  } else if (MenuAuswahl == 1) {
    Optionsseite(kSeiteLautstaerke, 320);
  } else if (MenuAuswahl == 2) {
    Optionsseite(kSeiteTasten, 700);
    MenuLauf.KeyConfigBackup = KeyConfig;
    MenuLauf.KeyCapture = -1;
    MenuLauf.KeyPageSet = 0;
  } else if (MenuAuswahl == MenuLetzter) {
    Wechsel(kSeiteHaupt);
    MenuAuswahl = 2;  // the main page opens on its options entry
  } else if (MenuAuswahl == 3) {
    Wechsel(kSeiteBonus);
    MenuAuswahl = 0;
  }
}

// The page table.
struct Seiteneintrag {
  int32_t Seite;
  MenuSeitenProzedur Prozedur;
};
constexpr std::array<Seiteneintrag, 11> kSeiten{{
    {kSeiteSchiff, SeiteSchiff},
    {kSeiteName, SeiteName},
    {kSeiteHaupt, SeiteHaupt},
    {kSeiteNeu, SeiteNeu},
    {kSeiteLaden, SeiteLaden},
    {kSeiteOptionen, SeiteOptionen},
    {kSeiteSpiel, SeiteSpiel},
    {kSeiteLautstaerke, SeiteLautstaerke},
    {kSeiteTasten, SeiteTasten},
    {kSeiteBonus, SeiteBonus},
    {kSeiteHighscore, SeiteHighscore},
}};

}  // namespace

MenuSeitenProzedur MenuSeitenEintrag(int32_t Seite) {
  for (const Seiteneintrag& e : kSeiten)
    if (e.Seite == Seite) return e.Prozedur;
  return nullptr;
}

void MenuSeiteZeigen() {
  if (MenuSeitenProzedur p = MenuSeitenEintrag(MenuSeite)) p();
}

bool MenuFokus() { return platform::GetFocus() == FensterHandle; }

bool MenuFlanke(bool gedrueckt, bool& frei) {
  if (!gedrueckt) {
    frei = true;
    return false;
  }
  if (!frei) return false;
  frei = false;
  return true;
}

bool MenuBestaetigt() { return MenuFlanke(TasteEingabe(0), MenuLauf.EingabeFrei); }
bool MenuZurueck() { return MenuFlanke(TasteZurück(0), MenuLauf.ZurueckFrei); }
bool MenuPause() { return MenuFlanke(TasteEscape(), MenuLauf.ZurueckFrei); }

void MenuPuls() {
  ForceStart(2500);
  MenuLauf.Ruettelzeit = 10;
}

void MenuTon() {
  if (SoundAn) PlaySound(SndDude, 0, 0, SoundLautstaerke);
}

void MenuPanel(float Left, float Top, float Right, float Bottom) {
  Filtern = true;
  SetUpRect(TexMenuBack, Left, Top, Right, Bottom);
  Render(TexMenuBack, false);
  Filtern = false;
}

void MenuSpalte(bool KeyLook) { ShowMenu(MenuLauf.SpalteX, MenuLauf.SpalteY, KeyLook); }

const std::string& MenuSprache(const std::string& D, const std::string& E, const std::string& R) {
  if (Sprache == "R") return R;
  if (Sprache == "D") return D;
  return E;
}

void SeiteHaupt() {
  Spaltenziel(155, 165);
  Spaltentexte(HauptTexte(), 4);
  MenuSpalte(false);
  if (MenuFokus()) {
    if (MenuBestaetigt()) {
      MenuPuls();
      HauptEintrag();
    }
    if (MenuPause()) Spielstatus = 9;
  }
  // The hidden show also starts from another window's focus.
  if (GeheimeTastenGehalten()) Spielstatus = 8;
}

void SeiteNeu() {
  Spaltenziel(155, 195);
  Spaltentexte(NeuTexte(), 2);
  MenuSpalte(false);
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) {
    MenuPuls();
    NeuEintrag();
  }
  if (MenuZurueck()) {
    Blenden();
    MenuAuswahl = 0;
    MenuSeite = kSeiteHaupt;
  }
}

void SeiteLaden() {
  MenuLauf.ZielX = 10;
  MenuSpalte(true);
  MenuPanel(static_cast<float>(MenuLauf.Schub + 420), 10, 800, 585);
  if (MenuLauf.Schub == 0) {
    MenuLauf.Text.X = 475;
    MenuLauf.Text.Y = 35;
    ShowTextMenu(MenuLauf.Text, false, false);
  }
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) {
    MenuPuls();
    LadenEintrag();
  }
  if (MenuZurueck()) {
    Blenden();
    MenuSeite = kSeiteHaupt;
  }
}

void SeiteOptionen() {
  Spaltenziel(5, 165);
  // Without the bonus entry the back entry moves up into its place.
  const std::array<Texte, 6>& t = OptionenTexte();
  const int32_t letzter = MitBonus() ? 4 : 3;
  Spaltentexte(std::span(t).first(static_cast<size_t>(letzter) + 1), letzter - 1);
  MenuText[static_cast<size_t>(letzter) + 1] = t[5].Gewaehlt();
  MenuLetzter = letzter;
  MenuSpalte(false);
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) {
    MenuPuls();
    OptionenEintrag();
  }
  if (MenuZurueck()) {
    Blenden();
    MenuSeite = kSeiteHaupt;
    MenuAuswahl = 2;
  }
}

void LadeSeiteAufbauen() {
  // In a language without these texts the title and back lines keep their text.
  const bool bekannt = Sprache == "E" || Sprache == "D" || Sprache == "R";
  Zeile(0, bekannt ? LadenTitel().Gewaehlt() : MenuLauf.Text.Zeile[0], 0);
  Zeile(1, std::string(20, '-'), 0);
  Zeile(2, "", 0);
  if (!platform::fs::DirExists(SaveOrdner)) platform::fs::MakeDir(SaveOrdner);
  for (int32_t s = 1; s <= kSlots; ++s) SlotZeile(s);
  Zeile(kErsteSlotZeile + kSlots, "", 0);
  Zeile(kLadenZurueck, bekannt ? LadenZurueck().Gewaehlt() : MenuLauf.Text.Zeile[kLadenZurueck], -1);
  MenuLauf.Text.Letzte = kLadenZurueck;
  MenuLauf.Text.Auswahl = kLadenZurueck;
}

// The save games read the label; the page only tells which kind of line it makes.
SlotLabel LiesSlotLabel(std::span<const uint8_t> bytes) {
  SlotLabel label;
  switch (SpielstandLabel(bytes, label.Text)) {
    case Spielstand::Ganz: label.Stand = SlotLabel::Gelesen; break;
    case Spielstand::Unbekannt: label = {SlotLabel::UnbekannteVersion, ""}; break;
    case Spielstand::Defekt: label.Stand = SlotLabel::Beschaedigt; break;
  }
  return label;
}
