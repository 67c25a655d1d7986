// The per-pixel loops of the rasteriser. Every step is 8-bit integer arithmetic with the
// rounding fixed here, so the picture is the same on every machine and in every build:
//   texel      the texture's pixel widened to 8 bits per channel (bit replication); a keyed
//              texel is transparent black; linear filtering weighs four texels with 7-bit
//              fractions, first across, then down, and rounds once at the end;
//   modulate   texel x vertex colour / 255, rounded to nearest;
//   blend      normal: (src x a + dst x (255 - a)) / 255 rounded; additive: dst + src x a
//              / 255 rounded, saturated at 255;
//   store      truncated to the target's channel widths; the unused top byte of a 32-bit
//              target pixel is kept as it was.
// A pixel whose source alpha is 0 is left alone (both blends give the destination back).
#include <cstddef>
#include <cstring>

#include "platform/raster_simd.hpp"
#include "platform/raster_spans.hpp"

namespace platform::raster {
namespace {

using PF = PixelFormat;

template <TexKind T>
inline uint32_t Raw(const uint8_t* row, int32_t i) {
  if constexpr (T == TexKind::XRGB || T == TexKind::ARGB) {
    uint32_t v;
    std::memcpy(&v, row + 4 * static_cast<size_t>(i), 4);
    return v;
  } else {
    uint16_t v;
    std::memcpy(&v, row + 2 * static_cast<size_t>(i), 2);
    return v;
  }
}

template <TexKind T>
inline uint32_t ToArgb(uint32_t p) {
  if constexpr (T == TexKind::XRGB) {
    return p | 0xFF000000u;
  } else if constexpr (T == TexKind::ARGB) {
    return p;
  } else if constexpr (T == TexKind::R565) {
    const uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    return 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
  } else {
    // Each nibble n becomes n * 17 (0x0 -> 0x00, 0xF -> 0xFF).
    const uint32_t e = ((p & 0xF000u) << 12) | ((p & 0x0F00u) << 8) | ((p & 0x00F0u) << 4) | (p & 0x000Fu);
    return e | (e << 4);
  }
}

template <TexKind T, bool Key>
inline uint32_t Texel(const SpanCtx& c, int32_t i, int32_t j) {
  const uint32_t raw = Raw<T>(c.tex + static_cast<size_t>(j) * c.texPitch, i);
  if constexpr (Key) {
    if ((raw & c.keyMask) == c.key) return 0;
  }
  return ToArgb<T>(raw);
}

template <TexKind T, bool Linear, bool Key>
inline uint32_t Sample(const SpanCtx& c, int64_t u, int64_t v) {
  if constexpr (T == TexKind::None) {
    return 0xFFFFFFFFu;
  } else if constexpr (!Linear) {
    return Texel<T, Key>(c, WrapIndex(u >> kTexFrac, c.texW), WrapIndex(v >> kTexFrac, c.texH));
  } else {
    const int64_t iu = u >> kTexFrac, iv = v >> kTexFrac;
    const uint32_t fx = static_cast<uint32_t>(u >> (kTexFrac - kFilterBits)) & kFilterMask;
    const uint32_t fy = static_cast<uint32_t>(v >> (kTexFrac - kFilterBits)) & kFilterMask;
    const int32_t i0 = WrapIndex(iu, c.texW), i1 = WrapIndex(iu + 1, c.texW);
    const int32_t j0 = WrapIndex(iv, c.texH), j1 = WrapIndex(iv + 1, c.texH);
    const uint32_t t00 = Texel<T, Key>(c, i0, j0), t10 = Texel<T, Key>(c, i1, j0);
    const uint32_t t01 = Texel<T, Key>(c, i0, j1), t11 = Texel<T, Key>(c, i1, j1);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const uint32_t oben = ((t00 >> shift) & 255) * (kFilterOne - fx) + ((t10 >> shift) & 255) * fx;
      const uint32_t unten = ((t01 >> shift) & 255) * (kFilterOne - fx) + ((t11 >> shift) & 255) * fx;
      out |= ((oben * (kFilterOne - fy) + unten * fy + kFilterRound) >> (2 * kFilterBits)) << shift;
    }
    return out;
  }
}

inline uint32_t Clamp8(int64_t fixed) {
  const int64_t v = fixed >> kColFrac;
  return v < 0 ? 0u : v > 255 ? 255u : static_cast<uint32_t>(v);
}

template <PF F>
inline void ReadDst(const uint8_t* p, uint32_t& r, uint32_t& g, uint32_t& b) {
  if constexpr (F == PF::XRGB8888) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    r = (v >> 16) & 255;
    g = (v >> 8) & 255;
    b = v & 255;
  } else {
    uint16_t v;
    std::memcpy(&v, p, 2);
    const uint32_t r5 = (v >> 11) & 31, g6 = (v >> 5) & 63, b5 = v & 31;
    r = (r5 << 3) | (r5 >> 2);
    g = (g6 << 2) | (g6 >> 4);
    b = (b5 << 3) | (b5 >> 2);
  }
}

