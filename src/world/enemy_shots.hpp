#pragma once
// Enemy shot generators and enemy shots.
#include <cstdint>

#include "world/enemy_shots_state.hpp"

// Starts shot generator definition `Nr`, bound to an enemy component or free-standing.
void AddGegnerSchussErzeuger(int32_t Nr, int32_t FeindNR, int32_t FeindNRKomponente, int16_t KeinFeindBezug,
                             int32_t VeskNr);
// Stops the running shot generator in slot `Index` and frees the slot.
void KillGegnerSchussErzeuger(int32_t Index);
// Starts a shot of salvo entry `NRK` of generator definition `Nr` with its muzzle at (iX, iY).
void AddGegnerS(int32_t ID, int32_t Nr, int32_t NRK, float iX, float iY, int32_t VeskNr);
