#pragma once
// Vectorised inner loops for the spans the game draws most: point-sampled, one colour,
// normal or additive blending. They give exactly the pixels of the plain loops.
#include "platform/raster_spans.hpp"

namespace platform::raster {

// The vectorised loop for this combination, or nullptr where there is none.
SpanFn SelectVectorSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour);

}  // namespace platform::raster
