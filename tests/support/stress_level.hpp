#pragma once
// The stress level: every pool of the game near full while two players fire. It is the
// demo level's pictures with a level file of its own, built by the tools' level writer:
// 101 enemies of four parts each on looping routes (a new one waits every second tick
// for a free slot), turrets filling the enemy shots, every enemy trailing effect
// particles, rain. What a level cannot fill on its own (the player shots and the small
// particles) `TopUpPools` keeps near full.
#include <string>

#include "headless/key_script.hpp"

namespace testsupport {

// The level description of "Stress" (tools/README.md has the format).
std::string StressLevelDescription();
// Writes `folder`/Data/ with "Stress.vlp" beside links to the demo data's other files, so
// a headless run with `folder` as its data folder can play it. False with the reason in
// `error`.
bool BuildStressLevel(const std::string& folder, std::string& error);
// The keys of both players: moving up and down while firing all the time.
headless_run::KeyScript StressKeys(int ticks);
// Fills the player shots and the small particles back up to their capacity, and the
// ships' energy (they are not to die of the enemies' fire).
void TopUpPools();

}  // namespace testsupport
