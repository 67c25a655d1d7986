#include "player/horn.hpp"

#include <cstdint>
#include <optional>

#include "engine/input.hpp"
#include "engine/render.hpp"
#include "engine/sound.hpp"
#include "player/players_state.hpp"
#include "shell/config.hpp"
#include "shell/timing.hpp"
#include "world/game_sounds_state.hpp"
#include "world/pictures_state.hpp"

namespace {
constexpr int32_t kF11 = 87;
constexpr int32_t kDauer = 40;  // frames the horn shows
}  // namespace

void SpielHupe() {
  if (Hupe.Zeit > 0) {
    --Hupe.Zeit;
    if (Rendern) {
      // A 128 x 128 picture 55 pixels right of the first ship, centred on its frame.
      const SpielerDaten& s = Spieler[0];
      SetUpRect(TexHupe, s.X + 55, s.Y + 32 - 64, s.X + 183, s.Y + 32 + 64);
      Render(TexHupe, true);
    }
  }
  if (!KeyState[kF11]) {
    Hupe.F11 = false;
    return;
  }
  if (Hupe.F11) return;
  Hupe.F11 = true;
  if (Hupe.Zeit != 0) return;
  Hupe.Zeit = kDauer;
  // Not rewound: a horn still sounding from before plays on in its copy.
  if (SoundAn) PlaySound(SndHupe, 0, std::nullopt, SoundLautstaerke);
}
