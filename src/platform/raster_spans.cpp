// The reference loops of the rasteriser, pixel by pixel. Every step is 8-bit integer arithmetic with the
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
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/raster_pixel.hpp"
#include "platform/raster_simd.hpp"
#include "platform/raster_spans.hpp"

namespace platform::raster {
namespace {

using PF = PixelFormat;

template <PF F, TexKind T, bool Linear, bool Key, Blend B, ColourKind C>
void SpanRow(const SpanCtx& c, uint8_t* row, int32_t x, int32_t n, const SpanStart& s) {
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
    Put<F, B, C, Key>(d, t, Rgba{va, vr, vg, vb});
  }
}

template <PF F, TexKind T, bool L, bool K, Blend B, ColourKind C>
struct Reference {
  static SpanFn Get() { return &EachRow<&SpanRow<F, T, L, K, B, C>>; }
};

SpanFn Pick(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour, Loops widest);

}  // namespace

SpanFn SelectSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                  Loops widest) {
  // Consecutive quads mostly ask for the same loop. Each drawing thread keeps its own.
  struct Wahl {
    PixelFormat target;
    TexKind tex;
    bool linear, key;
    Blend blend;
    ColourKind colour;
    Loops widest;
    bool operator==(const Wahl&) const = default;
  };
  thread_local Wahl last{PF::XRGB8888, TexKind::None, false, false, Blend::Replace, ColourKind::Plain,
                         Loops::Reference};
  thread_local SpanFn lastFn = nullptr;
  const Wahl now{target, tex, linear, key, blend, colour, widest};
  if (lastFn && now == last) return lastFn;
  last = now;
  lastFn = Pick(target, tex, linear, key, blend, colour, widest);
  return lastFn;
}

namespace {

SpanFn Pick(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour, Loops widest) {
  const Loops usable = std::min(widest, WidestLoops());
  for (const SpanFamily& f : kSpanFamilies)
    if (usable >= f.width)
      if (SpanFn fast = f.parts[SpanPart(target, tex)](target, tex, linear, key, blend, colour)) return fast;
  return PickLoop<Reference>::For(target, tex, linear, key, blend, colour);
}

}  // namespace

const std::array<SpanFamily, 3> kSpanFamilies = {{
    {"avx2", Loops::Avx2, kPartsOf<Avx2Loops>},
    {"sse2", Loops::Sse2, kPartsOf<Sse2Loops>},
    {"plain", Loops::Plain, kPartsOf<PlainLoops>},
}};

Loops WidestLoops() {
#if defined(__x86_64__) && defined(__GNUC__)
  static const Loops widest = __builtin_cpu_supports("avx2") ? Loops::Avx2 : Loops::Sse2;
  return widest;
#elif defined(__SSE2__)
  return Loops::Sse2;
#else
  return Loops::Plain;
#endif
}

}  // namespace platform::raster
