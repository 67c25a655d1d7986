// The plain fast loops: the reference's steps (raster_spans.cpp) pixel by pixel, giving
// the same pixels, but
//   - texels are read straight from their row wherever the samples of the span lie inside
//     the texture (with the right and lower neighbours when filtering): the span is cut
//     into runs where no coordinate wraps, found by division, and only the samples
//     between the runs wrap;
//   - the filter weighs two channels at a time (blue and red, then green and alpha);
//   - the blend works on blue, green and red at once, in 16-bit fields of one word;
//   - an interpolated colour that stays inside 0..255 over the whole span is not clamped.
// They serve the blends the game uses (normal and additive); processors with vector
// loops use these for nothing the vector loops cover. Compiled once per part of the loops
// (HARVO_SPAN_PART, raster_spans.hpp).
#include <algorithm>
#include <cstddef>

#include "platform/raster_pixel.hpp"
#include "platform/raster_spans.hpp"

namespace platform::raster {
namespace {

using PF = PixelFormat;

// The steps of one pixel go into the loop, however many the loop has.
#define HARVO_PIXEL_STEP __attribute__((always_inline)) inline

// How many of the samples start + k step (k = 0, 1, ..., at most n) lie in [0, end)
// before the first that does not.
int32_t RunInside(int64_t start, int64_t step, int64_t end, int32_t n) {
  if (start < 0 || start >= end) return 0;
  int64_t k = n;
  if (step > 0)
    k = (end - start + step - 1) / step;
  else if (step < 0)
    k = start / -step + 1;
  return k < n ? static_cast<int32_t>(k) : n;
}

// The reference's filter, two channels in one word: 16 bits apart for the sums across
// (each at most 255 x 128), then 32 bits apart for the sums down (each below 2^22 with
// the rounding), so no channel carries into the next.
HARVO_PIXEL_STEP uint32_t Filter2x2(uint32_t t00, uint32_t t10, uint32_t t01, uint32_t t11, uint32_t fx, uint32_t fy) {
  constexpr uint32_t kPaar = 0x00FF00FFu;
  constexpr uint64_t kRund = (uint64_t{kFilterRound} << 32) | kFilterRound;
  const uint32_t ix = kFilterOne - fx, iy = kFilterOne - fy;
  const auto runter = [&](uint32_t oben, uint32_t unten) {
    const uint64_t o = (oben & 0xFFFFu) | (uint64_t{oben >> 16} << 32);
    const uint64_t u = (unten & 0xFFFFu) | (uint64_t{unten >> 16} << 32);
    const uint64_t s = o * iy + u * fy + kRund;
    return static_cast<uint32_t>(((s >> (2 * kFilterBits)) & 0xFFu) | ((s >> (32 + 2 * kFilterBits - 16)) & 0xFF0000u));
  };
  const uint32_t br = runter((t00 & kPaar) * ix + (t10 & kPaar) * fx, (t01 & kPaar) * ix + (t11 & kPaar) * fx);
  const uint32_t ga = runter(((t00 >> 8) & kPaar) * ix + ((t10 >> 8) & kPaar) * fx,
                             ((t01 >> 8) & kPaar) * ix + ((t11 >> 8) & kPaar) * fx);
  return br | (ga << 8);
}

// The blend three channels at once: blue, green and red in the 16-bit fields of one word,
// where the blends' products and sums fit (at most 255 x 255 + 255), so one
// multiplication serves all three.
constexpr uint64_t kDrei = 0x000000FF00FF00FFull;

HARVO_PIXEL_STEP uint64_t Drei(uint32_t r, uint32_t g, uint32_t b) { return b | uint64_t{g} << 16 | uint64_t{r} << 32; }

// round(x / 255) in each field, as Div255.
HARVO_PIXEL_STEP uint64_t Div255Drei(uint64_t x) {
  x += 0x0000008000800080ull;
  return ((x + ((x >> 8) & kDrei)) >> 8) & kDrei;
}

template <PF F>
HARVO_PIXEL_STEP uint64_t ReadDrei(const uint8_t* p) {
  if constexpr (F == PF::XRGB8888) {
    const uint32_t v = Raw<TexKind::XRGB>(p);
    return (v & 0xFFu) | uint64_t{v & 0xFF00u} << 8 | uint64_t{v & 0xFF0000u} << 16;
  } else {
    uint32_t r, g, b;
    ReadDst<F>(p, r, g, b);
    return Drei(r, g, b);
  }
}

// Blend1 for a visible source (sa > 0).
template <PF F, Blend B>
HARVO_PIXEL_STEP void BlendDrei(uint8_t* d, uint64_t s, uint32_t sa) {
  const uint64_t dst = ReadDrei<F>(d);
  uint64_t out;
  if constexpr (B == Blend::Normal) {
    out = Div255Drei(s * sa + dst * (255 - sa));
  } else {
    out = dst + Div255Drei(s * sa);
    out = (out | ((out >> 8) & 0x0000000100010001ull) * 255) & kDrei;  // saturated at 255
  }
  WriteDst<F>(d, static_cast<uint32_t>(out >> 32), static_cast<uint32_t>(out >> 16) & 255,
              static_cast<uint32_t>(out) & 255);
}

// Put for the blends with alpha.
template <PF F, Blend B, ColourKind C>
HARVO_PIXEL_STEP void PutDrei(uint8_t* d, uint32_t t, const Rgba& v) {
  const uint32_t sa = Mul255(t >> 24, v.a);
  if (sa == 0) return;
  uint32_t sr = (t >> 16) & 255, sg = (t >> 8) & 255, sb = t & 255;
  if constexpr (C == ColourKind::Flat || C == ColourKind::Gouraud) {
    sr = Mul255(sr, v.r);
    sg = Mul255(sg, v.g);
    sb = Mul255(sb, v.b);
  }
  BlendDrei<F, B>(d, Drei(sr, sg, sb), sa);
}

// The vertex colour pixel by pixel along a span.
template <ColourKind C>
class Farben {
 public:
  Farben(const SpanCtx& c, const SpanStart& s, int32_t n)
      : flat_{c.flat >> 24, (c.flat >> 16) & 255, (c.flat >> 8) & 255, c.flat & 255}, dcol_(c.dcol) {
    if constexpr (C == ColourKind::Gouraud) {
      constexpr int64_t kEnde = int64_t{256} << kColFrac;
      for (int i = 0; i < 4; ++i) {
        col_[i] = s.col[i];
        const int64_t last = s.col[i] + (n - 1) * c.dcol[i];
        clamp_ = clamp_ || s.col[i] < 0 || s.col[i] >= kEnde || last < 0 || last >= kEnde;
      }
    }
  }
  HARVO_PIXEL_STEP Rgba Next() {
    if constexpr (C != ColourKind::Gouraud) {
      return flat_;
    } else {
      Rgba r;
      if (clamp_)
        r = {Clamp8(col_[0]), Clamp8(col_[1]), Clamp8(col_[2]), Clamp8(col_[3])};
      else
        r = {static_cast<uint32_t>(col_[0] >> kColFrac), static_cast<uint32_t>(col_[1] >> kColFrac),
             static_cast<uint32_t>(col_[2] >> kColFrac), static_cast<uint32_t>(col_[3] >> kColFrac)};
      for (int i = 0; i < 4; ++i) col_[i] += dcol_[i];
      return r;
    }
  }

