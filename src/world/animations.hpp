#pragma once
// Key-frame animations and sprite-frame sequences.
#include <cstdint>
#include <optional>

#include "world/animations_state.hpp"

// Starts animation definition `AnimationID` on layer `Index`.
void AddAnima(int32_t Index, int32_t AnimationID, int32_t y, std::optional<double> x = std::nullopt);
// Moves and draws the running animations of layer `Index`.
void SpielMoveAnimation(int32_t Index);
// One tick of the frame sequence of sprite definition `O`: frame `AniA` and its timer
// `TiA` move on (a negative timer holds the frame).
void DoAni(int32_t O, int32_t& AniA, int32_t& TiA);
