// harvo_headless: the game on the headless backend. It plays one level without a window,
// as "harvo -Skip -Level NAME" would, with scripted keys, and prints one line per tick:
// the ticks played, the level tick, the level's end code and a digest of the game state.
// The last line gives the mean cost of a tick. tools/README.md lists the options.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "campaign/game_loop_state.hpp"
#include "headless/digest.hpp"
#include "headless/key_script.hpp"
#include "headless/png.hpp"
#include "headless/run.hpp"
#include "platform/headless/headless.hpp"

namespace {

const char kUsage[] =
    "usage: harvo_headless -Skip -Level NAME [-Ticks N] [-Keys FILE] [-Seed N] [-Tick N]\n"
    "                      [-Players 1|2] [-Ship 0|1|2] [-Bits 16|32] [-NoSound] [-Data FOLDER]\n"
    "                      [-UserFolder FOLDER] [-Shot N FILE] [-Quiet]\n";

[[noreturn]] void Usage(const std::string& why) {
  std::fprintf(stderr, "harvo_headless: %s\n%s", why.c_str(), kUsage);
  std::exit(2);
}

// A whole number, or the usage.
int64_t Number(const char* text, const char* option) {
  char* end = nullptr;
  const long long n = std::strtoll(text, &end, 10);
  if (end == text || *end != '\0') Usage(std::string(option) + " wants a number, not \"" + text + "\"");
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  headless_run::Options o;
  int64_t shotTick = -1;
  std::string shotFile;
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage(a + " wants a value");
      return argv[++i];
    };
    if (a == "-Skip") {
    } else if (a == "-Level") {
      o.level = value();
    } else if (a == "-Ticks") {
      o.ticks = Number(value(), "-Ticks");
      if (o.ticks < 1) Usage("-Ticks wants at least 1");
    } else if (a == "-Keys") {
      const char* file = value();
      std::ifstream in(file, std::ios::binary);
      if (!in) Usage(std::string("cannot read ") + file);
      std::stringstream text;
      text << in.rdbuf();
      std::string error;
      if (!headless_run::ParseKeyScript(text.str(), o.keys, error)) Usage(std::string(file) + ": " + error);
    } else if (a == "-Seed") {
      o.seed = static_cast<double>(Number(value(), "-Seed"));
    } else if (a == "-Tick") {
      o.startTick = static_cast<int32_t>(Number(value(), "-Tick"));
    } else if (a == "-Players") {
      o.twoPlayers = Number(value(), "-Players") == 2;
    } else if (a == "-Ship") {
      o.shipType = static_cast<int32_t>(Number(value(), "-Ship"));
    } else if (a == "-Bits") {
      o.bits = static_cast<int32_t>(Number(value(), "-Bits"));
      if (o.bits != 16 && o.bits != 32) Usage("-Bits is 16 or 32");
    } else if (a == "-NoSound") {
      o.sound = false;
    } else if (a == "-Data") {
      o.dataFolder = value();
    } else if (a == "-UserFolder") {
      o.userFolder = value();
    } else if (a == "-Shot") {
      shotTick = Number(value(), "-Shot");
      shotFile = value();
    } else if (a == "-Quiet") {
      quiet = true;
    } else {
      Usage("unknown option " + a);
    }
  }

  double total = 0;
  int64_t measured = 0;
  const int code = headless_run::Run(o, [&](const headless_run::Tick& t) {
    if (!quiet)
      std::printf("%" PRId64 " %d %d %016" PRIx64 "\n", t.n, LevelTick, LevelEnde, headless_run::StateDigest());
    // The first tick carries the level's set-up.
    if (t.n > 1) {
      total += t.seconds;
      ++measured;
    }
    if (t.n == shotTick && !headless_run::SaveLastFrame(shotFile))
      std::fprintf(stderr, "harvo_headless: cannot write %s\n", shotFile.c_str());
  });
  // What the game would have shown in a box (a damaged level says so there).
  for (const auto& box : platform::headless::MessageBoxes())
    std::fprintf(stderr, "harvo_headless: message box \"%s\": %s\n", box.title.c_str(), box.text.c_str());
  for (const auto& dialog : platform::headless::Dialogs()) {
    std::fprintf(stderr, "harvo_headless: dialog \"%s\"\n", dialog.caption.c_str());
    for (const auto& [label, text] : dialog.fields) std::fprintf(stderr, "  %s %s\n", label.c_str(), text.c_str());
  }
  if (measured > 0) {
    const double ms = 1000.0 * total / static_cast<double>(measured);
    std::printf("mean tick cost: %.3f ms (%.1f%% of the 16 ms tick) over %" PRId64 " ticks\n", ms, ms / 16.0 * 100.0,
                measured);
  }
  return code;
}
