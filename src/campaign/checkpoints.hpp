#pragma once
// Checkpoints: the state a lost life goes back to, and the gate that takes a new one.
//
// A checkpoint holds the running level whole: the clock, every pool at its full capacity
// with its first-free hint and highest-used index, the layers 1..6, the background, both
// players with their trails, shots, pods, satellite, drones and beams, the raindrops and
// the special event. It is kept in memory and written to "Temp<N>.tmp" in the folder
// "Harvo" of the temporary folder; little-endian, no header, each record its fields in
// order (their field functions beside the records), a dynamic array after its descriptor.
#include <cstdint>
#include <span>
#include <vector>

#include "campaign/checkpoints_state.hpp"

// Takes a checkpoint; `VeskNr` is the player who triggered it (the game loop's level
// start and restarts pass 0). Nothing happens while no player is alive. A file that
// cannot be written is logged and play goes on: the bytes kept in memory serve the reload.
void SaveCheckpoint(int32_t VeskNr);
// Appends the snapshot to `Daten`. The other player than `VeskNr`, when the solid
// landscape holds it, is stored at the triggering player's place (only in the bytes).
void SaveCheckPointSub(int32_t VeskNr, std::vector<uint8_t>& Daten);
// Puts the world and both player records back as the last checkpoint took them; called
// after the pools have been emptied. A file that is missing or not the kept bytes is
// logged and the kept bytes are restored.
void LoadCheckpoint();
// Reads a snapshot into the game. Every count and index is checked against its bound and
// the bytes left before anything is made room for; false for bytes that do not make a
// snapshot (too few, too many, a count or index out of range), which may leave the game
// partly read.
bool LoadCheckPointSub(std::span<const uint8_t> Daten);

// The snapshot is its items one after another (the clock, the enemies, the animations with
// the pools' bounds, the layers, ..., each pool, ..., the drones); they come apart for
// tests and the fuzzer, which damage one at a time instead of a snapshot of hundreds of
// kilobytes. Item `Nr` (from 0) appended to `Daten`, as the snapshot writes it; and read
// from bytes that hold exactly that item, with the snapshot's checks (false for anything
// else, and for a number that names no item).
int32_t CheckpointPostenAnzahl();
void CheckpointPostenSchreiben(int32_t Nr, int32_t VeskNr, std::vector<uint8_t>& Daten);
bool CheckpointPostenLesen(int32_t Nr, std::span<const uint8_t> Daten);

// Deletes every checkpoint file of the level and the folder when it is empty.
void KillCheckpoint();

// Places a new gate of height `Höhe` centred at (x, y); one still standing is replaced.
void SetCheckpoint(int32_t x, int32_t y, int32_t Höhe);
// One tick of the gate: `Index` 0 draws its back half, 1 its front half and then moves it
// and tests the ships. Nothing while no gate stands.
void SpielCheckpoint(int32_t Index);
