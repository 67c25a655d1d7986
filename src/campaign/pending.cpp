// Services of the campaign whose own code comes later: each does as little as keeps the
// game loop whole until then. Whoever builds one removes it from here.
#include <array>

#include "campaign/checkpoints.hpp"
#include "campaign/save_screen.hpp"
#include "campaign/continue_screen.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/panel.hpp"
#include "campaign/pause_screen.hpp"
#include "campaign/special_events.hpp"
#include "engine/keys.hpp"
#include "player/players_state.hpp"
#include "shell/program_state.hpp"
#include "world/level_data_state.hpp"
#include "world/timeline.hpp"
#include "world/weather_state.hpp"

namespace {

// Without checkpoint files the one checkpoint is the level start, kept in memory: what
// the timeline and the routes may have changed since, and the players.
struct Levelstart {
  int32_t Tick = 0;
  std::array<float, 7> Speed{};
  int32_t Hintergrund = 0;
  int32_t Wasser = 0;
  std::array<SpielerDaten, 2> Spieler;
};
Levelstart g_levelstart;

}  // namespace

void SaveCheckpoint(int32_t) {
  g_levelstart.Tick = LevelTick;
  for (size_t k = 0; k < Ebenen.size(); ++k) g_levelstart.Speed[k] = Ebenen[k].Speed;
  g_levelstart.Hintergrund = HintergrundModus;
  g_levelstart.Wasser = Wasserstand;
  g_levelstart.Spieler = Spieler;
}

// The emptied world goes back to the level start: its clock, the layers' speeds and the
// scenery already on screen there.
void LoadCheckpoint() {
  LevelTick = g_levelstart.Tick;
  for (size_t k = 0; k < Ebenen.size(); ++k) Ebenen[k].Speed = g_levelstart.Speed[k];
  HintergrundModus = g_levelstart.Hintergrund;
  Wasserstand = g_levelstart.Wasser;
  Spieler = g_levelstart.Spieler;
  SpielPastTicks();
}

void KillCheckpoint() {}
void SpielCheckpoint(int32_t) {}

void SpielSpezial(int32_t) {}
void SaveGame() {}
void SpielDisplay() {}

// No continue screen yet: the last life ends the game.
bool Continue() { return false; }

// No pause screen yet: the pause key leaves the level as the pause screen's exit would;
// a window that lost the focus just plays on.
void Pause() {
  if (TasteEscape()) Spielstatus = 9;
}
