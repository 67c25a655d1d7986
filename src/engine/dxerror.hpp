#pragma once
#include <cstdint>
#include <string>

// Reports a failure of the display, sound or input layer: the crash record in the debug
// log and the error dialog. `Komponente` 2 is the display.
void ShowDXError(int32_t Nummer, int32_t Komponente, const std::string& Zusatz);
