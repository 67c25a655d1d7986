// The bonus page (single levels that open up with each completed play-through) and the
// high-score page (the table on a panel with pulsing bands behind the first three rows).
#include <array>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "campaign/highscore.hpp"
#include "campaign/script_state.hpp"
#include "engine/primitives.hpp"
#include "engine/render.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/menu_page_parts.hpp"
#include "frontend/menu_pages.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "world/particles.hpp"

namespace {

// The bonus levels in the order of the page.
struct Bonuslevel {
  const char* Text;
  const char* Level;
};
constexpr std::array<Bonuslevel, 3> kBonus{{
    {"JUNGLE", "Level8-1 Jungle"},
    {"SPACE", "Spacestation Bonus"},
    {"STIFT", "Level Bleistift"},
}};

constexpr int32_t kOptionenBonus = 3;  // the options page's bonus entry

// --- Bonus levels ------------------------------------------------------------------------

// One level per completed play-through, at most three; the back entry follows them.
void BonusTexte() {
  static const Dreisprachig titel{"BONUS", "BONUS", "Бонус"};
  static const Dreisprachig zurueck{"BACK", "BACK", "Назад"};
  for (size_t i = 0; i < kBonus.size(); ++i) MenuText[i + 1] = kBonus[i].Text;
  MenuLetzter = Durchgaenge(static_cast<int32_t>(kBonus.size()));
  MenuText[0] = titel.Gewaehlt();
  MenuText[static_cast<size_t>(MenuLetzter) + 1] = zurueck.Gewaehlt();
}

void ZuDenOptionen() {
  Blenden();
  MenuSeite = kSeiteOptionen;
  MenuAuswahl = kOptionenBonus;
}

void BonusGewaehlt() {
  MenuPuls();
  if (MenuAuswahl == MenuLetzter) {
    MenuTon();
    ZuDenOptionen();
  } else if (MenuAuswahl >= 0 && MenuAuswahl < static_cast<int32_t>(kBonus.size())) {
    // The player count, the ship and the names follow; then this one level is played.
    MenuTon();
    Blenden();
    MenuSeite = kSeiteNeu;
    SkriptStand.EinzelLevel = true;
    SkriptStand.SkriptZeile = 0;
    LevelName = kBonus[static_cast<size_t>(MenuAuswahl)].Level;
    MenuAuswahl = 0;
  }
}

// --- High scores -------------------------------------------------------------------------

constexpr int32_t kGrau = 0x808080;

// A band of light behind the rows: one line of half-width `breite`, additive.
void Band(float x1, float y1, float x2, float y2, float breite, float r, float g, float b, float a1, float a2) {
  Linie(x1, y1, x2, y2, breite, r, g, b, a1, r, g, b, a2, true);
}

void Baender() {
  const int32_t a = LevelTick;
  Band(602, 246, 602, 268, 200, 1, 1, 0.2f, 0.1f + 0.1f * SinusB(a), 0.1f + 0.1f * CosinusB(a));
  Band(405, 256, 800, 256, 12, 1, 1, 0.2f, 0.3f + 0.1f * SinusB(2 * a), 0.3f + 0.1f * CosinusB(2 * a));
  Band(405, 276, 800, 276, 12, 1, 1, 1, 0.3f, 0.3f);
  Band(405, 296, 800, 296, 12, 0.6f, 0.2f, 0, 0.3f, 0.3f);
}

// A spark somewhere over the table (one beyond the screen's right edge is never seen).
void Funke() {
  float r[7];
  for (float& z : r) z = Rnd();
  Add1BigPartikel(400 + 600 * r[0], 245 + 230 * r[1], 5 * r[2] - 3, 5 * r[3] - 3, 1, 0.5f + 0.5f * r[4], 0.5f * r[5],
                  4, 2, 10, 14, 2 + 4 * r[6]);
}

// Lines 0..9 (places and names) the main page has written; the back line below them.
void Namen() {
  TextMenu& m = MenuLauf.Text;
  m.X = 410;
  m.Y = 245;
  TextZeile(10, "", 0);
  TextZeile(11, Sprache == "D" ? "Zur\xFC" "ck" : "Back", -1);
  m.Auswahl = 11;
  m.Letzte = 11;
  ShowTextMenu(m, false, false);
}

// The table unscrambled for as long as it lives, also when drawing fails.
struct Lesbar {
  Lesbar() { HighscoreCrypt(); }
  ~Lesbar() { HighscoreCrypt(); }
  Lesbar(const Lesbar&) = delete;
  Lesbar& operator=(const Lesbar&) = delete;
};

// The scores right-aligned on the rows of their names, read from the table unscrambled
// for the moment.
void Punkte() {
  {
    const BackBufferSchrift schrift("Arial", 24);
    const Lesbar lesbar;
    for (int32_t i = 1; i <= kHighscorePlaetze; ++i) {
      const std::string s = std::to_string(Highscore[static_cast<size_t>(i - 1)].Score);
      const float w = schrift.Breite(s);
      schrift.Text(s, 800.0 - w - 6, 225 + 20 * i, kGrau);
      schrift.Text(s, 800.0 - w - 5, 226 + 20 * i, kGrau);
    }
  }
  RenderStart();
}

}  // namespace

void SeiteBonus() {
  MenuLauf.ZielX = 155;
  MenuLauf.ZielY = 215;
  BonusTexte();
  MenuSpalte(false);
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) BonusGewaehlt();
  if (MenuZurueck()) ZuDenOptionen();
}

void SeiteHighscore() {
  MenuLauf.ZielX = 10;
  MenuSpalte(true);
  MenuPanel(static_cast<float>(360 + MenuLauf.Schub), 200, 800, 545);
  if (MenuLauf.Schub == 0) {
    Baender();
    Funke();
    Namen();
    Punkte();
  }
  if (!MenuFokus()) return;
  if (MenuBestaetigt()) {
    MenuTon();
    Blenden();
    MenuSeite = kSeiteHaupt;
  }
  if (MenuZurueck()) {
    Blenden();
    MenuSeite = kSeiteHaupt;
  }
}
