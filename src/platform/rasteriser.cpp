// Triangle set-up and edge walking. Positions are snapped to 1/256 of a pixel and every
// edge decision is made in exact 64-bit integer arithmetic: a pixel (x, y), whose centre
// is the point (x, y), belongs to the triangle when its centre lies inside, or on a left
// edge, or on a top edge (the top-left rule). Per row this gives the first pixel at or
// right of the left edge and the first pixel at or right of the right edge (exclusive),
// and the rows from the top vertex's row (inclusive) to the bottom vertex's (exclusive).
// Two triangles sharing an edge compute the same column for it from the same integers,
// so between them every pixel on the edge is drawn exactly once.
//
// Texture coordinates and colours are planes over the triangle (affine), evaluated in
// double precision at the first pixel of each row and stepped in fixed point from there.
#include "platform/rasteriser.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "platform/band_queue.hpp"
#include "platform/raster_spans.hpp"

namespace platform::raster {
namespace {

constexpr int kSub = 8;                   // fraction bits of snapped positions
constexpr double kMaxCoord = 2097152.0;   // 2^21 pixels: products stay inside 64 bits
// Largest texel step per pixel still taken as magnification: a hair above one, so a 1:1
// quad whose coordinates carry float noise filters as 1:1.
constexpr double kMagLimit2 = 1.0054299011128028;  // (2^(1/256))^2

Loops g_widest = WidestLoops();

int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }
// The first whole pixel at or after a snapped coordinate.
int64_t CeilPixel(int64_t a) { return (a + (1 << kSub) - 1) >> kSub; }

bool Snap(float f, int64_t& out) {
  const double d = static_cast<double>(f);
  if (!(std::fabs(d) <= kMaxCoord)) return false;  // also NaN
  out = std::llrint(d * (1 << kSub));
  return true;
}

constexpr double kInvSub = 1.0 / (1 << kSub);

// Rounded to the nearest integer, ties to even, as llrint rounds (the processor's rounding
// mode, which nothing changes), in one instruction where there is one: this runs for
// every row of every triangle.
int64_t RoundToInt(double d) {
#if defined(__SSE2__) && defined(__x86_64__)
  return _mm_cvtsd_si64(_mm_set_sd(d));
#else
  return std::llrint(d);
#endif
}

// Fixed point with `frac` fraction bits, clamped far outside any useful range.
int64_t ToFix(double v, int frac, double limit) {
  const double s = v * static_cast<double>(int64_t{1} << frac);
  if (!(s > -limit)) return static_cast<int64_t>(-limit);
  if (s > limit) return static_cast<int64_t>(limit);
  return RoundToInt(s);
}
// Starts and steps stay below 2^48 (16 million texels, or colour values of 2^32), so a
// run over a whole target (at most 2^14 steps) cannot overflow 64 bits, however wild the
// vertices.
constexpr double kTexLimit = 281474976710656.0, kColLimit = 281474976710656.0;

// The column where an edge crosses the centres of one row, rounded up; stepped row by
// row as quotient and remainder.
struct EdgeWalk {
  int64_t x = 0;    // ceil(num / den): first pixel at or right of the edge
  int64_t rem = 0;  // x * den - num, 0 <= rem < den
  int64_t den = 1, stepQ = 0, stepR = 0;

