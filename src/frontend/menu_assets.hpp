#pragma once
// The menu's pictures and sounds: loaded before every menu run into the fields of
// frontend/menu_state.hpp.
#include "frontend/menu_state.hpp"

// Loads every picture of the menu from "Menu.vkp": one of the two hangars, drawn at
// random, with its frozen look; the 74 frames of the two turning ships; the column's
// ends, button and lights; the text panel and the menu logo. Call after the standard
// pictures (which empty the surface table). Nothing while the program is ending; a quit
// during the unpacking skips the loading, and the unpacked folder is deleted either way.
// Each number is stored as the picture loader returns it.
void LoadMenuSurfaces();
// Loads the confirm sound, the value-change sound and the voice preview from "Sound.vkp"
// while sound is on; with sound off the three numbers are left as they are. Each number
// is stored as the sound loader returns it (-1 for a sound that is missing).
void LoadMenuSound();
// The member name of frame `f` (0..36) of the turning-ship set `s` (0 or 1):
// "ShipSelect" & s & "0" & f in two digits & ".bmp".
std::string ShipSelectName(int32_t s, int32_t f);
