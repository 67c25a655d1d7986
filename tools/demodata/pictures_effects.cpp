// The effect pictures of the standard set and the weather tiles: glows, rings, streaks,
// fire and smoke. Most are drawn tinted by the game, so they are kept white or grey.
#include <algorithm>
#include <cmath>

#include "demodata/pictures.hpp"

namespace demo {
namespace {

constexpr float kPi = 3.14159265358979f;

// A grey value v as a colour of full alpha.
Col Grey(float v) { return {v, v, v, 1}; }

// The distance from the centre in units of the half size.
float Radius(float x, float y, float size) { return std::hypot(x - size / 2, y - size / 2) / (size / 2); }

}  // namespace

Canvas BlurTexture() {
  // Only ever shown after the game has copied the screen into it.
  Canvas c(64, 64);
  c.Fill([](float x, float y) { return Grey(0.08f * (1 - Clamp01(Radius(x, y, 64)))); });
  return c;
}

Canvas Sparkle() {
  Canvas c(64, 64);
  c.Fill([](float x, float y) {
    float dx = std::fabs(x - 32), dy = std::fabs(y - 32);
    float r = std::hypot(dx, dy);
    // Long rays along the axes, short ones across, and a bright core.
    float rays = std::exp(-dy * dy / 1.2f) * std::pow(Clamp01(1 - dx / 31), 2.0f) +
                 std::exp(-dx * dx / 1.2f) * std::pow(Clamp01(1 - dy / 31), 2.0f);
    float u = (dx + dy) * 0.7071f, v = std::fabs(dx - dy) * 0.7071f;
    float diag = std::exp(-v * v / 0.8f) * std::pow(Clamp01(1 - u / 18), 2.0f) * 0.5f;
    float core = std::exp(-r * r / 10.0f) + 0.25f * std::exp(-r * r / 80.0f);
    float v2 = Clamp01(rays + diag + core);
    return Col{v2 * 0.9f + 0.1f * core, v2 * 0.95f, v2, 1};
  });
  return c;
}

Canvas SoftDisc() {
  // A soft white disc rather than a thin glow: the game also draws it with normal
  // blending (fire balls, flashes), where a long dim fringe would show as a dark ring.
  Canvas c(64, 64);
  c.Fill([](float x, float y) {
    float r = Radius(x, y, 64);
    return Grey(r >= 1 ? 0.0f : std::pow(1 - r * r, 0.55f));
  });
  return c;
}

Canvas LightStreak() {
  Canvas c(128, 128);
  c.Fill([](float x, float y) {
    float dx = std::fabs(x - 64) / 64, dy = std::fabs(y - 64);
    float along = std::pow(Clamp01(1 - dx), 1.6f);
    float v = along * (std::exp(-dy * dy / 2.5f) + 0.22f * std::exp(-dy * dy / 60.0f));
    return Col{Clamp01(v * 0.95f), Clamp01(v * 0.97f), Clamp01(v), 1};
  });
  return c;
}

Canvas BarCap() {
  // Across, the same profile as the bar; along, it closes in a rounded end on the left
  // and meets the bar at full height on the right.
  Canvas c(32, 32);
  c.Fill([](float x, float y) {
    float d = std::fabs(y - 16) / 16, e = (32 - x) / 32;
    float v = Clamp01(1 - e * e - d * d);
    return Grey(v);
  });
  return c;
}

Canvas Fire(int n) {
  // A puff of flame: white-hot core, warm edges, torn by noise; each picture its own.
  Canvas c(64, 64);
  const uint32_t seed = 40 + static_cast<uint32_t>(n);
  c.Fill([n, seed](float x, float y) {
    float nx = (x - 32) / 30, ny = (y - 32) / 30;
    float warp = Fbm(x / 14 + n * 3.1f, y / 14, 4, seed) - 0.5f;
    float r = std::hypot(nx + warp * 0.35f, ny + warp * 0.35f * (n % 2 ? -1 : 1));
    float body = Clamp01(1 - r);
    float tex = Fbm(x / 9, y / 9 + n * 7.0f, 4, seed + 9);
    float a = Clamp01(body * body * (0.55f + 1.1f * tex) * 1.6f);
    float heat = Clamp01(body * 1.6f + (tex - 0.5f) * 0.6f);
    Col warm{1.0f, 0.78f, 0.6f, a}, hot{1.0f, 1.0f, 0.92f, a};
    return Lerp(warm, hot, heat);
  });
  return c;
}

Canvas Ring() {
  Canvas c(128, 128);
  c.Fill([](float x, float y) {
    float r = Radius(x, y, 128);
    float band = std::exp(-std::pow((r - 0.86f) / 0.045f, 2.0f));
    float inner = 0.35f * std::exp(-std::pow((r - 0.78f) / 0.12f, 2.0f));
    float a = r > 0.97f ? 0.0f : Clamp01(band + inner);
    return Col{0.85f + 0.15f * band, 0.92f + 0.08f * band, 1.0f, a};
  });
  return c;
}

Canvas Ring2() {
  // A ring of dashes that shows its turning, with a faint full ring under it.
  Canvas c(128, 128);
  c.Fill([](float x, float y) {
    float r = Radius(x, y, 128);
    float ang = std::atan2(y - 64, x - 64);
    float dash = Smooth(0.15f, 0.45f, 0.5f + 0.5f * std::cos(ang * 12));
    float band = std::exp(-std::pow((r - 0.8f) / 0.07f, 2.0f));
    float thin = 0.45f * std::exp(-std::pow((r - 0.92f) / 0.02f, 2.0f));
    float a = r > 0.97f ? 0.0f : Clamp01(band * (0.25f + 0.75f * dash) + thin);
    return Col{1.0f, 0.95f, 0.85f + 0.15f * dash, a};
  });
  return c;
}

Canvas Smoke(int n) {
  // Young smoke is dense, small and bright; old smoke is wide, thin and wispy.
  Canvas c(64, 64);
  const float age = n / 6.0f;
  const uint32_t seed = 70 + static_cast<uint32_t>(n);
  c.Fill([age, seed](float x, float y) {
    float scale = 0.62f + 0.36f * age;
    float nx = (x - 32) / (31 * scale), ny = (y - 32) / (31 * scale);
    float tex = Fbm(x / (10 + 8 * age), y / (10 + 8 * age), 5, seed);
    float r = std::hypot(nx, ny) + (tex - 0.5f) * (0.5f + 0.6f * age);
    float body = Clamp01(1 - r);
    float density = (0.95f - 0.45f * age) * Smooth(0.0f, 0.45f, body) * (0.7f + 0.6f * tex);
    // Lit from the top left: lighter where the noise rises toward the light.
    float light = 0.55f + 0.35f * Clamp01(0.5f - (nx + ny) * 0.35f) + 0.25f * (tex - 0.5f);
    float g = Clamp01(light * (1.0f - 0.25f * age));
    return Col{g, g, g * 1.03f, Clamp01(density)};
  });
  return c;
}

Canvas GameLogo() {
  Canvas c(400, 160);
  const std::string word = "HARVO";
  const int em = 100;
  int tw = TextWidth(word, em, true), cap = TextCapHeight(em, true);
  float tx = (400 - tw) / 2.0f, ty = (136 - cap) / 2.0f;
  Mask straight = TextMask(400, 160, tx, ty, word, em, true);
  // Leaning forward: each row shifted by its height.
  Mask text(400, 160);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 400; ++x) text.at(x, y) = straight.Sample(x + 0.5f + (y - 80) * 0.18f, y + 0.5f);
  Mask outline = text.Dilated(3.0f);
  float top = ty, bottom = ty + cap;
  // A speed streak behind the letters.
  c.Shape(10, 118, 392, 134,
          [](float x, float y) { return SdBox(x, y, 200, 126, 190, 4.5f - std::fabs(x - 200) / 190 * 3.5f, 2); },
          [](float x, float, float) { return Lerp(Hex(0xFF9A2E), Hex(0xFFE9A0), 1 - std::fabs(x - 200) / 190); });
  c.Stamp(outline, 0, 0, Solid(Hex(0x101C44)));
  c.Stamp(text, 0, 0, [top, bottom](float x, float y, float) {
    float t = Clamp01((y - top) / (bottom - top));
    // Chrome: bright sky above the horizon line, a dark band, warm ground below.
    Col sky = Lerp(Hex(0xF4FBFF), Hex(0x6FA8E8), Clamp01(t / 0.5f));
    Col ground = Lerp(Hex(0x2A3A7A), Hex(0xFFB347), Clamp01((t - 0.5f) / 0.5f));
    Col c2 = t < 0.5f ? sky : ground;
    float glint = std::exp(-std::pow((x - 150 - y * 0.3f) / 14.0f, 2.0f)) * 0.5f;
    return Col{Clamp01(c2.r + glint), Clamp01(c2.g + glint), Clamp01(c2.b + glint), 1};
  });
  return c;
}

