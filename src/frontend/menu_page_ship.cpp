// The last two steps of a new game: the ship select with the turning ship on its panel,
// and the name entry of each player, which draws the high-score tag of the coming game
// and, after the last player, ends the menu.
#include <string>

#include "campaign/game_loop_state.hpp"
#include "engine/keys.hpp"
#include "engine/render.hpp"
#include "engine/sprites.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu_page_parts.hpp"
#include "frontend/menu_pages.hpp"
#include "platform/codepage.hpp"
#include "player/players_state.hpp"
#include "run/program_state.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/ship_blocks_state.hpp"

namespace {

constexpr int32_t kZurueckEintrag = 2;
constexpr int32_t kSchub = 400;

// --- Ship select -------------------------------------------------------------------------

void Spaltentexte() {
  static const Dreisprachig texte[4] = {{"SHIP", "SHIP", "КОРАБЛЬ"},
                                        {"V-Tonator", "V-Tonator", "V-Tonator"},
                                        {"V-Phyton", "V-Phyton", "V-Phyton"},
                                        {"Zurück", "BACK", "Назад"}};
  for (size_t i = 0; i < 4; ++i) MenuText[i] = texte[i].Gewaehlt();
  MenuLetzter = kZurueckEintrag;
}

// Picture j of the turn of ship `eintrag`: the V-Tonator turns backwards through the
// second set, the V-Phyton forwards through the first.
int32_t SchiffBild(int32_t eintrag, int32_t j) {
  const int32_t f = Mod(j, kShipSelectBilder);
  const int32_t index = eintrag == 0 ? 2 * (kShipSelectBilder - 1 - f) + 1 : 2 * f;
  return TexShipSelect[static_cast<size_t>(index)];
}

// The turning ship on its panel: four pictures blended, one new picture every two frames.
void DrehendesSchiff(int32_t eintrag) {
  int32_t t = LevelTick;
  if (IDiv(t, 2) - 3 < 0) t = 6;
  const int32_t k = IDiv(t, 2);
  const float h = static_cast<float>(Mod(t, 2));
  MenuPanel(static_cast<float>(450 + MenuLauf.Schub), 280, 800, 595);
  const struct {
    int32_t j;
    float alpha;
  } lagen[4] = {{k - 1, 1.0f}, {k, h / 2}, {k - 3, 0.25f - h / 20}, {k - 2, h / 20}};
  for (const auto& l : lagen) {
    const int32_t bild = SchiffBild(eintrag, l.j);
    SetUpColor(bild, 1, 1, 1, l.alpha);
    ShowSprite(bild, 510 + MenuLauf.Schub, 310, true);
  }
}

// Back to the new-game page, its player count highlighted.
void ZurNeuSeite() {
  Blenden();
  MenuSeite = kSeiteNeu;
  MenuAuswahl = LetzterSpieler;
}

void SchiffGewaehlt() {
  MenuPuls();
  if (MenuAuswahl == 0 || MenuAuswahl == 1) {
    MenuTon();
    Schiff[0].Schiffstyp() = MenuAuswahl;
    MenuLauf.Schub = kSchub;
    MenuLauf.NamensSpieler = 0;
    TastenZeichen = 0;  // what was typed before is not a name
    MenuSeite = kSeiteName;
    Blenden();
  } else if (MenuAuswahl == MenuLetzter) {
    MenuTon();
    ZurNeuSeite();
  }
}

// --- Name entry --------------------------------------------------------------------------

// The prompt and the name (with the blinking cursor while it is typed).
void NamensZeilen(bool cursor) {
  const int32_t n = MenuLauf.NamensSpieler;
  TextMenu& m = MenuLauf.Text;
  m.X = 520;
  m.Y = 305;
  m.Auswahl = 1;
  m.Letzte = 1;
  const std::string nummer = std::to_string(n + 1);
  TextZeile(0, Sprache == "D" ? "Name f\xFCr Spieler " + nummer + ":" : "Please insert Name, player " + nummer + ":", 0);
  TextZeile(1, Spieler[static_cast<size_t>(n)].Name + (cursor ? "_" : ""), -1);
}

// Return: the tag, a name for a blank one, the name shown without its cursor, then the
// next player or the game.
void NameFertig() {
  const int32_t n = MenuLauf.NamensSpieler;
  std::string& name = Spieler[static_cast<size_t>(n)].Name;
  HighscoreTagZiehen(n);
  if (TrimBlanks(name).empty()) name = StandardName(n);
  NamensZeilen(false);
  ShowTextMenu(MenuLauf.Text, false, false);
  if (n >= LetzterSpieler) {
    Spielstatus = 1;
  } else {
    MenuLauf.NamensSpieler = n + 1;
    Blenden();
  }
}

// The Return that chose the ship is still held when the page opens, and its character
// may come in a frame later than the key itself: a Return counts as the end of the name
// only once the confirm key has been let go since the ship was chosen.
void Getippt() {
  if (!TasteEingabe(0)) MenuLauf.EingabeFrei = true;
  const int32_t zeichen = TastenZeichen;
  if (zeichen == 13) {
    if (MenuLauf.EingabeFrei) NameFertig();
  } else if (zeichen > 0) {
    NameTippen(Spieler[static_cast<size_t>(MenuLauf.NamensSpieler)].Name, zeichen);
  }
  TastenZeichen = 0;
}

}  // namespace

void SeiteSchiff() {
  MenuLauf.ZielX = 10;
  MenuLauf.ZielY = 165;
  Spaltentexte();
  MenuSpalte(false);
  if (MenuAuswahl == 0 || MenuAuswahl == 1)
    DrehendesSchiff(MenuAuswahl);
  else if (MenuAuswahl == kZurueckEintrag)
    MenuLauf.Schub = kSchub;  // the panel slides in again once a ship is highlighted
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) SchiffGewaehlt();
  if (MenuPause()) ZurNeuSeite();
}

void SeiteName() {
  // Characters are typed in the code page of the language.
  platform::SetTypingCodePage(Sprache == "R" ? platform::CodePageCyrillic : platform::CodePageWestern);
  MenuPanel(static_cast<float>(480 + MenuLauf.Schub), 295, 800, 395);
  MenuSpalte(true);
  if (MenuLauf.Schub == 0) {
    NamensZeilen(Mod(LevelTick, 2) == 0);
    ShowTextMenu(MenuLauf.Text, false, false);
  }
  if (!MenuFokus()) return;
  Getippt();
  if (MenuPause()) {
    Blenden();
    MenuSeite = kSeiteSchiff;
  }
}
