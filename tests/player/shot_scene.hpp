#pragma once
// What the tests of the special shot kinds share: a drawn 32-bit scene with the shot,
// glow, bar and effect pictures painted by code, enemies and rocks to aim at and run
// into, and the shots' own ticks.
#include <gtest/gtest.h>

#include <cstdint>

#include "player/shots_state.hpp"
#include "world/enemies_state.hpp"
#include "world/particles_state.hpp"

namespace shotscene {

class ShotTest : public ::testing::Test {
 protected:
  int32_t block = -1;  // a 20 x 20 block sprite
  int32_t big = -1;    // a 60 x 60 block sprite

  void SetUp() override;
  void TearDown() override;

  // One tick of a group inside a scene, as the game loop runs it.
  static void Tick(int32_t group);
  // A shot of player 0 in group `group`; returns its slot.
  static int32_t Shot(int32_t group, int32_t kind, float x, float y, float sx, float sy, float force,
                      float strength);
  static SchussDaten& At(int32_t group, int32_t slot) { return Schuesse[group][slot]; }
  // Enemy slot `e` of one part showing `sprite` at (x, y); returns the part.
  static Feindkomponente& Part(int32_t e, int32_t sprite, float x, float y, float hp);
  // Item `i` of the solid scenery showing `sprite` at (x, y).
  static void Rock(int32_t i, int32_t sprite, float x, float y);
  // The effect particles alive now, in slot order.
  static int32_t LiveBigParticles();
  static int32_t LiveSmallParticles(int32_t group);
};

// The newest effect particle made (the highest slot in use).
const BigPartikelDaten& NewestBig();

}  // namespace shotscene
