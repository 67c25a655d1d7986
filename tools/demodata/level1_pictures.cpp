// The pictures of the first demo level: a dusk sky over a canyon, rocks of irregular
// shape for the two scenery layers, the three enemy kinds and their shot, and the glows
// of its animations.
#include <algorithm>
#include <cmath>
#include <vector>

#include "demodata/draw.hpp"
#include "demodata/level1.hpp"
#include "demodata/ray3d.hpp"

namespace demo {
namespace {

using ray::Scene;
using ray::V3;

constexpr float kPi = 3.14159265358979f;

// The gunship's colours, shared with its turret.
struct Gunmetal {
  int hull, armour, dark, stripe;
  explicit Gunmetal(Scene& s)
      : hull(s.Add(ray::Surface(0x74825A, 0.45f, 25))),
        armour(s.Add(ray::Surface(0x4E5640, 0.4f, 20))),
        dark(s.Add(ray::Surface(0x2C302E, 0.4f, 20))),
        stripe(s.Add(ray::Surface(0xE0A830, 0.6f, 30))) {}
};

}  // namespace

float Wrapped(float x, float y, float cellsAcross, int octaves, uint32_t seed) {
  const int period = static_cast<int>(cellsAcross);
  return Fbm(x / 800.0f * cellsAcross, y / 800.0f * cellsAcross, octaves, seed, period);
}

void SoftGlow(Canvas& c, float cx, float cy, float r, Col colour) {
  c.Fill([=](float x, float y) {
    const float d = std::hypot(x - cx, y - cy) / r;
    const float a = std::pow(Clamp01(1 - d), 1.6f);
    return WithAlpha(Lerp(colour, Hex(0xFFFFFF), Clamp01(1 - d * 2.2f)), a);
  }, Blend::Add);
}

Canvas CanyonSky() {
  Canvas c(800, 600);
  const Col top = Hex(0x0B0A26), middle = Hex(0x3C2050), glow = Hex(0xD8703C), low = Hex(0x2A1410);
  // The ridges of the far and the near mountains, repeating every 800 pixels.
  auto farRidge = [](float x) { return 330 + 240 * (Wrapped(x, 0, 5, 4, 31) - 0.5f); };
  auto nearRidge = [](float x) { return 420 + 220 * (Wrapped(x, 7, 8, 5, 37) - 0.5f); };
  c.Fill([&](float x, float y) {
    Col sky = y < 300 ? Lerp(top, middle, Smooth(0, 300, y)) : Lerp(middle, glow, Smooth(300, 440, y));
    // Thin clouds high up, lit from below by the low sun.
    const float cloud = Smooth(0.55f, 0.8f, Wrapped(x, y * 2.5f, 4, 5, 41)) * Smooth(330, 120, y);
    sky = Lerp(sky, Hex(0xB0607A), cloud * 0.45f);
    // Stars where the sky is dark.
    const int sx = static_cast<int>(x), sy = static_cast<int>(y);
    if (Hash(sx, sy, 43) > 0.9975f) sky = Lerp(sky, Hex(0xFFF4E0), Smooth(280, 40, y) * Hash(sx, sy, 47));
    if (y > farRidge(x)) {
      const float haze = Smooth(300, 470, y);
      sky = Lerp(Hex(0x6A3858), Hex(0xA8584A), haze * 0.6f);
    }
    if (y > nearRidge(x)) {
      const float depth = Smooth(390, 600, y);
      sky = Lerp(Hex(0x3A1C30), low, depth);
      sky = Scale(sky, 0.85f + 0.3f * Wrapped(x, y, 16, 3, 53));
    }
    return WithAlpha(sky, 1);
  });
  // A pale moon with darker seas and a faint halo, well inside the picture.
  SoftGlow(c, 560, 140, 120, Hex(0x6050A0, 0.5f));
  c.Shape(490, 70, 630, 210, [](float x, float y) { return SdCircle(x, y, 560, 140, 52); }, [](float x, float y, float) {
    const float seas = Fbm(x / 18, y / 18, 4, 59);
    return Lerp(Hex(0xF2E6D2), Hex(0xB8A898), Smooth(0.45f, 0.7f, seas));
  });
  return c;
}

const RockStyle kCanyonRock{Hex(0x3A2C24), Hex(0xB09270), Hex(0xF0D0A0), false, {}, 0};
const RockStyle kCanyonFarRock{Hex(0x262E4A), Hex(0x5A6684), Hex(0x8890B8), true, Hex(0x40406A), 0.3f};

Canvas Rock(int w, int h, bool hanging, bool far, uint32_t seed) {
  return Rock(w, h, hanging, far ? kCanyonFarRock : kCanyonRock, seed);
}

Canvas Rock(int w, int h, bool hanging, const RockStyle& style, uint32_t seed) {
  const bool far = style.far;
  const int pad = 12, W = w + 2 * pad, H = h + 2 * pad;
  // The outline: a half ellipse on the ground line with a rough, faceted rim. The
  // polygon closes below the ground line, outside the picture.
  Random rnd(seed);
  const float cx = W / 2.0f, ground = hanging ? pad : h + pad;
  const float rx = w / 2.0f - 3, ry = h - 5.0f, up = hanging ? 1.0f : -1.0f;
  std::vector<std::pair<float, float>> pts;
  const int n = 15;
  for (int i = 0; i <= n; ++i) {
    const float a = kPi * i / n;
    const float end = (i == 0 || i == n) ? 0.9f : 1.0f;
    const float f = end * (0.72f + 0.28f * static_cast<float>(rnd.Unit()));
    pts.emplace_back(cx - std::cos(a) * rx * f, ground + up * std::sin(a) * ry * f);
  }
  pts.emplace_back(cx + rx, ground - up * 3 * pad);
  pts.emplace_back(cx - rx, ground - up * 3 * pad);

  Mask cover(W, H);
  std::vector<float> dist(static_cast<size_t>(W) * H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const float fx = x + 0.5f, fy = y + 0.5f;
      const float d = SdPolygon(fx, fy, pts) + (Fbm(fx / 6, fy / 6, 3, seed + 1) - 0.5f) * 7;
      dist[static_cast<size_t>(y) * W + x] = d;
      cover.at(x, y) = Clamp01(0.5f - d);
    }
  // A height field from the blurred silhouette, broad bumps and a little grit gives the
  // faces their slopes.
  Mask height = cover;
  height.Blur(std::min(w, h) * 0.2f);
  auto heightAt = [&](int x, int y) {
    x = std::clamp(x, 0, W - 1);
    y = std::clamp(y, 0, H - 1);
    return height.at(x, y) * 46 + Fbm(x / 22.0f, y / 22.0f, 3, seed + 2) * 14 + Fbm(x / 4.0f, y / 4.0f, 2, seed + 6) * 1.2f;
  };
  const V3 light = ray::Norm({-0.6f, -0.7f, 0.4f});
  const Col dark = style.dark, bright = style.bright;
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int px = x + pad, py = y + pad;
      const float cov = cover.at(px, py);
      if (cov <= 0) continue;
      const float gx = heightAt(px + 1, py) - heightAt(px - 1, py), gy = heightAt(px, py + 1) - heightAt(px, py - 1);
      const V3 normal = ray::Norm({-gx, -gy, 2.5f});
      const float diffuse = std::max(0.0f, ray::Dot(normal, light));
      // Layers of stone, bent a little.
      const float strata = 0.5f + 0.5f * std::sin(py * 0.3f + Fbm(px / 50.0f, py / 50.0f, 3, seed + 3) * 8);
      Col stone = Lerp(dark, bright, 0.25f + 0.35f * Fbm(px / 16.0f, py / 16.0f, 4, seed + 4) + 0.25f * strata);
      // Darker towards the ground the rock stands on (or the ceiling it hangs from).
      const float depth = hanging ? 1 - static_cast<float>(y) / h : static_cast<float>(y) / h;
      const float shade = (far ? 0.5f + 0.5f * diffuse : 0.22f + 1.05f * diffuse) * (1 - 0.35f * depth * depth);
      Col lit = Scale(stone, shade);
      // The lit rim catches the light.
      const float rim = Smooth(3.0f, 0.0f, -dist[static_cast<size_t>(py) * W + px]) * diffuse;
      lit = Lerp(lit, style.rim, rim * 0.35f);
      lit = Lerp(lit, style.haze, style.hazeAmount);
      c.px[static_cast<size_t>(y) * w + x] = {lit.r * cov, lit.g * cov, lit.b * cov, cov};
    }
  return c;
}

