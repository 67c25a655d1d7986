// Services of the front end whose own code comes later: each does nothing until then.
// Whoever builds one removes it from here.
#include "frontend/credits.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/hidden_show.hpp"
#include "frontend/logo.hpp"
#include "frontend/menu_pages.hpp"
#include "frontend/video.hpp"
#include "shell/program_state.hpp"

void PlayAVIFile(const std::string&, const std::string&) {}
void ShowCredits() {}
void ShowLogo(const std::string&, const std::string&, int32_t, int32_t, bool, bool) {}
void Justanothereffect() {}

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