template <PF F>
inline void WriteDst(uint8_t* p, uint32_t r, uint32_t g, uint32_t b) {
  if constexpr (F == PF::XRGB8888) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    v = (v & 0xFF000000u) | (r << 16) | (g << 8) | b;
    std::memcpy(p, &v, 4);
  } else {
    const uint16_t v = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    std::memcpy(p, &v, 2);
  }
}

template <PF F, TexKind T, bool Linear, bool Key, Blend B, ColourKind C>
inline void SpanRow(const SpanCtx& c, uint8_t* row, int32_t x, int32_t n, const SpanStart& s) {
  constexpr int kBpp = F == PF::XRGB8888 ? 4 : 2;
  uint8_t* d = row + static_cast<size_t>(x) * kBpp;
  int64_t u = s.u, v = s.v;
  int64_t ca = s.col[0], cr = s.col[1], cg = s.col[2], cb = s.col[3];
  const uint32_t fa = c.flat >> 24, fr = (c.flat >> 16) & 255, fg = (c.flat >> 8) & 255, fb = c.flat & 255;
  for (int32_t k = 0; k < n; ++k, d += kBpp) {
    const uint32_t t = Sample<T, Linear, Key>(c, u, v);
    u += c.du;
    v += c.dv;
    uint32_t va = fa, vr = fr, vg = fg, vb = fb;
    if constexpr (C == ColourKind::Gouraud) {
      va = Clamp8(ca);
      vr = Clamp8(cr);
      vg = Clamp8(cg);
      vb = Clamp8(cb);
      ca += c.dcol[0];
      cr += c.dcol[1];
      cg += c.dcol[2];
      cb += c.dcol[3];
    }
    const uint32_t ta = t >> 24;
    const uint32_t sa = Mul255(ta, va);
    if constexpr (B == Blend::Replace) {
      if (Key && ta == 0) continue;
    } else {
      if (sa == 0) continue;
    }
    uint32_t sr = (t >> 16) & 255, sg = (t >> 8) & 255, sb = t & 255;
    if constexpr (C == ColourKind::Flat || C == ColourKind::Gouraud) {
      sr = Mul255(sr, vr);
      sg = Mul255(sg, vg);
      sb = Mul255(sb, vb);
    }
    if constexpr (B == Blend::Replace) {
      WriteDst<F>(d, sr, sg, sb);
    } else {
      uint32_t dr, dg, db;
      ReadDst<F>(d, dr, dg, db);
      if constexpr (B == Blend::Normal) {
        const uint32_t ia = 255 - sa;
        dr = Div255(sr * sa + dr * ia);
        dg = Div255(sg * sa + dg * ia);
        db = Div255(sb * sa + db * ia);
      } else {
        dr += Mul255(sr, sa);
        dg += Mul255(sg, sa);
        db += Mul255(sb, sa);
        dr = dr > 255 ? 255 : dr;
        dg = dg > 255 ? 255 : dg;
        db = db > 255 ? 255 : db;
      }
      WriteDst<F>(d, dr, dg, db);
    }
  }
}

