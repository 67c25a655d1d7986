#pragma once
// Vectorised inner loops for the spans the game draws: textured, normal or additive
// blending. They give exactly the pixels of the plain loops.
#include "platform/raster_spans.hpp"

namespace platform::raster {

// The SSE2 loops (raster_simd.cpp; none where the compiler targets no SSE2) and the AVX2
// loops (raster_avx2.cpp; ask them only where the processor has AVX2), in parts.
HARVO_SPAN_FAMILY(Sse2Loops)
HARVO_SPAN_FAMILY(Avx2Loops)

}  // namespace platform::raster
