#pragma once
// One pixel of a span, step by step, as raster_spans.cpp describes: the texel widened to
// ARGB, the target's pixel read and written in its format, and the modulate-and-blend of
// one source pixel onto the target. The per-pixel loops (the reference and the plain
// fast ones) share these, so they agree by construction; the SSE2 loops gather their
// texels pixel by pixel here too.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/raster_spans.hpp"

namespace platform::raster {

template <TexKind T>
constexpr int TexBytes() {
  return T == TexKind::XRGB || T == TexKind::ARGB ? 4 : 2;
}

template <TexKind T>
inline uint32_t Raw(const uint8_t* p) {
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

// The texel at `p` as ARGB; a keyed one is transparent black.
template <TexKind T, bool Key>
inline uint32_t TexelAt(const SpanCtx& c, const uint8_t* p) {
  const uint32_t raw = Raw<T>(p);
  if constexpr (Key) return (raw & c.keyMask) == c.key ? 0 : ToArgb<T>(raw);
  return ToArgb<T>(raw);
}

template <TexKind T, bool Key>
inline uint32_t Texel(const SpanCtx& c, int32_t i, int32_t j) {
  return TexelAt<T, Key>(c, c.tex + static_cast<size_t>(j) * c.texPitch + static_cast<size_t>(i) * TexBytes<T>());
}

// The texel at (u, v), wrapped into the texture, filtered or not.
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

// The texels of a stretch of pixels gathered one pixel at a time (their places follow the
// texture coordinates) into rows of their own, for vector loops that cannot pick lanes by
// index: per pixel its texel, or when filtering the texel and its right-hand neighbour,
// in `oben`, and the two below them in `unten`. The vector loads come a stretch later
// and find the values settled in memory.
template <TexKind T, bool Linear, int N>
struct Gesammelt {
  static constexpr int kStrecke = 8 * N;                             // pixels
  static constexpr int kBytes = (Linear ? 2 : 1) * TexBytes<T>();  // per pixel
  alignas(32) uint8_t oben[kStrecke * kBytes];
  alignas(32) uint8_t unten[Linear ? kStrecke * kBytes : 1];
};

// Two texels as one value.
template <TexKind T>
inline auto Paar(const uint8_t* links, const uint8_t* rechts) {
  if constexpr (TexBytes<T>() == 4)
    return uint64_t{Raw<T>(links)} | uint64_t{Raw<T>(rechts)} << 32;
  else
    return Raw<T>(links) | Raw<T>(rechts) << 16;
}

// Gathers the texels of the next m (1..kStrecke) pixels from (u, v) on into `g`; the
// places of a group of N up to the next multiple are cleared.
template <TexKind T, bool Linear, int N>
inline void Sammle(const SpanCtx& c, int64_t u, int64_t v, int32_t m, Gesammelt<T, Linear, N>& g) {
  constexpr int kTb = TexBytes<T>(), kB = Gesammelt<T, Linear, N>::kBytes;
  // Inside these neither a sample nor its neighbours wrap.
  const uint64_t w = static_cast<uint64_t>(c.texW - Linear), h = static_cast<uint64_t>(c.texH - Linear);
  int i = 0;
  if (c.dv == 0 && static_cast<uint64_t>(v >> kTexFrac) < h) {
    // One texture row (or two when filtering) along the whole stretch.
    const uint8_t* zeile = c.tex + static_cast<size_t>(v >> kTexFrac) * c.texPitch;
    for (; i < m; ++i, u += c.du) {
      const int64_t iu = u >> kTexFrac;
      if (static_cast<uint64_t>(iu) >= w) break;
      std::memcpy(g.oben + i * kB, zeile + static_cast<size_t>(iu) * kTb, kB);
      if constexpr (Linear) std::memcpy(g.unten + i * kB, zeile + c.texPitch + static_cast<size_t>(iu) * kTb, kB);
    }
  }
  for (; i < m; ++i, u += c.du, v += c.dv) {
    const int64_t iu = u >> kTexFrac, iv = v >> kTexFrac;
    if (static_cast<uint64_t>(iu) < w && static_cast<uint64_t>(iv) < h) {
      const uint8_t* p = c.tex + static_cast<size_t>(iv) * c.texPitch + static_cast<size_t>(iu) * kTb;
      std::memcpy(g.oben + i * kB, p, kB);
      if constexpr (Linear) std::memcpy(g.unten + i * kB, p + c.texPitch, kB);
      continue;
    }
    const uint8_t* zeile = c.tex + static_cast<size_t>(WrapIndex(iv, c.texH)) * c.texPitch;
    const uint8_t* links = zeile + static_cast<size_t>(WrapIndex(iu, c.texW)) * kTb;
    if constexpr (Linear) {
      const size_t rechts = static_cast<size_t>(WrapIndex(iu + 1, c.texW)) * kTb;
      const uint8_t* darunter = c.tex + static_cast<size_t>(WrapIndex(iv + 1, c.texH)) * c.texPitch;
      const auto a = Paar<T>(links, zeile + rechts), b = Paar<T>(darunter + (links - zeile), darunter + rechts);
      std::memcpy(g.oben + i * kB, &a, kB);
      std::memcpy(g.unten + i * kB, &b, kB);
    } else {
      std::memcpy(g.oben + i * kB, links, kB);
    }
  }
  // Lanes past the span's end: anything, they are not stored.
  for (int k = m; k % N != 0; ++k) {
    std::memset(g.oben + k * kB, 0, kB);
    if constexpr (Linear) std::memset(g.unten + k * kB, 0, kB);
  }
}

inline uint32_t Clamp8(int64_t fixed) {
  const int64_t v = fixed >> kColFrac;
  return v < 0 ? 0u : v > 255 ? 255u : static_cast<uint32_t>(v);
}

template <PixelFormat F>
inline void ReadDst(const uint8_t* p, uint32_t& r, uint32_t& g, uint32_t& b) {
  if constexpr (F == PixelFormat::XRGB8888) {
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

template <PixelFormat F>
inline void WriteDst(uint8_t* p, uint32_t r, uint32_t g, uint32_t b) {
  if constexpr (F == PixelFormat::XRGB8888) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    v = (v & 0xFF000000u) | (r << 16) | (g << 8) | b;
    std::memcpy(p, &v, 4);
  } else {
    const uint16_t v = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    std::memcpy(p, &v, 2);
  }
}

// The vertex colour of one pixel, 8 bits per channel.
struct Rgba {
  uint32_t a, r, g, b;
};

// A source pixel (its colour and its alpha, modulated) blended onto the target pixel at
// `d`; `texAlpha` is the texel's own alpha, which decides for blending off.
template <PixelFormat F, Blend B, bool Key>
inline void Blend1(uint8_t* d, uint32_t sr, uint32_t sg, uint32_t sb, uint32_t sa, uint32_t texAlpha) {
  if constexpr (B == Blend::Replace) {
    if (Key && texAlpha == 0) return;
    WriteDst<F>(d, sr, sg, sb);
  } else {
    if (sa == 0) return;
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

// Texel `t` (ARGB) modulated by `v` and blended onto the target pixel at `d`.
template <PixelFormat F, Blend B, ColourKind C, bool Key>
inline void Put(uint8_t* d, uint32_t t, const Rgba& v) {
  const uint32_t ta = t >> 24;
  uint32_t sr = (t >> 16) & 255, sg = (t >> 8) & 255, sb = t & 255;
  if constexpr (C == ColourKind::Flat || C == ColourKind::Gouraud) {
    sr = Mul255(sr, v.r);
    sg = Mul255(sg, v.g);
    sb = Mul255(sb, v.b);
  }
  Blend1<F, B, Key>(d, sr, sg, sb, Mul255(ta, v.a), ta);
}

}  // namespace platform::raster