 private:
  Rgba flat_;
  const int64_t* dcol_;
  int64_t col_[4] = {0, 0, 0, 0};
  bool clamp_ = false;
};

template <PF F, TexKind T, bool Linear, bool Key, Blend B, ColourKind C>
void Row(const SpanCtx& c, uint8_t* row, int32_t x, int32_t n, const SpanStart& s) {
  constexpr int kBpp = F == PF::XRGB8888 ? 4 : 2;
  constexpr int kTb = TexBytes<T>();
  uint8_t* d = row + static_cast<size_t>(x) * kBpp;
  Farben<C> farben(c, s, n);
  int64_t u = s.u, v = s.v;
  if constexpr (T != TexKind::None) {
    u = MiddleInFirstTurn(u, c.du, n, c.texW);
    v = MiddleInFirstTurn(v, c.dv, n, c.texH);
  }
  // Samples below these need no wrapping (nor do their neighbours when filtering).
  const int64_t uEnde = int64_t{c.texW - Linear} << kTexFrac, vEnde = int64_t{c.texH - Linear} << kTexFrac;
  for (int32_t k = 0; k < n;) {
    int32_t m = n - k;
    if constexpr (T != TexKind::None) m = std::min(RunInside(u, c.du, uEnde, m), RunInside(v, c.dv, vEnde, m));
    if (m == 0) {
      PutDrei<F, B, C>(d, Sample<T, Linear, Key>(c, u, v), farben.Next());
      ++k, d += kBpp, u += c.du, v += c.dv;
      continue;
    }
    for (const int32_t ende = k + m; k < ende; ++k, d += kBpp, u += c.du, v += c.dv) {
      if constexpr (T == TexKind::None) {
        // White modulated by the colour is the colour.
        const Rgba f = farben.Next();
        if (f.a != 0) BlendDrei<F, B>(d, Drei(f.r, f.g, f.b), f.a);
      } else {
        uint32_t t;
        const uint8_t* p =
            c.tex + static_cast<size_t>(v >> kTexFrac) * c.texPitch + static_cast<size_t>(u >> kTexFrac) * kTb;
        if constexpr (Linear) {
          const uint8_t* q = p + c.texPitch;
          t = Filter2x2(TexelAt<T, Key>(c, p), TexelAt<T, Key>(c, p + kTb), TexelAt<T, Key>(c, q),
                        TexelAt<T, Key>(c, q + kTb), static_cast<uint32_t>(u >> (kTexFrac - kFilterBits)) & kFilterMask,
                        static_cast<uint32_t>(v >> (kTexFrac - kFilterBits)) & kFilterMask);
        } else {
          t = TexelAt<T, Key>(c, p);
        }
        PutDrei<F, B, C>(d, t, farben.Next());
      }
    }
  }
}

template <PF F, TexKind T, bool L, bool K, Blend B, ColourKind C>
struct Plain {
  static SpanFn Get() {
    if constexpr (B == Blend::Replace)
      return nullptr;
    else
      return &EachRow<&Row<F, T, L, K, B, C>>;
  }
};

}  // namespace

template <>
SpanFn SelectPart<PlainLoops, HARVO_SPAN_PART>(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend,
                                               ColourKind colour) {
  return PickLoop<Plain, HARVO_SPAN_PART>::For(target, tex, linear, key, blend, colour);
}

}  // namespace platform::raster