Canvas DartFrame(int frame) {
  // A slim red-trimmed fighter, nose to the left; its engine flickers.
  static const float kFlicker[4] = {0.9f, 1.5f, 1.1f, 1.7f};
  Scene s;
  const int hull = s.Add(ray::Surface(0x9AA6B8, 0.6f, 40));
  const int trim = s.Add(ray::Surface(0xC8382C, 0.5f, 30));
  const int dark = s.Add(ray::Surface(0x33383F, 0.4f, 20));
  const int glass = s.Add(ray::Glass(0xFFD050));
  const int engine = s.Add(ray::Lamp(0xFF9A30, kFlicker[frame % 4]));
  s.Ellipsoid({0, 0, 0}, {16, 4.5f, 4.5f}, hull);
  s.Ellipsoid({-13, -0.5f, 0}, {7, 3, 3}, hull);
  s.Ellipsoid({-5, 3.2f, 0}, {6, 2.6f, 2.4f}, glass);
  for (float side : {-1.0f, 1.0f})
    s.PlateXZ({{-4, 3 * side}, {8, 3 * side}, {14, 14 * side}, {8, 15 * side}}, -0.8f, 1.6f, 0.6f, trim);
  s.PlateXY({{8, 3}, {15, 3}, {17, 10}, {12, 10}}, 0, 1.4f, 0.5f, trim);
  s.Cylinder({14, 0, 0}, {19, 0, 0}, 3.0f, dark);
  s.Cylinder({18.5f, 0, 0}, {20, 0, 0}, 2.4f, engine);
  s.Transform(ray::RotX(14 + 5 * std::sin(frame * kPi / 2)));
  Canvas c = ray::Render(s, 48, 32, 23, 16, 3);
  // The exhaust behind the nozzle.
  const float len = 2.5f + kFlicker[frame % 4] * 2;
  c.Shape(40, 10, 48, 22, [=](float x, float y) { return SdEllipse(x, y, 44, 16, len, 2.2f); },
          [](float x, float, float) { return WithAlpha(Lerp(Hex(0xFFF0B0), Hex(0xFF6020), Smooth(42, 47, x)), 0.9f); },
          Blend::Add);
  return c;
}

