#include "run/variabeln.hpp"

#include <unistd.h>

#include <cmath>
#include <vector>

#include "campaign/checkpoints.hpp"
#include "campaign/game_loop_state.hpp"
#include "campaign/highscore_state.hpp"
#include "campaign/ogg.hpp"
#include "campaign/panel_state.hpp"
#include "campaign/pause_screen_state.hpp"
#include "campaign/save_screen_state.hpp"
#include "campaign/script_state.hpp"
#include "campaign/special_events_state.hpp"
#include "campaign/ticker_state.hpp"
#include "campaign/upcalls.hpp"
#include "engine/force.hpp"
#include "engine/input.hpp"
#include "engine/keys.hpp"
#include "engine/magnifier.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "frontend/credits.hpp"
#include "frontend/effects.hpp"
#include "frontend/effects_state.hpp"
#include "frontend/key_text.hpp"
#include "frontend/logo.hpp"
#include "frontend/menu_state.hpp"
#include "frontend/video.hpp"
#include "platform/fs.hpp"
#include "platform/music.hpp"
#include "platform/process.hpp"
#include "player/beam_state.hpp"
#include "player/drones_state.hpp"
#include "player/firing_state.hpp"
#include "player/horn_state.hpp"
#include "player/nova_state.hpp"
#include "player/players.hpp"
#include "player/pods.hpp"
#include "player/satellite_state.hpp"
#include "player/score.hpp"
#include "player/shots_state.hpp"
#include "player/upcalls.hpp"
#include "run/program.hpp"
#include "run/program_state.hpp"
#include "shell/angles.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/pool.hpp"
#include "shell/timing.hpp"
#include "world/animations_state.hpp"
#include "world/collision_table_state.hpp"
#include "world/enemies_state.hpp"
#include "world/enemy_shots_state.hpp"
#include "world/game_sounds_state.hpp"
#include "world/landscape_state.hpp"
#include "world/level_data_state.hpp"
#include "world/particles_state.hpp"
#include "world/pickups_state.hpp"
#include "world/pictures_state.hpp"
#include "world/radio.hpp"
#include "world/routes_state.hpp"
#include "world/ship_blocks_state.hpp"
#include "world/upcalls.hpp"
#include "world/weather_state.hpp"

namespace {

const char* const ProduktName = "Harvo";

// Two procedures of the program run are called from the subsystems below it: the pool
// reset by the game loop and the front end, the closing of the game windows by the
// picture loader. They are handed in first, and so is the score, which the level world
// awards.
void ProzedurenReichen() {
  ResetAllPools = VariabelnLösch;
  CloseGameWindows = UnloadGameWindows;
  upcall::AddPunkte = AddPunkte;
  upcall::NextPartikel = NextPartikel;
  // The super nova turns the music down while it runs.
  upcall::SetOggVolume = SetOggVolume;
  // The game loop and the campaign's screens use the front end's transitions and key names.
  upcall::OverlayEffekte = OverlayEffekte;
  upcall::FadeOut = FadeOut;
  upcall::GetKeyText = GetKeyText;
  // The level script shows the front end's videos and credits.
  upcall::PlayAVIFile = PlayAVIFile;
  upcall::ShowCredits = ShowCredits;
  // The level timeline places the checkpoint gates.
  upcall::SetCheckpoint = SetCheckpoint;
}

// The settings as without a configuration file (until it is read), no frame begun, no key
// down, no joystick and no rumble (until the devices are opened), and the music player at
// full volume: the last game may have faded it out, and the next one's music would start
// silent until its first tick turns it up.
void EinstellungenUndGeraete() {
  ResetConfig();
  ResetFrameClock();
  ResetInput();
  ResetForce();
  platform::music::SetVolume(100);
  TastenZeichen = 0;
  // The debug key F3 turns it on for the rest of the run; a new start shows frames as
  // they come again.
  Antizeitverschiebung = false;
  Pi = static_cast<float>(4.0 * std::atan(1.0));
  PartikelAn = true;
  PartikelD3D = true;
  LandschaftsKontakt = true;
}

// The players of a new game. What a game leaves for the next one in the same run (the
// ship blocks, the pods' and the satellite's records, the beams' modes, ...) starts here
// as a new process has it.
void NeueSpieler() {
  ResetShipBlocks();
  ResetPlayers();
  ResetPods();
  ResetSatellite();
  ResetDrones();
  ResetBeamsAtStart();
  ResetFiring();
  ResetHorn();
  VeskReset();
}

// No level, campaign or menu visit yet: their state and the tables of pictures and sounds
// empty, and the scores shown, the ticker, the wind, the enemy shots' shared route
// variables and the menu's start-up sequence as a new process has them.
void NochNichtsGespielt() {
  ResetGameLoop();
  ResetCheckpoints();
  ResetPanel();
  ResetMessageHistory();
  ResetSpecialEventValues();
  ResetSkriptStand();
  ResetPauseScreen();
  ResetSaveScreen();
  ResetHighscore();
  ResetScreenEffects();
  ResetMenu();
  ResetLevelData();
  ResetPictureHandles();
  ResetGameSounds();
  ResetRadioMessages();
  ResetWeatherAndBackground();
  ResetShotVariables();
  // `SurfacesMax` and `SoundsMax` read -1, and no alpha texture has been made: a 16-bit
  // game before would have the next one make its alpha textures 4-4-4-4 too.
  Surfaces.clear();
  AlphaFormat = 0;
  Sounds.clear();
  EntpackListe.assign(1, "");
}

// The pools as made: a level pass only frees their slots, this blanks them too.
void PoolsAnlegen() {
  for (int g = 0; g < 2; ++g) {
    Partikel[g].Clear();
    Schuesse[g].Clear();
  }
  BigPartikel.Clear();
  Blasen.Clear();
  Animationen.Clear();
  GegnerListe.Clear();
  GegnerSchuesse.Clear();
  SchussErzeuger.Clear();
  SpezialObjekte.Clear();
  PunkteAnzeigen.Clear();
  CreateLandscapeLayers();
  ReserveShotTrails();
  ResetCollisionTableAtStart();
}

}  // namespace

