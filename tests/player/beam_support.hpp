#pragma once
// What the beam tests share: the pictures the beam and its particles draw with, painted by
// code; ships with the standard hit box; sounds that count how often they were played; and
// a fixture that runs frames of the beam step as the game loop does.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/keys.hpp"
#include "platform/mixer.hpp"
#include "player/beam.hpp"
#include "player/players_state.hpp"
#include "ship_support.hpp"
#include "support/fresh_state.hpp"
#include "world/particles_state.hpp"

namespace beamtest {

// A sound of 16 copies: each play takes the next, so the copy pointer counts the plays.
int32_t ZaehlKlang();
// Plays of sound `nr` since it was made or last counted, and the count starts again.
int32_t Gespielt(int32_t nr);
// The copy of sound `nr` played last.
const platform::audio::SoundBuffer& LetzteKopie(int32_t nr);

// The live effect particles of kind `art` (any kind for -1).
std::vector<BigPartikelDaten> Effekte(int32_t art = -1);
// How many random numbers were drawn to get from state `von` to the current one (at most
// 100000 are looked for; -1 beyond).
int64_t Gezogen(uint32_t von);

class BeamTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Ship `p` of type `typ` and gun level `stufe` with its corner at (x, y).
  static void Schiffstyp(int32_t p, int32_t typ, int32_t stufe = 1, float x = 100, float y = 200);
  // Key set of player p.
  static int32_t Set(int32_t p) { return p + LetzterSpieler; }
  static void Halten(int32_t p, Aktion a, bool down = true);
  // `n` frames of the beam step, drawn inside a scene while `Rendern` is set.
  static void Frames(int n = 1);
  // Holds the beam key of player `p` for `n` frames, then lets go for one (the release).
  static void LadenUndLoslassen(int32_t p, int n);
  // A flying mode-0 beam of player `p` released at `ladung` from the ship's nose.
  static void Fliegend(int32_t p, float ladung);

  // The counting sounds that stand in for the beam's.
  int32_t laden0 = -1, laden1 = -1, beam0 = -1, beam1 = -1, pressq = -1;
  testsupport::TempDataFolder daten;  // a sound the table lacks is logged
};

}  // namespace beamtest
