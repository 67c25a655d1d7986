#include "demodata/canvas.hpp"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "demodata/draw.hpp"
#include "platform/fonts.hpp"

namespace demo {
namespace {

int ToByte(float v) { return static_cast<int>(std::lround(Clamp01(v) * 255.0f)); }

// One horizontal and one vertical box pass of radius r over a grid of floats.
void BoxPass(std::vector<float>& v, int w, int h, int r, int stride, bool horizontal) {
  if (r <= 0) return;
  const int n = horizontal ? w : h, lines = horizontal ? h : w;
  std::vector<float> line(static_cast<size_t>(n));
  for (int l = 0; l < lines; ++l) {
    auto idx = [&](int i) {
      return horizontal ? (static_cast<size_t>(l) * w + i) * stride : (static_cast<size_t>(i) * w + l) * stride;
    };
    float sum = 0;
    for (int i = -r; i <= r; ++i)
      if (i >= 0 && i < n) sum += v[idx(i)];
    for (int i = 0; i < n; ++i) {
      line[static_cast<size_t>(i)] = sum / static_cast<float>(2 * r + 1);
      int out = i - r, in = i + r + 1;
      if (out >= 0) sum -= v[idx(out)];
      if (in < n) sum += v[idx(in)];
    }
    for (int i = 0; i < n; ++i) v[idx(i)] = line[static_cast<size_t>(i)];
  }
}

void BlurChannels(std::vector<float>& v, int w, int h, int stride, float radius) {
  // Three box passes of about radius / sqrt(3) each come close to a Gaussian.
  int r = std::max(1, static_cast<int>(std::lround(radius / 1.7f)));
  for (int c = 0; c < stride; ++c) {
    std::vector<float> one(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < one.size(); ++i) one[i] = v[i * stride + c];
    for (int pass = 0; pass < 3; ++pass) {
      BoxPass(one, w, h, r, 1, true);
      BoxPass(one, w, h, r, 1, false);
    }
    for (size_t i = 0; i < one.size(); ++i) v[i * stride + c] = one[i];
  }
}

}  // namespace

Col Hex(uint32_t rgb, float a) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, a};
}
Col Lerp(const Col& x, const Col& y, float t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
Col Scale(const Col& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
Col WithAlpha(const Col& c, float a) { return {c.r, c.g, c.b, a}; }
float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
Paint Solid(const Col& c) {
  return [c](float, float, float) { return c; };
}

float Mask::Sample(float x, float y) const {
  x -= 0.5f;
  y -= 0.5f;
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - x0, fy = y - y0;
  auto get = [this](int xx, int yy) { return xx < 0 || yy < 0 || xx >= w || yy >= h ? 0.0f : at(xx, yy); };
  return (get(x0, y0) * (1 - fx) + get(x0 + 1, y0) * fx) * (1 - fy) +
         (get(x0, y0 + 1) * (1 - fx) + get(x0 + 1, y0 + 1) * fx) * fy;
}

void Mask::Blur(float radius) { BlurChannels(v, w, h, 1, radius); }

Mask Mask::Dilated(float radius) const {
  Mask m(w, h);
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float best = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          int sx = x + dx, sy = y + dy;
          if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
          // Neighbours at the rim of the radius count in part.
          float reach = Clamp01(radius + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)));
          best = std::max(best, at(sx, sy) * reach);
        }
      m.at(x, y) = best;
    }
  return m;
}

Canvas::Canvas(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height) {}

Col Canvas::Get(int x, int y) const {
  const Col& p = px[static_cast<size_t>(y) * w + x];
  if (p.a <= 0) return {0, 0, 0, 0};
  return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::Put(int x, int y, const Col& c, Blend mode) {
  if (x < 0 || y < 0 || x >= w || y >= h) return;
  Col& d = px[static_cast<size_t>(y) * w + x];
  const float a = Clamp01(c.a);
  switch (mode) {
    case Blend::Over:
      d = {c.r * a + d.r * (1 - a), c.g * a + d.g * (1 - a), c.b * a + d.b * (1 - a), a + d.a * (1 - a)};
      break;
    case Blend::Add:
      d = {d.r + c.r * a, d.g + c.g * a, d.b + c.b * a, std::min(1.0f, d.a + a)};
      break;
    case Blend::Replace:
      d = {c.r * a, c.g * a, c.b * a, a};
      break;
  }
}

void Canvas::Shape(float x0, float y0, float x1, float y1, const Sdf& sdf, const Paint& paint, Blend mode) {
  int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1), iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
  int ix1 = std::min(w, static_cast<int>(std::ceil(x1)) + 1), iy1 = std::min(h, static_cast<int>(std::ceil(y1)) + 1);
  for (int y = iy0; y < iy1; ++y)
    for (int x = ix0; x < ix1; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      float d = sdf(fx, fy);
      float cover = Clamp01(0.5f - d);
      if (cover <= 0) continue;
      Col c = paint(fx, fy, d);
      c.a *= cover;
      Put(x, y, c, mode);
    }
}

