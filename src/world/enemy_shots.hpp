#pragma once
// Enemy shot generators and enemy shots.
//
// A generator plays one generator definition: each of its salvo entries fires a number of
// shots of one shot type at a fixed interval after a start delay. It is either bound to a
// component of an enemy (it fires from that component's picture and ends with it) or
// free-standing at a point. A shot flies straight (aimed when it is made) or runs its own
// route; a shot with ID -1 is a shock wave, an invisible growing ring that pushes ships.
#include <cstdint>

#include "world/enemy_shots_state.hpp"

// Starts shot generator definition `Nr` in the first free slot. With `KeinFeindBezug` set
// the generator is free-standing at (`FeindNR`, `FeindNRKomponente`); otherwise it belongs
// to component `FeindNRKomponente` of enemy `FeindNR`. A full pool, a definition that does
// not exist or an enemy slot outside the pool starts none.
void AddGegnerSchussErzeuger(int32_t Nr, int32_t FeindNR, int32_t FeindNRKomponente, int16_t KeinFeindBezug,
                             int32_t VeskNr);
// Once per frame: every generator fires what is due.
void SpielGegnerSchussErzeugen();
// Frees generator slot `Index`.
void KillGegnerSchussErzeuger(int32_t Index);

// Starts a shot of salvo entry `NRK` of generator definition `Nr` with its muzzle at
// (iX, iY), aimed at or run for player `VeskNr`; `ID` is the generator's shot counter.
// With `ID` -1 it starts a shock wave at (iX, iY) whose last size step comes from `NRK`.
// A full pool, or an entry or shot type that does not exist, starts nothing.
void AddGegnerS(int32_t ID, int32_t Nr, int32_t NRK, float iX, float iY, int32_t VeskNr);
// Once per frame: moves, hit-tests and draws every shot.
void SpielMoveGegnerS();
// Frees shot slot `Index`.
void KillGegnerS(int32_t Index);
// Whether live shot `Index` can be stopped by a guard pod or the satellite: a shot of a
// generator (no shock wave) whose salvo entry is not marked unblockable.
bool GegnerSchussBlockbar(int32_t Index);
