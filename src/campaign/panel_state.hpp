#pragma once
// What the in-game display keeps from tick to tick: the extra-life effect, the scores as
// they roll toward the real ones, and the combo counter.
#include <array>
#include <cstdint>

// Frames left of the extra-life effect round the lives count: 50 at a new extra life,
// counted down to 0. No further life is given while it runs.
inline int32_t ExtraLebenZeit = 0;

// The score shown for each player. It is never reset: after a new game or a continue the
// shown score rolls down from what was shown last to the real one.
inline std::array<int32_t, 2> AnzeigePunkte{};

// The first player's combo counter: the count shown, frames left of its display, the
// count at its last change and the bonus shown.
inline int32_t ComboAnzeige = 0;
inline int32_t ComboZeit = 0;
inline int32_t ComboLetzte = 0;
inline int32_t ComboPunkte = 0;

// Before a level pass: no extra-life effect runs (the shown scores and the combo counter
// carry on).
inline void ResetExtraLifeEffect() { ExtraLebenZeit = 0; }

// As at program start, and only then: the shown scores at 0 and no combo shown.
inline void ResetPanel() {
  ResetExtraLifeEffect();
  AnzeigePunkte.fill(0);
  ComboAnzeige = 0;
  ComboZeit = 0;
  ComboLetzte = 0;
  ComboPunkte = 0;
}