  void Init(int64_t xa, int64_t ya, int64_t xb, int64_t yb, int64_t row) {
    const int64_t dy = yb - ya, dx = xb - xa;
    den = dy << kSub;
    const int64_t num = xa * dy + ((row << kSub) - ya) * dx;
    x = CeilDiv(num, den);
    rem = x * den - num;
    const int64_t step = dx << kSub;
    stepQ = CeilDiv(step, den);
    stepR = stepQ * den - step;
  }
  void Next() {
    // Without a branch: which way it goes changes from row to row.
    rem += stepR;
    const int64_t ueber = rem >= den;
    rem -= ueber * den;
    x += stepQ - ueber;
  }
};

struct Plane {
  double a0 = 0, dx = 0, dy = 0;
  double At(double ox, double oy) const { return a0 + dx * ox + dy * oy; }
};

TexKind KindOf(const Surface* t) {
  if (!t) return TexKind::None;
  switch (t->Format()) {
    case PixelFormat::XRGB8888: return TexKind::XRGB;
    case PixelFormat::RGB565: return TexKind::R565;
    case PixelFormat::ARGB8888: return TexKind::ARGB;
    case PixelFormat::ARGB4444: break;
  }
  return TexKind::A4444;
}


// What a triangle or quad needs besides its coverage: the texture's context, the filter,
// the colour kind and the loop.
struct Shading {
  SpanCtx ctx;
  SpanFn span = nullptr;
  ColourKind colour = ColourKind::Gouraud;
  bool linear = false;
};

ColourKind KindOfColours(uint32_t c0, uint32_t c1, uint32_t c2) {
  if (c0 != c1 || c0 != c2) return ColourKind::Gouraud;
  if (c0 == 0xFFFFFFFFu) return ColourKind::Plain;
  return (c0 & 0xFFFFFFu) == 0xFFFFFFu ? ColourKind::White : ColourKind::Flat;
}

// `du*`, `dv*`: texel steps per pixel along x and y. Magnified (at most one texel per
// pixel in either screen direction): MAGFILTER; minified: points.
void Prepare(const Params& p, ColourKind colour, uint32_t flat, double dux, double duy, double dvx, double dvy,
             Shading& sh) {
  sh.colour = colour;
  const Surface* tex = p.texture;
  bool key = false;
  if (tex) {
    const double rx = dux * dux + dvx * dvx, ry = duy * duy + dvy * dvy;
    sh.linear = p.magLinear && std::max(rx, ry) <= kMagLimit2;
    key = p.colorKey && tex->HasColorKey();
    sh.ctx.tex = tex->RawRow(0);
    sh.ctx.texPitch = tex->Pitch();
    sh.ctx.texW = tex->Width();
    sh.ctx.texH = tex->Height();
    sh.ctx.key = tex->ColorKey();
    sh.ctx.keyMask = ValueMask(tex->Format());
    sh.ctx.du = ToFix(dux, kTexFrac, kTexLimit);
    sh.ctx.dv = ToFix(dvx, kTexFrac, kTexLimit);
  }
  sh.ctx.flat = flat;
  sh.span = SelectSpan(p.target->Format(), KindOf(tex), sh.linear, key, p.blend, colour, g_widest);
}

// 1/512 of a texel: float noise just below a texel boundary samples as the boundary.
constexpr int64_t kTexBias = int64_t{1} << (kTexFrac - 9);
constexpr int64_t kColBias = int64_t{1} << (kColFrac - 1);

}  // namespace

void LimitLoops(Loops widest) {
  bands::RunPending();  // what was recorded is drawn with the loops it was recorded under
  g_widest = widest;
}

