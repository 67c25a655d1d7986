#pragma once
// The start of every headless run of a campaign screen: the game window over the demo
// data with its standard pictures, a fixed random sequence, the default high-score table,
// and two players whose results have places in it (250,000 the ninth, 750,000 the
// fourth), tagged 11 and 12; one player playing.
#include "campaign/highscore.hpp"
#include "platform/headless/headless.hpp"
#include "player/players_state.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "world/standard_pictures.hpp"

namespace testsupport {

inline void SchirmVorbereiten(const std::string& dataDir) {
  platform::headless::Reset();
  FreshState();
  SetConfigDefaults();
  FillSinTables();
  UseDemoData(dataDir);
  OpenGameWindow();
  LoadStandartSurfaces();
  RndReset();
  SetHighscoreDefaults();
  const char* namen[2] = {"Anna", "Ben"};
  for (int p = 0; p < 2; ++p) {
    Spieler[static_cast<size_t>(p)].Name = namen[p];
    Spieler[static_cast<size_t>(p)].Punkte = 250000 + 500000 * p;
    Spieler[static_cast<size_t>(p)].HighscoreNr = 11 + p;
  }
  LetzterSpieler = 0;
}

}  // namespace testsupport
