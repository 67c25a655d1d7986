// Services of the front end whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "campaign/save_games.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/hidden_show.hpp"
#include "frontend/menu_pages.hpp"
#include "shell/program_state.hpp"

void Justanothereffect() {}

// The save games' loading, and the labels of the save screen.
void LoadGame(int32_t) {}
std::string GetSaveLabel(int32_t) { return "---"; }

namespace {
// A page still to come: the column stays in view, and the back key leads to `zurueck`.
void Platzhalter(int32_t zurueck) {
  MenuSpalte(true);
  if (MenuFokus() && MenuZurueck()) {
    Blenden();
    MenuSeite = zurueck;
  }
}
}  // namespace

// Until the ship select and the name entry are built, a new game starts at once.
void SeiteSchiff() { Spielstatus = 1; }
void SeiteName() { Spielstatus = 1; }
void SeiteSpiel() { Platzhalter(kSeiteOptionen); }
void SeiteLautstaerke() { Platzhalter(kSeiteOptionen); }
void SeiteTasten() { Platzhalter(kSeiteOptionen); }
void SeiteBonus() { Platzhalter(kSeiteOptionen); }
void SeiteHighscore() { Platzhalter(kSeiteHaupt); }