namespace {

// A triangle set up for drawing: its rows (by its vertices sorted top to bottom), the
// edges that bound each row, its attribute planes and its loop. Rows are drawn one after
// the other from the top one, each with arithmetic of its own, so that a quad can draw
// the rows of its two triangles in turn.
class Dreieck {
 public:
  // False when it draws nothing: positions out of range, no area, no alpha to blend with,
  // no row on the target.
  bool Aufbauen(const Params& p, const TLVertex* const v[3], const int64_t X[3], const int64_t Y[3]) {
    for (int i = 0; i < 3; ++i)
      if (X[i] == kAus || Y[i] == kAus) return false;
    const int64_t cross = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    if (cross == 0) return false;

    // Colours: one for the whole triangle, or interpolated.
    const uint32_t c0 = v[0]->color, c1 = v[1]->color, c2 = v[2]->color;
    if (p.blend != Blend::Replace && (c0 >> 24) == 0 && (c1 >> 24) == 0 && (c2 >> 24) == 0) return false;
    colour_ = KindOfColours(c0, c1, c2);

    // Rows, by the vertices sorted top to bottom (vertices on one row keep their order).
    int o[3] = {0, 1, 2};
    if (Y[o[1]] < Y[o[0]]) std::swap(o[0], o[1]);
    if (Y[o[2]] < Y[o[1]]) {
      std::swap(o[1], o[2]);
      if (Y[o[1]] < Y[o[0]]) std::swap(o[0], o[1]);
    }
    for (int i = 0; i < 3; ++i) X_[i] = X[o[i]], Y_[i] = Y[o[i]];
    target_ = p.target;
    W_ = target_->Width();
    rowTop_ = std::max<int64_t>({CeilPixel(Y_[0]), 0, p.rowFrom});
    rowEnd_ = std::min<int64_t>({CeilPixel(Y_[2]), target_->Height(), p.rowTo});
    if (rowTop_ >= rowEnd_) return false;
    rowMid_ = std::clamp<int64_t>(CeilPixel(Y_[1]), rowTop_, rowEnd_);
    // Is the middle vertex left of the long edge from top to bottom?
    midLeft_ = (X_[1] - X_[0]) * (Y_[2] - Y_[0]) - (X_[2] - X_[0]) * (Y_[1] - Y_[0]) < 0;

    // Attribute planes about the first vertex, in pixels.
    ox_ = static_cast<double>(X[0]) * kInvSub, oy_ = static_cast<double>(Y[0]) * kInvSub;
    const double e1x = static_cast<double>(X[1] - X[0]) * kInvSub;
    const double e1y = static_cast<double>(Y[1] - Y[0]) * kInvSub;
    const double e2x = static_cast<double>(X[2] - X[0]) * kInvSub;
    const double e2y = static_cast<double>(Y[2] - Y[0]) * kInvSub;
    const double det = e1x * e2y - e2x * e1y;
    auto plane = [&](double a0, double a1, double a2) {
      Plane pl;
      pl.a0 = a0;
      pl.dx = ((a1 - a0) * e2y - (a2 - a0) * e1y) / det;
      pl.dy = ((a2 - a0) * e1x - (a1 - a0) * e2x) / det;
      return pl;
    };

    tex_ = p.texture != nullptr;
    if (tex_) {
      const double tw = p.texture->Width(), th = p.texture->Height();
      pu_ = plane(static_cast<double>(v[0]->tu) * tw, static_cast<double>(v[1]->tu) * tw,
                  static_cast<double>(v[2]->tu) * tw);
      pv_ = plane(static_cast<double>(v[0]->tv) * th, static_cast<double>(v[1]->tv) * th,
                  static_cast<double>(v[2]->tv) * th);
    }
    Prepare(p, colour_, c0, pu_.dx, pu_.dy, pv_.dx, pv_.dy, sh_);
    if (sh_.linear) {
      // Texel centres lie half a texel in: filtering starts from the texel before.
      pu_.a0 -= 0.5;
      pv_.a0 -= 0.5;
    }
    if (colour_ == ColourKind::Gouraud) {
      for (int k = 0; k < 4; ++k) {
        const int shift = 24 - 8 * k;  // a, r, g, b
        pc_[k] = plane((c0 >> shift) & 255, (c1 >> shift) & 255, (c2 >> shift) & 255);
        sh_.ctx.dcol[k] = ToFix(pc_[k].dx, kColFrac, kColLimit);
      }
    }
    lang_.Init(X_[0], Y_[0], X_[2], Y_[2], rowTop_);
    if (rowTop_ < rowMid_)
      kurz_.Init(X_[0], Y_[0], X_[1], Y_[1], rowTop_);
    else
      kurz_.Init(X_[1], Y_[1], X_[2], Y_[2], rowTop_);
    return true;
  }

  int64_t Oben() const { return rowTop_; }
  int64_t Unten() const { return rowEnd_; }

  // Draws row `y`: the rows from Oben() to Unten() - 1, in order.
  void Zeile(int64_t y) {
    // Below the middle vertex the short edge runs on from it; the long edge steps on
    // exactly as if it had been set up afresh.
    if (y == rowMid_ && y != rowTop_) kurz_.Init(X_[1], Y_[1], X_[2], Y_[2], y);
    const EdgeWalk& left = midLeft_ ? kurz_ : lang_;
    const EdgeWalk& right = midLeft_ ? lang_ : kurz_;
    const int64_t xs = std::max<int64_t>(left.x, 0), xe = std::min<int64_t>(right.x, W_);
    lang_.Next();
    kurz_.Next();
    if (xs >= xe) return;
    const double dx = static_cast<double>(xs) - ox_, dy = static_cast<double>(y) - oy_;
    SpanStart s;
    if (tex_) {
      s.u = ToFix(pu_.At(dx, dy), kTexFrac, kTexLimit) + kTexBias;
      s.v = ToFix(pv_.At(dx, dy), kTexFrac, kTexLimit) + kTexBias;
    }
    if (colour_ == ColourKind::Gouraud)
      for (int k = 0; k < 4; ++k) s.col[k] = ToFix(pc_[k].At(dx, dy), kColFrac, kColLimit) + kColBias;
    sh_.span(sh_.ctx, SpanRows{target_->RawRow(static_cast<int32_t>(y)), target_->Pitch(), 1, 0},
             static_cast<int32_t>(xs), static_cast<int32_t>(xe - xs), s);
  }

