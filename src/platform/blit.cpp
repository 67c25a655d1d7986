// The blitter: unscaled and stretched copies with and without the source colour key,
// colour fills and the inverting raster operation, all on the CPU. These run many times
// per frame, so the rows are copied with memmove where no key is tested, the keyed rows
// are compared four or eight pixels at a time, and nothing is allocated on the way.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/band_queue.hpp"
#include "platform/surface.hpp"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace platform {
namespace {

// Clips a 1:1 span along one axis: source start s, destination start d, length n, to
// the source extent and the destination extent. False when nothing is left.
bool ClipSpan(int64_t& s, int64_t& d, int64_t& n, int64_t srcExtent, int64_t dstExtent) {
  if (s < 0) {
    d -= s;
    n += s;
    s = 0;
  }
  if (d < 0) {
    s -= d;
    n += d;
    d = 0;
  }
  n = std::min({n, srcExtent - s, dstExtent - d});
  return n > 0;
}

// Keyed row copies: a pixel whose colour bits equal the key is skipped.
void KeyedRow32(uint32_t* d, const uint32_t* s, int32_t n, uint32_t key, uint32_t mask) {
  int32_t i = 0;
#ifdef __SSE2__
  const __m128i k = _mm_set1_epi32(static_cast<int32_t>(key));
  const __m128i m = _mm_set1_epi32(static_cast<int32_t>(mask));
  for (; i + 8 <= n; i += 8) {
    __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
    __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 4));
    __m128i e0 = _mm_cmpeq_epi32(_mm_and_si128(s0, m), k);
    __m128i e1 = _mm_cmpeq_epi32(_mm_and_si128(s1, m), k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(_mm_and_si128(e0, d0), _mm_andnot_si128(e0, s0)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4),
                     _mm_or_si128(_mm_and_si128(e1, d1), _mm_andnot_si128(e1, s1)));
  }
#endif
  for (; i < n; ++i)
    if ((s[i] & mask) != key) d[i] = s[i];
}

void KeyedRow16(uint16_t* d, const uint16_t* s, int32_t n, uint16_t key) {
  int32_t i = 0;
#ifdef __SSE2__
  const __m128i k = _mm_set1_epi16(static_cast<int16_t>(key));
  for (; i + 8 <= n; i += 8) {
    __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i e = _mm_cmpeq_epi16(sv, k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(_mm_and_si128(e, dv), _mm_andnot_si128(e, sv)));
  }
#endif
  for (; i < n; ++i)
    if (s[i] != key) d[i] = s[i];
}

template <typename T>
void FillRow(T* d, int32_t n, T value) {
  std::fill_n(d, n, value);
}

template <typename T>
void InvertRow(T* d, int32_t n, T mask) {
  for (int32_t i = 0; i < n; ++i) d[i] ^= mask;
}

// Stretched rows: `xs` holds the source column of every destination pixel.
template <typename T>
void StretchRow(T* d, const T* s, const int32_t* xs, int32_t n) {
  for (int32_t i = 0; i < n; ++i) d[i] = s[xs[i]];
}

template <typename T>
void StretchRowKeyed(T* d, const T* s, const int32_t* xs, int32_t n, T key, T mask) {
  for (int32_t i = 0; i < n; ++i) {
    T v = s[xs[i]];
    if ((v & mask) != key) d[i] = v;
  }
}

// The source coordinate of every destination coordinate of one axis whose source lies
// inside the source: nearest neighbour, sampled at pixel centres. `first` receives the
// first destination coordinate drawn; false when none is.
bool MapAxis(int64_t dLo, int64_t dHi, int64_t sLo, int64_t sHi, int64_t dstExtent, int64_t srcExtent,
             std::vector<int32_t>& map, int64_t& first) {
  map.clear();
  const int64_t dn = dHi - dLo, sn = sHi - sLo;
  const int64_t from = std::max<int64_t>(dLo, 0), to = std::min(dHi, dstExtent);
  first = -1;
  if (from >= to) return false;
  // s(d) = sLo + ((2 (d - dLo) + 1) sn) \ (2 dn), stepped as quotient and remainder.
  const int64_t den = 2 * dn, stepQ = (2 * sn) / den, stepR = (2 * sn) % den;
  __int128 num = static_cast<__int128>(2 * (from - dLo) + 1) * sn;
  int64_t q = static_cast<int64_t>(num / den), r = static_cast<int64_t>(num % den);
  for (int64_t d = from; d < to; ++d) {
    int64_t s = sLo + q;
    if (s >= srcExtent) break;
    if (s >= 0) {
      if (first < 0) first = d;
      map.push_back(static_cast<int32_t>(s));
    }
    q += stepQ;
    r += stepR;
    if (r >= den) {
      r -= den;
      ++q;
    }
  }
  return !map.empty();
}