void Canvas::Fill(const std::function<Col(float, float)>& paint, Blend mode) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(x, y, paint(x + 0.5f, y + 0.5f), mode);
}

void Canvas::Stamp(const Mask& m, int dx, int dy, const Paint& paint, Blend mode) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float cover = m.at(x, y);
      if (cover <= 0) continue;
      float fx = x + dx + 0.5f, fy = y + dy + 0.5f;
      Col c = paint(fx, fy, -cover);
      c.a *= Clamp01(cover);
      Put(x + dx, y + dy, c, mode);
    }
}

void Canvas::Draw(const Canvas& c, int dx, int dy, Blend mode, float alpha) {
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x) {
      Col s = c.Get(x, y);
      if (s.a <= 0) continue;
      s.a *= alpha;
      Put(x + dx, y + dy, s, mode);
    }
}

void Canvas::Blur(float radius) {
  std::vector<float> v(px.size() * 4);
  for (size_t i = 0; i < px.size(); ++i) {
    v[4 * i] = px[i].r;
    v[4 * i + 1] = px[i].g;
    v[4 * i + 2] = px[i].b;
    v[4 * i + 3] = px[i].a;
  }
  BlurChannels(v, w, h, 4, radius);
  for (size_t i = 0; i < px.size(); ++i) px[i] = {v[4 * i], v[4 * i + 1], v[4 * i + 2], v[4 * i + 3]};
}

Mask Canvas::Alpha() const {
  Mask m(w, h);
  for (size_t i = 0; i < px.size(); ++i) m.v[i] = px[i].a;
  return m;
}

float SdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float SdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
  // The distance in the unit circle's space scaled by the local stretch: exact on the
  // axes and close enough near the rim for anti-aliasing.
  float nx = (x - cx) / rx, ny = (y - cy) / ry;
  float k = std::hypot(nx, ny);
  if (k < 1e-6f) return -std::min(rx, ry);
  float gx = nx / rx, gy = ny / ry;
  float g = std::hypot(gx, gy) / k;
  return (k - 1.0f) / std::max(g, 1e-6f);
}

float SdBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
  float dx = std::fabs(x - cx) - (hw - radius), dy = std::fabs(y - cy) - (hh - radius);
  float outside = std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f));
  return outside + std::min(std::max(dx, dy), 0.0f) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by) {
  float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
  float len2 = vx * vx + vy * vy;
  float t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - vx * t, py - vy * t);
}

float SdPolygon(float x, float y, const std::vector<std::pair<float, float>>& pts) {
  float d = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    auto [xi, yi] = pts[i];
    auto [xj, yj] = pts[j];
    d = std::min(d, SdSegment(x, y, xj, yj, xi, yi));
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside ? -d : d;
}

float Hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h & 0xFFFFFF) / 16777216.0f;
}

float ValueNoise(float x, float y, uint32_t seed, int period) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  auto h = [&](int xx, int yy) {
    if (period > 0) {
      xx = ((xx % period) + period) % period;
      yy = ((yy % period) + period) % period;
    }
    return Hash(xx, yy, seed);
  };
  return (h(x0, y0) * (1 - fx) + h(x0 + 1, y0) * fx) * (1 - fy) + (h(x0, y0 + 1) * (1 - fx) + h(x0 + 1, y0 + 1) * fx) * fy;
}

float Fbm(float x, float y, int octaves, uint32_t seed, int period) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * ValueNoise(x, y, seed + static_cast<uint32_t>(o) * 101u, period);
    norm += amp;
    x *= 2;
    y *= 2;
    period *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

namespace {

// The font cache and its faces are not made for threads, and the archives and the levels
// are drawn at the same time: one text at a time, or a glyph may come out of another
// size or letter.
std::mutex g_schrift;

std::shared_ptr<platform::fonts::SizedFont> Font(int em, bool bold) {
  return platform::fonts::GetFont(bold ? platform::fonts::Style::SansBold : platform::fonts::Style::SansRegular, -em);
}

// The characters of UTF-8 text; a byte that starts no well-formed sequence stands for
// itself, as in Latin-1.
std::u32string Characters(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int more = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
    char32_t ch = more == 3 ? b & 0x07 : more == 2 ? b & 0x0F : b & 0x1F;
    bool ok = more > 0 && i + more < text.size();
    for (int k = 1; ok && k <= more; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      ok = (c & 0xC0) == 0x80;
      ch = ch << 6 | (c & 0x3F);
    }
    out.push_back(ok ? ch : b);
    i += ok ? 1 + more : 1;
  }
  return out;
}

}  // namespace

