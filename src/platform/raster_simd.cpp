// Vectorised spans (SSE2, four pixels at a time) for point-sampled quads of one colour
// with normal or additive blending: the bulk of what the game draws. They compute
// exactly what the plain loops compute: the same 8-bit products with the same rounding,
// lane by lane (every intermediate value fits 16 bits: t x c + 128 <= 65153, and the
// normal blend's s x a + d x (255 - a) + 128 <= 65153).
//
// Pixels travel as 32-bit ARGB / XRGB: textures and 5-6-5 targets are widened on loading
// (bit replication) and a 5-6-5 target is truncated again on storing.
#include "platform/raster_simd.hpp"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace platform::raster {

#ifdef __SSE2__
namespace {

using PF = PixelFormat;

inline __m128i Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int32_t>(v)); }

// 4 pixels of 5-6-5 (in the low halves of 32-bit lanes) as 8-8-8.
inline __m128i Widen565(__m128i p) {
  const __m128i r5 = _mm_and_si128(_mm_srli_epi32(p, 11), Set32(31));
  const __m128i g6 = _mm_and_si128(_mm_srli_epi32(p, 5), Set32(63));
  const __m128i b5 = _mm_and_si128(p, Set32(31));
  const __m128i r8 = _mm_or_si128(_mm_slli_epi32(r5, 3), _mm_srli_epi32(r5, 2));
  const __m128i g8 = _mm_or_si128(_mm_slli_epi32(g6, 2), _mm_srli_epi32(g6, 4));
  const __m128i b8 = _mm_or_si128(_mm_slli_epi32(b5, 3), _mm_srli_epi32(b5, 2));
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(r8, 16), _mm_slli_epi32(g8, 8)), b8);
}

// 4 pixels of 4-4-4-4 (low halves of 32-bit lanes) as 8-8-8-8.
inline __m128i Widen4444(__m128i p) {
  const __m128i e = _mm_or_si128(
      _mm_or_si128(_mm_slli_epi32(_mm_and_si128(p, Set32(0xF000)), 12), _mm_slli_epi32(_mm_and_si128(p, Set32(0x0F00)), 8)),
      _mm_or_si128(_mm_slli_epi32(_mm_and_si128(p, Set32(0x00F0)), 4), _mm_and_si128(p, Set32(0x000F))));
  return _mm_or_si128(e, _mm_slli_epi32(e, 4));
}

// 4 pixels of 8-8-8 as 5-6-5 in the low 64 bits.
inline __m128i Narrow565(__m128i p) {
  __m128i v = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 8), Set32(0xF800)),
                           _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 5), Set32(0x07E0)),
                                        _mm_and_si128(_mm_srli_epi32(p, 3), Set32(0x001F))));
  v = _mm_srai_epi32(_mm_slli_epi32(v, 16), 16);  // sign-extended: the pack keeps the bits
  return _mm_packs_epi32(v, v);
}

// round(x / 255) lane by lane, x <= 65025.
inline __m128i Div255(__m128i x) {
  x = _mm_add_epi16(x, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}
inline __m128i Mul255(__m128i a, __m128i b) { return Div255(_mm_mullo_epi16(a, b)); }
// Each pixel's alpha lane copied into its four lanes.
inline __m128i AlphaOf(__m128i v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF); }

template <TexKind T>
constexpr int TexBytes() {
  return T == TexKind::XRGB || T == TexKind::ARGB ? 4 : 2;
}

// Raw texels to 32-bit ARGB with the keyed ones made transparent black.
template <TexKind T, bool Key>
inline __m128i Texels(__m128i raw, __m128i key, __m128i keyMask) {
  __m128i t;
  if constexpr (T == TexKind::XRGB)
    t = _mm_or_si128(raw, Set32(0xFF000000u));
  else if constexpr (T == TexKind::ARGB)
    t = raw;
  else if constexpr (T == TexKind::R565)
    t = _mm_or_si128(Widen565(raw), Set32(0xFF000000u));
  else
    t = Widen4444(raw);
  if constexpr (Key) t = _mm_andnot_si128(_mm_cmpeq_epi32(_mm_and_si128(raw, keyMask), key), t);
  return t;
}

