#pragma once
// The names of a key binding, as the key-configuration page and the in-game key prompt
// show them.
#include <cstdint>
#include <string>

// The name of key code `K1` (`GetKeyName`), and when `k2` has a name, " / " and that name
// after it: "Space / J1(Button1)", or "Space" for a binding with one key.
std::string GetKeyText(int32_t K1, int32_t k2);
