#pragma once
// The 21 save slots "1.sav" .. "21.sav" in the save folder: the campaign between two
// levels (players, script position, ships, pods, satellite, beams, extra-life mark and
// play-through), each file starting with its label.
#include <cstdint>
#include <string>

// Reads slot `SelectNr` (1..21, a file that exists) into the campaign state. A file that
// cannot be loaded ends the run with the error dialog (`Spielstatus` 10).
void LoadGame(int32_t SelectNr);
// The label of slot `Slot` for a slot list; "---" when the slot is empty.
std::string GetSaveLabel(int32_t Slot);
