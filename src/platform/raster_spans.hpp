#pragma once
// The inner loops of the rasteriser: one horizontal run of pixels of a triangle, with the
// texture coordinates and colour at its first pixel and their steps per pixel. One loop
// per combination of target format, texture format, filter, colour key, blend mode and
// colour kind, chosen once per triangle.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/rasteriser.hpp"
#include "platform/surface.hpp"

namespace platform::raster {

enum class TexKind : uint8_t { None, XRGB, R565, ARGB, A4444 };
// Plain: opaque white (the texel as it is); White: one colour with red, green and blue at
// 255 (only the alpha modulates); Flat: one colour; Gouraud: interpolated.
enum class ColourKind : uint8_t { Plain, White, Flat, Gouraud };

// Texture coordinates are in texels with 24 fraction bits, already moved to the sample
// grid (half a texel back for linear filtering) and on by 1/512 of a texel, so that a
// coordinate a hair below a texel boundary (float noise) samples as the boundary itself.
constexpr int kTexFrac = 24;
// Linear filtering weighs with 7-bit fractions: (t00 (128 - fx) + t10 fx) (128 - fy) +
// (t01 (128 - fx) + t11 fx) fy, rounded, over 2^14. Every sum across fits 15 bits.
constexpr int kFilterBits = 7;
constexpr uint32_t kFilterOne = 1u << kFilterBits, kFilterMask = kFilterOne - 1;
constexpr uint32_t kFilterRound = 1u << (2 * kFilterBits - 1);
// Gouraud colours: 8-bit channels with 16 fraction bits.
constexpr int kColFrac = 16;

struct SpanCtx {
  const uint8_t* tex = nullptr;
  int32_t texPitch = 0, texW = 1, texH = 1;
  uint32_t key = 0, keyMask = 0;
  int64_t du = 0, dv = 0;
  int64_t dcol[4] = {0, 0, 0, 0};  // a, r, g, b
  uint32_t flat = 0xFFFFFFFFu;     // 0xAARRGGBB
};

struct SpanStart {
  int64_t u = 0, v = 0;
  int64_t col[4] = {0, 0, 0, 0};  // a, r, g, b
};

// round(a * b / 255) for a, b in 0..255.
inline uint32_t Mul255(uint32_t a, uint32_t b) {
  const uint32_t x = a * b + 128;
  return (x + (x >> 8)) >> 8;
}
// round(x / 255) for x in 0..255 * 255.
inline uint32_t Div255(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}
// A texel index wrapped into 0..n-1 (WRAP addressing). Mostly it is inside or one turn
// off (a filter's neighbour past the edge).
inline int32_t WrapIndex(int64_t i, int32_t n) {
  if (static_cast<uint64_t>(i) < static_cast<uint64_t>(n)) return static_cast<int32_t>(i);
  if (static_cast<uint64_t>(i + n) < static_cast<uint64_t>(n)) return static_cast<int32_t>(i + n);
  if (static_cast<uint64_t>(i - n) < static_cast<uint64_t>(n)) return static_cast<int32_t>(i - n);
  int64_t m = i % n;
  if (m < 0) m += n;
  return static_cast<int32_t>(m);
}
// The first of `count` texture coordinates `step` apart (kTexFrac fraction bits) moved by
// whole turns of a texture of n texels, so that the middle one falls into the first turn:
// WRAP addressing samples them alike, their fractions stay, and most need no wrapping.
inline int64_t MiddleInFirstTurn(int64_t start, int64_t step, int32_t count, int32_t n) {
  const int64_t turn = int64_t{n} << kTexFrac, mitte = start + (count - 1) / 2 * step;
  if (static_cast<uint64_t>(mitte) < static_cast<uint64_t>(turn)) return start;
  int64_t turns = mitte / turn;
  if (mitte % turn < 0) --turns;
  return start - turns * turn;
}

// The rows a loop draws: `count` rows from `row` on, `pitch` bytes apart, the texture's v
// growing by `dv` from row to row (more than one row only for quads of one colour).
struct SpanRows {
  uint8_t* row = nullptr;
  int32_t pitch = 0, count = 1;
  int64_t dv = 0;
};

using SpanFn = void (*)(const SpanCtx&, const SpanRows&, int32_t x, int32_t n, const SpanStart&);
using RowFn = void (*)(const SpanCtx&, uint8_t* row, int32_t x, int32_t n, const SpanStart&);

// A span loop made of a loop over one row.
template <RowFn Row>
void EachRow(const SpanCtx& c, const SpanRows& rows, int32_t x, int32_t n, const SpanStart& s) {
  SpanStart r = s;
  for (int32_t i = 0; i < rows.count; ++i, r.v += rows.dv) Row(c, rows.row + static_cast<ptrdiff_t>(i) * rows.pitch, x, n, r);
}

// The loop for this combination, no wider than `widest`.
SpanFn SelectSpan(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour,
                  Loops widest);

// A family of fast loops (plain, SSE2, AVX2) is hundreds of instances of one template. Its
// file is compiled in kSpanParts parts, one object file each, that build side by side:
// part p holds the family's loops for the combinations SpanPart gives p, the target's
// format and whether the texture has alpha. Each part defines SelectPart<Family, p>, the
// family's loop for a combination of that part or nullptr where it has none.
constexpr int kSpanParts = 4;
constexpr int SpanPart(PixelFormat target, TexKind tex) {
  const bool alpha = tex == TexKind::ARGB || tex == TexKind::A4444;
  return (target == PixelFormat::RGB565 ? 2 : 0) + (alpha ? 1 : 0);
}
using SelectFn = SpanFn (*)(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour);
template <class Family, int Part>
SpanFn SelectPart(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour);
// The parts of the family `Tag`, defined in their own object files.
#define HARVO_SPAN_FAMILY(Tag)                                                                       \
  struct Tag;                                                                                        \
  template <>                                                                                        \
  SpanFn SelectPart<Tag, 0>(PixelFormat, TexKind, bool, bool, Blend, ColourKind);                    \
  template <>                                                                                        \
  SpanFn SelectPart<Tag, 1>(PixelFormat, TexKind, bool, bool, Blend, ColourKind);                    \
  template <>                                                                                        \
  SpanFn SelectPart<Tag, 2>(PixelFormat, TexKind, bool, bool, Blend, ColourKind);                    \
  template <>                                                                                        \
  SpanFn SelectPart<Tag, 3>(PixelFormat, TexKind, bool, bool, Blend, ColourKind);
static_assert(kSpanParts == 4, "HARVO_SPAN_FAMILY, kPartsOf and CMakeLists.txt name four parts");

// The parts of a family, by part number.
template <class Family>
inline constexpr SelectFn kPartsOf[kSpanParts] = {&SelectPart<Family, 0>, &SelectPart<Family, 1>,
                                                  &SelectPart<Family, 2>, &SelectPart<Family, 3>};

// The families of fast loops, widest first: the loops a combination is drawn with are the
// first family's that has them and is no wider than the processor and the limit allow.
struct SpanFamily {
  const char* name;
  Loops width;
  const SelectFn* parts;  // kPartsOf the family
};
extern const std::array<SpanFamily, 3> kSpanFamilies;

// The plain fast loops (raster_plain.cpp): they serve what the vector loops do not.
HARVO_SPAN_FAMILY(PlainLoops)

// Walks the template arguments down to the loop of one combination: `Family<F, T, Linear,
// Key, B, C>::Get()` gives a family's loop, or nullptr where it has none. Untextured
// spans neither filter nor key. With `Part` (0 to kSpanParts - 1), only that part's
// combinations are instantiated; the others give nullptr.
template <template <PixelFormat, TexKind, bool, bool, Blend, ColourKind> class Family, int Part = -1>
struct PickLoop {
  template <PixelFormat F, TexKind T, bool L, bool K, Blend B>
  static SpanFn Colour(ColourKind c) {
    switch (c) {
      case ColourKind::Plain: return Family<F, T, L, K, B, ColourKind::Plain>::Get();
      case ColourKind::White: return Family<F, T, L, K, B, ColourKind::White>::Get();
      case ColourKind::Flat: return Family<F, T, L, K, B, ColourKind::Flat>::Get();
      case ColourKind::Gouraud: break;
    }
    return Family<F, T, L, K, B, ColourKind::Gouraud>::Get();
  }
  template <PixelFormat F, TexKind T, bool L, bool K>
  static SpanFn WithBlend(Blend b, ColourKind c) {
    switch (b) {
      case Blend::Replace: return Colour<F, T, L, K, Blend::Replace>(c);
      case Blend::Normal: return Colour<F, T, L, K, Blend::Normal>(c);
      case Blend::Add: break;
    }
    return Colour<F, T, L, K, Blend::Add>(c);
  }
  template <PixelFormat F, TexKind T>
  static SpanFn Sampling(bool linear, bool key, Blend b, ColourKind c) {
    if constexpr (Part >= 0 && SpanPart(F, T) != Part) {
      return nullptr;
    } else if constexpr (T == TexKind::None) {
      return WithBlend<F, T, false, false>(b, c);
    } else {
      if (linear) return key ? WithBlend<F, T, true, true>(b, c) : WithBlend<F, T, true, false>(b, c);
      return key ? WithBlend<F, T, false, true>(b, c) : WithBlend<F, T, false, false>(b, c);
    }
  }
  template <PixelFormat F>
  static SpanFn Texture(TexKind t, bool linear, bool key, Blend b, ColourKind c) {
    switch (t) {
      case TexKind::None: return Sampling<F, TexKind::None>(linear, key, b, c);
      case TexKind::XRGB: return Sampling<F, TexKind::XRGB>(linear, key, b, c);
      case TexKind::R565: return Sampling<F, TexKind::R565>(linear, key, b, c);
      case TexKind::ARGB: return Sampling<F, TexKind::ARGB>(linear, key, b, c);
      case TexKind::A4444: break;
    }
    return Sampling<F, TexKind::A4444>(linear, key, b, c);
  }
  static SpanFn For(PixelFormat target, TexKind tex, bool linear, bool key, Blend blend, ColourKind colour) {
    if (target == PixelFormat::RGB565) return Texture<PixelFormat::RGB565>(tex, linear, key, blend, colour);
    return Texture<PixelFormat::XRGB8888>(tex, linear, key, blend, colour);
  }
};

}  // namespace platform::raster