  // Marks a position that could not be snapped.
  static constexpr int64_t kAus = INT64_MIN;

 private:
  Surface* target_ = nullptr;
  int64_t W_ = 0;
  int64_t X_[3] = {}, Y_[3] = {};
  int64_t rowTop_ = 0, rowMid_ = 0, rowEnd_ = 0;
  bool midLeft_ = false, tex_ = false;
  ColourKind colour_ = ColourKind::Gouraud;
  double ox_ = 0, oy_ = 0;
  Plane pu_, pv_, pc_[4];
  Shading sh_;
  EdgeWalk lang_, kurz_;
};

// The snapped positions of `n` vertices; Dreieck::kAus where one is out of range.
void SnapAll(const TLVertex* v, int n, int64_t* X, int64_t* Y) {
  for (int i = 0; i < n; ++i) {
    if (!Snap(v[i].sx, X[i])) X[i] = Dreieck::kAus;
    if (!Snap(v[i].sy, Y[i])) Y[i] = Dreieck::kAus;
  }
}

// The quad of a four-vertex strip, its two triangles (0, 1, 2) and (1, 2, 3) as `draw`
// says: the four positions snapped once, both set up, and their rows drawn together, each
// row of the first triangle before the same row of the second, which for every pixel is
// the order of drawing one triangle after the other.
void DrawQuad(const Params& p, const TLVertex* v, const bool draw[2]) {
  int64_t X[4], Y[4];
  SnapAll(v, 4, X, Y);
  Dreieck d[2];
  bool an[2];
  for (int t = 0; t < 2; ++t) {
    const TLVertex* const ecken[3] = {&v[t], &v[t + 1], &v[t + 2]};
    an[t] = draw[t] && d[t].Aufbauen(p, ecken, X + t, Y + t);
  }
  if (!an[0] && !an[1]) return;
  const int64_t von = std::min(an[0] ? d[0].Oben() : INT64_MAX, an[1] ? d[1].Oben() : INT64_MAX);
  const int64_t bis = std::max(an[0] ? d[0].Unten() : INT64_MIN, an[1] ? d[1].Unten() : INT64_MIN);
  for (int64_t y = von; y < bis; ++y)
    for (int t = 0; t < 2; ++t)
      if (an[t] && y >= d[t].Oben() && y < d[t].Unten()) d[t].Zeile(y);
}

}  // namespace

void DrawTriangle(const Params& p, const TLVertex& a, const TLVertex& b, const TLVertex& c) {
  const TLVertex* const v[3] = {&a, &b, &c};
  int64_t X[3], Y[3];
  for (int i = 0; i < 3; ++i) SnapAll(v[i], 1, &X[i], &Y[i]);
  Dreieck d;
  if (!d.Aufbauen(p, v, X, Y)) return;
  for (int64_t y = d.Oben(); y < d.Unten(); ++y) d.Zeile(y);
}

