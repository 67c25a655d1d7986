#pragma once
// Radio messages: their voice clips.
#include "world/radio_state.hpp"

// Stops the voice clip of the current radio message.
void KillFunktionsSound();
