#pragma once
// The magnifier lens and the television-noise overlay, both drawn on the quad path.
#include <cstdint>
#include <vector>

struct LupeAuftrag {
  float x1 = 0, y1 = 0;  // top-left corner of the square
  float Faktor = 0;      // displacement strength
  float D = 0;           // side length in pixels
  int32_t Rein = 0;      // 1: the second displacement pattern
};

// The lenses ordered by enemy routes during a tick; its highest index is size - 1.
inline std::vector<LupeAuftrag> LupeAuftraege;
inline int32_t LupeAuftraegeMax() { return static_cast<int32_t>(LupeAuftraege.size()) - 1; }

// Copies the square (x1, y1) - (x1 + D, y1 + D) of what has been drawn so far into the
// lens texture and draws it back through a `Teile` x `Teile` grid whose texture
// coordinates ripple by `Faktor`; with `Rein` False a faint glow lies over it unless the
// world is frozen. Call between RenderStart and RenderEnd: the scene is ended for the copy
// and begun again. Draws only in drawn frames. A square that leaves nothing to copy (off
// the play area, or no size) and a grid of no cells draw nothing.
void Lupe(float x1, float y1, float D, float Faktor, float Teile, bool Rein);
// Draws every queued lens in order (nine cells a side) and empties the queue.
void LupeAuftraegeZeichnen();
// Covers the screen with randomly placed and mirrored windows of the noise picture at
// opacity `A`; draws (and takes random numbers) only when `A` > 0.
void MakeSomeNoise(float A);
