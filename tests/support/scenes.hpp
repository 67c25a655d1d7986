#pragma once
// The scenes the scene benchmark and the thread-count test play: every level of the demo
// data, each headless on the same terms (full screen at 32 bits, sound on but heard by
// nobody, one seed) with the same keys, those of bench/scenes.keys.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "headless/run.hpp"

namespace testsupport {

struct Scene {
  std::string level;  // the level archive is <level>.vlp
  int32_t ship = 0;   // the ship type that plays it
};
// A scene in a test's messages: its level's name.
inline void PrintTo(const Scene& s, std::ostream* out) { *out << s.level; }

// Every level of the demo data: the campaign, the arsenal, the small test levels, the
// bonus levels, the special events and the super nova's levels (the satellite's played
// by the ship that carries it).
const std::vector<Scene>& DemoScenes();

// The folder that holds the demo data's Data/: the program's own (the tests) or the one
// above it (the benchmarks).
std::string DemoDataFolder();

// The keys of bench/scenes.keys in the source tree; false with the reason in `error`.
bool SceneKeys(headless_run::KeyScript& keys, std::string& error);

// A scene's run with `keys`, ending after `ticks` ticks at most.
headless_run::Options SceneOptions(const Scene& scene, const headless_run::KeyScript& keys, int64_t ticks);

}  // namespace testsupport
