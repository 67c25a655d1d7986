#pragma once
// The start of every headless menu test: the game window over the demo data with the
// standard and menu pictures, sound and videos off, the menu reset, a fixed random
// sequence.
#include <string>

#include "frontend/menu_assets.hpp"
#include "frontend/menu_state.hpp"
#include "platform/headless/headless.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "support/display.hpp"
#include "support/fresh_state.hpp"
#include "world/standard_pictures.hpp"

namespace testsupport {

inline void MenuVorbereiten(const std::string& dataDir, int32_t seed) {
  platform::headless::Reset();
  FreshState();
  ResetMenu();
  SetConfigDefaults();
  FillSinTables();
  UseDemoData(dataDir);
  SoundAn = false;
  VideoAn = false;
  OpenGameWindow();
  LoadStandartSurfaces();
  LoadMenuSurfaces();
  Randomize(seed);
}

}  // namespace testsupport
