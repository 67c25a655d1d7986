// The vectorised spans of raster_simd.cpp, eight pixels at a time with AVX2. Only this
// file's own functions are compiled for AVX2, and they run only when the processor has it.
// Compiled once per part of the loops (HARVO_SPAN_PART, raster_spans.hpp).
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>

#include "platform/raster_pixel.hpp"
#include "platform/raster_simd.hpp"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

namespace platform::raster {
namespace {

// Everything from here to the end of the region is compiled for AVX2 (GCC and clang
// spell that differently).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#define HARVO_SIMD_INLINE __attribute__((always_inline)) inline
#define HARVO_SIMD_LAMBDA __attribute__((always_inline))

struct Avx2 {
  using R = __m256i;
  static constexpr int N = 8;
  // BytesSigned (each byte moved down by 128) and MaddUbs (unsigned bytes times signed
  // bytes, pairs summed into 16 bits).
  static constexpr bool kBytePairs = true;
  static R Halves(__m128i pattern) { return _mm256_broadcastsi128_si256(pattern); }  // in both 128-bit halves
  static R BytesSigned(R a) { return _mm256_xor_si256(a, _mm256_set1_epi8(static_cast<char>(0x80))); }
  static R MaddUbs(R a, R b) { return _mm256_maddubs_epi16(a, b); }
  static R ByteTwice(R x) {
    return _mm256_shuffle_epi8(x, Halves(_mm_setr_epi8(0, 0, 1, 1, 4, 4, 5, 5, 8, 8, 9, 9, 12, 12, 13, 13)));
  }
  static void SpreadWords(R x, R& lo, R& hi) {
    lo = _mm256_shuffle_epi8(x, Halves(_mm_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5)));
    hi = _mm256_shuffle_epi8(x, Halves(_mm_setr_epi8(8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13)));
  }
  static constexpr bool kMasked = true;
  static R LoadMasked(const void* p, R mask) { return _mm256_maskload_epi32(static_cast<const int*>(p), mask); }
  static void StoreMasked(void* p, R v, R mask) { _mm256_maskstore_epi32(static_cast<int*>(p), mask, v); }
  static constexpr bool kPermute = true;
  static R Permute(R a, R index) { return _mm256_permutevar8x32_epi32(a, index); }
  static R FirstLanes(int m) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(m), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  }
  static R Set32(uint32_t v) { return _mm256_set1_epi32(static_cast<int32_t>(v)); }
  static R Set16(uint16_t v) { return _mm256_set1_epi16(static_cast<int16_t>(v)); }
  static R Set64(uint64_t v) { return _mm256_set1_epi64x(static_cast<int64_t>(v)); }
  static R Zero() { return _mm256_setzero_si256(); }
  static R And(R a, R b) { return _mm256_and_si256(a, b); }
  static R Or(R a, R b) { return _mm256_or_si256(a, b); }
  static R AndNot(R a, R b) { return _mm256_andnot_si256(a, b); }
  static R Select(R mask, R a, R b) { return _mm256_blendv_epi8(b, a, mask); }
  static R CmpEq32(R a, R b) { return _mm256_cmpeq_epi32(a, b); }
  static R CmpGt32(R a, R b) { return _mm256_cmpgt_epi32(a, b); }
  static R Min32(R a, R b) { return _mm256_min_epi32(a, b); }
  static R Max32(R a, R b) { return _mm256_max_epi32(a, b); }
  static R Add16(R a, R b) { return _mm256_add_epi16(a, b); }
  static R Sub16(R a, R b) { return _mm256_sub_epi16(a, b); }
  static R Mullo16(R a, R b) { return _mm256_mullo_epi16(a, b); }
  static R MulHiU16(R a, R b) { return _mm256_mulhi_epu16(a, b); }
  static R Mullo32(R a, R b) { return _mm256_mullo_epi32(a, b); }
  template <int S>
  static R Slli16(R a) {
    return _mm256_slli_epi16(a, S);
  }
  template <int S>
  static R Slli32(R a) {
    return _mm256_slli_epi32(a, S);
  }
  template <int S>
  static R Srli32(R a) {
    return _mm256_srli_epi32(a, S);
  }
  template <int S>
  static R Srai32(R a) {
    return _mm256_srai_epi32(a, S);
  }
  template <int M>
  static R Shuffle32(R a) {
    return _mm256_shuffle_epi32(a, M);
  }
  static R Madd16(R a, R b) { return _mm256_madd_epi16(a, b); }
  static R Add32(R a, R b) { return _mm256_add_epi32(a, b); }
  static R Sub32(R a, R b) { return _mm256_sub_epi32(a, b); }
  static R UnpackLo16(R a, R b) { return _mm256_unpacklo_epi16(a, b); }
  static R UnpackHi16(R a, R b) { return _mm256_unpackhi_epi16(a, b); }
  static R UnpackLo32(R a, R b) { return _mm256_unpacklo_epi32(a, b); }
  static R UnpackHi32(R a, R b) { return _mm256_unpackhi_epi32(a, b); }
  static R PackS32(R a, R b) { return _mm256_packs_epi32(a, b); }
  static R UnpackLo8(R a, R b) { return _mm256_unpacklo_epi8(a, b); }
  static R UnpackHi8(R a, R b) { return _mm256_unpackhi_epi8(a, b); }
  static R PackUs16(R a, R b) { return _mm256_packus_epi16(a, b); }
  static R AddsU8(R a, R b) { return _mm256_adds_epu8(a, b); }
  static R AlphaOf3(R a) {
    return _mm256_shuffle_epi8(a, Halves(_mm_setr_epi8(6, 7, 6, 7, 6, 7, -1, -1, 14, 15, 14, 15, 14, 15, -1, -1)));
  }
  static R OddWords(R a, R b) { return _mm256_blend_epi16(a, b, 0xAA); }
  static R Narrow565(R p) {
    // Each channel cut to its width in place; then blue + 64 green (= (b5 + g6 << 8) << 3)
    // and red in 16 bits by byte products, and both into one by word products: the
    // 5-6-5 value times 8.
    const R cut = _mm256_and_si256(p, Set32(0x00F8FCF8u));
    const R paare = _mm256_maddubs_epi16(cut, Set32(0x00014001u));
    return _mm256_srli_epi32(_mm256_madd_epi16(paare, Set32(0x08000001u)), 3);
  }
  static bool AllZero(R a) { return _mm256_testz_si256(a, a) != 0; }
  static R Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void Store(void* p, R v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static R Load16(const void* p) { return _mm256_cvtepu16_epi32(_mm_loadu_si128(static_cast<const __m128i*>(p))); }
  static void Store16(void* p, R v) {
    // The low words of each 128-bit half side by side, then the two halves' together.
    const R low = Halves(_mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1));
    const R packed = _mm256_shuffle_epi8(v, low);
    _mm_storeu_si128(static_cast<__m128i*>(p), _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08)));
  }
  static R LowPixels() { return _mm256_setr_epi32(0, 0, 1, 1, 4, 4, 5, 5); }
  static R Ramp32(uint32_t start, uint32_t step) {
    return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(start)),
                            _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int32_t>(step)),
                                               _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
  }
  // Pairs of 32-bit values (of pixels 0, 1, 4, 5 in `lo`, 2, 3, 6, 7 in `hi`) sorted into
  // the left and the right ones in pixel order.
  static void Entflechte(R lo, R hi, R& links, R& rechts) {
    links = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(lo), _mm256_castsi256_ps(hi), 0x88));
    rechts = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(lo), _mm256_castsi256_ps(hi), 0xDD));
  }
  // The texels at N byte offsets and their right-hand neighbours, in pixel order: 32-bit
  // pairs are read as 64-bit values (for pixels 0, 1, 4, 5 and 2, 3, 6, 7, which one
  // shuffle sorts into left and right), 16-bit ones as 32-bit values.
  template <int B>
  static void GatherPaare(const uint8_t* base, R offsets, R& links, R& rechts) {
    if constexpr (B == 4) {
      const long long* b = reinterpret_cast<const long long*>(base);
      const auto von = [&](R lanes) {
        return _mm256_i32gather_epi64(b, _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(offsets, lanes)), 1);
      };
      Entflechte(von(_mm256_setr_epi32(0, 1, 4, 5, 0, 0, 0, 0)), von(_mm256_setr_epi32(2, 3, 6, 7, 0, 0, 0, 0)), links,
                 rechts);
    } else {
      const R paar = _mm256_i32gather_epi32(reinterpret_cast<const int*>(base), offsets, 1);
      links = _mm256_and_si256(paar, Set32(0xFFFF));
      rechts = _mm256_srli_epi32(paar, 16);
    }
  }
  // A 16-bit texel is read as the aligned word holding it and shifted down where it is
  // the upper half.
  template <int B>
  static R Gather(const uint8_t* base, R offsets) {
    const int* b = reinterpret_cast<const int*>(base);
    if constexpr (B == 4) {
      return _mm256_i32gather_epi32(b, offsets, 1);
    } else {
      const R wort = _mm256_i32gather_epi32(b, _mm256_andnot_si256(Set32(3), offsets), 1);
      return _mm256_and_si256(_mm256_srlv_epi32(wort, _mm256_slli_epi32(_mm256_and_si256(offsets, Set32(2)), 3)),
                              Set32(0xFFFF));
    }
  }
};

namespace avx2 {
using V = Avx2;
#include "platform/raster_simd_impl.inc"
}  // namespace avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

}  // namespace

template <>
SpanFn SelectPart<Avx2Loops, HARVO_SPAN_PART>(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend,
                                              ColourKind colour) {
  return PickLoop<avx2::Loop, HARVO_SPAN_PART>::For(target, tex, linear, key, blend, colour);
}

}  // namespace platform::raster

#else

namespace platform::raster {
template <>
SpanFn SelectPart<Avx2Loops, HARVO_SPAN_PART>(PixelFormat, TexKind, bool, bool, Blend, ColourKind) {
  return nullptr;
}
}  // namespace platform::raster

#endif
