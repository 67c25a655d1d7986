#pragma once
// Vectorised inner loops for the spans the game draws: textured, normal or additive
// blending. They give exactly the pixels of the plain loops.
#include "platform/raster_spans.hpp"

namespace platform::raster {

// The vectorised loop for this combination, no wider than `widest`, or nullptr where
// there is none.
SpanFn SelectVectorSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                        Loops widest);
// The AVX2 loop (call only where the processor has AVX2), or nullptr.
SpanFn SelectAvx2Span(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour);

}  // namespace platform::raster