std::vector<int32_t>& ColumnMap() {
  static std::vector<int32_t> map;
  return map;
}
std::vector<int32_t>& RowMap() {
  static std::vector<int32_t> map;
  return map;
}
std::vector<uint8_t>& LineBuffer() {
  static std::vector<uint8_t> line;
  return line;
}

}  // namespace

namespace {

// ---- The draws. Each runs at once on this thread, or, into the surface the 3D device
// draws into, is recorded and run later in bands of rows (band_queue.hpp); a draw's rows
// come out the same either way. ----

// An unscaled copy of w x h pixels from (sx, sy) of `src` to (dx, dy) of `dst`, clipped
// to both.
struct Kopie {
  Surface* dst;
  const Surface* src;
  int32_t sx, sy, dx, dy, w, h;
  bool keyed;
  uint32_t key, mask;
};

void KopieZeile(const Kopie& k, const uint8_t* s, uint8_t* d) {
  if (!k.keyed)
    std::memmove(d, s, static_cast<size_t>(k.w) * k.dst->BytesPerPixel());  // also a row onto itself
  else if (k.dst->BytesPerPixel() == 4)
    KeyedRow32(reinterpret_cast<uint32_t*>(d), reinterpret_cast<const uint32_t*>(s), k.w, k.key, k.mask);
  else
    KeyedRow16(reinterpret_cast<uint16_t*>(d), reinterpret_cast<const uint16_t*>(s), k.w, static_cast<uint16_t>(k.key));
}

// Rows `from` .. `to` - 1 of the destination.
void KopieRows(const void* draw, int32_t from, int32_t to) {
  const Kopie& k = *static_cast<const Kopie*>(draw);
  const size_t bpp = static_cast<size_t>(k.dst->BytesPerPixel());
  for (int32_t y = std::max(from, k.dy); y < std::min(to, k.dy + k.h); ++y)
    KopieZeile(k, k.src->RawRow(k.sy + y - k.dy) + k.sx * bpp, k.dst->RawRow(y) + k.dx * bpp);
}

// Within one surface the rows are walked so that no source row is overwritten before it
// has been read; a keyed row onto itself goes through a line buffer.
void KopieInSich(const Kopie& k) {
  const size_t bpp = static_cast<size_t>(k.dst->BytesPerPixel()), rowBytes = k.w * bpp;
  const bool bottomUp = k.dy > k.sy, ueberSich = k.keyed && k.dy == k.sy;
  std::vector<uint8_t>& line = LineBuffer();
  if (ueberSich && line.size() < rowBytes) line.resize(rowBytes);
  for (int32_t j = 0; j < k.h; ++j) {
    const int32_t r = bottomUp ? k.h - 1 - j : j;
    const uint8_t* s = k.src->RawRow(k.sy + r) + k.sx * bpp;
    if (ueberSich) {
      std::memcpy(line.data(), s, rowBytes);
      s = line.data();
    }
    KopieZeile(k, s, k.dst->RawRow(k.dy + r) + k.dx * bpp);
  }
}

int32_t CopyUnscaled(Surface& dst, Surface& src, int64_t sx, int64_t sy, int64_t dx, int64_t dy, int64_t w,
                     int64_t h, bool keyed) {
  if (!ClipSpan(sx, dx, w, src.Width(), dst.Width()) || !ClipSpan(sy, dy, h, src.Height(), dst.Height()))
    return DD_OK;
  const Kopie k{&dst,
                &src,
                static_cast<int32_t>(sx),
                static_cast<int32_t>(sy),
                static_cast<int32_t>(dx),
                static_cast<int32_t>(dy),
                static_cast<int32_t>(w),
                static_cast<int32_t>(h),
                keyed,
                src.ColorKey(),
                ValueMask(src.Format())};
  const bool same = &dst == &src;
  // Within one surface only rows shifted sideways stay in their band.
  if (bands::Records(dst) && (!same || (k.dy == k.sy && !keyed))) {
    bands::Record(dst, same ? nullptr : &src, k.dy, k.dy + k.h, w * h, KopieRows, k);
    return DD_OK;
  }
  dst.SettleWrite();
  src.SettleRead();
  if (same)
    KopieInSich(k);
  else
    KopieRows(&k, k.dy, k.dy + k.h);
  return DD_OK;
}

// A stretched copy: `xs` and `ys` hold the source column of every destination column from
// x0 on and the source row of every destination row from y0 on. In the record the two maps
// follow the draw.
struct Streckung {
  Surface* dst;
  const Surface* src;
  int32_t x0, y0, n, m;
  bool keyed;
  uint32_t key, mask;
  const int32_t *xs, *ys;
};

template <typename T>
void StreckungZeilen(const Streckung& st, int32_t from, int32_t to) {
  const T key = static_cast<T>(st.key), mask = static_cast<T>(st.mask);
  const int32_t anfang = std::max(from, st.y0);
  for (int32_t y = anfang; y < std::min(to, st.y0 + st.m); ++y) {
    const int32_t j = y - st.y0;
    T* d = reinterpret_cast<T*>(st.dst->RawRow(y)) + st.x0;
    const T* s = reinterpret_cast<const T*>(st.src->RawRow(st.ys[j]));
    if (st.keyed) {
      StretchRowKeyed(d, s, st.xs, st.n, key, mask);
    } else if (y > anfang && st.ys[j] == st.ys[j - 1]) {
      // The same source row again: the row just drawn is the answer.
      std::memcpy(d, reinterpret_cast<const T*>(st.dst->RawRow(y - 1)) + st.x0, sizeof(T) * st.n);
    } else {
      StretchRow(d, s, st.xs, st.n);
    }
  }
}

void StreckungRows(const Streckung& st, int32_t from, int32_t to) {
  if (st.dst->BytesPerPixel() == 4)
    StreckungZeilen<uint32_t>(st, from, to);
  else
    StreckungZeilen<uint16_t>(st, from, to);
}

void StreckungAufgezeichnet(const void* draw, int32_t from, int32_t to) {
  Streckung st = *static_cast<const Streckung*>(draw);
  st.xs = reinterpret_cast<const int32_t*>(static_cast<const Streckung*>(draw) + 1);
  st.ys = st.xs + st.n;
  StreckungRows(st, from, to);
}

// A colour fill, or the inversion of the destination's colour bits, of x0..x1 x y0..y1.
struct Fuellung {
  Surface* dst;
  int32_t x0, x1, y0, y1;
  uint32_t value;  // the colour, or the bits to flip
  bool invert;
};

template <typename T>
void FuellungZeilen(const Fuellung& f, int32_t from, int32_t to) {
  for (int32_t y = std::max(from, f.y0); y < std::min(to, f.y1); ++y) {
    T* d = reinterpret_cast<T*>(f.dst->RawRow(y)) + f.x0;
    if (f.invert)
      InvertRow(d, f.x1 - f.x0, static_cast<T>(f.value));
    else
      FillRow(d, f.x1 - f.x0, static_cast<T>(f.value));
  }
}

void FuellungRows(const void* draw, int32_t from, int32_t to) {
  const Fuellung& f = *static_cast<const Fuellung*>(draw);
  if (f.dst->BytesPerPixel() == 4)
    FuellungZeilen<uint32_t>(f, from, to);
  else
    FuellungZeilen<uint16_t>(f, from, to);
}

int32_t Fuelle(Surface& s, const Rect& r, uint32_t value, bool invert) {
  const int64_t x0 = std::max<int64_t>(r.Left, 0), x1 = std::min<int64_t>(r.Right, s.Width());
  const int64_t y0 = std::max<int64_t>(r.Top, 0), y1 = std::min<int64_t>(r.Bottom, s.Height());
  if (x1 <= x0 || y1 <= y0) return DD_OK;
  const Fuellung f{&s, static_cast<int32_t>(x0), static_cast<int32_t>(x1), static_cast<int32_t>(y0),
                   static_cast<int32_t>(y1), value & ValueMask(s.Format()), invert};
  if (bands::Records(s)) {
    bands::Record(s, nullptr, f.y0, f.y1, (x1 - x0) * (y1 - y0), FuellungRows, f);
    return DD_OK;
  }
  s.SettleWrite();
  FuellungRows(&f, f.y0, f.y1);
  return DD_OK;
}

}  // namespace

