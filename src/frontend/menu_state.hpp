#pragma once
// The menu's state: its pictures and sounds, what lives as long as the program (the page
// shown, the graphic column's texts and selection, the renderers' key latches) and what
// one run of the menu starts afresh (the hangar fade, the gliding column, the sliding
// panel, the shared confirm and back latches, the rumble countdown, the text page).
#include <array>
#include <cstdint>
#include <string>

#include "shell/config.hpp"

// A text page: up to 27 lines, each with its colour code (-1 selectable, 0 a title,
// separator, blank or display-only line the selection passes over).
inline constexpr int32_t kTextMenuZeilen = 27;
struct TextMenu {
  int16_t X = 0;  // left edge of the text
  int16_t Y = 0;  // top of line 0
  std::array<std::string, kTextMenuZeilen> Zeile;
  std::array<int16_t, kTextMenuZeilen> Farbe{};
  int16_t Auswahl = 0;  // the selected line
  int16_t Letzte = 0;   // the last line drawn and navigated
};

// The menu's pictures, -1 until `LoadMenuSurfaces` has run. The ship pictures interleave
// the two turning ships: index 2 f is frame f of set 0, 2 f + 1 frame f of set 1.
inline constexpr int32_t kShipSelectBilder = 37;
inline int32_t TexHangar = -1;
inline int32_t TexHangarFrozen = -1;
inline std::array<int32_t, 2 * kShipSelectBilder> TexShipSelect = [] {
  std::array<int32_t, 2 * kShipSelectBilder> a{};
  a.fill(-1);
  return a;
}();
inline int32_t TexMenuTop = -1;
inline int32_t TexMenuBottom = -1;
inline int32_t TexMenuButton = -1;
inline std::array<int32_t, 2> TexMenuLight{-1, -1};
inline int32_t TexMenuBack = -1;
inline int32_t TexMenuLogo = -1;
// The confirm sound and the value-change sound of the option pages (the voice preview is
// the level's `SndSpeech`, which the menu's loader fills as well).
inline int32_t SndDude = -1;
inline int32_t SndPlingDing = -1;

// The pages.
enum MenuSeiten : int32_t {
  kSeiteStart = 0,  // before the first menu run: the start-up sequence is still to play
  kSeiteSchiff = 1,
  kSeiteName = 2,
  kSeiteHaupt = 3,
  kSeiteNeu = 10,
  kSeiteLaden = 20,
  kSeiteOptionen = 30,
  kSeiteSpiel = 31,
  kSeiteLautstaerke = 32,
  kSeiteTasten = 33,
  kSeiteBonus = 40,
  kSeiteHighscore = 50,
};

// The graphic column has at most five entries; the offsets keep one slot more.
inline constexpr int32_t kMenuEintraegeMax = 5;

// The released-latch of the down and the up key of one renderer: a key moves the
// selection once per press.
struct Tastenriegel {
  bool Runter = false;
  bool Hoch = false;
};

// What the menu keeps for the life of the program.
struct MenuDaten {
  int32_t MenuSeite = kSeiteStart;
  int32_t Spielerwahl = 0;  // the chosen player count: 0 one player, 1 two
  // The graphic page: title and entries (entry i is MenuText[i + 1]), the last entry's
  // index, the selected entry, and how far each entry's button is pushed out.
  std::array<std::string, kMenuEintraegeMax + 1> MenuText;
  int32_t MenuLetzter = 0;
  int32_t MenuAuswahl = 0;
  std::array<float, kMenuEintraegeMax + 1> MenuVersatz{};
  Tastenriegel TextRiegel;
  Tastenriegel SpaltenRiegel;
};
inline MenuDaten Menu;
inline int32_t& MenuSeite = Menu.MenuSeite;
inline std::array<std::string, kMenuEintraegeMax + 1>& MenuText = Menu.MenuText;
inline int32_t& MenuLetzter = Menu.MenuLetzter;
inline int32_t& MenuAuswahl = Menu.MenuAuswahl;
inline std::array<float, kMenuEintraegeMax + 1>& MenuVersatz = Menu.MenuVersatz;

// What one run of the menu starts afresh.
struct MenuLaufDaten {
  float HangarFade = -1.0f;  // the frozen hangar's alpha over the plain one
  float SpalteX = -1000.0f;  // the graphic column, gliding toward its target
  float SpalteY = 200.0f;
  float ZielX = 0.0f;
  float ZielY = 0.0f;
  int32_t Schub = 0;         // how far a text page's panel still has to slide in
  bool EingabeFrei = false;  // the confirm key was up at the last look
  bool ZurueckFrei = false;  // the back key (on the main page the pause key) was up
  int32_t Ruettelzeit = 0;   // frames until the joysticks' confirm pulse stops; rests at -1
  TextMenu Text;             // the text page, shared by every text page of the run
  int32_t NamensSpieler = 0;  // the player whose name is being entered
  // The key page: the key set shown, the capture state (-1 idle, 0 waiting, above 0 the
  // key just taken) and the configuration the back line returns to.
  float KeyPageSet = 0;
  int32_t KeyCapture = -1;
  KeyConfigDaten KeyConfigBackup;
};
inline MenuLaufDaten MenuLauf;

// At the start of every menu run.
inline void ResetMenuLauf() { MenuLauf = MenuLaufDaten{}; }
// As at program start: the start-up sequence still to play, no pictures or sounds.
inline void ResetMenu() {
  Menu = MenuDaten{};
  ResetMenuLauf();
  TexHangar = TexHangarFrozen = TexMenuTop = TexMenuBottom = TexMenuButton = TexMenuBack = TexMenuLogo = -1;
  TexShipSelect.fill(-1);
  TexMenuLight.fill(-1);
  SndDude = SndPlingDing = -1;
}