// Blends 4 texels `t` (ARGB, transparent black where keyed) onto 4 target pixels `d`.
template <bool OpaqueTex, Blend B, ColourKind C>
inline __m128i Shade(__m128i t, __m128i d, __m128i colour) {
  const __m128i zero = _mm_setzero_si128(), rgb = Set32(0x00FFFFFFu);
  if constexpr (C == ColourKind::Plain && OpaqueTex) {
    // The texel itself, or the target where the key made it transparent.
    if constexpr (B == Blend::Normal) {
      const __m128i clear = _mm_cmpeq_epi32(t, zero);
      const __m128i put = _mm_or_si128(_mm_andnot_si128(rgb, d), _mm_and_si128(t, rgb));
      return _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, put));
    } else {
      return _mm_adds_epu8(d, _mm_and_si128(t, rgb));
    }
  } else {
    __m128i tl = _mm_unpacklo_epi8(t, zero), th = _mm_unpackhi_epi8(t, zero);
    if constexpr (C != ColourKind::Plain) {
      tl = Mul255(tl, colour);
      th = Mul255(th, colour);
    }
    const __m128i al = AlphaOf(tl), ah = AlphaOf(th);
    const __m128i dl = _mm_unpacklo_epi8(d, zero), dh = _mm_unpackhi_epi8(d, zero);
    __m128i ol, oh;
    if constexpr (B == Blend::Normal) {
      const __m128i c255 = _mm_set1_epi16(255);
      ol = Div255(_mm_add_epi16(_mm_mullo_epi16(tl, al), _mm_mullo_epi16(dl, _mm_sub_epi16(c255, al))));
      oh = Div255(_mm_add_epi16(_mm_mullo_epi16(th, ah), _mm_mullo_epi16(dh, _mm_sub_epi16(c255, ah))));
    } else {
      ol = _mm_add_epi16(dl, Mul255(tl, al));
      oh = _mm_add_epi16(dh, Mul255(th, ah));
    }
    const __m128i o = _mm_packus_epi16(ol, oh);  // saturates the additive sum at 255
    // The target's top byte stays; its colour is the blend (which gives the target back
    // where the alpha is 0).
    return _mm_or_si128(_mm_andnot_si128(rgb, d), _mm_and_si128(o, rgb));
  }
}

template <PF F>
inline __m128i LoadTarget(const uint8_t* p) {
  if constexpr (F == PF::XRGB8888)
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  else
    return Widen565(_mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128()));
}

template <PF F>
inline void StoreTarget(uint8_t* p, __m128i v) {
  if constexpr (F == PF::XRGB8888)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  else
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), Narrow565(v));
}

template <TexKind T>
inline uint32_t LoadTexel(const uint8_t* p) {
  if constexpr (TexBytes<T>() == 4) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  } else {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
}