Canvas TvNoise() {
  Canvas c(256, 256);
  c.Fill([](float x, float y) {
    int ix = static_cast<int>(x), iy = static_cast<int>(y);
    float v = Hash(ix, iy, 5);
    float line = 0.85f + 0.15f * (iy % 2);
    return Grey(Clamp01((0.15f + 0.85f * v) * line));
  });
  return c;
}

Canvas LensMask() {
  // The game makes white its key for this one: the inside lets the copied picture show,
  // the rim and the black outside are copied over it.
  Canvas c(64, 64);
  c.Fill([](float x, float y) {
    float r = std::hypot(x - 32, y - 32);
    if (r <= 28.5f) return Col{1, 1, 1, 1};
    if (r >= 31.5f) return Col{0, 0, 0, 1};
    float t = (r - 28.5f) / 3.0f;
    float glow = std::sin(t * kPi);
    return Col{0.45f * glow + 0.05f, 0.7f * glow + 0.05f, 1.0f * glow + 0.05f, 1};
  });
  return c;
}

Canvas SnowTile(int layer) {
  // Twenty-odd flakes per tile, nearer layers larger and fewer; flakes near an edge are
  // drawn again on the other side, so the tiles join.
  Canvas c(256, 256);
  const int count = 26 + 14 * layer;
  const float size = 3.4f - 0.9f * layer;
  for (int i = 0; i < count; ++i) {
    float fx = Hash(i, 1, 300 + layer) * 256, fy = Hash(i, 2, 300 + layer) * 256;
    float s = size * (0.6f + 0.7f * Hash(i, 3, 300 + layer));
    float bright = 0.55f + 0.45f * Hash(i, 4, 300 + layer) - 0.12f * layer;
    for (int ox = -256; ox <= 256; ox += 256)
      for (int oy = -256; oy <= 256; oy += 256) {
        float cx = fx + ox, cy = fy + oy;
        if (cx < -8 || cy < -8 || cx > 264 || cy > 264) continue;
        c.Shape(cx - s - 2, cy - s - 2, cx + s + 2, cy + s + 2,
                [cx, cy, s](float x, float y) { return SdCircle(x, y, cx, cy, s) + 0.6f; },
                [cx, cy, s, bright](float x, float y, float) {
                  float r = std::hypot(x - cx, y - cy) / (s + 0.5f);
                  float v = bright * Clamp01(1.1f - r * r);
                  return Col{v * 0.92f, v * 0.96f, v, 1};
                },
                Blend::Add);
      }
  }
  return c;
}

