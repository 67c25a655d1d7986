// The pictures of the second demo level: a flooded cavern in blue-green darkness, cave
// rocks with glowing crystals, the creatures of the deep and the angler fish at its end.
#include <algorithm>
#include <cmath>
#include <vector>

#include "demodata/draw.hpp"
#include "demodata/level1.hpp"
#include "demodata/level2.hpp"
#include "demodata/ray3d.hpp"

namespace demo {
namespace {

using ray::Scene;
using ray::V3;

constexpr float kPi = 3.14159265358979f;

const RockStyle kCaveRock{Hex(0x121C24), Hex(0x4A6A70), Hex(0x70E8E0), false, {}, 0};
const RockStyle kCaveFarRock{Hex(0x0A1622), Hex(0x24404C), Hex(0x3A7888), true, Hex(0x0E2434), 0.35f};

// The horizontal distance on a picture that wraps every 800 pixels.
float WrapDx(float x, float cx) {
  const float d = std::fabs(x - cx);
  return std::min(d, 800 - d);
}

// The underside of the cave's ceiling at x: a ragged line with a stalactite in most of
// the 50-pixel cells (16 across, so it joins its start).
float Ceiling(float x) {
  const float base = 62 + 56 * (Wrapped(x, 3, 6, 4, 301) - 0.5f);
  const int cell = static_cast<int>(x / 50) % 16;
  const float f = x / 50 - std::floor(x / 50);
  const float len = 20 + 110 * Hash(cell, 0, 303);
  const float half = 0.18f + 0.16f * Hash(cell, 1, 305);
  return base + len * std::max(0.0f, 1 - std::fabs(f - 0.5f) / half);
}

// The top of the cave floor at x, under the water.
float Floor(float x) { return 560 - 48 * Wrapped(x, 11, 5, 4, 307) - 30 * Wrapped(x, 13, 17, 2, 309); }

// One crystal: a long pointed shard from its base (bx, by) in the direction `angle`
// (degrees; 0 up), fading from a deep base to a bright tip.
void Crystal(Canvas& c, float bx, float by, float len, float width, float angle, Col deep, Col tip) {
  const float a = angle * kPi / 180, ux = std::sin(a), uy = -std::cos(a);
  const float px = -uy * width / 2, py = ux * width / 2;
  const std::vector<std::pair<float, float>> pts = {{bx + px, by + py},
                                                     {bx + ux * len * 0.75f + px * 0.8f, by + uy * len * 0.75f + py * 0.8f},
                                                     {bx + ux * len, by + uy * len},
                                                     {bx + ux * len * 0.75f - px * 0.8f, by + uy * len * 0.75f - py * 0.8f},
                                                     {bx - px, by - py}};
  const float x0 = std::min({bx, bx + ux * len}) - width, x1 = std::max({bx, bx + ux * len}) + width;
  const float y0 = std::min({by, by + uy * len}) - width, y1 = std::max({by, by + uy * len}) + width;
  c.Shape(x0, y0, x1, y1, [pts](float x, float y) { return SdPolygon(x, y, pts); },
          [=](float x, float y, float d) {
            const float along = Clamp01(((x - bx) * ux + (y - by) * uy) / len);
            // A bright edge on the side that faces the light, a dark one on the other.
            const float side = ((x - bx) * -uy + (y - by) * ux) / (width / 2);
            Col k = Lerp(deep, tip, std::pow(along, 0.8f));
            k = Lerp(k, Hex(0xFFFFFF), Smooth(-1.5f, 0.0f, d) * 0.5f * Clamp01(-side));
            return Scale(k, 0.75f + 0.35f * Clamp01(-side));
          });
}

// A soft light of `colour` about (cx, cy) that lets the picture underneath show.
void Glimmer(Canvas& c, float cx, float cy, float r, Col colour) {
  c.Shape(cx - r, cy - r, cx + r, cy + r, [=](float x, float y) { return SdCircle(x, y, cx, cy, r); },
          [=](float x, float y, float) {
            const float d = std::hypot(x - cx, y - cy) / r;
            return WithAlpha(colour, std::pow(Clamp01(1 - d), 2.0f) * colour.a);
          },
          Blend::Add);
}

}  // namespace

Canvas Cavern() {
  Canvas c(800, 600);
  // Openings deeper in the cave, where a cold light comes from, and the shafts of light
  // that fall from cracks in the ceiling.
  struct Licht {
    float x, y, r, k;
  };
  const Licht lichter[] = {{250, 250, 230, 0.55f}, {640, 190, 150, 0.4f}, {470, 420, 190, 0.3f}};
  const float schaechte[] = {170, 455, 700};
  c.Fill([&](float x, float y) {
    Col k = y < 300 ? Lerp(Hex(0x050912), Hex(0x0F2A38), Smooth(50, 300, y)) : Lerp(Hex(0x0F2A38), Hex(0x061822), Smooth(300, 600, y));
    // The far wall: rough stone, bands of darker rock.
    const float wall = Wrapped(x, y, 10, 5, 311), band = Wrapped(x, y * 3, 2, 3, 313);
    k = Scale(k, 0.7f + 0.55f * wall - 0.2f * Smooth(0.6f, 0.8f, band));
    for (const Licht& l : lichter) {
      const float dx = WrapDx(x, l.x), dy = y - l.y;
      k = Lerp(k, Hex(0x3FA8B8), l.k * std::exp(-(dx * dx + dy * dy * 1.6f) / (l.r * l.r)));
    }
    for (float s : schaechte) {
      const float mitte = s + y * 0.2f, breite = 14 + y * 0.06f;
      const float d = WrapDx(x, mitte) / breite;
      k = Lerp(k, Hex(0xA8F0F0), std::exp(-d * d) * Smooth(600, 60, y) * 0.3f);
    }
    // Specks of light that live in the water and on the walls.
    const int sx = static_cast<int>(x), sy = static_cast<int>(y);
    if (Hash(sx, sy, 317) > 0.998f) k = Lerp(k, Hash(sx, sy, 319) > 0.5f ? Hex(0x80FFE0) : Hex(0xC090FF), 0.4f + 0.6f * Hash(sx, sy, 321));
    // The ceiling and the floor: dark rock with a faint rim where the light catches it.
    const float decke = Ceiling(x), boden = Floor(x);
    if (y < decke || y > boden) {
      const float rand = y < decke ? decke - y : y - boden;
      Col fels = Lerp(Hex(0x03060B), Hex(0x0C1C26), Wrapped(x, y, 24, 3, 323));
      fels = Lerp(fels, Hex(0x2C6470), Smooth(4, 0, rand) * 0.8f);
      k = fels;
    }
    return WithAlpha(k, 1);
  });
  // Crystals on the ceiling and the floor, with their glow.
  Random rnd(331);
  for (int i = 0; i < 9; ++i) {
    const float x = 40 + 720 * static_cast<float>(rnd.Unit());
    const bool oben = i % 2 == 0;
    const Col tief = i % 3 ? Hex(0x1A5A90) : Hex(0x5A2A90), hell = i % 3 ? Hex(0xB0FFFF) : Hex(0xF0B8FF);
    const float y = oben ? Ceiling(x) - 4 : Floor(x) + 4;
    for (int k = 0; k < 3; ++k) {
      const float winkel = (oben ? 180.0f : 0.0f) + (k - 1) * 22.0f + 8 * static_cast<float>(rnd.Unit());
      Crystal(c, x + (k - 1) * 7.0f, y, 16 + 14 * static_cast<float>(rnd.Unit()), 6, winkel, tief, hell);
    }
    Glimmer(c, x, y + (oben ? 14.0f : -14.0f), 40, WithAlpha(hell, 0.22f));
  }
  return c;
}

Canvas DeepLoading() {
  Canvas c = Cavern();
  c.Fill([](float, float y) { return WithAlpha(Hex(0x000000), 0.35f + 0.3f * Smooth(200, 600, y)); });
  Lettering(c, 400, 250, "THE DEEP", 96, Hex(0xC8FFFF), Hex(0x2A90B0), Hex(0x031018), 4);
  Lettering(c, 400, 330, "LEVEL 2", 36, Hex(0xE0F0FF), Hex(0x80B0D0), Hex(0x031018), 2);
  return c;
}

Canvas CaveRock(int w, int h, bool hanging, bool far, uint32_t seed) {
  Canvas c = Rock(w, h, hanging, far ? kCaveFarRock : kCaveRock, seed);
  if (far) return c;
  // The crystals grow out of the rock's open side: found by looking down (or up) each
  // chosen column for the first row that is mostly stone.
  Random rnd(seed * 7 + 1);
  const int gruppen = 1 + w / 90;
  const bool violett = seed % 3 == 0;
  const Col tief = violett ? Hex(0x50208A) : Hex(0x145A8A), hell = violett ? Hex(0xF0C0FF) : Hex(0xC0FFFF);
  for (int g = 0; g < gruppen; ++g) {
    const int x = static_cast<int>(w * (0.2f + 0.6f * (g + static_cast<float>(rnd.Unit())) / gruppen));
    int y = hanging ? h - 1 : 0;
    while (y >= 0 && y < h && c.px[static_cast<size_t>(y) * w + x].a < 0.7f) y += hanging ? -1 : 1;
    if (y < 0 || y >= h) continue;
    const float basisY = static_cast<float>(y + (hanging ? -3 : 3));
    const int n = 2 + static_cast<int>(rnd.Unit() * 2);
    for (int k = 0; k < n; ++k) {
      const float winkel = (hanging ? 180.0f : 0.0f) + (k - (n - 1) / 2.0f) * 24 + 10 * static_cast<float>(rnd.Unit() - 0.5);
      const float len = std::min(14 + 18 * static_cast<float>(rnd.Unit()), h * 0.45f);
      Crystal(c, static_cast<float>(x) + (k - (n - 1) / 2.0f) * 6, basisY, len, 6.5f, winkel, tief, hell);
    }
  }
  return c;
}

Canvas JellyFrame(int frame) {
  // A glowing bell that pulses (wide and flat, then tall and narrow) over trailing
  // tentacles that sway a little further each frame.
  Canvas c(48, 56);
  const float puls = 0.5f + 0.5f * std::cos(frame * kPi / 2);
  const float rx = 15 + 4 * puls, ry = 16 - 4 * puls, cy = 20;
  for (int k = 0; k < 5; ++k) {
    const float x0 = 24 + (k - 2) * 5.5f * rx / 17;
    float px = x0, py = cy + 2;
    for (int i = 1; i <= 8; ++i) {
      const float ny = cy + 2 + i * 4.0f, nx = x0 + std::sin(i * 0.8f + frame * kPi / 2 + k) * 2.5f * i / 8;
      const float ax = px, ay = py;
      c.Shape(std::min(ax, nx) - 2, ay - 2, std::max(ax, nx) + 2, ny + 2,
              [=](float x, float y) { return SdSegment(x, y, ax, ay, nx, ny) - 0.9f; },
              [i](float, float, float) { return WithAlpha(Lerp(Hex(0xF080D0), Hex(0x6030A0), i / 8.0f), 1 - i / 12.0f); });
      px = nx;
      py = ny;
    }
  }
  c.Shape(24 - rx - 1, cy - ry - 1, 24 + rx + 1, cy + 6,
          [=](float x, float y) { return std::max(SdEllipse(x, y, 24, cy, rx, ry), y - (cy + 3 + std::sin(x * 0.9f) * 1.5f)); },
          [=](float x, float y, float d) {
            const float innen = Clamp01(-d / 5);
            Col k = Lerp(Hex(0xFFD8F4), Hex(0xC050D0), innen);
            k = Lerp(k, Hex(0x70E0FF), Clamp01((y - (cy - ry)) / (ry * 2)) * 0.5f);
            // The glowing heart inside the bell.
            const float herz = std::hypot((x - 24) / 6, (y - cy + 2) / 4);
            return Lerp(k, Hex(0xFFFFFF), Clamp01(1 - herz) * 0.8f);
          });
  return c;
}

Canvas BarracudaFrame(int frame) {
  // A long silver fish with a dark back, teeth in its jaw and a tail that beats: the tail
  // lobes grow and shrink as they swing towards and away from the viewer.
  Scene s;
  const int schuppen = s.Add(ray::Surface(0x9AB4C4, 0.8f, 60));
  const int ruecken = s.Add(ray::Surface(0x2A4050, 0.5f, 30));
  const int flosse = s.Add(ray::Surface(0x5C8096, 0.4f, 20));
  const int zahn = s.Add(ray::Surface(0xF4F0E0, 0.8f, 60));
  const int auge = s.Add(ray::Lamp(0xFFD040, 1.3f));
  s.Ellipsoid({0, 0, 0}, {27, 5.5f, 5.5f}, schuppen);
  s.Ellipsoid({3, 2.5f, 0}, {24, 3.5f, 5.2f}, ruecken);
  s.Ellipsoid({-25, -1.2f, 0}, {10, 3.4f, 4.4f}, schuppen);
  for (int k = 0; k < 5; ++k) s.Box({-31.0f + k * 3.2f, -2.6f, 3.2f}, {0.6f, 1.3f, 0.6f}, zahn);
  s.Sphere({-20, 1.8f, 3.8f}, 1.7f, auge);
  const float schlag = 0.55f + 0.45f * std::cos(frame * kPi / 2);
  const float spitze = 26 + 11 * schlag;
  s.PlateXY({{25, 0}, {29, 0}, {spitze + 1, 10}, {spitze - 2, 10}}, 0, 1.2f, 0.4f, flosse);
  s.PlateXY({{25, 0}, {spitze - 2, -10}, {spitze + 1, -10}, {29, 0}}, 0, 1.2f, 0.4f, flosse);
  s.PlateXY({{-2, 4}, {9, 4}, {6, 10}}, 0, 1.0f, 0.4f, flosse);
  s.PlateXZ({{-8, 4}, {0, 4}, {2, 11}}, -2, 1.0f, 0.4f, flosse);
  s.Transform(ray::RotX(18));
  return ray::Render(s, 72, 28, 36, 14, 2);
}

Canvas NautilusFrame(int frame) {
  // A coiled shell in stripes of cream and rust, with a cluster of arms waving in front
  // of it and a pale eye.
  Scene s;
  const int creme = s.Add(ray::Surface(0xF0E2C8, 0.6f, 40));
  const int rost = s.Add(ray::Surface(0xB0542C, 0.5f, 30));
  const int arm = s.Add(ray::Surface(0xD89888, 0.3f, 20));
  const int auge = s.Add(ray::Lamp(0x90FFD0, 1.1f));
  for (int i = 14; i >= 0; --i) {
    const float t = i * 0.55f, r = 2.6f * std::exp(0.2f * t);
    const float x = 9 + std::cos(t) * r, y = 1 + std::sin(t) * r;
    s.Sphere({x, y, 0}, r * 0.85f + 1.5f, i % 2 ? rost : creme);
  }
  for (int k = 0; k < 5; ++k) {
    const float y0 = -7 + k * 3.5f, wink = (k - 2) * 16.0f + 14 * std::sin(frame * kPi / 2 + k * 1.3f);
    const float a = (180 + wink) * kPi / 180;
    const V3 start{-3, y0, 4}, ende{-3 + std::cos(a) * 15, y0 + std::sin(a) * 15, 4};
    s.Cylinder(start, ende, 1.7f, arm);
    s.Sphere(ende, 1.7f, arm);
  }
  s.Sphere({-1, 7, 9}, 2.6f, auge);
  s.Transform(ray::RotY(-15) * ray::RotX(10));
  return ray::Render(s, 56, 56, 30, 28, 2);
}

Canvas SporeFrame(int frame) {
  // A green spore with a soft halo; four bright seeds turn about its core.
  Canvas c(16, 16);
  const float dreh = frame * kPi / 8;
  c.Fill([=](float x, float y) {
    const float dx = x - 8, dy = y - 8, r = std::hypot(dx, dy);
    const float kugel = Clamp01(1.2f - r / 6.5f);
    const float a = std::atan2(dy, dx) - dreh;
    const float samen = Clamp01(1 - std::fabs(r - 4.5f) / 1.6f) * std::pow(std::fabs(std::cos(2 * a)), 16.0f);
    return WithAlpha(Lerp(Hex(0x40E060), Hex(0xF0FFE0), Clamp01(1.2f - r / 4.0f) + samen), Clamp01(kugel + samen));
  });
  return c;
}

Canvas LeviathanFrame(int frame) {
  // The angler fish: a huge dark body, a jaw full of teeth (open in frame 2), spines
  // along its back, a tail, glowing spots along its side and the stalk that carries its
  // lure; the lure and the eye are parts of their own.
  Scene s;
  const int haut = s.Add(ray::Surface(0x4C3246, 0.35f, 18));
  const int bauch = s.Add(ray::Surface(0x7A5A62, 0.3f, 16));
  const int rachen = s.Add(ray::Lamp(0x601018, 0.8f));
  const int zahn = s.Add(ray::Surface(0xECE6D0, 0.9f, 60));
  const int flosse = s.Add(ray::Surface(0x3A2438, 0.3f, 14));
  const int punkt = s.Add(ray::Lamp(0x50F0E0, 1.2f));
  const int hoehle = s.Add(ray::Surface(0x120810, 0.1f, 8));
  const float auf = frame == 1 ? 1.0f : 0.0f;
  s.Ellipsoid({14, 8, 0}, {92, 52, 44}, haut);
  s.Ellipsoid({20, -22, 0}, {70, 22, 36}, bauch);
  s.Ellipsoid({-66, -10 - 6 * auf, 0}, {46, 10 + 6 * auf, 34}, rachen);
  s.Ellipsoid({-58, -34 - 8 * auf, 0}, {52, 16, 38}, bauch, ray::RotZ(-6 - 10 * auf));
  for (int k = 0; k < 8; ++k) {
    const float x = -104 + k * 10.0f;
    s.Cylinder({x, 2, 18}, {x + 1, -12 - 3 * auf, 22}, 2.4f, zahn);
    s.Cylinder({x + 4, -28 - 12 * auf, 20}, {x + 5, -14 - 10 * auf, 24}, 2.2f, zahn);
  }
  s.Sphere({-40, 25, 30}, 13, hoehle);
  const V3 stiel[] = {{-24, 52, 0}, {-44, 70, 0}, {-70, 78, 0}, {-92, 74, 0}, {-104, 66, 0}};
  for (int k = 0; k + 1 < 5; ++k) s.Cylinder(stiel[k], stiel[k + 1], 2.4f - 0.3f * k, flosse);
  for (int k = 0; k < 6; ++k) {
    const float x = -6 + k * 16.0f;
    s.Cylinder({x, 50 - k * 2.0f, 0}, {x + 12, 72 - k * 4.0f, 0}, 2.2f, flosse);
  }
  s.PlateXY({{96, 4}, {104, 4}, {128, 40}, {116, 44}}, 0, 3, 1, flosse);
  s.PlateXY({{96, 0}, {116, -40}, {128, -36}, {104, 0}}, 0, 3, 1, flosse);
  s.PlateXY({{0, -20}, {26, -22}, {18, -48}}, 34, 2, 1, flosse);
  for (int k = 0; k < 7; ++k) s.Sphere({-20 + k * 16.0f, -4 + 6 * std::sin(k * 1.1f), 40}, 2.6f, punkt);
  s.Transform(ray::RotX(10));
  return ray::Render(s, 256, 160, 128, 80, 2);
}

Canvas LeviathanEye() {
  // A yellow eye with a slit pupil looking to the left, as it looks at angle 0.
  Scene s;
  const int iris = s.Add(ray::Surface(0xE8C830, 0.9f, 70));
  const int pupille = s.Add(ray::Surface(0x080404, 0.9f, 80));
  const int glanz = s.Add(ray::Lamp(0xFFF4B0, 0.6f));
  s.Sphere({0, 0, 0}, 15, iris);
  s.Ellipsoid({-9, 0, 10}, {3.2f, 9, 4}, pupille);
  s.Sphere({-4, 7, 13}, 2.2f, glanz);
  return ray::Render(s, 36, 36, 18, 18, 3);
}

Canvas Glow32(uint32_t rgb) {
  Canvas c(32, 32);
  SoftGlow(c, 16, 16, 15, Hex(rgb));
  return c;
}

Canvas LightShaft() {
  // Bright where it enters at the top, spreading and fading on its way down.
  Canvas c(96, 320);
  c.Fill([](float x, float y) {
    const float breite = 10 + y * 0.1f;
    const float d = (x - 48) / breite;
    const float k = std::exp(-d * d) * std::pow(1 - y / 320, 1.4f);
    return WithAlpha(Lerp(Hex(0x70C8D0), Hex(0xE8FFFF), Clamp01(1 - y / 120)), k);
  });
  return c;
}

}  // namespace demo
