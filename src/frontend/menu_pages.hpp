#pragma once
// The menu's pages and their two renderers. A graphic page is a column of buttons drawn
// by `ShowMenu`; a text page is a list of lines on a panel drawn by `ShowTextMenu` (with
// the column beside it, its keys locked). Each page runs once per menu frame, between the
// frame's background and its particles and overlays, from the page table.
//
// Conventions every page follows: keys count only while the game window has the focus;
// confirm and back act on the press edge through the run's two shared latches, so a key
// still held from another page does nothing until it has been released; a confirm on a
// graphic page starts the joysticks' pulse; a page opens another by setting `MenuSeite`
// (and, for a text page, its lines, selection and slide offset) in the same step, so the
// new page shows from the next frame.
#include <cstdint>
#include <span>
#include <string>

#include "frontend/menu_state.hpp"

// Draws the text page `Menu` (Arial 24, lines 20 pixels apart, each drawn twice for its
// shadow; the selected line white, or yellow with `Blink`) and, unless `KeyLook` or
// another window has the focus, moves `Menu.Auswahl` with the down and up keys, passing
// over lines of colour code 0. A page without a selectable line keeps its selection.
// Call inside the frame's scene: it ends the scene for the text and begins it again.
void ShowTextMenu(TextMenu& Menu, bool KeyLook, bool Blink);
// Draws the graphic column with the top-left of its top bar at (x, y): two wavy lines of
// dots with a rare sparkle, a light and a button per entry (the selected one slides out
// to 30 pixels), the two end bars, the title and the entry texts (Arial 36); unless
// `KeyLook` or another window has the focus, the down and up keys move `MenuAuswahl`.
// Call inside the frame's scene, like `ShowTextMenu`.
void ShowMenu(float x, float y, bool KeyLook);
// The word for on or off in the chosen language ("Ein"/"Aus", "On"/"Off", "Вкл."/
// "Выкл."); "" in any other language.
std::string OnOff(bool B);

// The page of `MenuSeite`, through the page table; any other value draws no page.
void MenuSeiteZeigen();
// The page procedure of a page number; nullptr for a number without a page.
using MenuSeitenProzedur = void (*)();
MenuSeitenProzedur MenuSeitenEintrag(int32_t Seite);

// The pages, one procedure each (called once per frame by the page table).
void SeiteHaupt();              // 3: new, load, options, score, exit
void SeiteNeu();                // 10: one or two players, back
void SeiteLaden();              // 20: the 21 save slots, back
void SeiteOptionen();           // 30: game, sound, keys, (bonus,) back
void SeiteSchiff();             // 1: the ship select
void SeiteName();               // 2: the name entry
void SeiteSpiel();              // 31: the game settings
void SeiteLautstaerke();        // 32: the volumes
void SeiteTasten();             // 33: the key configuration
void SeiteBonus();              // 40: the bonus levels
void SeiteHighscore();          // 50: the high scores

// What the pages share.

// The game window has the focus: keys count.
bool MenuFokus();
// A press edge through the released-latch `frei`: true when the key is down and was up
// at the last look.
bool MenuFlanke(bool gedrueckt, bool& frei);
// The press edge of confirm (`TasteEingabe(0)`), through the run's confirm latch.
bool MenuBestaetigt();
// The press edge of back (`TasteZurück(0)`), through the run's back latch.
bool MenuZurueck();
// The press edge of the pause key of any input device (`TasteEscape`), through the same
// back latch.
bool MenuPause();
// The joysticks' confirm pulse: strength 2500, stopped ten frames later by the frame.
void MenuPuls();
// The confirm sound, while sound is on.
void MenuTon();
// The text panel: the menu back picture stretched over the rectangle, filtered.
void MenuPanel(float Left, float Top, float Right, float Bottom);
// The graphic column at its gliding position.
void MenuSpalte(bool KeyLook);
// The text of the chosen language, as the graphic pages choose it: Russian for "R",
// German for "D", English for anything else.
const std::string& MenuSprache(const std::string& D, const std::string& E, const std::string& R);

// The load page's lines from the save folder (made when it is missing): the title, the 21
// slots (a label selectable when the game would load the slot, "---" for a missing slot,
// a slot that cannot be read or loaded shown as far as its label could be read and not
// selectable) and the back line, which is selected.
void LadeSeiteAufbauen();

// The label of a save file, read from its first bytes as the save games store it: after
// the version (a Single), for versions up to 3 the label's two sizes and its zlib block,
// for version 4 its length and its bytes. Every size must lie within the bytes left, and
// a label holds at most `kSaveLabelMax` bytes.
struct SlotLabel {
  enum Zustand { Gelesen, Beschaedigt, UnbekannteVersion };
  Zustand Stand = Beschaedigt;
  std::string Text;  // the label, or what could be read of it
};
SlotLabel LiesSlotLabel(std::span<const uint8_t> bytes);
