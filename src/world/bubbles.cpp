// Air bubbles: they rise with a slight wobble until they touch the solid scenery or reach
// the water surface, where they vanish.
#include "world/bubbles.hpp"

#include "engine/sprites.hpp"
#include "shell/angles.hpp"
#include "shell/basic.hpp"
#include "shell/timing.hpp"
#include "world/collision.hpp"
#include "world/pictures_state.hpp"
#include "world/weather_state.hpp"

void AddBlase(float x, float y, int32_t D) {
  const int32_t k = Blasen.Claim();
  if (k < 0) return;
  Blase& b = Blasen[k];
  b.X = x;
  b.Y = y;
  b.D = D;
  b.Phase = 0;
}

void KillBlase(int32_t Nr) { Blasen.Kill(Nr); }

void SpielMoveBlase() {
  const Trefferdurchgang durchgang;
  const int32_t bis = Blasen.Max;
  for (int32_t i = 0; i <= bis; ++i) {
    Blase& b = Blasen[i];
    if (b.Aktiv == VBFalse) continue;
    b.Y = b.Y - 1 - Rnd() / 4;
    if (++b.Phase > 359) b.Phase %= 360;
    b.X += SinTab[static_cast<size_t>(b.Phase)];

    const double d = b.D;
    if (CheckColisionWithLandschaft3(CLng(b.X), CLng(b.Y), CLng(b.X + d), CLng(b.Y + d), -1)) {
      KillBlase(i);
    } else if (static_cast<double>(b.Y) > 550 - Wasserstand) {
      if (Rendern && HintergrundModus != 0)
        ShowSpriteRect(TexBlase, b.X, b.Y, static_cast<float>(b.X + d), static_cast<float>(b.Y + d), true);
    } else {
      KillBlase(i);
    }
  }
}
