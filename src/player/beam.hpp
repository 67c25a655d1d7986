#pragma once
// The charged beam: held to charge, let go to release. Mode 0 sends a beam across the
// screen that loses damage as enemies absorb it; mode 1 does no damage, and a full
// release starts the power mode.
#include <cstdint>

#include "player/beam_state.hpp"

// Once per frame, not while the world is frozen: for each living player the mode key,
// charging, release, after-glow, the mode-1 ring and power mode, the mode-0 glow and
// flight, and the charge overlay.
void SpielBeam();

// What the beam step and the mode-0 glow and flight share.
namespace beam {

struct Farbe {
  float R, G, B;
};

// The combo of player `p` ends: factor 1, no hits, no bonus.
void ComboAus(int32_t p);
// A quad of picture `Bild` on the rectangle in colour `f` at opacity `A`.
void Viereck(int32_t Bild, double Links, double Oben, double Rechts, double Unten, const Farbe& f, float A,
             bool ABOne);
// The bar of player `p`'s type-0 beam from its tail to its head, with its tail cap, at
// opacity `A`: the flying beam and its fading after-glow.
void Strahlkoerper(int32_t p, float A);
// Not flying, with a charge: the glow of the ship type (bubbles under water on every frame,
// the rest only on drawn frames).
void Ladeleuchten(int32_t p);
// One frame of player `p`'s flying mode-0 beam by its ship type.
void Strahlflug(int32_t p);

}  // namespace beam