int32_t Surface::BltFast(int32_t x, int32_t y, Surface& src, const Rect* srcRect, uint32_t flags) {
  if (locked_ || src.locked_) return DDERR_SURFACEBUSY;
  if (src.format_ != format_) return DDERR_INVALIDPIXELFORMAT;
  Rect sr = srcRect ? *srcRect : Rect{0, 0, src.width_, src.height_};
  int64_t w = int64_t{sr.Right} - sr.Left, h = int64_t{sr.Bottom} - sr.Top;
  if (w <= 0 || h <= 0) return DD_OK;
  bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) && src.hasKey_;
  return CopyUnscaled(*this, src, sr.Left, sr.Top, x, y, w, h, keyed);
}

int32_t Surface::Blt(const Rect* dstRect, Surface* src, const Rect* srcRect, uint32_t flags, const BltFx* fx) {
  if (locked_) return DDERR_SURFACEBUSY;
  Rect dr = dstRect ? *dstRect : Rect{0, 0, width_, height_};
  if (flags & DDBLT_COLORFILL) {
    if (!fx) return DDERR_INVALIDPARAMS;
    return BltColorFill(&dr, fx->fillColor);
  }
  if (flags & DDBLT_ROP) {
    if (!fx) return DDERR_INVALIDPARAMS;
    if (fx->rop == DSTINVERT) return Fuelle(*this, dr, 0xFFFFFFFFu, true);
    if (fx->rop != SRCCOPY) return DDERR_NORASTEROPHW;
  }
  if (!src) return DDERR_INVALIDPARAMS;
  if (src != this && src->locked_) return DDERR_SURFACEBUSY;
  if (src->format_ != format_) return DDERR_INVALIDPIXELFORMAT;
  Rect sr = srcRect ? *srcRect : Rect{0, 0, src->width_, src->height_};
  int64_t dw = int64_t{dr.Right} - dr.Left, dh = int64_t{dr.Bottom} - dr.Top;
  int64_t sw = int64_t{sr.Right} - sr.Left, sh = int64_t{sr.Bottom} - sr.Top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return DD_OK;
  bool keyed = (flags & DDBLT_KEYSRC) && src->hasKey_;
  if (dw == sw && dh == sh) return CopyUnscaled(*this, *src, sr.Left, sr.Top, dr.Left, dr.Top, sw, sh, keyed);

  // A stretched copy within one surface reads from a copy of it: rows and columns are
  // repeated or dropped, so no walking order keeps the source intact.
  if (src == this) {
    Surface scratch(*this);
    return Blt(&dr, &scratch, &sr, flags & ~DDBLT_ROP, nullptr);
  }
  int64_t x0, y0;
  std::vector<int32_t>& xs = ColumnMap();
  std::vector<int32_t>& ys = RowMap();
  if (!MapAxis(dr.Left, dr.Right, sr.Left, sr.Right, width_, src->width_, xs, x0)) return DD_OK;
  if (!MapAxis(dr.Top, dr.Bottom, sr.Top, sr.Bottom, height_, src->height_, ys, y0)) return DD_OK;
  Streckung st{this,
               src,
               static_cast<int32_t>(x0),
               static_cast<int32_t>(y0),
               static_cast<int32_t>(xs.size()),
               static_cast<int32_t>(ys.size()),
               keyed,
               src->ColorKey(),
               ValueMask(src->format_),
               xs.data(),
               ys.data()};
  if (bands::Records(*this)) {
    const size_t maps = sizeof(int32_t) * (xs.size() + ys.size());
    Streckung* d = bands::Record(*this, src, st.y0, st.y0 + st.m, int64_t{st.n} * st.m, StreckungAufgezeichnet, st,
                                 maps);
    auto* ziel = reinterpret_cast<int32_t*>(d + 1);
    std::memcpy(ziel, xs.data(), sizeof(int32_t) * xs.size());
    std::memcpy(ziel + xs.size(), ys.data(), sizeof(int32_t) * ys.size());
    return DD_OK;
  }
  SettleWrite();
  src->SettleRead();
  StreckungRows(st, st.y0, st.y0 + st.m);
  return DD_OK;
}

int32_t Surface::BltColorFill(const Rect* rect, uint32_t color) {
  if (locked_) return DDERR_SURFACEBUSY;
  return Fuelle(*this, rect ? *rect : Rect{0, 0, width_, height_}, color, false);
}

}  // namespace platform
