#pragma once
// The game's ten actions asked per key set (0 the one-player game, 1 and 2 the players of
// a two-player game), looked up in the key configuration and the last poll; the compound
// confirm, back and pause queries; and the game window's key events.
#include <cstdint>

// Action numbers, the first index of KeyMap.
enum Aktion : int32_t {
  AktionLinks = 0,
  AktionHoch = 1,
  AktionRechts = 2,
  AktionRunter = 3,
  AktionSchießen = 4,
  AktionBeam = 5,
  AktionPartikelWechsel = 6,
  AktionBeamWechsel = 7,
  AktionDrehen = 8,
  AktionSuperNova = 9,
};

// The character code of the last typed key; the name entry reads and clears it.
inline int16_t TastenZeichen = 0;

// True when a binding of action `Taste` in key set `Index` is a key code that is down.
// Codes outside 1..282 are unbound, and so is every action of a key set outside 0..2.
bool GetTasteSub(int32_t Taste, int32_t Index);

bool TasteLinks(int32_t Index);
bool TasteHoch(int32_t Index);
bool TasteRechts(int32_t Index);
bool TasteRunter(int32_t Index);
// Fire, beam and super nova are never down while the first player flies out of the level.
bool TasteSchießen(int32_t Index);
bool TasteBeam(int32_t Index);
bool TastePartikelWechsel(int32_t Index);
bool TasteBeamWechsel(int32_t Index);
bool TasteDrehen(int32_t Index);
bool TasteSuperNova(int32_t Index);

// Confirm: fire, beam, Space or Return.
bool TasteEingabe(int32_t Index);
// Back: next pod, beam mode or Escape.
bool TasteZurück(int32_t Index);
// Pause: the pause key of the keyboard or of either joystick.
bool TasteEscape();

// The game window's key events: a typed character, and a released key (F3 and F4 switch
// the flip timing and the information line).
void Form_KeyPress(int16_t KeyAscii);
void Form_KeyUp(int16_t KeyCode, int16_t Shift);