Canvas MineFrame(int frame) {
  // A purple ball with eight spikes; six frames turn it by one spike spacing, so the
  // sequence loops, while its red eye pulses.
  Scene s;
  const int shell = s.Add(ray::Surface(0x6A3A8A, 0.7f, 40));
  const int spike = s.Add(ray::Surface(0xB8B0C8, 0.8f, 50));
  const int tip = s.Add(ray::Lamp(0xFF4060, 0.7f));
  const int eye = s.Add(ray::Lamp(0xFF3050, 0.7f + 0.6f * (0.5f + 0.5f * std::cos(frame * kPi / 3))));
  s.Sphere({0, 0, 0}, 9, shell);
  for (int k = 0; k < 8; ++k) {
    const float a = (k * 45.0f + frame * 7.5f) * kPi / 180;
    const V3 dir{std::cos(a), std::sin(a), 0};
    s.Cylinder(dir * 7, dir * 15.5f, 1.5f, spike);
    s.Sphere(dir * 16, 1.8f, tip);
  }
  s.Sphere({0, 0, 7.5f}, 3.6f, eye);
  s.Transform(ray::RotY(-12) * ray::RotX(18));
  return ray::Render(s, 40, 40, 20, 20, 3);
}

Canvas GunshipFrame(int frame) {
  // A broad olive carrier with twin engines at the back and a deck for its turret; the
  // running lights walk along its side.
  Scene s;
  const Gunmetal m(s);
  const int glass = s.Add(ray::Glass(0x7FE0FF));
  const int engine = s.Add(ray::Lamp(0x60A8FF, 1.2f + 0.2f * frame));
  const int on = s.Add(ray::Lamp(0xFF4030, 1.6f));
  s.Ellipsoid({2, -3, 0}, {44, 12, 14}, m.hull);
  s.Ellipsoid({-36, -4, 0}, {14, 8, 9}, m.armour);
  s.Box({4, 8, 0}, {26, 3, 9}, m.armour);
  s.Ellipsoid({-28, 3, 0}, {8, 4, 5}, glass);
  s.Box({-16, -3, 0}, {2.5f, 11.5f, 14.3f}, m.stripe);
  s.Box({2, -14, 0}, {30, 2, 6}, m.dark);
  for (float z : {-14.0f, 14.0f}) {
    s.Cylinder({22, -7, z}, {50, -7, z}, 6.0f, m.dark);
    s.Cylinder({49, -7, z}, {52, -7, z}, 4.5f, engine);
  }
  for (int k = 0; k < 3; ++k) s.Sphere({-6.0f + 14 * k, -6, 13.5f}, 1.7f, k == frame % 3 ? on : m.dark);
  s.Transform(ray::RotX(18));
  return ray::Render(s, 112, 64, 56, 32, 2);
}

