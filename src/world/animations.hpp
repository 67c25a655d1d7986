#pragma once
// Key-frame animations and sprite-frame sequences.
#include <cstdint>
#include <optional>

#include "world/animations_state.hpp"

// Starts animation definition `AnimationID` on layer `Index`. A definition that scrolls
// with its layer starts at the layer's right edge at height `y`; one that does not keeps
// its parts at their key positions on the screen. A given `x` places it at (x, y) either
// way. A full pool, an unknown definition or a layer outside 0..6 starts nothing.
void AddAnima(int32_t Index, int32_t AnimationID, int32_t y, std::optional<double> x = std::nullopt);
// Frees animation slot `Nr`.
void KillAnimation(int32_t Nr);
// Advances every running animation of layer `Index` by one tick and draws it.
void SpielMoveAnimation(int32_t Index);

// Advances frame `AniA` of sprite definition `O` by one tick with timer `TiA`: a frame
// shows for its delay (at least one tick), a one-character frame name is a loop marker
// that sends the sequence back to the frame after the previous marker (or to frame 0),
// and past the last frame it wraps to 0. A negative timer holds the frame. Effect
// particles keep their frame and timer as Singles; the frame is then read rounded.
void DoAni(int32_t O, int32_t& AniA, int32_t& TiA);
void DoAni(int32_t O, float& AniA, float& TiA);
