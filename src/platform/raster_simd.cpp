// Vectorised spans for quads with normal or additive blending, textured (point-sampled or
// filtered) or not, of one colour or interpolated: everything the game draws but the rare
// unblended strip. They compute exactly what the reference loops compute: the same 8-bit
// products with the same rounding, lane by lane (every intermediate value fits 16 bits:
// t x c + 128 <= 65153, the normal blend's s x a + d x (255 - a) + 128 <= 65153, a
// filter's sum across <= 255 x 128; its sum down is taken in 32 bits). round(x / 255) is
// one high product, (x + 128) x 257 / 65536; the additive blend adds its products to the
// target's bytes with saturation, the source's alpha byte 0 so the target's stays.
//
// Where the texels are: along a texture row with unit steps they are loaded side by side.
// Where the pixels of a group sample no more than eight columns of one or two texture
// rows (three when filtering), as on magnified quads, turned or not, the rows' texels are
// loaded eight at a time and each lane picks its own (AVX2), also across the texture's
// edges; elsewhere each lane's texel is gathered. SSE2 gathers the texels of a stretch one
// by one ahead. Groups whose texels are all transparent leave the target alone.
//
// Pixels travel as 32-bit ARGB / XRGB: textures and 5-6-5 targets are widened on loading
// (bit replication) and a 5-6-5 target is truncated again on storing. SSE2 (every x86-64
// has it) takes four pixels at a time; where the processor has AVX2, raster_avx2.cpp
// takes eight. Compiled once per part of the loops (HARVO_SPAN_PART, raster_spans.hpp).
#include "platform/raster_simd.hpp"

#include <algorithm>
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
#define HARVO_SIMD_LAMBDA __attribute__((always_inline))

struct Sse2 {
  using R = __m128i;
  static constexpr int N = 4;
  static constexpr bool kBytePairs = false;  // no byte shuffles nor byte products
  static constexpr bool kMasked = false;     // no masked loads and stores
  static constexpr bool kPermute = false;    // no lanes picked by index
  static R Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int32_t>(v)); }
  static R Set16(uint16_t v) { return _mm_set1_epi16(static_cast<int16_t>(v)); }
  static R Set64(uint64_t v) { return _mm_set1_epi64x(static_cast<int64_t>(v)); }
  static R Zero() { return _mm_setzero_si128(); }
  static R And(R a, R b) { return _mm_and_si128(a, b); }
  static R Or(R a, R b) { return _mm_or_si128(a, b); }
  static R AndNot(R a, R b) { return _mm_andnot_si128(a, b); }
  static R Select(R mask, R a, R b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
  static R CmpEq32(R a, R b) { return _mm_cmpeq_epi32(a, b); }
  static R CmpGt32(R a, R b) { return _mm_cmpgt_epi32(a, b); }
  static R Min32(R a, R b) { return Select(_mm_cmpgt_epi32(a, b), b, a); }
  static R Max32(R a, R b) { return Select(_mm_cmpgt_epi32(a, b), a, b); }
  static R Add16(R a, R b) { return _mm_add_epi16(a, b); }
  static R Sub16(R a, R b) { return _mm_sub_epi16(a, b); }
  static R Mullo16(R a, R b) { return _mm_mullo_epi16(a, b); }
  static R MulHiU16(R a, R b) { return _mm_mulhi_epu16(a, b); }
  static R Mullo32(R a, R b) {
    const R gerade = _mm_mul_epu32(a, b), ungerade = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(gerade, 0x08), _mm_shuffle_epi32(ungerade, 0x08));
  }
  template <int S>
  static R Slli16(R a) {
    return _mm_slli_epi16(a, S);
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
  static R AlphaOf3(R a) {
    return _mm_and_si128(_mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF), Set64(0x0000FFFFFFFFFFFFull));
  }
  static R OddWords(R a, R b) { return _mm_or_si128(a, _mm_and_si128(b, Set32(0xFFFF0000u))); }
  static R Narrow565(R p) {
    // Blue and red to the bottom of their 16-bit lanes, red on into its place; the bits
    // above the low 16 are left for Store16 to drop.
    const R br = _mm_and_si128(_mm_srli_epi32(p, 3), Set32(0x001F001Fu));
    return _mm_or_si128(_mm_or_si128(br, _mm_srli_epi32(br, 5)), _mm_and_si128(_mm_srli_epi32(p, 5), Set32(0x07E0u)));
  }
  static bool AllZero(R a) { return _mm_movemask_epi8(_mm_cmpeq_epi8(a, _mm_setzero_si128())) == 0xFFFF; }
  static R Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void Store(void* p, R v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static R Load16(const void* p) {
    return _mm_unpacklo_epi16(_mm_loadl_epi64(static_cast<const __m128i*>(p)), _mm_setzero_si128());
  }
  static void Store16(void* p, R v) {
    v = _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);  // sign-extended: the pack keeps the bits
    _mm_storel_epi64(static_cast<__m128i*>(p), _mm_packs_epi32(v, v));
  }
  static R LowPixels() { return _mm_setr_epi32(0, 0, 1, 1); }
  static R Ramp32(uint32_t start, uint32_t step) {
    return _mm_setr_epi32(static_cast<int32_t>(start), static_cast<int32_t>(start + step),
                          static_cast<int32_t>(start + 2 * step), static_cast<int32_t>(start + 3 * step));
  }
  // Pairs of 32-bit values (of pixels 0, 1 in `lo`, 2, 3 in `hi`) sorted into the left
  // and the right ones in pixel order.
  static void Entflechte(R lo, R hi, R& links, R& rechts) {
    links = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(lo), _mm_castsi128_ps(hi), 0x88));
    rechts = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(lo), _mm_castsi128_ps(hi), 0xDD));
  }
};

namespace sse2 {
using V = Sse2;
#include "platform/raster_simd_impl.inc"
}  // namespace sse2

}  // namespace

template <>
SpanFn SelectPart<Sse2Loops, HARVO_SPAN_PART>(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend,
                                              ColourKind colour) {
  return PickLoop<sse2::Loop, HARVO_SPAN_PART>::For(target, tex, linear, key, blend, colour);
}

#else

template <>
SpanFn SelectPart<Sse2Loops, HARVO_SPAN_PART>(PixelFormat, TexKind, bool, bool, Blend, ColourKind) {
  return nullptr;
}

#endif

}  // namespace platform::raster