Canvas RainTile() {
  Canvas c(256, 256);
  for (int i = 0; i < 70; ++i) {
    float fx = Hash(i, 1, 400) * 256, fy = Hash(i, 2, 400) * 256;
    float len = 14 + 22 * Hash(i, 3, 400), bright = 0.35f + 0.45f * Hash(i, 4, 400);
    // The streaks lean with the sheets' drift (about 7 across for 7 down).
    float dx = -len * 0.45f, dy = len;
    for (int ox = -256; ox <= 256; ox += 256)
      for (int oy = -256; oy <= 256; oy += 256) {
        float ax = fx + ox, ay = fy + oy, bx = ax + dx, by = ay + dy;
        if (std::max(ax, bx) < -2 || std::min(ax, bx) > 258 || by < -2 || ay > 258) continue;
        c.Shape(std::min(ax, bx) - 2, ay - 2, std::max(ax, bx) + 2, by + 2,
                [=](float x, float y) { return SdSegment(x, y, ax, ay, bx, by) - 0.35f; },
                [=](float, float y, float) {
                  float t = Clamp01((y - ay) / (by - ay));
                  float v = bright * (0.3f + 0.7f * t);
                  return Col{v * 0.8f, v * 0.88f, v, 1};
                },
                Blend::Add);
      }
  }
  return c;
}

}  // namespace demo