bool DrawAxisQuad(const Params& p, const TLVertex* v) {
  // Corners 0 left-bottom, 1 left-top, 2 right-bottom, 3 right-top (either side may be
  // the other, mirrored), texture coordinates along the same axes, one colour.
  if (v[0].sx != v[1].sx || v[2].sx != v[3].sx || v[0].sy != v[2].sy || v[1].sy != v[3].sy) return false;
  const uint32_t colour = v[0].color;
  if (v[1].color != colour || v[2].color != colour || v[3].color != colour) return false;
  const Surface* tex = p.texture;
  if (tex && (v[0].tu != v[1].tu || v[2].tu != v[3].tu || v[0].tv != v[2].tv || v[1].tv != v[3].tv)) return false;

  // From here on the quad is ours: what its triangles would not draw, it does not draw.
  int64_t XA, XB, YA, YB;  // A: corner 1's side, B: corner 2's side
  if (!Snap(v[1].sx, XA) || !Snap(v[2].sx, XB) || !Snap(v[1].sy, YA) || !Snap(v[2].sy, YB)) return true;
  if (XA == XB || YA == YB) return true;
  if (p.blend != Blend::Replace && (colour >> 24) == 0) return true;
  Surface& target = *p.target;
  // The two triangles split every row at the diagonal and together cover the centres
  // from the left edge (inclusive) to the right edge (exclusive), and the rows likewise.
  const int64_t x0 = std::max<int64_t>(CeilPixel(std::min(XA, XB)), 0);
  const int64_t x1 = std::min<int64_t>(CeilPixel(std::max(XA, XB)), target.Width());
  // Rows start at the top one on the target; a band starts further down, its v stepped on.
  const int64_t yStart = std::max<int64_t>(CeilPixel(std::min(YA, YB)), 0);
  const int64_t y0 = std::max<int64_t>(yStart, p.rowFrom);
  const int64_t y1 = std::min<int64_t>({CeilPixel(std::max(YA, YB)), target.Height(), p.rowTo});
  if (x0 >= x1 || y0 >= y1) return true;

  // u runs along x only and v along y only.
  const double xa = static_cast<double>(XA) * kInvSub, ya = static_cast<double>(YA) * kInvSub;
  double ua = 0, dux = 0, va = 0, dvy = 0;
  if (tex) {
    const double tw = tex->Width(), th = tex->Height();
    ua = static_cast<double>(v[1].tu) * tw;
    va = static_cast<double>(v[1].tv) * th;
    dux = (static_cast<double>(v[2].tu) * tw - ua) / (static_cast<double>(XB - XA) * kInvSub);
    dvy = (static_cast<double>(v[2].tv) * th - va) / (static_cast<double>(YB - YA) * kInvSub);
  }
  Shading sh;
  Prepare(p, KindOfColours(colour, colour, colour), colour, dux, 0, 0, dvy, sh);
  if (sh.linear) {
    ua -= 0.5;
    va -= 0.5;
  }
  // The rows step v in fixed point: exact where the steps are (unscaled and power-of-two
  // scales), and otherwise off by far less than the 1/256 texel the samples are cut to.
  SpanStart s;
  SpanRows rows{target.RawRow(static_cast<int32_t>(y0)), target.Pitch(), static_cast<int32_t>(y1 - y0), 0};
  if (tex) {
    s.u = ToFix(ua + dux * (static_cast<double>(x0) - xa), kTexFrac, kTexLimit) + kTexBias;
    rows.dv = ToFix(dvy, kTexFrac, kTexLimit);
    s.v = ToFix(va + dvy * (static_cast<double>(yStart) - ya), kTexFrac, kTexLimit) + kTexBias + (y0 - yStart) * rows.dv;
  }
  sh.span(sh.ctx, rows, static_cast<int32_t>(x0), static_cast<int32_t>(x1 - x0), s);
  return true;
}

void DrawStrip(const Params& p, const TLVertex* vs, int32_t count, int32_t cullMode) {
  if (count == 4 && cullMode == D3DCULL_NONE && DrawAxisQuad(p, vs)) return;
  // A band passes over triangles that lie wholly above or below it (NaN positions go on
  // to be set up, which draws nothing for them).
  const double lo = static_cast<double>(p.rowFrom) - 1, hi = static_cast<double>(p.rowTo) + 1;
  auto zeichnen = [&](int32_t i) {
    const TLVertex &a = vs[i], &b = vs[i + 1], &c = vs[i + 2];
    if ((a.sy < lo && b.sy < lo && c.sy < lo) || (a.sy > hi && b.sy > hi && c.sy > hi)) return false;
    if (cullMode == D3DCULL_NONE) return true;
    // Clockwise on the screen (y down) has a positive cross product; every second
    // triangle of a strip runs the other way round.
    const double cross = (static_cast<double>(b.sx) - a.sx) * (static_cast<double>(c.sy) - a.sy) -
                         (static_cast<double>(c.sx) - a.sx) * (static_cast<double>(b.sy) - a.sy);
    const bool clockwise = (i % 2 == 0) ? cross > 0 : cross < 0;
    return !((cullMode == D3DCULL_CW && clockwise) || (cullMode == D3DCULL_CCW && !clockwise));
  };
  if (count == 4) {
    const bool draw[2] = {zeichnen(0), zeichnen(1)};
    if (draw[0] || draw[1]) DrawQuad(p, vs, draw);
    return;
  }
  for (int32_t i = 0; i + 2 < count; ++i)
    if (zeichnen(i)) DrawTriangle(p, vs[i], vs[i + 1], vs[i + 2]);
}

}  // namespace platform::raster
