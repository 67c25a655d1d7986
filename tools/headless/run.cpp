#include "headless/run.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "campaign/game_loop.hpp"
#include "campaign/highscore.hpp"
#include "campaign/script.hpp"
#include "engine/input.hpp"
#include "engine/sound.hpp"
#include "engine/surfaces.hpp"
#include "platform/fs.hpp"
#include "platform/headless/headless.hpp"
#include "platform/window.hpp"
#include "player/players_state.hpp"
#include "run/program.hpp"
#include "run/program_state.hpp"
#include "run/variabeln.hpp"
#include "shell/appdata.hpp"
#include "shell/archive.hpp"
#include "shell/basic.hpp"
#include "shell/config.hpp"
#include "shell/process_end.hpp"
#include "world/level.hpp"
#include "world/ship_blocks_state.hpp"

namespace headless_run {
namespace {

namespace hl = platform::headless;
using Uhr = std::chrono::steady_clock;

constexpr int kSpace = 57;

// The run being played, for the game loop's tick hook.
struct Lauf {
  const Options* optionen = nullptr;
  const std::function<void(const Tick&)>* nachTick = nullptr;
  int64_t n = 0;
  Uhr::time_point letzter;
};
Lauf g_lauf;

void NachJedemTick() {
  const Uhr::time_point jetzt = Uhr::now();
  ++g_lauf.n;
  const Tick tick{g_lauf.n, std::chrono::duration<double>(jetzt - g_lauf.letzter).count()};
  if (*g_lauf.nachTick) (*g_lauf.nachTick)(tick);
  const int64_t ende = g_lauf.optionen->ticks;
  if (ende >= 0 && g_lauf.n >= ende && Spielstatus == 0) Spielstatus = 10;
  // The watcher's own time is not the next tick's.
  g_lauf.letzter = Uhr::now();
}

// The run's own per-user folder, when it has one: removed at the run's end.
std::string g_eigenerNutzerordner;

// The per-user folder of the run (see Options::userFolder), with its save folder.
void Nutzerordner(const Options& o) {
  // A folder named on the command line is the system's spelling.
  std::string ordner = o.userFolder.empty() ? std::string() : platform::fs::AddVerbatimRoot(o.userFolder);
  if (ordner.empty()) {
    const std::string temp = GetTempFolder();
    std::string muster = temp + "user-XXXXXX";
    if (temp.empty() || !mkdtemp(muster.data())) {
      std::fprintf(stderr, "harvo_headless: no temporary folder for a per-user folder of its own; name one\n");
      EndProcess(1);
    }
    ordner = g_eigenerNutzerordner = muster;
  }
  if (!platform::fs::EndsInSeparator(ordner)) ordner += '/';
  DatenOrdner = ordner;
  SaveOrdner = ordner + "save/";
  // The folders above it too, as the game makes its per-user folder.
  for (size_t i = 1; i <= SaveOrdner.size(); ++i)
    if (i == SaveOrdner.size() || SaveOrdner[i] == '/') platform::fs::MakeDir(SaveOrdner.substr(0, i));
}

// The program's start-up without its settings window: the defaults of a fresh
// configuration (the same keys and volumes on every machine, none of the player's
// settings read or written), full screen at the chosen depth. The start-up's defaults
// leave nothing of an earlier run in the same process, so runs repeat each other.
void Starten(const Options& o) {
  platform::WindowDesc desc;
  desc.caption = "Harvo";
  desc.width = 640;
  desc.height = 480;
  Form1 = platform::CreateWindow(desc, platform::DefWindowProc);
  SetStartDefaults();
  RandomizeTimer();
  // A folder named on the command line is the system's spelling, as the program's own is.
  AppPfad = o.dataFolder.empty() ? platform::fs::ProgramFolder() : platform::fs::AddVerbatimRoot(o.dataFolder);
  if (!platform::fs::EndsInSeparator(AppPfad)) AppPfad += '\\';
  // A copy of the game like any other: what ended copies left in the temporary folder
  // goes, and this one unpacks into a folder of its own.
  ClearFoldersOfEndedCopies();
  Nutzerordner(o);
  SetConfigDefaults();
  FensterModus = false;
  Farbtiefe = o.bits;
  SoundAn = o.sound;
  LetzterSpieler = o.twoPlayers ? 1 : 0;
  Schiff[0].Schiffstyp() = o.shipType;
  Init();
  if (!o.userFolder.empty()) LoadHighscore();
  LevelName = o.level;
  StartTick = o.startTick;
  SkipModus = true;
  SkriptStand = SkriptDaten{};
  SkriptStand.EinzelLevel = true;
  if (o.seed) {
    RndReset();
    Randomize(*o.seed);
  }
}

// The level loader; a key for its press-any-key wait, dropped when it did not wait.
void Laden() {
  hl::QueueKeys({kSpace});
  while (LadeDaten(LevelName + ".vlp", SkriptStand.LadeBild) && Spielstatus != 10) {
  }
  if (hl::KeyReadsLeft() > 0) DInputPoll();
}

// Every tick's keys are queued before the level starts: the game loop reads the keyboard
// once a tick, and nothing is allocated while it runs.
void TastenEinreihen(const Options& o) {
  size_t n = o.keys.size();
  if (o.ticks >= 0 && static_cast<size_t>(o.ticks) < n) n = static_cast<size_t>(o.ticks);
  for (size_t i = 0; i < n; ++i) hl::QueueKeys(o.keys[i]);
}

// The program's shut-down, without writing the configuration; also after a fatal error,
// so whatever fails in it is let go.
void Beenden() {
  NachTick = nullptr;
  try {
    SurfaceClear();
    Soundclear();
    Terminate();
    VariabelnTerminate();
  } catch (...) {
  }
  platform::DestroyAllWindows();
  Form1 = Form3 = FensterHandle = 0;
  if (!g_eigenerNutzerordner.empty()) platform::fs::RemoveFolderTree(g_eigenerNutzerordner);
  g_eigenerNutzerordner.clear();
}

}  // namespace

int Run(const Options& options, const std::function<void(const Tick&)>& afterTick) {
  hl::Reset();
  // Snow falls on one day of the year; a run is the same on every day.
  hl::SetDate({2001, 6, 1, 12, 0, 0});
  g_lauf = Lauf{&options, &afterTick, 0, Uhr::now()};
  try {
    Starten(options);
    NachTick = NachJedemTick;
    while (LevelSkript()) {
      if (Spielstatus != 10) Laden();
      if (Spielstatus == 10) continue;
      TastenEinreihen(options);
      g_lauf.letzter = Uhr::now();
      SpielLoop();
      if (options.afterLevel) options.afterLevel();
    }
    const int code = Spielstatus == 10 && g_lauf.n == 0 ? 1 : 0;
    Beenden();
    return code;
  } catch (const ProcessEnd& end) {
    Beenden();
    return end.code;
  }
}

}  // namespace headless_run
