#pragma once
// Radio messages: their start and their voice clips.
#include <cstdint>

#include "world/radio_state.hpp"

// Starts radio message `Nr` within its play limits.
void AddFunktion(int32_t Nr);
// Stops the voice clip of the current radio message.
void KillFunktionsSound();
// Forgets which radio messages have played (`FunktionDaten` erased, its highest index -1),
// so each may play up to its limit again; at every level start.
void ClearPlayedRadioMessages();