void VariabelnInit() {
  RandomizeTimer();

  AppPfad = platform::fs::ProgramFolder();
  if (!platform::fs::EndsInSeparator(AppPfad)) AppPfad += '\\';
  if (chdir(platform::fs::Resolve(AppPfad).c_str()) != 0) {
    // The program folder stays reachable by its full path; nothing depends on the cwd.
  }

  if (!CreateAppDataFolder(ProduktName, "save\\", true, CSIDL_APPDATA, true)) {
    DatenOrdner = AppPfad;
    SaveOrdner = AppPfad + "save\\";
    platform::fs::MakeDir(SaveOrdner);
  }

  SetStartDefaults();
}

void SetStartDefaults() {
  ResetProgramRunAtStart();
  ProzedurenReichen();
  EinstellungenUndGeraete();
  NeueSpieler();
  NochNichtsGespielt();
  PoolsAnlegen();
  SetJoystickCodes();
}

void VariabelnLösch() {
  ResetNova();
  ResetBackgroundScroll();
  ResetOverlays();
  LupeAuftraege.clear();

  for (int g = 0; g < 2; ++g) {
    Partikel[g].Reset();
    Schuesse[g].Reset();
  }
  ResetLandscape();
  Animationen.Reset();
  ResetCheckpointGate();
  Blasen.Reset();
  BigPartikel.Reset();

  ResetEnemies();  // also: no boss placed yet (`SonderGegnerDa`)
  ResetCollisionTable();

  ResetEnemyShots();
  SpezialObjekte.Reset();
  PunkteAnzeigen.Reset();

  ResetRouteVariables();

  ResetRaindrops();

  VeskInit(0);
  VeskInit(1);

  ResetWeather();
  ResetWater();
  const platform::DateTime heute = platform::Now();
  if (heute.month == 12 && heute.day == 24) Wetter = 1;

  ResetTrails();  // after the ships are armed: the trail holds their records now
  ResetBeams();
  ResetTicker();
  ResetCombos();

  ResetRadio();
  Erschuetterung = 0;
  ResetNoise();

  KillFunktionsSound();

  ResetSpecialEvent();

  ForceStop();
  DropEffektTerminate();

  ResetExtraLifeEffect();
}

void VariabelnTerminate() {
  FreeLandscapeLayers();
  FreeLevelCatalogues();
  std::vector<std::string>().swap(EntpackListe);
}