int TextWidth(const std::string& text, int em, bool bold) {
  const std::lock_guard<std::mutex> lock(g_schrift);
  auto font = Font(em, bold);
  if (!font) return demo::TextWidth(text, std::max(1, em / 8));
  int width = 0;
  for (char32_t ch : Characters(text)) width += font->GlyphOf(ch).advance;
  return width;
}

int TextCapHeight(int em, bool bold) {
  const std::lock_guard<std::mutex> lock(g_schrift);
  auto font = Font(em, bold);
  if (!font) return 7 * std::max(1, em / 8);
  return font->GlyphOf('H').top;
}

Mask TextMask(int w, int h, float x, float y, const std::string& text, int em, bool bold) {
  const std::lock_guard<std::mutex> lock(g_schrift);
  Mask m(w, h);
  auto font = Font(em, bold);
  if (!font) {
    // The blocky font of the builder, white on black, read back as coverage.
    tools::Image img(w, h);
    demo::Text(img, static_cast<int>(x), static_cast<int>(y), text, std::max(1, em / 8), 0xFFFFFF);
    for (size_t i = 0; i < m.v.size(); ++i) m.v[i] = (img.pixels[i] & 0xFF) / 255.0f;
    return m;
  }
  // The cap height stands on y + cap height, so (x, y) is the top-left of the capitals.
  int pen = static_cast<int>(std::lround(x));
  int base = static_cast<int>(std::lround(y)) + font->GlyphOf('H').top;
  for (char32_t ch : Characters(text)) {
    const platform::fonts::Glyph& g = font->GlyphOf(ch);
    for (int gy = 0; gy < g.rows; ++gy)
      for (int gx = 0; gx < g.width; ++gx) {
        int mx = pen + g.left + gx, my = base - g.top + gy;
        if (mx < 0 || my < 0 || mx >= w || my >= h) continue;
        float c = g.coverage[static_cast<size_t>(gy) * g.width + gx] / 255.0f;
        m.at(mx, my) = std::max(m.at(mx, my), c);
      }
    pen += g.advance;
  }
  return m;
}

void Lettering(Canvas& c, float cx, float cy, const std::string& text, int em, Col top, Col bottom, Col outline,
               float outlineRadius) {
  int tw = TextWidth(text, em, true), cap = TextCapHeight(em, true);
  float x = cx - tw / 2.0f, y = cy - cap / 2.0f;
  Mask m = TextMask(c.w, c.h, x, y, text, em, true);
  if (outlineRadius > 0) c.Stamp(m.Dilated(outlineRadius), 0, 0, Solid(outline));
  c.Stamp(m, 0, 0, [=](float, float py, float) { return Lerp(top, bottom, Clamp01((py - y) / std::max(1, cap))); });
}

tools::Image Keyed(const Canvas& c) {
  tools::Image img(c.w, c.h);
  for (size_t i = 0; i < c.px.size(); ++i) {
    const Col& p = c.px[i];
    int r = ToByte(p.r), g = ToByte(p.g), b = ToByte(p.b);
    // A pixel that is mostly covered must not turn into the key, neither here nor after
    // the 5-6-5 conversion of a 16-bit display (which drops the low bits).
    if (p.a >= 0.5f && r < 8 && g < 4 && b < 8) r = g = b = 8;
    img.pixels[i] = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
  }
  return img;
}

tools::Image Flat(const Canvas& c) {
  tools::Image img(c.w, c.h);
  for (size_t i = 0; i < c.px.size(); ++i) {
    const Col& p = c.px[i];
    img.pixels[i] = (static_cast<uint32_t>(ToByte(p.r)) << 16) | (static_cast<uint32_t>(ToByte(p.g)) << 8) |
                    static_cast<uint32_t>(ToByte(p.b));
  }
  return img;
}

std::pair<tools::Image, tools::Image> WithMate(const Canvas& c) {
  Canvas spread = c;
  spread.Blur(4.0f);
  tools::Image colour(c.w, c.h), mate(c.w, c.h);
  for (size_t i = 0; i < c.px.size(); ++i) {
    const Col& p = c.px[i];
    const Col& s = spread.px[i];
    Col straight = p.a > 0.02f ? Col{p.r / p.a, p.g / p.a, p.b / p.a, 1} : s.a > 1e-4f ? Col{s.r / s.a, s.g / s.a, s.b / s.a, 1}
                                                                                     : Col{0, 0, 0, 1};
    colour.pixels[i] = (static_cast<uint32_t>(ToByte(straight.r)) << 16) |
                       (static_cast<uint32_t>(ToByte(straight.g)) << 8) | static_cast<uint32_t>(ToByte(straight.b));
    uint32_t a = static_cast<uint32_t>(ToByte(p.a));
    mate.pixels[i] = (a << 16) | (a << 8) | a;
  }
  return {colour, mate};
}

}  // namespace demo
