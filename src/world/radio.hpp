#pragma once
// Radio messages: their start, their pages with the speaker portrait and the static, and
// their voice clips.
#include <cstdint>

#include "world/radio_state.hpp"

// Starts radio message `Nr` within its play limits.
void AddFunktion(int32_t Nr);
// Once per tick, from the in-game display: turns the page when it has run out, else
// counts it down and draws the portrait and the static in the panel's corner.
void SpielFunkmeldung();
// The voice-clip timer's event: loads the current page's clip from the level's voice
// archive and plays it once. The game window's procedure calls it for `kFunkTimer`.
void Form1_Timer2_Timer();
// Stops and frees the voice clip of the current radio message and disarms the timer.
void KillFunktionsSound();
