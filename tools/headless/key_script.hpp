#pragma once
// The keys a headless run holds, tick by tick, read from a small text file:
//
//   # comment
//   300 Right S        hold Right and S (fire) for 300 ticks
//   50                 nothing held for 50 ticks
//   1 87 3             key codes work too (F11 and 2: the shield of the debug keys)
//
// A line is a tick count followed by the keys held in those ticks, each a key code (1 to
// 282, the codes of the key configuration) or a name the key configuration shows for it
// ("Up", "Space", "S", ...; any letter case). After the last line no key is held.
#include <cstdint>
#include <string>
#include <vector>

namespace headless_run {

// The keys held in each tick, from the first.
using KeyScript = std::vector<std::vector<int>>;

// Reads a key script; false with "line N: what" in `error` for a line that is not one.
bool ParseKeyScript(const std::string& text, KeyScript& keys, std::string& error);

// The key code of a name or number, 0 when there is none.
int KeyCode(const std::string& word);

}  // namespace headless_run
