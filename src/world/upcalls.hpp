#pragma once
// The few calls the level world makes into the layers above it (the ships' score, the
// campaign's checkpoints and special events). The program run hands the real
// procedures in at start-up; until then, and in tests of the world alone, they do nothing.
#include <cstdint>

namespace upcall {
// Awards `Punkte` to player `VeskNr` with a pop-up at (x, y) rising by `SY` per frame.
inline void (*AddPunkte)(int32_t Punkte, float x, float y, float SY, int32_t VeskNr) = [](int32_t, float, float,
                                                                                           float, int32_t) {};
// Places a new checkpoint gate centred at (x, y).
inline void (*SetCheckpoint)(int32_t x, int32_t y, int32_t Hoehe) = [](int32_t, int32_t, int32_t) {};
// Selects the next owned orbit pod for player `VeskNr` (a pick-up arranging the pods).
inline void (*NextPartikel)(int32_t VeskNr) = [](int32_t) {};
}  // namespace upcall