template <PF F, TexKind T, bool Key, Blend B, ColourKind C>
void SpanVec(const SpanCtx& c, uint8_t* row, int32_t x, int32_t n, const SpanStart& s) {
  constexpr int kBpp = F == PF::XRGB8888 ? 4 : 2;
  constexpr int kTb = TexBytes<T>();
  constexpr bool kOpaque = T == TexKind::XRGB || T == TexKind::R565;
  uint8_t* d = row + static_cast<size_t>(x) * kBpp;
  const __m128i key = Set32(c.key), keyMask = Set32(c.keyMask);
  const uint32_t f = c.flat;
  // The colour per lane as unpacked pixels hold it: b, g, r, a.
  const __m128i colour = _mm_setr_epi16(static_cast<int16_t>(f & 255), static_cast<int16_t>((f >> 8) & 255),
                                        static_cast<int16_t>((f >> 16) & 255), static_cast<int16_t>(f >> 24),
                                        static_cast<int16_t>(f & 255), static_cast<int16_t>((f >> 8) & 255),
                                        static_cast<int16_t>((f >> 16) & 255), static_cast<int16_t>(f >> 24));

  // One texture row and unit steps: the texels lie side by side.
  const bool oneRow = c.dv == 0;
  const int64_t firstU = s.u >> kTexFrac;
  const bool contiguous = oneRow && c.du == (int64_t{1} << kTexFrac) && firstU >= 0 && firstU + n <= c.texW;
  const uint8_t* texRow = c.tex + static_cast<size_t>(WrapIndex(s.v >> kTexFrac, c.texH)) * c.texPitch;

  int64_t u = s.u, v = s.v;
  uint32_t raw[4];
  for (int32_t k = 0; k < n; k += 4) {
    const int32_t m = n - k < 4 ? n - k : 4;
    if (contiguous) {
      const uint8_t* p = texRow + static_cast<size_t>(firstU + k) * kTb;
      if (kTb == 4 && m == 4)
        std::memcpy(raw, p, 16);
      else
        for (int i = 0; i < m; ++i) raw[i] = LoadTexel<T>(p + static_cast<size_t>(i) * kTb);
    } else {
      for (int i = 0; i < m; ++i) {
        const uint8_t* r = oneRow ? texRow : c.tex + static_cast<size_t>(WrapIndex(v >> kTexFrac, c.texH)) * c.texPitch;
        raw[i] = LoadTexel<T>(r + static_cast<size_t>(WrapIndex(u >> kTexFrac, c.texW)) * kTb);
        u += c.du;
        v += c.dv;
      }
    }
    // Lanes past the span's end: transparent, and not stored.
    for (int i = m; i < 4; ++i) raw[i] = 0;
    const __m128i t = Texels<T, Key>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(raw)), key, keyMask);
    uint8_t* p = d + static_cast<size_t>(k) * kBpp;
    if (m == 4) {
      StoreTarget<F>(p, Shade<kOpaque, B, C>(t, LoadTarget<F>(p), colour));
    } else {
      alignas(16) uint8_t tmp[16] = {};
      std::memcpy(tmp, p, static_cast<size_t>(m) * kBpp);
      StoreTarget<F>(tmp, Shade<kOpaque, B, C>(t, LoadTarget<F>(tmp), colour));
      std::memcpy(p, tmp, static_cast<size_t>(m) * kBpp);
    }
  }
}

template <PF F, TexKind T, bool K, Blend B>
SpanFn PickColour(ColourKind c) {
  switch (c) {
    case ColourKind::Plain: return &SpanVec<F, T, K, B, ColourKind::Plain>;
    case ColourKind::White:
    case ColourKind::Flat: return &SpanVec<F, T, K, B, ColourKind::Flat>;
    case ColourKind::Gouraud: break;
  }
  return nullptr;
}

template <PF F, TexKind T>
SpanFn PickRest(bool key, Blend b, ColourKind c) {
  if (b == Blend::Normal) return key ? PickColour<F, T, true, Blend::Normal>(c) : PickColour<F, T, false, Blend::Normal>(c);
  if (b == Blend::Add) return key ? PickColour<F, T, true, Blend::Add>(c) : PickColour<F, T, false, Blend::Add>(c);
  return nullptr;
}

template <PF F>
SpanFn PickTexture(TexKind t, bool key, Blend b, ColourKind c) {
  switch (t) {
    case TexKind::XRGB: return PickRest<F, TexKind::XRGB>(key, b, c);
    case TexKind::R565: return PickRest<F, TexKind::R565>(key, b, c);
    case TexKind::ARGB: return PickRest<F, TexKind::ARGB>(key, b, c);
    case TexKind::A4444: return PickRest<F, TexKind::A4444>(key, b, c);
    case TexKind::None: break;
  }
  return nullptr;
}

}  // namespace

SpanFn SelectVectorSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour) {
  if (linear) return nullptr;
  if (target == PF::RGB565) return PickTexture<PF::RGB565>(tex, key, blend, colour);
  return PickTexture<PF::XRGB8888>(tex, key, blend, colour);
}

#else

SpanFn SelectVectorSpan(PixelFormat, TexKind, bool, bool, Blend, ColourKind) { return nullptr; }

#endif

}  // namespace platform::raster
