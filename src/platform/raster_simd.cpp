// Vectorised spans for textured quads with normal or additive blending, point-sampled or
// filtered, of one colour or interpolated: everything the game draws but the rare
// untextured or unblended strip. They compute exactly what the plain loops compute: the
// same 8-bit products with the same rounding, lane by lane (every intermediate value fits
// 16 bits: t x c + 128 <= 65153, the normal blend's s x a + d x (255 - a) + 128 <= 65153,
// a filter's sum across <= 255 x 128; its sum down is taken in 32 bits).
//
// The texels of a group of pixels are fetched one by one (their places follow the texture
// coordinates); where the quad is unscaled and unturned they are loaded side by side.
//
// Pixels travel as 32-bit ARGB / XRGB: textures and 5-6-5 targets are widened on loading
// (bit replication) and a 5-6-5 target is truncated again on storing. SSE2 (every x86-64
// has it) takes four pixels at a time; where the processor has AVX2, raster_avx2.cpp
// takes eight.
#include "platform/raster_simd.hpp"

#include <climits>
#include <cstddef>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/raster_pixel.hpp"

namespace platform::raster {

#ifdef __SSE2__
namespace {

#define HARVO_SIMD_INLINE __attribute__((always_inline)) inline

struct Sse2 {
  using R = __m128i;
  static constexpr int N = 4;
  static constexpr bool kBytePairs = false;  // no byte shuffles nor byte products
  static constexpr bool kMasked = false;     // no masked loads and stores
  static R Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int32_t>(v)); }
  static R Set16(uint16_t v) { return _mm_set1_epi16(static_cast<int16_t>(v)); }
  static R Zero() { return _mm_setzero_si128(); }
  static R And(R a, R b) { return _mm_and_si128(a, b); }
  static R Or(R a, R b) { return _mm_or_si128(a, b); }
  static R AndNot(R a, R b) { return _mm_andnot_si128(a, b); }
  static R CmpEq32(R a, R b) { return _mm_cmpeq_epi32(a, b); }
  static R Add16(R a, R b) { return _mm_add_epi16(a, b); }
  static R Sub16(R a, R b) { return _mm_sub_epi16(a, b); }
  static R Mullo16(R a, R b) { return _mm_mullo_epi16(a, b); }
  template <int S>
  static R Srli16(R a) {
    return _mm_srli_epi16(a, S);
  }
  template <int S>
  static R Slli32(R a) {
    return _mm_slli_epi32(a, S);
  }
  template <int S>
  static R Srli32(R a) {
    return _mm_srli_epi32(a, S);
  }
  template <int S>
  static R Srai32(R a) {
    return _mm_srai_epi32(a, S);
  }
  template <int M>
  static R Shuffle32(R a) {
    return _mm_shuffle_epi32(a, M);
  }
  static R Bsrl8(R a) { return _mm_srli_si128(a, 8); }
  static R Madd16(R a, R b) { return _mm_madd_epi16(a, b); }
  static R Add32(R a, R b) { return _mm_add_epi32(a, b); }
  static R Sub32(R a, R b) { return _mm_sub_epi32(a, b); }
  static R UnpackLo16(R a, R b) { return _mm_unpacklo_epi16(a, b); }
  static R UnpackHi16(R a, R b) { return _mm_unpackhi_epi16(a, b); }
  static R UnpackLo32(R a, R b) { return _mm_unpacklo_epi32(a, b); }
  static R UnpackHi32(R a, R b) { return _mm_unpackhi_epi32(a, b); }
  static R PackS32(R a, R b) { return _mm_packs_epi32(a, b); }
  static R UnpackLo8(R a, R b) { return _mm_unpacklo_epi8(a, b); }
  static R UnpackHi8(R a, R b) { return _mm_unpackhi_epi8(a, b); }
  static R PackUs16(R a, R b) { return _mm_packus_epi16(a, b); }
  static R AddsU8(R a, R b) { return _mm_adds_epu8(a, b); }
  static R AlphaOf(R a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF); }
  static R Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void Store(void* p, R v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static R Load16(const void* p) {
    return _mm_unpacklo_epi16(_mm_loadl_epi64(static_cast<const __m128i*>(p)), _mm_setzero_si128());
  }
  static void Store16(void* p, R v) {
    v = _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);  // sign-extended: the pack keeps the bits
    _mm_storel_epi64(static_cast<__m128i*>(p), _mm_packs_epi32(v, v));
  }
  static R Ramp32(uint32_t start, uint32_t step) {
    return _mm_setr_epi32(static_cast<int32_t>(start), static_cast<int32_t>(start + step),
                          static_cast<int32_t>(start + 2 * step), static_cast<int32_t>(start + 3 * step));
  }
  static void LoadPairs(const void* p, R& lo, R& hi) {
    lo = Load(p);
    hi = Load(static_cast<const uint8_t*>(p) + 16);
  }
};

namespace sse2 {
using V = Sse2;
#include "platform/raster_simd_impl.inc"
}  // namespace sse2

}  // namespace

SpanFn SelectVectorSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                        Loops widest) {
  if (widest >= Loops::Avx2 && WidestLoops() >= Loops::Avx2)
    if (SpanFn f = SelectAvx2Span(target, tex, linear, key, blend, colour)) return f;
  if (widest >= Loops::Sse2) return PickLoop<sse2::Loop>::For(target, tex, linear, key, blend, colour);
  return nullptr;
}

#else

SpanFn SelectVectorSpan(PixelFormat, TexKind, bool, bool, Blend, ColourKind, Loops) { return nullptr; }

#endif

}  // namespace platform::raster
