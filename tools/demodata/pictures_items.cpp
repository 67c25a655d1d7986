// Shots, secondary weapons, the horn, the crosshair, bubbles and the pick-ups.
#include <algorithm>
#include <cmath>
#include <string>

#include "demodata/pictures.hpp"
#include "demodata/ray3d.hpp"

namespace demo {
namespace {

using ray::Material;
using ray::Scene;
using ray::V3;

constexpr float kPi = 3.14159265358979f;

// The colours of the weapon kinds 0..4, shared by pick-ups and icons: blue, red, yellow,
// green, violet (the pod weapons 1..5 and the satellite weapons 0..4 alike).
const uint32_t kWeaponColour[5] = {0x38B8FF, 0xFF4040, 0xFFC830, 0x48E060, 0xB060FF};

// A glowing bolt: a soft ellipse with a white core, stretched along x.
Canvas Bolt(uint32_t edge, float length, float width, bool tail) {
  Canvas c(16, 16);
  const Col rim = Hex(edge);
  c.Fill([=](float x, float y) {
    float dx = (x - 9.5f) / length, dy = (y - 8) / width;
    if (tail && dx < 0) dx *= 0.45f;  // the tail behind the head is longer and softer
    float r = std::hypot(dx, dy);
    float a = Clamp01(1.25f - r);
    a = a * a * (3 - 2 * a);
    Col col = Lerp(rim, Hex(0xFFFFFF), Clamp01(1.3f - r * 1.6f));
    return WithAlpha(col, a);
  });
  return c;
}

// A lit ball: highlight at the top left, rim light at the lower right.
Paint BallPaint(float cx, float cy, float r, Col base) {
  return [=](float x, float y, float) {
    float nx = (x - cx) / r, ny = (y - cy) / r;
    float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    float diffuse = Clamp01(-0.5f * nx - 0.6f * ny + 0.62f * nz);
    float glint = std::pow(Clamp01(-0.35f * nx - 0.45f * ny + 0.82f * nz), 24.0f);
    float rim = std::pow(1 - nz, 3.0f) * 0.6f;
    Col c = Scale(base, 0.28f + 0.85f * diffuse);
    return Col{Clamp01(c.r + glint + rim * 0.6f), Clamp01(c.g + glint + rim * 0.7f), Clamp01(c.b + glint + rim), 1};
  };
}

void Ball(Canvas& c, float cx, float cy, float r, Col base) {
  c.Shape(cx - r, cy - r, cx + r, cy + r, [=](float x, float y) { return SdCircle(x, y, cx, cy, r); },
          BallPaint(cx, cy, r, base));
}

}  // namespace

Canvas Bullet(int n) {
  switch (n) {
    case 0: return Bolt(0x4A90FF, 6.5f, 3.2f, true);
    case 1: {
      Canvas c(16, 16);
      c.Fill([](float x, float y) {
        float r = std::hypot(x - 8, y - 8) / 6.8f;
        float a = Clamp01(1.2f - r);
        return WithAlpha(Lerp(Hex(0xFF3020), Hex(0xFFF4C0), Clamp01(1.2f - r * 1.3f)), a * a * (3 - 2 * a));
      });
      return c;
    }
    case 2: return Bolt(0x40E050, 7.0f, 2.6f, true);
    default: {
      Canvas c(16, 16);
      c.Fill([](float x, float y) {
        float dx = std::fabs(x - 8), dy = std::fabs(y - 8);
        float star = Clamp01(1.2f - (dx + dy) / 6.5f) + 0.5f * Clamp01(1 - std::min(dx, dy) / 1.2f) * Clamp01(1 - std::max(dx, dy) / 7.5f);
        float a = Clamp01(star);
        return WithAlpha(Lerp(Hex(0xFFD000), Hex(0xFFFFE0), Clamp01(star - 0.3f)), a);
      });
      return c;
    }
  }
}

Canvas EnemyShot(int n) {
  // Two pictures that alternate every frame: a ball that flickers between a ring and a
  // star of sparks.
  Canvas c(16, 16);
  Ball(c, 8, 8, n == 0 ? 5.5f : 4.8f, Hex(0xFF5030));
  c.Shape(0, 0, 16, 16, [](float x, float y) { return SdCircle(x, y, 8, 8, 2.4f); },
          Solid(Hex(0xFFF0B0)));
  if (n == 0) {
    c.Shape(0, 0, 16, 16, [](float x, float y) { return std::fabs(SdCircle(x, y, 8, 8, 6.6f)) - 0.6f; },
            Solid(Hex(0xFFA040)));
  } else {
    for (int k = 0; k < 4; ++k) {
      float a = k * kPi / 2 + kPi / 4;
      float ex = 8 + 7.2f * std::cos(a), ey = 8 + 7.2f * std::sin(a);
      c.Shape(0, 0, 16, 16, [=](float x, float y) { return SdSegment(x, y, 8, 8, ex, ey) - 0.7f; },
              Solid(Hex(0xFFC060)));
    }
  }
  return c;
}

Canvas Splitter(bool joined) {
  // Violet crystal shards: three joined as a blade that the game turns, or one alone,
  // which flies in any direction unturned and so is a four-pointed star.
  Canvas c(32, 32);
  auto shard = [&c](float angle, float len, float width, float offset) {
    float ca = std::cos(angle), sa = std::sin(angle);
    float bx = 16 + ca * offset, by = 16 + sa * offset;
    std::vector<std::pair<float, float>> pts = {{bx + ca * len, by + sa * len},
                                                {bx - sa * width, by + ca * width},
                                                {bx - ca * len * 0.35f, by - sa * len * 0.35f},
                                                {bx + sa * width, by - ca * width}};
    c.Shape(0, 0, 32, 32, [pts](float x, float y) { return SdPolygon(x, y, pts); },
            [=](float x, float y, float d) {
              float side = (x - bx) * -sa + (y - by) * ca;  // which face of the crystal
              float edge = Clamp01(-d / 2.5f);
              Col lit = side < 0 ? Hex(0xE8D0FF) : Hex(0x8A50E0);
              return Lerp(Hex(0xFFFFFF), lit, edge);
            });
  };
  if (joined) {
    for (int k = 0; k < 3; ++k) shard(k * 2 * kPi / 3 - kPi / 2, 11, 4.5f, 3);
    Ball(c, 16, 16, 4, Hex(0xC890FF));
  } else {
    for (int k = 0; k < 4; ++k) shard(k * kPi / 2 + kPi / 4, 10, 3.5f, 1);
    Ball(c, 16, 16, 3, Hex(0xC890FF));
  }
  return c;
}

Canvas Bomb() {
  Scene s;
  int body = s.Add(ray::Surface(0x4C5A48, 0.5f, 36));
  int band = s.Add(ray::Surface(0xE03A2A, 0.6f, 36));
  int fin = s.Add(ray::Surface(0x6A7468, 0.5f, 36));
  s.Ellipsoid({2, 0, 0}, {10, 5.2f, 5.2f}, body);
  s.Cylinder({4, 0, 0}, {6, 0, 0}, 5.35f, band);
  s.Cylinder({-12, 0, 0}, {-6, 0, 0}, 2.2f, fin);
  s.PlateXY({{-13, -7}, {-8, -7}, {-5, 0}, {-8, 7}, {-13, 7}}, 0, 1.2f, 0.3f, fin);
  s.PlateXZ({{-13, -7}, {-8, -7}, {-5, 0}, {-8, 7}, {-13, 7}}, 0, 1.2f, 0.3f, fin);
  s.Transform(ray::RotX(25));
  return ray::Render(s, 32, 32, 16, 16, 3);
}

Canvas Rocket() {
  Scene s;
  int body = s.Add(ray::Surface(0xE6E6E0, 0.7f, 36));
  int nose = s.Add(ray::Surface(0xE03020, 0.7f, 36));
  int fin = s.Add(ray::Surface(0x5A6070, 0.5f, 36));
  int exhaust = s.Add(ray::Lamp(0xFFB040));
  s.Cylinder({-14, 0, 0}, {8, 0, 0}, 3.2f, body);
  s.Ellipsoid({8, 0, 0}, {9, 3.2f, 3.2f}, nose);
  s.Cut(static_cast<int>(s.pieces.size()) - 1, {-1, 0, 0}, 0);  // only the front half
  s.PlateXY({{-17, -6}, {-11, -6}, {-6, 0}, {-11, 6}, {-17, 6}}, 0, 1.0f, 0.3f, fin);
  s.Cylinder({-17, 0, 0}, {-15, 0, 0}, 2.4f, exhaust);
  s.Transform(ray::RotX(20));
  return ray::Render(s, 40, 14, 20, 7, 3);
}

Canvas Missile() {
  Scene s;
  int body = s.Add(ray::Surface(0xB8C0C8, 0.7f, 36));
  int stripe = s.Add(ray::Surface(0x303840, 0.4f, 36));
  Material eye = ray::Lamp(0x60FF60);
  eye.gloss = 1.0f;
  int seeker = s.Add(eye);
  s.Cylinder({-9, 0, 0}, {5, 0, 0}, 2.6f, body);
  s.Ellipsoid({5, 0, 0}, {5, 2.6f, 2.6f}, seeker);
  s.Cut(static_cast<int>(s.pieces.size()) - 1, {-1, 0, 0}, 0);
  s.Cylinder({-3, 0, 0}, {-1.5f, 0, 0}, 2.75f, stripe);
  s.PlateXY({{-11, -5}, {-6, -5}, {-3, 0}, {-6, 5}, {-11, 5}}, 0, 0.9f, 0.3f, stripe);
  s.Transform(ray::RotX(30));
  return ray::Render(s, 32, 32, 16, 16, 3);
}

Canvas Crosshair() {
  Canvas c(128, 128);
  auto ring = [&c](float r, float w, float gapCos, Col col) {
    c.Shape(0, 0, 128, 128,
            [=](float x, float y) {
              float d = std::fabs(SdCircle(x, y, 64, 64, r)) - w;
              // Four gaps on the diagonals.
              float a = std::atan2(y - 64, x - 64);
              float gap = std::cos(4 * a + kPi);
              return gap > gapCos ? std::max(d, (gap - gapCos) * r * 0.5f) : d;
            },
            Solid(col));
  };
  ring(56, 2.2f, 0.55f, Hex(0xFF5A2A));
  ring(38, 1.3f, 0.8f, Hex(0xFFB050));
  for (int k = 0; k < 4; ++k) {
    float a = k * kPi / 2;
    float ax = 64 + 60 * std::cos(a), ay = 64 + 60 * std::sin(a);
    float bx = 64 + 42 * std::cos(a), by = 64 + 42 * std::sin(a);
    c.Shape(0, 0, 128, 128, [=](float x, float y) { return SdSegment(x, y, ax, ay, bx, by) - 1.8f; },
            Solid(Hex(0xFF7A3A)));
    float tx = 64 + 30 * std::cos(a), ty = 64 + 30 * std::sin(a);
    float ux = 64 + 22 * std::cos(a), uy = 64 + 22 * std::sin(a);
    c.Shape(0, 0, 128, 128, [=](float x, float y) { return SdSegment(x, y, tx, ty, ux, uy) - 1.0f; },
            Solid(Hex(0xFFD080)));
  }
  c.Shape(56, 56, 72, 72, [](float x, float y) { return std::fabs(SdCircle(x, y, 64, 64, 4)) - 1.0f; },
          Solid(Hex(0xFFE0A0)));
  return c;
}

Canvas Horn() {
  // A brass horn blaring to the right, with its sound waves; drawn added to the screen.
  Canvas c(128, 128);
  auto tube = [](float x) { return x < 52 ? 5.0f : 5.0f + std::pow((x - 52) / 44.0f, 2.2f) * 30.0f; };
  c.Shape(4, 20, 100, 108,
          [tube](float x, float y) {
            if (x < 8 || x > 96) return 1e3f;
            return std::fabs(y - 64) - tube(x);
          },
          [tube](float x, float y, float) {
            float t = (y - 64) / tube(x);
            float shade = 0.55f + 0.45f * std::cos(t * 1.4f) - 0.25f * std::max(0.0f, t);
            float glint = std::exp(-std::pow((t + 0.45f) / 0.12f, 2.0f));
            return Col{Clamp01(0.95f * shade + glint), Clamp01(0.7f * shade + glint * 0.9f), Clamp01(0.25f * shade + glint * 0.6f), 1};
          });
  c.Shape(92, 28, 100, 100, [](float x, float y) { return SdEllipse(x, y, 96, 64, 3.5f, 35); },
          Solid(Hex(0xFFE7A0)));
  c.Shape(2, 56, 12, 72, [](float x, float y) { return SdBox(x, y, 7, 64, 5, 7, 2); }, Solid(Hex(0x7A5A2A)));
  for (int k = 0; k < 3; ++k) {
    float r = 12 + 9 * k;
    c.Shape(96, 8, 128, 120,
            [r](float x, float y) {
              float d = std::fabs(SdCircle(x, y, 98, 64, r)) - 1.4f;
              float a = std::atan2(y - 64, x - 98);
              return std::fabs(a) > 0.75f ? std::max(d, (std::fabs(a) - 0.75f) * r) : d;
            },
            Solid(Scale(Hex(0xFFF4C0), 1.0f - 0.25f * k)));
  }
  return c;
}

Canvas Bubble() {
  Canvas c(32, 32);
  c.Fill([](float x, float y) {
    float r = std::hypot(x - 16, y - 16) / 15;
    if (r > 1) return Col{0, 0, 0, 0};
    float rim = std::pow(r, 6.0f);
    float a = Clamp01(0.12f + 0.85f * rim);
    float spot = std::exp(-(std::pow(x - 11, 2.0f) + std::pow(y - 10, 2.0f)) / 6.0f);
    return Col{Clamp01(0.75f + spot), Clamp01(0.88f + spot), 1.0f, Clamp01(a + spot)};
  });
  return c;
}

namespace {

// The glass ball in the middle of a pick-up, with its letter.
void PickupCore(Canvas& c, Col colour, const std::string& letter) {
  Ball(c, 32, 32, 13, colour);
  Lettering(c, 32, 32.5f, letter, letter.size() > 1 ? 13 : 17, Hex(0xFFFFFF), Hex(0xE0F0FF), Hex(0x101828), 1.2f);
}

// Beads on a tilted ring round the ball; those behind it are drawn first and darker.
void BeadRing(Canvas& c, float turn, Col colour, bool front) {
  for (int k = 0; k < 3; ++k) {
    float a = turn + k * 2 * kPi / 3;
    float x = 32 + 21 * std::cos(a), y = 32 + 7 * std::sin(a);
    bool isFront = std::sin(a) > 0;
    if (isFront != front) continue;
    float tilt = -0.35f;
    float rx = 32 + (x - 32) * std::cos(tilt) - (y - 32) * std::sin(tilt);
    float ry = 32 + (x - 32) * std::sin(tilt) + (y - 32) * std::cos(tilt);
    Ball(c, rx, ry, front ? 4.2f : 3.4f, front ? colour : Scale(colour, 0.55f));
  }
}

void RingBand(Canvas& c, Col colour, bool front) {
  const float tilt = -0.35f;
  c.Shape(0, 0, 64, 64,
          [=](float x, float y) {
            float ux = (x - 32) * std::cos(tilt) + (y - 32) * std::sin(tilt);
            float uy = -(x - 32) * std::sin(tilt) + (y - 32) * std::cos(tilt);
            if ((uy > 0) != front) return 1e3f;
            return std::fabs(SdEllipse(ux, uy, 0, 0, 21, 7)) - 0.9f;
          },
          Solid(Scale(colour, front ? 0.9f : 0.45f)));
}

}  // namespace

Canvas PodWeaponPickup(int weapon, int frame) {
  static const char* const kLetter[5] = {"L", "S", "F", "B", "T"};
  Canvas c(64, 64);
  Col col = Hex(kWeaponColour[weapon]);
  const float turn = frame * kPi / 9;  // three beads: a third of a turn in six frames
  RingBand(c, Hex(0xA0A8B8), false);
  BeadRing(c, turn, col, false);
  PickupCore(c, col, kLetter[weapon]);
  RingBand(c, Hex(0xC8D0E0), true);
  BeadRing(c, turn, col, true);
  return c;
}

Canvas SatelliteWeaponPickup(int weapon, int frame) {
  // A hexagonal frame turning about the upright axis round the ball; it looks the same
  // after half a turn, so six frames of 30 degrees loop.
  static const char* const kLetter[5] = {"B", "T", "L", "S", "M"};
  Canvas c(64, 64);
  Col col = Hex(kWeaponColour[weapon]);
  const float turn = frame * kPi / 6;
  std::vector<std::pair<float, float>> outer, inner;
  // Seen edge on, the frame still shows its thickness.
  const float squeeze = std::max(std::fabs(std::cos(turn)), 0.1f);
  for (int k = 0; k < 6; ++k) {
    float a = k * kPi / 3 + kPi / 6;
    outer.emplace_back(32 + (27 * squeeze + 1.5f) * std::cos(a), 32 + 27 * std::sin(a));
    inner.emplace_back(32 + (22 * squeeze - 1.5f) * std::cos(a), 32 + 22 * std::sin(a));
  }
  float facing = std::fabs(std::cos(turn));
  Col frameCol = Lerp(Hex(0x8090A8), Hex(0xE8F0FF), facing);
  c.Shape(0, 0, 64, 64, [&](float x, float y) { return std::max(SdPolygon(x, y, outer), -SdPolygon(x, y, inner)); },
          [&](float, float, float d) {
            float edge = Clamp01(-d / 2.5f);
            return Lerp(Hex(0xFFFFFF), Lerp(frameCol, Scale(col, 0.8f), 0.35f), edge);
          });
  PickupCore(c, col, kLetter[weapon]);
  return c;
}

Canvas PowerUp(int kind, int frame) {
  // A pill with its sign and a glint that runs across it, and two sparks circling it.
  static const char* const kSign[10] = {"P", "G", ">>", "<<", "W", "E", "D", "B", "R", "H"};
  static const uint32_t kColour[10] = {0x30C8A0, 0x40E8FF, 0xFF9A30, 0x7888A0, 0xFF4A4A,
                                       0xFF70B0, 0x60FF90, 0x90A040, 0xE8E8E8, 0x60D0FF};
  Canvas c(64, 64);
  Col col = Hex(kColour[kind]);
  const float turn = frame * kPi / 6;
  auto sparks = [&](bool front) {
    for (int k = 0; k < 2; ++k) {
      float a = turn + k * kPi;
      if ((std::sin(a) > 0) != front) continue;
      float x = 32 + 25 * std::cos(a), y = 32 + 9 * std::sin(a) - 6 * std::cos(a);
      Ball(c, x, y, front ? 3.2f : 2.4f, front ? Hex(0xFFF8D0) : Hex(0x9A9070));
    }
  };
  sparks(false);
  c.Shape(14, 20, 50, 44, [](float x, float y) { return SdBox(x, y, 32, 32, 17, 11, 10.5f); },
          [col, frame](float x, float y, float d) {
            float v = (y - 21) / 22;
            float shade = 1.05f - 0.6f * v + 0.35f * std::exp(-std::pow((v - 0.22f) / 0.12f, 2.0f));
            float glintX = 14 + frame * 7.0f;
            float glint = 0.55f * std::exp(-std::pow((x - glintX + (y - 32) * 0.5f) / 3.0f, 2.0f));
            float rim = Clamp01(1 + d / 1.6f);
            Col base = Scale(col, shade);
            return Col{Clamp01(base.r + glint - rim * 0.35f), Clamp01(base.g + glint - rim * 0.35f),
                       Clamp01(base.b + glint - rim * 0.3f), 1};
          });
  Lettering(c, 32, 32.5f, kSign[kind], std::string(kSign[kind]).size() > 1 ? 13 : 16, Hex(0xFFFFFF), Hex(0xF0F0F0),
        Hex(0x141820), 1.2f);
  sparks(true);
  return c;
}

Canvas WeaponIcon(int weapon) {
  // 15 x 15: the game draws all but the last row and column.
  Canvas c(15, 15);
  if (weapon < 0) {
    c.Shape(0, 0, 14, 14, [](float x, float y) { return std::fabs(SdCircle(x, y, 7, 7, 5.2f)) - 1.4f; },
            Solid(Hex(0x50E8FF)));
    c.Shape(0, 0, 14, 14, [](float x, float y) { return SdCircle(x, y, 7, 7, 2.0f); }, Solid(Hex(0xD8FCFF)));
    return c;
  }
  static const char* const kLetter[5] = {"L", "S", "F", "B", "T"};
  Col col = Hex(kWeaponColour[weapon]);
  c.Shape(0, 0, 14, 14, [](float x, float y) { return SdBox(x, y, 7, 7, 6.5f, 6.5f, 2.5f); },
          [col](float, float y, float) { return Scale(col, 1.1f - y / 20); });
  Lettering(c, 7, 7.2f, kLetter[weapon], 11, Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0x101010), 0);
  return c;
}

}  // namespace demo