Canvas Turret() {
  // The gun the gunship turns towards the player: a dome with a barrel pointing left.
  Scene s;
  const Gunmetal m(s);
  s.Sphere({0, 0, 0}, 8.5f, m.armour);
  s.Box({0, -5, 0}, {9, 2.5f, 6}, m.dark);
  s.Cylinder({-4, 1, 0}, {-14, 1, 0}, 2.5f, m.hull);
  s.Cylinder({-14, 1, 0}, {-15.5f, 1, 0}, 3.0f, m.stripe);
  s.Transform(ray::RotX(15));
  return ray::Render(s, 32, 32, 16, 16, 3);
}

Canvas PlasmaFrame(int frame) {
  // A hot pink ball with a four-pointed spark that turns a little every frame.
  Canvas c(16, 16);
  const float turn = frame * kPi / 8;
  c.Fill([=](float x, float y) {
    const float dx = x - 8, dy = y - 8, r = std::hypot(dx, dy);
    const float ball = Clamp01(1.15f - r / 7.0f);
    const float a = std::atan2(dy, dx) - turn;
    const float spark = Clamp01(1 - r / 7.8f) * std::pow(std::fabs(std::cos(2 * a)), 12.0f);
    const float v = Clamp01(ball + spark * 0.8f);
    return WithAlpha(Lerp(Hex(0xE03CB0), Hex(0xFFF0FF), Clamp01(1.3f - r / 4.0f)), v);
  });
  return c;
}

Canvas BeaconGlow() {
  Canvas c(32, 32);
  SoftGlow(c, 16, 16, 15, Hex(0x40E0FF));
  return c;
}

Canvas FlareStreak() {
  // Bright at its head (right), fading along its tail.
  Canvas c(128, 16);
  c.Fill([](float x, float y) {
    const float across = std::pow(Clamp01(1 - std::fabs(y - 8) / 7.5f), 2.0f);
    const float along = std::pow(x / 128.0f, 1.8f);
    return WithAlpha(Lerp(Hex(0xFF9050), Hex(0xFFFFE8), along), across * along);
  });
  return c;
}

}  // namespace demo
