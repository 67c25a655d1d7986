// The vectorised spans of raster_simd.cpp, eight pixels at a time with AVX2. Only this
// file's own functions are compiled for AVX2, and they run only when the processor has it.
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

struct Avx2 {
  using R = __m256i;
  static constexpr int N = 8;
  // ChannelsSideBySide (in every 64 bits, two ARGB pixels to the pairs of their blue,
  // green, red and alpha bytes), BytesSigned (each byte moved down by 128) and MaddUbs
  // (unsigned bytes times signed bytes, pairs summed into 16 bits).
  static constexpr bool kBytePairs = true;
  static R ChannelsSideBySide(R a) {
    return _mm256_shuffle_epi8(a, _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4, 1, 5, 2,
                                                   6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15));
  }
  static R BytesSigned(R a) { return _mm256_xor_si256(a, _mm256_set1_epi8(static_cast<char>(0x80))); }
  static R MaddUbs(R a, R b) { return _mm256_maddubs_epi16(a, b); }
  static constexpr bool kMasked = true;
  static R FirstLanes(int m) { return _mm256_cmpgt_epi32(_mm256_set1_epi32(m), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)); }
  static R LoadMasked(const void* p, R mask) { return _mm256_maskload_epi32(static_cast<const int*>(p), mask); }
  static void StoreMasked(void* p, R v, R mask) { _mm256_maskstore_epi32(static_cast<int*>(p), mask, v); }
  static R Set32(uint32_t v) { return _mm256_set1_epi32(static_cast<int32_t>(v)); }
  static R Set16(uint16_t v) { return _mm256_set1_epi16(static_cast<int16_t>(v)); }
  static R Zero() { return _mm256_setzero_si256(); }
  static R And(R a, R b) { return _mm256_and_si256(a, b); }
  static R Or(R a, R b) { return _mm256_or_si256(a, b); }
  static R AndNot(R a, R b) { return _mm256_andnot_si256(a, b); }
  static R CmpEq32(R a, R b) { return _mm256_cmpeq_epi32(a, b); }
  static R Add16(R a, R b) { return _mm256_add_epi16(a, b); }
  static R Sub16(R a, R b) { return _mm256_sub_epi16(a, b); }
  static R Mullo16(R a, R b) { return _mm256_mullo_epi16(a, b); }
  template <int S>
  static R Srli16(R a) {
    return _mm256_srli_epi16(a, S);
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
  static R Bsrl8(R a) { return _mm256_srli_si256(a, 8); }
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
  static R AlphaOf(R a) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xFF), 0xFF); }
  static R Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void Store(void* p, R v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static R Load16(const void* p) { return _mm256_cvtepu16_epi32(_mm_loadu_si128(static_cast<const __m128i*>(p))); }
  static void Store16(void* p, R v) {
    v = _mm256_srai_epi32(_mm256_slli_epi32(v, 16), 16);  // sign-extended: the pack keeps the bits
    // The pack works within 128-bit halves: the two middle quarters change places.
    const R packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(v, v), 0x08);
    _mm_storeu_si128(static_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
  }
  static R Ramp32(uint32_t start, uint32_t step) {
    return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(start)),
                            _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int32_t>(step)),
                                               _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
  }
  static void LoadPairs(const void* p, R& lo, R& hi) {
    const R a = Load(p), b = Load(static_cast<const uint8_t*>(p) + 32);  // pixels 0 1 2 3, 4 5 6 7
    lo = _mm256_permute2x128_si256(a, b, 0x20);
    hi = _mm256_permute2x128_si256(a, b, 0x31);
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

SpanFn SelectAvx2Span(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour) {
  return PickLoop<avx2::Loop>::For(target, tex, linear, key, blend, colour);
}

Loops WidestLoops() {
  static const Loops widest = __builtin_cpu_supports("avx2") ? Loops::Avx2 : Loops::Sse2;
  return widest;
}

}  // namespace platform::raster

#else

namespace platform::raster {
SpanFn SelectAvx2Span(PixelFormat, TexKind, bool, bool, Blend, ColourKind) { return nullptr; }
Loops WidestLoops() {
#ifdef __SSE2__
  return Loops::Sse2;
#else
  return Loops::Plain;
#endif
}
}  // namespace platform::raster

#endif
