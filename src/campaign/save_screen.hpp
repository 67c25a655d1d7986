#pragma once
// The save screen after a cleared level: the results enter the high-score table, and the
// player may save the game into one of the 21 slots.
#include <cstdint>
#include <string>

#include "campaign/save_screen_state.hpp"

// Runs the screen and returns when it has been left (Escape, or Enter on an entry, on
// their release; or the run ending), after the screen-out.
void SaveGame();

// The entry a direction key moves the selection to: up and down through "don't save"
// and the 21 slots in a ring; right and left a column of seven slots, round the three
// columns, and not at all from "don't save".
int32_t SlotNachOben(int32_t Auswahl);
int32_t SlotNachUnten(int32_t Auswahl);
int32_t SlotNachRechts(int32_t Auswahl);
int32_t SlotNachLinks(int32_t Auswahl);

// The result line of player `p` (0 or 1) in the language: the score and, while the
// player holds a place in the table, that place (never in Russian).
std::string SaveSpielerzeile(int32_t p);