template <PF F, TexKind T, bool Linear, bool Key, Blend B, ColourKind C>
void SpanScalar(const SpanCtx& c, const SpanRows& rows, int32_t x, int32_t n, const SpanStart& s) {
  SpanStart r = s;
  for (int32_t i = 0; i < rows.count; ++i, r.v += rows.dv)
    SpanRow<F, T, Linear, Key, B, C>(c, rows.row + static_cast<ptrdiff_t>(i) * rows.pitch, x, n, r);
}

// The table of loops, built by walking the template arguments.
template <PF F, TexKind T, bool L, bool K, Blend B>
SpanFn PickColour(ColourKind c) {
  switch (c) {
    case ColourKind::Plain: return &SpanScalar<F, T, L, K, B, ColourKind::Plain>;
    case ColourKind::White: return &SpanScalar<F, T, L, K, B, ColourKind::White>;
    case ColourKind::Flat: return &SpanScalar<F, T, L, K, B, ColourKind::Flat>;
    case ColourKind::Gouraud: break;
  }
  return &SpanScalar<F, T, L, K, B, ColourKind::Gouraud>;
}

template <PF F, TexKind T, bool L, bool K>
SpanFn PickBlend(Blend b, ColourKind c) {
  switch (b) {
    case Blend::Replace: return PickColour<F, T, L, K, Blend::Replace>(c);
    case Blend::Normal: return PickColour<F, T, L, K, Blend::Normal>(c);
    case Blend::Add: break;
  }
  return PickColour<F, T, L, K, Blend::Add>(c);
}

template <PF F, TexKind T>
SpanFn PickSampling(bool linear, bool key, Blend b, ColourKind c) {
  if constexpr (T == TexKind::None) {
    return PickBlend<F, T, false, false>(b, c);
  } else {
    if (linear) return key ? PickBlend<F, T, true, true>(b, c) : PickBlend<F, T, true, false>(b, c);
    return key ? PickBlend<F, T, false, true>(b, c) : PickBlend<F, T, false, false>(b, c);
  }
}

template <PF F>
SpanFn PickTexture(TexKind t, bool linear, bool key, Blend b, ColourKind c) {
  switch (t) {
    case TexKind::None: return PickSampling<F, TexKind::None>(linear, key, b, c);
    case TexKind::XRGB: return PickSampling<F, TexKind::XRGB>(linear, key, b, c);
    case TexKind::R565: return PickSampling<F, TexKind::R565>(linear, key, b, c);
    case TexKind::ARGB: return PickSampling<F, TexKind::ARGB>(linear, key, b, c);
    case TexKind::A4444: break;
  }
  return PickSampling<F, TexKind::A4444>(linear, key, b, c);
}

SpanFn Pick(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour, Loops widest);

}  // namespace

SpanFn SelectSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                  Loops widest) {
  // Consecutive quads mostly ask for the same loop. (The device is used from one thread.)
  struct Wahl {
    PixelFormat target;
    TexKind tex;
    bool linear, key;
    Blend blend;
    ColourKind colour;
    Loops widest;
    bool operator==(const Wahl&) const = default;
  };
  static Wahl last{PF::XRGB8888, TexKind::None, false, false, Blend::Replace, ColourKind::Plain, Loops::Plain};
  static SpanFn lastFn = nullptr;
  const Wahl now{target, tex, linear, key, blend, colour, widest};
  if (lastFn && now == last) return lastFn;
  last = now;
  lastFn = Pick(target, tex, linear, key, blend, colour, widest);
  return lastFn;
}

namespace {

SpanFn Pick(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour, Loops widest) {
  if (SpanFn fast = SelectVectorSpan(target, tex, linear, key, blend, colour, widest)) return fast;
  if (target == PF::RGB565) return PickTexture<PF::RGB565>(tex, linear, key, blend, colour);
  return PickTexture<PF::XRGB8888>(tex, linear, key, blend, colour);
}

}  // namespace

}  // namespace platform::raster
